#include "sources/snapshot_folder.h"

#include "sources/registry_names.h"

namespace vantrel {
namespace {

constexpr std::wstring_view kNotInFileNames = L"\\/:*?\"<>|";

std::wstring_view WithoutLeadingBackslashes(std::wstring_view name) {
    while (name.starts_with(L'\\'))
        name.remove_prefix(1);
    return name;
}

std::wstring UpperCase(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper)
        c = RegistryUpperCase(c);
    return upper;
}

} // namespace

SnapshotFolder::SnapshotFolder(SnapshotFiles& files, std::wstring folder)
    : files_(files), folder_(std::move(folder)) {}

std::wstring SnapshotFolder::PathOf(std::wstring_view computer) const {
    const std::wstring_view name = WithoutLeadingBackslashes(computer);
    if (folder_.empty() || name.empty() || name == L"." || name == L".." ||
        name.find_first_of(kNotInFileNames) != std::wstring_view::npos)
        return {};
    return folder_ + (folder_.ends_with(L'\\') ? L"" : L"\\") + std::wstring(name) + L".reg";
}

bool SnapshotFolder::Serves(std::wstring_view computer) {
    const std::wstring path = PathOf(computer);
    return !path.empty() && files_.Stamp(path).has_value();
}

std::optional<std::expected<std::shared_ptr<const RegistrySnapshot>, long>>
SnapshotFolder::Load(std::wstring_view computer) {
    const std::wstring path = PathOf(computer);
    if (path.empty())
        return std::nullopt;
    std::wstring failure;
    std::shared_ptr<const RegistrySnapshot> snapshot;
    {
        // One thread loads while the others wait for its result rather than loading the same file again.
        const std::lock_guard lock(mutex_);
        const std::wstring id = UpperCase(WithoutLeadingBackslashes(computer));
        const std::optional<FileStamp> stamp = files_.Stamp(path);
        if (!stamp) {
            loaded_.erase(id);
            return std::nullopt;
        }
        const auto kept = loaded_.find(id);
        if (kept != loaded_.end() && kept->second.stamp == *stamp) {
            snapshot = kept->second.snapshot;
        } else {
            const auto bytes = files_.ReadAll(path);
            if (!bytes) {
                failure = L"The registry snapshot " + path + L" cannot be read (error " +
                          std::to_wstring(bytes.error()) + L").";
            } else if (auto read = RegistrySnapshot::FromRegFile(*bytes); !read) {
                failure = L"The registry snapshot " + path + L" cannot be read, " +
                          DescribeRegFileError(read.error()) + L".";
            } else {
                snapshot = *std::move(read);
            }
            loaded_[id] = Loaded{*stamp, snapshot};
        }
    }
    if (!failure.empty() && onLoadFailure)
        onLoadFailure(failure);
    if (!snapshot)
        return std::expected<std::shared_ptr<const RegistrySnapshot>, long>(
            std::unexpected(kSnapshotUnreadable));
    return snapshot;
}

} // namespace vantrel
