#pragma once
// What a cell's text refers to when the user asks for its properties: a built-in view about a GUID, a PCI
// device, a file or folder, or a knowledge-base article.
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

struct CellTarget {
    enum class Kind {
        Nothing,     // nothing known
        RelatedView, // the built-in view `viewNumber` with `text` as its data variable
        UnknownGuid, // a GUID that none of the look-ups knows
        PciDevice,   // vendor `text`, device `device`
        File,        // the file or folder `text`
        MissingFile, // the path `text`, found neither as it is nor as the row's item
        Article,     // the knowledge-base article `text` ("KB123456", "Q123456")
    };
    Kind kind = Kind::Nothing;
    std::wstring text;
    std::wstring device;
    int viewNumber = 0;

    bool operator==(const CellTarget&) const = default;
};

// A command line reduced to its program: the text between leading double quotes, else the text before the
// first blank.
std::wstring ProgramOfCommandLine(std::wstring_view text);

struct PciIds {
    std::wstring vendor;
    std::wstring device;
};
// "VEN_vvvv&DEV_dddd…": the vendor and device numbers.
std::optional<PciIds> PciIdsOf(std::wstring_view text);

// A knowledge-base article named by the text ("KB" and six digits, "Q" and six digits), also as the second
// part of a path such as "SP2\KB123456"; empty when it names none.
std::wstring ArticleOf(std::wstring_view text);

// The PCI ID look-up page about a vendor under the look-up site's address.
std::wstring PciLookupPage(std::wstring_view siteAddress, std::wstring_view vendor);

} // namespace vantrel
