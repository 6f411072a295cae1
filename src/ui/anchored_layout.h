#pragma once
// A resizable dialog's controls following its edges: each control keeps its distance to the edges it is
// anchored to, and grows with the dialog along the directions it stretches in. The template's size is the
// smallest the dialog gets.
#include <windows.h>

#include <span>
#include <utility>
#include <vector>

namespace vantrel {

enum Anchor : unsigned {
    kMoveWithRight = 1,
    kGrowWithWidth = 2,
    kMoveWithBottom = 4,
    kGrowWithHeight = 8,
};

struct ControlAnchor {
    int id;
    unsigned anchors; // Anchor flags; 0 stays where the template put it
};

class AnchoredLayout {
public:
    // Takes the dialog's and the controls' places as they are now (at WM_INITDIALOG: the template's).
    void Capture(HWND dialog, std::span<const ControlAnchor> controls);
    // WM_SIZE: the controls after the new client size.
    void Arrange(int clientWidth, int clientHeight) const;
    // WM_GETMINMAXINFO: no smaller than at Capture.
    void LimitSize(MINMAXINFO& info) const;

private:
    HWND dialog_ = nullptr;
    SIZE client_{};
    SIZE window_{};
    std::vector<std::pair<ControlAnchor, RECT>> places_;
};

} // namespace vantrel
