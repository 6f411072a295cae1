#include "dialogs/file_properties/file_properties_dialog.h"

#include "dialogs/file_properties/file_entry.h"
#include "dialogs/file_properties/file_properties_ids.h"
#include "engine/file_associations.h"
#include "engine/file_commands.h"
#include "platform/file_launcher.h"
#include "ui/base_dialog.h"
#include "ui/messages.h"
#include "ui/window_text.h"
#include "views/text.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

namespace vantrel {
namespace {

struct AttributeBox {
    int id;
    std::uint32_t bit;
};
constexpr AttributeBox kAttributeBoxes[] = {
    {IDC_FP_READ_ONLY, FILE_ATTRIBUTE_READONLY},  {IDC_FP_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
    {IDC_FP_SYSTEM, FILE_ATTRIBUTE_SYSTEM},       {IDC_FP_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE},
    {IDC_FP_COMPRESS, FILE_ATTRIBUTE_COMPRESSED}, {IDC_FP_ENCRYPT, FILE_ATTRIBUTE_ENCRYPTED},
};
constexpr int kTimeBoxes[] = {IDC_FP_MODIFIED, IDC_FP_ACCESSED, IDC_FP_CREATED};

constexpr std::wstring_view kSheetPage = L"general";

class FilePropertiesDialog final : public BaseDialog<FilePropertiesDialog> {
public:
    FilePropertiesDialog(std::wstring path, FileEntry entry, const FilePropertiesServices& services)
        : path_(std::move(path)), entry_(std::move(entry)), services_(services),
          sizeText_(std::to_wstring(entry_.sizeBytes)), attributesText_(AttributesText(entry_.attributes)) {}

    // The path typed into the path box when the user asked to see that one instead; nothing when closed.
    std::optional<std::wstring> Run(HWND owner) {
        RunModal(owner, IDD_FILE_PROPERTIES);
        return nextPath_;
    }

private:
    friend class BaseDialog<FilePropertiesDialog>;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE; // the focus is set
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DESTROY:
            RemoveWindowSubclass(control(IDC_FP_PATH), &PathBoxProc, 0);
            return FALSE;
        default:
            return FALSE;
        }
    }

    HWND control(int id) const { return GetDlgItem(hwnd(), id); }
    void SetText(int id, std::wstring_view text) { SetWindowTextW(control(id), std::wstring(text).c_str()); }

    void OnInitDialog() {
        SetText(IDC_FP_PATH, path_);
        SetText(IDC_FP_SIZE, sizeText_);
        SetText(IDC_FP_SIZE_KB, SizeKbText(entry_.sizeBytes));
        for (size_t n = 0; n < std::size(kTimeBoxes); ++n)
            SetText(kTimeBoxes[n], entry_.times[n]);
        SetText(IDC_FP_ATTRIBUTES, attributesText_);
        for (const AttributeBox& box : kAttributeBoxes)
            CheckDlgButton(hwnd(), box.id, (entry_.attributes & box.bit) != 0 ? BST_CHECKED : BST_UNCHECKED);
        FillLists();

        const bool folder = entry_.IsFolder();
        SetText(IDC_FP_PATH_LABEL, folder ? L"Folder:" : L"File:");
        SetWindowTextW(hwnd(), folder ? L"Folder properties" : L"File properties");
        SetWindowSubclass(control(IDC_FP_PATH), &PathBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
        SetFocus(control(IDC_FP_PATH));
    }

    void FillLists() {
        const std::wstring extension = ExtOf(path_);
        for (const std::wstring& program : RecentPrograms(services_.registry, extension))
            AddEntry(IDC_FP_PROGRAMS, program);
        shellKey_ = ShellKeyOf(services_.registry, extension, entry_.IsFolder());
        for (const std::wstring& action : ShellActions(services_.registry, shellKey_))
            AddEntry(IDC_FP_ACTIONS, action);
        // The first action's command shows, or the first program's when the type has no actions.
        SelectFirst(IDC_FP_ACTIONS);
        SelectFirst(IDC_FP_PROGRAMS);
        ChooseSelected(IDC_FP_ACTIONS);
    }

    void AddEntry(int list, const std::wstring& text) {
        SendMessageW(control(list), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    void SelectFirst(int list) {
        SendMessageW(control(list), LB_SETCURSEL, 0, 0);
        ChooseSelected(list);
    }

    std::wstring SelectedEntry(int list) const {
        const HWND box = control(list);
        const auto index = SendMessageW(box, LB_GETCURSEL, 0, 0);
        if (index == LB_ERR)
            return {};
        std::wstring text(static_cast<size_t>(SendMessageW(box, LB_GETTEXTLEN, index, 0)) + 1, L'\0');
        text.resize(
            static_cast<size_t>(SendMessageW(box, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }

    // Returns false when the list has no selection.
    bool ChooseSelected(int list) {
        const HWND box = control(list);
        if (SendMessageW(box, LB_GETCURSEL, 0, 0) == LB_ERR)
            return false;
        chosen_ = SelectedEntry(list);
        const std::wstring command = list == IDC_FP_PROGRAMS
                                         ? ProgramCommand(services_.registry, chosen_)
                                         : ActionCommand(services_.registry, shellKey_, chosen_);
        // An action without a command has nothing to launch: the line stays empty.
        SetText(IDC_FP_COMMAND, command.empty() ? std::wstring() : CommandLineFor(command, path_));
        return true;
    }

    void OnCommand(int id, int notification) {
        switch (id) {
        case IDC_FP_PROGRAMS:
        case IDC_FP_ACTIONS:
            OnListNotification(id, notification);
            break;
        case IDC_FP_SIZE:
            if (notification == EN_CHANGE)
                KeepText(id, sizeText_);
            break;
        case IDC_FP_ATTRIBUTES:
            if (notification == EN_CHANGE)
                KeepText(id, attributesText_);
            break;
        case IDC_FP_COMMAND:
            if (notification == EN_KILLFOCUS)
                OnCommandLineLeft();
            break;
        case IDC_FP_LAUNCH:
            Launch();
            break;
        case IDC_FP_EXPLORER:
            SetFocus(control(IDC_FP_PATH));
            services_.launcher.Explorer(ExplorerCommandLine(path_, entry_.IsFolder()));
            break;
        case IDC_FP_SHEET:
            SetFocus(control(IDC_FP_PATH));
            services_.launcher.ShowProperties(path_, hwnd(), kSheetPage);
            break;
        case IDOK: // Enter with an edit box focused
            OnEnter();
            break;
        case IDCANCEL:
            EndDialog(hwnd(), IDCANCEL);
            break;
        default:
            break;
        }
    }

    void OnListNotification(int list, int notification) {
        if (notification == LBN_SELCHANGE)
            ChooseSelected(list);
        else if (notification == LBN_DBLCLK && !SelectedEntry(list).empty() && ChooseSelected(list))
            Launch();
    }

    // The size and attribute boxes only show: whatever is typed, their text comes back.
    void KeepText(int id, const std::wstring& text) {
        if (WindowTextOf(control(id)) != text)
            SetText(id, text);
    }

    void OnCommandLineLeft() {
        const std::wstring line = WindowTextOf(control(IDC_FP_COMMAND));
        if (const std::wstring filled = InsertPath(line, path_); filled != line)
            SetText(IDC_FP_COMMAND, filled);
    }

    void OnEnter() {
        const HWND focus = GetFocus();
        if (focus == control(IDC_FP_PATH))
            ShowTypedPath();
        else if (focus == control(IDC_FP_COMMAND))
            Launch();
    }

    void Launch() {
        const LaunchRequest request =
            LaunchRequestFor(WindowTextOf(control(IDC_FP_COMMAND)), chosen_, services_.environment);
        services_.launcher.Launch(request.verb, request.program, request.parameters);
    }

    void ShowTypedPath() {
        nextPath_ = WindowTextOf(control(IDC_FP_PATH));
        EndDialog(hwnd(), IDOK);
    }

    // A double-click in the path box shows the typed path as Enter does.
    static LRESULT CALLBACK PathBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
        if (message == WM_LBUTTONDBLCLK) {
            reinterpret_cast<FilePropertiesDialog*>(self)->ShowTypedPath();
            return 0;
        }
        return DefSubclassProc(box, message, wParam, lParam);
    }

    const std::wstring path_;
    const FileEntry entry_;
    const FilePropertiesServices& services_;
    const std::wstring sizeText_;
    const std::wstring attributesText_;
    std::wstring shellKey_; // "hkcr\<type>\Shell"
    std::wstring chosen_;   // the program or action last chosen
    std::optional<std::wstring> nextPath_;
};

} // namespace

void ShowFile(HWND owner, std::wstring_view path, const FilePropertiesServices& services) {
    std::optional<std::wstring> next(std::in_place, path);
    while (next) {
        std::wstring shown = std::move(*next);
        if (shown.ends_with(L'\\'))
            shown.pop_back();
        std::optional<FileEntry> entry = FindFileEntry(shown);
        if (!entry) {
            services.messages.Message(owner, L"Could not read file info", MB_OK);
            return;
        }
        next = FilePropertiesDialog(std::move(shown), std::move(*entry), services).Run(owner);
    }
}

} // namespace vantrel
