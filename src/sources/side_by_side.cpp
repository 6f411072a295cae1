#include "sources/side_by_side.h"

#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace vantrel {

void SideBySide(std::size_t count, int threads, const std::function<bool(std::size_t)>& work) {
    std::atomic<std::size_t> next = 0;
    const auto takeNumbers = [&] {
        for (std::size_t n = next++; n < count && work(n); n = next++) {
        }
    };
    std::vector<std::jthread> helpers; // joined when this ends
    try {
        for (int t = 1; t < threads; ++t)
            helpers.emplace_back(takeNumbers);
    } catch (const std::system_error&) {
        // Fewer helpers; the numbers are shared among those there are.
    }
    takeNumbers();
}

} // namespace vantrel
