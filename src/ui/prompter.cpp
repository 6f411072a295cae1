#include "ui/prompter.h"

#include "dialogs/input_box/input_box.h"

namespace vantrel {

int WindowsPrompter::Message(HWND owner, std::wstring_view text, UINT buttons) {
    return MessageBoxW(owner, std::wstring(text).c_str(), L"Vantrel", buttons);
}

std::optional<std::wstring> WindowsPrompter::Input(HWND owner, std::wstring_view prompt,
                                                   std::wstring_view initial) {
    return ShowInputBox(owner, prompt, initial);
}

std::optional<NewViewChoice> WindowsPrompter::ChooseNewView(HWND owner) {
    return ShowNewViewDialog(owner, *this);
}

} // namespace vantrel
