#include "platform/clipboard.h"

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
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (text == nullptr)
        return std::nullopt;
    // The data may lack its terminator: read no further than the block reaches.
    const size_t limit = GlobalSize(data) / sizeof(wchar_t);
    std::wstring result(text, wcsnlen(text, limit));
    GlobalUnlock(data);
    return result;
}

bool SetClipboardText(HWND owner, std::wstring_view text) {
    const OpenClipboardScope clipboard(owner);
    if (!clipboard.open() || !EmptyClipboard())
        return false;
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr)
        return false;
    auto* target = static_cast<wchar_t*>(GlobalLock(memory));
    std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
    target[text.size()] = L'\0';
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true; // the clipboard owns the memory now
}

} // namespace vantrel
