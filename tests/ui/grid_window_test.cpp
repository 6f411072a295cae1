#include "ui/grid_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <source_location>
#include <string>
#include <vector>

namespace vantrel {
namespace {

constexpr int kTwipsPerPixel = 15;

// Every event as one line of text, so a test compares whole sequences.
struct EventSpy : GridEvents {
    std::vector<std::wstring> log;
    void OnGridClick() override { log.push_back(L"Click"); }
    void OnGridRowColChange() override { log.push_back(L"RowColChange"); }
    void OnGridDblClick() override { log.push_back(L"DblClick"); }
    void OnGridMouseUp(int button, int shift, int x, int y) override {
        log.push_back(L"MouseUp " + Numbers({button, shift, x, y}));
    }
    void OnGridKeyDown(int key, int shift) override { log.push_back(L"KeyDown " + Numbers({key, shift})); }
    void OnGridKeyUp(int key, int shift) override { log.push_back(L"KeyUp " + Numbers({key, shift})); }
    void OnGridKeyPress(int character) override { log.push_back(L"KeyPress " + std::to_wstring(character)); }
    static std::wstring Numbers(std::initializer_list<int> values) {
        std::wstring text;
        for (int value : values)
            text += (text.empty() ? L"" : L" ") + std::to_wstring(value);
        return text;
    }
};

using Log = std::vector<std::wstring>;

HWND CreateHost() {
    WNDCLASSW host{};
    host.lpfnWndProc = DefWindowProcW;
    host.hInstance = GetModuleHandleW(nullptr);
    host.lpszClassName = L"VantrelGridTestHost";
    RegisterClassW(&host);
    return CreateWindowExW(0, host.lpszClassName, L"Grid", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                           0, 0, 700, 450, nullptr, nullptr, host.hInstance, nullptr);
}

void Pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Lets messages run until the condition holds; false when it did not within the time.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        Pump();
        Sleep(10);
    }
    return true;
}

class GridWindowTest : public testing::Test {
protected:
    // One host for the whole suite: under Wine without a window manager, hiding a captioned window waits two
    // seconds for a state change that never comes.
    static void SetUpTestSuite() { host = CreateHost(); }
    static void TearDownTestSuite() {
        DestroyWindow(host);
        host = nullptr;
    }

    void Open(int rows, int cols, int width = 700, int height = 450) {
        model.SetCols(cols);
        model.SetRows(rows);
        model.SetColWidth(0, 600);
        for (int c = 1; c < cols; ++c) {
            model.SetColWidth(c, 1200);
            model.SetTextMatrix(0, c, L"Column " + std::to_wstring(c));
        }
        // Only the first rows carry text: enough to see, cheap for the big grids.
        for (int r = 1; r < std::min(rows, 60); ++r)
            for (int c = 0; c < cols; ++c)
                model.SetTextMatrix(r, c, std::to_wstring(r) + L"," + std::to_wstring(c));
        model.SetRow(1);
        model.SetCol(1);
        ASSERT_NE(host, nullptr);
        SetWindowPos(host, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
        grid = GridWindow::Create(host, 100, model, spy, kTwipsPerPixel);
        ASSERT_NE(grid, nullptr);
        RECT client{};
        GetClientRect(host, &client);
        MoveWindow(grid->hwnd(), 0, 0, client.right, client.bottom, TRUE);
        grid->Refresh();
        Pump();
    }
    void TearDown() override { grid.reset(); }

    // The middle of a cell in client pixels, from the grid's own twips.
    POINT Center(int row, int col) const {
        return {(grid->ColPos(col) + model.ColWidth(col) / 2) / kTwipsPerPixel,
                (grid->RowPos(row) + grid->RowHeight(row) / 2) / kTwipsPerPixel};
    }
    void Mouse(UINT message, POINT point, WPARAM keys = 0) {
        SendMessageW(grid->hwnd(), message, keys, MAKELPARAM(point.x, point.y));
    }
    void Click(int row, int col, WPARAM keys = 0) {
        Mouse(WM_LBUTTONDOWN, Center(row, col), MK_LBUTTON | keys);
        Mouse(WM_LBUTTONUP, Center(row, col), keys);
    }
    // A key pressed and released, with Shift and Ctrl held as asked.
    void Key(int key, bool shift = false, bool ctrl = false) {
        BYTE state[256]{};
        state[VK_SHIFT] = shift ? 0x80 : 0;
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(state);
        SendMessageW(grid->hwnd(), WM_KEYDOWN, key, 1);
        SendMessageW(grid->hwnd(), WM_KEYUP, key, 1);
        BYTE released[256]{};
        SetKeyboardState(released);
    }
    void ExpectSelection(int row, int col, int rowSel, int colSel,
                         std::source_location where = std::source_location::current()) const {
        testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "selection");
        EXPECT_EQ(model.Row(), row);
        EXPECT_EQ(model.Col(), col);
        EXPECT_EQ(model.RowSel(), rowSel);
        EXPECT_EQ(model.ColSel(), colSel);
    }
    int Paint() {
        RedrawWindow(grid->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return grid->LastPaintedCellCount();
    }
    int ClientHeightTwips() const {
        RECT client{};
        GetClientRect(grid->hwnd(), &client);
        return client.bottom * kTwipsPerPixel;
    }

    GridModel model;
    EventSpy spy;
    static inline HWND host = nullptr;
    std::unique_ptr<GridWindow> grid;
};

TEST_F(GridWindowTest, ClickMakesTheCellCurrentThenRaisesMouseUpAndClickInTwips) {
    Open(20, 5);
    const POINT point = Center(3, 2);
    Click(3, 2);
    ExpectSelection(3, 2, 3, 2);
    EXPECT_EQ(grid->MouseRow(), 3);
    EXPECT_EQ(grid->MouseCol(), 2);
    const std::wstring mouseUp = L"MouseUp 1 0 " + std::to_wstring(point.x * kTwipsPerPixel) + L" " +
                                 std::to_wstring(point.y * kTwipsPerPixel);
    EXPECT_EQ(spy.log, (Log{L"RowColChange", mouseUp, L"Click"}));
    spy.log.clear();
    Click(3, 2); // the same cell: no change to report
    EXPECT_EQ(spy.log, (Log{mouseUp, L"Click"}));
    spy.log.clear();
    Mouse(WM_RBUTTONDOWN, point, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, point, MK_SHIFT);
    EXPECT_EQ(spy.log, (Log{L"MouseUp 2 1 " + mouseUp.substr(12)}));
}

TEST_F(GridWindowTest, DoubleClickRaisesDblClickAndItsReleaseOnlyMouseUp) {
    Open(20, 5);
    Click(4, 1);
    Mouse(WM_LBUTTONDBLCLK, Center(4, 1), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, Center(4, 1));
    ASSERT_EQ(spy.log.size(), 5u);
    EXPECT_EQ(spy.log[0], L"RowColChange");
    EXPECT_EQ(spy.log[2], L"Click");
    EXPECT_EQ(spy.log[3], L"DblClick");
    EXPECT_EQ(spy.log[4].substr(0, 7), L"MouseUp");
}

TEST_F(GridWindowTest, ShiftClickAndDraggingExtendTheBlock) {
    Open(20, 5);
    Click(2, 1);
    spy.log.clear();
    Click(4, 3, MK_SHIFT);
    ExpectSelection(2, 1, 4, 3);
    EXPECT_EQ(spy.log.front().substr(0, 7), L"MouseUp"); // the current cell stayed
    Mouse(WM_LBUTTONDOWN, Center(5, 2), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, Center(6, 3), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, Center(7, 4), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, Center(7, 4));
    ExpectSelection(5, 2, 7, 4);
}

TEST_F(GridWindowTest, DraggingPastTheBottomKeepsScrollingAndSelecting) {
    Open(200, 5);
    RECT client{};
    GetClientRect(grid->hwnd(), &client);
    Mouse(WM_LBUTTONDOWN, Center(2, 1), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, {Center(2, 1).x, client.bottom + 20}, MK_LBUTTON);
    // Held there, the grid's own timer keeps scrolling and extending the block past the rows first shown.
    EXPECT_TRUE(PumpUntil(
        [&] { return grid->RowPos(1) < 0 && model.RowSel() * grid->RowHeight(0) > ClientHeightTwips(); }));
    Mouse(WM_LBUTTONUP, {Center(2, 1).x, client.bottom + 20});
    EXPECT_LT(grid->RowPos(1), 0);
    EXPECT_EQ(model.Row(), 2);
    EXPECT_GT(model.RowSel() * grid->RowHeight(0), ClientHeightTwips());
}

TEST_F(GridWindowTest, HeaderCellsSelectWholeColumnsAndRows) {
    Open(20, 5);
    Click(0, 3);
    ExpectSelection(1, 3, 19, 3);
    Click(6, 0);
    ExpectSelection(6, 1, 6, 4);
}

TEST_F(GridWindowTest, KeysMoveTheCurrentCellWithinTheDataCells) {
    Open(30, 5);
    Key(VK_UP);
    Key(VK_LEFT);
    ExpectSelection(1, 1, 1, 1); // never into the fixed row or column
    Key(VK_DOWN);
    Key(VK_RIGHT);
    ExpectSelection(2, 2, 2, 2);
    Key(VK_END);
    ExpectSelection(2, 4, 2, 4);
    Key(VK_HOME);
    ExpectSelection(2, 1, 2, 1);
    Key(VK_END, false, true);
    ExpectSelection(29, 4, 29, 4);
    EXPECT_LE(grid->RowPos(29) + grid->RowHeight(29), ClientHeightTwips()); // scrolled into view
    Key(VK_HOME, false, true);
    ExpectSelection(1, 1, 1, 1);
    Key(VK_NEXT);
    EXPECT_GT(model.Row(), 5);
    Key(VK_PRIOR);
    EXPECT_EQ(model.Row(), 1);
}

TEST_F(GridWindowTest, ShiftWithArrowsExtendsTheBlockWithoutMovingTheCurrentCell) {
    Open(20, 5);
    Click(2, 2);
    spy.log.clear();
    Key(VK_DOWN, true);
    Key(VK_DOWN, true);
    Key(VK_RIGHT, true);
    ExpectSelection(2, 2, 4, 3);
    for (const std::wstring& event : spy.log)
        EXPECT_NE(event, L"RowColChange");
}

TEST_F(GridWindowTest, KeyEventsComeBeforeNavigationAndCharactersArriveAsKeyPress) {
    Open(20, 5);
    Key(VK_DOWN);
    EXPECT_EQ(spy.log, (Log{L"KeyDown 40 0", L"RowColChange", L"KeyUp 40 0"}));
    spy.log.clear();
    SendMessageW(grid->hwnd(), WM_CHAR, VK_ESCAPE, 1);
    SendMessageW(grid->hwnd(), WM_CHAR, VK_RETURN, 1);
    EXPECT_EQ(spy.log, (Log{L"KeyPress 27", L"KeyPress 13"}));
    const LRESULT code = SendMessageW(grid->hwnd(), WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(code & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
}

TEST_F(GridWindowTest, DraggingAHeaderBorderResizesTheColumnWithoutAClick) {
    Open(20, 5);
    const int before = model.ColWidth(2);
    const POINT border{(grid->ColPos(2) + before) / kTwipsPerPixel - 1, Center(0, 2).y};
    Mouse(WM_LBUTTONDOWN, border, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, {border.x + 40, border.y}, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, {border.x + 40, border.y});
    EXPECT_EQ(model.ColWidth(2), before + 40 * kTwipsPerPixel);
    ASSERT_EQ(spy.log.size(), 1u);
    EXPECT_EQ(spy.log[0].substr(0, 7), L"MouseUp");
    ExpectSelection(1, 1, 1, 1);
}

TEST_F(GridWindowTest, ScrollBarsAndWheelMoveTheRowsUnderTheSamePoint) {
    Open(200, 5);
    const POINT firstDataRow = Center(1, 2);
    const int headerTwips = grid->RowHeight(0);
    for (int i = 0; i < 5; ++i)
        SendMessageW(grid->hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_LT(grid->RowPos(1), 0);
    EXPECT_EQ(grid->RowPos(6), headerTwips);
    Mouse(WM_LBUTTONDOWN, firstDataRow, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, firstDataRow);
    EXPECT_EQ(model.Row(), 6);
    SendMessageW(grid->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(grid->RowPos(9), headerTwips); // three rows a notch
    SendMessageW(grid->hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_LE(grid->RowPos(199) + grid->RowHeight(199), ClientHeightTwips());
    SendMessageW(grid->hwnd(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(grid->RowPos(1), headerTwips);
}

TEST_F(GridWindowTest, PaintingAHundredThousandRowsDrawsOnlyTheVisibleCells) {
    Open(100001, 6);
    SCROLLINFO info{sizeof(info), SIF_RANGE};
    GetScrollInfo(grid->hwnd(), SB_VERT, &info);
    EXPECT_EQ(info.nMax, 99999); // one position a data row, past 16 bits
    const int top = Paint();
    EXPECT_GT(top, 0);
    EXPECT_LT(top, 2000);
    Key(VK_END, false, true);
    const int bottom = Paint();
    EXPECT_GT(bottom, 0);
    EXPECT_LT(bottom, 2000);
    EXPECT_GT(grid->RowPos(100000), 0);
}

TEST_F(GridWindowTest, HiddenColumnsAreSkippedByTheKeysAndNotPainted) {
    Open(20, 5);
    const int allShown = Paint();
    model.SetColWidth(2, 0);
    grid->Refresh();
    EXPECT_LT(Paint(), allShown);
    Key(VK_RIGHT);
    EXPECT_EQ(model.Col(), 3);
    Key(VK_LEFT);
    EXPECT_EQ(model.Col(), 1);
}

BOOL CALLBACK FindToolTip(HWND hwnd, LPARAM found) {
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    if (_wcsicmp(name, TOOLTIPS_CLASSW) == 0)
        *reinterpret_cast<HWND*>(found) = hwnd;
    return TRUE;
}

TEST_F(GridWindowTest, ToolTipShowsTheOwnersText) {
    Open(20, 5);
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindToolTip, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip, nullptr);
    grid->SetToolTipText(L"12 rows");
    wchar_t text[64]{};
    TOOLINFOW tool{TTTOOLINFOW_V2_SIZE};
    tool.hwnd = grid->hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(grid->hwnd());
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"12 rows");
    EXPECT_EQ(grid->ToolTipText(), L"12 rows");
}

} // namespace
} // namespace vantrel
