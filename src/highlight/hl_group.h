// The highlighter group: turns a condition string into up to ten rules and combines their
// answers with AND and OR. Create it on the collection, hand it the condition string with
// SetConditions, Recalculate, then ask IsHighlighted or the colours for any individual.
//
//   WHLGroup group(&collection);
//   group.SetConditions("+21:15^3;A;-13");
//   group.Recalculate();
//   if (group.IsHighlighted(n)) ...
#pragma once

#include "analysis/collection_iterator.h"
#include "highlight/highlighter.h"
#include "highlight/hl_string.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

// A new rule for a condition code (2 to 100), or null for code 1 and codes outside the
// catalogue. The rule still needs SetParameter, SetNegated and Recalculate.
std::unique_ptr<WABSHLInd> CreateHLRule(WABSCollection* collection, int code);

class WHLGroup final : public WABSHighLighter {
  public:
    // Rules a group holds.
    static constexpr int kMaxRules = 10;
    // The message shown when an eleventh rule is refused.
    static constexpr const char* kTooManyRules = "Error: Too many high lighting options";

    // What AddRule did.
    enum class AddResult { kAdded, kNoRule, kRefused };

    // One unevaluated answer per individual, an empty string and no rules.
    explicit WHLGroup(WABSCollection* collection);
    ~WHLGroup() override;

    // Parses text and replaces the rules by one rule per condition, in order; the answers are
    // forgotten (Recalculate reads the parameters). Conditions past the tenth rule are refused
    // with the message kTooManyRules (through ShowWarning) and counted in the result. Throws
    // KindrelError, leaving the group as it was, when the text does not parse.
    int SetConditions(std::string_view text);
    // Appends the rule for a condition: refused with kTooManyRules when ten rules exist;
    // nothing for code 1 or a code outside the catalogue.
    AddResult AddRule(bool negated, int code, std::string_view parameter);
    // Forgets every answer, then recalculates every rule. A rule whose parameter cannot be
    // read answers false; the first such error is thrown once every rule was prepared.
    void Prepare() override;
    // The combination of the rules: no rules answer false; otherwise the rules are asked in
    // order, and a failed AND (its rule or everything before it false) ends in false.
    void Evaluate(int32_t individual) override;
    // The rules' descriptions joined by " AND " or " OR ".
    std::string Describe() override;
    // Frees the rules.
    void ClearRules();

    // Number of rules.
    int RuleCount() const { return static_cast<int>(m_rules.size()); }
    // Rule i (from 0), or null.
    WABSHLInd* Rule(int i) const;
    // The parsed condition string.
    const WHLString& Conditions() const { return m_string; }

  private:
    WHLString m_string;
    std::vector<std::unique_ptr<WABSHLInd>> m_rules;
};

// The highlighted individuals of the group in view order (WColHLIterator), pumping events
// every 250 individuals, sortable like any list. Built at once; the group must outlive it.
std::unique_ptr<WColHLIterator> CreateHLIterator(std::string fileName, WHLGroup* group,
                                                 WABSCollection* collection, int initialCount = 0);

}  // namespace kindrel
