#include "platform/clipboard.h"

#include "platform/unique_handle.h"

#include <cstring>

namespace vantrel {
namespace {

// The clipboard, open for as long as this lives.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

} // namespace

bool ClipboardHasText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}

std::optional<std::wstring> ClipboardText(HWND owner) {
    const OpenClipboardScope clipboard(owner);
    if (!clipboard.open())
        return std::nullopt;
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr)
        return std::nullopt;
    const GlobalLockScope<const wchar_t> text(data);
    if (text.get() == nullptr)
        return std::nullopt;
    // The data may lack its terminator: read no further than the block reaches.
    const size_t limit = GlobalSize(data) / sizeof(wchar_t);
    return std::wstring(text.get(), wcsnlen(text.get(), limit));
}

bool SetClipboardText(HWND owner, std::wstring_view text) {
    const OpenClipboardScope clipboard(owner);
    if (!clipboard.open() || !EmptyClipboard())
        return false;
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return false;
    {
        const GlobalLockScope<wchar_t> target(memory.get());
        if (target.get() == nullptr)
            return false;
        std::memcpy(target.get(), text.data(), text.size() * sizeof(wchar_t));
        target.get()[text.size()] = L'\0';
    }
    if (SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr)
        return false;
    memory.release(); // the clipboard owns the memory now
    return true;
}

} // namespace vantrel
