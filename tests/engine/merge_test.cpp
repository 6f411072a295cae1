// Tables made from other tables: a transposed grid, the match list taken from a column, and filled views
// merged by key.
#include "engine/view_fixture.h"
#include "views/order.h"

namespace vantrel::test {
namespace {

constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kApps = L"Software\\Apps";
const std::wstring kAppsView = L"Software\\Apps,012,012,Apps,|100,<key>,Key|120,Name,Name|80,Version,Version";

class TablesTest : public ViewTest {
protected:
    // A filled view of its own (the fixture's `view` stays free for the result).
    View& FilledSource(std::wstring definition, std::wstring computer = {}) {
        auto& host = hosts.emplace_back(std::make_unique<ScriptedHost>());
        auto& source = sources.emplace_back(std::make_unique<View>(ForViews(), *host, 15));
        source->definition = std::move(definition);
        source->SetType(std::move(computer), L"");
        source->fillflex();
        return *source;
    }
    View& Merge(std::vector<View*> from) {
        View& merged = NewView(L"");
        merged.NewMergeFrom(from);
        return merged;
    }
    void Install(const std::wstring& computer, const std::wstring& key, const std::wstring& version) {
        memory.SetString(computer, HKLM, kApps + L"\\" + key, L"Name", key + L" app");
        memory.SetString(computer, HKLM, kApps + L"\\" + key, L"Version", version);
    }

    std::vector<std::unique_ptr<ScriptedHost>> hosts;
    std::vector<std::unique_ptr<View>> sources;
};

TEST_F(TablesTest, TransposeSwapsRowsAndColumnsAndTwiceGivesTheCaptionBack) {
    Install(L"", L"Acme", L"1.0");
    Install(L"", L"Beta", L"");
    View& source = FilledSource(kAppsView); // 3 rows x 4 columns
    source.grid.SetTextMatrix(0, 0, L"");
    View& once = NewView(L"");
    ASSERT_TRUE(once.transpose(source, L"Apps view - Local"));
    EXPECT_EQ(host.caption, L"Transposed: Apps view - Local");
    EXPECT_EQ(once.grid.Rows(), 4);
    EXPECT_EQ(once.grid.Cols(), 3);
    EXPECT_EQ(once.grid.TextMatrix(2, 1), L"Acme app");
    EXPECT_EQ(once.grid.TextMatrix(1, 0), L"Key");
    EXPECT_EQ(once.grid.ColWidth(0), 420 + 64 * 7);         // "Version"
    EXPECT_EQ(once.grid.ColWidth(1), 1060 + (8 - 10) * 64); // "Acme app"
    EXPECT_FALSE(once.IsFilling());

    ScriptedHost twiceHost;
    View twice(ForViews(), twiceHost, 15);
    ASSERT_TRUE(twice.transpose(once, host.caption));
    EXPECT_EQ(twiceHost.caption, L"Apps view - Local");
    EXPECT_EQ(twice.grid.TextMatrix(1, 2), L"Acme app");

    View& empty = NewView(L"");
    source.grid.SetRows(1);
    source.grid.SetCols(1);
    ASSERT_TRUE(empty.transpose(source, L"x"));
    EXPECT_EQ(empty.grid.ColWidth(0), 420); // no text at all
}

TEST_F(TablesTest, TheMatchListIsTheCurrentColumn) {
    Install(L"", L"Acme", L"1.0");
    View& source = FilledSource(kAppsView);
    source.grid.SetCol(2);
    source.AutoMatch();
    EXPECT_EQ(matchList.Entries(), (Texts{L"Acme app"}));
    EXPECT_TRUE(matchList.IsLoaded());
}

TEST_F(TablesTest, TwoComputersMergeByKey) {
    Install(L"PC1", L"Acme", L"1.0");
    Install(L"PC2", L"Acme", L"2.0");
    Install(L"PC2", L"Beta", L"0.9"); // only on the second
    View& merged = Merge({&FilledSource(kAppsView, L"PC1"), &FilledSource(kAppsView, L"PC2")});
    EXPECT_EQ(host.captions.front(), L"Merging views ..");
    EXPECT_EQ(host.caption, L"Merged view");
    EXPECT_EQ(merged.viewKind, ViewKind::Merged);
    EXPECT_EQ(Headers(), (Texts{L"Key", L"Name", L"Name", L"Version", L"Version"}));
    EXPECT_EQ(Rows(), (Table{{L"Acme", L"Acme app", L"Acme app", L"1.0", L"2.0"},
                             {L"Beta", L"", L"Beta app", L"", L"0.9"}}));
    EXPECT_EQ(merged.columns.column(1).data, L"/PC1/Name");
    EXPECT_EQ(merged.columns.column(2).data, L"/PC2/Name");
    EXPECT_EQ(merged.columns.head.colsOrder, L"01234");
    EXPECT_EQ(merged.RowKeys(), (Texts{L"Acme", L"Beta"}));
}

TEST_F(TablesTest, KeysMergeWhateverOrderTheSourcesListThemIn) {
    // The registry lists keys regardless of case: abc before Bcd, which compares the other way round.
    Install(L"PC1", L"abc", L"1");
    Install(L"PC1", L"Bcd", L"1");
    Install(L"PC2", L"Bcd", L"2");
    Merge({&FilledSource(kAppsView, L"PC1"), &FilledSource(kAppsView, L"PC2")});
    EXPECT_EQ(Column(1), (Texts{L"Bcd", L"abc"}));
    EXPECT_EQ(Column(5), (Texts{L"2", L""}));

    // A folder walk lists a folder's files before its subfolders.
    files.files = {L"C:\\T\\z.txt", L"C:\\T\\sub\\a.txt"};
    files.properties[L"C:\\T\\z.txt"][L"kind"] = L"x";
    files.properties[L"C:\\T\\sub\\a.txt"][L"kind"] = L"y";
    View& all = FilledSource(L"C:\\T\\*.txt(2),01,01,All,|100,<key>,File|50,Kind,Kind");
    View& notX = FilledSource(L"C:\\T\\*.txt(2),01,01,Not x,|100,<key>,File|50,Kind,Kind,*^x");
    Merge({&all, &notX});
    EXPECT_EQ(Rows(), (Table{{L"C:\\T\\sub\\a.txt", L"y", L"y"}, {L"C:\\T\\z.txt", L"x", L""}}));
}

TEST_F(TablesTest, FortyFiveDataColumnsUseTheFortyCharactersOfTheAlphabet) {
    std::wstring definition = L"Software\\Apps,0123456789abcdef,0,Wide,|100,<key>,Key";
    for (int c = 1; c <= 15; ++c)
        definition += L"|20,Name,N" + std::to_wstring(c);
    std::vector<View*> from;
    for (const wchar_t* computer : {L"PC1", L"PC2", L"PC3"}) {
        Install(computer, L"Acme", L"1");
        from.push_back(&FilledSource(definition, computer));
    }
    View& merged = Merge(from);
    EXPECT_EQ(merged.columns.head.colsOrder, kOrderAlphabet);
    EXPECT_EQ(merged.grid.Cols(), 47); // the row numbers, the key column and 45 data columns
    EXPECT_EQ(merged.grid.TextMatrix(0, 46), L"N15");
    EXPECT_EQ(merged.columns.column(45).data, L"/PC3/Name");
}

} // namespace
} // namespace vantrel::test
