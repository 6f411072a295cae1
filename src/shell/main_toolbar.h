#pragma once
// The main window's toolbar, laid out by the command table, with the computer box in its place.
#include "platform/unique_handle.h"
#include "shell/command_table.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace vantrel {

// Toolbar buttons send WM_COMMAND with this base plus their picture number.
inline constexpr int kToolbarCommandBase = 2000;

class MainToolbar {
public:
    MainToolbar() = default;
    MainToolbar(const MainToolbar&) = delete;
    MainToolbar& operator=(const MainToolbar&) = delete;

    [[nodiscard]] bool Create(HWND parent, int twipsPerPixel);
    HWND hwnd() const { return toolbar_; }
    HWND computerBox() const { return computerBox_; }
    int Height() const;
    void Resize() const;

    const std::vector<ToolbarEntry>& entries() const { return entries_; }
    // The entry of a button's command, or nullptr.
    const ToolbarEntry* EntryFor(int command) const;
    // Index (from 1) of a button in the toolbar, as the "Not yet implemented" message names it.
    int IndexOf(int command) const;

    // The check button ("View details") follows the list mode.
    void SetDetailsPressed(bool pressed) const;
    bool DetailsPressed() const;
    void SetComputerText(const std::wstring& text) const;

    // Answers a tooltip request of the toolbar; false for other notifications.
    bool OnNotify(NMHDR* header) const;

private:
    HWND toolbar_ = nullptr;
    HWND computerBox_ = nullptr;
    UniqueImageList images_;
    std::vector<ToolbarEntry> entries_;
    int detailsCommand_ = 0;
};

} // namespace vantrel
