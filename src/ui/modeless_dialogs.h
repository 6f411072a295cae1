#pragma once
// The modeless dialogs that are open, for the program's message loop: their keys (Tab, Enter, Esc, the
// mnemonics) only work when the loop hands their messages to IsDialogMessage. A dialog registers its window
// while it exists; everything runs on the user-interface thread.
#include <windows.h>

namespace vantrel {

void RegisterModelessDialog(HWND dialog);
void UnregisterModelessDialog(HWND dialog);

// True when the message was for a registered dialog or one of its controls and the dialog handled it; the
// loop then neither translates nor dispatches it.
[[nodiscard]] bool TranslateModelessDialogMessage(MSG& message);

} // namespace vantrel
