// The format-independent genealogy collection that every consumer talks to. A storage class
// (the GEDCOM collection) supplies counts, record objects and identifier lookups; navigation,
// counts over families, summaries, relation words and the cached tree measures live here.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

class WIntArray;
class WBoolArray;
class WFloatArray;

// One labelled row of header information; the third text is always empty.
struct HeaderInfoRow {
    std::string label;
    std::string value;
    std::string third;
};

// Collection kinds (file kinds).
enum CollectionKind : int { kKindNone = 0, kKindGedcom = 1, kKindPaf = 2, kKindFtw = 4, kKindTmg = 5 };

// Character-set codes of a loaded collection.
enum CharSetCode : int { kCharSetOther = 0, kCharSetAnsel = 1, kCharSetUtf8 = 2 };

// A restriction of the individual view to a subset of the individuals (an island). The
// analysis layer installs one with WABSCollection::SetViewRestriction; the view operations
// then answer through it.
class WViewRestriction {
public:
    virtual ~WViewRestriction() = default;
    // Number of individuals in the view.
    virtual int32_t Count() = 0;
    // The individual at view position i (1-based), 0 when i is out of range.
    virtual int32_t ToIndividual(int32_t i) = 0;
    // The view position of an individual, 0 when it is not in the view.
    virtual int32_t ToView(int32_t individual) = 0;
};

// State that a higher layer keeps for one collection (the analysis layer's island tables).
// The collection owns it and destroys it before anything else of its own; an attachment must
// not call the collection from its destructor.
class WCollectionAttachment {
public:
    virtual ~WCollectionAttachment() = default;
};

class WABSCollection {
public:
    WABSCollection();
    virtual ~WABSCollection();
    WABSCollection(const WABSCollection&) = delete;
    WABSCollection& operator=(const WABSCollection&) = delete;

    // --- Storage operations (in the design's slot order) ---
    // Flushes the underlying store.
    virtual void FlushStore() {}
    virtual std::string FileSizeText() = 0;
    virtual std::string FileDateText() = 0;
    // Runs after a successful load (the GEDCOM collection orders spouse families).
    virtual void AfterLoad() {}
    // New record objects owned by the caller, or null for 0 / a missing record.
    virtual std::unique_ptr<WABSIndividual> GetIndividual(int32_t n) = 0;
    virtual std::unique_ptr<WABSMarriage> GetMarriage(int32_t n) = 0;
    virtual std::unique_ptr<WABSSubmitter> GetSubmitter() = 0;
    virtual std::unique_ptr<WABSNote> GetNote(int32_t n) = 0;
    virtual std::unique_ptr<WABSSource> GetSource(int32_t n) = 0;
    virtual std::unique_ptr<WABSRepo> GetRepo(int32_t n) = 0;
    virtual int32_t IndividualCount() = 0;
    virtual int32_t FamilyCount() = 0;
    virtual int32_t NoteCount() = 0;
    virtual int32_t SourceCount() = 0;
    // The labelled header rows (at most 100).
    virtual std::vector<HeaderInfoRow> GetHeaderInfo() = 0;
    // The raw header record text.
    virtual std::string GetHeaderText() = 0;
    virtual std::string InfoText() = 0;
    // Reserved; answer their argument.
    virtual int32_t Reserved1(int32_t n) { return n; }
    virtual int32_t Reserved2(int32_t n) { return n; }
    // Indexes and links the file; false when cancelled.
    virtual bool LoadFile() = 0;
    // Record numbers for a cross-reference identifier (without @), 0 when not found.
    virtual int32_t FindIndividual(std::string_view id) { (void)id; return 0; }
    virtual int32_t FindFamily(std::string_view id) { (void)id; return 0; }
    virtual int32_t FindNote(std::string_view id) { (void)id; return 0; }
    virtual int32_t FindSource(std::string_view id) { (void)id; return 0; }
    virtual int32_t FindRepo(std::string_view id) { (void)id; return 0; }

    // --- Navigation and counts (0 / false / empty for 0 or a missing individual) ---
    int32_t Father(int32_t n);
    int32_t Mother(int32_t n);
    // The first spouse family of a that is also a spouse family of b.
    int32_t MarriageBetween(int32_t a, int32_t b);
    // The spouse of n in spouse family i.
    int32_t SpouseIn(int32_t n, int32_t i);
    bool HasChildren(int32_t n);
    int32_t TotalChildren(int32_t n);
    int32_t SonCount(int32_t n);
    int32_t DaughterCount(int32_t n);
    int32_t ParentCount(int32_t n);
    // Spouse family i has a sealing; any family when i is out of range.
    bool HasSpouseSealing(int32_t n, int32_t i);
    std::unique_ptr<WABSLDSEvent> FamilyLDSEvent(int32_t n, int32_t i);
    std::string SealingDateText(int32_t n, int32_t i);
    std::string SealingTempleText(int32_t n, int32_t i, bool requireTemple);
    std::string FullNameOf(int32_t n);
    std::string DisplayNameOf(int32_t n);
    // Display name, ", " and the birth date and place.
    std::string NameBirthText(int32_t n);
    // Father (kind 1), else mother (2), else the spouse in spouse family i (3); kind 0 if none.
    int32_t ParentOrSpouse(int32_t n, int& kind, int32_t i);
    // Spouse (3), else father (1), else mother (2).
    int32_t SpouseOrParent(int32_t n, int& kind, int32_t i);
    bool HasFamilyLinks(int32_t n);
    bool HasAnySources(int32_t n);
    bool HasFamilySources(int32_t n);
    bool HasAnyNotes(int32_t n);
    bool HasFamilyNotes(int32_t n);

    // --- Cached tree measures ---
    int32_t AncestorTotal(int32_t n);
    int32_t DescendantTotal(int32_t n);
    // True when AncestorTotal (up) or DescendantTotal of n answers without a walk (known
    // already, or n outside the collection).
    bool TreeTotalKnown(int32_t n, bool up);
    int32_t AncestorGenerations(int32_t n);
    int32_t DescendantGenerations(int32_t n);
    double AverageAncestorGenerations(int32_t n);
    double AverageDescendantGenerations(int32_t n);

    // The multi-line summary of an individual (scroll-bar hint, find dialogs).
    std::string SummaryBlock(int32_t n);

    // Relation word of a link code 0..36; empty above 36.
    static std::string RelationText(int code);
    // The child's link code for a parent's link code and the child's sex letter.
    static int ChildRelationCode(int parentCode, char sex);

    int Kind() const { return m_kind; }
    int CharSetCode() const { return m_charSetCode; }
    // The island calculation is running.
    bool IsBusy() const { return m_busy; }

    // Marks the island calculation as running or finished (IsBusy).
    void SetBusy(bool busy) { m_busy = busy; }

    // --- The view of individuals (restricted to one island by "Use Island") ---
    // Without a restriction: the individual count and the identity mapping.
    virtual int32_t ViewCount();
    virtual int32_t ViewToIndividual(int32_t i);
    virtual int32_t IndividualToView(int32_t individual);
    // Installs the restriction behind the view operations; null removes it.
    void SetViewRestriction(std::unique_ptr<WViewRestriction> restriction);
    // The installed restriction, or null.
    WViewRestriction* ViewRestriction() const { return m_viewRestriction.get(); }

    // The island tables attached by the analysis layer (WIslands::Of), or null.
    WCollectionAttachment* IslandTables() const { return m_islandTables.get(); }
    // Attaches the island tables (replacing any earlier ones); the collection owns them.
    void SetIslandTables(std::unique_ptr<WCollectionAttachment> tables);

protected:
    // Appends the parents (up) or children of x in visiting order; false when x cannot be
    // obtained or has no parent (up) or spouse families. The tree measures walk through this;
    // a storage that keeps its family links in tables answers from them without reading
    // records.
    virtual bool Neighbours(int32_t x, bool up, std::vector<int32_t>& out);

    bool m_busy = false;
    int m_kind = kKindNone;
    int m_charSetCode = kCharSetAnsel;

private:
    struct MeasureCaches;
    // The measure caches, created (or recreated when the individual count grew) on demand.
    MeasureCaches& Measures();
    int32_t TreeTotal(int32_t n, bool up);
    int32_t TreeGenerations(int32_t n, bool up);
    double TreeAverage(int32_t n, bool up);
    // One line of a person in the families block of SummaryBlock.
    std::string PersonLine(int32_t c, bool fullForm);

    std::unique_ptr<MeasureCaches> m_measures;
    std::unique_ptr<WViewRestriction> m_viewRestriction;
    // Declared last so it is destroyed first, while the restriction still exists.
    std::unique_ptr<WCollectionAttachment> m_islandTables;
};

}  // namespace kindrel
