#pragma once
#include <windows.h>

namespace vantrel {

// Registers a window class of this program once; later calls find it registered. The class's instance is
// this program's, and its cursor the arrow unless the caller set another.
[[nodiscard]] inline bool RegisterClassOnce(WNDCLASSEXW windowClass) {
    windowClass.cbSize = sizeof(windowClass);
    windowClass.hInstance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{sizeof(existing)};
    if (GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing))
        return true;
    if (windowClass.hCursor == nullptr)
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    return RegisterClassExW(&windowClass) != 0;
}

} // namespace vantrel
