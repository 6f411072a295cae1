#pragma once
// The knowledge-base article viewer, "MS Knowledgebase article": looks an article up on the vendor's web
// site while the user goes on working, shows its title, and copies number and title or opens the article in
// the default browser. One viewer serves every look-up of a run; its dialog is modeless and only hidden
// between look-ups.
#include <windows.h>

#include <memory>
#include <string_view>

namespace vantrel {

class FileLauncher;
class ArticleDialog;

class ArticleViewer {
public:
    // `launcher` opens the article page in the default browser.
    explicit ArticleViewer(FileLauncher& launcher);
    // Waits for a look-up still on the network; its timeouts bound the wait.
    ~ArticleViewer();
    ArticleViewer(const ArticleViewer&) = delete;
    ArticleViewer& operator=(const ArticleViewer&) = delete;

    // Shows the dialog over `owner` for `article` ("KB123456" or "Q123456") and starts looking it up at
    // `searchAddress` (kKnowledgeBaseSearchAddress of engine/web_lookup.h, or another page that answers
    // "?kbid=" queries). Returns at once; the title comes when the page does.
    void GetKBTitle(HWND owner, std::wstring_view article, std::wstring_view searchAddress);

    // The dialog's window: nullptr before the first look-up and after its owner took it along.
    HWND hwnd() const;
    // True while the answer of a look-up has not come in (an older one's included).
    bool LookingUp() const;

private:
    std::unique_ptr<ArticleDialog> dialog_;
};

} // namespace vantrel
