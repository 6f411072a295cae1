#pragma once
// Starting other programs (Regedit, Explorer, ...), shown normally.
#include <string_view>

namespace vantrel {

class Programs {
public:
    virtual ~Programs() = default;
    // Starts a command line and does not wait for it; false when it cannot be started.
    virtual bool Start(std::wstring_view commandLine) = 0;
};

class WinPrograms final : public Programs {
public:
    bool Start(std::wstring_view commandLine) override;
};

} // namespace vantrel
