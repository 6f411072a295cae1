#include "sources/side_by_side.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vantrel {

void SideBySide(std::size_t count, int threads, const std::function<bool(std::size_t)>& work) {
    std::atomic<std::size_t> next = 0;
    std::atomic<bool> failed = false;
    std::mutex mutex;
    std::exception_ptr failure; // the first exception of any thread
    const auto takeNumbers = [&] {
        try {
            for (std::size_t n = next++; n < count && !failed && work(n); n = next++) {
            }
        } catch (...) {
            const std::lock_guard lock(mutex);
            if (!failure)
                failure = std::current_exception();
            failed = true;
        }
    };
    {
        std::vector<std::jthread> helpers; // joined at the end of this block
        try {
            for (int t = 1; t < threads; ++t)
                helpers.emplace_back(takeNumbers);
        } catch (const std::system_error&) {
            // Fewer helpers; the numbers are shared among those there are.
        }
        takeNumbers();
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace vantrel
