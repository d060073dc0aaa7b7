// An in-memory collection for tests: people, families, events, notes, citations and sources
// held in plain structs, handed out through the abstract record interfaces. Build a tree with
// AddPerson / AddFamily and the event helpers, then ask the collection as any consumer would.
//
//   FakeCollection tree;
//   const int32_t john = tree.AddPerson("John", "SMITH", 'M');
//   tree.SetBirth(john, "12 JAN 1900", "Boston");
//   const int32_t mary = tree.AddPerson("Mary", "JONES", 'F');
//   const int32_t ann = tree.AddPerson("Ann", "SMITH", 'F');
//   tree.AddFamily(john, mary, {ann}, "1 JUN 1925", "Salem");
//
// Record objects point into the collection's storage: build first, then read (adding people
// or families may move the storage).
#pragma once

#include "model/collection.h"
#include "model/date.h"
#include "model/records.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace kindrel::fake {

using NoteLines = std::vector<std::string>;

// A source record (or a source written inline in a citation).
struct FakeSource {
    std::string author;
    std::string title;
    std::string publication;
    std::string callNumber;
    std::string abbreviation;
    std::optional<NoteLines> note;
    std::optional<NoteLines> text;
    int32_t repository = 0;
    std::string recordText;
};

// A citation: the page, an optional note and an optional source.
struct FakeCitation {
    std::string page;
    std::optional<NoteLines> note;
    std::optional<FakeSource> source;
};

// An event or LDS ordinance. A date of std::nullopt means the record has no date at all.
struct FakeEvent {
    int kind = kEventOther;
    std::string name;  // EventName, such as "Baptism"
    std::string type;  // the TYPE value
    std::optional<std::string> date;
    std::optional<std::string> place;
    std::vector<FakeCitation> citations;
    std::optional<NoteLines> note;
    bool hasTemple = false;  // LDS ordinances only
};

// A personal name.
struct FakeName {
    std::string given;
    std::string surname;
    std::string prefix;
    std::string suffix;
    std::vector<FakeCitation> citations;
    std::optional<NoteLines> note;
};

// An individual. Events of kinds 1 to 5 and 7 to 9 are found by kind (the first one of the
// kind); events of kind 6 are numbered in the order they were added.
struct FakePerson {
    std::string id;
    std::string refn;
    std::string afn;
    char sex = 'U';
    std::optional<FakeName> name;
    std::vector<FakeEvent> events;
    std::vector<int32_t> parentFamilies;
    std::vector<std::pair<int, int>> parentLinkCodes;  // (father, mother) per parent family
    std::vector<int32_t> spouseFamilies;
    std::vector<FakeCitation> citations;
    std::optional<NoteLines> note;
    std::optional<std::string> changeDate;
    std::string recordText;
};

// A family.
struct FakeFamily {
    std::string id;
    int32_t husband = 0;
    int32_t wife = 0;
    std::vector<int32_t> children;
    std::optional<std::string> date;
    std::string place;
    std::vector<FakeCitation> citations;
    std::optional<NoteLines> note;
    std::optional<FakeEvent> sealing;
};

// A new note holding lines, or null without lines.
inline std::unique_ptr<WABSNote> MakeNote(const std::optional<NoteLines>& lines) {
    if (!lines) return nullptr;
    auto note = std::make_unique<WABSNote>();
    for (const std::string& line : *lines) note->AddLine(line);
    return note;
}

class FakeSourceRecord : public WABSSource {
public:
    explicit FakeSourceRecord(const FakeSource& data) : m_data(data) {}
    int32_t RepositoryNumber() override { return m_data.repository; }
    std::string AuthorText() override { return m_data.author; }
    std::string TitleText() override { return m_data.title; }
    std::string PublicationText() override { return m_data.publication; }
    std::string CallNumberText() override { return m_data.callNumber; }
    std::string AbbreviationText() override { return m_data.abbreviation; }
    std::unique_ptr<WABSNote> Note() override { return MakeNote(m_data.note); }
    std::unique_ptr<WABSNote> SourceText() override { return MakeNote(m_data.text); }
    std::string RecordText() override { return m_data.recordText; }
    bool HasNoteFlag() override { return m_data.note.has_value(); }
    bool HasSourceText() override { return m_data.text.has_value(); }
    bool HasRepository() override { return m_data.repository != 0; }

private:
    const FakeSource& m_data;
};

class FakeCitationRecord : public WABSCitation {
public:
    explicit FakeCitationRecord(const FakeCitation& data) : m_data(data) {}
    std::string PageText() override { return m_data.page; }
    std::unique_ptr<WABSNote> Note() override { return MakeNote(m_data.note); }
    std::unique_ptr<WABSSource> Source() override {
        if (!m_data.source) return nullptr;
        return std::make_unique<FakeSourceRecord>(*m_data.source);
    }

private:
    const FakeCitation& m_data;
};

// Citation i (1-based) of a list, or null.
inline std::unique_ptr<WABSCitation> CitationAt(const std::vector<FakeCitation>& list, int32_t i) {
    if (i < 1 || i > static_cast<int32_t>(list.size())) return nullptr;
    return std::make_unique<FakeCitationRecord>(list[static_cast<size_t>(i - 1)]);
}

class FakePlaceRecord : public WABSPlace {
public:
    explicit FakePlaceRecord(std::string name) : m_name(std::move(name)) {}
    std::string PlaceName() override { return m_name; }
    std::unique_ptr<WABSCitation> Citation(int32_t) override { return nullptr; }
    std::unique_ptr<WABSNote> Note() override { return nullptr; }

private:
    std::string m_name;
};

class FakeNameRecord : public WABSName {
public:
    explicit FakeNameRecord(const FakeName& data) : m_data(data) {
        m_citationCount = static_cast<int32_t>(data.citations.size());
    }
    std::string Surname() override { return m_data.surname; }
    std::string GivenNames() override { return m_data.given; }
    std::string Prefix() override { return m_data.prefix; }
    std::string Suffix() override { return m_data.suffix; }
    std::unique_ptr<WABSCitation> Citation(int32_t i) override {
        return CitationAt(m_data.citations, i);
    }
    std::unique_ptr<WABSNote> Note() override { return MakeNote(m_data.note); }

private:
    const FakeName& m_data;
};

// An event record over FakeEvent; Base is WABSVitEvent or WABSLDSEvent.
template <typename Base>
class FakeEventRecord : public Base {
public:
    explicit FakeEventRecord(const FakeEvent& data) : m_data(data) {
        this->m_citationCount = static_cast<int32_t>(data.citations.size());
        this->m_typeText = data.type;
        this->m_kind = data.kind;
        this->m_eventName = data.name;
        if constexpr (std::is_same_v<Base, WABSLDSEvent>) this->m_hasTemple = data.hasTemple;
    }
    void LoadDate() override {
        if (!this->m_date && m_data.date) this->m_date = std::make_unique<WDate>(*m_data.date);
    }
    std::unique_ptr<WABSPlace> Place() override {
        if (!m_data.place) return nullptr;
        return std::make_unique<FakePlaceRecord>(*m_data.place);
    }
    std::unique_ptr<WABSCitation> Citation(int32_t i) override {
        return CitationAt(m_data.citations, i);
    }
    bool HasNote() override { return m_data.note.has_value(); }
    std::unique_ptr<WABSNote> Note() override { return MakeNote(m_data.note); }

private:
    const FakeEvent& m_data;
};

using FakeVitEventRecord = FakeEventRecord<WABSVitEvent>;
using FakeLDSEventRecord = FakeEventRecord<WABSLDSEvent>;

class FakeIndividual : public WABSIndividual {
public:
    // Reads person, which lives in the collection.
    FakeIndividual(int32_t n, const FakePerson& person) : WABSIndividual(n), m_data(&person) {}
    // Reads and owns a person made for this object (generated collections).
    FakeIndividual(int32_t n, std::unique_ptr<FakePerson> owned)
        : WABSIndividual(n), m_owned(std::move(owned)), m_data(m_owned.get()) {}

    void Load(int32_t n) override { m_number = n; }
    std::string IdText() override { return m_data->id; }
    std::string RefNumberText() override { return m_data->refn; }
    std::string AfnText() override { return m_data->afn; }
    char Sex() override { return m_data->sex; }
    const WDate* CreationDate() override { return nullptr; }
    const WDate* ChangeDate() override {
        if (!m_changeDate && m_data->changeDate) {
            m_changeDate = std::make_unique<WDate>(*m_data->changeDate);
        }
        return m_changeDate.get();
    }
    std::unique_ptr<WABSName> Name() override {
        if (!m_data->name) return nullptr;
        return std::make_unique<FakeNameRecord>(*m_data->name);
    }
    int32_t EventCount(int kind) override {
        int32_t count = 0;
        for (const FakeEvent& event : m_data->events) {
            if (event.kind == kind) ++count;
        }
        if (kind >= kEventBirth && kind <= kEventBurial) return std::min<int32_t>(count, 1);
        return kind == kEventOther ? count : 0;
    }
    std::unique_ptr<WABSEvent> Event(int kind, int32_t i) override {
        const FakeEvent* event = Find(kind, kind == kEventOther ? i : 1);
        if (!event) return nullptr;
        if (kind >= kEventLdsBaptism) return std::make_unique<FakeLDSEventRecord>(*event);
        return std::make_unique<FakeVitEventRecord>(*event);
    }
    std::unique_ptr<WABSLDSEvent> LDSEvent(int kind) override {
        if (kind < kEventLdsBaptism || kind > kEventLdsSealingToParents) return nullptr;
        const FakeEvent* event = Find(kind, 1);
        return event ? std::make_unique<FakeLDSEventRecord>(*event) : nullptr;
    }
    int32_t ParentFamilyCount() override {
        return static_cast<int32_t>(m_data->parentFamilies.size());
    }
    int32_t ParentFamily(int32_t i) override { return At(m_data->parentFamilies, i); }
    bool ParentFamilyLink(int32_t i, int32_t& family, int& fatherCode, int& motherCode) override {
        family = ParentFamily(i);
        if (family == 0) return false;
        fatherCode = 1;
        motherCode = 7;
        if (i <= static_cast<int32_t>(m_data->parentLinkCodes.size())) {
            fatherCode = m_data->parentLinkCodes[static_cast<size_t>(i - 1)].first;
            motherCode = m_data->parentLinkCodes[static_cast<size_t>(i - 1)].second;
        }
        return true;
    }
    int32_t SpouseFamilyCount() override {
        return static_cast<int32_t>(m_data->spouseFamilies.size());
    }
    int32_t SpouseFamily(int32_t i) override { return At(m_data->spouseFamilies, i); }
    bool HasNoParents() override { return m_data->parentFamilies.empty(); }
    bool HasNoSpouses() override { return m_data->spouseFamilies.empty(); }
    int32_t CitationCount() override { return static_cast<int32_t>(m_data->citations.size()); }
    std::unique_ptr<WABSCitation> Citation(int32_t i) override {
        return CitationAt(m_data->citations, i);
    }
    std::unique_ptr<WABSNote> Note() override { return MakeNote(m_data->note); }
    std::string RecordText() override { return m_data->recordText; }

private:
    static int32_t At(const std::vector<int32_t>& list, int32_t i) {
        if (i < 1 || i > static_cast<int32_t>(list.size())) return 0;
        return list[static_cast<size_t>(i - 1)];
    }
    // The i-th event of a kind (1-based), or null.
    const FakeEvent* Find(int kind, int32_t i) const {
        int32_t seen = 0;
        for (const FakeEvent& event : m_data->events) {
            if (event.kind == kind && ++seen == i) return &event;
        }
        return nullptr;
    }

    std::unique_ptr<FakePerson> m_owned;
    const FakePerson* m_data;
    std::unique_ptr<WDate> m_changeDate;
};

class FakeMarriage : public WABSMarriage {
public:
    // Reads family, which lives in the collection; orderCalls (may be null) counts the
    // OrderChildren calls.
    FakeMarriage(int32_t n, const FakeFamily& family, int* orderCalls)
        : WABSMarriage(n), m_data(&family), m_orderCalls(orderCalls) {
        m_childCount = static_cast<int32_t>(family.children.size());
        m_citationCount = static_cast<int32_t>(family.citations.size());
    }
    // Reads and owns a family made for this object (generated collections).
    FakeMarriage(int32_t n, std::unique_ptr<FakeFamily> owned) : FakeMarriage(n, *owned, nullptr) {
        m_owned = std::move(owned);
    }

    void LoadDate() override {
        if (!m_date && m_data->date) m_date = std::make_unique<WDate>(*m_data->date);
    }
    int32_t Husband() override { return m_data->husband; }
    int32_t Wife() override { return m_data->wife; }
    int32_t Child(int32_t i) override {
        if (i < 1 || i > static_cast<int32_t>(m_data->children.size())) return 0;
        return m_data->children[static_cast<size_t>(i - 1)];
    }
    int32_t SpouseCount() override { return (m_data->husband != 0) + (m_data->wife != 0); }
    void OrderChildren() override {
        if (m_orderCalls) ++*m_orderCalls;
    }
    bool HasSealing() override { return m_data->sealing.has_value(); }
    std::unique_ptr<WABSLDSEvent> Sealing() override {
        if (!m_data->sealing) return nullptr;
        return std::make_unique<FakeLDSEventRecord>(*m_data->sealing);
    }
    std::string MarriagePlaceText() override { return m_data->place; }
    std::string IdText() override { return m_data->id; }
    std::unique_ptr<WABSCitation> Citation(int32_t i) override {
        return CitationAt(m_data->citations, i);
    }
    std::unique_ptr<WABSNote> Note() override { return MakeNote(m_data->note); }

private:
    std::unique_ptr<FakeFamily> m_owned;
    const FakeFamily* m_data;
    int* m_orderCalls;
};

// The collection. People get the identifiers "I1", "I2", ...; families "F1", "F2", ...
class FakeCollection : public WABSCollection {
public:
    FakeCollection() { m_kind = kKindGedcom; }

    // --- Building ---

    // Adds a person with a name (given names, surname) and sex; answers its number.
    int32_t AddPerson(const std::string& given, const std::string& surname, char sex = 'U') {
        FakePerson person;
        person.name = FakeName{given, surname, {}, {}, {}, {}};
        person.sex = sex;
        return AddPerson(std::move(person));
    }
    // Adds a prepared person (an empty id becomes "I<n>"); answers its number.
    int32_t AddPerson(FakePerson person) {
        m_people.push_back(std::move(person));
        const auto n = static_cast<int32_t>(m_people.size());
        if (m_people.back().id.empty()) m_people.back().id = "I" + std::to_string(n);
        return n;
    }
    // Adds a person without a name record.
    int32_t AddUnnamedPerson(char sex = 'U') {
        FakePerson person;
        person.sex = sex;
        return AddPerson(std::move(person));
    }
    // The stored person n (1-based) for direct changes.
    FakePerson& Person(int32_t n) { return m_people.at(static_cast<size_t>(n - 1)); }
    // The stored family f (1-based) for direct changes.
    FakeFamily& Family(int32_t f) { return m_families.at(static_cast<size_t>(f - 1)); }

    // Sets (replaces) the event of a kind other than 6; date and place std::nullopt mean none.
    FakeEvent& SetEvent(int32_t n, int kind, std::optional<std::string> date,
                        std::optional<std::string> place = std::nullopt) {
        std::vector<FakeEvent>& events = Person(n).events;
        auto it = std::find_if(events.begin(), events.end(),
                               [kind](const FakeEvent& e) { return e.kind == kind; });
        if (it == events.end()) {
            events.push_back(FakeEvent{});
            it = events.end() - 1;
        }
        *it = FakeEvent{};
        it->kind = kind;
        it->date = std::move(date);
        it->place = std::move(place);
        return *it;
    }
    FakeEvent& SetBirth(int32_t n, std::optional<std::string> date,
                        std::optional<std::string> place = std::nullopt) {
        return SetEvent(n, kEventBirth, std::move(date), std::move(place));
    }
    FakeEvent& SetDeath(int32_t n, std::optional<std::string> date,
                        std::optional<std::string> place = std::nullopt) {
        return SetEvent(n, kEventDeath, std::move(date), std::move(place));
    }
    FakeEvent& SetChristening(int32_t n, std::optional<std::string> date,
                              std::optional<std::string> place = std::nullopt) {
        return SetEvent(n, kEventChristening, std::move(date), std::move(place));
    }
    FakeEvent& SetBurial(int32_t n, std::optional<std::string> date,
                         std::optional<std::string> place = std::nullopt) {
        return SetEvent(n, kEventBurial, std::move(date), std::move(place));
    }
    // Appends an event of kind 6 with its name.
    FakeEvent& AddOtherEvent(int32_t n, const std::string& name, std::optional<std::string> date,
                             std::optional<std::string> place = std::nullopt) {
        FakeEvent event;
        event.kind = kEventOther;
        event.name = name;
        event.date = std::move(date);
        event.place = std::move(place);
        Person(n).events.push_back(std::move(event));
        return Person(n).events.back();
    }
    // Sets an LDS ordinance (kind 7, 8 or 9).
    FakeEvent& SetLDSEvent(int32_t n, int kind, std::optional<std::string> date,
                           std::optional<std::string> temple, bool hasTemple) {
        FakeEvent& event = SetEvent(n, kind, std::move(date), std::move(temple));
        event.hasTemple = hasTemple;
        return event;
    }
    // Gives the person a note.
    void SetNote(int32_t n, NoteLines lines) { Person(n).note = std::move(lines); }
    // Adds a citation to the person.
    FakeCitation& AddCitation(int32_t n, const std::string& page) {
        Person(n).citations.push_back(FakeCitation{page, {}, {}});
        return Person(n).citations.back();
    }

    // Adds a family (0 for a missing spouse) and links its members; answers its number.
    int32_t AddFamily(int32_t husband, int32_t wife, const std::vector<int32_t>& children = {},
                      std::optional<std::string> date = std::nullopt,
                      const std::string& place = {}) {
        FakeFamily family;
        family.husband = husband;
        family.wife = wife;
        family.date = std::move(date);
        family.place = place;
        m_families.push_back(std::move(family));
        const auto f = static_cast<int32_t>(m_families.size());
        m_families.back().id = "F" + std::to_string(f);
        if (husband > 0) Person(husband).spouseFamilies.push_back(f);
        if (wife > 0 && wife != husband) Person(wife).spouseFamilies.push_back(f);
        for (const int32_t child : children) AddChild(f, child);
        return f;
    }
    // Adds a child to family f and the family to the child's parent families.
    void AddChild(int32_t f, int32_t child) {
        Family(f).children.push_back(child);
        if (child > 0) Person(child).parentFamilies.push_back(f);
    }

    // --- Observation ---

    // How many record objects were handed out, and how often OrderChildren ran.
    int64_t individualRequests = 0;
    int64_t marriageRequests = 0;
    int orderChildrenCalls = 0;

    // --- WABSCollection ---

    std::string FileSizeText() override { return "0"; }
    std::string FileDateText() override { return {}; }
    std::unique_ptr<WABSIndividual> GetIndividual(int32_t n) override {
        ++individualRequests;
        if (n < 1 || n > static_cast<int32_t>(m_people.size())) return nullptr;
        return std::make_unique<FakeIndividual>(n, m_people[static_cast<size_t>(n - 1)]);
    }
    std::unique_ptr<WABSMarriage> GetMarriage(int32_t f) override {
        ++marriageRequests;
        if (f < 1 || f > static_cast<int32_t>(m_families.size())) return nullptr;
        return std::make_unique<FakeMarriage>(f, m_families[static_cast<size_t>(f - 1)],
                                              &orderChildrenCalls);
    }
    std::unique_ptr<WABSSubmitter> GetSubmitter() override { return nullptr; }
    std::unique_ptr<WABSNote> GetNote(int32_t) override { return nullptr; }
    std::unique_ptr<WABSSource> GetSource(int32_t) override { return nullptr; }
    std::unique_ptr<WABSRepo> GetRepo(int32_t) override { return nullptr; }
    int32_t IndividualCount() override { return static_cast<int32_t>(m_people.size()); }
    int32_t FamilyCount() override { return static_cast<int32_t>(m_families.size()); }
    int32_t NoteCount() override { return 0; }
    int32_t SourceCount() override { return 0; }
    std::vector<HeaderInfoRow> GetHeaderInfo() override { return {}; }
    std::string GetHeaderText() override { return {}; }
    std::string InfoText() override { return {}; }
    bool LoadFile() override { return true; }
    int32_t FindIndividual(std::string_view id) override {
        for (size_t i = 0; i < m_people.size(); ++i) {
            if (m_people[i].id == id) return static_cast<int32_t>(i + 1);
        }
        return 0;
    }
    int32_t FindFamily(std::string_view id) override {
        for (size_t i = 0; i < m_families.size(); ++i) {
            if (m_families[i].id == id) return static_cast<int32_t>(i + 1);
        }
        return 0;
    }

private:
    std::vector<FakePerson> m_people;
    std::vector<FakeFamily> m_families;
};

}  // namespace kindrel::fake
