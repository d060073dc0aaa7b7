#include "highlight/hl_tree_rules.h"

#include "analysis/rel_calc.h"
#include "containers/errors.h"
#include "model/collection.h"
#include "model/records.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace kindrel {

namespace {

// No generation limit: deeper than any line can be (a count of 65535 would still cut off
// the ancestors of a longer line).
constexpr int32_t kNoLimit = std::numeric_limits<int32_t>::max();

// Appends the parents of x (husband, then wife of each parent family in order) or its children
// (each child of each spouse family in order); 0 where a partner is missing.
void Neighbours(WABSCollection& collection, int32_t x, bool up, std::vector<int32_t>& out) {
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(x);
    if (!person) return;
    if (up) {
        const int32_t families = person->ParentFamilyCount();
        for (int32_t i = 1; i <= families; ++i) {
            const std::unique_ptr<WABSMarriage> family =
                collection.GetMarriage(person->ParentFamily(i));
            if (!family) continue;
            out.push_back(family->Husband());
            out.push_back(family->Wife());
        }
        return;
    }
    const int32_t families = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= families; ++i) {
        const std::unique_ptr<WABSMarriage> family =
            collection.GetMarriage(person->SpouseFamily(i));
        if (!family) continue;
        const int32_t children = family->ChildCount();
        for (int32_t c = 1; c <= children; ++c) out.push_back(family->Child(c));
    }
}

// Sets every answer false, then marks the ancestors (up) or descendants of reference within
// generations (0: no limit). The walk is the depth-first one of mark(y, k): stop at 0, at
// k < 0 or at an individual already marked; mark y; go on to each parent (child) in order
// with k - 1. Pending calls wait on a work stack, pushed in reverse so they are taken in
// order, and each is checked when it is taken, as the call would check on entry; so an
// individual reached first along a longer line is not walked again along a shorter one.
void MarkLine(WABSHLInd& rule, WABSCollection& collection, int32_t reference, int32_t generations,
              bool up) {
    rule.FillResults(kHLFalse);
    if (reference < 1 || reference > rule.RecordCount()) return;
    const int32_t limit = generations == 0 ? kNoLimit : generations;
    std::vector<std::pair<int32_t, int32_t>> pending{{reference, limit}};
    std::vector<int32_t> next;
    while (!pending.empty()) {
        const auto [y, k] = pending.back();
        pending.pop_back();
        if (y < 1 || y > rule.RecordCount() || k < 0 || rule.State(y) == kHLTrue) continue;
        rule.SetResult(y, true);
        next.clear();
        Neighbours(collection, y, up, next);
        for (auto it = next.rbegin(); it != next.rend(); ++it) pending.emplace_back(*it, k - 1);
    }
    rule.SetResult(reference, false);
}

// Reads "R^g" into individual and generations (0 becoming no limit); an empty parameter names
// nobody. Throws KindrelError naming the condition code when the text cannot be read.
void ReadLineParameter(const std::string& parameter, int code, int32_t& individual,
                       int32_t& generations) {
    individual = 0;
    generations = 0;
    if (!parameter.empty()) {
        try {
            WABSHLInd::SplitIndividualGenerations(parameter, individual, generations);
        } catch (const KindrelError& error) {
            individual = 0;
            throw KindrelError("Condition " + std::to_string(code) + ": " + error.what());
        }
    }
    if (generations == 0) generations = kNoLimit;
}

// The reference read strictly from the parameter; on failure the rule answers false for
// everybody and the error goes to the caller.
int32_t StrictReference(WABSHLInd& rule, const std::string& parameter, int code) {
    try {
        return StrictHLInt(parameter, code);
    } catch (const KindrelError&) {
        rule.FillResults(kHLFalse);
        throw;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WHLAncestor, WHLDescendents

void WHLAncestor::Prepare() {
    try {
        ReadLineParameter(m_parameter, m_code, m_individual, m_generations);
    } catch (const KindrelError&) {
        FillResults(kHLFalse);
        throw;
    }
    if (m_collection == nullptr) return FillResults(kHLFalse);
    MarkLine(*this, *m_collection, m_individual, m_generations, true);
}

void WHLAncestor::Evaluate(int32_t individual) {
    SetResult(individual, false);
}

std::string WHLAncestor::Describe() {
    const std::string name = ReferenceName();
    if (name.empty()) return {};
    std::string text = (m_negated ? "Not Ancestors of " : "Ancestors of ") + name;
    if (m_generations != kNoLimit) text += " (" + std::to_string(m_generations) + " generations)";
    return text;
}

void WHLDescendents::Prepare() {
    try {
        ReadLineParameter(m_parameter, m_code, m_individual, m_generations);
    } catch (const KindrelError&) {
        FillResults(kHLFalse);
        throw;
    }
    if (m_collection == nullptr) return FillResults(kHLFalse);
    MarkLine(*this, *m_collection, m_individual, m_generations, false);
}

void WHLDescendents::Evaluate(int32_t individual) {
    SetResult(individual, false);
}

std::string WHLDescendents::Describe() {
    const std::string name = ReferenceName();
    if (name.empty()) return {};
    std::string text = (m_negated ? "Not descendants of " : "Descendants of ") + name;
    if (m_generations != kNoLimit) text += " (" + std::to_string(m_generations) + " generations)";
    return text;
}

// ---------------------------------------------------------------------------------------------
// WHLRelation

WHLRelation::WHLRelation(WABSCollection* collection, int code) : WABSHLInd(collection, code) {}

WHLRelation::~WHLRelation() = default;

void WHLRelation::Prepare() {
    m_individual = 0;
    m_individual = StrictReference(*this, m_parameter, m_code);
    if (!m_calculator) m_calculator = std::make_unique<WRelCalc>(m_collection);
    FillResults(kHLUnknown);
}

void WHLRelation::Evaluate(int32_t individual) {
    const bool known = m_calculator && Exists(m_individual) && Exists(individual);
    SetResult(individual, known && !m_calculator->Relationship(m_individual, individual).empty());
}

std::string WHLRelation::Describe() {
    const std::string name = ReferenceName();
    if (name.empty()) return {};
    return (m_negated ? "not related to " : "related to ") + name;
}

// ---------------------------------------------------------------------------------------------
// WHLRelationIs

void WHLRelationIs::Prepare() {
    m_individual = 0;
    if (m_code == 64 || m_parameter.empty() || m_collection == nullptr) {
        // Per individual (64), or no reference: Evaluate answers.
        FillResults(kHLUnknown);
        return;
    }
    m_individual = StrictReference(*this, m_parameter, m_code);
    FillResults(kHLFalse);
    const std::unique_ptr<WABSIndividual> reference = Individual(m_individual);
    if (!Exists(m_individual) || !reference) return;
    if (m_code == 60 || m_code == 61) {
        const int32_t families = reference->SpouseFamilyCount();
        for (int32_t i = 1; i <= families; ++i) {
            const std::unique_ptr<WABSMarriage> family =
                m_collection->GetMarriage(reference->SpouseFamily(i));
            if (!family) continue;
            if (m_code == 61) {
                if (const int32_t spouse = family->OtherSpouse(m_individual); spouse != 0) {
                    SetResult(spouse, true);
                }
                continue;
            }
            const int32_t children = family->ChildCount();
            for (int32_t c = 1; c <= children; ++c) SetResult(family->Child(c), true);
        }
    } else if (m_code == 62 || m_code == 63) {
        const int32_t families = reference->ParentFamilyCount();
        for (int32_t i = 1; i <= families; ++i) {
            const std::unique_ptr<WABSMarriage> family =
                m_collection->GetMarriage(reference->ParentFamily(i));
            if (!family) continue;
            if (m_code == 63) {
                SetResult(family->Husband(), true);
                SetResult(family->Wife(), true);
                continue;
            }
            const int32_t children = family->ChildCount();
            for (int32_t c = 1; c <= children; ++c) SetResult(family->Child(c), true);
        }
        if (m_code == 62) SetResult(m_individual, false);
    }
}

void WHLRelationIs::Evaluate(int32_t individual) {
    if (m_code == 64) {
        const bool exists = m_collection != nullptr && Exists(individual);
        SetResult(individual, exists && !m_collection->HasFamilyLinks(individual));
        return;
    }
    SetResult(individual, false);
}

std::string WHLRelationIs::Describe() {
    if (m_code == 64) return m_negated ? "who are linked" : "who are unlinked";
    const std::string name = ReferenceName();
    if (name.empty() || m_code < 60 || m_code > 63) return {};
    static constexpr const char* kWords[] = {"parent", "spouse", "sibling", "child"};
    return std::string("where ") + kWords[m_code - 60] + (m_negated ? " is not " : " is ") + name;
}

// ---------------------------------------------------------------------------------------------
// WHLPaths

void WHLPaths::Prepare() {
    m_individual = 0;
    m_individual = StrictReference(*this, m_parameter, m_code);
    FillResults(kHLFalse);
    if (m_collection == nullptr || !Exists(m_individual)) return;
    const bool up = m_code == 95;
    SetResult(m_individual, true);
    std::vector<int32_t> candidates;
    for (int32_t y = m_individual;;) {
        candidates.clear();
        Neighbours(*m_collection, y, up, candidates);
        int32_t pick = 0;
        int32_t best = -1;
        for (const int32_t candidate : candidates) {
            int32_t value = -1;
            if (Exists(candidate)) {
                value = up ? m_collection->AncestorGenerations(candidate)
                           : m_collection->DescendantGenerations(candidate);
            }
            // Only a strictly larger value replaces the pick: ties go to the first.
            if (value > best) {
                best = value;
                pick = candidate;
            }
        }
        // A line that comes back to itself (an individual recorded as its own ancestor)
        // ends where it would repeat.
        if (pick == 0 || State(pick) == kHLTrue) break;
        SetResult(pick, true);
        y = pick;
    }
}

void WHLPaths::Evaluate(int32_t individual) {
    SetResult(individual, false);
}

std::string WHLPaths::Describe() {
    const std::string name = ReferenceName();
    if (name.empty()) return {};
    if (m_code == 95) {
        return (m_negated ? "Not longest Ancestor path of " : "Longest ancestor path of ") + name;
    }
    return (m_negated ? "Not longest descendant path of " : "Longest descendant path of ") + name;
}

}  // namespace kindrel
