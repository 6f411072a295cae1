#pragma once
// Owners for the device contexts and selections a paint goes through, so that every early return still
// releases the DC and puts back what was selected into it.
#include "platform/unique_handle.h"

namespace vantrel {

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DeleteDC(h); }
};
using UniqueMemoryDc = UniqueAny<MemoryDcTraits>;

// BeginPaint/EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~PaintScope() { EndPaint(hwnd_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// GetDC/ReleaseDC, for measuring outside a paint.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_ != nullptr)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// SelectObject that selects the previous object back on the way out.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC/RestoreDC around a change of clipping or colours.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), state_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (state_ != 0)
            RestoreDC(dc_, state_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int state_;
};

} // namespace vantrel
