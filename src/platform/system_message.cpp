#include "platform/system_message.h"

#include <windows.h>

namespace vantrel {
namespace {

// FormatMessage's text without its line break; empty when there is none.
std::wstring FormattedMessage(std::uint32_t code, DWORD source, HMODULE module) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | source | FORMAT_MESSAGE_IGNORE_INSERTS, module, code,
                       0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
    if (buffer != nullptr)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

} // namespace

std::wstring SystemMessage(std::uint32_t code) {
    const std::wstring text = FormattedMessage(code, FORMAT_MESSAGE_FROM_SYSTEM, nullptr);
    return text.empty() ? L"Error " + std::to_wstring(code) : text;
}

std::optional<std::wstring> ModuleMessage(std::uint32_t code, const wchar_t* moduleName) {
    const HMODULE module = GetModuleHandleW(moduleName);
    if (module == nullptr)
        return std::nullopt;
    std::wstring text = FormattedMessage(code, FORMAT_MESSAGE_FROM_HMODULE, module);
    if (text.empty())
        return std::nullopt;
    return text;
}

} // namespace vantrel
