#pragma once
// Reading the mouse, keyboard and scroll bar messages in the grid's own terms: buttons and shift state as the
// grid's events carry them, navigation keys, scroll bar requests.
#include "ui/grid_navigation.h"

#include <windows.h>

#include <optional>

namespace vantrel {

// Shift, Ctrl and Alt as they are down now (gridinput::kShift...).
int KeyboardShiftState();
// The same from a mouse message's key flags; Alt is not among them and comes from the keyboard.
int MouseShiftState(WPARAM keys);
// The buttons held during a mouse message (gridinput::kLeftButton...).
int MouseButtons(WPARAM keys);
POINT MousePoint(LPARAM lParam);

std::optional<GridMove> MoveForKey(int virtualKey, bool ctrl);

// The position a scroll bar request (SB_LINEDOWN...) asks for, in the bar's own units, not yet clamped.
int RequestedScrollPosition(HWND hwnd, int bar, int request, int current, int line, int page, int last);

} // namespace vantrel
