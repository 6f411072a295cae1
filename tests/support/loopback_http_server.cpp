#include "support/loopback_http_server.h"

#include <ws2tcpip.h>

namespace vantrel::test {
namespace {

constexpr size_t kLongestRequestHead = 16 * 1024;

// A socket bound to 127.0.0.1 at `port` (0: any free one).
SOCKET BoundLoopbackSocket(unsigned short port) {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

unsigned short PortOf(SOCKET s) {
    sockaddr_in address{};
    int size = sizeof address;
    if (getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 0;
    return ntohs(address.sin_port);
}

// The request's head (up to the empty line), or as much as came before the client stopped sending.
std::string RequestHead(SOCKET client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kLongestRequestHead) {
        const int received = recv(client, buffer, sizeof buffer, 0);
        if (received <= 0)
            break;
        head.append(buffer, static_cast<size_t>(received));
    }
    return head;
}

// "GET /kb?kbid=123456 HTTP/1.1" → "/kb?kbid=123456".
std::string TargetOf(const std::string& head) {
    const size_t start = head.find(' ');
    const size_t end = start == std::string::npos ? start : head.find(' ', start + 1);
    return end == std::string::npos ? std::string() : head.substr(start + 1, end - start - 1);
}

const char* ReasonOf(unsigned status) {
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}

void SendAll(SOCKET client, const std::string& data) {
    for (size_t sent = 0; sent < data.size();) {
        const int n = send(client, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0)
            return;
        sent += static_cast<size_t>(n);
    }
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer(HttpHandler handler) : handler_(std::move(handler)) {
    if (WSAStartup(MAKEWORD(2, 2), &winsock_) != 0)
        return;
    listener_ = BoundLoopbackSocket(0);
    if (listener_ == INVALID_SOCKET)
        return;
    if (listen(listener_, SOMAXCONN) != 0) {
        closesocket(listener_);
        listener_ = INVALID_SOCKET;
        return;
    }
    port_ = PortOf(listener_);
    acceptor_ = std::jthread([this] { AcceptConnections(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    if (listener_ != INVALID_SOCKET) {
        {
            const std::scoped_lock lock(mutex_);
            stopping_ = true;
        }
        // A connection of our own wakes the accept, which then sees that we are stopping.
        const SOCKET wake = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port_);
        connect(wake, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        acceptor_.join();
        closesocket(wake);
        closesocket(listener_);
    }
    connections_.clear(); // no one adds to them any more
    WSACleanup();
}

std::wstring LoopbackHttpServer::Address(std::wstring_view path) const {
    return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path);
}

std::vector<std::string> LoopbackHttpServer::Targets() const {
    const std::scoped_lock lock(mutex_);
    return targets_;
}

void LoopbackHttpServer::AcceptConnections() {
    for (;;) {
        const SOCKET client = accept(listener_, nullptr, nullptr);
        const std::scoped_lock lock(mutex_);
        if (stopping_ || client == INVALID_SOCKET) {
            if (client != INVALID_SOCKET)
                closesocket(client);
            return;
        }
        connections_.emplace_back([this, client] { Answer(client); });
    }
}

void LoopbackHttpServer::Answer(SOCKET client) {
    const std::string target = TargetOf(RequestHead(client));
    {
        const std::scoped_lock lock(mutex_);
        targets_.push_back(target);
    }
    const HttpAnswer answer = handler_(target);
    std::string response = "HTTP/1.1 " + std::to_string(answer.status) + " " + ReasonOf(answer.status) +
                           "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                           std::to_string(answer.body.size()) + "\r\nConnection: close\r\n";
    if (!answer.location.empty())
        response += "Location: " + answer.location + "\r\n";
    response += "\r\n" + answer.body;
    SendAll(client, response);
    shutdown(client, SD_SEND);
    closesocket(client);
}

unsigned short UnusedLoopbackPort() {
    WSADATA winsock{};
    if (WSAStartup(MAKEWORD(2, 2), &winsock) != 0)
        return 0;
    const SOCKET s = BoundLoopbackSocket(0);
    const unsigned short port = s == INVALID_SOCKET ? 0 : PortOf(s);
    if (s != INVALID_SOCKET)
        closesocket(s);
    WSACleanup();
    return port;
}

} // namespace vantrel::test
