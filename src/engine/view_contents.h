#pragma once
// Where an installation view looks, as the selection form ("Select view contents") chooses it: the products
// installed here or on another computer, or a folder of installation packages.
#include <string>
#include <string_view>

namespace vantrel {

// The form's four options, by their numbers.
enum class ContentsOption {
    LocallyInstalled = 1, // "Locally Installed:"
    Station = 2,          // "View station:" the computer box
    CdImage = 3,          // "on d:\distrib\CD_image"
    PathLocation = 4,     // "View path location:" the path box
};

struct ViewContents {
    ContentsOption option = ContentsOption::PathLocation;
    std::wstring computer; // the computer box
    std::wstring path;     // the path box

    bool operator==(const ViewContents&) const = default;
};

// The folder the third option names.
inline constexpr std::wstring_view kCdImageFolder = L"d:\\distrib\\CD_image";

// The path box's first text where no "MsiPath" was saved: the home drive when it holds files, else the build
// server's CD image when BLDSRV names one, else the packages folder of our install servers.
std::wstring DefaultInstallPath(bool homeDriveHasFiles, std::wstring_view buildServer);

} // namespace vantrel
