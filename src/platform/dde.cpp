#include "platform/dde.h"

#include <vector>

namespace vantrel {
namespace {

DdeServer* theServer = nullptr;

// A server runs its commands inside the execute (fills, message boxes): the client waits a day at most.
constexpr DWORD kExecuteTimeoutMs = 24 * 60 * 60 * 1000;
// A busy server (a command string runs, a view fills) is asked again this often.
constexpr DWORD kBusyRetryMs = 100;
constexpr DWORD kServerFlags =
    APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_REQUESTS | CBF_FAIL_POKES | CBF_SKIP_ALLNOTIFICATIONS;

HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// The client's conversation with a server, disconnected on the way out.
class Conversation {
public:
    explicit Conversation(HCONV handle) : handle_(handle) {}
    ~Conversation() {
        if (handle_ != nullptr)
            DdeDisconnect(handle_);
    }
    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;
    HCONV get() const { return handle_; }

private:
    HCONV handle_;
};

std::wstring ExecuteText(HDDEDATA data) {
    const DWORD bytes = DdeGetData(data, nullptr, 0, 0);
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), bytes, 0);
    return text.data();
}

} // namespace

DdeInstance::DdeInstance(PFNCALLBACK callback, DWORD flags) {
    if (DdeInitializeW(&id_, callback, flags, 0) != DMLERR_NO_ERROR)
        id_ = 0;
}

DdeInstance::~DdeInstance() {
    if (id_ != 0)
        DdeUninitialize(id_);
}

DdeString::DdeString(const DdeInstance& instance, std::wstring_view text) : instance_(instance.id()) {
    if (instance_ != 0)
        handle_ = DdeCreateStringHandleW(instance_, std::wstring(text).c_str(), CP_WINUNICODE);
}

DdeString::~DdeString() {
    if (handle_ != nullptr)
        DdeFreeStringHandle(instance_, handle_);
}

DdeServer::DdeServer(std::wstring_view service, std::wstring_view topic, ExecuteHandler handler)
    : handler_(std::move(handler)), instance_(&DdeServer::Callback, kServerFlags),
      service_(instance_, service), topic_(instance_, topic) {
    if (instance_.id() == 0 || theServer != nullptr || service_.get() == nullptr || topic_.get() == nullptr)
        return;
    theServer = this;
    registered_ = DdeNameService(instance_.id(), service_.get(), nullptr, DNS_REGISTER) != nullptr;
}

DdeServer::~DdeServer() {
    if (registered_)
        DdeNameService(instance_.id(), service_.get(), nullptr, DNS_UNREGISTER);
    if (theServer == this)
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
    const bool ourTopic = topic != nullptr && DdeCmpStringHandles(topic, server->topic_.get()) == 0;
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
    const DdeString serviceName(instance, service);
    const DdeString topicName(instance, topic);
    const Conversation conversation(DdeConnect(instance.id(), serviceName.get(), topicName.get(), nullptr));
    if (conversation.get() == nullptr)
        return std::nullopt;
    std::wstring text(commands);
    HDDEDATA result = nullptr;
    for (;;) {
        DWORD status = 0;
        result = DdeClientTransaction(
            reinterpret_cast<LPBYTE>(text.data()), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)),
            conversation.get(), nullptr, CF_UNICODETEXT, XTYP_EXECUTE, kExecuteTimeoutMs, &status);
        // Windows reports a busy server as an error, Wine in the status word.
        const bool busy = DdeGetLastError(instance.id()) == DMLERR_BUSY || (status & DDE_FBUSY) != 0;
        if (result != nullptr || !busy)
            break;
        Sleep(kBusyRetryMs);
    }
    return result != nullptr;
}

} // namespace vantrel
