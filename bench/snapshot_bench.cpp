// A registry snapshot of about 50 MB, written as regedit writes exports (UTF-16, long hex data broken into
// continuation lines): the time to load it, and the time to fill the installed-software view from it as a
// computer's view. The export holds 5,000 uninstall entries and, as exports of a whole machine do, mostly
// class registrations.
#include "bench_clock.h"
#include "engine/match_list.h"
#include "engine/view.h"
#include "headless_host.h"
#include "platform/win_snapshot_files.h"
#include "sources/snapshot_registry_api.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace bench;

constexpr int kUninstallEntries = 5000;
constexpr size_t kTargetBytes = 50u << 20;
constexpr const wchar_t* kComputer = L"BENCHPC";

std::wstring Guid(unsigned number) {
    wchar_t text[40];
    std::swprintf(text, 40, L"{%08X-%04X-%04X-%04X-%012X}", number * 2654435761u, number % 0xFFFF, 0x4A2B,
                  (number * 7) % 0xFFFF, number);
    return text;
}

// Bytes as regedit writes them: "hex:" or "hex(n):", two digits each, at most 25 bytes a line after the
// first.
std::wstring HexLine(std::wstring_view name, std::wstring_view kind, const std::vector<unsigned>& bytes) {
    std::wstring line = L"\"" + std::wstring(name) + L"\"=" + std::wstring(kind) + L":";
    wchar_t digits[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::swprintf(digits, 4, L"%02x", bytes[i] & 0xFF);
        line += digits;
        if (i + 1 < bytes.size())
            line += (i % 25 == 20) ? L",\\\r\n  " : L",";
    }
    return line + L"\r\n";
}

std::wstring Dword(unsigned number) {
    wchar_t text[16];
    std::swprintf(text, 16, L"dword:%08x", number);
    return text;
}

std::vector<unsigned> Utf16Of(std::wstring_view text) {
    std::vector<unsigned> bytes;
    for (const wchar_t c : text) {
        bytes.push_back(c & 0xFF);
        bytes.push_back((c >> 8) & 0xFF);
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

void AddUninstallEntry(std::wstring& text, int i) {
    const std::wstring product = L"Product " + std::to_wstring(i);
    text += L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + Guid(i) +
            L"]\r\n";
    text += L"\"DisplayName\"=\"" + product + L" \\\"Professional\\\" Edition\"\r\n";
    text +=
        L"\"DisplayVersion\"=\"" + std::to_wstring(i % 17) + L"." + std::to_wstring(i % 101) + L".2042\"\r\n";
    text += L"\"Publisher\"=\"Vendor " + std::to_wstring(i % 230) + L" Ltd.\"\r\n";
    text += L"\"InstallDate\"=\"2024" + std::to_wstring(1001 + i % 200) + L"\"\r\n";
    text += L"\"InstallLocation\"=\"C:\\\\Program Files\\\\Vendor\\\\" + product + L"\\\\\"\r\n";
    text += L"\"InstallSource\"=\"\\\\\\\\server\\\\share\\\\" + product + L"\\\\\"\r\n";
    text += L"\"UninstallString\"=\"MsiExec.exe /X" + Guid(i) + L"\"\r\n";
    text += L"\"EstimatedSize\"=" + Dword(10000u + static_cast<unsigned>(i)) + L"\r\n";
    text += L"\"VersionMajor\"=" + Dword(static_cast<unsigned>(i % 10)) + L"\r\n";
    text += L"\"VersionMinor\"=" + Dword(2) + L"\r\n\"NoModify\"=" + Dword(1) + L"\r\n";
    text += HexLine(L"ModifyPath", L"hex(2)", Utf16Of(L"%SystemRoot%\\system32\\msiexec.exe /I" + Guid(i)));
    std::vector<unsigned> blob(96);
    for (size_t b = 0; b < blob.size(); ++b)
        blob[b] = static_cast<unsigned>(i + b * 13);
    text += HexLine(L"Signature", L"hex", blob);
    text += L"\r\n";
}

void AddClassRegistration(std::wstring& text, unsigned i) {
    const std::wstring key = L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\" + Guid(100000 + i);
    text += key + L"]\r\n@=\"Component class " + std::to_wstring(i) + L"\"\r\n\"AppID\"=\"" + Guid(i) +
            L"\"\r\n\r\n";
    text += key + L"\\InprocServer32]\r\n@=hex(2):" +
            L"25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,\\\r\n"
            L"  6f,00,74,00,25,00,5c,00,73,00,79,00,73,00,00,00\r\n"
            L"\"ThreadingModel\"=\"Both\"\r\n\r\n";
    text += key + L"\\ProgID]\r\n@=\"Vendor.Component." + std::to_wstring(i) + L"\"\r\n\r\n";
}

// In the order regedit writes keys: the classes first, then the uninstall entries, then the system's version.
std::wstring MakeExport() {
    std::wstring uninstall;
    for (int i = 0; i < kUninstallEntries; ++i)
        AddUninstallEntry(uninstall, i);
    const std::wstring version = L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
                                 L"\"CurrentVersion\"=\"6.1\"\r\n\"CSDVersion\"=\"Service Pack 1\"\r\n\r\n";
    std::wstring text = L"Windows Registry Editor Version 5.00\r\n\r\n";
    const size_t classChars = kTargetBytes / 2 - uninstall.size() - version.size();
    text.reserve(kTargetBytes / 2 + 4096);
    for (unsigned i = 0; text.size() < classChars; ++i)
        AddClassRegistration(text, i);
    return text + uninstall + version;
}

size_t WriteUtf16(const std::filesystem::path& file, std::wstring_view text) {
    std::vector<char> bytes = {'\xFF', '\xFE'};
    bytes.reserve(text.size() * 2 + 2);
    for (const wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes.size();
}

class Answering final : public vantrel::ComputerStatus {
public:
    int CheckSta(std::wstring_view) override { return 1; }
};

} // namespace

int main() {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder = std::filesystem::path(temp) / L"vantrel-bench-snapshots";
    std::filesystem::create_directories(folder);
    const size_t fileBytes = WriteUtf16(folder / (std::wstring(kComputer) + L".reg"), MakeExport());

    vantrel::WinRegistryApi live;
    vantrel::WinSnapshotFiles files;
    vantrel::SnapshotFolder snapshots(files, folder.wstring());
    auto start = Clock::now();
    const auto loaded = snapshots.Load(kComputer);
    const double load = Seconds(start);
    if (!loaded || !*loaded) {
        std::printf("the snapshot did not load\n");
        return 1;
    }

    // A window of our own, so that letting messages run works as it does in the program.
    const HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    vantrel::SnapshotRegistryApi api(live, snapshots);
    vantrel::Registry registry(api);
    vantrel::WinFileSource fileSource;
    Answering computers;
    vantrel::WinEnvironment environment;
    vantrel::MatchList matchList;
    matchList.Replace({L"preloaded"}); // the match list load is not part of a fill's cost
    vantrel::WinIniFiles ini;
    HeadlessHost host;
    vantrel::View view({registry, fileSource, computers, environment, matchList, ini}, host, 15);
    view.definition = std::wstring(vantrel::kDefaultDefinition);
    view.computerName = kComputer;
    start = Clock::now();
    view.fillflex();
    const double fill = Seconds(start);

    std::printf("snapshot_file_size: %.1f MB\n", static_cast<double>(fileBytes) / (1 << 20));
    std::printf("snapshot_keys: %zu\n", (**loaded)->KeyCount());
    std::printf("snapshot_load_time: %.3f s\n", load);
    std::printf("snapshot_installed_fill_rows: %d\n", view.rowCount);
    std::printf("snapshot_installed_fill_time: %.3f s\n", fill);
    DestroyWindow(window);
    std::filesystem::remove_all(folder);
    return view.rowCount == kUninstallEntries ? 0 : 1;
}
