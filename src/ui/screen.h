#pragma once
// The screen's twips per pixel: every width and position the program keeps in twips is converted with it.
#include "ui/gdi_scope.h"
#include "views/definition.h"

namespace vantrel {

inline int ScreenTwipsPerPixel() {
    constexpr int kTwipsPerInch = 1440;
    const WindowDc screen(nullptr);
    const int dpi = screen.dc() != nullptr ? GetDeviceCaps(screen.dc(), LOGPIXELSX) : 0;
    return dpi > 0 ? kTwipsPerInch / dpi : kTwipsPerPixelAt96Dpi;
}

} // namespace vantrel
