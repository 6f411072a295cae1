#include "ui/modeless_dialogs.h"

#include <algorithm>
#include <vector>

namespace vantrel {
namespace {

std::vector<HWND>& OpenDialogs() {
    static std::vector<HWND> dialogs;
    return dialogs;
}

} // namespace

void RegisterModelessDialog(HWND dialog) {
    auto& dialogs = OpenDialogs();
    if (dialog != nullptr && std::ranges::find(dialogs, dialog) == dialogs.end())
        dialogs.push_back(dialog);
}

void UnregisterModelessDialog(HWND dialog) {
    std::erase(OpenDialogs(), dialog);
}

bool TranslateModelessDialogMessage(MSG& message) {
    if (message.hwnd == nullptr)
        return false;
    for (const HWND dialog : OpenDialogs())
        if ((message.hwnd == dialog || IsChild(dialog, message.hwnd)) && IsDialogMessageW(dialog, &message))
            return true;
    return false;
}

} // namespace vantrel
