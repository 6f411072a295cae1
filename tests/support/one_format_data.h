#pragma once
// Data that offers one registered format as global memory, the way a picker hands over its selection or a
// drag source its computers. GetData answers `answer` instead when that is a failure.
#include "platform/com_object.h"

#include <objidl.h>

#include <cstring>
#include <string>

namespace vantrel::test {

class OneFormatData final : public ComObject<IDataObject, IID_IDataObject> {
public:
    // `live`, when given, counts the objects not yet released.
    OneFormatData(const wchar_t* formatName, std::string bytes, HRESULT answer = S_OK, int* live = nullptr)
        : format_(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(formatName))), bytes_(std::move(bytes)),
          answer_(answer), live_(live) {
        if (live_ != nullptr)
            ++*live_;
    }
    ~OneFormatData() override {
        if (live_ != nullptr)
            --*live_;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        if (FAILED(answer_))
            return answer_;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = GlobalAlloc(GMEM_FIXED, bytes_.size());
        std::memcpy(medium->hGlobal, bytes_.data(), bytes_.size());
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == format_ && format->dwAspect == DVASPECT_CONTENT && format->lindex == -1 &&
                       format->ptd == nullptr && (format->tymed & TYMED_HGLOBAL) != 0
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    CLIPFORMAT format_;
    std::string bytes_;
    HRESULT answer_;
    int* live_;
};

} // namespace vantrel::test
