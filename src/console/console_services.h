#pragma once
// The services of kivoc's views: those of the program's windows, with a snapshot that cannot be read told on
// standard error instead of in a message box.
#include "console/console_host.h"
#include "shell/program_services.h"

namespace vantrel {

class ConsoleServices {
public:
    ViewServices ForViews() { return shared_.ForViews(); }

private:
    ProgramServices shared_{[](std::wstring_view message) {
        ErrorLine(message);
    }};
};

} // namespace vantrel
