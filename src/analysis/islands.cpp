// Island calculation (a flood over parent, spouse, child and witness links), the size order
// of the islands, and the view restriction to one island.
#include "analysis/islands.h"

#include "analysis/island_iterator.h"
#include "containers/int_array.h"
#include "containers/ui_hooks.h"
#include "model/records.h"
#include "containers/scope_exit.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace kindrel {

namespace {

// Report the calculation's progress every this many seed candidates.
constexpr int32_t kProgressInterval = 1 << 16;

WIslandSortRecord ReadRecord(const char* record) {
    WIslandSortRecord out{0, 0};
    if (record) std::memcpy(&out, record, sizeof out);
    return out;
}

// Larger counts first; equal counts compare equal.
int CompareBySize(const void* a, const void* b, void*) {
    const int32_t countA = ReadRecord(static_cast<const char*>(a)).count;
    const int32_t countB = ReadRecord(static_cast<const char*>(b)).count;
    if (countA > countB) return -1;
    if (countA < countB) return 1;
    return 0;
}

// The collection's view restricted to one island: the island's individuals in ascending
// order. It owns its list, so it stays valid whatever happens to the tables it was made from.
class IslandView final : public WViewRestriction {
  public:
    explicit IslandView(std::unique_ptr<WIslandIterator> list) : m_list(std::move(list)) {}
    int32_t Count() override { return m_list->Count(); }
    int32_t ToIndividual(int32_t i) override { return m_list->NumberAt(i); }
    int32_t ToView(int32_t individual) override { return m_list->ViewPositionOf(individual); }

  private:
    std::unique_ptr<WIslandIterator> m_list;
};

// Witness links as adjacency lists: the individuals linked to x are
// targets[start[x] .. start[x + 1] - 1]. Empty when no individual has a link.
struct WitnessLinks {
    std::vector<int32_t> start;
    std::vector<int32_t> targets;

    bool Empty() const { return start.empty(); }
};

// Reads every individual's witness links, each joining both ways.
WitnessLinks ReadWitnessLinks(WABSCollection& collection, int32_t individuals) {
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (int32_t i = 1; i <= individuals; ++i) {
        if (i % WIslands::kWitnessPumpInterval == 0) PumpEvents();
        const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(i);
        if (!person) continue;
        const int32_t links = person->WitnessCount();
        for (int32_t j = 1; j <= links; ++j) {
            WWitnessLink link;
            if (!person->Witness(j, link)) continue;
            for (const int32_t d : {link.first, link.second}) {
                if (d < 1 || d > individuals) continue;
                pairs.emplace_back(i, d);
                pairs.emplace_back(d, i);
            }
        }
    }
    WitnessLinks links;
    if (pairs.empty()) return links;
    // A counting sort keeps each individual's links in the order they were read.
    links.start.assign(size_t(individuals) + 2, 0);
    for (const auto& [from, to] : pairs) ++links.start[size_t(from) + 1];
    for (size_t x = 1; x < links.start.size(); ++x) links.start[x] += links.start[x - 1];
    links.targets.resize(pairs.size());
    std::vector<int32_t> next(links.start.begin(), links.start.end() - 1);
    for (const auto& [from, to] : pairs) links.targets[size_t(next[size_t(from)]++)] = to;
    return links;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WIslandSortIndex

WIslandSortIndex::WIslandSortIndex(int32_t islandCount)
    : WABSArrayIndex(std::string(), false, sizeof(WIslandSortRecord), std::max(islandCount, 0)) {
    for (int32_t island = 1; island <= islandCount; ++island) {
        const WIslandSortRecord record{island, 0};
        Add(&record);
    }
}

void WIslandSortIndex::CountMember(int32_t island) {
    // Before sorting, island k is record k; after it, the record is looked for.
    int32_t position = island;
    if (ReadRecord(Item(position)).island != island) {
        position = 0;
        for (int32_t p = 1; p <= RecordCount(); ++p) {
            if (ReadRecord(Item(p)).island == island) {
                position = p;
                break;
            }
        }
    }
    char* record = Item(position);
    if (!record || island == 0) return;
    WIslandSortRecord value = ReadRecord(record);
    ++value.count;
    SetItem(position, &value);
}

void WIslandSortIndex::SortBySize() {
    Sort(CompareBySize, nullptr);
}

int32_t WIslandSortIndex::IslandAt(int32_t position) const {
    return ReadRecord(Item(position)).island;
}

int32_t WIslandSortIndex::CountAt(int32_t position) const {
    return ReadRecord(Item(position)).count;
}

// ---------------------------------------------------------------------------------------------
// WIslands

struct WIslands::Tables {
    int32_t islandCount = 0;
    std::unique_ptr<WIntArray> islandOfIndividual;
    std::unique_ptr<WIntArray> islandOfFamily;
    std::unique_ptr<WIntArray> individualCount;
    std::unique_ptr<WIntArray> familyCount;
    std::unique_ptr<WIntArray> firstIndividual;
    std::unique_ptr<WIslandSortIndex> sortIndex;
    std::unique_ptr<WIntArray> positionOf;
};

WIslands& WIslands::Of(WABSCollection& collection) {
    if (auto* islands = dynamic_cast<WIslands*>(collection.IslandTables())) return *islands;
    auto islands = std::make_unique<WIslands>(collection);
    WIslands& result = *islands;
    collection.SetIslandTables(std::move(islands));
    return result;
}

WIslands::WIslands(WABSCollection& collection) : m_collection(collection) {}

// Never touches the collection: it may be destroying itself.
WIslands::~WIslands() = default;

int32_t WIslands::CalculateIslands() {
    if (m_calculated) return m_islandCount;
    // The event pump inside the calculation can bring another request here.
    if (m_calculating) return 0;
    m_calculating = true;
    m_collection.SetBusy(true);
    const ScopeExit done([this] {
        m_calculating = false;
        m_collection.SetBusy(false);
    });

    Tables tables;
    Calculate(tables);
    m_islandCount = tables.islandCount;
    m_islandOfIndividual = std::move(tables.islandOfIndividual);
    m_islandOfFamily = std::move(tables.islandOfFamily);
    m_individualCount = std::move(tables.individualCount);
    m_familyCount = std::move(tables.familyCount);
    m_firstIndividual = std::move(tables.firstIndividual);
    m_sortIndex = std::move(tables.sortIndex);
    m_positionOf = std::move(tables.positionOf);
    m_calculated = true;
    return m_islandCount;
}

void WIslands::Calculate(Tables& t) {
    const int32_t individuals = std::max<int32_t>(m_collection.IndividualCount(), 0);
    const int32_t families = std::max<int32_t>(m_collection.FamilyCount(), 0);
    ReportProgress(kCalculatingMessage, 0, individuals);

    const WitnessLinks witnesses =
        m_useWitnessLinks ? ReadWitnessLinks(m_collection, individuals) : WitnessLinks{};

    t.islandOfIndividual = std::make_unique<WIntArray>(individuals);
    t.islandOfFamily = std::make_unique<WIntArray>(families);
    t.individualCount = std::make_unique<WIntArray>(1);
    t.familyCount = std::make_unique<WIntArray>(1);
    t.firstIndividual = std::make_unique<WIntArray>(1);
    WIntArray& islandOf = *t.islandOfIndividual;
    WIntArray& familyIslandOf = *t.islandOfFamily;

    // The flood keeps its work on a stack of its own (individuals as positive numbers,
    // families as negative ones), so a connected group of any depth costs heap, not the call
    // stack. Neighbours are pushed in reverse so they are taken in their stored order.
    std::vector<int32_t> pending;
    std::vector<int32_t> neighbours;
    const auto pushNeighbours = [&pending, &neighbours] {
        for (auto v = neighbours.rbegin(); v != neighbours.rend(); ++v) pending.push_back(*v);
        neighbours.clear();
    };
    uint32_t steps = 0;
    const auto step = [&steps] {
        if (++steps % kPumpInterval == 0) PumpEvents();
    };

    int32_t island = 1;
    for (int32_t seed = 1; seed <= individuals; ++seed) {
        step();
        if (seed % kProgressInterval == 0) {
            ReportProgress(kCalculatingMessage, seed, individuals);
        }
        if (islandOf.GetValue(seed) != 0) continue;
        pending.assign(1, seed);
        while (!pending.empty()) {
            const int32_t item = pending.back();
            pending.pop_back();
            if (item > 0) {
                const int32_t x = item;
                if (x > individuals || islandOf.GetValue(x) != 0) continue;
                step();
                islandOf.SetValue(x, island);
                t.individualCount->Increment(island);
                if (t.firstIndividual->GetValue(island) == 0)
                    t.firstIndividual->SetValue(island, x);
                if (const std::unique_ptr<WABSIndividual> person = m_collection.GetIndividual(x)) {
                    const int32_t parents = person->ParentFamilyCount();
                    for (int32_t i = 1; i <= parents; ++i) {
                        if (const int32_t f = person->ParentFamily(i); f > 0) {
                            neighbours.push_back(-f);
                        }
                    }
                    const int32_t spouses = person->SpouseFamilyCount();
                    for (int32_t i = 1; i <= spouses; ++i) {
                        if (const int32_t f = person->SpouseFamily(i); f > 0) {
                            neighbours.push_back(-f);
                        }
                    }
                }
                if (!witnesses.Empty()) {
                    for (int32_t k = witnesses.start[size_t(x)]; k < witnesses.start[size_t(x) + 1];
                         ++k) {
                        neighbours.push_back(witnesses.targets[size_t(k)]);
                    }
                }
                pushNeighbours();
            } else {
                const int32_t f = -item;
                if (f > families || familyIslandOf.GetValue(f) != 0) continue;
                const std::unique_ptr<WABSMarriage> family = m_collection.GetMarriage(f);
                if (!family) continue;
                familyIslandOf.SetValue(f, island);
                t.familyCount->Increment(island);
                for (const int32_t partner : {family->Husband(), family->Wife()}) {
                    if (partner > 0) neighbours.push_back(partner);
                }
                const int32_t children = family->ChildCount();
                for (int32_t c = 1; c <= children; ++c) {
                    if (const int32_t child = family->Child(c); child > 0) {
                        neighbours.push_back(child);
                    }
                }
                pushNeighbours();
            }
        }
        ++island;
        ++t.islandCount;
        t.individualCount->Add(0);
        t.familyCount->Add(0);
        t.firstIndividual->Add(0);
    }

    t.sortIndex = std::make_unique<WIslandSortIndex>(t.islandCount);
    for (int32_t i = 1; i <= individuals; ++i) t.sortIndex->CountMember(islandOf.GetValue(i));
    t.sortIndex->SortBySize();
    // The position of every island number, so IslandOf needs no search of the sort index.
    t.positionOf = std::make_unique<WIntArray>(t.islandCount);
    for (int32_t p = 1; p <= t.islandCount; ++p)
        t.positionOf->SetValue(t.sortIndex->IslandAt(p), p);
    ReportProgress(kCalculatingMessage, individuals, individuals);
}

int32_t WIslands::IslandNumberAt(int32_t position) const {
    if (!m_calculated || position < 1 || position > m_islandCount) return 0;
    return m_sortIndex->IslandAt(position);
}

int32_t WIslands::PositionOfIsland(int32_t island) const {
    return m_calculated ? m_positionOf->GetValue(island) : 0;
}

int32_t WIslands::IslandSize(int32_t position) const {
    const int32_t island = IslandNumberAt(position);
    return island ? m_individualCount->GetValue(island) : 0;
}

int32_t WIslands::IslandFamilyCount(int32_t position) const {
    const int32_t island = IslandNumberAt(position);
    return island ? m_familyCount->GetValue(island) : 0;
}

int32_t WIslands::IslandFirstIndividual(int32_t position) const {
    const int32_t island = IslandNumberAt(position);
    return island ? m_firstIndividual->GetValue(island) : 0;
}

int32_t WIslands::IslandNumberOf(int32_t individual) const {
    return m_calculated ? m_islandOfIndividual->GetValue(individual) : 0;
}

int32_t WIslands::FamilyIslandNumberOf(int32_t family) const {
    return m_calculated ? m_islandOfFamily->GetValue(family) : 0;
}

int32_t WIslands::IslandOf(int32_t individual) {
    CalculateIslands();
    return PositionOfIsland(IslandNumberOf(individual));
}

std::unique_ptr<WIslandIterator> WIslands::IslandIterator(int32_t position) {
    CalculateIslands();
    const int32_t island = IslandNumberAt(position);
    if (island == 0) return nullptr;
    return std::make_unique<WIslandIterator>(std::string(), &m_collection, island,
                                             m_islandOfIndividual.get());
}

void WIslands::UseIsland(int32_t position) {
    if (IslandInUse() != 0) {
        ClearIsland();
    } else {
        CalculateIslands();
    }
    std::unique_ptr<WIslandIterator> list = IslandIterator(position);
    if (!list) return;
    auto view = std::make_unique<IslandView>(std::move(list));
    m_restriction = view.get();
    m_positionInUse = position;
    m_collection.SetViewRestriction(std::move(view));
}

void WIslands::ClearIsland() {
    m_collection.SetViewRestriction(nullptr);
    m_restriction = nullptr;
    m_positionInUse = 0;
}

int32_t WIslands::IslandInUse() const {
    if (!m_restriction || m_collection.ViewRestriction() != m_restriction) return 0;
    return m_positionInUse;
}

}  // namespace kindrel
