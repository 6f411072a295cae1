#include "sources/registry_snapshot.h"

#include "sources/registry_names.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace vantrel {
namespace {

using KeyId = RegistrySnapshot::KeyId;

// The roots a snapshot holds, as the first nodes; the classes root lives under the local machine.
constexpr KeyId kLocalMachineNode = 0;
constexpr KeyId kCurrentUserNode = 1;
constexpr KeyId kUsersNode = 2;
constexpr KeyId kRootNodeCount = 3;
constexpr std::array<std::wstring_view, 2> kClassesLevels = {L"SOFTWARE", L"Classes"};

KeyId RootNode(RootKey root) {
    switch (root) {
    case RootKey::CurrentUser:
        return kCurrentUserNode;
    case RootKey::Users:
        return kUsersNode;
    case RootKey::FromPath:
    case RootKey::LocalMachine:
    case RootKey::ClassesRoot:
        break;
    }
    return kLocalMachineNode;
}

// Calls `level` with each level of a key path, skipping empty ones.
template <typename Level> bool ForEachLevel(std::wstring_view path, Level level) {
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring_view::npos)
            end = path.size();
        if (end > start && !level(path.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

// Builds the tree while the file is read. Exports list a key's subkeys right after it, so each new key is
// almost always a new child of a key on the path of the one before: the builder keeps that path and looks no
// key up. A key given twice becomes a second node of the same name, and Finish merges the two.
class SnapshotBuilder final : public RegFileSink {
public:
    explicit SnapshotBuilder(RegistrySnapshot& snapshot) : snapshot_(snapshot) {
        for (KeyId root = 0; root < kRootNodeCount; ++root)
            snapshot_.nodes_.emplace_back();
    }

    // Room for what an export of this length usually holds, taken at once rather than by doubling: growing a
    // pool copies it and touches fresh memory, the larger part of a load's time. Room not used is never
    // touched.
    void Expect(std::size_t textLength) override {
        snapshot_.names_.reserve(textLength / 4);
        snapshot_.data_.reserve(textLength / 2);
        snapshot_.values_.reserve(textLength / 64);
        snapshot_.nodes_.reserve(textLength / 128);
    }

    void Key(RootKey root, std::wstring_view path) override {
        const KeyId rootNode = RootNode(root);
        if (path_.empty() || path_.front() != rootNode)
            path_.assign(1, rootNode);
        size_t depth = 0;
        const auto descend = [&](std::wstring_view level) {
            ++depth;
            if (depth < path_.size() && SameRegistryName(Name(path_[depth]), level))
                return true;
            path_.resize(depth);
            path_.push_back(AddChild(path_.back(), level));
            return true;
        };
        if (root == RootKey::ClassesRoot)
            for (const std::wstring_view level : kClassesLevels)
                descend(level);
        ForEachLevel(path, descend);
        path_.resize(depth + 1);
    }

    void Value(std::wstring_view name, std::uint32_t type, std::span<const std::uint8_t> data) override {
        RegistrySnapshot::Node& key = snapshot_.nodes_[path_.back()];
        // A key's values stay together: a key given again further on moves its values to the end first.
        if (key.valueCount == 0)
            key.firstValue = static_cast<std::uint32_t>(snapshot_.values_.size());
        else if (key.firstValue + key.valueCount != snapshot_.values_.size())
            key.firstValue = MoveToEnd(key.firstValue, key.valueCount);
        RegistrySnapshot::StoredValue value;
        value.name = AddName(name);
        value.type = type;
        value.data = {snapshot_.data_.size(), static_cast<std::uint32_t>(data.size())};
        snapshot_.data_.insert(snapshot_.data_.end(), data.begin(), data.end());
        snapshot_.values_.push_back(value);
        ++key.valueCount;
    }

    // Sorts every key's subkeys, merges keys given twice and keeps one of each value name.
    void Finish() {
        std::vector<KeyId> pending;
        for (KeyId root = 0; root < kRootNodeCount; ++root)
            pending.push_back(root);
        while (!pending.empty()) {
            const KeyId key = pending.back();
            pending.pop_back();
            MergeChildren(key);
            KeepLastOfEachValue(key);
            const auto& children = snapshot_.nodes_[key].children;
            pending.insert(pending.end(), children.begin(), children.end());
        }
    }

private:
    std::wstring_view Name(KeyId key) const { return snapshot_.NameOf(snapshot_.nodes_[key].name); }

    RegistrySnapshot::Slice AddName(std::wstring_view name) {
        const RegistrySnapshot::Slice slice{snapshot_.names_.size(), static_cast<std::uint32_t>(name.size())};
        snapshot_.names_.append(name);
        return slice;
    }

    KeyId AddChild(KeyId parent, std::wstring_view name) {
        const auto child = static_cast<KeyId>(snapshot_.nodes_.size());
        snapshot_.nodes_.emplace_back().name = AddName(name);
        snapshot_.nodes_[parent].children.push_back(child);
        return child;
    }

    // Copies values [first, first + count) to the end of all values; where they start now.
    std::uint32_t MoveToEnd(std::uint32_t first, std::uint32_t count) {
        auto& values = snapshot_.values_;
        const auto start = static_cast<std::uint32_t>(values.size());
        values.reserve(values.size() + count + 1);
        for (std::uint32_t i = 0; i < count; ++i)
            values.push_back(values[first + i]);
        return start;
    }

    bool Before(KeyId a, KeyId b) const { return CompareRegistryNames(Name(a), Name(b)) < 0; }

    void MergeChildren(KeyId key) {
        auto& children = snapshot_.nodes_[key].children;
        // Exports list subkeys in order already: then there is nothing to sort or merge.
        if (std::ranges::adjacent_find(children, [&](KeyId a, KeyId b) { return !Before(a, b); }) ==
            children.end())
            return;
        std::ranges::stable_sort(children, [&](KeyId a, KeyId b) { return Before(a, b); });
        size_t kept = 0;
        for (size_t i = 0; i < children.size(); ++i) {
            if (kept > 0 && SameRegistryName(Name(children[kept - 1]), Name(children[i]))) {
                Merge(children[kept - 1], children[i]);
                continue;
            }
            children[kept++] = children[i];
        }
        children.resize(kept);
    }

    // The second of two keys of the same name becomes part of the first.
    void Merge(KeyId intoKey, KeyId fromKey) {
        auto& into = snapshot_.nodes_[intoKey];
        auto& from = snapshot_.nodes_[fromKey];
        into.children.insert(into.children.end(), from.children.begin(), from.children.end());
        if (from.valueCount > 0) {
            const std::uint32_t start = MoveToEnd(into.firstValue, into.valueCount);
            MoveToEnd(from.firstValue, from.valueCount);
            into.firstValue = start;
            into.valueCount += from.valueCount;
        }
        from = {};
    }

    // A value given again keeps its first place and takes its last data.
    void KeepLastOfEachValue(KeyId key) {
        auto& node = snapshot_.nodes_[key];
        const std::span values = std::span(snapshot_.values_).subspan(node.firstValue, node.valueCount);
        const auto nameOf = [&](size_t i) {
            return snapshot_.NameOf(values[i].name);
        };
        if (!HasTwiceNamed(values.size(), nameOf))
            return;
        std::vector<size_t> order(values.size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::ranges::stable_sort(
            order, [&](size_t a, size_t b) { return CompareRegistryNames(nameOf(a), nameOf(b)) < 0; });
        std::vector<bool> dropped(values.size(), false);
        for (size_t run = 0; run < order.size();) {
            size_t end = run + 1;
            while (end < order.size() && SameRegistryName(nameOf(order[run]), nameOf(order[end])))
                ++end;
            values[order[run]].type = values[order[end - 1]].type;
            values[order[run]].data = values[order[end - 1]].data;
            for (size_t i = run + 1; i < end; ++i)
                dropped[order[i]] = true;
            run = end;
        }
        std::uint32_t kept = 0;
        for (size_t i = 0; i < values.size(); ++i)
            if (!dropped[i])
                values[kept++] = values[i];
        node.valueCount = kept;
    }

    // Whether two of the names are the same; keys have a few values, so comparing each pair costs less than
    // sorting them, and a key of many values is sorted anyway.
    template <typename NameOf> static bool HasTwiceNamed(size_t count, NameOf nameOf) {
        constexpr size_t kPairwiseUpTo = 32;
        if (count > kPairwiseUpTo)
            return true;
        for (size_t i = 1; i < count; ++i)
            for (size_t j = 0; j < i; ++j)
                if (SameRegistryName(nameOf(i), nameOf(j)))
                    return true;
        return false;
    }

    RegistrySnapshot& snapshot_;
    std::vector<KeyId> path_; // the nodes from the root to the key of the last section
};

std::expected<std::shared_ptr<const RegistrySnapshot>, RegFileError>
RegistrySnapshot::FromRegFile(std::span<const std::uint8_t> bytes) {
    // Not make_shared: the constructor is private to the class and its builder.
    std::shared_ptr<RegistrySnapshot> snapshot(new RegistrySnapshot);
    SnapshotBuilder builder(*snapshot);
    if (auto read = ReadRegFile(bytes, builder); !read)
        return std::unexpected(std::move(read.error()));
    builder.Finish();
    return snapshot;
}

std::optional<KeyId> RegistrySnapshot::Root(RootKey root) const {
    if (root != RootKey::ClassesRoot)
        return RootNode(root);
    return Find(kLocalMachineNode, L"SOFTWARE\\Classes");
}

std::optional<KeyId> RegistrySnapshot::Find(KeyId from, std::wstring_view path) const {
    KeyId key = from;
    const bool found = ForEachLevel(path, [&](std::wstring_view level) {
        const auto& children = nodes_[key].children;
        const auto at = std::ranges::lower_bound(
            children, level,
            [](std::wstring_view a, std::wstring_view b) { return CompareRegistryNames(a, b) < 0; },
            [&](KeyId child) { return NameOf(nodes_[child].name); });
        if (at == children.end() || !SameRegistryName(NameOf(nodes_[*at].name), level))
            return false;
        key = *at;
        return true;
    });
    return found ? std::optional(key) : std::nullopt;
}

std::optional<std::wstring> RegistrySnapshot::SubkeyAt(KeyId key, std::uint32_t index) const {
    const auto& children = nodes_[key].children;
    if (index >= children.size())
        return std::nullopt;
    return std::wstring(NameOf(nodes_[children[index]].name));
}

RegistryData RegistrySnapshot::DataOf(const StoredValue& value) const {
    const auto first = data_.begin() + static_cast<std::ptrdiff_t>(value.data.offset);
    return RegistryData{value.type, std::vector<std::uint8_t>(first, first + value.data.length)};
}

std::optional<RegistryValue> RegistrySnapshot::ValueAt(KeyId key, std::uint32_t index) const {
    const auto values = ValuesOf(key);
    if (index >= values.size())
        return std::nullopt;
    return RegistryValue{std::wstring(NameOf(values[index].name)), DataOf(values[index])};
}

std::optional<RegistryData> RegistrySnapshot::Value(KeyId key, std::wstring_view name) const {
    for (const StoredValue& value : ValuesOf(key))
        if (SameRegistryName(NameOf(value.name), name))
            return DataOf(value);
    return std::nullopt;
}

} // namespace vantrel
