// What "P&roperties" of a cell leads to: GUIDs looked up in the registry, command lines cut to their
// program, PCI devices, files found as they are or as the row's item, and knowledge-base articles.
#include "engine/view_fixture.h"

namespace vantrel::test {
namespace {

using Kind = CellTarget::Kind;

} // namespace
} // namespace vantrel::test

namespace vantrel {
void PrintTo(const CellTarget& target, std::ostream* out) {
    *out << "{kind " << static_cast<int>(target.kind) << ", " << testing::PrintToString(target.text) << ", "
         << testing::PrintToString(target.device) << ", view " << target.viewNumber << "}";
}
} // namespace vantrel

namespace vantrel::test {
namespace {

constexpr auto HKCR = RootKey::ClassesRoot;
constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kGuid = L"{11111111-2222-3333-4444-555555555555}";
const std::wstring kLibrary = L"{99999999-2222-3333-4444-555555555555}";

TEST(CellTextRules, CommandLinesPciIdsAndArticles) {
    EXPECT_EQ(ProgramOfCommandLine(L"C:\\Program Files\\App\\app.exe /s"), L"C:\\Program");
    EXPECT_EQ(ProgramOfCommandLine(L"\"C:\\Program Files\\App\\app.exe\" /s"),
              L"C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(ProgramOfCommandLine(L"\"C:\\unclosed quote"), L"C:\\unclosed quote");

    const std::optional<PciIds> pci = PciIdsOf(L"VEN_8086&DEV_27C8&SUBSYS_01DA1028&REV_01");
    ASSERT_TRUE(pci);
    EXPECT_EQ(pci->vendor, L"8086");
    EXPECT_EQ(pci->device, L"27C8");
    EXPECT_FALSE(PciIdsOf(L"VEN_8086&SUB_27C8"));
    EXPECT_FALSE(PciIdsOf(L"VEN_8086&DEV_27"));

    const std::pair<const wchar_t*, const wchar_t*> articles[] = {
        {L"KB123456", L"KB123456"},
        {L"Q123456", L"Q123456"},
        {L"SP2\\KB123456", L"KB123456"},
        {L"SP2\\KB123456\\x", L"KB123456"},
        {L"KB12345", L""},
        {L"Q1234567", L""},
        {L"\\KB123456", L""},
    };
    for (const auto& [text, article] : articles)
        EXPECT_EQ(ArticleOf(text), article) << text;

    EXPECT_EQ(PciLookupPage(L"http://127.0.0.1:80/", L"8086"), L"http://127.0.0.1:80/iii/?i=8086");
}

class CellTargetTest : public ViewTest {
protected:
    CellTargetTest() { NewView(L"Software\\Cells,0123,0123,Cells,|100,<key>,Key|200,Cmd,Cmd"); }
    CellTarget Target(const std::wstring& cell) { return view->PropertiesTarget(cell, 1); }
};

TEST_F(CellTargetTest, AGuidOpensTheViewOfTheFirstPlaceItIsFoundIn) {
    struct Place {
        RootKey root;
        std::wstring key;
        int view;
    };
    const Place places[] = {
        {HKLM, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kGuid, 3},
        {HKCR, L"CLSID\\" + kGuid + L"\\InprocServer32", 4},
        {HKCR, L"CLSID\\" + kGuid + L"\\LocalServer32", 5},
        {HKCR, L"Typelib\\" + kGuid, 6},
        {HKCR, L"Component Categories\\" + kGuid, 7},
    };
    // Filled from the last place to the first: each new one is found before the ones there already.
    for (auto place = std::rbegin(places); place != std::rend(places); ++place) {
        memory.SetString(L"", place->root, place->key, L"Marker", L"x"); // the default value stays missing
        EXPECT_EQ(Target(kGuid),
                  (CellTarget{.kind = Kind::RelatedView, .text = kGuid, .viewNumber = place->view}))
            << place->key;
    }
}

TEST_F(CellTargetTest, AClassNamingOnlyItsTypeLibraryOpensThatLibrarysClasses) {
    memory.SetString(L"", HKCR, L"CLSID\\" + kGuid + L"\\Typelib", L"", kLibrary);
    EXPECT_EQ(Target(kGuid), (CellTarget{.kind = Kind::RelatedView, .text = kLibrary, .viewNumber = 6}));

    memory.SetString(L"", HKCR, L"CLSID\\" + kLibrary + L"\\Typelib", L"Other", L"x");
    EXPECT_EQ(Target(kLibrary), CellTarget{.kind = Kind::UnknownGuid}); // a Typelib key without a library
    view->computerName = L"PC7"; // the look-ups are made on the view's computer
    EXPECT_EQ(Target(kGuid), CellTarget{.kind = Kind::UnknownGuid});
}

TEST_F(CellTargetTest, PathsAreCutFoundAndExpanded) {
    files.existing = {L"c:\\program files\\app\\app.exe", L"c:\\windows\\system32\\drivers\\x.sys"};
    environment.variables[L"systemroot"] = L"C:\\Windows";
    const std::pair<std::wstring, CellTarget> cases[] = {
        {L"C:\\Program Files\\App\\app.exe /s", {.kind = Kind::MissingFile, .text = L"C:\\Program"}},
        {L"\"C:\\Program Files\\App\\app.exe\" /s",
         {.kind = Kind::File, .text = L"C:\\Program Files\\App\\app.exe"}},
        {L"system32\\drivers\\x.sys", {.kind = Kind::File, .text = L"C:\\Windows\\system32\\drivers\\x.sys"}},
        {L"System32\\drivers\\y.sys", {}},
        {L"VEN_8086&DEV_27C8&SUBSYS_01DA1028", {.kind = Kind::PciDevice, .text = L"8086", .device = L"27C8"}},
        {L"SP2\\KB123456", {.kind = Kind::Article, .text = L"KB123456"}},
        {L"Q123456 hotfix", {.kind = Kind::Article, .text = L"Q123456"}},
        {L"plain text", {}},
    };
    for (const auto& [cell, target] : cases)
        EXPECT_EQ(Target(cell), target) << cell;
}

TEST_F(CellTargetTest, AnEnvironmentVariableIsExpandedBeforeTheFileIsLookedUp) {
    environment.variables[L"programfiles"] = L"C:\\Program Files";
    files.existing = {L"c:\\program files\\app\\app.exe"};
    memory.SetString(L"", HKLM, L"Software\\Cells\\App", L"Cmd", L"%ProgramFiles%\\App\\app.exe");
    view->fillflex();
    EXPECT_EQ(Target(view->CellPath(1, 2)),
              (CellTarget{.kind = Kind::File, .text = L"C:\\Program Files\\App\\app.exe"}));
}

TEST_F(CellTargetTest, AMissingPathFallsBackToTheRowsFile) {
    files.files = {L"D:\\Setup\\x.msi"};
    files.existing = {L"d:\\setup\\x.msi"};
    View& v = NewView(L"", ViewKind::Folder);
    v.folderPath = L"D:\\Setup\\";
    v.fillflex();
    EXPECT_EQ(v.PropertiesTarget(L"E:\\gone\\x.msi", 1),
              (CellTarget{.kind = Kind::File, .text = L"D:\\Setup\\x.msi"}));
    files.existing.clear();
    EXPECT_EQ(v.PropertiesTarget(L"E:\\gone\\x.msi", 1),
              (CellTarget{.kind = Kind::MissingFile, .text = L"E:\\gone\\x.msi"}));
}

} // namespace
} // namespace vantrel::test
