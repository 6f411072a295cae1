#include "ui/message_pump.h"

#include "ui/modeless_dialogs.h"

namespace vantrel {

bool MessagePump::LetMessagesRun() {
    const unsigned long long now = GetTickCount64();
    if (now - lastRun_ < kIntervalMs)
        return true;
    lastRun_ = now;
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        // The article viewer stays usable with its keys while a view fills.
        if (TranslateModelessDialogMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

} // namespace vantrel
