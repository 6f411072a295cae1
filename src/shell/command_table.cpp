#include "shell/command_table.h"

#include "views/field.h"
#include "views/text.h"

namespace vantrel {
namespace {

constexpr int kComputerBoxCode = 2;
constexpr int kComputerBoxMarginTwips = 120;

} // namespace

// clang-format off
const std::wstring_view kCommandTable =
    L"00 30                                                             "
    L"04 New                       Start a new view                     "
    L"07 File-Open                 Open a custom view                   "
    L"08 File-Save                 Save the active view                 "
    L"15 Edit view                 Edit the current view                "
    L"09cView details              Details view                         "
    L"00 240                                                            "
    L"03 View 'Installed'          View installed products              "
    L"06 View 'Services'           View registered services             "
    L"05 View 'PCI hardware view'  View PCI devices                     "
    L"20 View 'Controls'           View the registered ActiveX controls "
    L"16 View 'COM Servers'        View the registered COM Servers      "
    L"01 View 'Folder contents'    View installation files in a folder  "
    L"02 View 'ini file'           View an .ini file as a matrix        "
    L"00 240                                                            "
    L"00 2                                                              "
    L"18 Open Computer             Open view on the specified computer  "
    L"28 Multiple computers view   Current datarow on multiple computers"
    L"00 240                                                            "
    L"12 Properties                Properties of current cell value     "
    L"10 Edit value                Edit the current cell value          "
    L"00 240                                                            "
    L"14 Merge Windows             Merge windows                        "
    L"25 Transpose                 Transpose rows and columns           "
    L"00 240                                                            "
    L"23 Open in Excel             Copy this view to an Excel sheet     ";
// clang-format on

std::vector<ToolbarEntry> ParseCommandTable(std::wstring_view table, int computerBoxWidthTwips) {
    std::vector<ToolbarEntry> entries;
    for (size_t start = 0; start < table.size(); start += kCommandRowLength) {
        const std::wstring_view row = table.substr(start, kCommandRowLength);
        const auto field = [&](size_t from, size_t length) {
            return from < row.size() ? std::wstring(TrimBlanks(row.substr(from, length))) : std::wstring();
        };
        ToolbarEntry entry;
        entry.number = LeadingNumber(row.substr(0, 2), 99);
        if (entry.number > 0) {
            entry.description = field(3, 25);
            entry.tooltip = field(29, 37);
        } else {
            entry.style = ToolbarStyle::Separator;
            const int width = LeadingNumber(field(3, 5), 1 << 20);
            if (width > 0) {
                entry.style = ToolbarStyle::Placeholder;
                entry.holdsComputerBox = width == kComputerBoxCode;
                entry.widthTwips =
                    entry.holdsComputerBox ? computerBoxWidthTwips + kComputerBoxMarginTwips : width;
            }
        }
        const wchar_t flag = row.size() > 2 ? row[2] : L' ';
        if (flag == L'd')
            entry.style = ToolbarStyle::DropDown;
        if (flag == L'c')
            entry.style = ToolbarStyle::Check;
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace vantrel
