#pragma once
// The grid's tooltip: one tool covering the whole grid window, whose text the owner sets (the status of the
// cell or view); no text, no tooltip.
#include "platform/unique_handle.h"

#include <string>

namespace vantrel {

class GridToolTip {
public:
    // Creates the tooltip control for `grid`; without it (Windows refused) SetText does nothing.
    void Attach(HWND grid);
    void Detach() { toolTip_.reset(); }
    // `text` must stay alive as long as the tooltip may show it; the grid keeps it in a member.
    void SetText(const std::wstring& text);
    HWND hwnd() const { return toolTip_.get(); }

private:
    HWND grid_ = nullptr;
    UniqueWindow toolTip_;
};

} // namespace vantrel
