#include "shell/prompter.h"

#include "dialogs/computer_list/computer_list_dialog.h"
#include "dialogs/custom_view/custom_view_editor.h"
#include "dialogs/file_properties/file_properties_dialog.h"
#include "dialogs/input_box/input_box.h"
#include "dialogs/kb_article/article_viewer.h"
#include "dialogs/select_view/select_view_dialog.h"
#include "platform/object_picker.h"

#include <commdlg.h>

namespace vantrel {

WindowsPrompter::WindowsPrompter(Registry& registry, Programs& programs, ComputerList& computers,
                                 const Environment& environment)
    : registry_(registry), programs_(programs), computers_(computers), environment_(environment) {}

WindowsPrompter::~WindowsPrompter() = default;

bool WindowsPrompter::EditView(HWND owner, ViewEditRequest& request) {
    if (!editor_)
        editor_ = std::make_unique<CustomViewEditor>(registry_, programs_, request.twipsPerPixel);
    EditorModel& model = editor_->model();
    if (request.newView)
        model.ResetForNewView();
    else
        model.Load(request.definition, request.viewCaption, request.twipsPerPixel);
    const bool accepted = editor_->ShowModal(owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr) == 1;
    if (accepted)
        model.ReadBack(request.definition, request.twipsPerPixel);
    else
        editor_.reset();
    return accepted;
}

int WindowsPrompter::Message(HWND owner, std::wstring_view text, UINT buttons) {
    return MessageBoxW(owner, std::wstring(text).c_str(), L"Vantrel", buttons);
}

int WindowsPrompter::TitledMessage(HWND owner, std::wstring_view text, std::wstring_view title,
                                   UINT buttons) {
    return MessageBoxW(owner, std::wstring(text).c_str(), std::wstring(title).c_str(), buttons);
}

std::optional<std::wstring> WindowsPrompter::Input(HWND owner, std::wstring_view prompt,
                                                   std::wstring_view initial) {
    return ShowInputBox(owner, prompt, initial);
}

std::optional<NewViewChoice> WindowsPrompter::ChooseNewView(HWND owner) {
    return ShowNewViewDialog(owner, *this);
}

ComputerListDialog& WindowsPrompter::computerDialog() {
    if (!computerDialog_)
        computerDialog_ = std::make_unique<ComputerListDialog>(computers_, *this);
    return *computerDialog_;
}

std::optional<std::wstring> WindowsPrompter::ChooseComputer(HWND owner) {
    return computerDialog().CompuGet1(owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr);
}

std::vector<std::wstring> WindowsPrompter::ChooseComputers(HWND owner, std::wstring_view rowcol) {
    return computerDialog().CompuGetN(owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr, rowcol);
}

std::vector<HWND> WindowsPrompter::ChooseViewsToMerge(HWND owner, std::wstring_view currentCaption,
                                                      const std::vector<MergeCandidate>& others) {
    return ShowMergeWindowsDialog(owner, currentCaption, others);
}

bool WindowsPrompter::EditRegistryValue(HWND owner, RegistryValueEdit& edit) {
    return ShowRegistryValueEditor(owner, edit);
}

void WindowsPrompter::ShowFileProperties(HWND owner, std::wstring_view path) {
    ShowFile(owner, path, {registry_, environment_, launcher_, *this});
}

void WindowsPrompter::ShowArticle(HWND owner, std::wstring_view article, std::wstring_view searchAddress) {
    if (!articleViewer_)
        articleViewer_ = std::make_unique<ArticleViewer>(launcher_);
    articleViewer_->GetKBTitle(owner, article, searchAddress);
}

std::optional<ViewContents> WindowsPrompter::SelectViewContents(HWND owner, const ViewContents& start) {
    SelectViewRequest request{.start = start, .computers = pickedComputers_};
    auto choice = ShowSelectViewDialog(owner, request, SelectComputers);
    pickedComputers_ = std::move(request.computers);
    return choice;
}

std::wstring WindowsPrompter::FileDialog(HWND owner, FileDialogRequest& request) {
    std::wstring filter = request.filter + L"||";
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    std::wstring file = request.fileName;
    file.resize(file.size() + 500, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = request.folder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    dialog.Flags =
        OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (request.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = request.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) {
        if (const DWORD error = CommDlgExtendedError(); error != 0)
            Message(owner, L"File dialog error #" + std::to_wstring(error), MB_OK);
        return {};
    }
    const std::wstring path = file.c_str();
    const size_t slash = path.rfind(L'\\');
    request.folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    request.fileName = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    return path;
}

} // namespace vantrel
