#pragma once
// Every modal question the program asks goes through a Prompter, so tests can answer in place of a person.
#include <windows.h>

#include "dialogs/merge_windows/merge_windows_dialog.h"
#include "dialogs/new_view/new_view.h"
#include "dialogs/registry_value/registry_value_dialog.h"
#include "engine/view_contents.h"
#include "platform/file_launcher.h"
#include "ui/messages.h"
#include "views/definition.h"

#include <memory>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// An open or save dialog: what it starts with, and (after it) where the user went.
struct FileDialogRequest {
    bool save = false;
    std::wstring title;
    std::wstring defaultExtension;
    std::wstring filter;   // "description|pattern|description|pattern"
    std::wstring folder;   // where it starts; the chosen file's folder afterwards
    std::wstring fileName; // preselected; the chosen file's name afterwards
};

// The custom view editor's question: a view's definition to change, or a new registry view to design.
struct ViewEditRequest {
    std::wstring viewCaption;  // the caption of the view edited
    ViewDefinition definition; // what the editor starts from; what the user made of it after OK
    int twipsPerPixel = kTwipsPerPixelAt96Dpi;
    bool newView = false; // the editor starts reset for a new registry view instead
};

class Prompter : public Messages {
public:
    // One line of text to enter; nothing when cancelled.
    virtual std::optional<std::wstring> Input(HWND owner, std::wstring_view prompt,
                                              std::wstring_view initial) = 0;
    // The new-view dialog; nothing when cancelled.
    virtual std::optional<NewViewChoice> ChooseNewView(HWND owner) = 0;
    // The chosen file's full path, or an empty text when cancelled.
    virtual std::wstring FileDialog(HWND owner, FileDialogRequest& request) = 0;
    // The custom view editor; true after OK, with the edited definition in the request.
    virtual bool EditView(HWND owner, ViewEditRequest& request) = 0;
    // The computer list for one computer: the computer to open ("" = the local one); nothing when the user
    // opened none.
    virtual std::optional<std::wstring> ChooseComputer(HWND owner) = 0;
    // The computer list for several computers, `rowcol` naming the compared data: the computers chosen (""
    // first for the local computer); empty when the user closed the list without "&Open".
    virtual std::vector<std::wstring> ChooseComputers(HWND owner, std::wstring_view rowcol) = 0;
    // The merge window selection: which of the other open views to merge into the current one. The chosen
    // windows in list order; empty when the user cancelled or chose none.
    virtual std::vector<HWND> ChooseViewsToMerge(HWND owner, std::wstring_view currentCaption,
                                                 const std::vector<MergeCandidate>& others) = 0;
    // The registry value editor: true after "M&odify", with the new data in the request.
    virtual bool EditRegistryValue(HWND owner, RegistryValueEdit& edit) = 0;
    // The file properties dialog on a file or folder.
    virtual void ShowFileProperties(HWND owner, std::wstring_view path) = 0;
    // The knowledge-base article viewer on an article, looked up at the search address; it stays open
    // while the user goes on.
    virtual void ShowArticle(HWND owner, std::wstring_view article, std::wstring_view searchAddress) = 0;
    // The selection form, starting as `start` says: where the installation view looks; nothing when
    // cancelled.
    virtual std::optional<ViewContents> SelectViewContents(HWND owner, const ViewContents& start) = 0;
    // What the program starts through the shell: programs, Explorer, web pages in the default browser.
    virtual FileLauncher& launcher() = 0;
};

class ArticleViewer;
class ComputerList;
class Environment;
class ComputerListDialog;
class CustomViewEditor;
class Programs;
class Registry;

// The real dialogs.
class WindowsPrompter final : public Prompter {
public:
    // The custom view editor reads and writes `registry` and starts programs through `programs`; the
    // computer selection dialog shows `computers`.
    WindowsPrompter(Registry& registry, Programs& programs, ComputerList& computers,
                    const Environment& environment);
    ~WindowsPrompter() override;

    int Message(HWND owner, std::wstring_view text, UINT buttons) override;
    int TitledMessage(HWND owner, std::wstring_view text, std::wstring_view title, UINT buttons) override;
    std::optional<std::wstring> Input(HWND owner, std::wstring_view prompt,
                                      std::wstring_view initial) override;
    std::optional<NewViewChoice> ChooseNewView(HWND owner) override;
    std::wstring FileDialog(HWND owner, FileDialogRequest& request) override;
    bool EditView(HWND owner, ViewEditRequest& request) override;
    std::optional<std::wstring> ChooseComputer(HWND owner) override;
    std::vector<std::wstring> ChooseComputers(HWND owner, std::wstring_view rowcol) override;
    std::vector<HWND> ChooseViewsToMerge(HWND owner, std::wstring_view currentCaption,
                                         const std::vector<MergeCandidate>& others) override;
    bool EditRegistryValue(HWND owner, RegistryValueEdit& edit) override;
    void ShowFileProperties(HWND owner, std::wstring_view path) override;
    void ShowArticle(HWND owner, std::wstring_view article, std::wstring_view searchAddress) override;
    std::optional<ViewContents> SelectViewContents(HWND owner, const ViewContents& start) override;
    FileLauncher& launcher() override { return launcher_; }

private:
    Registry& registry_;
    Programs& programs_;
    ComputerList& computers_;
    const Environment& environment_;
    WinFileLauncher launcher_;
    std::unique_ptr<ArticleViewer> articleViewer_; // made on first use, then only hidden
    // Kept after OK, so the next edit finds the editor's lists; gone after Cancel.
    std::unique_ptr<CustomViewEditor> editor_;
    // Made on first use, then only hidden.
    std::unique_ptr<ComputerListDialog> computerDialog_;
    ComputerListDialog& computerDialog();
    // The computers picked in the selection form, offered again the next time it opens.
    std::vector<std::wstring> pickedComputers_;
};

} // namespace vantrel
