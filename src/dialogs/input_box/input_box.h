#pragma once
// A prompt with one line of text to answer, as the program asks for a view's data variable.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The text entered, or nothing when the user cancelled.
[[nodiscard]] std::optional<std::wstring> ShowInputBox(HWND owner, std::wstring_view prompt,
                                                       std::wstring_view initial);

} // namespace vantrel
