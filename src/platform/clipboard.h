#pragma once
// The clipboard's text.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The clipboard's Unicode text; nothing when it holds no text or cannot be opened.
std::optional<std::wstring> ClipboardText(HWND owner);
bool ClipboardHasText();
// Puts `text` on the clipboard in place of what it held; false when the clipboard cannot be opened.
[[nodiscard]] bool SetClipboardText(HWND owner, std::wstring_view text);

} // namespace vantrel
