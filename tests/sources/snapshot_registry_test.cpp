// Computers served from .reg exports: every kind of value reads as the live registry reads the same data,
// keys list as the registry lists them, broken files are refused with their line, and nothing is written.
#include "sources/export_text.h"
#include "sources/registry.h"
#include "sources/snapshot_registry_api.h"

#include "support/memory_registry.h"
#include "views/markers.h"
#include "views/text.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace vantrel {
namespace {

using test::MemoryRegistry;
constexpr auto HKCU = RootKey::CurrentUser;
constexpr auto HKLM = RootKey::LocalMachine;
constexpr std::wstring_view kHeader = L"Windows Registry Editor Version 5.00\r\n\r\n";

// What regedit writes: UTF-16LE after a byte-order mark.
std::vector<std::uint8_t> Utf16File(std::wstring_view text) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    const auto units = test::Utf16Bytes(text, false);
    bytes.insert(bytes.end(), units.begin(), units.end());
    return bytes;
}

std::vector<std::uint8_t> ByteFile(std::string_view text) {
    return {text.begin(), text.end()};
}

// Files by path, without regard to case as Windows finds them; each Write makes a new version.
class MemoryFiles final : public SnapshotFiles {
public:
    std::optional<FileStamp> Stamp(std::wstring_view path) override {
        const auto found = files.find(LowerCase(path));
        if (found == files.end())
            return std::nullopt;
        return FileStamp{found->second.size(), versions[found->first]};
    }
    std::expected<std::vector<std::uint8_t>, long> ReadAll(std::wstring_view path) override {
        ++reads;
        return files.at(LowerCase(path));
    }
    void Write(std::wstring_view path, std::vector<std::uint8_t> bytes) {
        files[LowerCase(path)] = std::move(bytes);
        ++versions[LowerCase(path)];
    }

    std::map<std::wstring, std::vector<std::uint8_t>> files;
    std::map<std::wstring, std::uint64_t> versions;
    int reads = 0;
};

class SnapshotRegistry : public ::testing::Test {
protected:
    SnapshotRegistry() {
        folder.onLoadFailure = [this](std::wstring_view message) {
            failures.emplace_back(message);
        };
    }
    void TearDown() override {
        EXPECT_EQ(api.OpenSnapshotKeys(), 0u) << "a snapshot key was left open";
        EXPECT_EQ(live.OpenHandleCount(), 0u) << "a live key was left open";
    }
    void WriteSnapshot(const std::wstring& computer, std::wstring_view body) {
        files.Write(L"C:\\Snapshots\\" + computer + L".reg",
                    Utf16File(std::wstring(kHeader) + std::wstring(body)));
    }

    MemoryRegistry live;
    MemoryFiles files;
    SnapshotFolder folder{files, L"C:\\Snapshots"};
    SnapshotRegistryApi api{live, folder};
    Registry registry{api};
    std::vector<std::wstring> failures;
};

RegistryData Raw(std::uint32_t type, std::vector<std::uint8_t> bytes) {
    return {type, std::move(bytes)};
}

// Each line of the export, and the data the live registry held for it.
struct ExportedValue {
    std::wstring_view line;
    std::wstring_view name;
    RegistryData data;
};

TEST_F(SnapshotRegistry, EveryKindOfValueReadsAsTheLiveRegistryReadsIt) {
    const auto sz = [](std::wstring_view text) {
        return Raw(regtype::kSz, test::Utf16Bytes(text, true));
    };
    const ExportedValue values[] = {
        {LR"(@="default")", L"", sz(L"default")},
        {LR"("Quoted"="a \"b\" c:\\temp\\")", L"Quoted", sz(L"a \"b\" c:\\temp\\")},
        {LR"("Empty"="")", L"Empty", sz(L"")},
        {LR"("Lines"="one\ntwo\rthree\0four")", L"Lines", sz(std::wstring(L"one\ntwo\rthree\0four", 18))},
        {LR"("Unknown escape"="a\tb")", L"Unknown escape", sz(L"a\\tb")},
        {L"\"Unicode\"=\"Gr\u00FC\u00DFe \u0436 \u4E2D \U0001D11E\"", L"Unicode",
         sz(L"Gr\u00FC\u00DFe \u0436 \u4E2D \U0001D11E")},
        {LR"("\\Device\\Video0"="\\Registry\\Machine")", L"\\Device\\Video0", sz(L"\\Registry\\Machine")},
        {LR"("Number"=dword:80000010)", L"Number", Raw(regtype::kDword, {0x10, 0, 0, 0x80})},
        {LR"("Short"=dword:7)", L"Short", Raw(regtype::kDword, {7, 0, 0, 0})},
        {LR"("Spaced" = DWORD:0000000a ; a comment)", L"Spaced", Raw(regtype::kDword, {10, 0, 0, 0})},
        {LR"("Binary"=hex:00,41,ff,7)", L"Binary", Raw(regtype::kBinary, {0, 0x41, 0xFF, 7})},
        {LR"("Expand"=hex(2):25,00,77,00,69,00,6e,00,64,00,69,00,72,00,25,00,00,00)", L"Expand",
         Raw(regtype::kExpandSz, test::Utf16Bytes(L"%windir%", true))},
        {LR"("Multi"=hex(7):6f,00,6e,00,65,00,00,00,74,00,77,00,6f,00,00,00,00,00)", L"Multi",
         Raw(regtype::kMultiSz, test::Utf16Bytes(std::wstring(L"one\0two\0\0", 9), false))},
        {LR"("Qword"=hex(b):01,00,00,00,01,00,00,00)", L"Qword",
         Raw(regtype::kQword, {1, 0, 0, 0, 1, 0, 0, 0})},
        {LR"("None"=hex(0):)", L"None", Raw(regtype::kNone, {})},
        {LR"("Unterminated"=hex(1):41,00,42,00)", L"Unterminated", Raw(regtype::kSz, {'A', 0, 'B', 0})},
        {LR"("BigEndian"=hex(5):01,02,03,04)", L"BigEndian", Raw(5, {1, 2, 3, 4})},
        {LR"("Typed"=hex(ffff0007):6f,00)", L"Typed", Raw(0xFFFF0007, {'o', 0})},
        // regedit breaks long data after a ",\"; blank and comment lines may come between.
        {L"\"Long\"=hex:00,01,02,\\\r\n  03,04,\\\r\n\r\n; between\r\n  05", L"Long",
         Raw(regtype::kBinary, {0, 1, 2, 3, 4, 5})},
    };
    std::wstring body = L"[HKEY_CURRENT_USER\\Software\\Probe]\r\n";
    for (const ExportedValue& value : values) {
        body += std::wstring(value.line) + L"\r\n";
        live.SetRaw(L"", HKCU, L"Software\\Probe", value.name, value.data);
    }
    WriteSnapshot(L"SNAP", body);

    const auto fromLive = registry.EnumValues(L"", HKCU, L"Software\\Probe");
    const auto fromSnapshot = registry.EnumValues(L"SNAP", HKCU, L"Software\\Probe");
    ASSERT_EQ(fromSnapshot.size(), std::size(values));
    for (size_t i = 0; i < fromLive.size(); ++i) {
        SCOPED_TRACE(std::wstring(values[i].line));
        EXPECT_EQ(fromSnapshot[i].name, fromLive[i].name);
        EXPECT_EQ(fromSnapshot[i].text, fromLive[i].text);
        EXPECT_EQ(fromSnapshot[i].type, fromLive[i].type);
    }
    // Read one by one, with names and keys in any case, as views read them.
    for (const wchar_t* name : {L"@", L"quoted", L"NUMBER", L"Multi", L"qword", L"Long", L"Missing"})
        EXPECT_EQ(registry.ReadValue(L"snap", RootKey::FromPath, L"hkcu\\SOFTWARE\\probe", name),
                  registry.ReadValue(L"", RootKey::FromPath, L"HKCU\\Software\\Probe", name))
            << name;
    EXPECT_TRUE(failures.empty());
}

TEST_F(SnapshotRegistry, AnsiAndUtf8ExportsHoldTheSameTexts) {
    // "€uro" in Windows-1252, as REGEDIT4 files hold texts, in quotes and in hex(2) and hex(7) bytes alike.
    files.Write(L"C:\\Snapshots\\OLD.reg",
                ByteFile("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Probe]\r\n\"Text\"=\"\x80uro\"\r\n"
                         "\"Expand\"=hex(2):80,75,72,6f,00\r\n\"Multi\"=hex(7):61,00,62,00,00\r\n"));
    files.Write(
        L"C:\\Snapshots\\UTF8.reg",
        ByteFile("\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Probe]\n"
                 "\"Text\"=\"\xE2\x82\xACuro\"\n\"Expand\"=hex(2):ac,20,75,00,72,00,6f,00,00,00\n"
                 "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"));
    live.SetString(L"", HKLM, L"Software\\Probe", L"Text", L"\u20ACuro");
    live.SetExpandString(L"", HKLM, L"Software\\Probe", L"Expand", L"\u20ACuro");
    live.SetMultiString(L"", HKLM, L"Software\\Probe", L"Multi", {L"a", L"b"});
    const auto expected = registry.EnumValues(L"", HKLM, L"Software\\Probe");
    for (const wchar_t* computer : {L"OLD", L"UTF8"}) {
        const auto read = registry.EnumValues(computer, HKLM, L"Software\\Probe");
        ASSERT_EQ(read.size(), expected.size()) << computer;
        for (size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].text, expected[i].text) << computer << L" " << read[i].name;
            EXPECT_EQ(read[i].type, expected[i].type) << computer << L" " << read[i].name;
        }
    }
}

TEST_F(SnapshotRegistry, KeysListAsTheRegistryListsThem) {
    WriteSnapshot(L"SNAP",
                  L"[HKEY_LOCAL_MACHINE\\Software\\Apps\\zeta]\r\n\"Name\"=\"Zeta\"\r\n"
                  L"[HKEY_LOCAL_MACHINE\\Software\\Apps\\Alpha]\r\n\"Name\"=\"first\"\r\n\"Size\"=dword:1\r\n"
                  L"[-HKEY_LOCAL_MACHINE\\Software\\Apps\\Deleted]\r\n\"Name\"=\"gone\"\r\n"
                  L"[HKEY_CURRENT_CONFIG\\Software\\Apps\\Config]\r\n\"Name\"=\"not read\"\r\n"
                  L"[HKEY_LOCAL_MACHINE\\Software\\Apps\\beta]\r\n\"One\"=\"1\"\r\n"
                  L"[HKEY_LOCAL_MACHINE\\Software\\Apps\\beta\\Sub]\r\n"
                  L"[HKEY_LOCAL_MACHINE\\Software\\Apps\\Beta]\r\n\"Two\"=\"2\"\r\n"
                  L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\apps\\ALPHA]\r\n\"name\"=\"last\"\r\n\"Size\"=-\r\n"
                  L"[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n");
    EXPECT_EQ(registry.EnumKeys(L"SNAP", HKLM, L"Software\\Apps", false),
              (std::vector<std::wstring>{L"Alpha", L"beta", L"zeta"}));
    EXPECT_EQ(registry.EnumKeys(L"SNAP", RootKey::FromPath, L"Software\\*\\*", true),
              (std::vector<std::wstring>{L"Apps\\beta\\Sub"}));
    // A key given twice is one key; its value given again keeps its place and takes the last data.
    const auto alpha = registry.EnumValues(L"SNAP", HKLM, L"Software\\Apps\\Alpha");
    ASSERT_EQ(alpha.size(), 2u);
    EXPECT_EQ(alpha[0].name, L"Name");
    EXPECT_EQ(alpha[0].text, L"last");
    const auto beta = registry.EnumValues(L"SNAP", HKLM, L"Software\\Apps\\beta");
    ASSERT_EQ(beta.size(), 2u);
    EXPECT_EQ(beta[0].text + beta[1].text, L"12");
    // The classes root of another computer is its machine's Software\Classes.
    EXPECT_EQ(registry.ReadValue(L"SNAP", RootKey::FromPath, L"HKCR\\.txt", L"@"), L"txtfile");
    EXPECT_EQ(registry.ReadValue(L"SNAP", RootKey::FromPath, L"HKLM\\Software\\Classes\\.TXT", L"@"),
              L"txtfile");
    EXPECT_EQ(registry.ReadValue(L"SNAP", RootKey::FromPath, L"HKCU\\Software", L"@"), kKeyMissing);
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, L"/SNAP/Software\\Apps\\zeta", L"Name"), L"Zeta");
}

TEST_F(SnapshotRegistry, OtherComputersAndTheLocalOneStayLive) {
    live.SetString(L"", HKLM, L"Software\\Apps\\zeta", L"Name", L"local");
    live.SetString(L"PC1", HKLM, L"Software\\Apps\\zeta", L"Name", L"PC1");
    WriteSnapshot(L"SNAP", L"[HKEY_LOCAL_MACHINE\\Software\\Apps\\zeta]\r\n\"Name\"=\"snapshot\"\r\n");
    const auto read = [&](std::wstring_view computer) {
        return registry.ReadValue(computer, HKLM, L"Software\\Apps\\zeta", L"Name");
    };
    EXPECT_EQ(read(L""), L"local");
    EXPECT_EQ(read(L"PC1"), L"PC1");
    EXPECT_EQ(read(L"\\\\snap"), L"snapshot");
    EXPECT_EQ(read(L"NOSUCHPC"), kNotConnected);
    EXPECT_EQ(read(L"..\\Snapshots\\SNAP"), kNotConnected) << "a name is never a path";
    EXPECT_TRUE(folder.Serves(L"snap"));
    EXPECT_FALSE(folder.Serves(L"PC1"));

    // Loaded once; a new version of the file is loaded again.
    EXPECT_EQ(files.reads, 1);
    WriteSnapshot(L"SNAP", L"[HKEY_LOCAL_MACHINE\\Software\\Apps\\zeta]\r\n\"Name\"=\"exported again\"\r\n");
    EXPECT_EQ(read(L"SNAP"), L"exported again");
    EXPECT_EQ(files.reads, 2);
}

TEST_F(SnapshotRegistry, NothingIsWrittenIntoASnapshot) {
    WriteSnapshot(L"SNAP",
                  L"[HKEY_LOCAL_MACHINE\\Software\\Apps\\zeta]\r\n\"Name\"=\"Zeta\"\r\n\"Size\"=dword:5\r\n");
    const std::wstring key = L"Software\\Apps\\zeta";
    EXPECT_EQ(registry.ChangeValue(L"SNAP", HKLM, key, L"Name", L"Zeta", L"Other"), winerror::kAccessDenied);
    EXPECT_EQ(registry.ChangeValue(L"SNAP", HKLM, key, L"Size", L"5", L""), winerror::kAccessDenied);
    EXPECT_EQ(registry.ChangeValue(L"SNAP", HKLM, key, L"Name", L"Stale", L"Other"), kValueChangedMeanwhile);
    const auto root = api.Connect(L"SNAP", HKLM);
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(api.Create(*root, L"Software\\New"), std::unexpected(winerror::kAccessDenied));
    api.Close(*root);
    EXPECT_EQ(registry.ReadValue(L"SNAP", HKLM, key, L"Name"), L"Zeta");
}

TEST_F(SnapshotRegistry, ABrokenSnapshotIsReportedOnceAndReadsAsNotConnected) {
    WriteSnapshot(L"SNAP", L"[HKEY_LOCAL_MACHINE\\Software\\Apps]\r\n\"Name\"=\"no end\r\n");
    EXPECT_EQ(registry.ReadValue(L"SNAP", HKLM, L"Software\\Apps", L"Name"), kNotConnected);
    EXPECT_EQ(registry.EnumKeys(L"SNAP", HKLM, L"Software", false), std::vector<std::wstring>{});
    EXPECT_TRUE(folder.Serves(L"SNAP")) << "the computer list does not ping it either";
    EXPECT_EQ(failures, (std::vector<std::wstring>{L"The registry snapshot C:\\Snapshots\\SNAP.reg cannot be "
                                                   L"read, line 4: the text has no closing quote."}));
    EXPECT_EQ(files.reads, 1);
}

// The first line that is not what an export holds, and what the reader says of it.
struct BrokenExport {
    std::wstring_view text;
    RegFileError error;
};

TEST(RegFile, BrokenExportsNameTheirLine) {
    const BrokenExport cases[] = {
        {L"", {1, L"the file does not start with \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\""}},
        {L"Windows Registry Editor Version 4.00\r\n",
         {1, L"the file does not start with \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\""}},
        {L"REGEDIT4\r\n\"a\"=\"b\"", {2, L"a value before the first key"}},
        {L"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software", {2, L"the key has no closing \"]\""}},
        {L"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software] x", {2, L"text after the key's closing \"]\""}},
        {L"REGEDIT4\r\n[HKEY_ELSEWHERE\\Software]", {2, L"unknown root key \"HKEY_ELSEWHERE\""}},
        {L"REGEDIT4\r\n[HKEY_USERS\\a\\\\b]", {2, L"the key's path has an empty level"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\nnothing", {3, L"neither a key, a value nor a comment"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"\"b\"", {3, L"\"=\" expected after the value's name"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a=\"b\"", {3, L"\"=\" expected after the value's name"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a=1", {3, L"the value's name has no closing quote"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=\"b\" c", {3, L"text after the value's closing quote"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=dword:123456789", {3, L"a dword needs one to eight hex digits"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=dword:", {3, L"a dword needs one to eight hex digits"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=hex:0g",
         {3, L"a hex byte needs one or two hex digits, and a \",\" after it"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=hex:00,,01", {3, L"a hex byte needs one or two hex digits"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=hex(x):00", {3, L"the type of hex(type): is not a hex number"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=hex(1)00", {3, L"the type of hex(type): is not a hex number"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=text",
         {3, L"the data is neither a quoted text, dword: nor hex:"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=hex:00,\\\r\n  01,\\\r\n\r\n",
         {5, L"the data goes on past the end of the file"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=hex:00,\\ 01",
         {3, L"text after the \"\\\" that continues the data"}},
        {L"REGEDIT4\r\n[HKEY_USERS]\r\n\"a\"=- 1", {3, L"text after a value's deletion"}},
    };
    for (const BrokenExport& broken : cases) {
        SCOPED_TRACE(std::wstring(broken.text));
        const auto read = RegistrySnapshot::FromRegFile(Utf16File(broken.text));
        ASSERT_FALSE(read.has_value());
        EXPECT_EQ(read.error(), broken.error);
    }
}

TEST(RegFile, GarbageAndTruncatedFilesAreRefusedWithoutHarm) {
    std::mt19937 random(19);
    for (const size_t size : {1u, 2u, 3u, 4096u, 1u << 20}) {
        std::vector<std::uint8_t> garbage(size);
        for (std::uint8_t& byte : garbage)
            byte = static_cast<std::uint8_t>(random());
        EXPECT_FALSE(RegistrySnapshot::FromRegFile(garbage).has_value()) << size << " random bytes";
    }
    // An export cut off anywhere: read as far as it goes or refused, never read beyond its end (the
    // sanitizers watch the native run).
    const auto whole = Utf16File(std::wstring(kHeader) +
                                 L"[HKEY_LOCAL_MACHINE\\Software\\Probe]\r\n\"Text\"=\"a \\\"b\\\"\"\r\n"
                                 L"\"Long\"=hex:00,01,02,\\\r\n  03,04\r\n@=dword:00000010\r\n");
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        const auto read = RegistrySnapshot::FromRegFile(std::span(whole).first(cut));
        if (!read) {
            EXPECT_GE(read.error().line, 1u);
        }
    }
    // One line of a million characters ends like any other.
    const auto oneLine = Utf16File(std::wstring(kHeader) + L"[HKEY_USERS\\" + std::wstring(1'000'000, L'k'));
    const auto read = RegistrySnapshot::FromRegFile(oneLine);
    ASSERT_FALSE(read.has_value());
    EXPECT_EQ(read.error().line, 3u);
}

// Short UTF-16 files are where the string the text is decoded into grows past its first room: every length
// decodes to its characters and no more, read from the file's bytes alone (a file of 12 bytes once came back
// with characters read from past its end).
TEST(RegFile, ShortUtf16TextsDecodeToTheirCharactersAlone) {
    const std::wstring alphabet = L"Windows Registry Editor Version 5.00";
    for (size_t length = 0; length <= alphabet.size(); ++length) {
        const std::wstring text = alphabet.substr(0, length);
        const std::vector<std::uint8_t> bytes = Utf16File(text);
        EXPECT_EQ(DecodeExportText(bytes), text) << length;
        std::vector<std::uint8_t> oddByte = bytes; // an odd last byte is dropped
        oddByte.push_back(0x41);
        EXPECT_EQ(DecodeExportText(oddByte), text) << length;
    }
}

} // namespace
} // namespace vantrel
