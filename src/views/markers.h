#pragma once
// Texts a cell value may hold instead of data. A value whose text happens to equal a marker is taken as it.
#include <string_view>

namespace vantrel {

inline constexpr std::wstring_view kNotConnected = L"\u00B0"; // the computer's registry cannot be reached
inline constexpr std::wstring_view kKeyMissing = L"\u00AC";   // the key does not exist (or cannot be opened)
inline constexpr std::wstring_view kValueMissing = L"?";      // the value does not exist
inline constexpr std::wstring_view kKnownUnreachable =
    L"/\u00B0/"; // multi-computer row of an unreachable computer
inline constexpr std::wstring_view kNotConnectedText =
    L"Not connected"; // what a cell shows for kNotConnected

} // namespace vantrel
