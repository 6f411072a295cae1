// The class list: the registered ActiveX controls of a computer and, in the detailed list, every class with a
// type library, each with the file that serves it. It reads the class keys itself instead of evaluating a
// definition; the fixed class-ID definition is parsed afterwards so that the column arrays exist for what
// the user does with the rows later (status texts, properties of a cell, another computer).
#include "engine/text.h"
#include "engine/view.h"
#include "views/markers.h"

#include <array>
#include <optional>

namespace vantrel {
namespace {

constexpr std::wstring_view kClassListDefinition =
    L"SOFTWARE\\Classes\\Clsid,01345,013457,Class-IDs,|240,<key>,Class-ID|240,!*,Description|240,"
    L"LocalServer32\\,Registered file|240,InProcServer32\\!*,Registered file|45,Control\\!?,ActX,+>|240,"
    L"TypeLib\\,TypeLib,+>|240,ProgId\\,Prog-ID|240,VersionIndependentProgId\\!*,Prog-ID";
constexpr std::wstring_view kClassesKey = L"software\\classes\\clsid";

struct ClassListColumn {
    std::wstring_view header;
    int widthTwips;
    int definitionColumn; // the column of the class-ID definition that reads the same
};
// The standard list shows the first four, the detailed list all six.
constexpr std::array<ClassListColumn, 6> kColumns{{
    {L"#", 400, kRowNumberColumn},
    {L"Description", 3500, 1},
    {L"Registered file", 4600, 3},
    {L"CLS-ID", 3600, 0},
    {L"ActX", 450, 4},
    {L"TypeLib", 3600, 5},
}};
constexpr int kStandardColumns = 4;

// What the ActX column says about a class: a control or an ordinary class, served in process or by a local
// server.
constexpr std::wstring_view kControl = L"Ctl";
constexpr std::wstring_view kControlWithLocalServer = L"C S";
constexpr std::wstring_view kLocalServer = L" Svr";

struct ClassRow {
    std::wstring description;
    std::wstring registeredFile;
    std::wstring kind;
    std::wstring typeLib;

    // The cells of grid row `number`, column by column.
    std::array<std::wstring, kColumns.size()> Cells(int number, const std::wstring& id) && {
        return {std::to_wstring(number), std::move(description), std::move(registeredFile), id,
                std::move(kind),         std::move(typeLib)};
    }
};

// A server value shorter than two characters is a marker (no such key or value) or no path at all.
std::wstring ServerFile(Registry& registry, std::wstring_view computer, const std::wstring& serverKey) {
    std::wstring file = registry.ReadValue(computer, RootKey::FromPath, serverKey, L"");
    if (file.size() < 2)
        file.clear();
    return file;
}

// The row of one class key, or nothing when the list leaves the class out: it is no control (and, in the
// detailed list, has no type library), or no file serves it.
std::optional<ClassRow> ReadClass(Registry& registry, std::wstring_view computer, const std::wstring& key,
                                  bool detailed) {
    ClassRow row;
    row.typeLib = registry.ReadValue(computer, RootKey::FromPath, key + L"\\TypeLib", L"");
    // A control has a Control key, which carries no value of its own.
    if (registry.ReadValue(computer, RootKey::FromPath, key + L"\\Control", L"") == kValueMissing)
        row.kind = kControl;
    if (row.kind.empty() && !(detailed && row.typeLib.size() > 1))
        return std::nullopt;

    row.description = registry.ReadValue(computer, RootKey::FromPath, key, L"");
    row.registeredFile = ServerFile(registry, computer, key + L"\\InProcServer32");
    if (row.registeredFile.empty()) {
        row.kind = row.kind.empty() ? kLocalServer : kControlWithLocalServer;
        row.registeredFile = ServerFile(registry, computer, key + L"\\LocalServer32");
    }
    if (row.registeredFile.empty())
        return std::nullopt;
    row.registeredFile = ProperCasePath(row.registeredFile);
    return row;
}

// An empty grid with the header row of the list.
void SetUpGrid(GridModel& grid, int cols) {
    grid.SetCols(cols);
    grid.SetRows(1);
    for (int c = 0; c < cols; ++c) {
        const ClassListColumn& column = kColumns[static_cast<size_t>(c)];
        grid.SetColWidth(c, column.widthTwips);
        grid.SetColAlignment(c, CellAlignment::LeftCenter);
        grid.SetTextMatrix(0, c, std::wstring(column.header));
    }
}

} // namespace

void View::FillClassList() {
    const bool detailed = host_.ListMode() != 0;
    const int cols = detailed ? static_cast<int>(kColumns.size()) : kStandardColumns;
    SetUpGrid(grid, cols);
    host_.SetCaption(
        std::wstring(detailed ? L"Registered controls and ActiveX classes" : L"Registered controls") +
        (computerName.empty() ? std::wstring() : L" on " + computerName));
    host_.FitToTable();
    host_.Redraw();

    const std::vector<std::wstring> classes = services_.registry.EnumKeys(
        computerName, RootKey::FromPath, kClassesKey, true, services_.readsInFlight);
    grid.SetRows(static_cast<int>(classes.size()) + 1);
    host_.FitToTable();
    host_.Redraw();

    rowCount = 0;
    itemKeys.clear();
    rowItems.clear();
    Registry::CachedReads cachedReads(services_.registry);
    for (const std::wstring& id : classes) {
        // Like every fill, this one can be stopped or have its window closed: a remote computer's thousands
        // of classes take a while.
        host_.LetEventsRun();
        if (state_ != ViewState::Filling || abandoned_)
            break;
        cachedReads.NextItem();
        std::optional<ClassRow> row =
            ReadClass(services_.registry, computerName, std::wstring(kClassesKey) + L"\\" + id, detailed);
        if (!row)
            continue;
        // The row counts once it is whole.
        auto cells = std::move(*row).Cells(rowCount + 1, id);
        for (int c = 0; c < cols; ++c)
            grid.SetTextMatrix(rowCount + 1, c, cells[static_cast<size_t>(c)]);
        itemKeys.push_back(id);
        rowItems.push_back(static_cast<std::uint32_t>(itemKeys.size() - 1));
        ++rowCount;
        // The list grows visibly during the long pass over all registrations.
        host_.Redraw();
    }
    grid.SetRows(rowCount + 1);

    GetCico(kClassListDefinition, columns, twipsPerPixel_);
    basePath = columns.head.base;
    colMap.clear();
    for (int c = 0; c < cols; ++c)
        colMap.push_back(kColumns[static_cast<size_t>(c)].definitionColumn);
    MakeRowNrs();
}

} // namespace vantrel
