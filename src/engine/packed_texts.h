#pragma once
// Many short texts kept in a few large blocks. A text costs a small reference and its characters rather than
// a string object and an allocation of its own, which is what lets a grid of millions of cells fit in memory.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace vantrel {

class PackedTexts {
public:
    // Where a text lies; the default one is the empty text.
    struct Ref {
        std::uint32_t block = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };

    [[nodiscard]] Ref Add(std::wstring_view text);
    // Valid until the next Compact or Clear.
    std::wstring_view View(Ref ref) const {
        return ref.length == 0 ? std::wstring_view()
                               : std::wstring_view(blocks_[ref.block].get() + ref.offset, ref.length);
    }
    // A text no longer referred to; its characters stay until the next Compact.
    void Drop(Ref ref) { dropped_ += ref.length; }
    // True when dropped texts take more room than the ones still referred to.
    bool WorthCompacting() const;
    // Keeps only the texts of refs, which are pointed at their new places.
    void Compact(std::span<Ref> refs);
    void Clear();

private:
    void StartBlock(size_t chars);

    std::vector<std::unique_ptr<wchar_t[]>> blocks_;
    size_t filling_ = SIZE_MAX; // the block new short texts go to
    size_t used_ = 0;           // characters used in it
    size_t kept_ = 0;           // characters added, dropped ones included
    size_t dropped_ = 0;
};

} // namespace vantrel
