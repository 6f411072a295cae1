#pragma once
// The selection form, "Select view contents": where an installation view looks. It only collects the choice;
// the main window opens the view.
#include "engine/view_contents.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// Chooses up to `maximum` computers of the network over `owner` into names[1..count] and answers the count
// (below 1: none chosen); a maximum of 0 lets the picker go. SelectComputers, or a stand-in.
using ComputerPicker = std::function<int(int maximum, HWND owner, std::vector<std::wstring>& names)>;

struct SelectViewRequest {
    ViewContents start; // the option, the computer box's and the path box's text the form opens with
    // The computer box's list: the computers picked so far; the form adds those picked while it is open.
    std::vector<std::wstring> computers;
};

// The choice after "&Open"; nothing after "&Cancel".
[[nodiscard]] std::optional<ViewContents> ShowSelectViewDialog(HWND owner, SelectViewRequest& request,
                                                               const ComputerPicker& picker);

} // namespace vantrel
