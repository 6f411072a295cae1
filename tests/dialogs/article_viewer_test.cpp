// The knowledge-base article viewer against an HTTP server of the test's own on 127.0.0.1, with a launcher
// that only records: no browser starts and nothing leaves the machine.
#include "dialogs/kb_article/article_viewer.h"
#include "dialogs/kb_article/article_viewer_ids.h"
#include "platform/clipboard.h"
#include "support/loopback_http_server.h"
#include "support/recording_launcher.h"
#include "ui/modeless_dialogs.h"
#include "ui/window_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>

namespace vantrel::test {
namespace {

constexpr const wchar_t* kSearching = L"<Please wait - searching for this article ...>";
constexpr const wchar_t* kNotLookedUp = L"<The article could not be looked up: ";

std::string TitledPage(const std::string& title) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>" + title +
           "</title></head><body>Article</body></html>";
}

// Holds answers back until let go (at most 10 s), so that a test can act while its look-up is under way.
class HeldAnswers {
public:
    void Wait() {
        std::unique_lock lock(mutex_);
        letGo_.wait_for(lock, std::chrono::seconds(10), [this] { return free_; });
    }
    void LetGo() {
        {
            const std::scoped_lock lock(mutex_);
            free_ = true;
        }
        letGo_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable letGo_;
    bool free_ = false;
};

class ArticleViewerTest : public ::testing::Test {
protected:
    ArticleViewerTest() {
        pages["/kb?kbid=123456"] = {200, TitledPage("123456 - How to look up &amp; copy an article")};
    }
    ~ArticleViewerTest() override { held.LetGo(); }

    HttpAnswer Answer(const std::string& target) {
        const std::scoped_lock lock(pagesMutex);
        const auto page = pages.find(target);
        return page != pages.end() ? page->second : HttpAnswer{404, "<title>Not here</title>"};
    }

    void LookUp(std::wstring_view article, std::wstring_view search = {}) {
        viewer.GetKBTitle(nullptr, article, search.empty() ? server.Address(L"/kb") : std::wstring(search));
    }

    // Runs messages as the program's loop does until `done`, at most 20 s.
    bool RunUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            RunWaiting();
        }
        return true;
    }
    bool RunUntilAnswered() {
        return RunUntil([this] { return !viewer.LookingUp(); });
    }
    void RunWaiting() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateModelessDialogMessage(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // A key pressed in the dialog's focused control and what the program's loop makes of it.
    void PressKey(WPARAM key) {
        const HWND focus = GetFocus();
        PostMessageW(focus != nullptr && IsChild(viewer.hwnd(), focus) ? focus : Control(IDC_KB_OPEN),
                     WM_KEYDOWN, key, 0);
        RunWaiting();
    }

    HWND Control(int id) const { return GetDlgItem(viewer.hwnd(), id); }
    std::wstring Text(int id) const { return WindowTextOf(Control(id)); }
    int DefaultButton() const { return LOWORD(SendMessageW(viewer.hwnd(), DM_GETDEFID, 0, 0)); }
    bool Shown() const { return IsWindowVisible(viewer.hwnd()) != FALSE; }

    std::mutex pagesMutex;
    std::map<std::string, HttpAnswer> pages;
    HeldAnswers held;
    LoopbackHttpServer server{[this](const std::string& target) {
        return Answer(target);
    }};
    // The same pages, once `held` lets them go.
    LoopbackHttpServer heldServer{[this](const std::string& target) {
        held.Wait();
        return Answer(target);
    }};
    RecordingLauncher launcher;
    ArticleViewer viewer{launcher}; // after the server: its look-ups end while the server still answers
};

TEST_F(ArticleViewerTest, TakesTheTitleAndCopiesItUnderTheNumber) {
    ASSERT_TRUE(server.listening());
    ASSERT_TRUE(SetClipboardText(nullptr, L"before"));
    LookUp(L"KB123456");
    ASSERT_NE(viewer.hwnd(), nullptr);
    EXPECT_EQ(WindowTextOf(viewer.hwnd()), L"MS Knowledgebase article");
    EXPECT_EQ(Text(IDC_KB_HEADING), L"MS Knowledgebase article KB123456");
    EXPECT_EQ(Text(IDC_KB_TITLE), kSearching);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_KB_COPY)));
    EXPECT_EQ(DefaultButton(), IDC_KB_OPEN);
    EXPECT_TRUE(Shown());

    ASSERT_TRUE(RunUntilAnswered());
    EXPECT_EQ(server.Targets(), (std::vector<std::string>{"/kb?kbid=123456"}));
    EXPECT_EQ(Text(IDC_KB_HEADING), L"MS Knowledgebase article KB123456 \r\n\r\nTitle:");
    EXPECT_EQ(Text(IDC_KB_TITLE), L"123456 - How to look up & copy an article");
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_KB_COPY)));
    EXPECT_EQ(DefaultButton(), IDC_KB_COPY);

    PressKey(VK_RETURN); // the default button, "&Copy"
    EXPECT_EQ(ClipboardText(nullptr), L"KB123456 - How to look up & copy an article");
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(launcher.launches.empty());
}

// One viewer for every look-up; a Q number asks for the same six digits, and "&Open" opens that page.
TEST_F(ArticleViewerTest, EachLookUpAsksForTheSixDigitsAndOpenOpensTheArticle) {
    pages["/kb?kbid=654321"] = {200, TitledPage("Security update")};
    for (const wchar_t* article : {L"Q123456", L"KB654321", L"KB123456"}) {
        LookUp(article);
        ASSERT_TRUE(RunUntilAnswered()) << article;
        SendMessageW(viewer.hwnd(), WM_COMMAND, IDC_KB_OPEN, 0);
        EXPECT_FALSE(Shown());
    }
    EXPECT_EQ(server.Targets(),
              (std::vector<std::string>{"/kb?kbid=123456", "/kb?kbid=654321", "/kb?kbid=123456"}));
    ASSERT_EQ(launcher.launches.size(), 3u);
    EXPECT_EQ(launcher.launches[0],
              (std::vector<std::wstring>{L"open", server.Address(L"/kb?kbid=123456"), L""}));
    EXPECT_EQ(launcher.launches[1][1], server.Address(L"/kb?kbid=654321"));
}

TEST_F(ArticleViewerTest, OpenBeforeTheTitleArrivesOpensTheArticlePage) {
    LookUp(L"Q123456", heldServer.Address(L"/kb"));
    PressKey(VK_RETURN); // "&Open" is the default while searching
    EXPECT_EQ(launcher.launches, (std::vector<std::vector<std::wstring>>{
                                     {L"open", heldServer.Address(L"/kb?kbid=123456"), L""}}));
    EXPECT_FALSE(Shown());
    // The title still comes into the hidden dialog, which stays hidden.
    held.LetGo();
    ASSERT_TRUE(RunUntilAnswered());
    EXPECT_EQ(Text(IDC_KB_TITLE), L"123456 - How to look up & copy an article");
    EXPECT_FALSE(Shown());
}

TEST_F(ArticleViewerTest, ARedirectIsFollowedToTheArticle) {
    pages["/kb?kbid=123456"] = {302, "", "/help/123456"};
    pages["/help/123456"] = {200, TitledPage("123456 - Moved")};
    LookUp(L"KB123456");
    ASSERT_TRUE(RunUntilAnswered());
    EXPECT_EQ(server.Targets(), (std::vector<std::string>{"/kb?kbid=123456", "/help/123456"}));
    EXPECT_EQ(Text(IDC_KB_TITLE), L"123456 - Moved");
}

// No title to take: the box says why, "&Copy" stays off, "&Open" stays the default.
TEST_F(ArticleViewerTest, WithoutATitleTheBoxSaysWhy) {
    pages["/kb?kbid=111111"] = {200, "<html><body>No title</body></html>"};
    pages["/kb?kbid=222222"] = {200, ""};
    const std::wstring refused = L"http://127.0.0.1:" + std::to_wstring(UnusedLoopbackPort()) + L"/kb";
    const std::map<std::wstring, std::wstring> shown = {
        {L"KB111111", L"<No title found for this article>"},
        {L"KB222222", L"<No title found for this article>"},
        {L"KB333333", std::wstring(kNotLookedUp) + L"HTTP status 404>"},
        {L"KB444444", {}}, // refused: the system's reason
    };
    for (const auto& [article, text] : shown) {
        LookUp(article, article == L"KB444444" ? refused : std::wstring());
        ASSERT_TRUE(RunUntilAnswered()) << article;
        const std::wstring title = Text(IDC_KB_TITLE);
        if (text.empty())
            EXPECT_TRUE(title.starts_with(kNotLookedUp) && title.ends_with(L">") &&
                        title.find(L"HTTP status") == std::wstring::npos &&
                        title.find(L"Error ") == std::wstring::npos)
                << "a reason in words: " << std::string(title.begin(), title.end());
        else
            EXPECT_EQ(title, text);
        EXPECT_EQ(Text(IDC_KB_HEADING), L"MS Knowledgebase article " + article);
        EXPECT_FALSE(IsWindowEnabled(Control(IDC_KB_COPY))) << article;
        EXPECT_EQ(DefaultButton(), IDC_KB_OPEN) << article;
    }
}

// The older look-up's page comes last and is ignored.
TEST_F(ArticleViewerTest, OnlyTheLatestLookUpShowsItsTitle) {
    pages["/late?kbid=123456"] = {200, TitledPage("123456 - Too late")};
    LookUp(L"KB123456", heldServer.Address(L"/late"));
    LookUp(L"Q123456");
    ASSERT_TRUE(RunUntil([&] { return Text(IDC_KB_TITLE) != kSearching; }));
    held.LetGo();
    ASSERT_TRUE(RunUntilAnswered());
    EXPECT_EQ(heldServer.Targets(), (std::vector<std::string>{"/late?kbid=123456"}));
    EXPECT_EQ(Text(IDC_KB_TITLE), L"123456 - How to look up & copy an article");
    EXPECT_EQ(Text(IDC_KB_HEADING), L"MS Knowledgebase article Q123456 \r\n\r\nTitle:");
}

TEST_F(ArticleViewerTest, OkEscapeAndTheCloseBoxOnlyHide) {
    ASSERT_TRUE(SetClipboardText(nullptr, L"before"));
    const std::function<void()> closers[] = {
        [&] { SendMessageW(viewer.hwnd(), WM_COMMAND, IDOK, 0); },
        [&] { PressKey(VK_ESCAPE); },
        [&] { SendMessageW(viewer.hwnd(), WM_CLOSE, 0, 0); },
    };
    for (const auto& close : closers) {
        LookUp(L"KB123456");
        ASSERT_TRUE(RunUntilAnswered());
        ASSERT_TRUE(Shown());
        close();
        EXPECT_FALSE(Shown());
        EXPECT_NE(viewer.hwnd(), nullptr);
    }
    EXPECT_TRUE(launcher.launches.empty());
    EXPECT_EQ(ClipboardText(nullptr), L"before");
}

} // namespace
} // namespace vantrel::test
