#pragma once
// Row conditions of view columns: a kind character, an operator character and a reference text, such as
// "*>15", "*^System", "*=%4%" or "+>". Anything from the first "(" on is a comment.
#include <string>
#include <string_view>

namespace vantrel {

enum class ConditionKind {
    None,        // empty: no effect
    Required,    // "*": every required condition of the row must hold
    Alternative, // "+": at least one alternative condition of the row must hold
    Inert,       // any other first character: no effect
};

enum class ConditionOperator {
    Equal,    // "="
    NotEqual, // "^"
    Less,     // "<"
    Greater,  // ">"
    Invalid,  // anything else: a required condition with it never holds
};

struct ConditionParts {
    ConditionKind kind = ConditionKind::None;
    ConditionOperator op = ConditionOperator::Invalid;
    std::wstring reference; // trimmed, not yet substituted nor lower-cased

    bool operator==(const ConditionParts&) const = default;
};

// The condition as evaluation stores it: the text before the first "(".
std::wstring_view CutCondition(std::wstring_view condition);

// Reads a condition without changing the stored text (the "(" cut is applied to the reading only).
ConditionParts ReadCondition(std::wstring_view condition);

} // namespace vantrel
