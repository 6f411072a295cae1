#include "shell/view_commands.h"

#include "views/catalogue.h"
#include "views/definition.h"
#include "views/field.h"
#include "views/text.h"

namespace vantrel {

std::optional<ViewOpening> OpeningOfFile(const std::wstring& path, bool foldersAllowed,
                                         const PathProbe& probe) {
    if (probe.fileExists(path)) {
        if (ExtOf(path) == L"kvf")
            return ViewOpening{.kind = ViewKind::CustomFile, .customFile = path};
        return ViewOpening{.kind = ViewKind::IniTable, .folderPath = path};
    }
    if (!foldersAllowed || !probe.folderExists(path))
        return std::nullopt;
    const std::wstring folder = path.ends_with(L'\\') ? path : path + L"\\";
    const bool installs = probe.fileExists(folder + L"*.msi");
    return ViewOpening{.definition = std::to_wstring(installs ? kInstallFolderView : kExeFilesView),
                       .kind = ViewKind::Folder,
                       .folderPath = folder};
}

std::optional<ViewOpening> OpeningOnComputer(View& from, const std::wstring& computer) {
    if (static_cast<int>(from.viewKind) >= static_cast<int>(ViewKind::IniTable))
        return std::nullopt;
    from.GetCurWidths();
    return ViewOpening{.computer = computer,
                       .definition = MakCGp(from.columns, from.twipsPerPixel()),
                       .kind = from.viewKind,
                       .customFile = from.customFile};
}

void TakeOpening(View& view, const ViewOpening& opening, bool markOptionOfOwner) {
    view.viewKind = opening.kind;
    view.computerName = opening.computer;
    view.folderPath = opening.folderPath;
    view.customFile = opening.customFile;
    view.dataVariable = opening.dataVariable;
    view.markOption = opening.markOption.value_or(markOptionOfOwner);
    view.definition =
        IsBuiltInNumber(opening.definition) ? ResolveBuiltInView(opening.definition) : opening.definition;
    if (view.definition.empty() && view.viewKind != ViewKind::Folder)
        view.definition = kDefaultDefinition;
}

void SortByArgument(View& view, std::wstring_view argument) {
    std::wstring_view number = TrimBlanks(argument);
    if (number.starts_with(L'-') || number.starts_with(L'+'))
        number.remove_prefix(1);
    view.SortColumn(LeadingNumber(number, 240), argument.find(L'-') != std::wstring_view::npos);
}

bool SetMatchColumn(View& view, int column) {
    if (column < 0 || column >= view.grid.Cols())
        return false;
    view.grid.SetCol(column);
    view.AutoMatch();
    return true;
}

int MatchColumnArgument(std::wstring_view argument) {
    return LeadingNumber(argument, 240);
}

int ListModeArgument(std::wstring_view argument) {
    return LeadingNumber(argument, 1) != 0 ? 1 : 0;
}

} // namespace vantrel
