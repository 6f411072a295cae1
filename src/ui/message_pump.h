#pragma once
// Letting pending window messages run in the middle of a long operation on the user-interface thread.
#include <windows.h>

namespace vantrel {

class MessagePump {
public:
    // Dispatches the messages waiting now, at most once per `intervalMs` (each look costs a round trip to the
    // window system). False when the program is ending: the quit message is left for the main loop.
    bool LetMessagesRun();

    static constexpr unsigned long long kIntervalMs = 20;

private:
    unsigned long long lastRun_ = 0;
};

} // namespace vantrel
