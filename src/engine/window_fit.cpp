#include "engine/window_fit.h"

namespace vantrel {
namespace {

constexpr int kBottomMargin = 105;
constexpr int kRightMargin = 180;
constexpr int kHorizontalScrollBar = 330;
constexpr int kVerticalScrollBar = 240;

} // namespace

WindowSize FlexResize(const TableFitInput& in) {
    WindowSize size{in.tableWidth + 2 * in.borderWidth,
                    in.tableHeight + in.frameHeightAllowance + kBottomMargin};
    const int widthLimit = in.mainWidth - in.windowLeft - kRightMargin;
    const int heightLimit = in.mainInnerHeight - in.windowTop;
    if (size.width > widthLimit) {
        size.width = widthLimit;
        size.height += kHorizontalScrollBar;
    }
    if (size.height > heightLimit) {
        size.height = heightLimit;
        size.width += kVerticalScrollBar;
    }
    if (size.width > widthLimit)
        size.width = widthLimit;
    return size;
}

} // namespace vantrel
