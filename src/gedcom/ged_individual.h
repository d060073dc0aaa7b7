// GEDCOM readers of individuals and families. An individual keeps the offsets of its key
// lines in the collection's line cache, so later objects for the same individual skip the
// scan; a family reads its husband, wife and children from the family links.
#pragma once

#include "gedcom/ged_indexes.h"
#include "model/date.h"
#include "model/records.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kindrel {

class WGEDCollection;

// An individual (INDI record).
class WGEDIndividual : public WABSIndividual {
  public:
    // Other events kept per individual at most.
    static constexpr int kMaxOtherEvents = 499;

    // An object bound to no individual yet; Load binds it.
    explicit WGEDIndividual(WGEDCollection& collection);
    ~WGEDIndividual() override;

    void ClearCache() override;
    void Unload() override {}
    // Binds to individual n (0 detaches); EIndexError outside the index.
    void Load(int32_t n) override;
    std::string IdText() override;
    std::string RefNumberText() override;
    std::string AfnText() override;
    char Sex() override;
    const WDate* CreationDate() override { return nullptr; }
    const WDate* ChangeDate() override;
    std::unique_ptr<WABSName> Name() override;
    int32_t EventCount(int kind) override;
    std::unique_ptr<WABSEvent> Event(int kind, int32_t i) override;
    std::unique_ptr<WABSLDSEvent> LDSEvent(int kind) override;
    int32_t ParentFamilyCount() override;
    int32_t ParentFamily(int32_t i) override;
    bool ParentFamilyLink(int32_t i, int32_t& family, int& fatherCode, int& motherCode) override;
    int32_t SpouseFamilyCount() override;
    int32_t SpouseFamily(int32_t i) override;
    bool HasNoParents() override { return ParentFamilyCount() == 0; }
    bool HasNoSpouses() override { return SpouseFamilyCount() == 0; }
    int32_t CitationCount() override;
    std::unique_ptr<WABSCitation> Citation(int32_t i) override;
    std::unique_ptr<WABSNote> Note() override;
    std::string RecordText() override;

    // Every NAME line of the record at level 1, in file order (the first is Name()).
    std::vector<std::unique_ptr<WABSName>> AllNames();
    // The whole identifier of the record without the @ characters ("I12").
    std::string XrefText() const;
    // The PEDI value (converted) under the FAMC line of parent family f; empty when none.
    std::string PedigreeText(int32_t f);
    // The level-0 line of the record (null while detached).
    const char* RecordHead() const { return m_head; }

  private:
    // Fills the line cache from the record.
    void ScanCache();
    // The key line of a slot, from the cache or (for records too long for it) by a scan.
    const char* SlotLine(int slot) const;
    // Finds a slot's line by walking the record (first or last one, as the cache keeps it).
    const char* ScanSlot(int slot) const;
    void ScanCitations();
    void ScanOtherEvents();

    WGEDCollection& m_collection;
    const char* m_head = nullptr;
    WIndCache* m_cache = nullptr;
    std::vector<const char*> m_citations;
    bool m_citationsScanned = false;
    std::vector<const char*> m_otherEvents;
    bool m_otherEventsScanned = false;
    std::unique_ptr<WDate> m_changeDate;
    bool m_changeDateRead = false;
};

// A family (FAM record).
class WGEDMarriage : public WABSMarriage {
  public:
    // Reads family n's lines; EIndexError outside the index.
    WGEDMarriage(WGEDCollection& collection, int32_t n);

    void LoadDate() override;
    int32_t Husband() override;
    int32_t Wife() override;
    int32_t Child(int32_t i) override;
    int32_t SpouseCount() override { return (Husband() != 0 ? 1 : 0) + (Wife() != 0 ? 1 : 0); }
    void OrderChildren() override;
    bool HasSealing() override { return m_sealingLine != nullptr; }
    std::unique_ptr<WABSLDSEvent> Sealing() override;
    std::string MarriagePlaceText() override;
    std::string IdText() override;
    std::unique_ptr<WABSCitation> Citation(int32_t i) override;
    std::unique_ptr<WABSNote> Note() override;
    // The whole record, converted.
    std::string RecordText();
    // The whole identifier of the record without the @ characters ("F3").
    std::string XrefText() const;
    // True when the family has a MARR line.
    bool HasMarriageEvent() const { return m_marriageLine != nullptr; }

  private:
    WGEDCollection& m_collection;
    const char* m_head;
    const char* m_marriageLine = nullptr;
    const char* m_sealingLine = nullptr;
    const char* m_noteLine = nullptr;
    std::vector<const char*> m_citations;
    bool m_dateLoaded = false;
};

}  // namespace kindrel
