// The install folder view over DLLs nobody here wrote: Wine's system folder and Debian's tree of Wine's
// Windows DLLs. Each case writes what the view shows (path, title and version per row) as <name>.json into
// the check folder; scripts/check-versions.py reads the same files with pefile and compares.
#include "engine/scripted_host.h"
#include "platform/win_file_source.h"
#include "platform/win_registry.h"
#include "views/catalogue.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace vantrel::test {
namespace {

struct Shown {
    std::wstring path, title, version;
};

// View 99's columns over `base`: the catalogue's own definition with its base replaced.
std::vector<Shown> FillInstallFolderView(const std::wstring& base) {
    std::wstring definition = ResolveBuiltInView(std::to_wstring(kInstallFolderView));
    definition.replace(0, definition.find(L','), base);
    WinRegistryApi api;
    Registry registry{api};
    WinFileSource files;
    FakeComputers computers;
    FakeEnvironment environment;
    MatchList matchList;
    FakeIniFiles ini;
    ScriptedHost host;
    host.listMode = 1;
    View view(ViewServices{registry, files, computers, environment, matchList, ini}, host,
              kTwipsPerPixelAt96Dpi);
    view.viewKind = ViewKind::Folder;
    view.definition = definition;
    view.fillflex();

    int titleColumn = 0, versionColumn = 0;
    for (int c = 1; c < view.grid.Cols(); ++c) {
        const std::wstring header = view.grid.TextMatrix(0, c);
        if (header == L"Title" && titleColumn == 0)
            titleColumn = c;
        if (header == L"Version")
            versionColumn = c;
    }
    EXPECT_NE(titleColumn, 0);
    EXPECT_NE(versionColumn, 0);
    std::vector<Shown> rows;
    for (int r = 1; r < view.grid.Rows() && titleColumn != 0 && versionColumn != 0; ++r)
        rows.push_back({view.RowKey(static_cast<size_t>(r)), view.grid.TextMatrix(r, titleColumn),
                        view.grid.TextMatrix(r, versionColumn)});
    return rows;
}

std::string JsonText(std::wstring_view text) {
    std::string json = "\"";
    for (const wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7E) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json += static_cast<char>(c);
        }
    }
    return json + "\"";
}

// The check folder is a folder of the build tree, reached through drive Z:.
std::string CheckFile(const std::string& name) {
    std::string path = "Z:" + std::string(VANTREL_VERSION_CHECK_DIR) + "/" + name + ".json";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void WriteRows(const std::string& name, const std::vector<Shown>& rows) {
    std::ofstream out(CheckFile(name), std::ios::binary);
    out << "[\n";
    for (size_t i = 0; i < rows.size(); ++i)
        out << "  {\"path\": " << JsonText(rows[i].path) << ", \"title\": " << JsonText(rows[i].title)
            << ", \"version\": " << JsonText(rows[i].version) << "}" << (i + 1 < rows.size() ? ",\n" : "\n");
    out << "]\n";
    ASSERT_TRUE(out.good()) << name;
}

// Hundreds of DLLs of both folders carry a description and a version; a reader that finds none is broken.
void ExpectManyDescribed(const std::vector<Shown>& rows) {
    ASSERT_GT(rows.size(), 100u);
    const auto versioned = std::count_if(rows.begin(), rows.end(), [](const Shown& row) {
        return !row.version.empty() && !row.title.empty();
    });
    EXPECT_GT(versioned, 100);
}

TEST(InstallFolderView, SystemFolderDlls) {
    const auto rows = FillInstallFolderView(L"C:\\windows\\system32\\*.dll(0)");
    WriteRows("system32", rows);
    ExpectManyDescribed(rows);
}

TEST(InstallFolderView, DebianWineDllTreeAsDrivePath) {
    const auto rows =
        FillInstallFolderView(L"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\*.dll(0)");
    WriteRows("wine-tree", rows);
    ExpectManyDescribed(rows);
}

} // namespace
} // namespace vantrel::test
