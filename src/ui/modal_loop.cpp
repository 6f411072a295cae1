#include "ui/modal_loop.h"

namespace vantrel {

void RunModalLoop(const std::function<bool()>& shown, const MessageDispatch& dispatch,
                  const std::function<void()>& onQuit) {
    MSG message{};
    while (shown()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
            onQuit();
            return;
        }
        dispatch(message);
    }
}

void RunWaitingMessages(const MessageDispatch& dispatch) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(message);
    }
}

} // namespace vantrel
