#include "shell/view_opening.h"

#include "views/catalogue.h"
#include "views/text.h"

namespace vantrel {

ViewOpening ResolveNewView(std::wstring_view computer, std::wstring_view view, std::wstring_view extra,
                           std::wstring_view computerBoxText) {
    ViewOpening opening;
    opening.computer = computer.empty() ? computerBoxText : computer;
    if (opening.computer.starts_with(L'<'))
        opening.computer.clear();
    if (view.size() > 2) {
        opening.definition = view;
    } else if (const int number = LeadingNumber(view, 99); number > 0) {
        opening.definition = BuiltInView(number, false);
        opening.markOption = false;
    }
    opening.dataVariable = extra;
    return opening;
}

} // namespace vantrel
