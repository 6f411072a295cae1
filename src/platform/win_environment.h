#pragma once
#include "engine/view_services.h"

namespace vantrel {

// This process's environment variables.
class WinEnvironment final : public Environment {
public:
    std::wstring Variable(std::wstring_view name) const override;
};

} // namespace vantrel
