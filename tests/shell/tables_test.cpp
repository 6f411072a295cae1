// The commands that make a table from other views: transpose, merge and the match list, from the menus.
#include "platform/clipboard.h"
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"

#include <algorithm>

namespace vantrel {
namespace {

using test::WindowText;
constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kAppsView = L"Software\\Apps,012,012,Apps,|100,<key>,Key|120,Name,Name|80,Version,Version";

class TablesCommandTest : public test::MainWindowFixture {
protected:
    TablesCommandTest() {
        for (const wchar_t* computer : {L"", L"PC1", L"PC2", L"PC3"}) {
            memory.SetString(computer, HKLM, L"Software\\Apps\\Acme", L"Name", L"Acme");
            memory.SetString(computer, HKLM, L"Software\\Apps\\Acme", L"Version",
                             L"1" + std::wstring(computer));
        }
        ShowMain();
    }
    ViewForm* Open(std::wstring_view computer) {
        ViewForm* form = main->NewView(computer, kAppsView, L"");
        RunPending();
        return form;
    }
    int ViewWindows() const {
        int count = 0;
        for (HWND child = GetWindow(main->mdiClient(), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            count += ViewForm::FromWindow(child) != nullptr ? 1 : 0;
        return count;
    }
};

TEST_F(TablesCommandTest, TransposeOpensTheSwappedTableWithoutAFill) {
    ViewForm* from = Open(L"<");
    ViewForm* transposed = Command(IDM_TRANSPOSE);
    ASSERT_NE(transposed, from);
    EXPECT_EQ(WindowText(transposed->hwnd()), L"Transposed: " + WindowText(from->hwnd()));
    EXPECT_EQ(transposed->view().grid.Rows(), from->view().grid.Cols());
    EXPECT_EQ(transposed->view().grid.TextMatrix(2, 1), L"Acme");
    EXPECT_EQ(transposed->view().state(), ViewState::Idle);
}

TEST_F(TablesCommandTest, FourWindowsMergeIntoANewOneAndStayOpen) {
    ViewForm* local = Open(L"<");
    Open(L"PC1");
    Open(L"PC2");
    Open(L"PC3");
    SendMessageW(main->mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(local->hwnd()), 0);
    prompter.chooseToMerge = [](const std::vector<MergeCandidate>& others) {
        std::vector<HWND> all;
        for (const MergeCandidate& candidate : others)
            all.push_back(candidate.window);
        return all;
    };
    ViewForm* merged = Command(IDM_MERGE);
    EXPECT_EQ(ViewWindows(), 5);
    EXPECT_EQ(prompter.mergeCurrentCaptions, (std::vector<std::wstring>{WindowText(local->hwnd())}));
    EXPECT_EQ(prompter.mergeOffers.at(0).size(), 3u);
    EXPECT_EQ(WindowText(merged->hwnd()), L"Merged view");
    const View& v = merged->view();
    EXPECT_EQ(v.viewKind, ViewKind::Merged);
    ASSERT_EQ(v.grid.Cols(), 10); // row numbers, key, 4 names, 4 versions
    EXPECT_EQ(v.grid.TextMatrix(1, 1), L"Acme");
    EXPECT_EQ(v.grid.TextMatrix(1, 6), L"1"); // the active view's first
    std::vector<std::wstring> versions;
    for (int c = 6; c < 10; ++c)
        versions.push_back(v.grid.TextMatrix(1, c));
    std::ranges::sort(versions);
    EXPECT_EQ(versions, (std::vector<std::wstring>{L"1", L"1PC1", L"1PC2", L"1PC3"}));
}

TEST_F(TablesCommandTest, ViewsWithTheSameCaptionAreToldApart) {
    ViewForm* active = Open(L"PC1");
    Open(L"<");
    ViewForm* second = Open(L"<");
    second->view().grid.SetTextMatrix(1, 3, L"changed"); // the one to merge
    SendMessageW(main->mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(active->hwnd()), 0);
    prompter.chooseToMerge = [&](const std::vector<MergeCandidate>& others) {
        EXPECT_EQ(others.size(), 2u);
        EXPECT_EQ(others.at(0).caption, others.at(1).caption);
        return std::vector<HWND>{second->hwnd()};
    };
    ViewForm* merged = Command(IDM_MERGE);
    EXPECT_EQ(merged->view().grid.TextMatrix(1, 5), L"changed");
}

TEST_F(TablesCommandTest, NothingChosenMergesNothing) {
    Open(L"<");
    Command(IDM_MERGE);
    EXPECT_EQ(ViewWindows(), 1);
    EXPECT_EQ(prompter.mergeOffers.at(0).size(), 0u);
}

TEST_F(TablesCommandTest, TheMatchListIsSetAfterAQuestion) {
    ViewForm* form = Open(L"<");
    form->view().grid.SetCol(2);
    const std::vector<std::wstring> before = matchList.Entries();
    prompter.messageAnswer = IDNO;
    Command(IDM_SET_MATCH_LIST);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], L"Set the match list to the current column: Name\nin the active view: " +
                                        WindowText(form->hwnd()) + L" ? ");
    EXPECT_EQ(matchList.Entries(), before);
    prompter.messageAnswer = IDYES;
    Command(IDM_SET_MATCH_LIST);
    EXPECT_EQ(matchList.Entries(), (std::vector<std::wstring>{L"Acme"}));
}

// "Hi&ghlight differences" is a check entry of each view that compares its cells, and leaves copies alone.
TEST_F(TablesCommandTest, DifferencesAreHighlightedInMergedViewsAndWhatTheyTranspose) {
    const auto entry = [&] {
        return GetMenuState(main->menu(), IDM_HIGHLIGHT_DIFFERENCES, MF_BYCOMMAND);
    };
    ViewForm* local = Open(L"<");
    EXPECT_TRUE(entry() & MF_GRAYED);
    Open(L"PC1");
    SendMessageW(main->mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(local->hwnd()), 0);
    prompter.chooseToMerge = [](const std::vector<MergeCandidate>& others) {
        return std::vector<HWND>{others.at(0).window};
    };
    ViewForm* merged = Command(IDM_MERGE);
    EXPECT_EQ(entry() & (MF_GRAYED | MF_CHECKED), 0u);
    merged->SelectAll();
    ASSERT_TRUE(merged->Copy2clip());
    const auto copied = ClipboardText(main->hwnd());

    Command(IDM_HIGHLIGHT_DIFFERENCES);
    EXPECT_TRUE(entry() & MF_CHECKED);
    EXPECT_TRUE(merged->view().grid.Shaded(1, 5)); // the versions 1 and 1PC1
    EXPECT_TRUE(merged->grid()->ToolTipText().ends_with(L" - 1 row differs"))
        << merged->grid()->ToolTipText();
    ASSERT_TRUE(merged->Copy2clip());
    EXPECT_EQ(ClipboardText(main->hwnd()), copied);

    ViewForm* transposed = Command(IDM_TRANSPOSE);
    ASSERT_NE(transposed, merged);
    EXPECT_TRUE(entry() & MF_CHECKED);
    EXPECT_TRUE(transposed->view().grid.Shaded(5, 1));
    Command(IDM_HIGHLIGHT_DIFFERENCES);
    EXPECT_FALSE(entry() & MF_CHECKED);
    EXPECT_FALSE(transposed->view().HighlightsDifferences());
    EXPECT_TRUE(merged->view().HighlightsDifferences()); // an option of each window
}

} // namespace
} // namespace vantrel
