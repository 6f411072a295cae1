#pragma once
// One owner for a COM interface pointer: AddRef on copy, Release on the way out. Deliberately small; the
// interfaces we hold are few and their lifetimes short.
#include <windows.h>

#include <unknwn.h>

#include <utility>

namespace vantrel {

template <typename T> class ComPtr {
public:
    ComPtr() = default;
    // Takes a reference of its own.
    explicit ComPtr(T* pointer) : pointer_(pointer) {
        if (pointer_ != nullptr)
            pointer_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.pointer_) {}
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    T& operator*() const { return *pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For functions that return an interface through an out parameter: the reference they hand over is ours.
    T** put() {
        reset();
        return &pointer_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    void reset() {
        if (T* old = std::exchange(pointer_, nullptr))
            old->Release();
    }

    // Another interface of the same object; empty when it has none.
    template <typename U> ComPtr<U> As() const {
        ComPtr<U> other;
        if (pointer_ != nullptr)
            pointer_->QueryInterface(__uuidof(U), other.put_void());
        return other;
    }

private:
    T* pointer_ = nullptr;
};

} // namespace vantrel
