#pragma once
#include "engine/view_services.h"

namespace vantrel {

// Folders and files of this computer and of administrative shares: the folder walk and the properties of
// the files it finds.
class WinFileSource final : public FileSource {
public:
    std::vector<std::wstring> FolderWalk(std::wstring_view folder, std::wstring_view patterns, int depth,
                                         const WalkCheck& keepWalking) override;
    bool FolderHasEntries(std::wstring_view folder) override;
    bool PathExists(std::wstring_view path) override;
    std::wstring FileProperty(std::wstring_view path, std::wstring_view token, std::wstring_view baseFolder,
                              RowFileCache& cache) override;
};

} // namespace vantrel
