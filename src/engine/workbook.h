#pragma once
// The .xlsx workbook written where Excel cannot be started: every sheet a whole grid of cell texts, as the
// parts of an Open Packaging Conventions package (SpreadsheetML, transitional). Packaging and compression
// are left to the system's packaging API (src/platform/xlsx_file.h); this file only knows what the parts say.
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct WorkbookSheet {
    std::wstring name;
    std::vector<std::vector<std::wstring>> rows; // row 0 first; rows may have different lengths
};

// One part of the package: its name ("/xl/workbook.xml"), its content type and its UTF-8 bytes.
struct PackagePart {
    std::wstring name;
    std::wstring contentType;
    std::string bytes;
};

// A relationship from the package (sourcePart empty) or from a part; target is relative to the source's
// folder ("xl/workbook.xml" from the package, "worksheets/sheet1.xml" from /xl/workbook.xml). The id is the
// one the source part's XML refers to ("rId1").
struct PackageRelationship {
    std::wstring sourcePart;
    std::wstring id;
    std::wstring type;
    std::wstring target;
};

struct WorkbookPackage {
    std::vector<PackagePart> parts;
    std::vector<PackageRelationship> relationships;
};

// The whole workbook: workbook, styles and one worksheet part per sheet, in that order, with their
// relationships. No sheets gives one empty sheet, since a workbook needs one.
WorkbookPackage BuildWorkbookPackage(const std::vector<WorkbookSheet>& sheets);

// The names the sheets get in the workbook: Excel's rules (at most 31 characters, none of []:*?/\, no
// apostrophe at either end, unique regardless of case) applied to the given names; an empty name becomes
// "Sheet<n>".
std::vector<std::wstring> WorkbookSheetNames(const std::vector<WorkbookSheet>& sheets);

// True when the cell is stored as a number: its text is exactly the shortest decimal form of the number it
// reads as ("12", "-3", "2.5"; not "0012", "1.50", "1e5", "+3" or " 7"), with no more digits than Excel
// keeps.
bool StoredAsNumber(std::wstring_view text);

} // namespace vantrel
