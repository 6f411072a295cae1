#pragma once
// Late-bound calls on automation objects (IDispatch): members found by name at run time, arguments and
// results as VARIANTs. Failures come back as the HRESULT the object (or COM) gave.
#include "platform/com_ptr.h"

#include <oleauto.h>

#include <expected>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <variant>

namespace vantrel {

// A BSTR, freed once.
class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(std::wstring_view text);
    UniqueBstr(UniqueBstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept;
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    ~UniqueBstr() { SysFreeString(text_); }

    BSTR get() const { return text_; }
    // Hands the string over to whoever stores it (a VARIANT that clears it later).
    BSTR release() { return std::exchange(text_, nullptr); }

private:
    BSTR text_ = nullptr;
};

// A VARIANT, cleared once (which releases the object or frees the string it holds).
class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value_); }
    UniqueVariant(UniqueVariant&& other) noexcept;
    UniqueVariant& operator=(UniqueVariant&& other) noexcept;
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&value_); }

    const VARIANT& get() const { return value_; }
    // For functions that fill a VARIANT: cleared first.
    VARIANT* put() {
        VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};

using DispatchArgument = std::variant<bool, int, std::wstring_view>;
enum class DispatchKind { Get, Put, Method };

// object.member(arguments...) as a property read, a property assignment (the one argument is the new value)
// or a method call.
[[nodiscard]] std::expected<UniqueVariant, HRESULT>
Invoke(IDispatch& object, std::wstring_view member, DispatchKind kind,
       std::initializer_list<DispatchArgument> arguments = {});

// The object a property read or a method call answers; E_NOINTERFACE when it answers no object (Nothing).
[[nodiscard]] std::expected<ComPtr<IDispatch>, HRESULT>
InvokeForObject(IDispatch& object, std::wstring_view member, DispatchKind kind,
                std::initializer_list<DispatchArgument> arguments = {});

[[nodiscard]] inline std::expected<ComPtr<IDispatch>, HRESULT>
GetObjectProperty(IDispatch& object, std::wstring_view member,
                  std::initializer_list<DispatchArgument> arguments = {}) {
    return InvokeForObject(object, member, DispatchKind::Get, arguments);
}

// A property that holds a number (such as a collection's Count).
[[nodiscard]] std::expected<long, HRESULT> GetNumberProperty(IDispatch& object, std::wstring_view member);

[[nodiscard]] inline HRESULT PutProperty(IDispatch& object, std::wstring_view member,
                                         DispatchArgument value) {
    const auto result = Invoke(object, member, DispatchKind::Put, {value});
    return result ? S_OK : result.error();
}

[[nodiscard]] inline HRESULT CallMethod(IDispatch& object, std::wstring_view member) {
    const auto result = Invoke(object, member, DispatchKind::Method);
    return result ? S_OK : result.error();
}

} // namespace vantrel
