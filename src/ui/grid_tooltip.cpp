#include "ui/grid_tooltip.h"

#include <commctrl.h>

namespace vantrel {
namespace {

// Status texts can be long; past this width the tooltip wraps instead of running off the screen.
constexpr int kMaxWidthPx = 600;

TOOLINFOW GridTool(HWND grid, const std::wstring& text) {
    TOOLINFOW tool{};
    // The older structure size: comctl32 version 5 (no manifest) refuses the newer one.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = grid;
    tool.uId = reinterpret_cast<UINT_PTR>(grid);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    return tool;
}

} // namespace

void GridToolTip::Attach(HWND grid) {
    grid_ = grid;
    toolTip_.reset(CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, grid, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!toolTip_)
        return;
    const std::wstring none;
    TOOLINFOW tool = GridTool(grid_, none);
    SendMessageW(toolTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTip_.get(), TTM_SETMAXTIPWIDTH, 0, kMaxWidthPx);
    SendMessageW(toolTip_.get(), TTM_ACTIVATE, FALSE, 0);
}

void GridToolTip::SetText(const std::wstring& text) {
    if (!toolTip_)
        return;
    TOOLINFOW tool = GridTool(grid_, text);
    SendMessageW(toolTip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTip_.get(), TTM_ACTIVATE, text.empty() ? FALSE : TRUE, 0);
}

} // namespace vantrel
