#pragma once
// Windows Installer keys name products and components by a "packed" GUID: the 32 hexadecimal digits of the
// braced form, reordered. The reordering is its own inverse.
#include <string>
#include <string_view>

namespace vantrel {

// Braced "{12345678-9ABC-DEF0-1234-56789ABCDEF0}" to packed "87654321CBA90FED...", and packed to braced.
// Texts shorter than 32 characters, and braced texts without 32 digits, come back unchanged.
std::wstring PackedGuid(std::wstring_view text);

} // namespace vantrel
