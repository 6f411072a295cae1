#pragma once
// A registry exported to a .reg file, held in memory the way the registry held it: subkeys in the registry's
// order (alphabetical without regard to case), values in the order of the file, names found without regard
// to case. It is built whole and never changed after, so any number of threads may read it at once.
//
// The classes root of another computer is its local machine's Software\Classes, as the remote registry serves
// it; sections of HKEY_CLASSES_ROOT are held there. A key or value that appears twice is held once, with
// the last data the file gives it, as an import leaves it.
#include "sources/reg_file.h"
#include "sources/registry_api.h"

#include <cstdint>
#include <expected>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class RegistrySnapshot {
public:
    using KeyId = std::uint32_t;

    static std::expected<std::shared_ptr<const RegistrySnapshot>, RegFileError>
    FromRegFile(std::span<const std::uint8_t> bytes);

    // The root's key; nothing for the classes root when the export holds no Software\Classes.
    std::optional<KeyId> Root(RootKey root) const;
    // The key `path` levels below `from` ("" or "\" is `from` itself); nothing when there is none.
    std::optional<KeyId> Find(KeyId from, std::wstring_view path) const;

    std::optional<std::wstring> SubkeyAt(KeyId key, std::uint32_t index) const;
    std::optional<RegistryValue> ValueAt(KeyId key, std::uint32_t index) const;
    std::optional<RegistryData> Value(KeyId key, std::wstring_view name) const;

    // The keys held, roots included (a key the file gave twice counts twice).
    std::size_t KeyCount() const { return nodes_.size(); }

private:
    friend class SnapshotBuilder;

    // A name or data in one of the pools below.
    struct Slice {
        std::size_t offset = 0;
        std::uint32_t length = 0;
    };
    struct StoredValue {
        Slice name;
        std::uint32_t type = regtype::kNone;
        Slice data;
    };
    struct Node {
        Slice name;
        std::vector<KeyId> children;  // in the registry's order once built
        std::uint32_t firstValue = 0; // the key's values are values_[firstValue, firstValue + valueCount)
        std::uint32_t valueCount = 0;
    };

    RegistrySnapshot() = default;
    std::wstring_view NameOf(Slice slice) const {
        return std::wstring_view(names_).substr(slice.offset, slice.length);
    }
    std::span<const StoredValue> ValuesOf(KeyId key) const {
        return std::span(values_).subspan(nodes_[key].firstValue, nodes_[key].valueCount);
    }
    RegistryData DataOf(const StoredValue& value) const;

    // Every name, all data and all values, back to back: a snapshot of a million values makes a few large
    // allocations rather than a million small ones.
    std::wstring names_;
    std::vector<std::uint8_t> data_;
    std::vector<StoredValue> values_;
    std::vector<Node> nodes_; // the roots first (see the .cpp)
};

} // namespace vantrel
