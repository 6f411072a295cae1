// Folder views over files that fail the reader: programs with broken version resources, installer packages
// that are cut short or garbage, a folder the walk cannot list, files deleted between the walk and their
// reads. The view fills to the end every time, the broken cells are empty, and the files that can be read
// keep their values.
//
// Wine grants a process run by root every access, whatever the folder's permissions or security descriptor
// say, so the folder that cannot be listed is one whose name ends in a dot: made through a "\\?\" path, it
// is listed like any other but cannot be opened by its plain path, as on Windows.
#include "engine/scripted_host.h"
#include "platform/file_info.h"
#include "platform/program_file.h"
#include "platform/win_file_source.h"
#include "platform/win_registry.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

namespace vantrel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::wstring>;
using Grid = std::vector<Texts>;

Bytes ReadBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::wstring& path, const Bytes& bytes) {
    std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << path;
}

Bytes RandomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// The build tree's test package as Wine's drive Z: shows it.
std::wstring TestPackage() {
    std::wstring path = L"Z:";
    for (const char c : std::string_view(VANTREL_TEST_PACKAGE))
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

// ---- Broken programs and packages, made from good ones ----

// Where the version resource of a program file starts: its length, value length and type, then the key
// "VS_VERSION_INFO".
size_t VersionBlock(const Bytes& program) {
    constexpr std::wstring_view key = L"VS_VERSION_INFO";
    Bytes pattern;
    for (const wchar_t c : key)
        pattern.insert(pattern.end(), {static_cast<std::uint8_t>(c), 0});
    const auto found = std::search(program.begin(), program.end(), pattern.begin(), pattern.end());
    EXPECT_NE(found, program.end()) << "the fixture has no version resource";
    return static_cast<size_t>(found - program.begin()) - 6;
}

void PutWord(Bytes& bytes, size_t at, std::uint16_t word) {
    bytes[at] = static_cast<std::uint8_t>(word & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(word >> 8);
}

std::uint16_t Word(const Bytes& bytes, size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

constexpr size_t kBlockHeader = 6 + 32; // lengths, type and the key with its zero

// A broken file and what its title and version cells show: what is left readable of it, nothing else.
struct BrokenFile {
    const wchar_t* name;
    std::function<Bytes(const Bytes& program, const Bytes& package)> make;
    const wchar_t* title = L"";
    const wchar_t* version = L"";
};

const BrokenFile kBrokenFiles[] = {
    {L"resource-garbage.exe",
     [](const Bytes& program, const Bytes&) {
         Bytes bytes = program;
         const size_t block = VersionBlock(bytes);
         const Bytes garbage = RandomBytes(Word(bytes, block) - kBlockHeader, 1);
         std::ranges::copy(garbage, bytes.begin() + static_cast<std::ptrdiff_t>(block + kBlockHeader));
         return bytes;
     }},
    {L"resource-cut-short.exe",
     [](const Bytes& program, const Bytes&) {
         Bytes bytes = program;
         PutWord(bytes, VersionBlock(bytes), kBlockHeader); // its fixed part lies past its length
         return bytes;
     }},
    {L"resource-overlong.dll",
     [](const Bytes& program, const Bytes&) {
         Bytes bytes = program;
         PutWord(bytes, VersionBlock(bytes), 0xFFFF);
         return bytes;
     },
     L"Vantrel Test Tool", L"1.2.3.4"}, // all its parts are whole
    {L"resource-child-length-zero.exe",
     [](const Bytes& program, const Bytes&) {
         // The first child follows the header, its padding and the fixed file information.
         Bytes bytes = program;
         const size_t child = VersionBlock(bytes) + 40 + 52;
         EXPECT_TRUE(Word(bytes, child + 6) == 'S' || Word(bytes, child + 6) == 'V') << "not a child's key";
         PutWord(bytes, child, 0);
         return bytes;
     },
     L"", L"1.2.3.4"},
    {L"file-cut-in-resource.exe",
     [](const Bytes& program, const Bytes&) {
         const size_t block = VersionBlock(program);
         return Bytes(program.begin(), program.begin() + static_cast<std::ptrdiff_t>(block + 60));
     }},
    {L"mz-only.exe",
     [](const Bytes&, const Bytes&) {
         return Bytes{'M', 'Z'};
     }},
    {L"random.sys",
     [](const Bytes&, const Bytes&) {
         return RandomBytes(64 * 1024, 2);
     }},
    {L"empty.dll",
     [](const Bytes&, const Bytes&) {
         return Bytes{};
     }},
    {L"package-cut.msi",
     [](const Bytes&, const Bytes& package) {
         return Bytes(package.begin(), package.begin() + static_cast<std::ptrdiff_t>(package.size() / 2));
     }},
    {L"package-random.msi",
     [](const Bytes&, const Bytes&) {
         return RandomBytes(64 * 1024, 3);
     }},
    {L"package-header-garbage.msi",
     [](const Bytes&, const Bytes& package) {
         Bytes bytes = RandomBytes(package.size(), 4);
         std::copy(package.begin(), package.begin() + 512, bytes.begin());
         return bytes;
     }},
    {L"package-empty.msi",
     [](const Bytes&, const Bytes&) {
         return Bytes{};
     }},
};

// ---- The view ----

// A folder view of the folder's programs, packages and text files one level down: name, size, title,
// version and the package's product name.
struct FolderView {
    WinRegistryApi api;
    Registry registry{api};
    FakeComputers computers;
    FakeEnvironment environment;
    MatchList matchList;
    FakeIniFiles ini;
    ScriptedHost host;

    Grid Fill(FileSource& files, const std::wstring& folder) {
        View view(ViewServices{registry, files, computers, environment, matchList, ini}, host,
                  kTwipsPerPixelAt96Dpi);
        view.viewKind = ViewKind::Folder;
        view.definition = folder + L"*.exe;*.dll;*.sys;*.msi;*.txt(1),012345,012345,Files,|9,<key>,Path|9,"
                                   L"<keyfile>,File|9,Filesize,Size|9,Title,Title|9,Version,Version|9,name,"
                                   L"Product";
        view.fillflex();
        EXPECT_EQ(view.state(), ViewState::Idle);
        EXPECT_FALSE(host.busy);
        Grid rows;
        for (int r = 1; r < view.grid.Rows(); ++r) {
            rows.emplace_back();
            for (int c = 2; c < view.grid.Cols(); ++c) // from the file's name on
                rows.back().push_back(view.grid.TextMatrix(r, c));
        }
        header = view.grid.Cols() > 1 ? view.grid.TextMatrix(0, 1) : L"";
        return rows;
    }
    std::wstring header;
};

std::wstring SizeOf(const std::wstring& path) {
    return std::to_wstring(Get_FSize(path));
}

// A fresh folder of the test's own, emptied, with a trailing "\".
std::wstring FreshFolder(std::wstring_view name) {
    const std::wstring folder = TempFolder(name) + L"\\";
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((folder + entry.cFileName).c_str());
        while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    return folder;
}

const std::wstring kTool = L"Vantrel Test Tool";
const std::wstring kPackageTitle = L"Installation Database";
const std::wstring kProduct = L"Vantrel Test Package";

class FileFaults : public ::testing::Test {
protected:
    void SetUp() override {
        program = ReadBytes(ProgramFolder() + L"vantrel_described_tool.exe");
        package = ReadBytes(TestPackage());
        ASSERT_FALSE(program.empty());
        ASSERT_FALSE(package.empty());
    }
    // The files every folder here starts with: a program, a package and a text file that can all be read.
    void WriteGoodFiles(const std::wstring& folder) {
        WriteBytes(folder + L"good.exe", program);
        WriteBytes(folder + L"good.msi", package);
        WriteBytes(folder + L"notes.txt", {'h', 'e', 'l', 'l', 'o'});
    }
    Texts GoodRow(const std::wstring& folder, const std::wstring& name) {
        const std::wstring size = SizeOf(folder + name);
        if (name.ends_with(L".exe"))
            return {name, size, kTool, L"1.2.3.4", L""};
        if (name.ends_with(L".msi"))
            return {name, size, kPackageTitle, L"1.2.3", kProduct};
        return {name, size, L"", L"", L""};
    }

    Bytes program;
    Bytes package;
};

// Broken version resources and packages fill empty cells beside their names and sizes, except for what is
// still whole in them; the good files around them keep their values.
TEST_F(FileFaults, BrokenProgramsAndPackagesGiveEmptyCells) {
    const std::wstring folder = FreshFolder(L"vantrel-broken-files");
    WriteGoodFiles(folder);
    Grid expected = {GoodRow(folder, L"good.exe"), GoodRow(folder, L"good.msi"),
                     GoodRow(folder, L"notes.txt")};
    for (const BrokenFile& broken : kBrokenFiles) {
        WriteBytes(folder + broken.name, broken.make(program, package));
        expected.push_back({broken.name, SizeOf(folder + broken.name), broken.title, broken.version, L""});
    }

    FolderView view;
    WinFileSource files;
    Grid shown = view.Fill(files, folder);
    // The listing order within a pattern is the file system's: the rows are compared in one order.
    std::ranges::sort(shown);
    std::ranges::sort(expected);
    EXPECT_EQ(shown, expected);
}

// A subfolder whose name ends in a dot is listed but cannot be opened: the walk leaves it out and goes on
// with the folders after it. A base folder that is a file shows the invalid path.
TEST_F(FileFaults, AFolderTheWalkCannotListIsLeftOut) {
    const std::wstring folder = FreshFolder(L"vantrel-unlistable");
    WriteGoodFiles(folder);
    const std::wstring unlistable = L"\\\\?\\" + folder + L"a-locked.";
    CreateDirectoryW(unlistable.c_str(), nullptr);
    WriteBytes(unlistable + L"\\inside.exe", program);
    WIN32_FIND_DATAW entry{};
    ASSERT_EQ(FindFirstFileW((folder + L"a-locked.\\*").c_str(), &entry), INVALID_HANDLE_VALUE)
        << "Wine opens the folder after all: the test needs another folder it cannot list";
    CreateDirectoryW((folder + L"b-open").c_str(), nullptr);
    WriteBytes(folder + L"b-open\\after.exe", program);

    FolderView view;
    WinFileSource files;
    Grid shown = view.Fill(files, folder);
    Grid expected = {GoodRow(folder, L"good.exe"), GoodRow(folder, L"good.msi"),
                     GoodRow(folder, L"notes.txt"), GoodRow(folder + L"b-open\\", L"after.exe")};
    EXPECT_EQ(shown, expected);

    FolderView onAFile;
    EXPECT_EQ(onAFile.Fill(files, folder + L"notes.txt\\"), Grid{});
    EXPECT_EQ(onAFile.header, L"Empty or invalid path");
}

// The folder source, with files deleted at the moments a test names: before the view reads the file's row,
// or once it has read the file's size.
class VanishingFiles final : public FileSource {
public:
    std::vector<std::wstring> FolderWalk(std::wstring_view folder, std::wstring_view patterns, int depth,
                                         const WalkCheck& keepWalking) override {
        return files_.FolderWalk(folder, patterns, depth, keepWalking);
    }
    bool FolderHasEntries(std::wstring_view folder) override { return files_.FolderHasEntries(folder); }
    bool PathExists(std::wstring_view path) override { return files_.PathExists(path); }
    std::wstring FileProperty(std::wstring_view path, std::wstring_view token, std::wstring_view baseFolder,
                              RowFileCache& cache) override {
        std::wstring value = files_.FileProperty(path, token, baseFolder, cache);
        if (LowerCase(token) == L"filesize" && afterSize.contains(std::wstring(path)))
            DeleteFileW(std::wstring(path).c_str());
        return value;
    }

    std::set<std::wstring> afterSize;

private:
    WinFileSource files_;
};

// Files deleted between the walk and their reads: a file gone before its row shows its name, size 0 and
// nothing else; a file gone after its size was read keeps the size; the other rows are read whole.
TEST_F(FileFaults, FilesDeletedAfterTheWalkLeaveTheirCellsEmpty) {
    const std::wstring folder = FreshFolder(L"vantrel-vanishing");
    for (const wchar_t* name : {L"a.exe", L"b.exe", L"c.exe", L"d.exe", L"e.exe"})
        WriteBytes(folder + name, program);
    for (const wchar_t* name : {L"a.msi", L"b.msi", L"c.msi"})
        WriteBytes(folder + name, package);
    const std::set<std::wstring> beforeRow = {folder + L"b.exe", folder + L"a.msi"};
    const std::set<std::wstring> afterSize = {folder + L"d.exe", folder + L"c.msi"};

    FolderView view;
    VanishingFiles files;
    files.afterSize = afterSize;
    const std::vector<std::wstring> walked =
        files.FolderWalk(folder, L"*.exe;*.dll;*.sys;*.msi;*.txt", 1, {});
    size_t row = 0;
    view.host.onEvents = [&] { // before each row's reads
        if (row < walked.size() && beforeRow.contains(walked[row]))
            DeleteFileW(walked[row].c_str());
        ++row;
    };
    Grid expected;
    for (const std::wstring& path : walked) {
        const std::wstring name = path.substr(folder.size());
        Texts cells = GoodRow(folder, name);
        if (beforeRow.contains(path))
            cells = {name, L"0", L"", L"", L""};
        if (afterSize.contains(path))
            cells = {name, cells[1], L"", L"", L""};
        expected.push_back(cells);
    }
    EXPECT_EQ(view.Fill(files, folder), expected);
    for (const std::wstring& path : walked)
        EXPECT_EQ(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES,
                  beforeRow.contains(path) || afterSize.contains(path))
            << path;
}

} // namespace
} // namespace vantrel::test
