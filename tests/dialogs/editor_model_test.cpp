// The custom view editor apart from its window: loading and reading back definitions, in-place edits,
// moving and erasing columns with their order characters, the two base frames, and the lists it offers
// from the registry (recent folders, regedit's favourites, data expressions under the base key).
#include "dialogs/custom_view/editor_model.h"

#include "support/memory_registry.h"
#include "views/catalogue.h"
#include "views/text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantrel {
namespace {

using namespace std::literals;
using test::MemoryRegistry;
using Texts = std::vector<std::wstring>;
constexpr auto HKLM = RootKey::LocalMachine;
constexpr auto HKCU = RootKey::CurrentUser;
constexpr auto HKCR = RootKey::ClassesRoot;
constexpr int kTwipsPerPixel = 15;
const std::wstring kComDlg32 = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";
const std::wstring kFavorites = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit\\Favorites";

// A view with `count` columns: data D0.., header H0.., condition C0.., extra E0.., widths 10.. pixels.
ViewDefinition ViewWithColumns(int count) {
    ViewDefinition view;
    view.head = {L"Software\\Acme", L"012", L"0123", L"Acme"};
    for (int i = 0; i < count; ++i) {
        const std::wstring n = std::to_wstring(i);
        view.column(i) = {(10 + i) * kTwipsPerPixel, L"D" + n, L"H" + n, L"C" + n, L"E" + n};
    }
    return view;
}

EditorModel LoadedWith(int count) {
    EditorModel model;
    model.Load(ViewWithColumns(count), L"Acme view", kTwipsPerPixel);
    return model;
}

// Width, Data, Header, Condition and extra field of a row.
Texts RowCells(const EditorModel& model, int row) {
    Texts cells;
    for (int col = kWidthCol; col < kEditorCols; ++col)
        cells.push_back(model.grid.TextMatrix(row, col));
    return cells;
}

Texts DataCells(const EditorModel& model) {
    Texts cells;
    for (int row = 1; row < kEditorRows; ++row)
        cells.push_back(model.grid.TextMatrix(row, kDataCol));
    return cells;
}

// The Data cells of rows 1..13: the given texts, then empty cells.
Texts DataRows(Texts filled) {
    filled.resize(kEditorRows - 1);
    return filled;
}

Texts LoadedRow(int i) {
    const std::wstring n = std::to_wstring(i);
    return {std::to_wstring(10 + i), L"D" + n, L"H" + n, L"C" + n, L"E" + n};
}

// ---- The free rules ----

TEST(SwapOrderChars, ExchangesTheTwoCharactersFoundBeforeEitherChange) {
    EXPECT_EQ(SwapOrderChars(L"1245", L"2", L"3"), L"1345");
    EXPECT_EQ(SwapOrderChars(L"1345", L"3", L"4"), L"1435");
    EXPECT_EQ(SwapOrderChars(L"23", L"2", L"3"), L"32");
    EXPECT_EQ(SwapOrderChars(L"014", L"7", L"8"), L"014");
    EXPECT_EQ(SwapOrderChars(L"", L"2", L"3"), L"");
}

TEST(SwapOrderChars, FindsLabelsInEitherCaseAndWritesTheLabels) {
    EXPECT_EQ(SwapOrderChars(L"01ab", L"A", L"B"), L"01BA");
    EXPECT_EQ(SwapOrderChars(L"9a", L"9", L"A"), L"A9");
    // Only the first of each is exchanged.
    EXPECT_EQ(SwapOrderChars(L"2121", L"1", L"2"), L"1221");
}

TEST(SwapOrderChars, AnEmptySecondRemovesTheFirstOccurrence) {
    EXPECT_EQ(SwapOrderChars(L"0152", L"2", L""), L"015");
    EXPECT_EQ(SwapOrderChars(L"2020", L"2", L""), L"020");
    EXPECT_EQ(SwapOrderChars(L"01c", L"C", L""), L"01");
    EXPECT_EQ(SwapOrderChars(L"01", L"C", L""), L"01");
}

TEST(CvtMbAsc, KeepsEveryOtherByteAndPutsTheFolderBeforeTheProgram) {
    const std::wstring bytes = L"n\0o\0t\0e\0.\0e\0x\0e\0\0\0C\0:\0\\\0D\0o\0c\0s\0\0\0"s;
    EXPECT_EQ(CvtMbAsc(bytes), L"C:\\Docs\\note.exe");
    // An odd last byte is not kept.
    EXPECT_EQ(CvtMbAsc(L"a\0\0\0D\0:\0X"s), L"D:\\a");
    EXPECT_EQ(CvtMbAsc(L""), L"\\");
}

TEST(IsRegistryBase, DecidesByTheFirstFiveCharactersInAnyCase) {
    for (const std::wstring_view base :
         {L"hklm\\Software"sv, L"HKLM\\SOFTWARE\\x"sv, L"Software\\x"sv,
          L"SYSTEM\\CurrentControlSet\\Services"sv, L"SAM\\SAM"sv, L"HKEY_CLASSES_ROOT\\CLSID"sv,
          L"hkcu\\Software"sv, L"HKUS\\.DEFAULT"sv, L"HKCR\\Clsid"sv})
        EXPECT_TRUE(IsRegistryBase(base)) << std::wstring(base);
    for (const std::wstring_view base : {L"\\\\server\\share\\*.msi(1)"sv, L"C:\\Windows\\*.dll(2)"sv,
                                         L"samples\\x"sv, L"HKLM/Software"sv, L""sv, L"Soft"sv})
        EXPECT_FALSE(IsRegistryBase(base)) << std::wstring(base);
}

TEST(EditedViewCaption, MarksACaptionOnce) {
    EXPECT_EQ(EditedViewCaption(L"Custom view: a.kvf"), L"Edited custom view: a.kvf");
    EXPECT_EQ(EditedViewCaption(L"Services view"), L"Edited - Services view");
    EXPECT_EQ(EditedViewCaption(L"Edited - Services view"), L"Edited - Services view");
    EXPECT_EQ(EditedViewCaption(L"Edited custom view: a.kvf"), L"Edited custom view: a.kvf");
}

// ---- The grid, loading and reading back ----

TEST(EditorGrid, StartsWithHeadingsRowLabelsAndWidths) {
    const EditorModel model;
    ASSERT_EQ(model.grid.Rows(), kEditorRows);
    ASSERT_EQ(model.grid.Cols(), kEditorCols);
    Texts headings;
    Texts labels;
    std::vector<int> widths;
    for (int col = 0; col < kEditorCols; ++col) {
        headings.push_back(model.grid.TextMatrix(0, col));
        widths.push_back(model.grid.ColWidth(col));
    }
    for (int row = 1; row < kEditorRows; ++row)
        labels.push_back(model.grid.TextMatrix(row, kLabelCol));
    EXPECT_EQ(headings, (Texts{L"Col", L" Width", L"Data", L"Header", L"Condition", L""}));
    EXPECT_EQ(labels, (Texts{L"  0", L"  1", L"  2", L"  3", L"  4", L"  5", L"  6", L"  7", L"  8", L"  9",
                             L"  A", L"  B", L"  C"}));
    EXPECT_EQ(widths, (std::vector<int>{360, 600, 2040, 2000, 2000, 0}));
    EXPECT_EQ(DataCells(model), DataRows({}));
    EXPECT_FALSE(model.Editing());
}

TEST(EditorGrid, DataColumnWidensToFillTheGridButNeverNarrows) {
    EditorModel model;
    model.FitDataColumn(360 + 600 + 3000 + 2000 + 2000 + 105);
    EXPECT_EQ(model.grid.ColWidth(kDataCol), 3000);
    model.FitDataColumn(5000);
    EXPECT_EQ(model.grid.ColWidth(kDataCol), 3000);
}

TEST(EditorLoad, FillsCaptionHeadAndOneRowPerColumn) {
    ViewDefinition view = ViewWithColumns(3);
    view.column(1).widthTwips = 1514; // 100.9 pixels are cut to 100
    view.column(2).widthTwips = 0;
    EditorModel model;
    model.Load(view, L"Acme view - Local", kTwipsPerPixel);
    EXPECT_EQ(model.caption, L"Editing: Acme view - Local");
    EXPECT_EQ(model.base, L"Software\\Acme");
    EXPECT_EQ(model.colsOrder, L"012");
    EXPECT_EQ(model.colsOrderD, L"0123");
    EXPECT_EQ(RowCells(model, 1), LoadedRow(0));
    EXPECT_EQ(RowCells(model, 2), (Texts{L"100", L"D1", L"H1", L"C1", L"E1"}));
    EXPECT_EQ(RowCells(model, 3), (Texts{L"0", L"D2", L"H2", L"C2", L"E2"}));
    EXPECT_EQ(RowCells(model, 4), (Texts(5)));
}

TEST(EditorLoad, LoadDefinitionLeavesTheCaptionToTheCaller) {
    EditorModel model;
    model.caption = L"New registry view";
    model.LoadDefinition(ViewWithColumns(2), kTwipsPerPixel);
    EXPECT_EQ(model.caption, L"New registry view");
    EXPECT_EQ(RowCells(model, 2), LoadedRow(1));
}

TEST(EditorLoad, AShorterViewAfterALongerOneLeavesNoRowsBehind) {
    EditorModel model = LoadedWith(8);
    model.Load(ViewWithColumns(3), L"Short", kTwipsPerPixel);
    EXPECT_EQ(DataCells(model), DataRows({L"D0", L"D1", L"D2"}));
    for (int row = 4; row < kEditorRows; ++row)
        EXPECT_EQ(RowCells(model, row), Texts(5)) << row;
    EXPECT_EQ(model.grid.TextMatrix(4, kLabelCol), L"  3");
}

TEST(EditorReadBack, EndsTheDefinitionAtTheFirstEmptyDataCellAndKeepsTheTitle) {
    EditorModel model = LoadedWith(3);
    model.base = L"Software\\Other";
    model.colsOrder = L"10";
    model.colsOrderD = L"210";
    model.grid.SetTextMatrix(2, kHeaderCol, L"Version");
    ViewDefinition view = ViewWithColumns(8);
    view.head.title = L"Kept";
    model.ReadBack(view, kTwipsPerPixel);
    EXPECT_EQ(view.head, (ViewHead{L"Software\\Other", L"10", L"210", L"Kept"}));
    EXPECT_EQ(view.column(0), ViewWithColumns(3).column(0));
    EXPECT_EQ(view.column(1).header, L"Version");
    EXPECT_EQ(view.column(2), ViewWithColumns(3).column(2));
    EXPECT_EQ(view.column(3).data, L"");
}

TEST(EditorReadBack, WidthsRoundHalfToEvenAndUnusableWidthsBecome1200Twips) {
    const auto widthTwips = [](std::wstring_view width, int twipsPerPixel) {
        EditorModel model = LoadedWith(1);
        model.grid.SetTextMatrix(1, kWidthCol, std::wstring(width));
        ViewDefinition view;
        model.ReadBack(view, twipsPerPixel);
        return view.column(0).widthTwips;
    };
    EXPECT_EQ(widthTwips(L"50", 15), 750);
    EXPECT_EQ(widthTwips(L" 50 ", 15), 750);
    EXPECT_EQ(widthTwips(L"1.25", 2), 2);
    EXPECT_EQ(widthTwips(L"1.75", 2), 4);
    EXPECT_EQ(widthTwips(L"1.3", 2), 3);
    EXPECT_EQ(widthTwips(L"abc", 15), 1200);
    EXPECT_EQ(widthTwips(L"50px", 15), 1200);
    EXPECT_EQ(widthTwips(L"", 15), 1200);
    EXPECT_EQ(widthTwips(L"0", 15), 1200);
    EXPECT_EQ(widthTwips(L"0.2", 2), 1200); // 0.4 twips round to 0
    EXPECT_EQ(widthTwips(L"1e300", 15), 1200);
}

// ---- In-place editing ----

TEST(EditorEdit, BeginEditRemembersTheCellIndex) {
    EditorModel model = LoadedWith(3);
    EXPECT_FALSE(model.BeginEdit(5, kDataCol));
    EXPECT_EQ(model.editCell, 0);
    EXPECT_TRUE(model.BeginEdit(4, kConditionCol));
    EXPECT_EQ(model.editCell, 4 * 6 + 4);
    EXPECT_TRUE(model.Editing());
}

TEST(EditorEdit, CommittedDataGetsWidth50AndAHeaderFromItsLastLevel) {
    EditorModel model = LoadedWith(2);
    ASSERT_TRUE(model.BeginEdit(3, kDataCol));
    model.Commit(L"Software\\x\\DisplayName");
    EXPECT_EQ(RowCells(model, 3), (Texts{L"50", L"Software\\x\\DisplayName", L"DisplayName", L"", L""}));
    EXPECT_FALSE(model.Editing());

    ASSERT_TRUE(model.BeginEdit(4, kDataCol));
    model.Commit(L"InprocServer32\\");
    EXPECT_EQ(RowCells(model, 4), (Texts{L"50", L"InprocServer32\\", L"InprocServer32", L"", L""}));

    ASSERT_TRUE(model.BeginEdit(5, kDataCol));
    model.Commit(L"Version");
    EXPECT_EQ(RowCells(model, 5), (Texts{L"50", L"Version", L"Version", L"", L""}));
}

TEST(EditorEdit, CommitKeepsAWidthAndHeaderThatAreThere) {
    EditorModel model = LoadedWith(2);
    ASSERT_TRUE(model.BeginEdit(2, kDataCol));
    model.Commit(L"Other\\Value");
    EXPECT_EQ(RowCells(model, 2), (Texts{L"11", L"Other\\Value", L"H1", L"C1", L"E1"}));
    // An emptied header comes back from the data.
    ASSERT_TRUE(model.BeginEdit(2, kHeaderCol));
    model.Commit(L"");
    EXPECT_EQ(model.grid.TextMatrix(2, kHeaderCol), L"Value");
    // An emptied width stays empty once the data is gone.
    ASSERT_TRUE(model.BeginEdit(3, kWidthCol));
    model.Commit(L"");
    EXPECT_EQ(RowCells(model, 3), Texts(5));
}

TEST(EditorEdit, NothingIsWrittenWithoutAnOpenEdit) {
    EditorModel model = LoadedWith(2);
    model.Commit(L"Lost");
    ASSERT_TRUE(model.BeginEdit(3, kDataCol));
    model.CancelEdit();
    EXPECT_FALSE(model.Editing());
    model.Commit(L"Lost");
    EXPECT_EQ(DataCells(model), DataRows({L"D0", L"D1"}));
    EXPECT_EQ(RowCells(model, 3), Texts(5));
}

// ---- Move up, move down, erase ----

class EditorMoves : public ::testing::Test {
protected:
    void LoadOrders(int count, std::wstring_view order) {
        model = LoadedWith(count);
        model.colsOrder = order;
        model.colsOrderD = order;
    }
    void RunOn(int row, RowOperation operation) {
        model.grid.SetRow(row);
        model.MoveRows(operation);
    }
    EditorModel model;
};

TEST_F(EditorMoves, DownOnTheLastFilledRowMovesNothing) {
    LoadOrders(4, L"0123");
    RunOn(4, RowOperation::Down);
    EXPECT_EQ(DataCells(model), DataRows({L"D0", L"D1", L"D2", L"D3"}));
    EXPECT_EQ(RowCells(model, 5), Texts(5));
    EXPECT_EQ(model.colsOrder, L"0123");
}

TEST_F(EditorMoves, DownWithoutSameOrderKeepsTheOrders) {
    LoadOrders(6, L"1245");
    model.sameOrder = false;
    RunOn(3, RowOperation::Down);
    EXPECT_EQ(RowCells(model, 4), LoadedRow(2));
    EXPECT_EQ(model.colsOrder, L"1245");
    EXPECT_EQ(model.colsOrderD, L"1245");
}

TEST_F(EditorMoves, UpExchangesWithTheRowAboveAndFollowsIt) {
    LoadOrders(6, L"1245");
    model.grid.SetTextMatrix(4, kHeaderCol, L"  spaced  ");
    model.grid.SetTextMatrix(3, kExtraCol, L" Notepad %1 ");
    RunOn(4, RowOperation::Up);
    EXPECT_EQ(RowCells(model, 3), (Texts{L"13", L"D3", L"spaced", L"C3", L"E3"}));
    EXPECT_EQ(RowCells(model, 4), (Texts{L"12", L"D2", L"H2", L"C2", L"Notepad %1"}));
    EXPECT_EQ(model.grid.Row(), 3);
    EXPECT_EQ(model.colsOrder, L"1345");
}

TEST_F(EditorMoves, EraseFindsLetterOrderCharactersInEitherCase) {
    LoadOrders(12, L"01ab");
    model.colsOrderD = L"0AB1";
    RunOn(11, RowOperation::Erase); // column A
    EXPECT_EQ(model.grid.TextMatrix(11, kDataCol), L"D11");
    EXPECT_EQ(model.grid.TextMatrix(12, kDataCol), L"");
    EXPECT_EQ(model.colsOrder, L"01A");
    EXPECT_EQ(model.colsOrderD, L"0A1");
}

TEST_F(EditorMoves, EraseOnTheLastRowOfTheGrid) {
    LoadOrders(13, L"0123456789ABC");
    RunOn(13, RowOperation::Erase);
    EXPECT_EQ(RowCells(model, 13), Texts(5));
    EXPECT_EQ(RowCells(model, 12), LoadedRow(11));
    EXPECT_EQ(model.colsOrder, L"0123456789AB");
    EXPECT_EQ(model.grid.Row(), 13);
}

TEST_F(EditorMoves, AllListsEveryFilledRow) {
    model = LoadedWith(12);
    model.colsOrder.clear();
    model.AllColumns();
    EXPECT_EQ(model.colsOrderD, L"0123456789AB");
    EXPECT_EQ(model.colsOrder, L"0123456789AB");

    model.colsOrder = L"12";
    model.grid.SetTextMatrix(3, kDataCol, L""); // a gap still counts the rows below it
    model.AllColumns();
    EXPECT_EQ(model.colsOrderD, L"013456789AB");
    EXPECT_EQ(model.colsOrder, L"12");
}

// ---- The selection as text ----

TEST(EditorSelection, PastedTextFillsTheBlockAndEmptiesWhatItDoesNotReach) {
    EditorModel model = LoadedWith(4);
    model.grid.SetRow(2);
    model.grid.SetCol(kHeaderCol);
    model.grid.SetRowSel(4);
    model.grid.SetColSel(kConditionCol);
    model.SetSelectionText(L"a\tb\r\nc\"\t \"d");
    EXPECT_EQ(RowCells(model, 2), (Texts{L"11", L"D1", L"a", L"b", L"E1"}));
    EXPECT_EQ(RowCells(model, 3), (Texts{L"12", L"D2", L"c\"", L" \"d", L"E2"}));
    EXPECT_EQ(RowCells(model, 4), (Texts{L"13", L"D3", L"", L"", L"E3"}));
    EXPECT_EQ(model.SelectionText(), L"a\tb\rc\"\t \"d\r\t");
}

TEST(EditorSelection, EmptyTextClearsTheBlockButNeverTheLabelsOrHeadings) {
    EditorModel model = LoadedWith(3);
    model.grid.SetRow(0);
    model.grid.SetCol(0);
    model.grid.SetRowSel(2);
    model.grid.SetColSel(kExtraCol);
    model.SetSelectionText(L"");
    EXPECT_EQ(RowCells(model, 1), Texts(5));
    EXPECT_EQ(RowCells(model, 2), Texts(5));
    EXPECT_EQ(RowCells(model, 3), LoadedRow(2));
    EXPECT_EQ(model.grid.TextMatrix(0, kDataCol), L"Data");
    EXPECT_EQ(model.grid.TextMatrix(1, kLabelCol), L"  0");
}

TEST(EditorSelection, CopyThenPasteMovesABlock) {
    EditorModel model = LoadedWith(3);
    model.grid.SetRow(1);
    model.grid.SetCol(kDataCol);
    model.grid.SetRowSel(2);
    model.grid.SetColSel(kHeaderCol);
    const std::wstring copied = model.SelectionText();
    model.grid.SetRow(4);
    model.grid.SetCol(kDataCol);
    model.grid.SetRowSel(5);
    model.grid.SetColSel(kHeaderCol);
    model.SetSelectionText(copied);
    EXPECT_EQ(DataCells(model), DataRows({L"D0", L"D1", L"D2", L"D0", L"D1"}));
    EXPECT_EQ(model.grid.TextMatrix(5, kHeaderCol), L"H1");
}

// ---- Levels ----

TEST(EditorLevels, SpinHoldsMinusTheLevelsWithinRange) {
    EditorModel model;
    model.SetLevels(L"5");
    EXPECT_EQ(model.SpinValue(), -5);
    model.SetLevels(L"abc"); // not a number: the spin bar stays
    EXPECT_EQ(model.levels, L"abc");
    EXPECT_EQ(model.SpinValue(), -5);
    model.SetLevels(L"64");
    EXPECT_EQ(model.SpinValue(), -5);
    model.SetSpinValue(-10);
    EXPECT_EQ(model.levels, L"10");
    model.SetSpinValue(-64);
    EXPECT_EQ(model.levels, L"10");
    EXPECT_EQ(model.SpinValue(), -10);
}

TEST(EditorLevels, ArrowKeysStepAndStopAtTheEnds) {
    EditorModel model;
    model.SetLevels(L"1");
    model.LevelsStep(-1); // Up arrow
    EXPECT_EQ(model.levels, L"2");
    model.LevelsStep(+1); // Down arrow
    model.LevelsStep(+1);
    EXPECT_EQ(model.levels, L"0");
    model.LevelsStep(+1);
    EXPECT_EQ(model.levels, L"0");
    EXPECT_EQ(model.SpinValue(), 0);
    model.SetLevels(L"63");
    model.LevelsStep(-1);
    EXPECT_EQ(model.levels, L"63");
    EXPECT_EQ(model.SpinValue(), -63);
}

// ---- Activation, the frames and OK ----

class EditorActivation : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(memory.OpenHandleCount(), 0u) << "a handle was left open";
        EXPECT_EQ(memory.BadCloseCount(), 0u);
    }
    void ActivateOn(std::wstring_view base) {
        ViewDefinition view = ViewWithColumns(2);
        view.head.base = base;
        model.Load(view, L"View", kTwipsPerPixel);
        model.Activate(registry);
    }
    void AddFavorite(std::wstring_view name, std::wstring_view key) {
        memory.SetString(L"", HKCU, kFavorites, name, L"My Computer\\" + std::wstring(key));
    }
    void AddMruText(std::wstring_view key, std::wstring_view name, std::wstring_view text) {
        memory.SetString(L"", HKCU, kComDlg32 + std::wstring(key), name, text);
    }
    // A LastVisitedMRU entry: program and folder as UTF-16, stored as binary.
    void AddMruBinary(std::wstring_view key, std::wstring_view name, std::wstring_view program,
                      std::wstring_view folder) {
        const std::wstring text = std::wstring(program) + L'\0' + std::wstring(folder);
        memory.SetBinary(L"", HKCU, kComDlg32 + std::wstring(key), name, test::Utf16Bytes(text, true));
    }

    MemoryRegistry memory;
    Registry registry{memory};
    EditorModel model;
};

TEST_F(EditorActivation, OkGivesATypedFolderItsFinalBackslash) {
    ActivateOn(L"C:\\Windows\\*.dll(2)");
    model.folder = L"D:\\Data";
    model.fileMask = L"*.msi;*.mst";
    model.LevelsStep(-1);
    model.Accept();
    EXPECT_EQ(model.base, L"D:\\Data\\*.msi;*.mst(3)");
}

TEST_F(EditorActivation, OkTakesTheBaseKeyFromItsCombo) {
    ActivateOn(L"Software\\Acme");
    model.BaseKeyChanged(L"HKCR\\CLSID");
    model.Accept();
    EXPECT_EQ(model.base, L"HKCR\\CLSID");
}

TEST_F(EditorActivation, FavouritesOfTheMachineAndClassesRootsFollowTheBaseKeyNewestLast) {
    AddFavorite(L"Acme", L"HKEY_LOCAL_MACHINE\\Software\\Acme");
    AddFavorite(L"Mine", L"HKEY_CURRENT_USER\\Software\\Mine");
    AddFavorite(L"Classes", L"HKEY_CLASSES_ROOT\\CLSID");
    AddFavorite(L"Users", L"HKEY_USERS\\.DEFAULT");
    ActivateOn(L"Software\\Base");
    EXPECT_EQ(model.baseKeys, (Texts{L"Software\\Base", L"Software\\Classes\\CLSID", L"Software\\Acme"}));
}

TEST_F(EditorActivation, AtMost200FavouritesAreRead) {
    for (int i = 0; i < 210; ++i)
        AddFavorite(L"F" + std::to_wstring(i), L"HKEY_LOCAL_MACHINE\\K" + std::to_wstring(i));
    ActivateOn(L"Software\\Base");
    ASSERT_EQ(model.baseKeys.size(), 201u);
    EXPECT_EQ(model.baseKeys[1], L"K199");
    EXPECT_EQ(model.baseKeys.back(), L"K0");
}

TEST_F(EditorActivation, AddedFavouriteIsOfferedNextTime) {
    ActivateOn(L"Software\\Acme");
    model.BaseKeyChanged(L"Software\\Contoso\\Tools");
    EXPECT_EQ(model.AddBaseKeyToFavorites(registry), winerror::kSuccess);
    const auto data = memory.Get(L"", HKCU, kFavorites, L"Vantrel base key");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(
        *data,
        (RegistryData{regtype::kSz,
                      test::Utf16Bytes(L"My Computer\\HKEY_LOCAL_MACHINE\\Software\\Contoso\\Tools", true)}));
    ActivateOn(L"Software\\Acme");
    EXPECT_EQ(model.baseKeys, (Texts{L"Software\\Acme", L"Software\\Contoso\\Tools"}));
}

TEST_F(EditorActivation, RecentFoldersAreSortedAndDeDuplicatedWithoutCase) {
    AddMruBinary(L"\\LastVisitedMRU", L"a", L"notepad.exe", L"C:\\Docs");
    AddMruBinary(L"\\LastVisitedMRU", L"b", L"kivo.exe", L"D:\\Views");
    AddMruText(L"\\LastVisitedMRU", L"MRUList", L"ab");
    AddMruText(L"\\OpenSaveMRU\\*", L"a", L"c:\\docs\\report.doc");
    AddMruText(L"\\OpenSaveMRU\\*", L"MRUList", L"Z:\\Skipped\\x.txt");
    AddMruText(L"\\OpenSaveMRU\\kvf", L"a", L"B:\\Kvf\\a.kvf");
    AddMruText(L"\\OpenSaveMRU\\kvf", L"mruLower", L"A:\\Kept\\b.kvf"); // only "MRU" exactly is skipped
    AddMruText(L"\\OpenSaveMRU\\zip", L"a", L"nofolder.zip");
    ActivateOn(L"E:\\Work\\*.*(1)");

    EXPECT_EQ(model.mruPaths.size(), 6u);
    ASSERT_EQ(model.folders.size(), 5u);
    EXPECT_EQ(model.folders[0], L"E:\\Work\\");
    EXPECT_EQ(model.folders[1], L"A:\\Kept\\");
    EXPECT_EQ(model.folders[2], L"B:\\Kvf\\");
    EXPECT_EQ(LowerCase(model.folders[3]), L"c:\\docs\\");
    EXPECT_EQ(model.folders[4], L"D:\\Views\\");
}

TEST_F(EditorActivation, RecentFoldersGrowWithEveryActivationButAreOfferedOnce) {
    AddMruText(L"\\OpenSaveMRU", L"a", L"C:\\Docs\\a.txt");
    ActivateOn(L"E:\\Work\\*.*(1)");
    ActivateOn(L"E:\\Work\\*.*(1)");
    EXPECT_EQ(model.mruPaths, (Texts{L"C:\\Docs\\", L"C:\\Docs\\"}));
    EXPECT_EQ(model.folders, (Texts{L"E:\\Work\\", L"C:\\Docs\\"}));
}

TEST_F(EditorActivation, AtMost999ValuesOfOneMruKeyAreRead) {
    for (int i = 0; i < 1001; ++i)
        AddMruText(L"\\OpenSaveMRU\\doc", L"v" + std::to_wstring(i),
                   L"C:\\F" + std::to_wstring(i) + L"\\x.doc");
    ActivateOn(L"E:\\Work\\*.*(1)");
    ASSERT_EQ(model.mruPaths.size(), 999u);
    EXPECT_EQ(model.mruPaths.back(), L"C:\\F998\\");
}

// ---- The Data editor's list ----

class EditorDataList : public EditorActivation {
protected:
    // One row key per entry of `valuesByRow`, each with those values under `base`.
    void AddRows(RootKey root, std::wstring_view base, const std::vector<Texts>& valuesByRow) {
        int row = 0;
        for (const Texts& values : valuesByRow) {
            const std::wstring key = std::wstring(base) + L"\\Row" + std::to_wstring(row++);
            for (const std::wstring& value : values)
                memory.SetString(L"", root, key, value, L"data");
        }
    }
};

TEST_F(EditorDataList, KeepsExpressionsSeenAtLeastFourTimesSortedWithoutCase) {
    const Texts values{L"zeta", L"alpha", L"Beta"};
    // OwnValue is in three rows only: the base key's own value does not count as a fourth.
    AddRows(HKLM, L"Software\\Acme",
            {values, values, values, values, {L"OwnValue", L"zeta"}, {L"OwnValue"}, {L"OwnValue"}});
    memory.SetString(L"", HKLM, L"Software\\Acme", L"OwnValue", L"x");
    ActivateOn(L"Software\\Acme");
    model.BuildDataList(registry);
    EXPECT_EQ(model.dataList, (Texts{L"alpha", L"Beta", L"zeta"}));
}

TEST_F(EditorDataList, SubkeyValuesBecomePathsBelowTheRowKey) {
    const Texts values{L"Name"};
    AddRows(HKCR, L"CLSID", {values, values, values, values});
    for (int row = 0; row < 4; ++row)
        memory.SetString(L"", HKCR, L"CLSID\\Row" + std::to_wstring(row) + L"\\InprocServer32", L"",
                         L"x.dll");
    ActivateOn(L"HKCR\\CLSID");
    model.BuildDataList(registry);
    EXPECT_EQ(model.dataList, (Texts{L"InprocServer32\\", L"Name"}));
}

TEST_F(EditorDataList, AShorterExpressionCountsForTheLongerOneItBegins) {
    AddRows(HKLM, L"Software\\Acme", {{L"DisplayName"}, {L"DisplayName"}, {L"displayname"}, {L"Display"}});
    ActivateOn(L"Software\\Acme");
    model.BuildDataList(registry);
    EXPECT_EQ(model.dataList, Texts{L"DisplayName"});
}

TEST_F(EditorDataList, RowsFromAWildcardLevelStandForOneRow) {
    for (const std::wstring_view user : {L"S-1-5-18"sv, L"S-1-5-21"sv})
        for (int product = 0; product < 2; ++product)
            memory.SetString(L"", HKLM,
                             L"Software\\Installer\\UserData\\" + std::wstring(user) + L"\\Products\\P" +
                                 std::to_wstring(product),
                             L"LocalPackage", L"x.msi");
    ActivateOn(L"Software\\Installer\\UserData\\*\\Products");
    model.BuildDataList(registry);
    EXPECT_EQ(model.dataList, Texts{L"LocalPackage"});
}

TEST_F(EditorDataList, AtMost400ValuesOfAKeyAreRead) {
    Texts values;
    for (int i = 0; i < 410; ++i)
        values.push_back(L"V" + std::to_wstring(i));
    AddRows(HKLM, L"Software\\Acme", {values, values, values, values});
    ActivateOn(L"Software\\Acme");
    model.BuildDataList(registry);
    EXPECT_EQ(model.dataList.size(), 400u);
    EXPECT_EQ(std::ranges::count(model.dataList, L"V399"), 1);
    EXPECT_EQ(std::ranges::count(model.dataList, L"V400"), 0);
}

TEST_F(EditorDataList, StopsReadingAt2400Entries) {
    // 3 + 6 * 399 = 2397 entries before Row9, which has room for three more: its "Late" would be the
    // fourth and keep it.
    Texts filler;
    for (int i = 0; i < 399; ++i)
        filler.push_back(L"F" + std::to_wstring(i));
    std::vector<Texts> rows(3, Texts{L"Late"});
    rows.insert(rows.end(), 6, filler);
    rows.push_back({L"G0", L"G1", L"G2", L"Late"});
    AddRows(HKLM, L"Software\\Acme", rows);
    ActivateOn(L"Software\\Acme");
    model.BuildDataList(registry);
    EXPECT_EQ(model.dataList.size(), 399u);
    EXPECT_EQ(std::ranges::count(model.dataList, L"Late"), 0);
}

TEST_F(EditorDataList, BelowAWildcardLevelAtTheEndOneMoreLevelIsDropped) {
    for (const std::wstring_view item : {L"a\\s1"sv, L"a\\s2"sv, L"b\\s1"sv, L"b\\s2"sv}) {
        memory.SetString(L"", HKLM, L"Software\\Acme\\" + std::wstring(item), L"Direct", L"x");
        memory.SetString(L"", HKLM, L"Software\\Acme\\" + std::wstring(item) + L"\\Sub", L"Deep", L"x");
    }
    ActivateOn(L"Software\\Acme\\*");
    model.BuildDataList(registry);
    EXPECT_EQ(model.dataList, (Texts{L"Deep", L"Direct"}));
}

TEST_F(EditorDataList, FolderBasesOfferTheFileTokens) {
    ActivateOn(L"C:\\Windows\\*.dll(2)");
    const Texts tokens = model.DataEditorEntries(registry, 1);
    ASSERT_EQ(tokens.size(), 17u);
    EXPECT_EQ(tokens.front(), L"<keyfile>");
    EXPECT_EQ(tokens[4], L"Filesize");
    EXPECT_EQ(tokens.back(), L"Pages");
    EXPECT_EQ(model.DataEditorEntries(registry, 2), Texts{});
}

TEST_F(EditorDataList, RegistryBasesBuildOnceUntilTheBaseKeyChanges) {
    const Texts acme{L"DisplayName"};
    AddRows(HKLM, L"Software\\Acme", {acme, acme, acme, acme});
    const Texts other{L"Version"};
    AddRows(HKLM, L"Software\\Other", {other, other, other, other});
    ActivateOn(L"Software\\Acme");

    EXPECT_EQ(model.DataEditorEntries(registry, 1), Texts{L"DisplayName"});
    memory.ResetCounters();
    EXPECT_EQ(model.DataEditorEntries(registry, 2), Texts{});
    EXPECT_EQ(model.DataEditorEntries(registry, 0), Texts{L"DisplayName"}); // the list was emptied
    EXPECT_EQ(memory.OpenCount(), 0u) << "the built list is reused";

    model.BaseKeyChanged(L"Software\\Other");
    EXPECT_TRUE(model.dataList.empty());
    EXPECT_EQ(model.DataEditorEntries(registry, 2), Texts{L"Version"});
}

TEST_F(EditorDataList, FollowsTheBaseKeyItWasBuiltForWhateverItsLetterCase) {
    const Texts acme{L"DisplayName"};
    AddRows(HKLM, L"Software\\Acme", {acme, acme, acme, acme});
    const Texts other{L"Version"};
    AddRows(HKLM, L"Software\\Other", {other, other, other, other});
    ActivateOn(L"Software\\Acme");
    ASSERT_EQ(model.DataEditorEntries(registry, 1), Texts{L"DisplayName"});

    // The same editor on the next view, with another base: that base's names, whatever the list holds.
    ActivateOn(L"Software\\Other");
    EXPECT_EQ(model.DataEditorEntries(registry, 2), Texts{L"Version"});
    ActivateOn(L"Software\\Acme");
    EXPECT_EQ(model.DataEditorEntries(registry, 0), Texts{L"DisplayName"});

    // The same key in other letters is the same key: nothing is read again.
    ActivateOn(L"software\\ACME");
    model.BaseKeyChanged(L"SOFTWARE\\acme");
    memory.ResetCounters();
    EXPECT_EQ(model.DataEditorEntries(registry, 1), Texts{L"DisplayName"});
    EXPECT_EQ(model.DataEditorEntries(registry, 2), Texts{});
    EXPECT_EQ(memory.OpenCount(), 0u) << "the list of the same key is reused";
}

TEST_F(EditorDataList, AnEmptyListIsBuiltAgainAtEveryOpening) {
    ActivateOn(L"Software\\Nothing");
    EXPECT_EQ(model.DataEditorEntries(registry, 3), Texts{});
    AddRows(HKLM, L"Software\\Nothing", {{L"A"}, {L"A"}, {L"A"}, {L"A"}});
    EXPECT_EQ(model.DataEditorEntries(registry, 3), Texts{L"A"});
}

TEST(EditorModelNewView, StartsWithTheRowKeyAndAHintOnTheServicesKey) {
    EditorModel model;
    model.LoadDefinition(ParseDefinition(L"Software\\Acme,01,01,T,|10,a,A|10,b,B|10,c,C", 15), 15);
    model.ResetForNewView();
    EXPECT_EQ(model.caption, L"New registry view");
    EXPECT_EQ(model.base, L"HKLM\\System\\CurrentControlSet\\Services");
    EXPECT_EQ(model.colsOrder, L"");
    EXPECT_EQ(model.grid.TextMatrix(1, kWidthCol), L"200");
    EXPECT_EQ(model.grid.TextMatrix(1, kDataCol), L"<key>");
    EXPECT_EQ(model.grid.TextMatrix(1, kHeaderCol), L"Enumerated keys");
    EXPECT_EQ(model.grid.TextMatrix(2, kDataCol), L"Press F4 for options..");
    EXPECT_EQ(model.grid.TextMatrix(2, kWidthCol), L"");
    EXPECT_EQ(model.grid.TextMatrix(3, kDataCol), L"");
}

} // namespace
} // namespace vantrel
