#include "shell/main_toolbar.h"

namespace vantrel {
namespace {

constexpr int kToolbarBitmap = 300; // the strip of 28 pictures, 16 × 16 each
constexpr int kPictureSize = 16;
constexpr int kComputerBoxWidthTwips = 2000;
constexpr int kComputerBoxMarginTwips = 60;
constexpr int kComputerBoxId = 2100;

} // namespace

bool MainToolbar::Create(HWND parent, int twipsPerPixel) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    toolbar_ =
        CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
                        0, 0, 0, 0, parent, nullptr, instance, nullptr);
    if (toolbar_ == nullptr)
        return false;
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    images_.reset(ImageList_LoadImageW(instance, MAKEINTRESOURCEW(kToolbarBitmap), kPictureSize, 0,
                                       RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION));
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));

    entries_ = ParseCommandTable(kCommandTable, kComputerBoxWidthTwips);
    std::vector<TBBUTTON> buttons;
    for (const ToolbarEntry& entry : entries_) {
        TBBUTTON button{};
        button.fsState = TBSTATE_ENABLED;
        switch (entry.style) {
        case ToolbarStyle::Separator:
            button.fsStyle = BTNS_SEP;
            break;
        case ToolbarStyle::Placeholder:
            button.fsStyle = BTNS_SEP;
            button.iBitmap = entry.widthTwips / twipsPerPixel; // a separator's width in pixels
            break;
        default:
            button.iBitmap = entry.number - 1;
            button.idCommand = kToolbarCommandBase + entry.number;
            button.fsStyle = entry.style == ToolbarStyle::Check      ? BTNS_CHECK
                             : entry.style == ToolbarStyle::DropDown ? BTNS_DROPDOWN
                                                                     : BTNS_BUTTON;
            if (entry.style == ToolbarStyle::Check)
                detailsCommand_ = button.idCommand;
            break;
        }
        buttons.push_back(button);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);

    // The computer box: read-only, in the placeholder made for it.
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (!entries_[i].holdsComputerBox)
            continue;
        RECT place{};
        SendMessageW(toolbar_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&place));
        const int left = place.left + kComputerBoxMarginTwips / twipsPerPixel;
        computerBox_ = CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, left,
            place.top + 1, kComputerBoxWidthTwips / twipsPerPixel, place.bottom - place.top - 2, toolbar_,
            reinterpret_cast<HMENU>(kComputerBoxId), instance, nullptr);
        SendMessageW(computerBox_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
    }
    return true;
}

int MainToolbar::Height() const {
    if (toolbar_ == nullptr)
        return 0;
    RECT rect{};
    GetWindowRect(toolbar_, &rect);
    return rect.bottom - rect.top;
}

void MainToolbar::Resize() const {
    if (toolbar_ != nullptr)
        SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

const ToolbarEntry* MainToolbar::EntryFor(int command) const {
    for (const ToolbarEntry& entry : entries_)
        if (entry.number > 0 && kToolbarCommandBase + entry.number == command)
            return &entry;
    return nullptr;
}

int MainToolbar::IndexOf(int command) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].number > 0 && kToolbarCommandBase + entries_[i].number == command)
            return static_cast<int>(i) + 1;
    return 0;
}

void MainToolbar::SetDetailsPressed(bool pressed) const {
    if (toolbar_ != nullptr && detailsCommand_ != 0)
        SendMessageW(toolbar_, TB_CHECKBUTTON, detailsCommand_, MAKELPARAM(pressed, 0));
}

bool MainToolbar::DetailsPressed() const {
    return toolbar_ != nullptr && SendMessageW(toolbar_, TB_ISBUTTONCHECKED, detailsCommand_, 0) != 0;
}

void MainToolbar::SetComputerText(const std::wstring& text) const {
    if (computerBox_ != nullptr)
        SetWindowTextW(computerBox_, text.c_str());
}

bool MainToolbar::OnNotify(NMHDR* header) const {
    if (header->code != TTN_GETDISPINFOW)
        return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    if (const ToolbarEntry* entry = EntryFor(static_cast<int>(header->idFrom)))
        info->lpszText = const_cast<wchar_t*>(entry->tooltip.c_str());
    return true;
}

} // namespace vantrel
