#include "ui/anchored_layout.h"

#include <algorithm>

namespace vantrel {

void AnchoredLayout::Capture(HWND dialog, std::span<const ControlAnchor> controls) {
    dialog_ = dialog;
    RECT window{};
    GetWindowRect(dialog, &window);
    window_ = {window.right - window.left, window.bottom - window.top};
    RECT client{};
    GetClientRect(dialog, &client);
    client_ = {client.right, client.bottom};
    places_.clear();
    for (const ControlAnchor& control : controls) {
        RECT place{};
        GetWindowRect(GetDlgItem(dialog, control.id), &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        places_.emplace_back(control, place);
    }
}

void AnchoredLayout::Arrange(int clientWidth, int clientHeight) const {
    if (places_.empty())
        return;
    const int dx = std::max(0, clientWidth - static_cast<int>(client_.cx));
    const int dy = std::max(0, clientHeight - static_cast<int>(client_.cy));
    HDWP positions = BeginDeferWindowPos(static_cast<int>(places_.size()));
    for (const auto& [control, place] : places_) {
        if (positions == nullptr)
            break;
        const auto by = [&control](unsigned anchor, int delta) {
            return (control.anchors & anchor) != 0 ? delta : 0;
        };
        positions = DeferWindowPos(
            positions, GetDlgItem(dialog_, control.id), nullptr, place.left + by(kMoveWithRight, dx),
            place.top + by(kMoveWithBottom, dy), place.right - place.left + by(kGrowWithWidth, dx),
            place.bottom - place.top + by(kGrowWithHeight, dy), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions != nullptr)
        EndDeferWindowPos(positions);
    // Labels that grew or moved leave their old text behind otherwise.
    InvalidateRect(dialog_, nullptr, TRUE);
}

void AnchoredLayout::LimitSize(MINMAXINFO& info) const {
    if (window_.cx > 0)
        info.ptMinTrackSize = {window_.cx, window_.cy};
}

} // namespace vantrel
