#include "shell/window_setting.h"

#include "views/field.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace vantrel {
namespace {

constexpr int kMaximizedLeft = -60;
constexpr int kTopLimit = -100;

// The number at the start of a field: leading blanks ignored, stopping at the first character that cannot
// continue a number; 0 when there is none.
double LeadingValue(std::wstring_view text) {
    const std::wstring field(TrimBlanks(text));
    wchar_t* end = nullptr;
    const double value = std::wcstod(field.c_str(), &end);
    return end == field.c_str() || !std::isfinite(value) ? 0.0 : value;
}

int ToTwips(double value) {
    return static_cast<int>(std::lround(std::clamp(value, -1e9, 1e9)));
}

} // namespace

std::wstring FormatWindowSetting(const WindowPlacement& window) {
    const int left = window.maximized ? kMaximizedLeft : window.left;
    std::wstring text;
    for (const int value : {left, window.top, window.width, window.height}) {
        text += std::to_wstring(value);
        text += L'\0';
    }
    text += L'\0';
    return text;
}

WindowPlacement PlaceFromWindowSetting(std::wstring_view text, const WindowPlacement& designed,
                                       int screenWidth, int screenHeight) {
    WindowPlacement place = designed;
    place.maximized = false;
    const std::wstring_view nul(L"\0", 1);
    int left = 0;
    if (text.size() > 5) {
        left =
            static_cast<int>(std::clamp(std::lround(LeadingValue(GetField(text, nul, 0))), -32768L, 32767L));
        if (left >= 0) {
            place.left = left;
            place.top = ToTwips(LeadingValue(GetField(text, nul, 1)));
            if (place.top > kTopLimit) {
                place.width = std::max(ToTwips(LeadingValue(GetField(text, nul, 2))), kMinimumWidthTwips);
                place.height = std::max(ToTwips(LeadingValue(GetField(text, nul, 3))), kMinimumHeightTwips);
            }
        }
    }
    if (text.size() < 3 || place.top < kTopLimit) {
        place.left = (screenWidth - place.width) / 2;
        place.top = (screenHeight - place.height) / 3;
    }
    place.maximized = left < 0;
    return place;
}

std::wstring ComputerBoxText(std::wstring_view computer) {
    if (computer.starts_with(L'.'))
        computer.remove_prefix(1);
    return computer.empty() ? L"<local station>" : std::wstring(computer);
}

} // namespace vantrel
