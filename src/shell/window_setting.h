#pragma once
// The main window's place between runs: the setting "Window" holds Left, Top, Width and Height in twips,
// each followed by a NUL, then one more NUL. A negative Left means the window was maximized.
#include <string>
#include <string_view>

namespace vantrel {

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;

    bool operator==(const WindowPlacement&) const = default;
};

inline constexpr int kMinimumWidthTwips = 3000;
inline constexpr int kMinimumHeightTwips = 2000;

// The setting's text for a window at that place; a maximized or minimized window gets a negative Left.
std::wstring FormatWindowSetting(const WindowPlacement& window);

// Where the window goes at start: `designed` is its place before the setting is applied, `text` what the
// setting reads (a marker when it is missing), `screenWidth` and `screenHeight` the screen in twips.
WindowPlacement PlaceFromWindowSetting(std::wstring_view text, const WindowPlacement& designed,
                                       int screenWidth, int screenHeight);

// What the computer box shows for a view's computer: a leading "." dropped, nothing at all as
// "<local station>".
std::wstring ComputerBoxText(std::wstring_view computer);

} // namespace vantrel
