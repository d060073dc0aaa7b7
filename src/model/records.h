// Format-independent genealogy records: individual, marriage (family), event, name, place,
// note, source, citation, address, repository and submitter. Storage classes (the GEDCOM
// readers) supply the raw getters; the text building is written here once.
//
// Record objects are short-lived views. Every getter that returns a record object returns a
// new object owned by the caller (std::unique_ptr). Dates returned as `const WDate*` belong
// to the record that returned them and live as long as it does. Objects point into their
// collection's data and never outlive the collection.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kindrel {

class WDate;
class WDateDiff;

// Event kinds, the first argument of the individual's event getters.
enum EventKind : int {
    kEventBirth = 1,
    kEventDeath = 2,
    kEventChristening = 3,
    kEventBurial = 4,
    kEventBaptism = 5,
    kEventOther = 6,
    kEventLdsBaptism = 7,
    kEventLdsEndowment = 8,
    kEventLdsSealingToParents = 9,
    kEventLdsSealingToSpouse = 10,
};

class WABSNote;
class WABSCitation;
class WABSSource;
class WABSPlace;
class WABSName;
class WABSEvent;
class WABSLDSEvent;
class WABSAddress;

// Root of individuals and marriages: the item's 1-based number (0 = none).
class WABSCollectionItem {
public:
    explicit WABSCollectionItem(int32_t number) : m_number(number) {}
    virtual ~WABSCollectionItem() = default;
    WABSCollectionItem(const WABSCollectionItem&) = delete;
    WABSCollectionItem& operator=(const WABSCollectionItem&) = delete;

    // The individual or family number this object is bound to.
    int32_t Number() const { return m_number; }

protected:
    int32_t m_number;
};

// A note: a list of text lines.
class WABSNote {
public:
    WABSNote() = default;
    virtual ~WABSNote() = default;

    // Number of lines.
    int LineCount() const { return static_cast<int>(m_lines.size()); }
    // Line i (1-based); empty below 1 or above the count.
    std::string Line(int i) const;
    // Appends one line.
    void AddLine(std::string text) { m_lines.push_back(std::move(text)); }
    // A copy of all lines.
    std::vector<std::string> Lines() const { return m_lines; }
    // The lines joined by CR LF; leading empty lines leave no trace, no separator at the end.
    std::string Text() const;

private:
    std::vector<std::string> m_lines;
};

// A source record (or a source written inline in a citation).
class WABSSource {
public:
    virtual ~WABSSource() = default;
    // 1-based repository number, 0 when none.
    virtual int32_t RepositoryNumber() = 0;
    virtual std::string AuthorText() = 0;
    virtual std::string TitleText() = 0;
    virtual std::string PublicationText() = 0;
    virtual std::string CallNumberText() = 0;
    virtual std::string AbbreviationText() = 0;
    // New note, or null.
    virtual std::unique_ptr<WABSNote> Note() = 0;
    // The source's TEXT as a new note, or null.
    virtual std::unique_ptr<WABSNote> SourceText() = 0;
    // The whole source record as text; empty in the base.
    virtual std::string RecordText() { return {}; }
    // The note shown with the source; the base answers Note().
    virtual std::unique_ptr<WABSNote> DisplayNote() { return Note(); }
    virtual bool HasNoteFlag() = 0;
    virtual bool HasSourceText() = 0;
    virtual bool HasRepository() = 0;
    // Author, title, publication, call number, abbreviation: the non-empty ones, line feeds
    // removed and carriage returns turned into spaces, joined with ", ".
    virtual std::string SummaryText();
};

// A citation of a source (a SOUR line under a record or event).
class WABSCitation {
public:
    virtual ~WABSCitation() = default;
    // The cited page.
    virtual std::string PageText() = 0;
    // New note, or null.
    virtual std::unique_ptr<WABSNote> Note() = 0;
    // New source, or null.
    virtual std::unique_ptr<WABSSource> Source() = 0;
    // Page, note text, source summary and source note, joined with ", ".
    std::string FullText();
};

// A place of an event (or the temple of an LDS ordinance).
class WABSPlace {
public:
    virtual ~WABSPlace() = default;
    virtual std::string PlaceName() = 0;
    // Number of citations; the base answers the field.
    virtual int32_t CitationCount() { return m_citationCount; }
    // Citation i (1-based): new object or null.
    virtual std::unique_ptr<WABSCitation> Citation(int32_t i) = 0;
    virtual std::unique_ptr<WABSNote> Note() = 0;

protected:
    int32_t m_citationCount = 0;
};

// A personal name: given names, surname, prefix and suffix.
class WABSName {
public:
    virtual ~WABSName() = default;
    virtual std::string Surname() = 0;
    virtual std::string GivenNames() = 0;
    virtual std::string Prefix() = 0;
    virtual std::string Suffix() = 0;
    // Citation i (1-based): new object or null.
    virtual std::unique_ptr<WABSCitation> Citation(int32_t i) = 0;
    virtual std::unique_ptr<WABSNote> Note() = 0;

    int32_t CitationCount() const { return m_citationCount; }
    // The name as displayed under the name settings (PreSuf, NameSlash, NameUpper);
    // withPrefixSuffix adds the prefix and suffix when PreSuf is on.
    std::string FullName(bool withPrefixSuffix);
    // The surname as displayed (upper-cased when NameUpper, between slashes when NameSlash).
    std::string SurnameText();
    // Numbered citations "1) ...", separated by two line breaks.
    std::string CitationsText();
    // The note's text, empty without note.
    std::string NoteText();

protected:
    int32_t m_citationCount = 0;
};

// An event or attribute of an individual or family (vital events and LDS ordinances).
class WABSEvent {
public:
    WABSEvent();
    virtual ~WABSEvent();
    WABSEvent(const WABSEvent&) = delete;
    WABSEvent& operator=(const WABSEvent&) = delete;

    // Creates the date object when the record has a date.
    virtual void LoadDate() = 0;
    // Makes the sort date available; the base shares the date object.
    virtual void LoadSortDate();
    // The event name (such as "Baptism").
    virtual std::string EventName() { return m_eventName; }
    // New place, or null.
    virtual std::unique_ptr<WABSPlace> Place() = 0;
    virtual int32_t CitationCount() { return m_citationCount; }
    // Citation i (1-based): new object or null.
    virtual std::unique_ptr<WABSCitation> Citation(int32_t i) = 0;
    virtual bool HasNote() = 0;
    virtual std::unique_ptr<WABSNote> Note() = 0;

    // The date (owned by the event), or null.
    const WDate* Date();
    const WDate* SortDate();
    // A date exists and is set.
    bool HasDate();
    // The date's stored text, empty without date.
    std::string DateText();
    std::string SortDateText();
    // The TYPE text.
    const std::string& TypeText() const { return m_typeText; }
    // The place name, empty without place.
    std::string PlaceText();
    std::string CitationsText();
    std::string NoteText();
    // The event kind (EventKind).
    int Kind() const { return m_kind; }

protected:
    int32_t m_citationCount = 0;
    std::string m_typeText;
    std::unique_ptr<WDate> m_date;
    int m_kind = 0;
    bool m_sortDateShared = false;
    std::unique_ptr<WDate> m_sortDate;  // used only when not shared with m_date
    std::string m_eventName;
};

// A vital event or other event of an individual.
class WABSVitEvent : public WABSEvent {};

// An LDS ordinance (kinds 7 to 10).
class WABSLDSEvent : public WABSEvent {
public:
    // The ordinance names a temple.
    bool HasTemple() const { return m_hasTemple; }
    // The status words allowed for an ordinance kind, joined with ";".
    static std::string StatusList(int kind);

protected:
    bool m_hasTemple = false;
};

// A witness link of an individual: up to two individual numbers (0 = none).
struct WWitnessLink {
    int32_t first = 0;
    int32_t second = 0;
};

// An individual.
class WABSIndividual : public WABSCollectionItem {
public:
    explicit WABSIndividual(int32_t number) : WABSCollectionItem(number) {}
    ~WABSIndividual() override = default;

    // Forgets everything cached about the current record.
    virtual void ClearCache() {}
    // Releases what Load acquired; a subclass calls it from its own destructor (a base
    // destructor cannot reach the subclass's override).
    virtual void Unload() {}
    // Binds the object to individual n.
    virtual void Load(int32_t n) = 0;
    // The record's cross-reference identifier.
    virtual std::string IdText() = 0;
    virtual std::string RefNumberText() = 0;
    virtual std::string AfnText() = 0;
    // 'M', 'F' or 'U'.
    virtual char Sex() = 0;
    // Dates owned by the individual, or null.
    virtual const WDate* CreationDate() = 0;
    virtual const WDate* ChangeDate() = 0;
    // New name, or null.
    virtual std::unique_ptr<WABSName> Name() = 0;
    // 0 or 1 for kinds 1 to 4, the number of other events for kind 6, 0 otherwise.
    virtual int32_t EventCount(int kind) = 0;
    // New event, or null; i counts from 1 for kind 6 and is 1 otherwise.
    virtual std::unique_ptr<WABSEvent> Event(int kind, int32_t i) = 0;
    // New LDS ordinance of kind 7, 8 or 9, or null.
    virtual std::unique_ptr<WABSLDSEvent> LDSEvent(int kind) = 0;
    virtual int32_t ParentFamilyCount() = 0;
    // Family number of parent family i (1-based), 0 when out of range.
    virtual int32_t ParentFamily(int32_t i) = 0;
    // Parent family i with the link codes of father and mother.
    virtual bool ParentFamilyLink(int32_t i, int32_t& family, int& fatherCode, int& motherCode) = 0;
    virtual int32_t SpouseFamilyCount() = 0;
    // Family number of spouse family i (1-based), 0 when out of range.
    virtual int32_t SpouseFamily(int32_t i) = 0;
    // Number of witness links; the base has none.
    virtual int32_t WitnessCount() { return m_witnessCount; }
    // Witness link j (1-based); false when there is none.
    virtual bool Witness(int32_t j, WWitnessLink& link) {
        (void)j;
        (void)link;
        return false;
    }
    // Birth date set, no set death date, and an Age of 0 or more below the limit.
    virtual bool IsLiving(int ageLimit);
    virtual bool HasNoParents() = 0;
    virtual bool HasNoSpouses() = 0;
    virtual int32_t CitationCount() = 0;
    // Citation i (1-based): new object or null.
    virtual std::unique_ptr<WABSCitation> Citation(int32_t i) = 0;
    virtual std::unique_ptr<WABSNote> Note() = 0;
    // The whole record as text.
    virtual std::string RecordText() = 0;

    // The full name with prefix and suffix, plus the identifier marker (FNValueFlag/FNValue).
    std::string DisplayName();
    // The full name under the name settings.
    std::string FullName(bool withPrefixSuffix);
    std::string GivenNames();
    std::string SurnameText();
    // Display name, birth and death dates and places.
    std::string SummaryText();
    // Age in whole years, -1 when it cannot be computed. Under AgeCalcCB the christening
    // stands in for an absent or empty birth date and the burial for the death date; without
    // an end date the age runs to today.
    int Age();
    // The date difference behind the age; null when it cannot be computed. substitute is set
    // when a christening or burial date stood in; suffix is "?" when today stood in.
    std::unique_ptr<WDateDiff> AgeDiff(bool& substitute, std::string& suffix);
    // "52", "~52", "52?", "[~52]"; empty without age or above 110.
    std::string AgeText();
    std::string CitationsText();
    std::string NoteText();
    // Per event (kind, i): texts from the event, empty/0/false without it. DatePlaceText is
    // the date, ", " and the place (the separator always written when the event exists).
    std::string DateText(int kind, int32_t i = 1);
    std::string PlaceText(int kind, int32_t i = 1);
    std::string DatePlaceText(int kind, int32_t i = 1);
    bool HasDate(int kind, int32_t i = 1);
    int EventYear(int kind, int32_t i = 1);
    std::string EventQualifierLetter(int kind, int32_t i = 1);
    // Per LDS ordinance kind (7, 8, 9).
    bool HasLDSEvent(int kind);
    std::string LDSDateText(int kind);
    // The temple or place; "Live" when requireTemple and the ordinance names no temple.
    std::string LDSTempleText(int kind, bool requireTemple);
    bool HasSources();
    bool HasNotes();
    // The change date's text, empty when none.
    std::string ChangeDateText();

protected:
    int32_t m_witnessCount = 0;
};

// A family (marriage).
class WABSMarriage : public WABSCollectionItem {
public:
    explicit WABSMarriage(int32_t number);
    ~WABSMarriage() override;

    // Creates the marriage date when the record has one.
    virtual void LoadDate() = 0;
    // Makes the sort date available; the base shares the date object.
    virtual void LoadSortDate();
    virtual int32_t Husband() = 0;
    virtual int32_t Wife() = 0;
    // Child i (1-based), 0 when out of range.
    virtual int32_t Child(int32_t i) = 0;
    // 0, 1 or 2.
    virtual int32_t SpouseCount() = 0;
    // Puts the children into their display (birth) order.
    virtual void OrderChildren() {}
    // Reserved; false throughout the system.
    virtual bool Reserved() { return false; }
    virtual bool HasSealing() = 0;
    // New LDS sealing to spouse (kind 10), or null.
    virtual std::unique_ptr<WABSLDSEvent> Sealing() = 0;
    virtual std::string MarriagePlaceText() = 0;
    virtual std::string IdText() = 0;
    virtual int32_t CitationCount() { return m_citationCount; }
    // Citation i (1-based): new object or null.
    virtual std::unique_ptr<WABSCitation> Citation(int32_t i) = 0;
    virtual std::unique_ptr<WABSNote> Note() = 0;

    int32_t ChildCount() const { return m_childCount; }
    // The wife when n is the husband, else the husband.
    int32_t OtherSpouse(int32_t n);
    // The marriage date (owned by the marriage), or null.
    const WDate* Date();
    const WDate* SortDate();
    std::string DateText();
    std::string SortDateText();
    // Date text, then ", " and the place when there is a place.
    std::string DatePlaceText();
    std::string CitationsText();
    std::string NoteText();

protected:
    int32_t m_childCount = 0;
    std::unique_ptr<WDate> m_date;
    bool m_sortDateShared = false;
    std::unique_ptr<WDate> m_sortDate;  // used only when not shared with m_date
    int32_t m_citationCount = 0;
};

// An address: ADDR, ADR1, ADR2, CITY, STAE, POST, CTRY, PHON.
class WABSAddress {
public:
    enum Line { kAddr = 0, kAdr1, kAdr2, kCity, kState, kPost, kCountry, kPhone, kLineCount };
    virtual ~WABSAddress() = default;
    // Address line by index (Line).
    virtual std::string AddressLine(int line) = 0;
};

// A repository.
class WABSRepo {
public:
    virtual ~WABSRepo() = default;
    virtual std::string RepoName() = 0;
    // New address, or null.
    virtual std::unique_ptr<WABSAddress> Address() = 0;
    virtual std::unique_ptr<WABSNote> Note() = 0;
    // The whole repository record as text; empty in the base.
    virtual std::string RecordText() { return {}; }
};

// The submitter of the file.
class WABSSubmitter {
public:
    enum Field {
        kName = 0,
        kAddress1,
        kAddress2,
        kAddress3,
        kCountry,
        kPhone,
        kEmail,
        kRecordText,
        kFieldCount
    };
    virtual ~WABSSubmitter() = default;
    // A submitter field by index (Field).
    virtual std::string SubmitterField(int field) = 0;
};

}  // namespace kindrel
