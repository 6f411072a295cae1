#pragma once
// The main window's command table: every command once, with its menu entry, its toolbar picture (its number
// in the toolbar's text table), its word in command strings, whether it needs an active view, and the member
// of the main window that carries it out. The menu, the toolbar and the command strings dispatch through it.
#include <string_view>

namespace vantrel {

class MainWindow;
class ViewForm;

// What a command tells a command string: false when it failed (an open); the view it opened, which is
// filled before the next command runs.
struct CommandOutcome {
    bool accepted = true;
    ViewForm* opened = nullptr;
};

struct MainCommand {
    int menuId = 0;         // 0: not on the menu
    int picture = 0;        // 0: no toolbar button
    std::wstring_view word; // empty: not in command strings
    bool needsView = false; // greyed, and doing nothing, without an active view
    CommandOutcome (MainWindow::*run)(const MainCommand& command, std::wstring_view argument) = nullptr;
};

} // namespace vantrel
