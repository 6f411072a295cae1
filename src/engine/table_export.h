#pragma once
// A whole view written out for other programs: tab-separated text as the clipboard gets it, CSV for
// spreadsheets, JSON for scripts.
#include "engine/grid_model.h"

#include <string>
#include <string_view>

namespace vantrel {

enum class ExportFormat { Text, Csv, Json };

// What a file's name asks for: ".csv" CSV, ".json" JSON, anything else tab-separated text.
ExportFormat ExportFormatOf(std::wstring_view path);

struct ExportedView {
    const GridModel& grid;
    std::wstring_view caption;
    std::wstring_view computer; // empty: the local one
};

// Every row and column of the grid, header row and row-number column included, in UTF-8. Text is exactly
// the clipboard's copy of the whole grid. CSV quotes what needs it (RFC 4180) and begins with a byte-order
// mark, so spreadsheets read accents; JSON is one object {"caption", "computer", "headers", "rows"}, the rows
// as arrays since headers may repeat or be empty. A NUL between the strings of a multi-string value is a
// blank in every format, as on the clipboard.
std::string ExportText(const ExportedView& view, ExportFormat format);

} // namespace vantrel
