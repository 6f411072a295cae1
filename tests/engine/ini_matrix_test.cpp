// The ini table: sections as rows, keys as columns in order of first appearance.
#include "engine/view_fixture.h"

namespace vantrel::test {
namespace {

const std::wstring kFile = L"C:\\setup\\layout.ini";

class IniMatrixTest : public ViewTest {
protected:
    View& FillTable() {
        View& v = NewView(L"", ViewKind::IniTable);
        v.folderPath = kFile;
        v.fillflex();
        return v;
    }
    std::wstring Cell(int row, int col) const { return view->grid.TextMatrix(row, col); }
};

TEST_F(IniMatrixTest, OneColumnPerKeyInOrderOfFirstAppearanceWithoutCase) {
    ini.files[kFile] = {{L"Alpha", {L"Name=one", L"Size=10"}},
                        {L"Beta", {L"size=20", L"Extra=x", L"NAME=two"}},
                        {L"Gamma", {L"Empty=", L"=no key"}}};
    View& v = FillTable();
    ASSERT_EQ(v.grid.Rows(), 4);
    // The table starts with two columns, so the first key comes in column 2 and column 1 stays empty.
    EXPECT_EQ(v.grid.Cols(), 6);
    EXPECT_EQ(Cell(0, 1), L"");
    EXPECT_EQ(Cell(0, 2), L"Name");
    EXPECT_EQ(Cell(0, 3), L"Size");
    EXPECT_EQ(Cell(0, 4), L"Extra");
    EXPECT_EQ(Cell(0, 5), L"Empty");
    EXPECT_EQ(Cell(1, 0), L"Alpha");
    EXPECT_EQ(Cell(2, 2), L"two");
    EXPECT_EQ(Cell(2, 3), L"20");
    EXPECT_EQ(Cell(1, 4), L"");       // a key the section lacks stays blank...
    EXPECT_EQ(Cell(3, 5), L"-");      // ...an empty value shows "-"
    EXPECT_EQ(Cell(3, 1), L"no key"); // the empty header of column 1 matches an entry without a key
    EXPECT_EQ(v.grid.ColWidth(0), 1200);
    EXPECT_EQ(v.grid.ColWidth(4), 1060 + 64 * (5 - 10)); // "Extra" is longer than its value
    EXPECT_EQ(v.state(), ViewState::Idle);
}

TEST_F(IniMatrixTest, PercentNamesComeFromStringsAndQuotesGo) {
    ini.files[kFile] = {
        {L"Version", {L"Provider=%Acme%", L"Class=%Missing%", L"Title=\"Acme Tools\"", L"Lone=%"}},
        {L"Strings", {L"ACME=\"Acme Software\"", L"other=x"}}};
    FillTable();
    EXPECT_EQ(Cell(1, 2), L"Acme Software"); // looked up without regard to case, then unquoted
    EXPECT_EQ(Cell(1, 3), L"%Missing%");
    EXPECT_EQ(Cell(1, 4), L"Acme Tools");
    EXPECT_EQ(Cell(1, 5), L"%");
    EXPECT_EQ(Cell(2, 0), L"Strings"); // its own row, without values
    EXPECT_EQ(Cell(2, 2), L"");
}

TEST_F(IniMatrixTest, CancellingStopsAtTheNextTenthSection) {
    auto& sections = ini.files[kFile];
    for (int i = 1; i <= 500; ++i)
        sections.push_back({L"S" + std::to_wstring(i), {L"Key=" + std::to_wstring(i)}});
    View& v = NewView(L"", ViewKind::IniTable);
    v.folderPath = kFile;
    // The user cancels while section 25 is read; the fill looks at sections 10, 20 and 30 and so sees it
    // at 30.
    ini.onSectionRead = [&](std::wstring_view section) {
        if (section == L"S25")
            v.Stop();
    };
    v.fillflex();
    EXPECT_EQ(v.grid.Rows(), 30); // the header and 29 sections
    EXPECT_EQ(Cell(29, 0), L"S29");
    EXPECT_EQ(v.state(), ViewState::Idle);
}

// A huge file is read ahead with messages running; the user's stop during that read ends the fill before
// any section is listed.
TEST_F(IniMatrixTest, StoppingWhileTheFileIsReadAheadEndsTheFill) {
    ini.files[kFile] = {{L"Alpha", {L"Name=one"}}};
    View& v = NewView(L"", ViewKind::IniTable);
    v.folderPath = kFile;
    int pieces = 0;
    ini.readAhead = [&](std::wstring_view file, const std::function<bool()>& keepGoing) {
        EXPECT_EQ(file, kFile);
        for (; pieces < 100; ++pieces) {
            if (pieces == 3)
                v.Stop();
            if (!keepGoing())
                return false;
        }
        return true;
    };
    v.fillflex();
    EXPECT_EQ(pieces, 3);
    EXPECT_EQ(ini.sectionNameReads, 0);
    EXPECT_EQ(v.grid.Rows(), 1);
    EXPECT_EQ(v.state(), ViewState::Idle);
}

TEST_F(IniMatrixTest, AReadAheadThatGoesOnFillsTheTable) {
    ini.files[kFile] = {{L"Alpha", {L"Name=one"}}};
    int looks = 0;
    ini.readAhead = [&](std::wstring_view, const std::function<bool()>& keepGoing) {
        looks += keepGoing() ? 1 : 0;
        return true;
    };
    View& v = FillTable();
    EXPECT_EQ(looks, 1);
    EXPECT_EQ(v.grid.Rows(), 2);
    EXPECT_EQ(Cell(1, 2), L"one");
}

TEST_F(IniMatrixTest, AMissingFileGivesAnEmptyTable) {
    View& v = FillTable();
    EXPECT_EQ(v.grid.Rows(), 1);
    EXPECT_EQ(host.caption, L"Table view of " + kFile);
}

} // namespace
} // namespace vantrel::test
