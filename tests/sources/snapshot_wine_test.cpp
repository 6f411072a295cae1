// Snapshots written by Wine's own regedit from a key of the test prefix, read back through the registry layer
// and compared with the live key they were exported from; and a row compared across three exports of the
// same key, taken as its data changed, and the live registry.
#include "engine/compare_request.h"
#include "engine/computer_list.h"
#include "engine/scripted_host.h"
#include "platform/unique_handle.h"
#include "platform/win_registry.h"
#include "platform/win_snapshot_files.h"
#include "sources/snapshot_registry_api.h"
#include "support/temp_folder.h"
#include "views/markers.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

namespace vantrel::test {
namespace {

constexpr const wchar_t* kTestKey = L"Software\\VantrelTests\\Snapshot";
const std::wstring kTestPath = L"HKCU\\Software\\VantrelTests\\Snapshot";

// Ping programs that cannot be started, as for a computer that does not answer; records what was asked.
class RefusedPings final : public PingRunner {
public:
    std::optional<PingProcess> Start(std::wstring_view commandLine) override {
        commands.emplace_back(commandLine);
        return std::nullopt;
    }
    std::optional<long> ExitCode(PingProcess) override { return std::nullopt; }
    bool Wait(PingProcess, int) override { return true; }
    void Release(PingProcess) override {}

    std::vector<std::wstring> commands;
};

class SnapshotOnWine : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        EXPECT_EQ(api.OpenSnapshotKeys(), 0u);
    }

    void Set(const std::wstring& subkey, const std::wstring& name, DWORD type, const void* data,
             size_t bytes) {
        UniqueHKey key;
        const std::wstring path = std::wstring(kTestKey) + (subkey.empty() ? L"" : L"\\" + subkey);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(bytes)),
                  ERROR_SUCCESS);
    }
    void SetString(const std::wstring& subkey, const std::wstring& name, const std::wstring& text,
                   DWORD type = REG_SZ) {
        Set(subkey, name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }

    // The test key as <computer>.reg in the snapshot folder, written by regedit /e.
    void Export(const std::wstring& computer) {
        const std::wstring file = folder + L"\\" + computer + L".reg";
        DeleteFileW(file.c_str());
        std::wstring command = L"regedit.exe /e \"" + file + L"\" \"HKEY_CURRENT_USER\\" + kTestKey + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process));
        const UniqueHandle running(process.hProcess);
        const UniqueHandle thread(process.hThread);
        ASSERT_EQ(WaitForSingleObject(running.get(), INFINITE), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(running.get(), &code);
        ASSERT_EQ(code, 0u);
        ASSERT_TRUE(files.Stamp(file).has_value()) << "regedit wrote no export";
    }

    void ExpectSameValues(const std::wstring& computer, const std::wstring& path) {
        const auto live = registry.EnumValues(L"", RootKey::FromPath, path);
        const auto snapshot = registry.EnumValues(computer, RootKey::FromPath, path);
        ASSERT_EQ(snapshot.size(), live.size()) << testing::PrintToString(path);
        for (size_t i = 0; i < live.size(); ++i) {
            EXPECT_EQ(snapshot[i].name, live[i].name);
            EXPECT_EQ(snapshot[i].text, live[i].text) << testing::PrintToString(live[i].name);
            EXPECT_EQ(snapshot[i].type, live[i].type) << testing::PrintToString(live[i].name);
            // Read one at a time as a view reads a cell; a name with a "\" would name a subkey there.
            if (live[i].name.find(L'\\') == std::wstring::npos) {
                const std::wstring name = live[i].name.empty() ? L"@" : live[i].name;
                EXPECT_EQ(registry.ReadValue(computer, RootKey::FromPath, path, name), live[i].text);
            }
        }
    }

    const std::wstring folder = TempFolder(L"vantrel-snapshots");
    WinRegistryApi live;
    WinSnapshotFiles files;
    SnapshotFolder snapshots{files, folder};
    SnapshotRegistryApi api{live, snapshots};
    Registry registry{api};
};

TEST_F(SnapshotOnWine, EveryValueTypeReadsBackAsTheLiveKey) {
    SetString(L"", L"", L"the default");
    SetString(L"", L"Quoted", L"say \"hi\" in C:\\temp\\ and\r\nnext line");
    SetString(L"", L"Empty", L"");
    SetString(L"", L"Unicode", L"Gr\u00FC\u00DFe \u0436 \u4E2D \U0001D11E");
    SetString(L"", L"Path\\With\\Levels", L"a name with backslashes");
    SetString(L"", L"Expand", L"%SystemRoot%\\system32", REG_EXPAND_SZ);
    const wchar_t multi[] = L"one\0two\0\0";
    Set(L"", L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    const DWORD number = 0x80000010;
    Set(L"", L"Number", REG_DWORD, &number, sizeof(number));
    const ULONGLONG big = 0x100000001ULL;
    Set(L"", L"Big", REG_QWORD, &big, sizeof(big));
    std::vector<BYTE> binary(300);
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<BYTE>(i * 7);
    Set(L"", L"Binary", REG_BINARY, binary.data(), binary.size()); // many continuation lines
    Set(L"", L"Nothing", REG_NONE, nullptr, 0);
    const BYTE bigEndian[] = {0, 0, 1, 2};
    Set(L"", L"BigEndian", REG_DWORD_BIG_ENDIAN, bigEndian, sizeof(bigEndian));
    Set(L"", L"OwnType", 0xFFFF0007, bigEndian, sizeof(bigEndian));
    SetString(L"Sub\\Deeper", L"Name", L"deep");
    SetString(L"sub2", L"Name", L"second");
    Export(L"SNAP");

    ExpectSameValues(L"SNAP", kTestPath);
    ExpectSameValues(L"SNAP", kTestPath + L"\\Sub\\Deeper");
    EXPECT_EQ(registry.EnumKeys(L"SNAP", RootKey::FromPath, kTestPath + L"\\*", true),
              registry.EnumKeys(L"", RootKey::FromPath, kTestPath + L"\\*", true));
    EXPECT_EQ(registry.ChangeValue(L"SNAP", RootKey::FromPath, kTestPath, L"Empty", L"", L"x"),
              winerror::kAccessDenied);
}

// An export cut off in the middle of a value's bytes, as a copy broken off would leave it.
TEST_F(SnapshotOnWine, ACutOffExportIsToldWithItsLineAndReadsAsNotConnected) {
    std::vector<BYTE> binary(300, 0x5A);
    Set(L"", L"Binary", REG_BINARY, binary.data(), binary.size());
    Export(L"CUT");
    const std::wstring file = folder + L"\\CUT.reg";
    auto bytes = files.ReadAll(file);
    ASSERT_TRUE(bytes.has_value());
    {
        const UniqueFile cut(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        // Right after the first line break that says the bytes go on.
        const std::vector<BYTE> goesOn = {'\\', 0, '\r', 0, '\n', 0};
        const auto at = std::search(bytes->begin(), bytes->end(), goesOn.begin(), goesOn.end());
        ASSERT_NE(at, bytes->end());
        const auto length = static_cast<DWORD>(at - bytes->begin()) + static_cast<DWORD>(goesOn.size());
        ASSERT_TRUE(WriteFile(cut.get(), bytes->data(), length, &written, nullptr));
    }

    std::vector<std::wstring> told;
    snapshots.onLoadFailure = [&](std::wstring_view message) {
        told.emplace_back(message);
    };
    EXPECT_EQ(registry.ReadValue(L"CUT", RootKey::FromPath, kTestPath, L"Binary"), kNotConnected);
    EXPECT_EQ(registry.ReadValue(L"CUT", RootKey::FromPath, kTestPath, L"Binary"), kNotConnected);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(L"CUT.reg cannot be read, line "), std::wstring::npos)
        << testing::PrintToString(told[0]);
    EXPECT_NE(told[0].find(L": the data goes on past the end of the file."), std::wstring::npos);
}

TEST_F(SnapshotOnWine, ARowComparedAcrossThreeExportsAndTheLiveRegistry) {
    const std::wstring apps = L"Apps\\Acme";
    SetString(L"Apps\\Zeta", L"DisplayName", L"Zeta");
    for (const wchar_t* version : {L"1.0", L"2.0", L"3.0", L"4.0"}) {
        SetString(apps, L"DisplayName", std::wstring(L"Acme ") + version);
        SetString(apps, L"DisplayVersion", version);
        if (std::wstring(version) == L"4.0")
            break; // the live registry moved on after the last export
        Export(L"PC" + std::wstring(1, version[0]));
    }

    RefusedPings pings;
    ComputerList computers(pings);
    computers.answersWithoutPing = [this](std::wstring_view name) {
        return snapshots.Serves(name);
    };
    FakeFiles fileProperties;
    FakeEnvironment environment;
    MatchList matchList;
    FakeIniFiles ini;
    const ViewServices services{registry, fileProperties, computers, environment, matchList, ini};
    ScriptedHost sourceHost;
    View source(services, sourceHost, kTwipsPerPixelAt96Dpi);
    source.definition = kTestPath + L"\\Apps,012,012,Apps,|100,<key>,Key|100,DisplayName,Name|100,"
                                    L"DisplayVersion,Version";
    source.fillflex();
    ASSERT_EQ(source.grid.TextMatrix(1, 1), L"Acme");
    source.grid.SetRow(1);
    source.grid.SetCol(2);
    const auto request = MakeCompareRequest(source);
    ASSERT_TRUE(request.has_value());

    ScriptedHost host;
    View compare(services, host, kTwipsPerPixelAt96Dpi);
    compare.definition = request->definition;
    compare.NewCompuRows(request->path, {L"", L"PC1", L"PC2", L"PC3", L"PC9"});
    compare.fillflex();
    std::vector<std::vector<std::wstring>> rows;
    for (int r = 1; r < compare.grid.Rows(); ++r) {
        rows.emplace_back();
        for (int c = 1; c < compare.grid.Cols(); ++c)
            rows.back().push_back(compare.grid.TextMatrix(r, c));
    }
    const std::vector<std::vector<std::wstring>> expected = {{L"<local computer>", L"Acme 4.0", L"4.0"},
                                                             {L"PC1", L"Acme 1.0", L"1.0"},
                                                             {L"PC2", L"Acme 2.0", L"2.0"},
                                                             {L"PC3", L"Acme 3.0", L"3.0"},
                                                             {L"PC9", L"Not connected", L""}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(pings.commands, std::vector<std::wstring>{L"Ping.exe -n 1 -w 700 PC9"})
        << "snapshots are not pinged";
}

} // namespace
} // namespace vantrel::test
