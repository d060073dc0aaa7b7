// The descendant walk behind the Descendants page and the descendant report: one record per
// individual and marriage, depth first, each marriage followed by its children in birth
// order, with a generation limit and the marking of individuals reached a second time.
#pragma once

#include "containers/array_index.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kindrel {

class WABSCollection;
class WBoolArray;

// One record of the descendant walk, as stored (16 bytes).
struct WDesRecord {
    int16_t generation = 0;     // 0 for the root, 1 for its children, ...
    uint8_t marriageIndex = 0;  // which spouse family (1-based); 0 without one and for duplicates
    uint8_t marriageCount = 0;  // spouse families of the individual (low 8 bits); 0 for duplicates
    int32_t individual = 0;
    int32_t spouse = 0;        // the other partner of that family, 0 when none
    uint8_t duplicate = 0;     // 1 when the individual was listed earlier in this walk
    uint8_t reserved[3] = {};  // always 0
};
static_assert(sizeof(WDesRecord) == 16, "descendant records are 16 bytes");

class WDesIterator : public WABSIterator {
  public:
    // Generation limit used when the given one is outside 1 .. kMaxGenerationLimit.
    static constexpr int kMaxGenerationLimit = 255;
    // The walk stops after this many records (a file whose lines multiply without end when
    // duplicates are repeated); Truncated() then answers true.
    static constexpr int kMaxRecords = 1 << 25;
    // Steps of the walk between two calls of the event pump (PumpEvents).
    static constexpr int kPumpInterval = 4096;

    // An empty walk without collection; the records live in an anonymous store.
    WDesIterator();
    ~WDesIterator() override;

    // Sets the collection read by Start (not owned); true when one was given.
    bool SetCollection(WABSCollection* collection);
    // Walks the descendants of root down to `limit` generations (1 .. 255, anything else
    // means 255). Without repeatDuplicates every individual is walked once and later arrivals
    // become duplicate records. False (and no records) without collection or for root <= 0.
    // The walk lets the user interface process pending events every kPumpInterval steps,
    // holding no record object meanwhile; a RequestStop from there ends it (Stopped()). A
    // caller that may free the collection while events are processed must RequestStop first.
    bool Start(int32_t root, int limit, bool repeatDuplicates);
    // Ends the walk that runs now at its next pump (the records so far stay); a Start that
    // follows is not affected.
    void RequestStop() { m_stopRequested = true; }
    // The last walk ended on RequestStop.
    bool Stopped() const { return m_stopped; }
    // Individuals walked, the root not counted: every arrival within the limit that is not a
    // duplicate record.
    int32_t DescendantCount() const { return m_counter < 0 ? 0 : m_counter; }
    // Record i (1-based) decoded; all zero when i is not a valid position.
    WDesRecord RecordOf(int i) const;
    // Decodes a record pointer from First / Next / GoTo (null gives all zero).
    static WDesRecord Decode(const char* record);

    // The settings of the last Start.
    int32_t Root() const { return m_root; }
    int GenerationLimit() const { return m_limit; }
    bool RepeatDuplicates() const { return m_repeatDuplicates; }
    // The last walk stopped at kMaxRecords.
    bool Truncated() const { return m_truncated; }
    // The last walk left out descendants below its generation limit.
    bool CutAtLimit() const { return m_cutAtLimit; }

  private:
    struct Frame;
    // Handles the arrival at individual x in generation g: a record, a frame to walk its
    // families, or nothing.
    void Arrive(int32_t x, int g, std::vector<Frame>& frames, int& depth);
    void AddRecord(const WDesRecord& record);

    WABSCollection* m_collection = nullptr;
    int32_t m_root = 0;
    int m_limit = kMaxGenerationLimit;
    bool m_repeatDuplicates = true;
    int32_t m_counter = 0;
    int32_t m_individuals = 0;  // the collection's counts at Start
    int32_t m_families = 0;
    bool m_truncated = false;
    bool m_cutAtLimit = false;
    bool m_stopRequested = false;
    bool m_stopped = false;
    std::unique_ptr<WBoolArray> m_listed;
};

}  // namespace kindrel
