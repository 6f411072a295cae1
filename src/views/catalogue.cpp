#include "views/catalogue.h"

#include "views/field.h"
#include "views/text.h"

#include <array>

namespace vantrel {
namespace {

struct BuiltInEntry {
    int number;
    std::wstring_view title;
    std::wstring_view definition;
};

constexpr std::wstring_view kMsiAllUsers =
    LR"~(Software\Microsoft\Windows\CurrentVersion\Installer\UserData\*\Products,1234567,12345678,MSI Installations,|220,<Key>,Key,,|220,=%0~\~2%,Key,,|240,InstallProperties\DisplayName,DisplayName,,|80,InstallProperties\DisplayVersion,DisplayVersion,,|200,\HKCR\installer\products\%1%\Sourcelist\Packagename,Packagename,,|260,InstallProperties\InstallSource,InstallSource,,|50,=%0~\~0%,User,,|200,InstallProperties\LocalPackage,LocalPackage,,|140,InstallProperties\Comments,Comments,,)~";

// The definition strings are part of the program's vocabulary: letter case and wording stay exactly as they
// are (the caption "Windowx XP Updates" included).
constexpr std::
    array
        kCatalogue{
            BuiltInEntry{
                1, L"Installed software (uninstall key)",
                LR"~(Software\Microsoft\Windows\CurrentVersion\Uninstall,1245,012AB3789456,Installed,|106,<Key>,Key,,|200,DisplayName!*,DisplayName,,|100,DisplayVersion,Version,,|55,InstallDate,Date,,|120,Publisher,Publisher,,|360,UninstallString,UninstallString,,|160,InstallSource,Source,,|15,NoModify,!M,,|15,NoRemove,!U,,|15,NoRepair,!R,,|12,VersionMajor,V,,|12,VersionMinor,r,,)~"},
            BuiltInEntry{
                2, L"Registered ActiveX Control Classes",
                LR"~(HKCR\Clsid,01345,013457,ActiveX Controls,|240,<key>,Class-ID|240,!*,Description|240,LocalServer32\,Registered file|240,InProcServer32\!*,Registered file|45,Control\!?,ActX,+>|240,TypeLib\,TypeLib,+>|240,ProgId\,Prog-ID|240,VersionIndependentProgId\!*,Prog-ID)~"},
            BuiltInEntry{
                3, L"",
                LR"~(Software\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components,01,01,Components of %%,|250,<key>,Component-ID|480,%{%,Key Path,*>)~"},
            BuiltInEntry{
                4, L"",
                LR"~(HKCR\CLSID,4710235,4710235,Classes with same InprocSrv32,|250,<key>,Cls-ID,|200,@,Description,|40,Control\!?,ActX,|240,TypeLib\,TypeLib,|280,InprocServer32\,InprocSrv32|0,\HKCR\CLSID\%%\InprocServer32\,Fixed,*=%4%|40,ProgId\,Prog-ID|200,VersionIndependentProgId\!*,Prog-ID)~"},
            BuiltInEntry{
                5, L"",
                LR"~(HKCR\CLSID,4710235,4710235,Classes with same LocalSrv32,|250,<key>,Cls-ID,|200,@,Description,|40,Control\!?,ActX,|240,TypeLib\,TypeLib,|280,LocalServer32\,LocalSrv32|0,\HKCR\CLSID\%%\LocalServer32\,Fixed,*=%4%|40,ProgId\,Prog-ID|200,VersionIndependentProgId\!*,Prog-ID)~"},
            BuiltInEntry{
                6, L"",
                LR"~(HKCR\CLSID,157023,157023,Classes with same Typelib,|250,<key>,Cls-ID,|200,@,Description,|40,Control\!?,ActX,|240,TypeLib\,TypeLib,*=%%|280,LocalServer32\,LocalSrv32|280,InprocServer32\!*,Registered file|40,ProgId\,Prog-ID|200,VersionIndependentProgId\!*,Prog-ID)~"},
            BuiltInEntry{
                7, L"Component Categories",
                LR"~(HKCR\Component Categories,04,04,Component Categories,|260,<key>,Component Category,|0,199|0,400!*|0,800!*|300,409!*,Description)~"},
            BuiltInEntry{
                8, L"Registered Services",
                LR"~(System\CurrentControlSet\Services,123456,0123456789,Registered services,|80,<key>,Name,|240,DisplayName,DisplayName,|270,ImagePath,Program,|30,Start,Start,|104,Group,Group,|30,Type,Type,*>15|133,ObjectName,Account,,|107,DependOnGroup,DependOnGroup,|100,DependOnService,DependOnService,|298,Description,Description,)~"},
            BuiltInEntry{9, L"COM Applications (Classes\\AppID)",
                         LR"~(HKCR\Appid,013469,013469a78Bc,COM Components,|237,<key>,App-ID,,|1,Appid,Appid,*=,|140,\HKCR\Clsid\%0%\,Desc,,|200,@!*,Description,,|70,LocalService,Service,|60,LocalServer32,AppServer,,|300,\HKCR\Clsid\%0%\Localserver32\!*,Localserver32,,|12,LaunchPermissions,Launch,,|12,AccessPermissions,Access,,|88,RunAs,RunAs,,|60,ServiceParameters,ServiceParameters,,|20,\HKCR\Clsid\%0%\AllowRemoteActivation\,AllowRemoteActivation,,|117,\HKCR\Clsid\%0%\Inprocserver32\,Inprocserver32,,)~"},
            BuiltInEntry{
                10, L"PCI devices (Double enum)",
                LR"~(System\CurrentControlSet\enum\pci\*,01235,012345678,PCI devices,|117,<key>,DeviceKeyString,,|60,Class,Class,*^System,|220,DeviceDesc,Description,,|160,Mfg,Mfg,,|56,Service,Service,,|56,Control\ActiveService,Active,,|170,\System\CurrentControlSet\Services\%5%\ImagePath,ImagePath,,|170,LocationInformation,Location,,|185,FriendlyName,FriendlyName,,)~"},
            BuiltInEntry{
                11, L"Windows Hotfixes",
                LR"~(Software\Microsoft\Windows NT\CurrentVersion\HotFix,01234,0123456,Windows Hotfixes,|65,<key>,Hotfix,,|300,Fix Description,Description,,|36,Service Pack,SP,,|51,Installed,Installed,,|35,Valid,Valid,,|68,InstalledOn,Installed On,,|66,Installed By,Installed By,,)~"},
            BuiltInEntry{
                12, L"Updates to Windows XP",
                LR"~(Software\Microsoft\Updates\Windows XP\*,0123,012345,Windowx XP Updates,|90,<key>,Hotfix,,|302,Description,Description,,|50,Type,Type,,|75,InstalledDate,InstalledDate,,|80,InstalledBy,InstalledBy,,|300,UninstallCommand,UninstallCommand,,)~"},
            BuiltInEntry{
                13, L"Updates to Windows XP - Files",
                LR"~(Software\Microsoft\Updates\Windows XP\*\*\FileList,0123,01234,Files in XP Updates,|141,<key>,Registry location,,|87,FileName,Filename,,|102,Version,Version,,|212,Location,Location,*^%Windir%\System32\Dllcache,|144,BuildDate,BuildDate,,)~"},
            BuiltInEntry{14,
                         L"MSI installations (Admin only)", LR"~(Software\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Products,12345,0123456,MSI Installations,|220,<Key>,Key,,|240,InstallProperties\DisplayName,DisplayName,,|80,InstallProperties\DisplayVersion,DisplayVersion,,|200,\HKCR\installer\products\%0%\Sourcelist\Packagename,Packagename,,|260,InstallProperties\InstallSource,InstallSource,,|200,InstallProperties\LocalPackage,LocalPackage,,|140,InstallProperties\Comments,Comments,,)~"},
            BuiltInEntry{15, L"MSI installations (All users)", kMsiAllUsers},
            BuiltInEntry{16, L"MSI installations (Shared)", kMsiAllUsers},
            BuiltInEntry{
                kExeFilesView, L"",
                LR"~(*.*(2),1234,012345,Exe files,|350,<key>,File,,|125,<keyfile>,File,,|240,<relpath>,Relative path,,|75,Filesize,Size,,|114,Filetime,Timestamp,,|75,Version,Version,,)~"},
            BuiltInEntry{
                kInstallFolderView, L"Install Folder",
                LR"~(*.exe;*.msi;*.inf,12457,12457ab689,,|350,<key>,File|125,<keyfile>,File|240,<relpath>,Relative path|200,Title,|200,Subject!*,Title|75,Version,|140,Keywords,|240,ProductCode!*,Product code|100,Comments,|100,Author|75,Filesize|114,Filetime|100,Pages,)~"},
        };

struct MenuEntry {
    int index;
    OtherViewsMenuTarget target;
};

constexpr std::array kOtherViewsMenu{
    MenuEntry{1, {false, 8}},  MenuEntry{2, {false, 10}}, MenuEntry{3, {true, 0}},
    MenuEntry{4, {false, 9}},  MenuEntry{5, {false, 14}}, MenuEntry{6, {false, 11}},
    MenuEntry{7, {false, 12}}, MenuEntry{8, {false, 13}},
};

} // namespace

std::wstring BuiltInView(int n, bool titleWanted) {
    if (n == 0)
        return std::to_wstring(kListedBuiltInViews);
    for (const BuiltInEntry& entry : kCatalogue)
        if (entry.number == n)
            return std::wstring(titleWanted ? entry.title : entry.definition);
    return {};
}

bool IsBuiltInNumber(std::wstring_view definition) {
    return !definition.empty() && definition.size() < 3;
}

std::wstring ResolveBuiltInView(std::wstring_view definition) {
    if (!IsBuiltInNumber(definition))
        return std::wstring(definition);
    const int number = LeadingNumber(definition, 99);
    // 0 asks the catalogue for its size, which is no definition.
    return number == 0 ? std::wstring() : BuiltInView(number, false);
}

std::optional<OtherViewsMenuTarget> OtherViewsMenuItem(int index) {
    for (const MenuEntry& entry : kOtherViewsMenu)
        if (entry.index == index)
            return entry.target;
    return std::nullopt;
}

} // namespace vantrel
