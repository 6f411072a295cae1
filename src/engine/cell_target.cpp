// What "P&roperties" of a cell leads to.
#include "engine/cell_target.h"

#include "engine/view.h"
#include "views/markers.h"
#include "views/text.h"

#include <array>

namespace vantrel {
namespace {

bool IsFileSystemPath(std::wstring_view s) {
    return s.starts_with(L"\\\\") || (s.size() > 1 && s[1] == L':');
}

// Where a GUID is looked up, in this order; the first key that exists names the view to open.
struct GuidLookUp {
    std::wstring_view before;
    std::wstring_view after;
    int viewNumber;
};
constexpr std::array kGuidLookUps{
    GuidLookUp{L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", L"",
               3},                                        // a product's components
    GuidLookUp{L"HKCR\\CLSID\\", L"\\InprocServer32", 4}, // classes of the same in-process server
    GuidLookUp{L"HKCR\\CLSID\\", L"\\LocalServer32", 5},  // classes of the same local server
    GuidLookUp{L"HKCR\\Typelib\\", L"", 6},               // classes of the same type library
    GuidLookUp{L"HKCR\\Component Categories\\", L"", 7},  // component categories
};
constexpr int kTypeLibraryView = 6;

} // namespace

std::wstring ProgramOfCommandLine(std::wstring_view text) {
    if (text.starts_with(L'"')) {
        const size_t close = text.find(L'"', 1);
        return std::wstring(
            text.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1));
    }
    return std::wstring(text.substr(0, text.find(L' ')));
}

std::optional<PciIds> PciIdsOf(std::wstring_view text) {
    if (!text.starts_with(L"VEN_") || text.size() < 17 || text.substr(8, 5) != L"&DEV_")
        return std::nullopt;
    return PciIds{std::wstring(text.substr(4, 4)), std::wstring(text.substr(13, 4))};
}

std::wstring ArticleOf(std::wstring_view text) {
    if (const size_t slash = text.find(L'\\'); slash != std::wstring_view::npos && slash >= 2) {
        text = text.substr(slash + 1);
        text = text.substr(0, text.find(L'\\'));
    }
    if ((text.size() == 8 && text.starts_with(L"KB")) || (text.size() == 7 && text.starts_with(L"Q")))
        return std::wstring(text);
    return {};
}

std::wstring PciLookupPage(std::wstring_view siteAddress, std::wstring_view vendor) {
    while (siteAddress.ends_with(L'/'))
        siteAddress.remove_suffix(1);
    return std::wstring(siteAddress) + L"/iii/?i=" + std::wstring(vendor);
}

CellTarget View::PropertiesTarget(std::wstring s, int itemRow) {
    using Kind = CellTarget::Kind;
    if (s.starts_with(L'{')) {
        const auto exists = [](const std::wstring& value) {
            return value != kNotConnected && value != kKeyMissing;
        };
        for (const GuidLookUp& lookUp : kGuidLookUps) {
            const std::wstring key = std::wstring(lookUp.before) + s + std::wstring(lookUp.after);
            if (exists(services_.registry.ReadValue(computerName, RootKey::FromPath, key, L"")))
                return {.kind = Kind::RelatedView, .text = s, .viewNumber = lookUp.viewNumber};
        }
        // A class that only names its type library leads to that library's classes. A Typelib key without
        // a library in it leads nowhere.
        const std::wstring library = services_.registry.ReadValue(computerName, RootKey::FromPath,
                                                                  L"HKCR\\CLSID\\" + s + L"\\Typelib", L"");
        if (library.starts_with(L'{'))
            return {.kind = Kind::RelatedView, .text = library, .viewNumber = kTypeLibraryView};
        return {.kind = Kind::UnknownGuid};
    }
    // A path that exists as it is stays whole: an expanded "%ProgramFiles%" holds a blank.
    if (!services_.files.PathExists(s))
        s = ProgramOfCommandLine(s);
    if (const std::optional<PciIds> pci = PciIdsOf(s))
        return {.kind = Kind::PciDevice, .text = pci->vendor, .device = pci->device};
    if (LowerCase(s).starts_with(L"system32\\")) {
        const std::wstring inSystem = services_.environment.Variable(L"SystemRoot") + L"\\" + s;
        if (services_.files.PathExists(inSystem))
            s = inSystem;
    }
    if (IsFileSystemPath(s)) {
        if (services_.files.PathExists(s))
            return {.kind = Kind::File, .text = s};
        const std::wstring item = ItemOfGridRow(itemRow);
        if (IsFileSystemPath(item) && services_.files.PathExists(item))
            return {.kind = Kind::File, .text = item};
        return {.kind = Kind::MissingFile, .text = s};
    }
    if (std::wstring article = ArticleOf(s); !article.empty())
        return {.kind = Kind::Article, .text = std::move(article)};
    return {};
}

} // namespace vantrel
