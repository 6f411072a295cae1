// fillflex: fills a view's grid from its definition. It prepares the caption, enumerates the registry keys
// or files, sets up the grid columns, evaluates every item and keeps the rows that pass, letting window
// messages run before each item so the user can stop it.
#include "engine/grid_status.h"
#include "engine/view.h"
#include "sources/registry_path.h"
#include "views/catalogue.h"
#include "views/custom_view_file.h"
#include "views/markers.h"
#include "views/order.h"
#include "views/text.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace vantrel {
namespace {

constexpr std::wstring_view kCurrentVersionKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::wstring_view kDefaultDepth = L"(2)";
constexpr int kMaxGridColumns = kLastColumn + 1;
constexpr std::wstring_view kOutOfMemoryMessage =
    L"There is not enough memory to read every row.\rThe view shows the rows read so far.";

bool IsMarker(std::wstring_view text) {
    return text == kNotConnected || text == kKeyMissing || text == kValueMissing;
}

} // namespace

View::View(ViewServices services, ViewHost& host, int twipsPerPixel)
    : services_(services), host_(host), twipsPerPixel_(twipsPerPixel) {}

View::View(const View& source, ViewServices services, ViewHost& host)
    : viewKind(source.viewKind), folderPath(source.folderPath), computerName(source.computerName),
      dataVariable(source.dataVariable), markOption(source.markOption), basePath(source.basePath),
      columns(source.columns), colMap(source.colMap), state_(ViewState::Filling), services_(services),
      host_(host), twipsPerPixel_(source.twipsPerPixel_) {}

void View::fillflex() {
    if (abandoned_)
        return;
    if (state_ == ViewState::Filling) {
        state_ = ViewState::StopRequested;
        return;
    }
    if (viewKind == ViewKind::Merged &&
        host_.AskYesNo(L"Refresh can probably not give the same information\r\nCancel the refresh action?"))
        return;

    state_ = ViewState::Filling;
    host_.SetBusyPointer(true);
    host_.ShowCancelCommand(true);
    try {
        FillWhileFilling();
    } catch (const std::bad_alloc&) {
        EndFillOutOfMemory();
    }
}

void View::FillWhileFilling() {
    if (!dataVariable.empty() && host_.IsMaximized())
        host_.RestoreSize();
    if (computerName.starts_with(L'<') || viewKind == ViewKind::Merged || viewKind == ViewKind::MultiComputer)
        computerName.clear();

    if (viewKind == ViewKind::ClassList) {
        FillClassList();
        return EndFill();
    }
    if (viewKind == ViewKind::IniTable) {
        if (folderPath.empty())
            folderPath = host_.StartFile();
        host_.SetCaption(L"Table view of " + folderPath);
        FillIniTable(services_.ini);
        return EndFill();
    }
    PrepareCaption();

    const std::wstring& order = host_.ListMode() != 0 ? columns.head.colsOrderD : columns.head.colsOrder;
    if (order.empty())
        host_.ShowMessage(L"Unexpected 423 Columnstring error");

    grid.SetCols(6);
    grid.SetRows(1);
    grid.SetFixedCols(grid.FixedRows());
    host_.Redraw();

    if (viewKind != ViewKind::MultiComputer && !Enumerate())
        return EndFill();

    LoadMatchList();
    BuildColumnMap(order);
    SetUpGridColumns();
    host_.FitToTable();
    host_.Redraw();
    EvaluateItems();
    EndFill();
}

void View::PrepareCaption() {
    if (viewKind == ViewKind::Registry) {
        if (!columns.isParsed())
            GetCico(definition, columns, twipsPerPixel_);
        host_.SetCaption(StrCVar(columns.head.title + L" view"));
    }
    if (viewKind == ViewKind::CustomFile) {
        host_.SetCaption(std::wstring(kCustomViewCaption) + FileNameOf(customFile));
        if (!columns.isParsed())
            ReadCustomView(services_.ini, customFile, columns, twipsPerPixel_);
    }
    if (viewKind == ViewKind::Registry || viewKind == ViewKind::CustomFile)
        host_.SetCaption(host_.Caption() +
                         (computerName.empty() ? std::wstring(L" - Local") : L" on " + computerName));
    if (viewKind == ViewKind::Folder) {
        if (definition.empty())
            definition = std::to_wstring(kInstallFolderView);
        if (IsBuiltInNumber(definition))
            definition = ResolveBuiltInView(definition);
        if (!columns.isParsed())
            GetCico(definition, columns, twipsPerPixel_);
        if (columns.head.base.find(L'\\') == std::wstring::npos)
            columns.head.base = folderPath + (folderPath.ends_with(L'\\') ? L"" : L"\\") + columns.head.base;
    }
    basePath = StrCVar(columns.head.base);
    if ((basePath.size() >= 2 && basePath[1] == L':') || basePath.starts_with(L"\\\\"))
        folderPath = basePath;
}

// Fills itemKeys; false when there is nothing to evaluate (a folder that is missing or empty).
bool View::Enumerate() {
    if (!folderPath.empty()) {
        if (basePath.find(L'(') == std::wstring::npos) {
            basePath += kDefaultDepth;
            columns.head.base += kDefaultDepth;
        }
        const size_t depthAt = basePath.find(L'(');
        folderPath = PathOf(basePath.substr(0, depthAt));
        filePattern = basePath.substr(folderPath.size(), depthAt - folderPath.size());
        if (viewKind == ViewKind::Folder)
            host_.SetCaption(L"Contents view of " + folderPath);
        if (!services_.files.FolderHasEntries(folderPath)) {
            grid.SetCols(2);
            grid.SetTextMatrix(0, 1, L"Empty or invalid path");
            return false;
        }
        const int depth = LeadingNumber(std::wstring_view(basePath).substr(depthAt + 1), 1000);
        itemKeys =
            services_.files.FolderWalk(folderPath, filePattern, depth, [this] { return KeepFilling(); });
        return true;
    }

    // Without an answer from the computer the items of the last fill are evaluated again (and show
    // "Not connected"); a new window has none.
    if (computerName.empty() || services_.computers.CheckSta(computerName) == 1) {
        ReadOsVersion();
        itemKeys = services_.registry.EnumKeys(computerName, RootKey::FromPath, basePath, true,
                                               services_.readsInFlight, [this] { return KeepFilling(); });
    } else {
        host_.ShowMessage(L"No connection");
    }
    if (const size_t wildcard = basePath.find(L"\\*"); wildcard != std::wstring::npos)
        basePath.resize(wildcard);
    return true;
}

bool View::KeepFilling() {
    host_.LetEventsRun();
    return state_ == ViewState::Filling && !abandoned_;
}

void View::ReadOsVersion() {
    const std::wstring version =
        services_.registry.ReadValue(computerName, RootKey::FromPath, kCurrentVersionKey, L"CurrentVersion");
    std::wstring pack =
        services_.registry.ReadValue(computerName, RootKey::FromPath, kCurrentVersionKey, L"CSDVersion");
    // Windows 8 and later have no service pack: a missing value adds nothing to the caption.
    osVersion = IsMarker(version) || version.empty() ? std::wstring() : L"v" + version;
    if (IsMarker(pack))
        pack.clear();
    if (LowerCase(std::wstring_view(pack).substr(0, 12)) == L"service pack")
        pack = L"sp" + (pack.size() > 13 ? pack.substr(13) : std::wstring());
    servicePack = pack;
    if (viewKind == ViewKind::Registry && !(osVersion + servicePack).empty())
        host_.SetCaption(host_.Caption() + L" - " + osVersion + servicePack);
}

void View::LoadMatchList() {
    if (!services_.matchList.IsLoaded())
        services_.matchList.Replace(services_.registry.EnumKeys(L"", RootKey::FromPath, kUninstallKey, true));
}

void View::BuildColumnMap(const std::wstring& order) {
    colMap.assign(1, kRowNumberColumn);
    for (const wchar_t c : order) {
        const int k = DigitValue(c);
        if (k < 0) // a character that names no column adds none
            continue;
        if (static_cast<int>(colMap.size()) >= kMaxGridColumns)
            break;
        colMap.push_back(k);
        if (markOption && columns.column(k).data.ends_with(L"!*") &&
            static_cast<int>(colMap.size()) < kMaxGridColumns)
            colMap.push_back(kMarkColumn);
    }
}

void View::SetUpGridColumns() {
    grid.SetCols(static_cast<int>(colMap.size()));
    grid.SetRows(static_cast<int>(itemCount()) + 1);
    for (size_t c = 0; c < colMap.size(); ++c) {
        const int k = colMap[c];
        const int col = static_cast<int>(c);
        ColumnSpec& column = columns.column(k);
        grid.SetColWidth(col, column.widthTwips);
        grid.SetColAlignment(col, CellAlignment::LeftCenter);
        if (k >= 0) {
            if (column.header.empty())
                column.header = column.data;
            if (LowerCase(PlDat(k)).find(L"size") != std::wstring::npos)
                grid.SetColAlignment(col, CellAlignment::RightCenter);
        }
        grid.SetTextMatrix(0, col, StrCVar(column.header));
    }
}

void View::EvaluateItems() {
    rowCount = 0;
    rowItems.clear();
    if (ReadsSideBySide()) {
        EvaluateItemsSideBySide();
    } else {
        const size_t items = itemCount();
        Registry::CachedReads cachedReads(services_.registry);
        for (size_t r = 0; r < items; ++r) {
            host_.LetEventsRun();
            if (state_ != ViewState::Filling || abandoned_)
                break;
            cachedReads.NextItem();
            if (EvaluateRow(r))
                KeepRow(r);
            ShowItemsDone(r + 1, items);
        }
    }
    // A stopped fill keeps the rows found so far and no empty ones after them, and its caption no longer
    // looks like it is still filling.
    grid.SetRows(rowCount + 1);
    MakeRowNrs();
    ShowProgress(100);
}

void View::KeepRow(size_t r) {
    // The row counts once it is whole.
    const std::int32_t row = rowCount + 1;
    cellTexts[0] = std::to_wstring(row);
    for (size_t c = 0; c < cellTexts.size(); ++c)
        grid.SetTextMatrix(row, static_cast<int>(c), cellTexts[c]);
    rowItems.push_back(static_cast<std::uint32_t>(r));
    rowCount = row;
}

// Memory ran out: the rows already whole stay, the one under way goes, and the fill ends as a stopped one.
void View::EndFillOutOfMemory() {
    if (viewKind == ViewKind::IniTable) { // it keeps the sections written so far
        host_.ShowMessage(kOutOfMemoryMessage);
        return EndFill();
    }
    rowCount = std::min(rowCount, static_cast<std::int32_t>(rowItems.size()));
    rowItems.resize(static_cast<size_t>(rowCount));
    cellTexts.clear();
    grid.SetRows(rowCount + 1);
    MakeRowNrs();
    host_.ShowMessage(kOutOfMemoryMessage);
    EndFill();
}

void View::EndFill() {
    host_.SetBusyPointer(false);
    state_ = ViewState::Idle;
    host_.ShowCancelCommand(false);
    host_.FitToTable();
    MarkDifferences();
}

void View::GetCurWidths() {
    for (size_t c = 0; c < colMap.size() && c < static_cast<size_t>(grid.Cols()); ++c)
        if (colMap[c] >= 0)
            columns.column(colMap[c]).widthTwips = grid.ColWidth(static_cast<int>(c));
}

void View::FlipSort(int col) {
    if (!IsIdle())
        return;
    const int current = grid.Col();
    const int currentRow = grid.Row();
    grid.SetCol(col < 0 ? current : col);
    grid.Sort(state_ == ViewState::Idle ? SortOrder::GenericAscending : SortOrder::GenericDescending);
    sortColInfo = ColInfo(*this);
    grid.SetRow(currentRow);
    grid.SetCol(current);
    MakeRowNrs();
    state_ = state_ == ViewState::Idle ? ViewState::IdleDescending : ViewState::Idle;
    sortText = state_ == ViewState::IdleDescending ? L" Sorted ascending" : L" Sorted descending";
}

void View::SortColumn(int col, bool descending) {
    if (!IsIdle())
        return;
    state_ = descending ? ViewState::IdleDescending : ViewState::Idle;
    FlipSort(col);
}

bool View::FirstShown() {
    if (state_ != ViewState::New)
        return false;
    state_ = ViewState::Idle;
    return true;
}

void View::Stop() {
    if (state_ == ViewState::Filling)
        state_ = ViewState::StopRequested;
}

void View::Abandon() {
    abandoned_ = true;
    Stop();
}

void View::TakeEditedColumns(ViewDefinition edited) {
    columns = std::move(edited);
    if (customFile.empty())
        customFile = L"Untitled";
}

WriteResult View::SaveAsCustomFile(const std::wstring& path) {
    GetCurWidths();
    if (auto written = WriteCustomView(services_.ini, path, columns, twipsPerPixel_); !written)
        return written;
    customFile = path;
    host_.SetCaption(std::wstring(kCustomViewCaption) + FileNameOf(customFile));
    return {};
}

void View::selectall() {
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetRowSel(grid.Rows() - 1);
    grid.SetColSel(grid.Cols() - 1);
}

void View::ShowItemsDone(size_t done, size_t items) {
    ShowProgress(
        static_cast<int>(std::lround(static_cast<double>(done) * 100.0 / static_cast<double>(items))));
}

void View::ShowProgress(int percent) {
    std::wstring caption = host_.Caption();
    const size_t lastPercent = caption.rfind(L'%');
    size_t cut = caption.size();
    int old = -1;
    // A caption that already ends in " - nn%" has its old percentage in the two characters before the "%".
    if (lastPercent != std::wstring::npos && lastPercent > 5 && lastPercent + 1 == caption.size() &&
        caption.compare(lastPercent - 5, 3, L" - ") == 0) {
        cut = lastPercent - 5;
        old = LeadingNumber(std::wstring_view(caption).substr(lastPercent - 2, 2), 100);
    }
    if (percent == old)
        return;
    caption.resize(cut);
    if (percent < 100) {
        const std::wstring number = std::to_wstring(percent);
        caption += L" - " + std::wstring(number.size() < 2 ? 2 - number.size() : 0, L' ') + number + L"%";
    }
    host_.SetCaption(caption);
}

} // namespace vantrel
