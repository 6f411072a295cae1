#include "ui/grid_input.h"

#include "ui/grid_window.h"

#include <windowsx.h>

namespace vantrel {

int KeyboardShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? gridinput::kShift : 0) |
           (GetKeyState(VK_CONTROL) < 0 ? gridinput::kCtrl : 0) |
           (GetKeyState(VK_MENU) < 0 ? gridinput::kAlt : 0);
}

int MouseShiftState(WPARAM keys) {
    return ((keys & MK_SHIFT) != 0 ? gridinput::kShift : 0) |
           ((keys & MK_CONTROL) != 0 ? gridinput::kCtrl : 0) |
           (GetKeyState(VK_MENU) < 0 ? gridinput::kAlt : 0);
}

int MouseButtons(WPARAM keys) {
    return ((keys & MK_LBUTTON) != 0 ? gridinput::kLeftButton : 0) |
           ((keys & MK_RBUTTON) != 0 ? gridinput::kRightButton : 0) |
           ((keys & MK_MBUTTON) != 0 ? gridinput::kMiddleButton : 0);
}

POINT MousePoint(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

std::optional<GridMove> MoveForKey(int virtualKey, bool ctrl) {
    switch (virtualKey) {
    case VK_UP:
        return GridMove::Up;
    case VK_DOWN:
        return GridMove::Down;
    case VK_LEFT:
        return GridMove::Left;
    case VK_RIGHT:
        return GridMove::Right;
    case VK_PRIOR:
        return GridMove::PageUp;
    case VK_NEXT:
        return GridMove::PageDown;
    case VK_HOME:
        return ctrl ? GridMove::FirstCell : GridMove::Home;
    case VK_END:
        return ctrl ? GridMove::LastCell : GridMove::End;
    default:
        return std::nullopt;
    }
}

// The thumb reports its 32-bit position only through GetScrollInfo: the 16 bits the message carries would
// stop the grid at row 65,535.
int RequestedScrollPosition(HWND hwnd, int bar, int request, int current, int line, int page, int last) {
    switch (request) {
    case SB_LINEUP:
        return current - line;
    case SB_LINEDOWN:
        return current + line;
    case SB_PAGEUP:
        return current - page;
    case SB_PAGEDOWN:
        return current + page;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return last;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS};
        return GetScrollInfo(hwnd, bar, &info) ? info.nTrackPos : current;
    }
    default:
        return current;
    }
}

} // namespace vantrel
