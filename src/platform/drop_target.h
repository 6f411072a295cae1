#pragma once
// Data dropped onto a window with the mouse (OLE drag and drop): a drop target that hands the dropped data to
// its window's owner, and reading the data a dropped object offers.
#include <windows.h>

#include <objidl.h>

#include <functional>
#include <optional>
#include <string>

namespace vantrel {

struct DropHandlers {
    // Whether the data would be taken: decides the pointer's shape while it is dragged over the window.
    std::function<bool(IDataObject* data)> accepts;
    // The data let go over the window.
    std::function<void(IDataObject* data)> dropped;
};

// A window that takes drops, until this goes. Needs an OleApartment (platform/com_apartment.h) on the
// window's thread; without one the window simply takes none.
class DropRegistration {
public:
    DropRegistration(HWND window, DropHandlers handlers);
    ~DropRegistration();
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;

    bool registered() const { return registered_; }
    // What the window's drop target is, for tests that drop without a mouse.
    IDropTarget* target() const { return target_; }

private:
    HWND window_;
    IDropTarget* target_;
    bool registered_;
};

// Whether the data offers `format` as global memory.
bool Offers(IDataObject* data, CLIPFORMAT format);
// The bytes of the data in `format` as global memory, NULs included; nothing when it is not offered.
std::optional<std::string> BytesOf(IDataObject* data, CLIPFORMAT format);
// Bytes of ANSI text as Unicode, NULs kept.
std::wstring AnsiToWide(const std::string& bytes);

} // namespace vantrel
