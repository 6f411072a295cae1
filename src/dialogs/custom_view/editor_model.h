#pragma once
// The custom view editor's state and rules, apart from its window: the column grid, the view's base (a key
// or a folder) and its two frames, the column orders, in-place edits, moving and erasing columns, and the
// lists the editor offers (recent folders, regedit's favourites, data expressions found under the base key).
#include "engine/grid_model.h"
#include "sources/registry.h"
#include "views/definition.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

inline constexpr int kEditorRows = 14; // heading row + 13 definition columns
inline constexpr int kEditorCols = 6;
inline constexpr int kLastEditorRow = kEditorRows - 1;

enum EditorColumn : int {
    kLabelCol = 0,
    kWidthCol = 1,
    kDataCol = 2,
    kHeaderCol = 3,
    kConditionCol = 4,
    kExtraCol = 5
};

enum class RowOperation { Up = 0, Down = 1, Erase = 2 };

inline constexpr int kMaxDataListEntries = 2400;
inline constexpr int kMaxMruPaths = 9000;
inline constexpr int kMaxLevels = 63;
// The Data editor is widened to this when its list opens, so long expressions fit.
inline constexpr int kDataEditorListWidthTwips = 3750;
// Between the grid's right edge and its last column, when the Data column is widened to fill the grid.
inline constexpr int kGridFillMarginTwips = 105;

inline constexpr std::wstring_view kRegeditFavoritesKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit\\Favorites"; // under HKCU
inline constexpr std::wstring_view kRegeditFavoriteName = L"Vantrel base key";
inline constexpr std::wstring_view kRegeditCommand = L"Regedit.exe";
inline constexpr std::wstring_view kNewViewBase = L"HKLM\\System\\CurrentControlSet\\Services";

// In the upper-cased s, finds the first position of a and of b (both before either change); the character
// where a was found becomes b and the one where b was found becomes a. With b empty the first a is removed.
[[nodiscard]] std::wstring SwapOrderChars(std::wstring_view s, std::wstring_view a, std::wstring_view b);

// A recent-folder value stored as UTF-16 and read one byte per character ("p\0r\0o\0g\0\0\0C\0:\0...")
// holds a program name and a folder separated by a NUL: answers the folder + "\" + the program name.
[[nodiscard]] std::wstring CvtMbAsc(std::wstring_view bytes);

// True when the first five characters of the base, lower-cased, are one of "syste", "softw", "sam\s",
// "hkey_", "hklm\", "hkcu\", "hkus\", "hkcr\"; anything else is a folder base.
[[nodiscard]] bool IsRegistryBase(std::wstring_view base);

// The view window's caption after an edit: "Custom view: x" becomes "Edited custom view: x", any other
// caption gets "Edited - " in front, and a caption beginning with "Edit" stays as it is.
[[nodiscard]] std::wstring EditedViewCaption(std::wstring_view caption);

class EditorModel {
public:
    // Grid 14 x 6: row 0 headings "Col", " Width", "Data", "Header", "Condition", ""; column 0 labels
    // "  0".."  9", "  A", "  B", "  C"; widths 360, 600, 2040, 2000, 2000, 0 twips; current cell 1, 1.
    EditorModel();

    GridModel grid;                           // Grid1
    std::wstring caption;                     // the dialog caption
    std::wstring base, colsOrder, colsOrderD; // Text1 0, 1, 2
    bool sameOrder = true;                    // Check1 "Same column &order"
    bool folderBase = false;                  // false: the "&Base Key" frame shows; true: the folder frame
    std::wstring baseKey;                     // Combo1 text
    std::vector<std::wstring> baseKeys;       // Combo1 list
    std::wstring folder, fileMask, levels;    // Combo3 text, TxF, TxR
    std::vector<std::wstring> folders;        // Combo3 list
    std::vector<std::wstring> mruPaths;       // MruPaths, at most kMaxMruPaths
    std::vector<std::wstring> standardViews;  // Combo2: titles of built-in views 1..kListedBuiltInViews
    std::vector<std::wstring> dataList;       // DataList, at most kMaxDataListEntries; empty = not built
    int editCell = 0;                         // 0, or row * 6 + col of the cell being edited

    // "Editing: " + viewCaption as the caption, then LoadDefinition.
    void Load(const ViewDefinition& view, std::wstring_view viewCaption, int twipsPerPixel);
    // Text1 0..2 from the head; columns 1..5 of rows 1..13 cleared; then row i + 1 from column i for i =
    // 0..12 while its data is not empty, the width as whole pixels (twips / twipsPerPixel, cut).
    void LoadDefinition(const ViewDefinition& view, int twipsPerPixel);
    // The editor for a new registry view: emptied, with the row key's column and a hint in the row below,
    // on the services key.
    void ResetForNewView();
    // Columns from the rows down to the first empty Data cell (widths to the nearest twip, halves to even;
    // a width that is not a number, or gives 0, is 1200 twips); the column after the last gets empty data;
    // base, colsOrder and colsOrderD from Text1 0..2. The title is not touched.
    void ReadBack(ViewDefinition& view, int twipsPerPixel) const;

    // Each time the dialog shows: chooses the frame from `base`, fills the folder frame (folder, mask,
    // levels, recent folders) or the base key frame (base key, regedit's favourites), and the standard
    // views. Keys that are missing give fewer entries. The Data editor's own list is the dialog's to clear.
    void Activate(Registry& registry);

    // Data column widened so that the columns fill the grid, less a margin (never narrower than at start).
    void FitDataColumn(int gridWidthTwips);

    // Whether the in-place editor may open on a cell: not on row 0 or column 0, not on the row key's Data
    // cell (row 1), and not below a row whose Data cell is empty.
    [[nodiscard]] bool CanEdit(int row, int col) const;
    // Opens an edit on the cell when CanEdit allows it (editCell := row * 6 + col).
    [[nodiscard]] bool BeginEdit(int row, int col);
    // Writes text into the cell being edited (if any) and ends the edit; a row with Data gets the Width
    // "50" when it has none and the Header from the Data's last level when it has none.
    void Commit(std::wstring_view text);
    void CancelEdit() { editCell = 0; }
    bool Editing() const { return editCell != 0; }

    // Move up / down / erase the grid's current row; the order texts follow as the "Same column &order"
    // box says (always for Erase), and the current row follows the moved row.
    void MoveRows(RowOperation operation);
    // "&All ": colsOrderD := every column with Data, in row order; colsOrder too when it is empty.
    void AllColumns();
    // OK: rebuilds `base` from the visible frame: the base key, or folder (+ "\") + mask + "(" + levels +
    // ")".
    void Accept();

    // Recursion levels: the spin bar holds minus the level count, -kMaxLevels..0.
    int SpinValue() const { return spinValue_; }
    // The spin bar moved: levels := minus the value. Values out of range and non-changes are ignored.
    void SetSpinValue(int value);
    // Levels text typed: levels := text, and the spin bar follows when the text is a level count.
    void SetLevels(std::wstring_view text);
    // Arrow keys in the levels box: delta is added to the spin value (Up arrow -1, Down arrow +1).
    void LevelsStep(int delta);

    // What the Data editor's list gets when it opens, given how many entries it holds already: a folder
    // base offers the file tokens, a registry base the data expressions found under the base key, built on
    // first need and again whenever the base key is another than the one they were built for (letter case
    // does not count). Nothing once the list holds two or more entries (and, for a registry base, dataList
    // is built for this base key).
    [[nodiscard]] std::vector<std::wstring> DataEditorEntries(Registry& registry, size_t currentEntries);
    // Data expressions under the base key, for that key: the value paths that occur at least four times
    // among the rows, sorted without regard to case.
    void BuildDataList(Registry& registry);
    // Combo1's text changed: a data list built for another key is dropped and built again at the next
    // opening.
    void BaseKeyChanged(std::wstring_view text);

    // Delete, Shift+Delete, Ctrl+X, Ctrl+V: the selected block's cells from a text (tabs between cells, CR
    // or CR LF between rows); cells the text does not reach become empty. Fixed cells are never written.
    void SetSelectionText(std::wstring_view text);
    [[nodiscard]] std::wstring SelectionText() const { return grid.Clip(); }

    // "Add to &regedit's favorites": the base key as a regedit favourite (Windows error code).
    [[nodiscard]] long AddBaseKeyToFavorites(Registry& registry) const;
    // "&Launch Explorer": the command line that opens Explorer on the folder.
    [[nodiscard]] std::wstring ExplorerCommand() const;

    // The fixed entries of the Condition and extra-field editors, and the Data editor's file tokens.
    static const std::vector<std::wstring>& ConditionExamples();
    static const std::vector<std::wstring>& ExtraExamples();
    static const std::vector<std::wstring>& FileTokens();

private:
    std::wstring_view Data(int row) const { return grid.CellText(row, kDataCol); }
    void ShowFolderFrame(Registry& registry);
    void ShowBaseKeyFrame(Registry& registry);
    void ReadMruPaths(Registry& registry, std::wstring_view key);
    void EnumAdd(Registry& registry, const std::wstring& bas, const std::wstring& ind);
    void SwapRows(int r);
    bool DataListIsFor(std::wstring_view key) const;

    int spinValue_ = 0;
    std::wstring dataListKey_; // the base key dataList was built for
};

} // namespace vantrel
