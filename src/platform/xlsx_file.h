#pragma once
// The .xlsx workbook on disk, packed by the system's Open Packaging Conventions API (opcservices).
#include "engine/workbook.h"
#include "views/ini_files.h"

#include <string>
#include <vector>

namespace vantrel {

// Writes the sheets as one workbook at path, replacing a file of that name.
// COM must already be initialised on the calling thread (CoInitializeEx, either apartment); without it the
// write fails with CO_E_NOTINITIALIZED.
// The package is written to a new file in the same folder and then moved over path, so a write that fails
// half-way leaves the earlier workbook (with every earlier export of the run) whole.
// A failure carries a Win32 error code (also when the packaging API reported it as an HRESULT of the Win32
// facility) or else the HRESULT: a missing folder fails with ERROR_DIRECTORY; a workbook another program
// holds open, as Excel does while showing it, fails with ERROR_SHARING_VIOLATION or ERROR_ACCESS_DENIED, and
// the caller can choose another name.
[[nodiscard]] WriteResult WriteWorkbook(const std::wstring& path, const std::vector<WorkbookSheet>& sheets);

} // namespace vantrel
