#pragma once
// Tooltips for a dialog's controls: one tooltip window per dialog, one tool per control.
#include <windows.h>

namespace vantrel {

// A tooltip window for the controls of `dialog`; it goes with the dialog.
HWND CreateControlTooltips(HWND dialog);

// Shows `text` while the pointer rests on `control` (the text must outlive the tooltip).
void AddControlTooltip(HWND tooltips, HWND control, const wchar_t* text);

} // namespace vantrel
