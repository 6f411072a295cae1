#include "engine/packed_texts.h"

#include <algorithm>

namespace vantrel {
namespace {

// Blocks of 512 KB; a text too long to share one gets a block of its own, exactly its size.
constexpr size_t kBlockChars = 256 * 1024;
constexpr size_t kOwnBlockChars = kBlockChars / 4;
// Compacting pays only once enough has been dropped.
constexpr size_t kCompactAfterChars = 1024 * 1024;

} // namespace

PackedTexts::Ref PackedTexts::Add(std::wstring_view text) {
    if (text.empty())
        return {};
    // Lengths past what a reference holds cannot come from a registry or a file line; they are cut.
    text = text.substr(0, std::min<size_t>(text.size(), UINT32_MAX));
    Ref ref{};
    ref.length = static_cast<std::uint32_t>(text.size());
    if (text.size() > kOwnBlockChars) {
        const size_t filling = filling_;
        StartBlock(text.size());
        filling_ = filling; // short texts keep going to the block they went to
        ref.block = static_cast<std::uint32_t>(blocks_.size() - 1);
    } else {
        if (filling_ == SIZE_MAX || used_ + text.size() > kBlockChars) {
            StartBlock(kBlockChars);
            filling_ = blocks_.size() - 1;
            used_ = 0;
        }
        ref.block = static_cast<std::uint32_t>(filling_);
        ref.offset = static_cast<std::uint32_t>(used_);
        used_ += text.size();
    }
    std::copy(text.begin(), text.end(), blocks_[ref.block].get() + ref.offset);
    kept_ += text.size();
    return ref;
}

void PackedTexts::StartBlock(size_t chars) {
    blocks_.push_back(std::make_unique_for_overwrite<wchar_t[]>(chars));
}

bool PackedTexts::WorthCompacting() const {
    return dropped_ > kCompactAfterChars && dropped_ > kept_ - dropped_;
}

void PackedTexts::Compact(std::span<Ref> refs) {
    PackedTexts compacted;
    for (Ref& ref : refs)
        ref = compacted.Add(View(ref));
    *this = std::move(compacted);
}

void PackedTexts::Clear() {
    *this = PackedTexts();
}

} // namespace vantrel
