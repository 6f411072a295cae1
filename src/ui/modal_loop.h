#pragma once
// The message loops of dialogs that live on between uses and are shown modally by hand.
#include <windows.h>

#include <functional>

namespace vantrel {

using MessageDispatch = std::function<void(MSG&)>;

// Runs messages through `dispatch` while `shown()` holds. A quit message ends it: `onQuit` closes the dialog,
// and the message is posted again for the outer loop.
void RunModalLoop(const std::function<bool()>& shown, const MessageDispatch& dispatch,
                  const std::function<void()>& onQuit);

// The messages waiting now, through `dispatch`; a quit message stops it and is posted again.
void RunWaitingMessages(const MessageDispatch& dispatch);

} // namespace vantrel
