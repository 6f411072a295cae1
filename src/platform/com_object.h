#pragma once
// The IUnknown of the COM objects the program (and its tests' stand-ins) implement.
#include <windows.h>

#include <unknwn.h>

#include <atomic>

namespace vantrel {

// IUnknown for one interface: the object answers for IUnknown and `Interface`, and deletes itself when the
// last reference goes.
template <typename Interface, const IID& kInterfaceId> class ComObject : public Interface {
public:
    virtual ~ComObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, kInterfaceId)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::atomic<ULONG> references_ = 1;
};

} // namespace vantrel
