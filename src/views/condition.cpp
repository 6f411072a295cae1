#include "views/condition.h"

#include "views/field.h"

namespace vantrel {

std::wstring_view CutCondition(std::wstring_view condition) {
    return condition.substr(0, condition.find(L'('));
}

ConditionParts ReadCondition(std::wstring_view condition) {
    condition = CutCondition(condition);
    ConditionParts parts;
    if (condition.empty())
        return parts;
    switch (condition[0]) {
    case L'*':
        parts.kind = ConditionKind::Required;
        break;
    case L'+':
        parts.kind = ConditionKind::Alternative;
        break;
    default:
        parts.kind = ConditionKind::Inert;
        return parts;
    }
    if (condition.size() >= 2) {
        switch (condition[1]) {
        case L'=':
            parts.op = ConditionOperator::Equal;
            break;
        case L'^':
            parts.op = ConditionOperator::NotEqual;
            break;
        case L'<':
            parts.op = ConditionOperator::Less;
            break;
        case L'>':
            parts.op = ConditionOperator::Greater;
            break;
        default:
            break;
        }
    }
    if (condition.size() > 2)
        parts.reference = TrimBlanks(condition.substr(2));
    return parts;
}

} // namespace vantrel
