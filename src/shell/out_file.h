#pragma once
// "[OutFile <path>]": the active view written to a file or to standard output, for the main window and for
// kivoc alike.
#include "engine/view.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Writes the view (nullptr: there is none) as the argument asks. Nothing when it was written, else the
// message that tells why not.
std::optional<std::wstring> WriteViewOut(const View* view, std::wstring_view caption,
                                         std::wstring_view argument);

} // namespace vantrel
