// The relationship calculator: an ancestor depth map of the reference, kept between queries,
// and an upward search from the other individual that stops at the reference's ancestors.
#include "analysis/rel_calc.h"

#include "analysis/attrib_columns.h"

#include "containers/int_array.h"
#include "model/collection.h"
#include "model/records.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace kindrel {

namespace {

constexpr int32_t kNoCount = 65535;

// Index into a word triple: 'M' the first, 'F' the second, anything else the third.
int WordIndex(char sex) {
    if (sex == 'M') return 0;
    if (sex == 'F') return 1;
    return 2;
}

}  // namespace

WRelCalc::WRelCalc(WABSCollection* collection) : m_collection(collection) {}

WRelCalc::~WRelCalc() = default;

void WRelCalc::Prepare() {
    const int32_t count = std::max<int32_t>(m_collection->IndividualCount(), 0);
    m_familyCount = m_collection->FamilyCount();
    if (m_depth && count == m_size) return;
    // The collection is read-only while open; a changed count means the maps were made
    // before it was loaded, so they start again.
    m_size = count;
    m_depth = std::make_unique<WIntArray>(count);
    m_depth->Fill(-1);
    m_visited = std::make_unique<WBoolArray>(count);
    m_depthTouched.clear();
    m_visitedTouched.clear();
    m_cachedReference = 0;
}

void WRelCalc::Parents(int32_t x, std::vector<int32_t>& out) {
    const std::unique_ptr<WABSIndividual> person = m_collection->GetIndividual(x);
    if (!person) return;
    const int32_t families = person->ParentFamilyCount();
    for (int32_t i = 1; i <= families; ++i) {
        // A number outside the collection is skipped like a family it cannot supply.
        const int32_t f = person->ParentFamily(i);
        if (f < 1 || f > m_familyCount) continue;
        const std::unique_ptr<WABSMarriage> family = m_collection->GetMarriage(f);
        if (!family) continue;
        out.push_back(family->Husband());
        out.push_back(family->Wife());
    }
}

void WRelCalc::MapAncestors(int32_t reference) {
    WIntArray& depth = *m_depth;
    for (const int32_t x : m_depthTouched) depth.SetValue(x, -1);
    m_depthTouched.clear();
    m_cachedReference = 0;

    // Each entry must end as the fewest generations from the reference, whatever the order
    // of the lines. A breadth-first walk reaches every ancestor first by a shortest route, so
    // each individual is entered once; a loop in the data meets entries already set.
    std::vector<int32_t> parents;
    std::vector<int32_t>& queue = m_depthTouched;
    depth.SetValue(reference, 0);
    queue.push_back(reference);
    for (size_t head = 0; head < queue.size(); ++head) {
        const int32_t x = queue[head];
        const int32_t next = depth.GetValue(x) + 1;
        parents.clear();
        Parents(x, parents);
        for (const int32_t p : parents) {
            if (p < 1 || p > m_size || depth.GetValue(p) >= 0) continue;
            depth.SetValue(p, next);
            queue.push_back(p);
        }
    }
    m_cachedReference = reference;
}

void WRelCalc::Search(int32_t other) {
    WBoolArray& visited = *m_visited;
    for (const int32_t y : m_visitedTouched) visited.SetValue(y, false);
    m_visitedTouched.clear();

    // Depth first, father's line before mother's, parent families in stored order; each
    // individual is examined once, at the depth of the first path that reaches it. Parents
    // wait on the stack in reverse so they are taken in order, exactly as the recursion would.
    struct Step {
        int32_t individual;
        int32_t depth;
    };
    std::vector<Step> pending{{other, 0}};
    std::vector<int32_t> parents;
    const WIntArray& depth = *m_depth;
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        const int32_t y = step.individual;
        if (y < 1 || y > m_size || visited.GetValue(y)) continue;
        visited.SetValue(y, true);
        m_visitedTouched.push_back(y);
        const int32_t known = depth.GetValue(y);
        if (known >= 0) {
            // A common ancestor: the walk does not go above it; the nearest to the
            // reference wins, the first reached among equals. The first one found is taken
            // whatever its depth: 65535 only marks "none", it is no limit on the lines.
            if (m_commonAncestor == 0 || known < m_referenceCount) {
                m_commonAncestor = y;
                m_referenceCount = known;
                m_otherCount = step.depth;
            }
            continue;
        }
        parents.clear();
        Parents(y, parents);
        for (auto p = parents.rbegin(); p != parents.rend(); ++p) {
            pending.push_back({*p, step.depth + 1});
        }
    }
}

std::string WRelCalc::Relationship(int32_t reference, int32_t other) {
    m_commonAncestor = 0;
    m_referenceCount = kNoCount;
    m_otherCount = kNoCount;
    m_lastReference = reference;
    m_lastOther = other;
    if (!m_collection) return {};
    Prepare();
    if (reference < 1 || reference > m_size || other < 1 || other > m_size) return {};
    if (reference != m_cachedReference) MapAncestors(reference);
    Search(other);
    if (m_commonAncestor == 0) return {};
    const std::unique_ptr<WABSIndividual> person = m_collection->GetIndividual(other);
    const char sex = person ? person->Sex() : 'U';
    return RelationName(m_referenceCount, m_otherCount, sex);
}

std::string WRelCalc::CommonAncestorName(int32_t reference, int32_t other, bool displayForm) {
    // Only the pair of the last query has a result; another pair gets no stale name.
    if (!m_collection || m_commonAncestor == 0 || reference != m_lastReference ||
        other != m_lastOther) {
        return {};
    }
    if (m_commonAncestor == reference || m_commonAncestor == other) return {};
    const std::unique_ptr<WABSIndividual> person = m_collection->GetIndividual(m_commonAncestor);
    if (!person) return {};
    if (displayForm) return person->DisplayName();
    // The surname-first form reads like the list's other surname-first columns.
    return SurnameFirstName(*person);
}

std::string WRelCalc::RelationName(int32_t a, int32_t b, char sex) const {
    if (a < 0 || b < 0) return "Not Related";
    const int w = WordIndex(sex);
    switch (a) {
        case 0:
            if (b == 0) return "* Selected Person *";
            if (b == 1) return m_childWords[w];
            if (b == 2) return "Grand " + m_childWords[w];
            return GenerationPrefix(b - 2) + " Grand " + m_childWords[w];
        case 1:
            if (b == 0) return m_parentWords[w];
            if (b == 1) return m_siblingWords[w];
            if (b == 2) return m_nephewWords[w];
            if (b == 3) return "Grand " + m_nephewWords[w];
            return GenerationPrefix(b - 3) + " Grand " + m_nephewWords[w];
        case 2:
            if (b == 0) return "Grand " + m_parentWords[w];
            if (b == 1) return m_uncleWords[w];
            if (b == 2) return "1st Cousin";
            return "1C" + std::to_string(b - 2) + "R";
        case 3:
            if (b == 0) return GenerationPrefix(1) + " Grand " + m_parentWords[w];
            if (b == 1) return "Great " + m_uncleWords[w];
            return CousinCode(a, b);
        default:
            if (b == 0) return GenerationPrefix(a - 2) + " Grand " + m_parentWords[w];
            if (b == 1) return GenerationPrefix(a - 3) + " Great " + m_uncleWords[w];
            return CousinCode(a, b);
    }
}

std::string WRelCalc::GenerationPrefix(int32_t n) {
    switch (n) {
        case 1:
            return "G";
        case 2:
            return "GG";
        case 3:
            return "GGG";
        default:
            return n >= 4 ? std::to_string(n) + "G" : std::string();
    }
}

std::string WRelCalc::CousinCode(int32_t a, int32_t b) {
    std::string code = std::to_string(std::min(a, b) - 1) + "C";
    if (a != b) code += std::to_string(std::abs(a - b)) + "R";
    return code;
}

}  // namespace kindrel
