#include "shell/out_file_target.h"

#include "views/field.h"

namespace vantrel {

OutFileTarget OutFileTargetOf(std::wstring_view argument) {
    const std::wstring_view path = TrimBlanks(argument);
    const bool standardOutput =
        path == L"-" || (path.starts_with(L"-.") && path.find_first_of(L"\\/:") == std::wstring_view::npos);
    return {.path = std::wstring(path), .standardOutput = standardOutput, .format = ExportFormatOf(path)};
}

std::wstring NoViewToWriteMessage(std::wstring_view argument) {
    return L"No view to write to " + std::wstring(TrimBlanks(argument));
}

std::wstring NoConsoleMessage() {
    return L"No console to write to: start Vantrel from a command prompt, or write to a file";
}

std::wstring WriteFailedMessage(std::wstring_view path, std::wstring_view reason) {
    return L"Could not write " + std::wstring(path) + L": " + std::wstring(reason);
}

} // namespace vantrel
