#include "dialogs/kb_article/article_viewer.h"

#include "dialogs/kb_article/article_viewer_ids.h"
#include "engine/web_lookup.h"
#include "platform/clipboard.h"
#include "platform/file_launcher.h"
#include "platform/web_page.h"
#include "ui/base_dialog.h"
#include "ui/modeless_dialogs.h"
#include "ui/window_text.h"

#include <cstdint>
#include <expected>
#include <map>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>

namespace vantrel {
namespace {

constexpr std::wstring_view kHeading = L"MS Knowledgebase article ";
constexpr std::wstring_view kSearching = L"<Please wait - searching for this article ...>";
constexpr std::wstring_view kNoTitle = L"<No title found for this article>";
constexpr std::wstring_view kNotLookedUp = L"<The article could not be looked up: ";

// Posted by a look-up's worker when its page (or its failure) is in FetchResults; wParam: its generation.
constexpr UINT kFetchedMessage = WM_APP + 1;

using Fetched = std::expected<WebPage, std::uint32_t>;

// The results the workers hand over, each under its look-up's generation until the dialog takes it. Only a
// number crosses the message queue, so nothing is lost when the window is gone before the message comes.
class FetchResults {
public:
    void Put(unsigned generation, Fetched result) {
        const std::scoped_lock lock(mutex_);
        results_.insert_or_assign(generation, std::move(result));
    }

    // The result of `generation`; those of older look-ups go with it, nobody wants them any more.
    std::optional<Fetched> Take(unsigned generation) {
        const std::scoped_lock lock(mutex_);
        std::optional<Fetched> taken;
        if (const auto found = results_.find(generation); found != results_.end())
            taken = std::move(found->second);
        results_.erase(results_.begin(), results_.upper_bound(generation));
        return taken;
    }

private:
    std::mutex mutex_;
    std::map<unsigned, Fetched> results_;
};

// What the title box shows once the page (or the failure) is in, and whether that is the article's title.
struct Outcome {
    std::wstring text;
    bool isTitle = false;
};

Outcome OutcomeOf(const Fetched& fetched) {
    if (!fetched)
        return {std::wstring(kNotLookedUp) + WebErrorMessage(fetched.error()) + L">"};
    if (fetched->status >= 400)
        return {std::wstring(kNotLookedUp) + L"HTTP status " + std::to_wstring(fetched->status) + L">"};
    std::wstring title = HtmlTitle(fetched->body);
    if (title.empty())
        return {std::wstring(kNoTitle)};
    return {std::move(title), true};
}

void SetText(HWND window, std::wstring_view text) {
    SetWindowTextW(window, std::wstring(text).c_str());
}

} // namespace

class ArticleDialog final : public BaseDialog<ArticleDialog> {
public:
    explicit ArticleDialog(FileLauncher& launcher) : launcher_(launcher) {}

    // The workers first: none may post to the window or write into the results after they are gone.
    ~ArticleDialog() {
        workers_.clear();
        if (hwnd() != nullptr)
            DestroyWindow(hwnd());
    }

    void GetKBTitle(HWND owner, std::wstring_view article, std::wstring_view searchAddress) {
        if (hwnd() == nullptr && !CreateModeless(nullptr, IDD_KB_ARTICLE))
            return;
        // Owned by the owner's top-level window (a view is an MDI child), so it stays in front of it.
        const HWND topLevel = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
        SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(topLevel));

        // Their pages are not wanted any more: they stop reading at the next piece.
        for (auto& [older, worker] : workers_)
            worker.request_stop();
        number_ = article;
        searchAddress_ = searchAddress;
        const unsigned generation = ++generation_;
        EnableWindow(control(IDC_KB_COPY), FALSE);
        SendMessageW(hwnd(), DM_SETDEFID, IDC_KB_OPEN, 0);
        SetText(control(IDC_KB_HEADING), std::wstring(kHeading) + number_);
        SetText(control(IDC_KB_TITLE), kSearching);
        ShowWindow(hwnd(), SW_SHOW);
        SetForegroundWindow(hwnd());
        SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(IDC_KB_OPEN)), TRUE);

        workers_.insert_or_assign(generation,
                                  std::jthread(&ArticleDialog::Fetch, ArticleAddress(searchAddress, article),
                                               generation, std::ref(results_), hwnd()));
    }

    bool LookingUp() const { return !workers_.empty(); }

private:
    friend class BaseDialog<ArticleDialog>;

    static void Fetch(std::stop_token stop, const std::wstring& address, unsigned generation,
                      FetchResults& results, HWND dialog) {
        results.Put(generation, FetchWebPage(address, stop));
        PostMessageW(dialog, kFetchedMessage, generation, 0);
    }

    HWND control(int id) const { return GetDlgItem(hwnd(), id); }

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG:
            RegisterModelessDialog(hwnd());
            return FALSE; // each look-up sets the focus
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam));
        case WM_CLOSE:
            Hide();
            return TRUE;
        case kFetchedMessage:
            OnFetched(static_cast<unsigned>(wParam));
            return TRUE;
        case WM_DESTROY:
            UnregisterModelessDialog(hwnd());
            return FALSE;
        default:
            return FALSE;
        }
    }

    bool OnCommand(int id) {
        switch (id) {
        case IDC_KB_COPY:
            OnCopy();
            return true;
        case IDC_KB_OPEN:
            launcher_.Launch(L"open", ArticleAddress(searchAddress_, number_), L"");
            Hide();
            return true;
        case IDOK:
        case IDCANCEL: // Esc
            Hide();
            return true;
        default:
            return false;
        }
    }

    void OnCopy() {
        // Enter reaches a disabled default button too.
        if (!IsWindowEnabled(control(IDC_KB_COPY)))
            return;
        // A clipboard another program holds keeps its text; the dialog goes all the same, as "&Copy" promised
        // nothing more.
        (void)SetClipboardText(hwnd(), ArticleCopyText(number_, WindowTextOf(control(IDC_KB_TITLE))));
        Hide();
    }

    void OnFetched(unsigned generation) {
        std::optional<Fetched> fetched = results_.Take(generation);
        // Its last act was the post: the join is at once.
        workers_.erase(generation);
        if (generation != generation_ || !fetched)
            return;
        const Outcome outcome = OutcomeOf(*fetched);
        SetText(control(IDC_KB_TITLE), outcome.text);
        if (outcome.isTitle)
            TakeTitle();
    }

    // The blank after the number marks the look-up as finished.
    void TakeTitle() {
        number_ += L' ';
        SetText(control(IDC_KB_HEADING), std::wstring(kHeading) + number_ + L"\r\n\r\nTitle:");
        EnableWindow(control(IDC_KB_COPY), TRUE);
        SendMessageW(hwnd(), DM_SETDEFID, IDC_KB_COPY, 0);
        // Not in a hidden dialog: the focus would activate it unseen.
        if (IsWindowVisible(hwnd()))
            SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(IDC_KB_COPY)), TRUE);
    }

    void Hide() { ShowWindow(hwnd(), SW_HIDE); }

    FileLauncher& launcher_;
    std::wstring number_; // as passed in; a blank appended once the title was taken
    std::wstring searchAddress_;
    unsigned generation_ = 0; // of the latest look-up
    FetchResults results_;
    // Declared after the results they write into. A worker whose message never came (its window went with
    // its owner) is joined when the dialog goes.
    std::map<unsigned, std::jthread> workers_;
};

ArticleViewer::ArticleViewer(FileLauncher& launcher) : dialog_(std::make_unique<ArticleDialog>(launcher)) {}

ArticleViewer::~ArticleViewer() = default;

void ArticleViewer::GetKBTitle(HWND owner, std::wstring_view article, std::wstring_view searchAddress) {
    dialog_->GetKBTitle(owner, article, searchAddress);
}

HWND ArticleViewer::hwnd() const {
    return dialog_->hwnd();
}

bool ArticleViewer::LookingUp() const {
    return dialog_->LookingUp();
}

} // namespace vantrel
