#include "dialogs/about/about_box.h"

#include "dialogs/about/about_box_ids.h"

#include <shellapi.h>

#include <vector>

namespace vantrel {
namespace {

constexpr const wchar_t* kMakerPage = L"https://www.ostrand.example/";
constexpr const wchar_t* kProductPage = L"https://www.ostrand.example/vantrel/";

struct AboutState {
    bool modal = false;
    HFONT productFont = nullptr;
    HFONT linkFont = nullptr;
    HWND hovered = nullptr; // the link label shown underlined
};

HFONT ArialFont(int points, bool bold, bool underline) {
    const HDC screen = GetDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Arial");
}

void Close(HWND dialog, const AboutState& state) {
    if (state.modal)
        EndDialog(dialog, IDOK);
    else
        ShowWindow(dialog, SW_HIDE);
}

void SetHovered(HWND dialog, AboutState& state, HWND label) {
    if (state.hovered == label)
        return;
    for (const HWND changed : {state.hovered, label})
        if (changed != nullptr)
            InvalidateRect(changed, nullptr, TRUE);
    state.hovered = label;
    const HFONT normal = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (const int id : {IDC_ABOUT_COMPANY, IDC_ABOUT_VERSION}) {
        const HWND control = GetDlgItem(dialog, id);
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(control == label ? state.linkFont : normal), TRUE);
    }
}

void OnInit(HWND dialog, AboutState& state) {
    state.productFont = ArialFont(18, true, false);
    state.linkFont = ArialFont(9, false, true);
    SendDlgItemMessageW(dialog, IDC_ABOUT_PRODUCT, WM_SETFONT, reinterpret_cast<WPARAM>(state.productFont),
                        FALSE);
    SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, VersionText().c_str());
    HICON logo = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    SendDlgItemMessageW(
        dialog, IDC_ABOUT_LOGO, STM_SETICON,
        reinterpret_cast<WPARAM>(logo != nullptr ? logo : LoadIconW(nullptr, IDI_APPLICATION)), 0);
}

void OnClicked(HWND dialog, AboutState& state, int control) {
    if (control == IDC_ABOUT_COMPANY || control == IDC_ABOUT_VERSION) {
        ShellExecuteW(dialog, L"open", control == IDC_ABOUT_COMPANY ? kMakerPage : kProductPage, nullptr,
                      nullptr, SW_SHOWNORMAL);
        return;
    }
    if (control == IDC_ABOUT_FRAME || control == IDC_ABOUT_PRODUCT)
        Close(dialog, state);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        OnInit(dialog, *reinterpret_cast<AboutState*>(lParam));
        return TRUE;
    }
    auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (state == nullptr)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED)
            OnClicked(dialog, *state, LOWORD(wParam));
        else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) // Enter or Esc
            Close(dialog, *state);
        return TRUE;
    case WM_SETCURSOR: {
        // The pointer over a link label underlines it; anywhere else on the box takes the underline away.
        const HWND over = reinterpret_cast<HWND>(wParam);
        const int id = GetDlgCtrlID(over);
        SetHovered(dialog, *state, id == IDC_ABOUT_COMPANY || id == IDC_ABOUT_VERSION ? over : nullptr);
        return FALSE;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == state->hovered) {
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_HIGHLIGHT));
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        return FALSE;
    case WM_CHAR:
    case WM_LBUTTONDOWN:
        Close(dialog, *state);
        return TRUE;
    case WM_KEYUP:
        if (wParam == VK_F4)
            Close(dialog, *state);
        return TRUE;
    case WM_DESTROY:
        DeleteObject(state->productFont);
        DeleteObject(state->linkFont);
        if (!state->modal)
            delete state;
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::wstring VersionText() {
    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr)
        return L"Version";
    return L"Version " + std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionLS));
}

void ShowAboutBox(HWND owner) {
    AboutState state{.modal = true};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT_BOX), owner, &AboutProc,
                    reinterpret_cast<LPARAM>(&state));
}

HWND ShowSplash() {
    auto* state = new AboutState{.modal = false};
    const HWND splash = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT_BOX),
                                           nullptr, &AboutProc, reinterpret_cast<LPARAM>(state));
    if (splash == nullptr) {
        delete state;
        return nullptr;
    }
    // No topmost window: the main window brings it to the front again while it shows, and message boxes of
    // the start come up in front of it.
    SetWindowPos(splash, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(splash);
    return splash;
}

} // namespace vantrel
