#include "platform/dde.h"

#include <vector>

namespace vantrel {
namespace {

DdeServer* theServer = nullptr;

// A server runs its commands inside the execute (fills, message boxes): the client waits a day at most.
constexpr DWORD kExecuteTimeoutMs = 24 * 60 * 60 * 1000;
// A busy server (a command string runs, a view fills) is asked again this often.
constexpr DWORD kBusyRetryMs = 100;

HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

class DdeInstance {
public:
    explicit DdeInstance(PFNCALLBACK callback, DWORD flags) {
        if (DdeInitializeW(&id_, callback, flags, 0) != DMLERR_NO_ERROR)
            id_ = 0;
    }
    ~DdeInstance() {
        if (id_ != 0)
            DdeUninitialize(id_);
    }
    DWORD id() const { return id_; }

private:
    DWORD id_ = 0;
};

class DdeString {
public:
    DdeString(DWORD instance, std::wstring_view text)
        : instance_(instance),
          handle_(DdeCreateStringHandleW(instance, std::wstring(text).c_str(), CP_WINUNICODE)) {}
    ~DdeString() {
        if (handle_ != nullptr)
            DdeFreeStringHandle(instance_, handle_);
    }
    HSZ get() const { return handle_; }

private:
    DWORD instance_;
    HSZ handle_;
};

std::wstring ExecuteText(HDDEDATA data) {
    const DWORD bytes = DdeGetData(data, nullptr, 0, 0);
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), bytes, 0);
    return text.data();
}

} // namespace

DdeServer::DdeServer(std::wstring_view service, std::wstring_view topic, ExecuteHandler handler)
    : handler_(std::move(handler)) {
    if (theServer != nullptr || DdeInitializeW(&instance_, &DdeServer::Callback,
                                               APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_REQUESTS |
                                                   CBF_FAIL_POKES | CBF_SKIP_ALLNOTIFICATIONS,
                                               0) != DMLERR_NO_ERROR) {
        instance_ = 0;
        return;
    }
    service_ = DdeCreateStringHandleW(instance_, std::wstring(service).c_str(), CP_WINUNICODE);
    topic_ = DdeCreateStringHandleW(instance_, std::wstring(topic).c_str(), CP_WINUNICODE);
    theServer = this;
    if (DdeNameService(instance_, service_, nullptr, DNS_REGISTER) == nullptr) {
        DdeFreeStringHandle(instance_, service_);
        service_ = nullptr;
    }
}

DdeServer::~DdeServer() {
    if (instance_ == 0)
        return;
    if (service_ != nullptr) {
        DdeNameService(instance_, service_, nullptr, DNS_UNREGISTER);
        DdeFreeStringHandle(instance_, service_);
    }
    if (topic_ != nullptr)
        DdeFreeStringHandle(instance_, topic_);
    DdeUninitialize(instance_);
    theServer = nullptr;
}

ULONG_PTR DdeServer::Execute(std::wstring_view commands) const {
    const std::optional<bool> accepted = handler_(commands);
    if (!accepted)
        return DDE_FBUSY;
    return *accepted ? DDE_FACK : DDE_FNOTPROCESSED;
}

HDDEDATA CALLBACK DdeServer::Callback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data, ULONG_PTR,
                                      ULONG_PTR) {
    DdeServer* server = theServer;
    if (server == nullptr)
        return nullptr;
    const bool ourTopic = topic != nullptr && DdeCmpStringHandles(topic, server->topic_) == 0;
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(ourTopic));
    case XTYP_EXECUTE:
        return reinterpret_cast<HDDEDATA>(ourTopic ? server->Execute(ExecuteText(data)) : DDE_FNOTPROCESSED);
    default:
        return nullptr;
    }
}

std::optional<bool> SendDdeExecute(std::wstring_view service, std::wstring_view topic,
                                   std::wstring_view commands) {
    const DdeInstance instance(&ClientCallback, APPCMD_CLIENTONLY);
    if (instance.id() == 0)
        return std::nullopt;
    const DdeString serviceName(instance.id(), service);
    const DdeString topicName(instance.id(), topic);
    const HCONV conversation = DdeConnect(instance.id(), serviceName.get(), topicName.get(), nullptr);
    if (conversation == nullptr)
        return std::nullopt;
    std::wstring text(commands);
    HDDEDATA result = nullptr;
    for (;;) {
        DWORD status = 0;
        result = DdeClientTransaction(reinterpret_cast<LPBYTE>(text.data()),
                                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), conversation,
                                      nullptr, CF_UNICODETEXT, XTYP_EXECUTE, kExecuteTimeoutMs, &status);
        // Windows reports a busy server as an error, Wine in the status word.
        const bool busy = DdeGetLastError(instance.id()) == DMLERR_BUSY || (status & DDE_FBUSY) != 0;
        if (result != nullptr || !busy)
            break;
        Sleep(kBusyRetryMs);
    }
    DdeDisconnect(conversation);
    return result != nullptr;
}

} // namespace vantrel
