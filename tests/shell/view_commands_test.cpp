// Which view a file opens, and where "[OutFile]" writes: the rules the main window and kivoc share.
#include "shell/out_file_target.h"
#include "shell/view_commands.h"
#include "views/catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace vantrel {
namespace {

PathProbe ProbeOf(std::set<std::wstring> files, std::set<std::wstring> folders) {
    return {.fileExists = [files](std::wstring_view path) { return files.contains(std::wstring(path)); },
            .folderExists =
                [folders](std::wstring_view path) {
                    return folders.contains(std::wstring(path));
                }};
}

TEST(OpeningOfFile, CustomViewsIniTablesAndFolders) {
    const PathProbe probe =
        ProbeOf({L"C:\\v\\disks.KVF", L"C:\\w\\app.ini", L"C:\\pkgs\\*.msi"}, {L"C:\\pkgs", L"C:\\tools\\"});
    const auto custom = OpeningOfFile(L"C:\\v\\disks.KVF", false, probe);
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->kind, ViewKind::CustomFile);
    EXPECT_EQ(custom->customFile, L"C:\\v\\disks.KVF");
    const auto ini = OpeningOfFile(L"C:\\w\\app.ini", false, probe);
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->kind, ViewKind::IniTable);
    EXPECT_EQ(ini->folderPath, L"C:\\w\\app.ini");

    EXPECT_FALSE(OpeningOfFile(L"C:\\pkgs", false, probe)) << "commands open no folders";
    const auto packages = OpeningOfFile(L"C:\\pkgs", true, probe);
    ASSERT_TRUE(packages);
    EXPECT_EQ(packages->kind, ViewKind::Folder);
    EXPECT_EQ(packages->folderPath, L"C:\\pkgs\\");
    EXPECT_EQ(packages->definition, std::to_wstring(kInstallFolderView));
    const auto tools = OpeningOfFile(L"C:\\tools\\", true, probe);
    ASSERT_TRUE(tools);
    EXPECT_EQ(tools->folderPath, L"C:\\tools\\");
    EXPECT_EQ(tools->definition, std::to_wstring(kExeFilesView));
    EXPECT_FALSE(OpeningOfFile(L"C:\\nowhere.ini", true, probe));
}

TEST(OutFileTarget, StandardOutputAndFormatsFollowTheName) {
    struct Case {
        std::wstring_view argument;
        OutFileTarget expected;
    };
    const Case cases[] = {
        {L"-", {L"-", true, ExportFormat::Text}},
        {L" - ", {L"-", true, ExportFormat::Text}},
        {L"-.csv", {L"-.csv", true, ExportFormat::Csv}},
        {L"-.JSON", {L"-.JSON", true, ExportFormat::Json}},
        {L"-.tsv", {L"-.tsv", true, ExportFormat::Text}},
        {L"C:\\out\\-.csv", {L"C:\\out\\-.csv", false, ExportFormat::Csv}},
        {L"-x.csv", {L"-x.csv", false, ExportFormat::Csv}},
        {L"report.json", {L"report.json", false, ExportFormat::Json}},
        {L"C:\\Inventory 2024\\sw.csv", {L"C:\\Inventory 2024\\sw.csv", false, ExportFormat::Csv}},
        {L"notes.txt", {L"notes.txt", false, ExportFormat::Text}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutFileTargetOf(c.argument), c.expected) << std::wstring(c.argument);
}

} // namespace
} // namespace vantrel
