#pragma once
// The registry value editor: shows which registry value a cell refers to and asks for its new data. It only
// asks; reading the value before and writing it after is the cell action's work.
#include <windows.h>

#include <string>

namespace vantrel {

// What the registry value editor shows, and (after "M&odify") the new data the user typed.
struct RegistryValueEdit {
    std::wstring keyPath;
    std::wstring valueName;
    std::wstring computer;    // empty: the local one
    std::wstring currentData; // or the registry layer's marker "?" or "¬"
    std::wstring newData;     // proposed; what the user typed after "M&odify"
};

// True after "M&odify", with the new-data box's text in `edit.newData`; false after "&Close", Escape or the
// close box, with `edit.newData` as it was.
[[nodiscard]] bool ShowRegistryValueEditor(HWND owner, RegistryValueEdit& edit);

} // namespace vantrel
