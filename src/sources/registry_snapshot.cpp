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
        RegistrySnapshot::StoredValue value;
        value.name = AddName(name);
        value.type = type;
        value.data = {snapshot_.data_.size(), static_cast<std::uint32_t>(data.size())};
        snapshot_.data_.insert(snapshot_.data_.end(), data.begin(), data.end());
        snapshot_.nodes_[path_.back()].values.push_back(value);
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

    void MergeChildren(KeyId key) {
        auto& children = snapshot_.nodes_[key].children;
        std::ranges::stable_sort(
            children, [&](KeyId a, KeyId b) { return CompareRegistryNames(Name(a), Name(b)) < 0; });
        size_t kept = 0;
        for (size_t i = 0; i < children.size(); ++i) {
            if (kept > 0 && SameRegistryName(Name(children[kept - 1]), Name(children[i]))) {
                auto& into = snapshot_.nodes_[children[kept - 1]];
                auto& from = snapshot_.nodes_[children[i]];
                into.children.insert(into.children.end(), from.children.begin(), from.children.end());
                into.values.insert(into.values.end(), from.values.begin(), from.values.end());
                from = {};
                continue;
            }
            children[kept++] = children[i];
        }
        children.resize(kept);
    }

    // A value given again keeps its first place and takes its last data.
    void KeepLastOfEachValue(KeyId key) {
        auto& values = snapshot_.nodes_[key].values;
        if (values.size() < 2)
            return;
        std::vector<size_t> order(values.size());
        std::iota(order.begin(), order.end(), size_t{0});
        const auto nameOf = [&](size_t i) {
            return snapshot_.NameOf(values[i].name);
        };
        std::ranges::stable_sort(
            order, [&](size_t a, size_t b) { return CompareRegistryNames(nameOf(a), nameOf(b)) < 0; });
        std::vector<bool> dropped(values.size(), false);
        bool any = false;
        for (size_t run = 0; run < order.size();) {
            size_t end = run + 1;
            while (end < order.size() && SameRegistryName(nameOf(order[run]), nameOf(order[end])))
                ++end;
            if (end - run > 1) {
                values[order[run]].type = values[order[end - 1]].type;
                values[order[run]].data = values[order[end - 1]].data;
                for (size_t i = run + 1; i < end; ++i)
                    dropped[order[i]] = true;
                any = true;
            }
            run = end;
        }
        if (!any)
            return;
        size_t kept = 0;
        for (size_t i = 0; i < values.size(); ++i)
            if (!dropped[i])
                values[kept++] = values[i];
        values.resize(kept);
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
    const auto& values = nodes_[key].values;
    if (index >= values.size())
        return std::nullopt;
    return RegistryValue{std::wstring(NameOf(values[index].name)), DataOf(values[index])};
}

const RegistrySnapshot::StoredValue* RegistrySnapshot::FindValue(KeyId key, std::wstring_view name) const {
    for (const StoredValue& value : nodes_[key].values)
        if (SameRegistryName(NameOf(value.name), name))
            return &value;
    return nullptr;
}

std::optional<RegistryData> RegistrySnapshot::Value(KeyId key, std::wstring_view name) const {
    const StoredValue* value = FindValue(key, name);
    if (value == nullptr)
        return std::nullopt;
    return DataOf(*value);
}

} // namespace vantrel
