// The parsed condition string: conditions joined by ";A;" (AND) or ";O;" (OR), each a signed
// condition code, ":" and a parameter (for example "+21:15^3;A;-13").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

class WHLString {
  public:
    // Conditions a string may hold: the AND flags have twelve places.
    static constexpr int kMaxConditions = 13;

    WHLString() = default;

    // Clears, then splits text at every ";": pieces 1, 3, 5 ... are conditions, pieces
    // 2, 4, 6 ... the operator after the condition before them ("A" for AND, anything else
    // OR). Empty pieces between two separators count; an empty piece after the last one is
    // dropped. Throws KindrelError (leaving the string empty) for more than 13 conditions and
    // for a condition whose code field is not a signed decimal number.
    void Parse(std::string_view text);
    // Forgets every condition.
    void Clear();

    // Number of conditions.
    int ConditionCount() const { return static_cast<int>(m_texts.size()); }
    // The text of condition i (from 0); empty out of range.
    std::string ConditionText(int i) const;
    // True when the operator after condition i is AND.
    bool IsAnd(int i) const;
    // True when the code field of condition i starts with "-".
    bool IsNegated(int i) const;
    // The absolute value of the code field of condition i (0 out of range).
    int ConditionCode(int i) const;
    // The text between the first and the second ":" of condition i; empty without ":".
    std::string ConditionParameter(int i) const;

  private:
    struct Condition {
        bool negated = false;
        int code = 0;
    };

    std::vector<std::string> m_texts;
    std::vector<Condition> m_conditions;
    bool m_andFlags[kMaxConditions - 1] = {};
};

}  // namespace kindrel
