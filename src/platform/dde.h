#pragma once
// DDE execute strings between two instances of the program (or any other program): the main window is a
// server on one service and topic; a second start is a client that hands over its command line.
#include <windows.h>

#include <ddeml.h> // after windows.h, which it needs

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// One DDEML instance of this process, for as long as it lives; id 0 when DdeInitialize failed.
class DdeInstance {
public:
    DdeInstance(PFNCALLBACK callback, DWORD flags);
    ~DdeInstance();
    DdeInstance(const DdeInstance&) = delete;
    DdeInstance& operator=(const DdeInstance&) = delete;
    DWORD id() const { return id_; }

private:
    DWORD id_ = 0;
};

// A string handle of an instance; freed before the instance goes.
class DdeString {
public:
    DdeString(const DdeInstance& instance, std::wstring_view text);
    ~DdeString();
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;
    HSZ get() const { return handle_; }

private:
    DWORD instance_;
    HSZ handle_ = nullptr;
};

// Serves execute requests on `service`|`topic` (topic names match without regard to case) for as long as it
// lives. The handler answers true when the commands were accepted, or nothing when the program is busy: the
// sender is then told so (DDE_FBUSY) and may send again. One server per process.
class DdeServer {
public:
    using ExecuteHandler = std::function<std::optional<bool>(std::wstring_view commands)>;

    DdeServer(std::wstring_view service, std::wstring_view topic, ExecuteHandler handler);
    ~DdeServer();
    DdeServer(const DdeServer&) = delete;
    DdeServer& operator=(const DdeServer&) = delete;

    bool running() const { return registered_; }

private:
    ULONG_PTR Execute(std::wstring_view commands) const;
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ item,
                                      HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

    ExecuteHandler handler_;
    // Declared in the order they are made; they go in reverse.
    DdeInstance instance_;
    DdeString service_;
    DdeString topic_;
    bool registered_ = false;
};

// Sends one execute string and waits, however long the server works on it, sending it again while the server
// answers that it is busy. Nothing when no server answers on that service and topic; otherwise whether the
// server accepted the commands.
[[nodiscard]] std::optional<bool> SendDdeExecute(std::wstring_view service, std::wstring_view topic,
                                                 std::wstring_view commands);

} // namespace vantrel
