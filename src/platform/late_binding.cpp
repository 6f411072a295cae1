#include "platform/late_binding.h"

#include <string>
#include <vector>

namespace vantrel {
namespace {

// The member's dispatch id; names are looked up in the user's locale, as Microsoft's own automation samples
// do, and the call itself runs in the system's.
std::expected<DISPID, HRESULT> MemberId(IDispatch& object, std::wstring_view member) {
    std::wstring name(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT result = object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result))
        return std::unexpected(result);
    return id;
}

UniqueVariant ToVariant(const DispatchArgument& argument) {
    UniqueVariant value;
    VARIANT* target = value.put();
    if (const bool* flag = std::get_if<bool>(&argument)) {
        target->vt = VT_BOOL;
        target->boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const int* number = std::get_if<int>(&argument)) {
        target->vt = VT_I4;
        target->lVal = *number;
    } else {
        target->vt = VT_BSTR;
        target->bstrVal = UniqueBstr(std::get<std::wstring_view>(argument)).release();
    }
    return value;
}

WORD InvokeFlags(DispatchKind kind) {
    switch (kind) {
    case DispatchKind::Get:
        return DISPATCH_PROPERTYGET;
    case DispatchKind::Put:
        return DISPATCH_PROPERTYPUT;
    case DispatchKind::Method:
        break;
    }
    return DISPATCH_METHOD;
}

// What an object reports through EXCEPINFO is ours to free; its error code is the more telling one.
HRESULT ExceptionCode(EXCEPINFO& exception) {
    if (exception.pfnDeferredFillIn != nullptr)
        exception.pfnDeferredFillIn(&exception);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (exception.scode != 0)
        return exception.scode;
    return DISP_E_EXCEPTION;
}

} // namespace

UniqueBstr::UniqueBstr(std::wstring_view text)
    : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

UniqueBstr& UniqueBstr::operator=(UniqueBstr&& other) noexcept {
    if (this != &other) {
        SysFreeString(text_);
        text_ = std::exchange(other.text_, nullptr);
    }
    return *this;
}

UniqueVariant::UniqueVariant(UniqueVariant&& other) noexcept : value_(other.value_) {
    VariantInit(&other.value_);
}

UniqueVariant& UniqueVariant::operator=(UniqueVariant&& other) noexcept {
    if (this != &other) {
        VariantClear(&value_);
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    return *this;
}

std::expected<UniqueVariant, HRESULT> Invoke(IDispatch& object, std::wstring_view member, DispatchKind kind,
                                             std::initializer_list<DispatchArgument> arguments) {
    const auto id = MemberId(object, member);
    if (!id)
        return std::unexpected(id.error());

    std::vector<UniqueVariant> owned;
    owned.reserve(arguments.size());
    for (const DispatchArgument& argument : arguments)
        owned.push_back(ToVariant(argument));
    // IDispatch takes its arguments last first. The copies are shallow: `owned` keeps what they point to.
    std::vector<VARIANT> reversed;
    reversed.reserve(owned.size());
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        reversed.push_back(it->get());

    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{};
    parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
    parameters.cArgs = static_cast<UINT>(reversed.size());
    if (kind == DispatchKind::Put) {
        // An assignment names its value as the property-put argument, or the object refuses it.
        parameters.rgdispidNamedArgs = &namedPut;
        parameters.cNamedArgs = 1;
    }

    UniqueVariant result;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT status = object.Invoke(*id, IID_NULL, LOCALE_SYSTEM_DEFAULT, InvokeFlags(kind), &parameters,
                                         result.put(), &exception, &badArgument);
    if (status == DISP_E_EXCEPTION)
        return std::unexpected(ExceptionCode(exception));
    if (FAILED(status))
        return std::unexpected(status);
    return result;
}

std::expected<ComPtr<IDispatch>, HRESULT> InvokeForObject(IDispatch& object, std::wstring_view member,
                                                          DispatchKind kind,
                                                          std::initializer_list<DispatchArgument> arguments) {
    const auto result = Invoke(object, member, kind, arguments);
    if (!result)
        return std::unexpected(result.error());
    const VARIANT& value = result->get();
    ComPtr<IDispatch> answer;
    if (value.vt == VT_DISPATCH)
        answer = ComPtr<IDispatch>(value.pdispVal);
    else if (value.vt == VT_UNKNOWN && value.punkVal != nullptr)
        answer = ComPtr<IUnknown>(value.punkVal).As<IDispatch>();
    if (!answer)
        return std::unexpected(E_NOINTERFACE);
    return answer;
}

std::expected<long, HRESULT> GetNumberProperty(IDispatch& object, std::wstring_view member) {
    const auto result = Invoke(object, member, DispatchKind::Get);
    if (!result)
        return std::unexpected(result.error());
    // VariantChangeType only reads its source; the MinGW declaration lacks the const.
    VARIANT source = result->get();
    UniqueVariant number;
    const HRESULT status = VariantChangeType(number.put(), &source, 0, VT_I4);
    if (FAILED(status))
        return std::unexpected(status);
    return number.get().lVal;
}

} // namespace vantrel
