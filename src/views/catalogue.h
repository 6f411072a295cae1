#pragma once
// The built-in views, addressed by small numbers wherever a definition may stand.
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr int kListedBuiltInViews = 15; // lists offer entries 1..15
inline constexpr int kExeFilesView = 98;
inline constexpr int kInstallFolderView = 99; // default of a folder contents view

// n = 0: "15", the number of entries lists offer. A catalogue number: its title when titleWanted (empty for
// entries without one), else its definition string. Any other n: an empty text.
std::wstring BuiltInView(int n, bool titleWanted);

// A definition text of one or two characters stands for a catalogue number.
bool IsBuiltInNumber(std::wstring_view definition);

// The definition a text stands for: the catalogue entry for a one- or two-character text, else the text.
std::wstring ResolveBuiltInView(std::wstring_view definition);

// What an item of the menu "Othe&r built-in views" opens.
struct OtherViewsMenuTarget {
    bool classList = false; // the class list view instead of a catalogue entry
    int viewNumber = 0;

    bool operator==(const OtherViewsMenuTarget&) const = default;
};

// Item index 1..8 of that menu; any other index opens nothing.
std::optional<OtherViewsMenuTarget> OtherViewsMenuItem(int index);

} // namespace vantrel
