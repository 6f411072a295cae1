#pragma once
// The benchmarks' stopwatch.
#include <chrono>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace bench
