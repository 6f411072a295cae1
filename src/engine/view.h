#pragma once
// One view: its definition, the computer or folder it looks at, the enumerated items and the grid it fills.
// The window that shows it (ViewForm on Windows, a scripted host in tests) stays outside the engine.
#include "engine/cell_target.h"
#include "engine/grid_model.h"
#include "engine/match_list.h"
#include "engine/view_services.h"
#include "sources/registry.h"
#include "views/definition.h"
#include "views/ini_files.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

// What a view is doing. While idle, the state also holds the direction of the next sort.
enum class ViewState : std::int16_t {
    New = 0,            // not shown yet
    Idle = 1,           // the next sort is ascending
    IdleDescending = 2, // the next sort is descending
    Filling = 4,
    StopRequested = 8, // a fill runs and stops at its next item
};

enum class ViewKind : std::int32_t {
    Registry = 0,
    CustomFile = 1,
    ClassList = 2,
    IniTable = 3,
    Folder = 4,
    Merged = 5,
    MultiComputer = 6,
};

inline constexpr std::wstring_view kUninstallKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr std::wstring_view kLocalComputerRow = L"<local computer>";

// The computer a row of a multi-computer view reads: its item ("/NAME/") without the "/" around the name;
// empty for the local computer.
std::wstring ComputerOfRow(std::wstring_view item);

// What a new view window without a definition shows: the locally installed software.
inline constexpr std::wstring_view kDefaultDefinition =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall,1265,012ab4789653,Installed,|106,<Key>,Key,|"
    L"200,"
    L"DisplayName!*,DisplayName|100,DisplayVersion,Version|160,InstallSource,Source|55,InstallDate,Date|165,"
    L"InstallLocation,Location|105,Publisher|15,NoModify,!M|15,NoRemove,!U|15,NoRepair,!R|12,VersionMajor,V|"
    L"12,"
    L"VersionMinor,r";

// Everything the view reaches outside itself.
struct ViewServices {
    Registry& registry;
    FileSource& files;
    ComputerStatus& computers;
    const Environment& environment;
    MatchList& matchList;
    IniFiles& ini;
    // How many rows a fill that waits on the network evaluates at once; 1 evaluates one after the other.
    int readsInFlight = 1;
};

class View {
public:
    View(ViewServices services, ViewHost& host, int twipsPerPixel);
    // A copy that evaluates rows on a worker thread of a fill: the source's definitions and place, its
    // own row state, and the services given (which it may use from that thread).
    View(const View& source, ViewServices services, ViewHost& host);

    // Fills or refills the grid from the definition; while a fill runs, asks it to stop instead.
    void fillflex();

    // Evaluates item r (from 0) into rowValues and cellTexts; true when the row passes its conditions.
    bool EvaluateRow(size_t r) { return EvaluateItem(itemKeys[r]); }
    bool EvaluateItem(const std::wstring& item);

    // Substitutions of data expressions, headers, titles and conditions.
    std::wstring StrCVar(std::wstring text);
    std::wstring StrVVar(std::wstring text) const;
    std::wstring StrEVar(std::wstring text) const;
    // Data expression of definition column j without a trailing "!*", substituted; empty for j below 0.
    std::wstring PlDat(int j);
    std::wstring GetD(int j, const std::wstring& key);
    std::wstring GetM(int j, const std::wstring& path);

    // The caption with the progress of a fill: " - nn%" while below 100, nothing at 100.
    void ShowProgress(int percent);

    // The ini table of the file in folderPath: a row per section, a column per key.
    void FillIniTable(IniFiles& ini);

    // Keeps the widths the user gave the grid's columns for the next fill or save.
    void GetCurWidths();

    // Saves the view, with the widths shown now, as the custom view file `path`, which it then is. A view
    // that could not be saved stays what it was.
    [[nodiscard]] WriteResult SaveAsCustomFile(const std::wstring& path);

    // Sorts by grid column `col` (the current one when negative), ascending or descending as the state says,
    // and reverses the direction for the next sort. Not while the view fills.
    void FlipSort(int col);

    // Sorts by grid column `col` ascending, or descending, whatever the direction of the last sort was.
    // Not while the view fills.
    void SortColumn(int col, bool descending);

    // Selects the whole grid, the header row included.
    void selectall();

    ViewState state() const { return state_; }
    bool IsIdle() const { return state_ == ViewState::Idle || state_ == ViewState::IdleDescending; }
    bool IsFilling() const { return state_ == ViewState::Filling || state_ == ViewState::StopRequested; }
    // The window is up: a new view becomes idle and may fill. True only the first time.
    bool FirstShown();
    // A running fill stops at its next item, keeping the rows found so far; nothing when no fill runs.
    void Stop();
    // The window is going or the program ends: a running fill stops and no fill starts any more.
    void Abandon();

    // What the user changes of a view between fills.
    void SetMarkOption(bool on) { markOption = on; }
    // A class list the user edits becomes a registry view of the same classes.
    void SwitchToRegistryView() { viewKind = ViewKind::Registry; }
    // Columns edited in the custom view editor; a view without a file of its own is "Untitled" from now.
    void TakeEditedColumns(ViewDefinition edited);

    // --- Rows of several computers ---
    // The view becomes a row per computer ("" is the local one) of the item or the cells at `path`, and fills
    // so when next filled.
    void NewCompuRows(std::wstring path, const std::vector<std::wstring>& computers);
    // Grid column c: its header, data expression (naming its computer) and width. -1 no such column, 1 the
    // row-number or a mark column, 0 a data column, 2 a data column of a merged view whose next definition
    // column reads the same data.
    int GetACol(int c, std::wstring& header, std::wstring& data, int& widthTwips);
    // The item of row number n and the grid row showing it now; empty for no such row number (above the
    // rows, n becomes 0).
    std::wstring GetCol0(int& n, int& gridRow) const;
    std::wstring GetPlRt0(int& n) const;
    // The item of the row grid row `gridRow` shows, through the row number in its first column.
    std::wstring ItemOfGridRow(int gridRow) const;
    // Finds again which grid row shows which row number, after the grid was reordered.
    void MakeRowNrs();

    // The view's head (base, orders, title) and its base path.
    void GetColsT(ViewHead& head, std::wstring& base) const {
        head = columns.head;
        base = basePath;
    }

    // --- The registry value behind a cell ---
    // The path a cell stands for: its text with a leading %variable% expanded; a file-system path as it is;
    // else, in a key column (or past the columns), the row's item; the item's folder for "<relpath>".
    std::wstring CellPath(int gridRow, int gridCol);
    struct CellValue {
        std::wstring computer; // empty: the local one
        std::wstring keyPath;
        std::wstring valueName;
    };
    // The value a data cell of grid row `gridRow` reads: the row's item under the base, the column's data
    // expression as the value's name. A computer named in either ("/PC7/", as in merged and multi-computer
    // views) is taken out of it and is the one the value is on.
    CellValue CellValueOf(int gridRow, int gridCol);
    // What "P&roperties" leads to for a cell path: a GUID is looked up on the view's computer, a command
    // line that is no path as it is cut to its program, a file missing as it is tried as the item of grid
    // row `itemRow`.
    CellTarget PropertiesTarget(std::wstring cellPath, int itemRow);
    // Deletes that value, provided it still holds the cell's text, and clears the cell. The registry
    // layer's status: 0 when done.
    [[nodiscard]] long DeleteCellValue(int gridRow, int gridCol);

    // --- Tables made from other tables ---
    // This new view becomes the source's grid with rows and columns swapped (it has no definitions); false
    // when that failed and the window should go.
    [[nodiscard]] bool transpose(const View& source, std::wstring_view sourceCaption);
    // The match list becomes the texts of the current grid column.
    void AutoMatch();
    // This new view becomes the merge of the sources, one row per key, their same-position columns side by
    // side.
    void NewMergeFrom(std::span<View* const> sources);

    // --- Differences at a glance ---
    // Whether the view compares its cells: a merged view each column with the first of its group, a
    // multi-computer view each computer's row with the first computer's, and a window transposed from either.
    bool ComparesCells() const;
    // A data cell whose text differs from the one it is compared with.
    bool CellDiffers(int gridRow, int gridCol) const;
    // "Hi&ghlight differences": shades the differing cells (found now) or stops shading them.
    void HighlightDifferences(bool on);
    bool HighlightsDifferences() const { return grid.ShadingShown(); }
    // Finds the differing cells again after texts changed; nothing while they are not highlighted.
    void MarkDifferences();
    // The rows (of the view transposed, its columns) with a differing cell.
    int DifferingRowCount() const;

    // The computer, folder and custom view file an opener gives a view before it fills.
    void SetType(std::wstring computer, std::wstring folder, std::wstring customViewFile = {}) {
        computerName = std::move(computer);
        folderPath = std::move(folder);
        customFile = std::move(customViewFile);
    }
    const std::wstring& GetModeCus() const { return customFile; }

    // --- State (as the view window holds it) ---
    ViewKind viewKind = ViewKind::Registry;
    std::wstring definition;
    std::wstring customFile;
    std::wstring folderPath;
    std::wstring computerName;
    std::wstring filePattern;
    std::wstring dataVariable;
    bool markOption = false;
    std::wstring basePath{kUninstallKey};
    std::int32_t rowCount = 0;
    std::wstring osVersion;
    std::wstring servicePack;
    std::vector<std::wstring> itemKeys;  // itemCount is its size
    std::vector<std::uint32_t> rowItems; // row n shows item itemKeys[rowItems[n - 1]]
    std::vector<int> rowIndex;           // grid row showing row number n is rowIndex[n]
    ViewDefinition columns;  // viewHead and colData, colWidths, colHeaders, colConditions, colExtras
    std::vector<int> colMap; // definition column of each grid column; -2 row numbers, -1 mark
    std::array<std::wstring, kLastColumn + 1> rowValues;
    std::vector<std::wstring> cellTexts; // text of each grid column for the row being evaluated
    GridModel grid;
    std::wstring sortText;    // " Sorted ascending" or " Sorted descending" after the last sort
    std::wstring sortColInfo; // the description of the column of the last sort
    // In a merged view, the grid column each grid column is compared with: the first column of the group the
    // merge took it in; -1 for the first of a group and the columns that are no data.
    std::vector<int> mergePartners;

    size_t itemCount() const { return itemKeys.size(); }
    // The key of the item shown in row n (from 1).
    const std::wstring& RowKey(size_t n) const { return itemKeys[rowItems[n - 1]]; }
    std::vector<std::wstring> RowKeys() const;
    int twipsPerPixel() const { return twipsPerPixel_; }

private:
    void FillClassList();
    void PrepareCaption();
    bool Enumerate();
    // Lets window messages run in the middle of a long listing; false once the user stopped the fill.
    bool KeepFilling();
    // The ini table is done (filled or stopped): pointer, state and the cancel command back as before.
    void EndIniFill();
    void ReadOsVersion();
    void LoadMatchList();
    void BuildColumnMap(const std::wstring& order);
    void SetUpGridColumns();
    void EvaluateItems();
    // Whether evaluating a row may still ask for the data variable: it is not known yet, and the data or the
    // condition of a column shown (or the data of a column it falls back to) names it.
    bool MayAskDataVariable() const;
    // Whether the rows wait on the network (another computer's registry) and may be read side by side.
    bool ReadsSideBySide() const;
    void EvaluateItemsSideBySide();
    // The progress after `done` of `items` items.
    void ShowItemsDone(size_t done, size_t items);
    // Puts the evaluated row of item r below the rows kept so far.
    void KeepRow(size_t r);
    void EndFill();
    void FillWhileFilling();
    void EndFillOutOfMemory();

    int ReferenceRow() const;

    friend class SideBySideRows; // runs copies of the view on its workers

    ViewState state_ = ViewState::New;
    bool abandoned_ = false;
    // A window transposed from a view that compares its cells keeps which cells differed there; it has no
    // rule of its own to find them again.
    bool carriesDifferences_ = false;
    ViewServices services_;
    ViewHost& host_;
    int twipsPerPixel_;
    RowFileCache rowFile_;
};

} // namespace vantrel
