#include "platform/win_environment.h"

#include <windows.h>

namespace vantrel {

std::wstring WinEnvironment::Variable(std::wstring_view name) const {
    const std::wstring variable(name);
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD length =
            GetEnvironmentVariableW(variable.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0)
            return {};
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);
    }
}

} // namespace vantrel
