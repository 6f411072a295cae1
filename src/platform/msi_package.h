#pragma once
// Windows Installer packages (.msi) read through the Windows Installer API: the summary information and the
// Property table. Every failure gives an empty text.
#include "engine/view_services.h"

#include <string>
#include <string_view>

namespace vantrel {

// The summary information and the database are each opened once per file and row and kept in `cache` for
// the row's other columns.

// Summary information property `number` (2 title, 3 subject, ...) of the package.
std::wstring MsiSummaryProperty(std::wstring_view path, int number, RowFileCache& cache);
// The value of `property` in the package's Property table; empty when it has none.
std::wstring MsiTableProperty(std::wstring_view path, std::wstring_view property, RowFileCache& cache);

} // namespace vantrel
