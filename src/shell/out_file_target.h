#pragma once
// Where "[OutFile <path>]" writes the active view, and in which format. The file name's extension picks the
// format (".csv" CSV, ".json" JSON, anything else tab-separated text). "-" is standard output as
// tab-separated text; "-.csv", "-.json" and "-.txt" choose the format for standard output the same way a file
// name does.
#include "engine/table_export.h"

#include <string>
#include <string_view>

namespace vantrel {

struct OutFileTarget {
    std::wstring path; // as written, quotes and blanks around it dropped
    bool standardOutput = false;
    ExportFormat format = ExportFormat::Text;

    bool operator==(const OutFileTarget&) const = default;
};

OutFileTarget OutFileTargetOf(std::wstring_view argument);

// The messages of a write that could not be done.
std::wstring NoViewToWriteMessage(std::wstring_view argument);
std::wstring NoConsoleMessage();
std::wstring WriteFailedMessage(std::wstring_view path, std::wstring_view reason);

} // namespace vantrel
