#include "engine/view_contents.h"

#include "views/field.h"

namespace vantrel {

std::wstring DefaultInstallPath(bool homeDriveHasFiles, std::wstring_view buildServer) {
    if (homeDriveHasFiles)
        return L"H:\\";
    if (const std::wstring_view server = TrimBlanks(buildServer); !server.empty())
        return L"\\\\" + std::wstring(server) + L"\\cd_image";
    return L"D:\\install\\packages";
}

} // namespace vantrel
