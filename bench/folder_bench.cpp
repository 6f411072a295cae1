// The fill of the install folder view (view 99) over a tree of 5,000 files, 200 installer packages and 500
// programs among them, against a loop that calls the same Windows functions once per file: one directory
// entry for size and time, one version resource per program, one summary information and one database per
// package. The tree is made once per Wine prefix and kept.
#include "headless_host.h"
#include "platform/unique_handle.h"
#include "views/catalogue.h"

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr int kFiles = 5000;
constexpr int kPackages = 200;
constexpr int kPrograms = 500;
constexpr std::wstring_view kPatterns[] = {L"*.exe", L"*.msi", L"*.inf"};
constexpr int kDepth = 2; // what view 99 walks when its base names none

// The build tree's package as Wine's drive Z: shows it.
std::wstring TestPackage() {
    std::wstring path = L"Z:";
    for (const char c : std::string_view(VANTREL_TEST_PACKAGE))
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

// A small program of Wine's own with a version resource.
std::wstring SampleProgram() {
    wchar_t system[MAX_PATH]{};
    GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\hostname.exe";
}

// The root, five folders below it and three below each of those: files on every level the walk reaches.
std::vector<std::wstring> TreeFolders(const std::wstring& root) {
    std::vector<std::wstring> folders{root};
    for (int a = 0; a < 5; ++a) {
        const std::wstring middle = root + L"\\dir" + std::to_wstring(a);
        folders.push_back(middle);
        for (int b = 0; b < 3; ++b)
            folders.push_back(middle + L"\\sub" + std::to_wstring(b));
    }
    return folders;
}

bool MakeEmptyFile(const std::wstring& path) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// The tree, made unless a finished one is there; false when it could not be made.
bool PrepareTree(const std::wstring& root) {
    const std::wstring finished = root + L"\\finished.mark";
    if (GetFileAttributesW(finished.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const std::vector<std::wstring> folders = TreeFolders(root);
    for (const std::wstring& folder : folders)
        CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring package = TestPackage();
    const std::wstring program = SampleProgram();
    for (int i = 0; i < kFiles; ++i) {
        const std::wstring stem = folders[i % folders.size()] + L"\\file" + std::to_wstring(i);
        bool made = false;
        if (i < kPackages)
            made = CopyFileW(package.c_str(), (stem + L".msi").c_str(), FALSE);
        else if (i < kPackages + kPrograms)
            made = CopyFileW(program.c_str(), (stem + L".exe").c_str(), FALSE);
        else
            made = MakeEmptyFile(stem + L".txt");
        if (!made) {
            std::printf("message: could not make %ls\n", stem.c_str());
            return false;
        }
    }
    return MakeEmptyFile(finished);
}

// --- The minimal loop ---

struct MsiHandleCloser {
    MSIHANDLE handle = 0;
    ~MsiHandleCloser() {
        if (handle != 0)
            MsiCloseHandle(handle);
    }
};

std::wstring TimeText(const FILETIME& utc) {
    FILETIME local{};
    SYSTEMTIME fields{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &fields);
    wchar_t text[64]{};
    std::swprintf(text, std::size(text), L"%u/%02u/%02u, %02u:%02u:%02u.%03u", fields.wYear, fields.wMonth,
                  fields.wDay, fields.wHour, fields.wMinute, fields.wSecond, fields.wMilliseconds);
    return text;
}

// Size and time from the file's own directory entry, as the property dialog reads them.
size_t ReadDirectoryEntry(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    const vantrel::UniqueFind find(FindFirstFileW(path.c_str(), &entry));
    if (!find)
        return 0;
    return std::to_wstring(entry.nFileSizeLow).size() + TimeText(entry.ftLastWriteTime).size();
}

size_t ReadProgram(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return 0;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return 0;
    size_t read = 0;
    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                       &length) &&
        length >= sizeof(Translation)) {
        wchar_t key[64]{};
        std::swprintf(key, std::size(key), L"\\StringFileInfo\\%04x%04x\\FileDescription",
                      translations->language, translations->codePage);
        wchar_t* description = nullptr;
        if (VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&description), &length))
            read += length;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
        read += std::to_wstring(HIWORD(fixed->dwFileVersionMS)).size();
    return read;
}

size_t ReadPackage(const std::wstring& path) {
    size_t read = 0;
    MsiHandleCloser summary;
    if (MsiGetSummaryInformationW(0, path.c_str(), 0, &summary.handle) == ERROR_SUCCESS) {
        for (const UINT number : {2u, 3u, 5u, 6u, 4u, 14u}) { // the summary columns of view 99
            UINT type = 0;
            INT value = 0;
            FILETIME time{};
            wchar_t text[512]{};
            DWORD count = std::size(text);
            if (MsiSummaryInfoGetPropertyW(summary.handle, number, &type, &value, &time, text, &count) ==
                ERROR_SUCCESS)
                read += count;
        }
    }
    MsiHandleCloser database;
    if (MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_READONLY, &database.handle) != ERROR_SUCCESS)
        return read;
    for (const wchar_t* property : {L"ProductVersion", L"ProductCode"}) {
        const std::wstring query =
            L"SELECT `Value` FROM `Property` WHERE `Property` = '" + std::wstring(property) + L"' ";
        MsiHandleCloser view;
        MsiHandleCloser record;
        if (MsiDatabaseOpenViewW(database.handle, query.c_str(), &view.handle) != ERROR_SUCCESS ||
            MsiViewExecute(view.handle, 0) != ERROR_SUCCESS)
            continue;
        if (MsiViewFetch(view.handle, &record.handle) == ERROR_SUCCESS) {
            wchar_t text[512]{};
            DWORD count = std::size(text);
            if (MsiRecordGetStringW(record.handle, 1, text, &count) == ERROR_SUCCESS)
                read += count;
        }
        MsiViewClose(view.handle);
    }
    return read;
}

void LoopFolder(std::wstring folder, int depth, size_t& files, size_t& read) {
    folder += L'\\';
    for (const std::wstring_view pattern : kPatterns) {
        WIN32_FIND_DATAW entry{};
        const vantrel::UniqueFind find(FindFirstFileExW((folder + std::wstring(pattern)).c_str(),
                                                        FindExInfoBasic, &entry, FindExSearchNameMatch,
                                                        nullptr, 0));
        if (!find)
            continue;
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            ++files;
            const std::wstring path = folder + entry.cFileName;
            read += ReadDirectoryEntry(path);
            if (pattern == L"*.exe")
                read += ReadProgram(path);
            else if (pattern == L"*.msi")
                read += ReadPackage(path);
        } while (FindNextFileW(find.get(), &entry));
    }
    if (depth == 0)
        return;
    WIN32_FIND_DATAW entry{};
    std::vector<std::wstring> subfolders;
    const vantrel::UniqueFind find(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &entry,
                                                    FindExSearchNameMatch, nullptr, 0));
    if (find) {
        do {
            const std::wstring_view name = entry.cFileName;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
                subfolders.emplace_back(name);
        } while (FindNextFileW(find.get(), &entry));
    }
    for (const std::wstring& name : subfolders)
        LoopFolder(folder + name, depth - 1, files, read);
}

// The program's file source, timing the property reads the fill asks of it.
class TimedFileSource final : public vantrel::FileSource {
public:
    explicit TimedFileSource(vantrel::FileSource& inner) : inner_(inner) {}
    std::vector<std::wstring> FolderWalk(std::wstring_view folder, std::wstring_view patterns, int depth,
                                         const vantrel::WalkCheck& keepWalking) override {
        return inner_.FolderWalk(folder, patterns, depth, keepWalking);
    }
    bool FolderHasEntries(std::wstring_view folder) override { return inner_.FolderHasEntries(folder); }
    bool PathExists(std::wstring_view path) override { return inner_.PathExists(path); }
    std::wstring FileProperty(std::wstring_view path, std::wstring_view token, std::wstring_view baseFolder,
                              vantrel::RowFileCache& cache) override {
        const auto start = Clock::now();
        std::wstring value = inner_.FileProperty(path, token, baseFolder, cache);
        propertySeconds += Seconds(start);
        ++propertyCalls;
        return value;
    }

    double propertySeconds = 0;
    int propertyCalls = 0;

private:
    vantrel::FileSource& inner_;
};

} // namespace

int main() {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"vantrel-bench-folder";
    if (!PrepareTree(root))
        return 1;
    // A window of our own, so that letting messages run works as it does in the program.
    const HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);

    BenchServices services;
    services.matchList.Replace({L"preloaded"}); // the match list load is not part of a fill's cost
    HeadlessHost host;
    TimedFileSource timedFiles(services.files);
    vantrel::ViewServices forViews = services.ForViews();
    vantrel::ViewServices timed{forViews.registry,    timedFiles,         forViews.computers,
                                forViews.environment, forViews.matchList, forViews.ini};
    vantrel::View view(timed, host, 15);
    view.viewKind = vantrel::ViewKind::Folder;
    view.definition = vantrel::ResolveBuiltInView(L"99");
    view.SetType(L"", root + L"\\");

    const auto fillStart = Clock::now();
    view.fillflex();
    const double fill = Seconds(fillStart);

    size_t files = 0;
    size_t read = 0;
    const auto loopStart = Clock::now();
    LoopFolder(root, kDepth, files, read);
    const double loop = Seconds(loopStart);

    std::printf("folder_rows: %d\n", view.rowCount);
    std::printf("folder_loop_files: %zu\n", files);
    std::printf("folder_fill_time: %.2f s\n", fill);
    std::printf("folder_loop_time: %.2f s\n", loop);
    std::printf("folder_fill_to_loop_ratio: %.3f\n", fill / loop);
    std::printf("folder_file_property_calls: %d\n", timedFiles.propertyCalls);
    std::printf("folder_file_property_share: %.1f %%\n", 100.0 * timedFiles.propertySeconds / fill);
    std::printf("event_share: %.1f %%\n", 100.0 * host.eventSeconds / fill);
    DestroyWindow(window);
    return view.rowCount == kPackages + kPrograms && files == kPackages + kPrograms ? 0 : 1;
}
