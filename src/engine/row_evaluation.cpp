// What one grid row shows: every column of the current order evaluated for one item, the conditions that
// keep or drop the row, and the marks of the mark columns.
#include "engine/text.h"
#include "engine/view.h"
#include "sources/registry_path.h"
#include "views/condition.h"
#include "views/field.h"
#include "views/markers.h"

#include <cstdlib>

namespace vantrel {
namespace {

constexpr std::wstring_view kFallback = L"!*";
constexpr std::wstring_view kExistenceTest = L"!?";
constexpr std::wstring_view kComputerNameExpression = L"Computername";

} // namespace

std::wstring View::GetD(int j, const std::wstring& key) {
    std::wstring expression = StrCVar(PlDat(j));
    const size_t existence = expression.find(kExistenceTest);
    const bool existenceMode = existence != std::wstring::npos;
    if (existenceMode)
        expression.resize(existence);
    if (expression == kComputerNameExpression) {
        std::wstring withoutComputer;
        return GetMachine(key, withoutComputer);
    }

    std::wstring value = services_.registry.ReadValue(computerName, RootKey::FromPath, key, expression);
    if (value == kValueMissing || (value == kKeyMissing && !existenceMode))
        value.clear();
    if (value.empty() && columns.column(j).data.ends_with(kFallback))
        value = j > 1 ? GetD(j - 1, key) : rowValues[0];
    if (!existenceMode)
        return value;
    if (value == kKeyMissing)
        return {};
    return value.empty() ? L"!" : value;
}

std::wstring View::GetM(int j, const std::wstring& path) {
    const std::wstring token = StrCVar(PlDat(j));
    std::wstring file = path;
    if (path.starts_with(L"//")) {
        file = folderPath;
    } else if (path.starts_with(L"/") && folderPath.size() >= 2) {
        // The same folder on the named computer, through its administrative share.
        file = L"\\\\" + path.substr(1, path.size() - 2) + L"\\" + folderPath.substr(0, 1) + L"$" +
               folderPath.substr(2);
    }
    std::wstring value = services_.files.FileProperty(file, token, folderPath, rowFile_);
    if (value == kValueMissing)
        value.clear();
    if (value.empty() && columns.column(j).data.ends_with(kFallback))
        value = j > 1 ? GetM(j - 1, path) : rowValues[0];
    return value;
}

bool View::EvaluateItem(const std::wstring& item) {
    cellTexts.assign(colMap.size(), std::wstring());
    for (const int k : colMap)
        rowValues[static_cast<size_t>(std::abs(k))].clear();
    rowFile_.Release();
    int score = 0;
    std::wstring v;

    rowValues[0] = item;
    if (viewKind == ViewKind::MultiComputer) {
        std::wstring& computer = rowValues[0];
        computer = ComputerOfRow(item);
        if (computer.empty())
            computer = kLocalComputerRow;
        else if (services_.computers.CheckSta(computer) > 1)
            v = kKnownUnreachable;
    }

    for (size_t c = 0; c < colMap.size(); ++c) {
        const int k = colMap[c];
        if (k > 0) {
            if (v == kKnownUnreachable) {
                v = kNotConnected;
            } else {
                if (const std::wstring data = PlDat(k); data.starts_with(L'='))
                    v = data.substr(1);
                else if (folderPath.empty())
                    v = GetD(k, basePath + L"\\" + item);
                else
                    v = GetM(k, item);

                std::wstring& stored = columns.column(k).condition;
                if (!stored.empty()) {
                    stored = std::wstring(CutCondition(stored));
                    const ConditionParts condition = ReadCondition(stored);
                    const wchar_t op = stored.size() > 1 ? stored[1] : L'\0';
                    if (condition.kind == ConditionKind::Required) {
                        v = StrCVar(v);
                        if (!CompareValues(op, v, LowerCase(StrCVar(condition.reference))))
                            return false;
                    } else if (condition.kind == ConditionKind::Alternative) {
                        ++score;
                        v = StrCVar(v);
                        if (CompareValues(op, v, LowerCase(StrCVar(condition.reference))))
                            score = -100;
                    }
                }
                if (markOption && columns.column(k).data.ends_with(kFallback) && c + 1 < cellTexts.size())
                    cellTexts[c + 1] = services_.matchList.MarkFor(v);
            }
            rowValues[static_cast<size_t>(k)] = v == kNotConnected ? std::wstring(kNotConnectedText) : v;
        }
        if (k >= 0)
            cellTexts[c] = rowValues[static_cast<size_t>(k)];
        if (v == kNotConnected)
            break;
    }
    return score <= 0;
}

} // namespace vantrel
