#pragma once
// One view: its definition, the computer or folder it looks at, the enumerated items and the grid it fills.
// The window that shows it (ViewForm on Windows, a scripted host in tests) stays outside the engine.
#include "engine/match_list.h"
#include "engine/view_services.h"
#include "sources/ini_files.h"
#include "sources/registry.h"
#include "ui/grid_model.h"
#include "views/definition.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantrel {

// ViewState: 0 new, 1 or 2 idle (also the direction of the next sort), 4 filling, 8 stop requested.
namespace viewstate {
inline constexpr std::int16_t kNew = 0;
inline constexpr std::int16_t kIdle = 1;
inline constexpr std::int16_t kIdleDescending = 2;
inline constexpr std::int16_t kFilling = 4;
inline constexpr std::int16_t kStopRequested = 8;
} // namespace viewstate

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
};

class View {
public:
    View(ViewServices services, ViewHost& host, int twipsPerPixel);

    // Fills or refills the grid from the definition; while a fill runs, asks it to stop instead.
    void fillflex();

    // Evaluates item r (from 0) into rowValues and cellTexts; true when the row passes its conditions.
    bool EvaluateRow(size_t r);

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

    // Saves the view, with the widths shown now, as the custom view file `path`, which it then is.
    void SaveAsCustomFile(const std::wstring& path);

    // Sorts by grid column `col` (the current one when negative), ascending or descending as viewState says,
    // and reverses the direction for the next sort. Not while the view fills.
    void FlipSort(int col);

    // Selects the whole grid, the header row included.
    void selectall();

    // The computer, folder and custom view file an opener gives a view before it fills.
    void SetType(std::wstring computer, std::wstring folder, std::wstring customViewFile = {}) {
        computerName = std::move(computer);
        folderPath = std::move(folder);
        customFile = std::move(customViewFile);
    }
    const std::wstring& GetModeCus() const { return customFile; }

    // --- State (as the view window holds it) ---
    std::int16_t viewState = viewstate::kNew;
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
    std::vector<std::wstring> itemKeys; // itemCount is its size
    std::vector<std::wstring> rowKeys;  // row key of grid row n is rowKeys[n - 1]
    ViewDefinition columns;  // viewHead and colData, colWidths, colHeaders, colConditions, colExtras
    std::vector<int> colMap; // definition column of each grid column; -2 row numbers, -1 mark
    std::array<std::wstring, kLastColumn + 1> rowValues;
    std::vector<std::wstring> cellTexts; // text of each grid column for the row being evaluated
    GridModel grid;
    std::wstring sortText;    // " Sorted ascending" or " Sorted descending" after the last sort
    std::wstring sortColInfo; // the description of the column of the last sort

    // Fills of other kinds that the fill hands over to; each fills the grid itself.
    std::function<void(View&)> classListFill;

    size_t itemCount() const { return itemKeys.size(); }
    int twipsPerPixel() const { return twipsPerPixel_; }

private:
    void PrepareCaption();
    bool Enumerate();
    void ReadOsVersion();
    void LoadMatchList();
    void BuildColumnMap(const std::wstring& order);
    void SetUpGridColumns();
    void EvaluateItems();
    void EndFill();

    ViewServices services_;
    ViewHost& host_;
    int twipsPerPixel_;
    RowFileCache rowFile_;
};

} // namespace vantrel
