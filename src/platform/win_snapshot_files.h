#pragma once
// The snapshot folder's files on disk.
#include "sources/snapshot_folder.h"

namespace vantrel {

class WinSnapshotFiles final : public SnapshotFiles {
public:
    std::optional<FileStamp> Stamp(std::wstring_view path) override;
    std::expected<std::vector<std::uint8_t>, long> ReadAll(std::wstring_view path) override;
};

} // namespace vantrel
