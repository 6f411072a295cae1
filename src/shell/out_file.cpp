#include "shell/out_file.h"

#include "engine/table_export.h"
#include "platform/output_writer.h"
#include "platform/system_message.h"
#include "shell/out_file_target.h"

#include <windows.h>

namespace vantrel {

std::optional<std::wstring> WriteViewOut(const View* view, std::wstring_view caption,
                                         std::wstring_view argument) {
    if (view == nullptr)
        return NoViewToWriteMessage(argument);
    const OutFileTarget target = OutFileTargetOf(argument);
    const std::string bytes =
        ExportText({.grid = view->grid, .caption = caption, .computer = view->computerName}, target.format);
    if (target.standardOutput) {
        const std::uint32_t error = WriteBytesToStandardOutput(bytes);
        if (error == ERROR_INVALID_HANDLE)
            return NoConsoleMessage();
        if (error != 0)
            return WriteFailedMessage(L"standard output", SystemMessage(error));
        return std::nullopt;
    }
    if (const std::uint32_t error = WriteBytesToFile(target.path, bytes); error != 0)
        return WriteFailedMessage(target.path, SystemMessage(error));
    return std::nullopt;
}

} // namespace vantrel
