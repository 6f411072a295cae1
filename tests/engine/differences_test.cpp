// "Hi&ghlight differences": which cells of a multi-computer or merged view are shaded, through sorts and
// transposes, and what the status tooltip adds while they are.
#include "engine/clipboard_text.h"
#include "engine/grid_status.h"
#include "engine/view_fixture.h"

namespace vantrel::test {
namespace {

constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kApps = L"Software\\Apps";
const std::wstring kAppsView = L"Software\\Apps,012,012,Apps,|100,<key>,Key|120,Name,Name|80,Version,Version";

// A row of the grid per text, "x" for a shaded cell and "." for another, from grid column 1 on.
Texts Shading(const View& v) {
    Texts rows;
    for (int r = 1; r < v.grid.Rows(); ++r) {
        std::wstring row;
        for (int c = 1; c < v.grid.Cols(); ++c)
            row += v.grid.Shaded(r, c) ? L'x' : L'.';
        rows.push_back(std::move(row));
    }
    return rows;
}

class DifferencesTest : public ViewTest {
protected:
    void Install(const std::wstring& computer, const std::wstring& key, const std::wstring& name,
                 const std::wstring& version) {
        memory.SetString(computer, HKLM, kApps + L"\\" + key, L"Name", name);
        memory.SetString(computer, HKLM, kApps + L"\\" + key, L"Version", version);
    }
    // Acme on the local computer, PC1 (another version) and PC2 (another name).
    View& CompareAcme() {
        Install(L"", L"Acme", L"Acme", L"1.0");
        Install(L"PC1", L"Acme", L"Acme", L"1.1");
        Install(L"PC2", L"Acme", L"Acme Pro", L"1.0");
        View& v = NewView(kAppsView);
        v.NewCompuRows(kApps + L"\\Acme", {L"", L"PC1", L"PC2"});
        v.fillflex();
        return v;
    }
    View& Other(std::wstring computer) {
        auto& source = others.emplace_back(std::make_unique<View>(ForViews(), otherHost, 15));
        source->definition = kAppsView;
        source->SetType(std::move(computer), L"");
        source->fillflex();
        return *source;
    }

    ScriptedHost otherHost;
    std::vector<std::unique_ptr<View>> others;
};

TEST_F(DifferencesTest, ComputersDifferFromTheFirstOneWhereverSortingPutsIt) {
    View& v = CompareAcme();
    EXPECT_FALSE(v.HighlightsDifferences());
    v.selectall(); // the status then counts the rows
    const std::wstring copied = Copy2clipText(v.grid);
    const std::wstring statusOff = StatusText(v).text;

    v.HighlightDifferences(true);
    EXPECT_EQ(Shading(v), (Texts{L"...", L"..x", L".x."})); // the computer column is never compared
    EXPECT_EQ(Copy2clipText(v.grid), copied);
    EXPECT_EQ(StatusText(v).text, statusOff + L" - 2 rows differ");

    v.SortColumn(2, true); // names descending: PC2's Acme Pro first, the local computer no longer first
    EXPECT_EQ(Column(1), (Texts{L"PC2", L"<local computer>", L"PC1"}));
    EXPECT_EQ(Shading(v), (Texts{L".x.", L"...", L"..x"}));

    // A refill finds them again: PC1 now has the first computer's version.
    Install(L"PC1", L"Acme", L"Acme", L"1.0");
    v.fillflex();
    v.selectall();
    EXPECT_EQ(Shading(v), (Texts{L"...", L"...", L".x."}));
    EXPECT_TRUE(StatusText(v).text.ends_with(L" - 1 row differs")) << StatusText(v).text;

    v.HighlightDifferences(false);
    EXPECT_EQ(StatusText(v).text.find(L"differ"), std::wstring::npos);
}

TEST_F(DifferencesTest, MergedColumnsDifferFromTheFirstColumnOfTheirGroup) {
    Install(L"PC1", L"Acme", L"Acme app", L"1.0");
    Install(L"PC2", L"Acme", L"Acme app", L"2.0");
    Install(L"PC2", L"Beta", L"Beta app", L"0.9"); // only on the second
    View& merged = NewView(L"");
    View* sources[] = {&Other(L"PC1"), &Other(L"PC2")};
    merged.NewMergeFrom(sources);
    // Key, Name PC1, Name PC2, Version PC1, Version PC2
    EXPECT_EQ(merged.mergePartners, (std::vector<int>{-1, -1, -1, 2, -1, 4}));
    merged.HighlightDifferences(true);
    EXPECT_EQ(Shading(merged), (Texts{L"....x", L"..x.x"}));
    EXPECT_EQ(merged.DifferingRowCount(), 2);
}

TEST_F(DifferencesTest, ATransposedWindowCarriesTheShadingSwappedThroughItsSorts) {
    View& v = CompareAcme();
    v.HighlightDifferences(true);
    ScriptedHost transposedHost;
    View transposed(ForViews(), transposedHost, 15);
    ASSERT_TRUE(transposed.transpose(v, L"Comparing"));
    EXPECT_TRUE(transposed.ComparesCells());
    EXPECT_TRUE(transposed.HighlightsDifferences());
    // Rows: Key (the computers), Name, Version; columns: the three computers.
    EXPECT_EQ(Shading(transposed), (Texts{L"...", L"..x", L".x."}));
    EXPECT_EQ(transposed.DifferingRowCount(), 2); // the computers, now columns

    transposed.SortColumn(2, false); // by PC1's column: the number 1.1 first, then Acme, then PC1
    EXPECT_EQ(transposed.grid.TextMatrix(1, 0), L"Version");
    EXPECT_EQ(Shading(transposed), (Texts{L".x.", L"..x", L"..."}));

    transposed.HighlightDifferences(false); // the shading stays carried for when it is shown again
    transposed.HighlightDifferences(true);
    EXPECT_EQ(Shading(transposed), (Texts{L".x.", L"..x", L"..."}));
}

} // namespace
} // namespace vantrel::test
