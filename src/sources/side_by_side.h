#pragma once
// Work over numbered pieces done by several threads at once, for calls that wait on the network.
#include <cstddef>
#include <functional>

namespace vantrel {

// Runs `work` for the numbers 0, 1, 2, ... below `count`, handed out in order to at most `threads` threads,
// the calling one included, and returns when all have stopped. A thread stops taking numbers once `work`
// answers false. Threads that cannot be started leave their share to those that could. An exception out of
// `work` on any thread stops the handing out, and the first is thrown again here once every thread stopped.
void SideBySide(std::size_t count, int threads, const std::function<bool(std::size_t)>& work);

} // namespace vantrel
