// The descendant walk. Frames on a work stack stand for the individuals of the current line,
// so the records come out in the order of a depth-first recursion without using the call
// stack.
#include "analysis/des_iterator.h"

#include "containers/int_array.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "model/records.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace kindrel {

// An individual of the current line: its spouse families, the one being walked (k, 1-based;
// 0 before the first) and that family's children still to visit.
struct WDesIterator::Frame {
    int32_t individual = 0;
    int generation = 0;
    std::vector<int32_t> families;
    size_t family = 0;
    std::vector<int32_t> children;
    size_t nextChild = 0;
};

WDesIterator::WDesIterator() : WABSIterator(std::string(), sizeof(WDesRecord), 0) {}

WDesIterator::~WDesIterator() = default;

bool WDesIterator::SetCollection(WABSCollection* collection) {
    m_collection = collection;
    return collection != nullptr;
}

WDesRecord WDesIterator::Decode(const char* record) {
    WDesRecord out;
    if (record) std::memcpy(&out, record, sizeof out);
    return out;
}

WDesRecord WDesIterator::RecordOf(int i) const {
    return Decode(Item(i));
}

void WDesIterator::AddRecord(const WDesRecord& record) {
    if (RecordCount() >= kMaxRecords) {
        m_truncated = true;
        return;
    }
    Add(&record);
}

void WDesIterator::Arrive(int32_t x, int g, std::vector<Frame>& frames, int& depth) {
    if (m_truncated) return;
    if (g > m_limit) {
        m_cutAtLimit = true;
        return;
    }
    WDesRecord record;
    record.generation = static_cast<int16_t>(g);
    record.individual = x;
    if (!m_repeatDuplicates) {
        if (m_listed->GetValue(x)) {
            record.duplicate = 1;
            AddRecord(record);
            return;
        }
        m_listed->SetValue(x, true);
    } else {
        // An individual recorded as its own descendant would otherwise be walked again on
        // every lap of the loop, and two such loops double the records with each lap. Such
        // an arrival is listed as a duplicate and not walked further.
        for (int i = 0; i < depth; ++i) {
            if (frames[size_t(i)].individual == x) {
                record.duplicate = 1;
                AddRecord(record);
                return;
            }
        }
    }
    ++m_counter;
    // A number outside the collection is a missing individual (a storage class may refuse
    // such numbers with an exception rather than answer null).
    if (x < 1 || x > m_individuals) return;
    const std::unique_ptr<WABSIndividual> person = m_collection->GetIndividual(x);
    if (!person) return;
    const int32_t count = person->SpouseFamilyCount();
    if (count <= 0) {
        AddRecord(record);
        return;
    }
    if (size_t(depth) == frames.size()) frames.emplace_back();
    Frame& frame = frames[size_t(depth++)];
    frame.individual = x;
    frame.generation = g;
    frame.families.clear();
    for (int32_t k = 1; k <= count; ++k) frame.families.push_back(person->SpouseFamily(k));
    frame.family = 0;
    frame.children.clear();
    frame.nextChild = 0;
}

bool WDesIterator::Start(int32_t root, int limit, bool repeatDuplicates) {
    Clear();
    m_position = 0;
    m_root = root;
    m_limit = (limit >= 1 && limit <= kMaxGenerationLimit) ? limit : kMaxGenerationLimit;
    m_repeatDuplicates = repeatDuplicates;
    m_counter = 0;
    m_truncated = false;
    m_cutAtLimit = false;
    m_stopRequested = false;
    m_stopped = false;
    if (root <= 0 || !m_collection) return false;
    m_counter = -1;
    m_individuals = std::max<int32_t>(m_collection->IndividualCount(), 0);
    m_families = m_collection->FamilyCount();
    if (!repeatDuplicates) m_listed = std::make_unique<WBoolArray>(m_individuals);

    // The frames of the current line; frames above `depth` are kept for their buffers.
    std::vector<Frame> frames;
    int depth = 0;
    Arrive(root, 0, frames, depth);
    int steps = 0;
    while (depth > 0 && !m_truncated) {
        // No record object is alive here: the collection may even go while events run, after
        // the RequestStop that its owner gives first.
        if (++steps == kPumpInterval) {
            steps = 0;
            PumpEvents();
            if (m_stopRequested) {
                m_stopped = true;
                break;
            }
        }
        Frame& frame = frames[size_t(depth - 1)];
        if (frame.nextChild < frame.children.size()) {
            const int32_t child = frame.children[frame.nextChild++];
            // Arrive may grow `frames`; nothing of `frame` is used after it.
            if (child != 0) Arrive(child, frame.generation + 1, frames, depth);
            continue;
        }
        if (frame.family == frame.families.size()) {
            --depth;
            continue;
        }
        // The next marriage: its record, then its children in birth order.
        const size_t k = ++frame.family;
        frame.children.clear();
        frame.nextChild = 0;
        const int32_t number = frame.families[k - 1];
        if (number < 1 || number > m_families) continue;
        const std::unique_ptr<WABSMarriage> family = m_collection->GetMarriage(number);
        if (!family) continue;
        family->OrderChildren();
        int32_t spouse = family->Husband();
        if (spouse == frame.individual) spouse = family->Wife();
        WDesRecord record;
        record.generation = static_cast<int16_t>(frame.generation);
        record.marriageIndex = static_cast<uint8_t>(k & 0xFF);
        record.marriageCount = static_cast<uint8_t>(frame.families.size() & 0xFF);
        record.individual = frame.individual;
        record.spouse = spouse;
        AddRecord(record);
        const int32_t children = family->ChildCount();
        for (int32_t c = 1; c <= children; ++c) frame.children.push_back(family->Child(c));
    }
    return true;
}

}  // namespace kindrel
