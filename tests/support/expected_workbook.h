#pragma once
// What a reader of an exported workbook must find in it, written as the JSON that scripts/check-workbook.py
// compares a workbook with (the ctest read-back steps run it with openpyxl).
#include "engine/workbook.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel {

// A sheet, and what a reader must find in it where that differs from what was written.
struct ExpectedSheet {
    WorkbookSheet sheet;
    std::map<std::pair<size_t, size_t>, std::wstring> readBack; // (row, column) -> text
    std::vector<std::string> numbers;                           // cells that come back as numbers
};

std::string Utf8(const std::wstring& text);
std::string JsonString(const std::wstring& text);
std::string ExpectedJson(const std::vector<ExpectedSheet>& sheets);

// The folder the read-back steps look in: `unixFolder` of the build tree on drive Z:, or a folder of the temp
// folder where there is no read-back step (the folder is created).
std::wstring WorkbookCheckFolder(std::string_view unixFolder);

// A sheet as the export writes it: its cells that hold numbers named as "C2", the others texts.
ExpectedSheet ExpectedAsWritten(WorkbookSheet sheet);

} // namespace vantrel
