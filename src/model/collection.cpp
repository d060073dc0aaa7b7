// Navigation, counts, summaries, relation words and the cached tree measures of the abstract
// collection, written once on top of the storage class's record getters.
#include "model/collection.h"

#include "containers/int_array.h"
#include "containers/scope_exit.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kindrel {

namespace {

constexpr char kLineBreak[] = "\r\n";
constexpr char kNoName[] = "<No Given Name>";

}  // namespace

// The caches of the tree measures, one entry per individual, plus the working sets of the
// walks. The walks use explicit work stacks, so a line of any depth costs heap, not stack.
struct WABSCollection::MeasureCaches {
    explicit MeasureCaches(int32_t count) : size(count) {}

    int32_t size;  // individuals covered; numbers above it take no part in any walk

    // Visited flags of the running total and the entries it set, so that clearing them costs
    // only what the walk touched.
    std::unique_ptr<WBoolArray> visited;
    std::vector<int32_t> touched;
    // Individuals in progress of the running generation or average walk (the recursion's
    // stack); every walk leaves them all false.
    std::unique_ptr<WBoolArray> onStack;

    std::unique_ptr<WIntArray> ancestorTotal;
    std::unique_ptr<WIntArray> descendantTotal;
    std::unique_ptr<WIntArray> ancestorGenerations;
    std::unique_ptr<WIntArray> descendantGenerations;
    std::unique_ptr<WFloatArray> ancestorDepthSum;
    std::unique_ptr<WFloatArray> ancestorLineCount;
    std::unique_ptr<WFloatArray> descendantDepthSum;
    std::unique_ptr<WFloatArray> descendantLineCount;

    // Work stacks reused between queries.
    std::vector<int32_t> pending;
};

namespace {

std::unique_ptr<WIntArray> NewIntCache(int32_t size) {
    auto array = std::make_unique<WIntArray>(std::string(), size);
    array->Fill(-1);
    return array;
}

std::unique_ptr<WFloatArray> NewFloatCache(int32_t size) {
    auto array = std::make_unique<WFloatArray>(std::string(), size);
    array->Fill(-1.0);
    return array;
}

std::unique_ptr<WBoolArray> NewFlags(int32_t size) {
    return std::make_unique<WBoolArray>(std::string(), size);
}

}  // namespace

WABSCollection::WABSCollection() = default;
WABSCollection::~WABSCollection() = default;

// ---------------------------------------------------------------------------------------------
// Navigation and counts

int32_t WABSCollection::Father(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return 0;
    const std::unique_ptr<WABSMarriage> family = GetMarriage(person->ParentFamily(1));
    return family ? family->Husband() : 0;
}

int32_t WABSCollection::Mother(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return 0;
    const std::unique_ptr<WABSMarriage> family = GetMarriage(person->ParentFamily(1));
    return family ? family->Wife() : 0;
}

int32_t WABSCollection::MarriageBetween(int32_t a, int32_t b) {
    if (a == 0 || b == 0) return 0;
    const std::unique_ptr<WABSIndividual> first = GetIndividual(a);
    const std::unique_ptr<WABSIndividual> second = GetIndividual(b);
    if (!first || !second) return 0;
    const int32_t otherCount = second->SpouseFamilyCount();
    const int32_t count = first->SpouseFamilyCount();
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t family = first->SpouseFamily(i);
        if (family <= 0) continue;
        for (int32_t j = 1; j <= otherCount; ++j) {
            if (second->SpouseFamily(j) == family) return family;
        }
    }
    return 0;
}

int32_t WABSCollection::SpouseIn(int32_t n, int32_t i) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person || i < 1 || i > person->SpouseFamilyCount()) return 0;
    const std::unique_ptr<WABSMarriage> family = GetMarriage(person->SpouseFamily(i));
    if (!family) return 0;
    const int32_t husband = family->Husband();
    return husband == n ? family->Wife() : husband;
}

bool WABSCollection::HasChildren(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return false;
    const int32_t count = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= count; ++i) {
        const std::unique_ptr<WABSMarriage> family = GetMarriage(person->SpouseFamily(i));
        if (family && family->ChildCount() > 0) return true;
    }
    return false;
}

int32_t WABSCollection::TotalChildren(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return 0;
    int32_t total = 0;
    const int32_t count = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= count; ++i) {
        const std::unique_ptr<WABSMarriage> family = GetMarriage(person->SpouseFamily(i));
        if (family && family->ChildCount() > 0) total += family->ChildCount();
    }
    return total;
}

namespace {

// Children of n's spouse families whose sex letter is exactly sex.
int32_t CountChildrenOfSex(WABSCollection& collection, int32_t n, char sex) {
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    if (!person) return 0;
    int32_t total = 0;
    const int32_t count = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= count; ++i) {
        const std::unique_ptr<WABSMarriage> family =
            collection.GetMarriage(person->SpouseFamily(i));
        if (!family) continue;
        const int32_t children = family->ChildCount();
        for (int32_t c = 1; c <= children; ++c) {
            const int32_t child = family->Child(c);
            if (child < 1) continue;
            const std::unique_ptr<WABSIndividual> childRecord = collection.GetIndividual(child);
            if (childRecord && childRecord->Sex() == sex) ++total;
        }
    }
    return total;
}

}  // namespace

int32_t WABSCollection::SonCount(int32_t n) {
    return CountChildrenOfSex(*this, n, 'M');
}

int32_t WABSCollection::DaughterCount(int32_t n) {
    return CountChildrenOfSex(*this, n, 'F');
}

int32_t WABSCollection::ParentCount(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return 0;
    int32_t total = 0;
    const int32_t count = person->ParentFamilyCount();
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t familyNumber = person->ParentFamily(i);
        if (familyNumber <= 0) continue;
        const std::unique_ptr<WABSMarriage> family = GetMarriage(familyNumber);
        if (!family) continue;
        if (family->Husband() != 0) ++total;
        if (family->Wife() != 0) ++total;
    }
    return total;
}

namespace {

// The sealing of spouse family i of person, or null.
std::unique_ptr<WABSLDSEvent> SealingOf(WABSCollection& collection, WABSIndividual& person,
                                        int32_t i) {
    const std::unique_ptr<WABSMarriage> family = collection.GetMarriage(person.SpouseFamily(i));
    if (!family || !family->HasSealing()) return nullptr;
    return family->Sealing();
}

}  // namespace

bool WABSCollection::HasSpouseSealing(int32_t n, int32_t i) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return false;
    const int32_t count = person->SpouseFamilyCount();
    if (i >= 1 && i <= count) return SealingOf(*this, *person, i) != nullptr;
    for (int32_t j = 1; j <= count; ++j) {
        if (SealingOf(*this, *person, j)) return true;
    }
    return false;
}

std::unique_ptr<WABSLDSEvent> WABSCollection::FamilyLDSEvent(int32_t n, int32_t i) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person || i < 1 || i > person->SpouseFamilyCount()) return nullptr;
    const std::unique_ptr<WABSMarriage> family = GetMarriage(person->SpouseFamily(i));
    return family ? family->Sealing() : nullptr;
}

std::string WABSCollection::SealingDateText(int32_t n, int32_t i) {
    const std::unique_ptr<WABSLDSEvent> sealing = FamilyLDSEvent(n, i);
    return sealing ? sealing->DateText() : std::string();
}

std::string WABSCollection::SealingTempleText(int32_t n, int32_t i, bool requireTemple) {
    const std::unique_ptr<WABSLDSEvent> sealing = FamilyLDSEvent(n, i);
    if (!sealing) return {};
    if (requireTemple && !sealing->HasTemple()) return "Live";
    return sealing->PlaceText();
}

std::string WABSCollection::FullNameOf(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    return person ? person->FullName(true) : std::string();
}

std::string WABSCollection::DisplayNameOf(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    return person ? person->DisplayName() : std::string();
}

std::string WABSCollection::NameBirthText(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return {};
    return person->DisplayName() + ", " + person->DatePlaceText(kEventBirth);
}

namespace {

// The spouse of n in spouse family i (1 when i is below 1): the wife, or the husband when the
// wife is n; 0 when there is none.
int32_t SpouseForLink(WABSCollection& collection, WABSIndividual& person, int32_t n, int32_t i) {
    if (person.SpouseFamilyCount() <= 0) return 0;
    const std::unique_ptr<WABSMarriage> family =
        collection.GetMarriage(person.SpouseFamily(i < 1 ? 1 : i));
    if (!family) return 0;
    const int32_t wife = family->Wife();
    return wife == n ? family->Husband() : wife;
}

}  // namespace

int32_t WABSCollection::ParentOrSpouse(int32_t n, int& kind, int32_t i) {
    kind = 0;
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return 0;
    if (const int32_t father = Father(n); father != 0) {
        kind = 1;
        return father;
    }
    if (const int32_t mother = Mother(n); mother != 0) {
        kind = 2;
        return mother;
    }
    if (const int32_t spouse = SpouseForLink(*this, *person, n, i); spouse != 0) {
        kind = 3;
        return spouse;
    }
    return 0;
}

int32_t WABSCollection::SpouseOrParent(int32_t n, int& kind, int32_t i) {
    kind = 0;
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return 0;
    if (const int32_t spouse = SpouseForLink(*this, *person, n, i); spouse != 0) {
        kind = 3;
        return spouse;
    }
    if (const int32_t father = Father(n); father != 0) {
        kind = 1;
        return father;
    }
    if (const int32_t mother = Mother(n); mother != 0) {
        kind = 2;
        return mother;
    }
    return 0;
}

bool WABSCollection::HasFamilyLinks(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return false;
    return person->ParentFamily(1) > 0 || person->SpouseFamilyCount() > 0;
}

bool WABSCollection::HasFamilySources(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return false;
    const int32_t count = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= count; ++i) {
        const std::unique_ptr<WABSMarriage> family = GetMarriage(person->SpouseFamily(i));
        if (family && family->CitationCount() > 0) return true;
    }
    return false;
}

bool WABSCollection::HasAnySources(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return false;
    return person->HasSources() || HasFamilySources(n);
}

bool WABSCollection::HasFamilyNotes(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return false;
    const int32_t count = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= count; ++i) {
        const std::unique_ptr<WABSMarriage> family = GetMarriage(person->SpouseFamily(i));
        if (family && !family->NoteText().empty()) return true;
    }
    return false;
}

bool WABSCollection::HasAnyNotes(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return false;
    return person->HasNotes() || HasFamilyNotes(n);
}

// ---------------------------------------------------------------------------------------------
// Summary block

std::string WABSCollection::PersonLine(int32_t c, bool fullForm) {
    const std::unique_ptr<WABSIndividual> person = c != 0 ? GetIndividual(c) : nullptr;
    if (!person) return kNoName;
    if (!fullForm) return person->DisplayName();
    std::string line = HasChildren(c) ? "< " : "   ";
    const int year = person->EventYear(kEventBirth);
    line += year != 0 ? std::to_string(year) + " " : std::string(8, ' ');
    line += person->DisplayName();
    return line;
}

std::string WABSCollection::SummaryBlock(int32_t n) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(n);
    if (!person) return {};
    std::string text;
    text += "Name :" + person->DisplayName() + kLineBreak;
    text += "Sex    :" + std::string(1, person->Sex()) + kLineBreak;
    text += "Birth   :" + person->DatePlaceText(kEventBirth) + kLineBreak;
    text += "Chr     :" + person->DatePlaceText(kEventChristening) + kLineBreak;
    text += "Death :" + person->DatePlaceText(kEventDeath) + kLineBreak;
    text += "Bur     :" + person->DatePlaceText(kEventBurial) + kLineBreak;
    text += "Age     :" + person->AgeText() + kLineBreak;
    text += "Father :" + DisplayNameOf(Father(n)) + kLineBreak;
    text += "Mother :" + DisplayNameOf(Mother(n));

    const int32_t count = person->SpouseFamilyCount();
    if (count <= 0) return text;
    std::string block;
    for (int32_t i = 1; i <= count; ++i) {
        const std::unique_ptr<WABSMarriage> family = GetMarriage(person->SpouseFamily(i));
        if (!family) continue;
        block += "Spouse: " + PersonLine(family->OtherSpouse(n), false) + kLineBreak;
        block +=
            "   Mar. Date: " + family->DateText() + ", " + family->MarriagePlaceText() + kLineBreak;
        family->OrderChildren();
        const int32_t children = family->ChildCount();
        for (int32_t c = 1; c <= children; ++c) {
            const int32_t child = family->Child(c);
            if (child > 0) block += "   " + PersonLine(child, true) + kLineBreak;
        }
    }
    if (block.size() >= 2) block.resize(block.size() - 2);
    text += kLineBreak;
    text += block;
    return text;
}

// ---------------------------------------------------------------------------------------------
// Relation words

std::string WABSCollection::RelationText(int code) {
    static constexpr std::array<const char*, 37> kTexts = {
        "Unknown",    "Father",   "Father-Ado", "Father-Ste", "Father-God", "Father-Fst",
        "Father-Oth", "Mother",   "Mother-Ado", "Mother-Ste", "Mother-God", "Mother-Fst",
        "Mother-Oth", "Parent",   "Parent-Ado", "Parent-Ste", "Parent-God", "Parent-Fst",
        "Parent-Oth", "Son",      "Son-Ado",    "Son-Ste",    "Son-God",    "Son-Fst",
        "Son-Oth",    "Daughter", "Dau-Ado",    "Dau-Ste",    "Dau-God",    "Dau-Fst",
        "Dau-Oth",    "Child",    "Child-Ado",  "Child-Ste",  "Child-God",  "Child-Fst",
        "Child-Oth"};
    if (code < 0 || code >= static_cast<int>(kTexts.size())) return {};
    return kTexts[static_cast<size_t>(code)];
}

int WABSCollection::ChildRelationCode(int parentCode, char sex) {
    if (parentCode < 1 || parentCode > 18) return 0;
    const int r = (parentCode - 1) % 6;
    if (sex == 'M' || sex == 'm') return 19 + r;
    if (sex == 'F' || sex == 'f') return 25 + r;
    return 31 + r;
}

// ---------------------------------------------------------------------------------------------
// View of individuals

int32_t WABSCollection::ViewCount() {
    return m_viewRestriction ? m_viewRestriction->Count() : IndividualCount();
}

int32_t WABSCollection::ViewToIndividual(int32_t i) {
    return m_viewRestriction ? m_viewRestriction->ToIndividual(i) : i;
}

int32_t WABSCollection::IndividualToView(int32_t individual) {
    return m_viewRestriction ? m_viewRestriction->ToView(individual) : individual;
}

void WABSCollection::SetViewRestriction(std::unique_ptr<WViewRestriction> restriction) {
    m_viewRestriction = std::move(restriction);
}

void WABSCollection::SetIslandTables(std::unique_ptr<WCollectionAttachment> tables) {
    m_islandTables = std::move(tables);
}

// ---------------------------------------------------------------------------------------------
// Tree measures

WABSCollection::MeasureCaches& WABSCollection::Measures() {
    // The data never changes while a collection is open; a count that grew means the caches
    // were made before the file was loaded, so they start again.
    const int32_t count = std::max<int32_t>(IndividualCount(), 0);
    if (!m_measures || count > m_measures->size) {
        m_measures = std::make_unique<MeasureCaches>(count);
    }
    return *m_measures;
}

bool WABSCollection::Neighbours(int32_t x, bool up, std::vector<int32_t>& out) {
    const std::unique_ptr<WABSIndividual> person = GetIndividual(x);
    if (!person) return false;
    if (up) {
        const int32_t count = person->ParentFamilyCount();
        if (count <= 0) return false;
        for (int32_t i = 1; i <= count; ++i) {
            const int32_t familyNumber = person->ParentFamily(i);
            if (familyNumber <= 0) continue;
            const std::unique_ptr<WABSMarriage> family = GetMarriage(familyNumber);
            if (!family) continue;
            if (const int32_t husband = family->Husband(); husband > 0) out.push_back(husband);
            if (const int32_t wife = family->Wife(); wife > 0) out.push_back(wife);
        }
        return true;
    }
    const int32_t count = person->SpouseFamilyCount();
    if (count <= 0) return false;
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t familyNumber = person->SpouseFamily(i);
        if (familyNumber <= 0) continue;
        const std::unique_ptr<WABSMarriage> family = GetMarriage(familyNumber);
        if (!family) continue;
        const int32_t children = family->ChildCount();
        for (int32_t c = 1; c <= children; ++c) {
            if (const int32_t child = family->Child(c); child > 0) out.push_back(child);
        }
    }
    return true;
}

int32_t WABSCollection::TreeTotal(int32_t n, bool up) {
    if (n <= 0) return 0;
    MeasureCaches& m = Measures();
    if (n > m.size) return 0;
    std::unique_ptr<WIntArray>& cache = up ? m.ancestorTotal : m.descendantTotal;
    if (!cache) cache = NewIntCache(m.size);
    if (const int32_t cached = cache->GetValue(n); cached != -1) return cached;
    if (!m.visited) m.visited = NewFlags(m.size);

    // Every individual reached from n counts once, whatever the order of the walk; n itself
    // is marked first so a loop back to it adds nothing.
    WBoolArray& visited = *m.visited;
    std::vector<int32_t>& pending = m.pending;
    pending.clear();
    const ScopeExit reset([&m, &visited] {
        for (const int32_t x : m.touched) visited.SetValue(x, false);
        m.touched.clear();
    });
    visited.SetValue(n, true);
    m.touched.push_back(n);
    Neighbours(n, up, pending);
    int32_t total = 0;
    while (!pending.empty()) {
        const int32_t x = pending.back();
        pending.pop_back();
        if (x > m.size || visited.GetValue(x)) continue;
        visited.SetValue(x, true);
        m.touched.push_back(x);
        ++total;
        Neighbours(x, up, pending);
    }
    cache->SetValue(n, total);
    return total;
}

namespace {

// One individual in progress of a generation walk: its number, where its unvisited parents
// or children begin on the pending stack, and the deepest line found so far.
struct GenerationFrame {
    int32_t x;
    uint32_t start;
    int32_t best;
};

// One individual in progress of an average walk, with its running depth sum and line count.
struct AverageFrame {
    int32_t x;
    uint32_t start;
    double depthSum;
    double lineCount;
};

}  // namespace

int32_t WABSCollection::TreeGenerations(int32_t n, bool up) {
    if (n <= 0) return -1;
    MeasureCaches& m = Measures();
    if (n > m.size) return 0;
    std::unique_ptr<WIntArray>& cacheSlot = up ? m.ancestorGenerations : m.descendantGenerations;
    if (!cacheSlot) cacheSlot = NewIntCache(m.size);
    WIntArray& cache = *cacheSlot;
    if (const int32_t cached = cache.GetValue(n); cached >= 0) return cached;
    if (!m.onStack) m.onStack = NewFlags(m.size);
    WBoolArray& onStack = *m.onStack;

    // gen(x) = 0 without families, else 1 + the largest gen of its parents (or children), an
    // individual in progress counting 0. The frames replace the recursion's call stack; each
    // frame's neighbours wait on the pending stack in reverse, so they are taken in order.
    std::vector<int32_t>& pending = m.pending;
    pending.clear();
    std::vector<GenerationFrame> frames;
    const ScopeExit reset([&onStack, &frames] {
        for (const GenerationFrame& frame : frames) onStack.SetValue(frame.x, false);
    });

    // Starts x: answers true when it opened a frame, false when x was settled at once (0).
    auto enter = [&](int32_t x) {
        const size_t start = pending.size();
        if (!Neighbours(x, up, pending)) {
            cache.SetValue(x, 0);
            return false;
        }
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(start), pending.end());
        onStack.SetValue(x, true);
        frames.push_back({x, static_cast<uint32_t>(start), 0});
        return true;
    };

    if (!enter(n)) return 0;
    while (!frames.empty()) {
        GenerationFrame& top = frames.back();
        if (pending.size() > top.start) {
            const int32_t x = pending.back();
            pending.pop_back();
            int32_t value = 0;
            if (x > m.size) {
                value = 0;
            } else if (const int32_t cached = cache.GetValue(x); cached >= 0) {
                value = cached;
            } else if (onStack.GetValue(x)) {
                value = 0;
            } else if (enter(x)) {
                continue;
            }
            top.best = std::max(top.best, value);
            continue;
        }
        const int32_t x = top.x;
        const int32_t result = top.best + 1;
        cache.SetValue(x, result);
        onStack.SetValue(x, false);
        frames.pop_back();
        if (!frames.empty()) frames.back().best = std::max(frames.back().best, result);
    }
    return cache.GetValue(n);
}

double WABSCollection::TreeAverage(int32_t n, bool up) {
    if (n <= 0) return -1.0;
    MeasureCaches& m = Measures();
    if (n > m.size) return 0.0;
    std::unique_ptr<WFloatArray>& sumSlot = up ? m.ancestorDepthSum : m.descendantDepthSum;
    std::unique_ptr<WFloatArray>& linesSlot = up ? m.ancestorLineCount : m.descendantLineCount;
    if (!sumSlot) sumSlot = NewFloatCache(m.size);
    if (!linesSlot) linesSlot = NewFloatCache(m.size);
    WFloatArray& depthSum = *sumSlot;
    WFloatArray& lineCount = *linesSlot;

    if (depthSum.GetValue(n) < 0) {
        if (!m.onStack) m.onStack = NewFlags(m.size);
        WBoolArray& onStack = *m.onStack;
        std::vector<int32_t>& pending = m.pending;
        pending.clear();
        std::vector<AverageFrame> frames;
        // Individuals still in progress after an exception may hold the loop settlement 0;
        // they are marked not computed again.
        const ScopeExit reset([&onStack, &frames, &depthSum, &lineCount] {
            for (const AverageFrame& frame : frames) {
                onStack.SetValue(frame.x, false);
                depthSum.SetValue(frame.x, -1.0);
                lineCount.SetValue(frame.x, -1.0);
            }
        });

        // Every line from x to a parent (or child) p adds p's lines, each one generation
        // longer, plus the line to p itself. An individual in progress (a loop) is settled as
        // 0 lines at depth sum 0, so it still counts as one line of its own.
        auto addLine = [&](AverageFrame& frame, int32_t p) {
            const double sum = depthSum.GetValue(p);
            if (sum < 0) return;
            const double lines = lineCount.GetValue(p);
            frame.depthSum += sum + lines + 1;
            frame.lineCount += lines + 1;
        };
        // Starts x: answers true when it opened a frame, false when x is settled already.
        auto enter = [&](int32_t x) {
            if (onStack.GetValue(x)) {
                depthSum.SetValue(x, 0.0);
                lineCount.SetValue(x, 0.0);
                return false;
            }
            if (depthSum.GetValue(x) >= 0) return false;
            const size_t start = pending.size();
            if (!Neighbours(x, up, pending)) {
                depthSum.SetValue(x, 0.0);
                lineCount.SetValue(x, 0.0);
                return false;
            }
            std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(start), pending.end());
            onStack.SetValue(x, true);
            frames.push_back({x, static_cast<uint32_t>(start), 0.0, 0.0});
            return true;
        };

        enter(n);
        while (!frames.empty()) {
            AverageFrame& top = frames.back();
            if (pending.size() > top.start) {
                const int32_t p = pending.back();
                pending.pop_back();
                if (p > m.size) continue;
                if (enter(p)) continue;
                addLine(top, p);
                continue;
            }
            const int32_t x = top.x;
            depthSum.SetValue(x, top.depthSum);
            lineCount.SetValue(x, top.lineCount);
            onStack.SetValue(x, false);
            frames.pop_back();
            if (!frames.empty()) addLine(frames.back(), x);
        }
    }
    const double lines = lineCount.GetValue(n);
    return lines > 0 ? depthSum.GetValue(n) / lines : 0.0;
}

int32_t WABSCollection::AncestorTotal(int32_t n) {
    return TreeTotal(n, true);
}

int32_t WABSCollection::DescendantTotal(int32_t n) {
    return TreeTotal(n, false);
}

bool WABSCollection::TreeTotalKnown(int32_t n, bool up) {
    if (n <= 0) return true;
    MeasureCaches& m = Measures();
    if (n > m.size) return true;
    const std::unique_ptr<WIntArray>& cache = up ? m.ancestorTotal : m.descendantTotal;
    return cache && cache->GetValue(n) != -1;
}

int32_t WABSCollection::AncestorGenerations(int32_t n) {
    return TreeGenerations(n, true);
}

int32_t WABSCollection::DescendantGenerations(int32_t n) {
    return TreeGenerations(n, false);
}

double WABSCollection::AverageAncestorGenerations(int32_t n) {
    return TreeAverage(n, true);
}

double WABSCollection::AverageDescendantGenerations(int32_t n) {
    return TreeAverage(n, false);
}

}  // namespace kindrel
