#pragma once
// How a fuzz target reads its input: small numbers as single bytes, texts as UTF-16LE code units (every one
// of the 65,536 reaches the code, lone surrogates and NULs included), a text among several with a one-byte
// length before it. fuzz/make_seeds.py writes seeds in the same layout.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

namespace vantrel::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

    // The next byte; 0 once the input is used up.
    std::uint8_t Byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }

    // The next `count` characters, fewer where the input ends.
    std::wstring Text(std::size_t count) {
        std::wstring text;
        while (text.size() < count && at_ + 1 < bytes_.size()) {
            text += static_cast<wchar_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
            at_ += 2;
        }
        return text;
    }

    // A text of up to 255 characters, its length in the byte before it.
    std::wstring Part() { return Text(Byte()); }

    // Every character left.
    std::wstring Rest() { return Text(bytes_.size()); }

    // The bytes left, as they are.
    std::span<const std::uint8_t> RestBytes() {
        const auto rest = bytes_.subspan(at_);
        at_ = bytes_.size();
        return rest;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// A property the code promises did not hold: libFuzzer reports it as a crash, with the input that broke it.
inline void Require(bool holds) {
    if (!holds)
        std::abort();
}

} // namespace vantrel::fuzz
