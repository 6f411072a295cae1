#pragma once
// Base of every dialog of the program, modal or modeless: the static dialog procedure finds the C++ object
// (handed over as the creation parameter and stored at WM_INITDIALOG) and hands each message to its
// HandleMessage member, which dispatches to On... members. HandleMessage answers as a dialog procedure does:
// TRUE for a message it handled, FALSE to leave it to the dialog manager, the value itself for WM_INITDIALOG
// and the WM_CTLCOLOR... messages.
#include <windows.h>

namespace vantrel {

template <typename Derived> class BaseDialog {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    BaseDialog() = default;
    ~BaseDialog() = default;
    BaseDialog(const BaseDialog&) = delete;
    BaseDialog& operator=(const BaseDialog&) = delete;

    // The dialog of a template, modal: EndDialog's value, or -1 when Windows refused to create it.
    INT_PTR RunModal(HWND owner, int templateId) {
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &DialogProc,
                               Parameter());
    }

    // The dialog of a template, modeless: false when Windows refused to create it.
    [[nodiscard]] bool CreateModeless(HWND owner, int templateId) {
        return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &DialogProc,
                                  Parameter()) != nullptr;
    }

private:
    LPARAM Parameter() { return reinterpret_cast<LPARAM>(static_cast<Derived*>(this)); }

    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_INITDIALOG) {
            self = reinterpret_cast<Derived*>(lParam);
            self->hwnd_ = dialog;
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(dialog, DWLP_USER));
        }
        if (self == nullptr) // WM_SETFONT and the like come before WM_INITDIALOG
            return FALSE;
        const INT_PTR result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            self->hwnd_ = nullptr;
            // The last word: a dialog that owns itself may delete itself here.
            if constexpr (requires { self->OnWindowGone(); })
                self->OnWindowGone();
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

} // namespace vantrel
