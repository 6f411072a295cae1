#pragma once
// The system's own words for an error code.
#include <cstdint>
#include <string>

namespace vantrel {

// FormatMessage's text without its line break; "Error " + the code when the system has no text for it.
std::wstring SystemMessage(std::uint32_t code);

} // namespace vantrel
