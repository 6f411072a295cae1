#pragma once
// An HTTP server of a test's own on 127.0.0.1, for code that fetches web pages: it listens on a port the
// system chooses and answers every request from the test's handler, each connection on a thread of its own
// (so one answer may wait for another). Nothing leaves the machine.
#include <winsock2.h>

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vantrel::test {

struct HttpAnswer {
    unsigned status = 200;
    std::string body;
    std::string location; // sent as the Location header when set, for redirects
};

// Called with the request's target (path and query, "/kb?kbid=123456"), on the connection's thread.
using HttpHandler = std::function<HttpAnswer(const std::string& target)>;

class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(HttpHandler handler);
    // Stops listening and waits for the answers under way.
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    bool listening() const { return listener_ != INVALID_SOCKET; }
    unsigned short port() const { return port_; }
    // "http://127.0.0.1:<port>" + path.
    std::wstring Address(std::wstring_view path) const;
    // The targets of the requests so far, in the order they came.
    std::vector<std::string> Targets() const;

private:
    void AcceptConnections();
    void Answer(SOCKET client);

    HttpHandler handler_;
    WSADATA winsock_{};
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    bool stopping_ = false; // under mutex_
    mutable std::mutex mutex_;
    std::vector<std::string> targets_;
    std::vector<std::jthread> connections_;
    std::jthread acceptor_;
};

// A port of 127.0.0.1 where nothing listens: the system chose it a moment ago and it was let go again.
unsigned short UnusedLoopbackPort();

} // namespace vantrel::test
