#include "highlight/hl_group.h"

#include "analysis/collection_iterator.h"
#include "containers/errors.h"
#include "containers/ui_hooks.h"
#include "highlight/hl_catalogue.h"
#include "highlight/hl_rules.h"
#include "highlight/hl_str.h"
#include "highlight/hl_tree_rules.h"

#include <exception>
#include <utility>

namespace kindrel {

std::unique_ptr<WABSHLInd> CreateHLRule(WABSCollection* collection, int code) {
    if (!HLCodeMakesRule(code)) return nullptr;
    switch (code) {
        case 2:
        case 4:
        case 6:
        case 8:
        case 10:
            return std::make_unique<WHLNoDate>(collection, code);
        case 3:
        case 5:
        case 7:
        case 9:
        case 11:
        case 12:
            return std::make_unique<WHLNoPlace>(collection, code);
        case 13:
            return std::make_unique<WHLNoSurname>(collection, code);
        case 14:
            return std::make_unique<WHLNoGivenName>(collection, code);
        case 15:
            return std::make_unique<WHLNoFather>(collection, code);
        case 16:
            return std::make_unique<WHLNoMother>(collection, code);
        case 17:
            return std::make_unique<WHLSex>(collection, code);
        case 18:
        case 52:
            return std::make_unique<WHLHas>(collection, code);
        case 20:
            return std::make_unique<WHLAFN>(collection, code);
        case 21:
            return std::make_unique<WHLAncestor>(collection, code);
        case 22:
            return std::make_unique<WHLDescendents>(collection, code);
        case 23:
            return std::make_unique<WHLRelation>(collection, code);
        case 31:
        case 32:
        case 33:
        case 34:
            return std::make_unique<WHLHasLDS>(collection, code);
        case 35:
            return std::make_unique<WHLLDS>(collection, code);
        case 36:
            return std::make_unique<WHLMarriedNoSpouse>(collection, code);
        case 37:
            return std::make_unique<WHLMarriedSameName>(collection, code);
        case 38:
            return std::make_unique<WHLChildSameName>(collection, code);
        case 39:
        case 40:
        case 41:
        case 42:
            return std::make_unique<WHLDate>(collection, code);
        case 44:
        case 45:
        case 46:
        case 47:
        case 48:
        case 49:
        case 50:
        case 51:
        case 78:
            return std::make_unique<WHLInt>(collection, code);
        case 53:
        case 54:
        case 55:
        case 56:
            return std::make_unique<WHLWarning>(collection, code);
        case 60:
        case 61:
        case 62:
        case 63:
        case 64:
            return std::make_unique<WHLRelationIs>(collection, code);
        case 65:
            return std::make_unique<WHLALive>(collection, code);
        case 66:
        case 67:
        case 68:
        case 69:
        case 70:
        case 71:
        case 99:
            return std::make_unique<WHLHasSource>(collection, code);
        case 72:
        case 73:
        case 74:
        case 75:
        case 76:
        case 77:
        case 100:
            return std::make_unique<WHLHasNote>(collection, code);
        case 79:
        case 80:
        case 81:
        case 82:
        case 83:
        case 84:
        case 85:
        case 86:
            return std::make_unique<WHLHasLDS>(collection, code);
        case 87:
        case 88:
        case 89:
        case 90:
            return std::make_unique<WHLLDSDate>(collection, code);
        case 95:
        case 96:
            return std::make_unique<WHLPaths>(collection, code);
        default:
            // 19, 24 to 30, 43, 57 to 59, 91 to 94, 97, 98.
            return std::make_unique<WHLStr>(collection, code);
    }
}

// ---------------------------------------------------------------------------------------------
// WHLGroup

WHLGroup::WHLGroup(WABSCollection* collection) : WABSHighLighter(collection) {}

WHLGroup::~WHLGroup() = default;

int WHLGroup::SetConditions(std::string_view text) {
    WHLString parsed;
    parsed.Parse(text);  // throws before anything changes
    m_string = std::move(parsed);
    ClearRules();
    FillResults(kHLUnknown);
    int refused = 0;
    for (int i = 0; i < m_string.ConditionCount(); ++i) {
        const std::string parameter = m_string.ConditionParameter(i);
        if (AddRule(m_string.IsNegated(i), m_string.ConditionCode(i), parameter) ==
            AddResult::kRefused) {
            ++refused;
        }
    }
    return refused;
}

WHLGroup::AddResult WHLGroup::AddRule(bool negated, int code, std::string_view parameter) {
    if (RuleCount() >= kMaxRules) {
        ShowWarning(kTooManyRules);
        return AddResult::kRefused;
    }
    std::unique_ptr<WABSHLInd> rule = CreateHLRule(m_collection, code);
    if (!rule) return AddResult::kNoRule;
    rule->SetParameter(parameter);
    rule->SetNegated(negated);
    m_rules.push_back(std::move(rule));
    return AddResult::kAdded;
}

void WHLGroup::Prepare() {
    FillResults(kHLUnknown);
    std::exception_ptr firstError;
    for (const std::unique_ptr<WABSHLInd>& rule : m_rules) {
        try {
            rule->Recalculate();
        } catch (const KindrelError&) {
            if (!firstError) firstError = std::current_exception();
        }
    }
    if (firstError) std::rethrow_exception(firstError);
}

void WHLGroup::Evaluate(int32_t individual) {
    if (m_rules.empty()) {
        SetResult(individual, false);
        return;
    }
    bool accumulated = m_rules[0]->IsHighlighted(individual);
    for (size_t i = 1; i < m_rules.size(); ++i) {
        const bool answer = m_rules[i]->IsHighlighted(individual);
        if (m_string.IsAnd(static_cast<int>(i) - 1) && (!answer || !accumulated)) {
            SetResult(individual, false);
            return;
        }
        accumulated = accumulated || answer;
    }
    SetResult(individual, accumulated);
}

std::string WHLGroup::Describe() {
    std::string text;
    for (size_t i = 0; i < m_rules.size(); ++i) {
        if (i > 0) text += m_string.IsAnd(static_cast<int>(i) - 1) ? " AND " : " OR ";
        text += m_rules[i]->Describe();
    }
    return text;
}

void WHLGroup::ClearRules() {
    m_rules.clear();
}

WABSHLInd* WHLGroup::Rule(int i) const {
    if (i < 0 || i >= RuleCount()) return nullptr;
    return m_rules[static_cast<size_t>(i)].get();
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<WColHLIterator> CreateHLIterator(std::string fileName, WHLGroup* group,
                                                 WABSCollection* collection, int initialCount) {
    WColHLIterator::MarksIndividual marks;
    if (group != nullptr) marks = [group](int32_t n) { return group->IsHighlighted(n); };
    return std::make_unique<WColHLIterator>(std::move(fileName), std::move(marks), collection,
                                            initialCount);
}

}  // namespace kindrel
