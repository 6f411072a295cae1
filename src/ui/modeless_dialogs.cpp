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
    const auto& dialogs = OpenDialogs();
    const auto dialog =
        std::ranges::find_if(dialogs, [&](HWND d) { return message.hwnd == d || IsChild(d, message.hwnd); });
    // Found first and handled after: what IsDialogMessage runs may close a dialog and change the list.
    return dialog != dialogs.end() && IsDialogMessageW(*dialog, &message);
}

} // namespace vantrel
