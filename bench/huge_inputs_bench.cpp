// Huge inputs keep the program responding, Esc stops their fill, and the memory a fill takes stays within
// twice the text it shows plus 50 MB. Three inputs, each filled in a process of its own so that each peak of
// memory is its own:
//   - ini: the ini table of a 100 MB ini file;
//   - folder: a folder view over a tree of 200,000 small files;
//   - registry: a view over a key of 1,000,000 subkeys of an in-memory registry.
// Each is filled whole, then filled again with Esc pressed half way. The exit code is not 0 when a figure
// breaks its limit.
#include "headless_host.h"
#include "process_memory.h"
#include "responsive_host.h"
#include "support/memory_registry.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

using namespace bench;

constexpr double kSlackMegabytes = 50;
constexpr double kMaxStopMs = 1000;
constexpr double kMaxUnresponsiveMs = 1000;

// Reproducible pseudo-random numbers for names and values (splitmix64): unsigned arithmetic only.
std::uint64_t Mix(std::uint64_t n) {
    n += 0x9E3779B97F4A7C15ull;
    n = (n ^ (n >> 30)) * 0xBF58476D1CE4E5B9ull;
    n = (n ^ (n >> 27)) * 0x94D049BB133111EBull;
    return n ^ (n >> 31);
}

// Words of 3 to 10 letters, 1 to 6 of them: values between 3 and 65 characters.
std::string Words(std::uint64_t seed) {
    std::string text;
    const std::uint64_t words = 1 + Mix(seed) % 6;
    for (std::uint64_t w = 0; w < words; ++w) {
        const std::uint64_t bits = Mix(seed * 7 + w);
        if (w > 0)
            text += ' ';
        for (std::uint64_t letter = 0; letter < 3 + bits % 8; ++letter)
            text += static_cast<char>('a' + (bits >> (8 + 5 * letter)) % 26);
    }
    return text;
}

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH]{};
    GetTempPathW(MAX_PATH, folder);
    return folder;
}

// --- The inputs ---

// A file that is deleted when this goes, however the benchmark ends.
class TempFile {
public:
    explicit TempFile(std::wstring path) : path_(std::move(path)) {}
    ~TempFile() { DeleteFileW(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

constexpr std::uint64_t kIniBytes = 100ull * 1024 * 1024;
constexpr std::uint64_t kIniKeys = 40;

// Sections of 40 keys ("Key0" to "Key39") with values of a few words, until the file holds 100 MB.
std::unique_ptr<TempFile> WriteHugeIni() {
    auto file = std::make_unique<TempFile>(TempFolder() + L"vantrel-huge.ini");
    std::ofstream out(std::filesystem::path(file->path()), std::ios::binary);
    std::string section;
    std::uint64_t written = 0;
    for (std::uint64_t s = 0; written < kIniBytes; ++s) {
        section = "[Section" + std::to_string(s) + "]\r\n";
        for (std::uint64_t k = 0; k < kIniKeys; ++k)
            section += "Key" + std::to_string(k) + "=" + Words(s * kIniKeys + k) + "\r\n";
        out << section;
        written += section.size();
    }
    return out ? std::move(file) : nullptr;
}

// 20 folders of 10 folders of 1,000 files each, two levels below the root: 200,000 files of a few bytes.
// Making them takes Wine minutes, so the tree is made once and kept for later runs (a mark file says it is
// whole).
constexpr int kTopFolders = 20;
constexpr int kInnerFolders = 10;
constexpr int kFilesPerFolder = 1000;
constexpr int kTreeFiles = kTopFolders * kInnerFolders * kFilesPerFolder;

bool MakeSmallFile(const std::wstring& path, std::string_view content) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool wrote = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return wrote;
}

bool PrepareTree(const std::wstring& root) {
    const std::wstring finished = root + L"\\finished.mark";
    if (GetFileAttributesW(finished.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const auto start = Clock::now();
    CreateDirectoryW(root.c_str(), nullptr);
    for (int a = 0; a < kTopFolders; ++a) {
        const std::wstring top = root + L"\\dir" + std::to_wstring(a);
        CreateDirectoryW(top.c_str(), nullptr);
        for (int b = 0; b < kInnerFolders; ++b) {
            const std::wstring inner = top + L"\\sub" + std::to_wstring(b);
            CreateDirectoryW(inner.c_str(), nullptr);
            for (int f = 0; f < kFilesPerFolder; ++f) {
                const auto n = static_cast<std::uint64_t>((a * kInnerFolders + b) * kFilesPerFolder + f);
                if (!MakeSmallFile(inner + L"\\file" + std::to_wstring(f) + L".txt", Words(n))) {
                    std::printf("message: could not make the files in %ls\n", inner.c_str());
                    return false;
                }
            }
        }
    }
    std::printf("folder_tree_creation_time: %.1f s\n", Seconds(start));
    return MakeSmallFile(finished, "");
}

constexpr std::uint64_t kSubkeys = 1'000'000;
const std::wstring kHugeKey = L"SOFTWARE\\VantrelHuge";

std::wstring SubkeyName(std::uint64_t n) {
    std::wstring name = std::to_wstring(n);
    return L"Item" + std::wstring(7 - name.size(), L'0') + name;
}

// One key of 1,000,000 subkeys, each with a name and a size.
void FillHugeKey(vantrel::test::MemoryRegistry& memory) {
    const auto start = Clock::now();
    for (std::uint64_t n = 0; n < kSubkeys; ++n) {
        const std::wstring path = kHugeKey + L"\\" + SubkeyName(n);
        const std::string words = Words(n);
        memory.SetString(L"", vantrel::RootKey::LocalMachine, path, L"Name",
                         std::wstring(words.begin(), words.end()));
        memory.SetDword(L"", vantrel::RootKey::LocalMachine, path, L"Size",
                        static_cast<std::uint32_t>(Mix(n)));
    }
    std::printf("registry_key_creation_time: %.1f s\n", Seconds(start));
    // The in-memory registry lists a key's subkeys once, on its first enumeration, and keeps the list: that
    // is the stand-in's memory, as the system's registry is not the program's, so it is spent before
    // measuring.
    const auto key =
        memory.Open(memory.Root(vantrel::RootKey::LocalMachine), kHugeKey, vantrel::KeyAccess::Read);
    if (key) {
        (void)memory.EnumKey(*key, 0);
        memory.Close(*key);
    }
}

// --- Filling and measuring ---

// The bytes of the grid's texts as UTF-16, header and row numbers included.
double TextShownBytes(const vantrel::GridModel& grid) {
    double bytes = 0;
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            bytes += 2.0 * static_cast<double>(grid.CellText(r, c).size());
    return bytes;
}

int RowsShown(const vantrel::View& view) {
    return view.viewKind == vantrel::ViewKind::IniTable ? view.grid.Rows() - 1 : view.rowCount;
}

// Makes a view of the input over the host, ready to fill.
using ViewMaker = std::function<std::unique_ptr<vantrel::View>(vantrel::ViewHost&)>;

// Fills the input whole and then again with Esc pressed half way; prints the figures and answers whether all
// kept their limits.
bool Measure(const char* input, const ViewMaker& makeView, int expectedRows) {
    EscapeWindow keys;
    ResponsiveHost host(keys);
    bool kept = true;
    const auto check = [&](bool within, const char* what) {
        if (!within) {
            std::printf("message: %s %s\n", input, what);
            kept = false;
        }
    };

    long long fullPasses = 0;
    {
        const std::unique_ptr<vantrel::View> view = makeView(host);
        keys.Show(view.get());
        const WorkingSet before = WorkingSetNow();
        const auto start = Clock::now();
        host.StartFill();
        view->fillflex();
        host.EndFill();
        const double fill = Seconds(start);
        const WorkingSet after = WorkingSetNow();
        fullPasses = host.passes;

        const int rows = RowsShown(*view);
        const double textMb = TextShownBytes(view->grid) / kMegabyte;
        const double growthMb = (after.peakBytes - before.bytes) / kMegabyte;
        const double limitMb = 2 * textMb + kSlackMegabytes;
        const double unresponsiveMs = 1000 * host.longestGapSeconds;
        std::printf("%s_rows: %d\n", input, rows);
        std::printf("%s_fill_time: %.2f s\n", input, fill);
        std::printf("%s_text_shown: %.1f MB\n", input, textMb);
        std::printf("%s_peak_memory_growth: %.1f MB\n", input, growthMb);
        std::printf("%s_memory_limit: %.1f MB\n", input, limitMb);
        std::printf("%s_longest_unresponsive: %.0f ms\n", input, unresponsiveMs);
        std::printf("%s_event_passes: %lld\n", input, fullPasses);
        std::fflush(stdout);
        check(rows == expectedRows, "fill did not show every row");
        check(growthMb <= limitMb, "fill took more memory than its limit");
        check(unresponsiveMs <= kMaxUnresponsiveMs, "fill left the program unresponsive too long");
        keys.Show(nullptr);
    }

    const std::unique_ptr<vantrel::View> view = makeView(host);
    keys.Show(view.get());
    host.StartFill(static_cast<int>(fullPasses / 2));
    view->fillflex();
    const auto returned = Clock::now();
    host.EndFill();
    keys.Show(nullptr);
    const int rows = RowsShown(*view);
    const auto pressed = host.EscapePressed();
    const double stopMs = pressed ? 1000 * std::chrono::duration<double>(returned - *pressed).count() : -1;
    std::printf("%s_stopped_rows: %d\n", input, rows);
    std::printf("%s_stop_time: %.0f ms\n", input, stopMs);
    std::printf("%s_stopped_longest_unresponsive: %.0f ms\n", input, 1000 * host.longestGapSeconds);
    std::fflush(stdout);
    check(pressed.has_value(), "fill ended before Esc was pressed");
    check(stopMs <= kMaxStopMs, "fill took too long to stop");
    check(rows < expectedRows, "fill did not stop on Esc");
    return kept;
}

struct Services {
    BenchServices local;
    Services() { local.matchList.Replace({L"preloaded"}); } // the match list load is not part of a fill
};

bool MeasureIni() {
    const std::unique_ptr<TempFile> file = WriteHugeIni();
    if (!file) {
        std::printf("message: could not write the ini file\n");
        return false;
    }
    const auto sections = [&] {
        std::ifstream in(std::filesystem::path(file->path()), std::ios::binary);
        int count = 0;
        for (std::string line; std::getline(in, line);)
            count += line.starts_with('[') ? 1 : 0;
        return count;
    }();
    Services services;
    return Measure(
        "ini",
        [&](vantrel::ViewHost& host) {
            auto view = std::make_unique<vantrel::View>(services.local.ForViews(), host, 15);
            view->viewKind = vantrel::ViewKind::IniTable;
            view->folderPath = file->path();
            return view;
        },
        sections);
}

bool MeasureFolder() {
    const std::wstring root = TempFolder() + L"vantrel-huge-tree";
    if (!PrepareTree(root))
        return false;
    Services services;
    return Measure(
        "folder",
        [&](vantrel::ViewHost& host) {
            auto view = std::make_unique<vantrel::View>(services.local.ForViews(), host, 15);
            view->viewKind = vantrel::ViewKind::Folder;
            // Names only: a column that reads each file (its size, say) costs Wine half a millisecond a file,
            // minutes for the tree, and is no part of what is measured here.
            view->definition =
                root +
                L"\\*.txt(2),012,012,Huge tree,|300,<key>,Path|120,<keyfile>,File|160,<relpath>,Folder";
            return view;
        },
        kTreeFiles);
}

bool MeasureRegistry() {
    vantrel::test::MemoryRegistry memory;
    FillHugeKey(memory);
    Services services;
    vantrel::Registry registry(memory);
    const vantrel::ViewServices local = services.local.ForViews();
    return Measure(
        "registry",
        [&](vantrel::ViewHost& host) {
            auto view = std::make_unique<vantrel::View>(
                vantrel::ViewServices{registry, local.files, local.computers, local.environment,
                                      local.matchList, local.ini},
                host, 15);
            view->definition =
                L"HKLM\\" + kHugeKey + L",012,012,Huge key,|120,<key>,Key|200,Name,Name|80,Size,Size";
            return view;
        },
        static_cast<int>(kSubkeys));
}

struct Input {
    const char* name;
    bool (*measure)();
};
constexpr Input kInputs[] = {{"ini", MeasureIni}, {"folder", MeasureFolder}, {"registry", MeasureRegistry}};

// Runs this program again for one input; true when it kept every limit.
bool MeasureInOwnProcess(const char* input) {
    wchar_t program[MAX_PATH]{};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" ";
    for (const char* c = input; *c != '\0'; ++c)
        commandLine += static_cast<wchar_t>(*c);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::fflush(stdout);
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::printf("message: could not start the %s measurement\n", input);
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        for (const Input& input : kInputs)
            if (std::strcmp(argv[1], input.name) == 0)
                return input.measure() ? 0 : 1;
        std::printf("message: no input %s (ini, folder or registry)\n", argv[1]);
        return 2;
    }
    bool kept = true;
    for (const Input& input : kInputs)
        kept = MeasureInOwnProcess(input.name) && kept;
    return kept ? 0 : 1;
}
