#include "platform/web_page.h"

#include "platform/system_message.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <winhttp.h>

#include <algorithm>

namespace vantrel {
namespace {

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { WinHttpCloseHandle(h); }
};
using UniqueInternet = UniqueAny<InternetHandleTraits>;

constexpr DWORD kReadChunkBytes = 64 * 1024;
constexpr std::uint32_t kFirstWinHttpError = 12000;
constexpr std::uint32_t kLastWinHttpError = 12192;

struct WinHttpErrorText {
    std::uint32_t code;
    const wchar_t* text;
};

// Our own words for the failures a look-up meets most, where winhttp.dll has none (Wine's has no message
// table).
constexpr WinHttpErrorText kWinHttpErrorTexts[] = {
    {ERROR_WINHTTP_TIMEOUT, L"The operation timed out"},
    {ERROR_WINHTTP_INVALID_URL, L"The URL is invalid"},
    {ERROR_WINHTTP_UNRECOGNIZED_SCHEME, L"The URL does not use a recognized protocol"},
    {ERROR_WINHTTP_NAME_NOT_RESOLVED, L"The server name or address could not be resolved"},
    {ERROR_WINHTTP_CANNOT_CONNECT, L"A connection with the server could not be established"},
    {ERROR_WINHTTP_CONNECTION_ERROR, L"The connection with the server was reset or terminated"},
    {ERROR_WINHTTP_INVALID_SERVER_RESPONSE, L"The server response could not be parsed"},
    {ERROR_WINHTTP_REDIRECT_FAILED, L"The redirection failed"},
    {ERROR_WINHTTP_SECURE_FAILURE, L"A security error occurred"},
};

std::unexpected<std::uint32_t> LastError() {
    return std::unexpected(static_cast<std::uint32_t>(GetLastError()));
}

// A page of this computer never goes through a proxy, whatever the proxy settings say: Wine's WinHTTP takes
// its proxy from http_proxy when nothing is configured, sends even 127.0.0.1 there, and ignores a request's
// own proxy option, so the session itself goes direct.
bool IsLoopbackHost(std::wstring_view host) {
    return CompareStringOrdinal(host.data(), static_cast<int>(host.size()), L"localhost", -1, TRUE) ==
               CSTR_EQUAL ||
           host.starts_with(L"127.") || host == L"[::1]" || host == L"::1";
}

std::expected<unsigned, std::uint32_t> StatusOf(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return LastError();
    return static_cast<unsigned>(status);
}

std::expected<std::string, std::uint32_t> BodyOf(HINTERNET request, const std::stop_token& stop) {
    std::string body;
    while (body.size() < kWebPageMaximumBytes && !stop.stop_requested()) {
        const size_t before = body.size();
        const DWORD wanted =
            static_cast<DWORD>(std::min<size_t>(kReadChunkBytes, kWebPageMaximumBytes - before));
        body.resize(before + wanted);
        DWORD read = 0;
        if (!WinHttpReadData(request, body.data() + before, wanted, &read))
            return LastError();
        body.resize(before + read);
        if (read == 0)
            break;
    }
    return body;
}

} // namespace

std::expected<WebPage, std::uint32_t> FetchWebPage(std::wstring_view address, std::stop_token stop) {
    const std::wstring url(address);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts))
        return LastError();
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return std::unexpected(static_cast<std::uint32_t>(ERROR_WINHTTP_UNRECOGNIZED_SCHEME));
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty())
        path = L"/";

    const DWORD access =
        IsLoopbackHost(host) ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
    const UniqueInternet session(
        WinHttpOpen(L"Vantrel", access, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        return LastError();
    if (!WinHttpSetTimeouts(session.get(), kWebStepTimeoutMs, kWebStepTimeoutMs, kWebStepTimeoutMs,
                            kWebStepTimeoutMs))
        return LastError();
    const UniqueInternet connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
    if (!connection)
        return LastError();
    const UniqueInternet request(WinHttpOpenRequest(
        connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
        parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
    if (!request)
        return LastError();
    if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                            0) ||
        !WinHttpReceiveResponse(request.get(), nullptr))
        return LastError();

    const auto status = StatusOf(request.get());
    if (!status)
        return std::unexpected(status.error());
    auto body = BodyOf(request.get(), stop);
    if (!body)
        return std::unexpected(body.error());
    return WebPage{*status, std::move(*body)};
}

std::wstring WebErrorMessage(std::uint32_t code) {
    if (code < kFirstWinHttpError || code > kLastWinHttpError)
        return SystemMessage(code);
    if (auto text = ModuleMessage(code, L"winhttp.dll"))
        return *std::move(text);
    for (const WinHttpErrorText& known : kWinHttpErrorTexts)
        if (known.code == code)
            return known.text;
    return L"Error " + std::to_wstring(code);
}

} // namespace vantrel
