#pragma once
// The new-view dialog: which view to open first. It only collects the choice; the main window opens it.
#include <windows.h>

#include <optional>

namespace vantrel {

class Messages;

struct NewViewChoice {
    int button = 0; // 1 new design, 2 local registry, 3 another computer, 4 MSI/install, 5 folder, 6 ini file
    int viewNumber = 0; // the built-in view selected in the list

    bool operator==(const NewViewChoice&) const = default;
};

// Nothing when the user cancelled. The background's double-click tip is shown through `messages`.
[[nodiscard]] std::optional<NewViewChoice> ShowNewViewDialog(HWND owner, Messages& messages);

} // namespace vantrel
