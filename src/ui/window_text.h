#pragma once
// A window's text, whole however long.
#include <windows.h>

#include <string>

namespace vantrel {

inline std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace vantrel
