// GEDCOM readers of names, places, vital and other events and LDS ordinances. Each object
// holds pointers to lines of its record in the mapped text and decodes values on request;
// it belongs to its requester and must not outlive the collection.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

class WGEDCollection;
class WGEDTextMMF;

// Citation lines gathered under a record or event: at most this many are kept.
inline constexpr int kMaxCitations = 99;

// A personal name over a NAME line and its direct children (GIVN, SURN, NPFX, NSFX, NOTE,
// SOUR).
class WGEDName : public WABSName {
  public:
    // Scans the NAME line's children.
    WGEDName(WGEDCollection& collection, const char* nameLine);

    std::string Surname() override;
    std::string GivenNames() override;
    std::string Prefix() override;
    std::string Suffix() override;
    std::unique_ptr<WABSCitation> Citation(int32_t i) override;
    std::unique_ptr<WABSNote> Note() override;

  private:
    WGEDCollection& m_collection;
    const WGEDTextMMF& m_text;
    const char* m_nameLine;
    const char* m_givnLine = nullptr;
    const char* m_surnLine = nullptr;
    const char* m_npfxLine = nullptr;
    const char* m_nsfxLine = nullptr;
    const char* m_noteLine = nullptr;
    std::vector<const char*> m_citations;
    std::optional<std::string> m_givenNames;
    std::optional<std::string> m_surname;
    std::optional<std::string> m_suffix;
};

// A place over a PLAC (or TEMP) line with its citations and note; a null line gives an
// empty place.
class WGEDPlace : public WABSPlace {
  public:
    // Scans the line's direct children.
    WGEDPlace(WGEDCollection& collection, const char* placeLine);

    std::string PlaceName() override;
    std::unique_ptr<WABSCitation> Citation(int32_t i) override;
    std::unique_ptr<WABSNote> Note() override;

  private:
    WGEDCollection& m_collection;
    const char* m_placeLine;
    const char* m_noteLine = nullptr;
    std::vector<const char*> m_citations;
};

// The kind and type text of an event tag (the line's tag): BIRT 1, DEAT 2, CHR 3, BURI 4,
// BAPM 5 "Baptism", every other tag 6 with its name ("Occupation") or no text.
void VitalEventKind(const char* line, const char* end, int& kind, std::string& typeText);

// True when the line's tag is one of the other events of an individual (OCCU, RESI, ...).
bool IsOtherEventTag(const char* line, const char* end);

// A vital event or other event of an individual.
class WGEDVitEvent : public WABSVitEvent {
  public:
    // Reads the kind from the tag and scans the direct children.
    WGEDVitEvent(WGEDCollection& collection, const char* eventLine);

    void LoadDate() override;
    std::unique_ptr<WABSPlace> Place() override;
    std::unique_ptr<WABSCitation> Citation(int32_t i) override;
    bool HasNote() override;
    std::unique_ptr<WABSNote> Note() override;
    // The event line.
    const char* EventLine() const { return m_eventLine; }

  private:
    WGEDCollection& m_collection;
    const char* m_eventLine;
    const char* m_dateLine = nullptr;
    const char* m_placeLine = nullptr;
    const char* m_noteLine = nullptr;
    std::string m_qualText;
    bool m_hasQual = false;
    bool m_dateLoaded = false;
    std::vector<const char*> m_citations;
};

// The LDS ordinance kind of a tag: BAPL and CONS 7, ENDL 8, SLGC 9, SLGS 10, else 0.
int LdsEventKind(const char* line, const char* end);

// An LDS ordinance (BAPL, CONS, ENDL, SLGC of an individual; SLGS of a family).
class WGEDLDSEvent : public WABSLDSEvent {
  public:
    // Reads the kind from the tag and scans the direct children.
    WGEDLDSEvent(WGEDCollection& collection, const char* eventLine);

    void LoadDate() override;
    // Always a place: the temple or place line, or an empty place.
    std::unique_ptr<WABSPlace> Place() override;
    std::unique_ptr<WABSCitation> Citation(int32_t i) override;
    bool HasNote() override;
    std::unique_ptr<WABSNote> Note() override;
    // The STAT value, converted; empty when none.
    std::string StatusText() const;
    // True when the ordinance has a DATE line.
    bool HasDateLine() const { return m_dateLine != nullptr; }

  private:
    WGEDCollection& m_collection;
    const char* m_eventLine;
    const char* m_dateLine = nullptr;
    const char* m_placeLine = nullptr;
    const char* m_noteLine = nullptr;
    const char* m_statLine = nullptr;
    std::string m_qualText;
    bool m_hasQual = false;
    bool m_dateLoaded = false;
    std::vector<const char*> m_citations;
};

}  // namespace kindrel
