#include "platform/drop_target.h"

#include "platform/com_object.h"
#include "platform/unique_handle.h"

#include <ole2.h>

namespace vantrel {
namespace {

class DropTarget final : public ComObject<IDropTarget, IID_IDropTarget> {
public:
    explicit DropTarget(DropHandlers handlers) : handlers_(std::move(handlers)) {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        accepted_ = handlers_.accepts && handlers_.accepts(data);
        *effect = Effect();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = Effect();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        accepted_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        const bool accepted = handlers_.accepts && handlers_.accepts(data);
        accepted_ = false;
        *effect = accepted ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        if (accepted && handlers_.dropped)
            handlers_.dropped(data);
        return S_OK;
    }

private:
    DWORD Effect() const { return accepted_ ? DROPEFFECT_COPY : DROPEFFECT_NONE; }

    DropHandlers handlers_;
    bool accepted_ = false;
};

FORMATETC GlobalMemoryFormat(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

} // namespace

DropRegistration::DropRegistration(HWND window, DropHandlers handlers)
    : window_(window), target_(new DropTarget(std::move(handlers))),
      registered_(SUCCEEDED(RegisterDragDrop(window, target_))) {}

DropRegistration::~DropRegistration() {
    if (registered_)
        RevokeDragDrop(window_);
    target_->Release();
}

bool Offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = GlobalMemoryFormat(format);
    return data != nullptr && data->QueryGetData(&wanted) == S_OK;
}

std::optional<std::string> BytesOf(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = GlobalMemoryFormat(format);
    STGMEDIUM medium{};
    if (data == nullptr || data->GetData(&wanted, &medium) != S_OK)
        return std::nullopt;
    std::optional<std::string> bytes;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
        const GlobalLockScope<const char> block(medium.hGlobal);
        if (block.get() != nullptr)
            bytes.emplace(block.get(), GlobalSize(medium.hGlobal));
    }
    ReleaseStgMedium(&medium);
    return bytes;
}

std::wstring AnsiToWide(const std::string& bytes) {
    if (bytes.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

} // namespace vantrel
