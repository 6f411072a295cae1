#pragma once
// One small owner for every kind of Windows handle: closes it exactly once, can be moved, never copied. Each
// kind counts the handles its owners hold, so that a long session can show it leaks none.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <utility>

namespace vantrel {

template <typename Traits> class UniqueAny {
public:
    using Handle = typename Traits::Handle;

    UniqueAny() = default;
    explicit UniqueAny(Handle handle) : handle_(handle) { Count(+1); }
    UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) { Count(+1); }
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    ~UniqueAny() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

    // For functions that return a handle through an out parameter: the handle counts once the call is over.
    class Receiver {
    public:
        explicit Receiver(UniqueAny& owner) : owner_(owner) {}
        ~Receiver() { owner_.Count(+1); }
        Receiver(const Receiver&) = delete;
        Receiver& operator=(const Receiver&) = delete;
        operator Handle*() const { return &owner_.handle_; }

    private:
        UniqueAny& owner_;
    };
    Receiver put() {
        reset();
        return Receiver(*this);
    }

    // The owner lets go of the handle: it no longer counts.
    Handle release() {
        Count(-1);
        return std::exchange(handle_, Traits::Invalid());
    }

    void reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) {
            Traits::Close(handle_);
            Count(-1);
        }
        handle_ = handle;
        Count(+1);
    }

    // The handles of this kind that owners hold now.
    static long Held() { return held_.load(); }

private:
    void Count(long change) const {
        if (handle_ != Traits::Invalid())
            held_ += change;
    }

    Handle handle_ = Traits::Invalid();
    static inline std::atomic<long> held_{0};
};

struct HKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { CloseHandle(h); }
};

// CreateFile answers INVALID_HANDLE_VALUE, not null, when it fails.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};

struct FontTraits {
    using Handle = HFONT;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyWindow(h); }
};

struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { GlobalFree(h); }
};

struct AcceleratorTraits {
    using Handle = HACCEL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyAcceleratorTable(h); }
};

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ImageList_Destroy(h); }
};

using UniqueHKey = UniqueAny<HKeyTraits>;
using UniqueHandle = UniqueAny<KernelHandleTraits>;
using UniqueFile = UniqueAny<FileHandleTraits>;
using UniqueFind = UniqueAny<FindHandleTraits>;
using UniqueGdiObject = UniqueAny<GdiObjectTraits>;
using UniqueFont = UniqueAny<FontTraits>;
using UniqueMenu = UniqueAny<MenuTraits>;
using UniqueWindow = UniqueAny<WindowTraits>;
using UniqueGlobal = UniqueAny<GlobalMemoryTraits>;
using UniqueAccelerators = UniqueAny<AcceleratorTraits>;
using UniqueImageList = UniqueAny<ImageListTraits>;

// GlobalLock/GlobalUnlock: the memory's address for as long as this lives.
template <typename T> class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL memory) : memory_(memory), data_(static_cast<T*>(GlobalLock(memory))) {}
    ~GlobalLockScope() {
        if (data_ != nullptr)
            GlobalUnlock(memory_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    T* get() const { return data_; }

private:
    HGLOBAL memory_;
    T* data_;
};

} // namespace vantrel
