#pragma once
// What an opener hands to a new view window.
#include "engine/view.h"
#include "engine/view_contents.h"

#include <optional>
#include <string>

namespace vantrel {

struct ViewOpening {
    std::wstring computer;   // a name starting with "<" means the local computer
    std::wstring definition; // a definition string or a catalogue number
    ViewKind kind = ViewKind::Registry;
    std::wstring folderPath;
    std::wstring customFile;
    std::wstring dataVariable;
    std::optional<bool> markOption; // nothing: as the main window's "S&how Match column" is checked
};

// NewView's arguments as a new window takes them: an empty computer is the computer box's, a name in angle
// brackets the local computer; a view text of one or two characters with a positive value is a catalogue
// number (its definition then, and no mark column); a non-empty extra text is the data variable.
ViewOpening ResolveNewView(std::wstring_view computer, std::wstring_view view, std::wstring_view extra,
                           std::wstring_view computerBoxText);

// What the selection form's choice opens: the installed software of this computer or of the computer named
// (blank: this one), or the folder view `folderView` (a catalogue number) of the CD image or of the path.
ViewOpening OpeningOfContents(const ViewContents& contents, int folderView);

} // namespace vantrel
