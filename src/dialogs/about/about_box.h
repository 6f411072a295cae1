#pragma once
// The about box: product, platform, version and maker. The same window is the splash window at start.
#include <windows.h>

#include <string>

namespace vantrel {

// "Version " + major.minor.revision of this program's version resource.
[[nodiscard]] std::wstring VersionText();

// The about box, modal.
void ShowAboutBox(HWND owner);

// The splash window: shown without waiting, destroyed by the caller (it also closes itself on a key or a
// click).
[[nodiscard]] HWND ShowSplash();

} // namespace vantrel
