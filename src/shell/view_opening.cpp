#include "shell/view_opening.h"

#include "views/catalogue.h"
#include "views/field.h"
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

ViewOpening OpeningOfContents(const ViewContents& contents, int folderView) {
    const auto folderOpening = [folderView](std::wstring_view path) {
        std::wstring folder(TrimBlanks(path));
        if (!folder.ends_with(L'\\'))
            folder += L'\\';
        return ViewOpening{.definition = std::to_wstring(folderView),
                           .kind = ViewKind::Folder,
                           .folderPath = std::move(folder)};
    };
    switch (contents.option) {
    case ContentsOption::Station:
        return {.computer = std::wstring(TrimBlanks(contents.computer))};
    case ContentsOption::CdImage:
        return folderOpening(kCdImageFolder);
    case ContentsOption::PathLocation:
        return folderOpening(contents.path);
    case ContentsOption::LocallyInstalled:
    default:
        return {};
    }
}

} // namespace vantrel
