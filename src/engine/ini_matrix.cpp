// The ini table: one grid row per section, one column per key name (in order of first appearance, without
// regard to case), each cell the key's value in that section.
#include "engine/view.h"
#include "views/field.h"
#include "views/text.h"

#include <map>
#include <unordered_map>

namespace vantrel {
namespace {

constexpr int kSectionColumnWidth = 1200;
constexpr int kSectionsBetweenLooks = 10;

int ValueColumnWidth(size_t length) {
    return 1060 + 64 * (static_cast<int>(length) - 10);
}

// "%name%" values are looked up in the section Strings, its keys compared without regard to case.
std::map<std::wstring, std::wstring> StringsOf(IniFiles& ini, const std::wstring& file) {
    std::map<std::wstring, std::wstring> strings;
    for (const std::wstring& entry : ini.SectionEntries(file, L"Strings"))
        strings.try_emplace(LowerCase(GetField(entry, L"=", 0)), GetField(entry, L"=", 1));
    return strings;
}

} // namespace

void View::FillIniTable(IniFiles& ini) {
    const std::wstring file = folderPath;
    state_ = ViewState::Filling;
    host_.SetBusyPointer(true);
    host_.ShowCancelCommand(true);
    grid.SetCols(2);
    grid.SetRows(1);
    grid.SetColWidth(0, kSectionColumnWidth);
    // A huge file takes a while to read: messages run while it is read, and the user can stop it.
    if (!ini.ReadAhead(file, [this] { return KeepFilling(); })) {
        EndIniFill();
        return;
    }
    const std::vector<std::wstring> sections = ini.SectionNames(file);
    const auto strings = StringsOf(ini, file);
    std::vector<size_t> longest(2, 0); // the longest text of each column
    // Lower-case key name -> its column. Column 1 keeps its empty header, so entries without a key land
    // there.
    std::unordered_map<std::wstring, int> columns{{L"", 1}};

    for (size_t n = 1; n <= sections.size(); ++n) {
        if (n % kSectionsBetweenLooks == 0) {
            host_.LetEventsRun();
            if (state_ != ViewState::Filling || abandoned_)
                break;
        }
        const std::wstring& section = sections[n - 1];
        const int row = grid.Rows();
        grid.SetRows(row + 1);
        grid.SetTextMatrix(row, 0, section);
        if (LowerCase(section) != L"strings") {
            for (const std::wstring& entry : ini.SectionEntries(file, section)) {
                const std::wstring key = GetField(entry, L"=", 0);
                const auto [known, added] = columns.try_emplace(LowerCase(key), grid.Cols());
                const int col = known->second;
                if (added) {
                    grid.SetCols(col + 1);
                    grid.SetTextMatrix(0, col, key);
                    longest.push_back(key.size());
                }
                std::wstring value = GetField(entry, L"=", 1);
                if (value.size() >= 2 && value.front() == L'%' && value.back() == L'%') {
                    if (const auto found = strings.find(LowerCase(value.substr(1, value.size() - 2)));
                        found != strings.end())
                        value = found->second;
                }
                if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
                    value = value.substr(1, value.size() - 2);
                if (value.empty())
                    value = L"-";
                longest[static_cast<size_t>(col)] = std::max(longest[static_cast<size_t>(col)], value.size());
                grid.SetColWidth(col, ValueColumnWidth(longest[static_cast<size_t>(col)]));
                grid.SetTextMatrix(row, col, std::move(value));
            }
        }
        if (n % kSectionsBetweenLooks == 0)
            host_.FitToTable();
    }
    EndIniFill();
}

void View::EndIniFill() {
    host_.SetBusyPointer(false);
    state_ = ViewState::Idle;
    host_.ShowCancelCommand(false);
}

} // namespace vantrel
