#include "ui/grid_window.h"

#include "ui/window_class.h"

#include "platform/unique_handle.h"
#include "ui/gdi_scope.h"
#include "ui/grid_input.h"
#include "ui/grid_paint.h"
#include "ui/grid_selection.h"
#include "ui/grid_tooltip.h"

#include <commctrl.h>

#include <algorithm>

namespace vantrel {
namespace {

constexpr const wchar_t* kGridClass = L"VantrelGrid";
constexpr UINT_PTR kAutoScrollTimer = 1;
constexpr UINT kAutoScrollIntervalMs = 50;
constexpr int kWheelRowsPerNotch = 3;
constexpr int kScrollLinePx = 16;
constexpr int kRowPaddingPx = 4;

bool RegisterGridClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = kGridClass;
    return RegisterClassOnce(windowClass);
}

void InitCommonControlsOnce() {
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)initialised;
}

HFONT CreateGuiFont() {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    return CreateFontIndirectW(&font);
}

// WM_GETTEXT: as much of the text as fits the buffer, terminated; the number of characters copied.
LRESULT CopyText(const std::wstring& text, wchar_t* buffer, WPARAM capacity) {
    if (buffer == nullptr || capacity == 0)
        return 0;
    const size_t count = std::min(text.size(), static_cast<size_t>(capacity) - 1);
    text.copy(buffer, count);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

void SetScrollBar(HWND hwnd, int bar, int last, int page, int position) {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS};
    info.nMax = std::max(0, last);
    info.nPage = static_cast<UINT>(std::max(1, page));
    info.nPos = position;
    SetScrollInfo(hwnd, bar, &info, TRUE);
}

void SetScrollPosition(HWND hwnd, int bar, int position) {
    SCROLLINFO info{sizeof(info), SIF_POS};
    info.nPos = position;
    SetScrollInfo(hwnd, bar, &info, TRUE);
}

} // namespace

struct GridWindow::Impl {
    UniqueGdiObject font;
    GridToolTip toolTip;
    int textHeightPx = 13;
    int rowHeightPx = 17;
    GridScroll scroll;
    GridDrag drag = GridDrag::None;
    bool resizing = false;
    POINT dragPoint{};
    int resizeCol = -1;
    int resizeStartX = 0;
    int resizeStartWidthPx = 0;
    bool clickOnRelease = false;
    int wheelDelta = 0; // what is left of the wheel's turn below one notch
    bool updatingScrollBars = false;
};

std::unique_ptr<GridWindow> GridWindow::Create(HWND parent, int id, GridModel& model, GridEvents& events,
                                               int twipsPerPixel) {
    InitCommonControlsOnce();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterGridClass(&BaseWindow<GridWindow>::WindowProc))
        return nullptr;
    std::unique_ptr<GridWindow> grid(new GridWindow(model, events, twipsPerPixel));
    const HWND hwnd = CreateWindowExW(
        WS_EX_CLIENTEDGE, kGridClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, grid.get());
    if (hwnd == nullptr)
        return nullptr;
    return grid;
}

GridWindow::GridWindow(GridModel& model, GridEvents& events, int twipsPerPixel)
    : impl_(std::make_unique<Impl>()), model_(model), events_(events),
      twipsPerPixel_(twipsPerPixel > 0 ? twipsPerPixel : 15) {}

GridWindow::~GridWindow() {
    if (hwnd() != nullptr)
        DestroyWindow(hwnd());
}

LRESULT GridWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(wParam, MousePoint(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(wParam, MousePoint(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(wParam, MousePoint(lParam));
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        OnOtherButtonDown(MousePoint(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnOtherButtonUp(gridinput::kRightButton, wParam, MousePoint(lParam));
        return 0;
    case WM_MBUTTONUP:
        OnOtherButtonUp(gridinput::kMiddleButton, wParam, MousePoint(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, MousePoint(lParam));
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam);
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<int>(wParam));
        return 0;
    case WM_KEYUP:
        OnKeyUp(static_cast<int>(wParam));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<int>(wParam));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(impl_->font.get());
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(model_.AllText().size());
    case WM_GETTEXT:
        return CopyText(model_.AllText(), reinterpret_cast<wchar_t*>(lParam), wParam);
    default:
        return DefWindowProcW(hwnd(), message, wParam, lParam);
    }
}

// --- The window
// ---------------------------------------------------------------------------------------------

bool GridWindow::OnCreate() {
    impl_->font.reset(CreateGuiFont());
    if (!impl_->font)
        return false;
    MeasureFont();
    impl_->toolTip.Attach(hwnd());
    UpdateScrollBars();
    return true;
}

void GridWindow::OnDestroy() {
    KillTimer(hwnd(), kAutoScrollTimer);
    impl_->toolTip.Detach();
}

void GridWindow::OnSize() {
    UpdateScrollBars();
    Invalidate();
}

void GridWindow::OnPaint() {
    const PaintScope paint(hwnd());
    const GridLayout layout = Layout();
    const GridPaintStyle style{static_cast<HFONT>(impl_->font.get()), impl_->textHeightPx};
    const int width = std::max(1, layout.ClientWidth()), height = std::max(1, layout.ClientHeight());
    // Drawn off screen and copied in one go: no flicker while scrolling or dragging.
    const UniqueMemoryDc memory(CreateCompatibleDC(paint.dc()));
    const UniqueGdiObject bitmap(CreateCompatibleBitmap(paint.dc(), width, height));
    if (!memory || !bitmap) {
        lastPaintedCells_ = PaintGrid(paint.dc(), model_, layout, style);
        return;
    }
    const SelectedObject selected(memory.get(), bitmap.get());
    lastPaintedCells_ = PaintGrid(memory.get(), model_, layout, style);
    BitBlt(paint.dc(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

void GridWindow::Refresh() {
    if (hwnd() == nullptr)
        return;
    UpdateScrollBars();
    Invalidate();
}

GridLayout GridWindow::Layout() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    return GridLayout(model_, twipsPerPixel_, impl_->rowHeightPx, impl_->scroll, client.right, client.bottom);
}

void GridWindow::MeasureFont() {
    const WindowDc dc(hwnd());
    const SelectedObject font(dc.dc(), impl_->font.get());
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(dc.dc(), &metrics))
        return;
    impl_->textHeightPx = metrics.tmHeight;
    impl_->rowHeightPx = metrics.tmHeight + kRowPaddingPx;
}

void GridWindow::Invalidate() {
    InvalidateRect(hwnd(), nullptr, FALSE);
}

int GridWindow::ColPos(int col) const {
    return hwnd() != nullptr ? Layout().ColLeft(col) * twipsPerPixel_ : 0;
}

int GridWindow::RowPos(int row) const {
    return hwnd() != nullptr ? Layout().RowTop(row) * twipsPerPixel_ : 0;
}

int GridWindow::RowHeight(int row) const {
    return row >= 0 && row < model_.Rows() ? impl_->rowHeightPx * twipsPerPixel_ : 0;
}

void GridWindow::SetToolTipText(std::wstring_view text) {
    toolTip_.assign(text);
    impl_->toolTip.SetText(toolTip_);
}

// --- Scrolling
// ----------------------------------------------------------------------------------------------

void GridWindow::UpdateScrollBars() {
    if (hwnd() == nullptr || impl_->updatingScrollBars)
        return;
    impl_->updatingScrollBars = true;
    // Showing or hiding one bar changes the room left for the other: settle in a few rounds.
    for (int round = 0; round < 3; ++round) {
        const GridLayout layout = Layout();
        impl_->scroll = layout.Scroll();
        SetScrollBar(hwnd(), SB_VERT, layout.Rows() - 2, layout.PageRows(), impl_->scroll.topRow - 1);
        SetScrollBar(hwnd(), SB_HORZ, layout.StripWidth() - 1, layout.PageWidth(), impl_->scroll.leftPx);
        RECT client{};
        GetClientRect(hwnd(), &client);
        if (client.right == layout.ClientWidth() && client.bottom == layout.ClientHeight())
            break;
    }
    impl_->scroll = Layout().Scroll();
    impl_->updatingScrollBars = false;
}

void GridWindow::ScrollTo(GridScroll target) {
    const GridScroll clamped = Layout().Clamped(target);
    if (clamped == impl_->scroll)
        return;
    impl_->scroll = clamped;
    SetScrollPosition(hwnd(), SB_VERT, clamped.topRow - 1);
    SetScrollPosition(hwnd(), SB_HORZ, clamped.leftPx);
    Invalidate();
}

void GridWindow::EnsureVisible(int row, int col) {
    if (hwnd() == nullptr)
        return;
    const GridLayout layout = Layout();
    GridScroll target = impl_->scroll;
    if (row >= 1 && row < target.topRow)
        target.topRow = row;
    else if (row >= target.topRow + layout.PageRows())
        target.topRow = row - layout.PageRows() + 1;
    if (col >= layout.FixedCols() && col < layout.Cols()) {
        const int left = layout.StripLeft(col), right = left + layout.ColWidth(col);
        if (right > target.leftPx + layout.PageWidth())
            target.leftPx = right - layout.PageWidth();
        // A column wider than the page shows its beginning.
        if (left < target.leftPx)
            target.leftPx = left;
    }
    ScrollTo(target);
}

void GridWindow::OnVScroll(int request) {
    const GridLayout layout = Layout();
    const int position = RequestedScrollPosition(hwnd(), SB_VERT, request, impl_->scroll.topRow - 1, 1,
                                                 layout.PageRows(), layout.MaxTopRow() - 1);
    ScrollTo({position + 1, impl_->scroll.leftPx});
}

void GridWindow::OnHScroll(int request) {
    const GridLayout layout = Layout();
    const int position = RequestedScrollPosition(hwnd(), SB_HORZ, request, impl_->scroll.leftPx,
                                                 kScrollLinePx, layout.PageWidth(), layout.MaxLeft());
    ScrollTo({impl_->scroll.topRow, position});
}

void GridWindow::OnMouseWheel(int delta) {
    impl_->wheelDelta += delta;
    const int notches = impl_->wheelDelta / WHEEL_DELTA;
    impl_->wheelDelta -= notches * WHEEL_DELTA;
    if (notches != 0)
        ScrollTo({impl_->scroll.topRow - notches * kWheelRowsPerNotch, impl_->scroll.leftPx});
}

// --- Mouse
// --------------------------------------------------------------------------------------------------

void GridWindow::TrackMouse(POINT point) {
    const GridCell cell = Layout().HitTest(point.x, point.y);
    mouseRow_ = cell.row;
    mouseCol_ = cell.col;
}

void GridWindow::OnLButtonDown(WPARAM keys, POINT point) {
    SetFocus(hwnd());
    SetCapture(hwnd());
    TrackMouse(point);
    impl_->clickOnRelease = true;
    impl_->dragPoint = point;
    const GridLayout layout = Layout();
    const int border = layout.ResizeBorderAt(point.x, point.y);
    if (border >= 0) {
        BeginColumnResize(border, point, layout);
        return;
    }
    const GridCell before{model_.Row(), model_.Col()};
    impl_->drag = PressCell(model_, layout.HitTest(point.x, point.y), (keys & MK_SHIFT) != 0);
    Invalidate();
    RaiseRowColChangeIfMoved(before);
}

void GridWindow::OnLButtonDblClk(WPARAM keys, POINT point) {
    OnLButtonDown(keys, point);
    impl_->clickOnRelease = false; // the second press of a double click raises DblClick, not Click
    events_.OnGridDblClick();
}

void GridWindow::OnLButtonUp(WPARAM keys, POINT point) {
    TrackMouse(point);
    const bool click = impl_->clickOnRelease;
    impl_->clickOnRelease = false;
    if (GetCapture() == hwnd())
        ReleaseCapture();
    EndDrag();
    RaiseMouseUp(gridinput::kLeftButton, keys, point);
    if (click)
        events_.OnGridClick();
}

void GridWindow::OnOtherButtonDown(POINT point) {
    SetFocus(hwnd());
    TrackMouse(point);
}

void GridWindow::OnOtherButtonUp(int button, WPARAM keys, POINT point) {
    TrackMouse(point);
    RaiseMouseUp(button, keys, point);
}

void GridWindow::OnMouseMove(WPARAM keys, POINT point) {
    TrackMouse(point);
    if (impl_->resizing) {
        ResizeColumnTo(point.x);
    } else if (impl_->drag != GridDrag::None) {
        impl_->dragPoint = point;
        ExtendDrag(point);
        UpdateAutoScroll(point);
    }
    events_.OnGridMouseMove(MouseButtons(keys), MouseShiftState(keys), point.x * twipsPerPixel_,
                            point.y * twipsPerPixel_);
}

LRESULT GridWindow::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(hwnd(), &point);
    if (LOWORD(lParam) == HTCLIENT && Layout().ResizeBorderAt(point.x, point.y) >= 0) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
    }
    return DefWindowProcW(hwnd(), WM_SETCURSOR, wParam, lParam);
}

void GridWindow::OnCaptureChanged(HWND gaining) {
    if (gaining != hwnd())
        EndDrag();
}

void GridWindow::OnTimer(UINT_PTR id) {
    if (id != kAutoScrollTimer || impl_->drag == GridDrag::None)
        return;
    const GridLayout layout = Layout();
    const POINT point = impl_->dragPoint;
    int rows = point.y < layout.HeaderHeight() ? -1 : point.y >= layout.ClientHeight() ? 1 : 0;
    int pixels = point.x < layout.FixedWidth()     ? -kScrollLinePx
                 : point.x >= layout.ClientWidth() ? kScrollLinePx
                                                   : 0;
    if (impl_->drag == GridDrag::Columns)
        rows = 0;
    if (impl_->drag == GridDrag::Rows)
        pixels = 0;
    ScrollTo({impl_->scroll.topRow + rows, impl_->scroll.leftPx + pixels});
    ExtendDrag(point);
}

void GridWindow::RaiseMouseUp(int button, WPARAM keys, POINT point) {
    events_.OnGridMouseUp(button, MouseShiftState(keys), point.x * twipsPerPixel_, point.y * twipsPerPixel_);
}

void GridWindow::RaiseRowColChangeIfMoved(GridCell before) {
    if (model_.Row() != before.row || model_.Col() != before.col)
        events_.OnGridRowColChange();
}

// --- Dragging
// -----------------------------------------------------------------------------------------------

void GridWindow::ExtendDrag(POINT point) {
    const int rowSel = model_.RowSel(), colSel = model_.ColSel();
    DragSelection(model_, impl_->drag, Layout().NearestDataCell(point.x, point.y));
    if (model_.RowSel() != rowSel || model_.ColSel() != colSel)
        Invalidate();
}

// Dragging past an edge keeps scrolling on a timer, so that the pointer need not move to select on.
void GridWindow::UpdateAutoScroll(POINT point) {
    const GridLayout layout = Layout();
    const bool outside = point.y < layout.HeaderHeight() || point.y >= layout.ClientHeight() ||
                         point.x < layout.FixedWidth() || point.x >= layout.ClientWidth();
    if (outside)
        SetTimer(hwnd(), kAutoScrollTimer, kAutoScrollIntervalMs, nullptr);
    else
        KillTimer(hwnd(), kAutoScrollTimer);
}

void GridWindow::EndDrag() {
    KillTimer(hwnd(), kAutoScrollTimer);
    impl_->drag = GridDrag::None;
    impl_->resizing = false;
}

void GridWindow::BeginColumnResize(int col, POINT point, const GridLayout& layout) {
    impl_->resizing = true;
    impl_->resizeCol = col;
    impl_->resizeStartX = point.x;
    impl_->resizeStartWidthPx = layout.ColWidth(col);
    impl_->clickOnRelease = false;
}

void GridWindow::ResizeColumnTo(int x) {
    const int widthPx = std::max(0, impl_->resizeStartWidthPx + x - impl_->resizeStartX);
    const int widthTwips = widthPx * twipsPerPixel_;
    if (model_.ColWidth(impl_->resizeCol) == widthTwips)
        return;
    model_.SetColWidth(impl_->resizeCol, widthTwips);
    UpdateScrollBars();
    Invalidate();
}

// --- Keyboard
// -----------------------------------------------------------------------------------------------

void GridWindow::OnKeyDown(int key) {
    const int shift = KeyboardShiftState();
    events_.OnGridKeyDown(key, shift);
    if (const std::optional<GridMove> move = MoveForKey(key, (shift & gridinput::kCtrl) != 0))
        Navigate(*move, (shift & gridinput::kShift) != 0);
}

void GridWindow::OnKeyUp(int key) {
    events_.OnGridKeyUp(key, KeyboardShiftState());
}

void GridWindow::OnChar(int character) {
    events_.OnGridKeyPress(character);
}

void GridWindow::Navigate(GridMove move, bool extend) {
    const GridCell before{model_.Row(), model_.Col()};
    const GridCell moved = MoveSelection(model_, move, extend, Layout().PageRows());
    EnsureVisible(moved.row, moved.col);
    Invalidate();
    RaiseRowColChangeIfMoved(before);
}

} // namespace vantrel
