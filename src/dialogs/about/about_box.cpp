#include "dialogs/about/about_box.h"

#include "dialogs/about/about_box_ids.h"
#include "platform/program_file.h"
#include "platform/unique_handle.h"
#include "ui/base_dialog.h"
#include "ui/gdi_scope.h"

#include <shellapi.h>

#include <memory>
#include <vector>

namespace vantrel {
namespace {

constexpr const wchar_t* kMakerPage = L"https://www.ostrand.example/";
constexpr const wchar_t* kProductPage = L"https://www.ostrand.example/vantrel/";

UniqueFont ArialFont(int points, bool bold, bool underline) {
    const WindowDc screen(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen.dc(), LOGPIXELSY), 72);
    return UniqueFont(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                  DEFAULT_PITCH, L"Arial"));
}

bool IsLink(int id) {
    return id == IDC_ABOUT_COMPANY || id == IDC_ABOUT_VERSION;
}

// One window for two uses: the modal about box, and the splash window, which owns itself and goes with its
// window.
class AboutBox final : public BaseDialog<AboutBox> {
public:
    enum class Use { Modal, Splash };
    explicit AboutBox(Use use) : use_(use) {}

    void Run(HWND owner) { RunModal(owner, IDD_ABOUT_BOX); }

    // The splash window, shown without waiting; nullptr when Windows refused it.
    [[nodiscard]] static HWND CreateSplash() {
        auto splash = std::make_unique<AboutBox>(Use::Splash);
        if (!splash->CreateModeless(nullptr, IDD_ABOUT_BOX))
            return nullptr;
        AboutBox* const own = splash.release();
        own->ownsItself_ = true;
        return own->hwnd();
    }

private:
    friend class BaseDialog<AboutBox>;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_SETCURSOR:
            OnSetCursor(reinterpret_cast<HWND>(wParam));
            return FALSE;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CHAR:
        case WM_LBUTTONDOWN:
            Close();
            return TRUE;
        case WM_KEYUP:
            OnKeyUp(static_cast<int>(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    }

    void OnWindowGone() {
        if (ownsItself_)
            delete this;
    }

    void OnInitDialog() {
        productFont_ = ArialFont(18, true, false);
        linkFont_ = ArialFont(9, false, true);
        SendDlgItemMessageW(hwnd(), IDC_ABOUT_PRODUCT, WM_SETFONT,
                            reinterpret_cast<WPARAM>(productFont_.get()), FALSE);
        SetDlgItemTextW(hwnd(), IDC_ABOUT_VERSION, VersionText().c_str());
        // Icons loaded from resources are shared: nothing to destroy.
        const HICON logo = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        SendDlgItemMessageW(
            hwnd(), IDC_ABOUT_LOGO, STM_SETICON,
            reinterpret_cast<WPARAM>(logo != nullptr ? logo : LoadIconW(nullptr, IDI_APPLICATION)), 0);
    }

    void OnCommand(int id, int notification) {
        if (notification == STN_CLICKED)
            OnClicked(id);
        else if (id == IDOK || id == IDCANCEL) // Enter or Esc
            Close();
    }

    void OnClicked(int id) {
        if (IsLink(id)) {
            ShellExecuteW(hwnd(), L"open", id == IDC_ABOUT_COMPANY ? kMakerPage : kProductPage, nullptr,
                          nullptr, SW_SHOWNORMAL);
            return;
        }
        if (id == IDC_ABOUT_FRAME || id == IDC_ABOUT_PRODUCT)
            Close();
    }

    // The pointer over a link label underlines it; anywhere else on the box takes the underline away.
    void OnSetCursor(HWND over) { SetHovered(IsLink(GetDlgCtrlID(over)) ? over : nullptr); }

    INT_PTR OnCtlColorStatic(HDC dc, HWND label) {
        if (label != hovered_)
            return FALSE;
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }

    void OnKeyUp(int key) {
        if (key == VK_F4)
            Close();
    }

    void SetHovered(HWND label) {
        if (hovered_ == label)
            return;
        for (const HWND changed : {hovered_, label})
            if (changed != nullptr)
                InvalidateRect(changed, nullptr, TRUE);
        hovered_ = label;
        const auto normal = static_cast<WPARAM>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
        for (const int id : {IDC_ABOUT_COMPANY, IDC_ABOUT_VERSION}) {
            const HWND control = GetDlgItem(hwnd(), id);
            SendMessageW(control, WM_SETFONT,
                         control == label ? reinterpret_cast<WPARAM>(linkFont_.get()) : normal, TRUE);
        }
    }

    void Close() {
        if (use_ == Use::Modal)
            EndDialog(hwnd(), IDOK);
        else
            ShowWindow(hwnd(), SW_HIDE);
    }

    Use use_;
    bool ownsItself_ = false;
    // Fonts outlive the labels that show them: the members go after the window.
    UniqueFont productFont_;
    UniqueFont linkFont_;
    HWND hovered_ = nullptr; // the link label shown underlined
};

} // namespace

std::wstring VersionText() {
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr)
        return L"Version";
    return L"Version " + std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionLS));
}

void ShowAboutBox(HWND owner) {
    AboutBox(AboutBox::Use::Modal).Run(owner);
}

HWND ShowSplash() {
    const HWND splash = AboutBox::CreateSplash();
    if (splash == nullptr)
        return nullptr;
    // No topmost window: the main window brings it to the front again while it shows, and message boxes of
    // the start come up in front of it.
    SetWindowPos(splash, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(splash);
    return splash;
}

} // namespace vantrel
