// Text building of the format-independent records, written once on top of the raw getters
// that the storage classes supply.
#include "model/records.h"

#include "model/date.h"
#include "model/display_options.h"
#include "model/upper_case.h"

#include <array>

namespace kindrel {

namespace {

constexpr char kLineBreak[] = "\r\n";
constexpr int kMaxShownAge = 110;

// Text of a note object, empty without one.
std::string TextOf(const std::unique_ptr<WABSNote>& note) {
    return note ? note->Text() : std::string();
}

// A source field for the one-line summary: line feeds dropped, carriage returns as spaces.
std::string OneLine(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c == '\n') continue;
        out.push_back(c == '\r' ? ' ' : c);
    }
    return out;
}

// Appends piece after ", " when text already holds something.
void AppendJoined(std::string& text, const std::string& piece) {
    if (!text.empty()) text += ", ";
    text += piece;
}

// The numbered citation list shared by individuals, marriages, events and names. Missing
// citations are skipped and the written ones are numbered 1, 2, 3 ... without gaps.
template <typename Getter>
std::string NumberedCitations(int32_t count, Getter&& citationAt) {
    std::string text;
    int written = 0;
    for (int32_t i = 1; i <= count; ++i) {
        const std::unique_ptr<WABSCitation> citation = citationAt(i);
        if (!citation) continue;
        ++written;
        if (written > 1) {
            text += kLineBreak;
            text += kLineBreak;
        }
        text += std::to_string(written);
        text += ") ";
        text += citation->FullText();
    }
    return text;
}

// True when the date exists and has a text.
bool IsSetDate(const WDate* date) {
    return date != nullptr && date->IsSet();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WABSNote

std::string WABSNote::Line(int i) const {
    if (i < 1 || i > LineCount()) return {};
    return m_lines[static_cast<size_t>(i - 1)];
}

std::string WABSNote::Text() const {
    // Each line replaces the text while it is still empty, so leading empty lines vanish.
    std::string text;
    for (const std::string& line : m_lines) {
        if (text.empty()) {
            text = line;
        } else {
            text += kLineBreak;
            text += line;
        }
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// WABSSource and WABSCitation

std::string WABSSource::SummaryText() {
    std::string text;
    const std::array<std::string, 5> fields = {AuthorText(), TitleText(), PublicationText(),
                                               CallNumberText(), AbbreviationText()};
    for (const std::string& field : fields) {
        const std::string value = OneLine(field);
        if (!value.empty()) AppendJoined(text, value);
    }
    return text;
}

std::string WABSCitation::FullText() {
    std::string text = PageText();
    if (const std::unique_ptr<WABSNote> note = Note()) AppendJoined(text, note->Text());
    if (const std::unique_ptr<WABSSource> source = Source()) {
        AppendJoined(text, source->SummaryText());
        if (const std::unique_ptr<WABSNote> sourceNote = source->Note()) {
            AppendJoined(text, sourceNote->Text());
        }
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// WABSName

std::string WABSName::SurnameText() {
    const DisplayOptions& options = Display();
    const std::string surname = options.nameUpper ? UpperCase(Surname()) : Surname();
    return options.nameSlash ? "/" + surname + "/" : surname;
}

std::string WABSName::FullName(bool withPrefixSuffix) {
    const bool preSuf = withPrefixSuffix && Display().preSuf;
    std::string text;
    if (preSuf) {
        text = Prefix();
        if (!text.empty()) text += ' ';
    }
    text += GivenNames();
    if (!text.empty()) text += ' ';
    text += SurnameText();
    if (preSuf) {
        const std::string suffix = Suffix();
        if (!suffix.empty()) {
            if (!text.empty()) text += ' ';
            text += suffix;
        }
    }
    return text;
}

std::string WABSName::CitationsText() {
    return NumberedCitations(CitationCount(), [this](int32_t i) { return Citation(i); });
}

std::string WABSName::NoteText() {
    return TextOf(Note());
}

// ---------------------------------------------------------------------------------------------
// WABSEvent

WABSEvent::WABSEvent() = default;
WABSEvent::~WABSEvent() = default;

void WABSEvent::LoadSortDate() {
    LoadDate();
    m_sortDateShared = true;
}

const WDate* WABSEvent::Date() {
    LoadDate();
    return m_date.get();
}

const WDate* WABSEvent::SortDate() {
    LoadSortDate();
    return m_sortDateShared ? m_date.get() : m_sortDate.get();
}

bool WABSEvent::HasDate() {
    return IsSetDate(Date());
}

std::string WABSEvent::DateText() {
    const WDate* date = Date();
    return date ? date->Text() : std::string();
}

std::string WABSEvent::SortDateText() {
    const WDate* date = SortDate();
    return date ? date->Text() : std::string();
}

std::string WABSEvent::PlaceText() {
    const std::unique_ptr<WABSPlace> place = Place();
    return place ? place->PlaceName() : std::string();
}

std::string WABSEvent::CitationsText() {
    return NumberedCitations(CitationCount(), [this](int32_t i) { return Citation(i); });
}

std::string WABSEvent::NoteText() {
    return TextOf(Note());
}

std::string WABSLDSEvent::StatusList(int kind) {
    static constexpr const char* kBaptismEndowment =
        "SUBMITTED;CLEARED;COMPLETED;CHILD;INFANT;QUALIFIED;PRE-1970;STILLBORN;UNCLEARED;"
        "DONTDOIT";
    static constexpr const char* kSealingToParents =
        "SUBMITTED;CLEARED;COMPLETED;BIC;DNS;QUALIFIED;PRE-1970;STILLBORN;UNCLEARED;DONTDOIT";
    static constexpr const char* kSealingToSpouse =
        "SUBMITTED;CLEARED;COMPLETED;CANCELED;DNS;DNS/CAN;QUALIFIED;PRE-1970;UNCLEARED;"
        "DONTDOIT";
    switch (kind) {
        case kEventLdsBaptism:
        case kEventLdsEndowment:
            return kBaptismEndowment;
        case kEventLdsSealingToParents:
            return kSealingToParents;
        case kEventLdsSealingToSpouse:
            return kSealingToSpouse;
        default:
            return {};
    }
}

// ---------------------------------------------------------------------------------------------
// WABSIndividual

std::string WABSIndividual::FullName(bool withPrefixSuffix) {
    const std::unique_ptr<WABSName> name = Name();
    return name ? name->FullName(withPrefixSuffix) : std::string();
}

std::string WABSIndividual::DisplayName() {
    std::string text = FullName(true);
    const DisplayOptions& options = Display();
    if (!options.fnValueFlag) return text;
    switch (options.fnValue) {
        case 2:
            text += " (" + std::to_string(Number()) + ")";
            break;
        case 3:
            text += " {" + RefNumberText() + "}";
            break;
        default:
            text += " [" + IdText() + "]";
            break;
    }
    return text;
}

std::string WABSIndividual::GivenNames() {
    const std::unique_ptr<WABSName> name = Name();
    return name ? name->GivenNames() : std::string();
}

std::string WABSIndividual::SurnameText() {
    const std::unique_ptr<WABSName> name = Name();
    return name ? name->SurnameText() : std::string();
}

std::string WABSIndividual::SummaryText() {
    std::string text = DisplayName();
    text += ", (b. ";
    text += DateText(kEventBirth);
    text += ", ";
    text += PlaceText(kEventBirth);
    text += "), (d. ";
    text += DateText(kEventDeath);
    text += ", ";
    text += PlaceText(kEventDeath);
    text += ")";
    return text;
}

std::unique_ptr<WDateDiff> WABSIndividual::AgeDiff(bool& substitute, std::string& suffix) {
    substitute = false;
    suffix.clear();
    const bool useChrBur = Display().ageCalcCB;

    // A date that is absent or has no text counts as none, so a christening or burial (and
    // finally today) can stand in for it.
    std::unique_ptr<WABSEvent> startEvent = Event(kEventBirth, 1);
    const WDate* start = startEvent ? startEvent->Date() : nullptr;
    if (!IsSetDate(start) && useChrBur) {
        std::unique_ptr<WABSEvent> christening = Event(kEventChristening, 1);
        const WDate* chrDate = christening ? christening->Date() : nullptr;
        if (IsSetDate(chrDate)) {
            startEvent = std::move(christening);
            start = chrDate;
            substitute = true;
        }
    }
    if (!IsSetDate(start)) return nullptr;

    std::unique_ptr<WABSEvent> endEvent = Event(kEventDeath, 1);
    const WDate* end = endEvent ? endEvent->Date() : nullptr;
    if (!IsSetDate(end) && useChrBur) {
        std::unique_ptr<WABSEvent> burial = Event(kEventBurial, 1);
        const WDate* burDate = burial ? burial->Date() : nullptr;
        if (IsSetDate(burDate)) {
            endEvent = std::move(burial);
            end = burDate;
            substitute = true;
        }
    }
    WDate today;
    if (!IsSetDate(end)) {
        today.SetText("TODAY");
        end = &today;
        suffix = "?";
    }

    auto diff = std::make_unique<WDateDiff>();
    if (!diff->Compute(start, end)) return nullptr;
    return diff;
}

int WABSIndividual::Age() {
    bool substitute = false;
    std::string suffix;
    const std::unique_ptr<WDateDiff> diff = AgeDiff(substitute, suffix);
    return diff ? diff->Years() : -1;
}

std::string WABSIndividual::AgeText() {
    bool substitute = false;
    std::string suffix;
    const std::unique_ptr<WDateDiff> diff = AgeDiff(substitute, suffix);
    if (!diff || diff->Years() > kMaxShownAge) return {};
    std::string text = diff->AgeText() + suffix;
    return substitute ? "[" + text + "]" : text;
}

bool WABSIndividual::IsLiving(int ageLimit) {
    if (!HasDate(kEventBirth) || HasDate(kEventDeath)) return false;
    // An age that cannot be computed (a birth date that could not be read) proves nothing.
    const int age = Age();
    return age >= 0 && age < ageLimit;
}

std::string WABSIndividual::CitationsText() {
    return NumberedCitations(CitationCount(), [this](int32_t i) { return Citation(i); });
}

std::string WABSIndividual::NoteText() {
    return TextOf(Note());
}

std::string WABSIndividual::DateText(int kind, int32_t i) {
    const std::unique_ptr<WABSEvent> event = Event(kind, i);
    return event ? event->DateText() : std::string();
}

std::string WABSIndividual::PlaceText(int kind, int32_t i) {
    const std::unique_ptr<WABSEvent> event = Event(kind, i);
    return event ? event->PlaceText() : std::string();
}

std::string WABSIndividual::DatePlaceText(int kind, int32_t i) {
    const std::unique_ptr<WABSEvent> event = Event(kind, i);
    if (!event) return {};
    return event->DateText() + ", " + event->PlaceText();
}

bool WABSIndividual::HasDate(int kind, int32_t i) {
    const std::unique_ptr<WABSEvent> event = Event(kind, i);
    return event && event->HasDate();
}

int WABSIndividual::EventYear(int kind, int32_t i) {
    const std::unique_ptr<WABSEvent> event = Event(kind, i);
    const WDate* date = event ? event->Date() : nullptr;
    return date ? date->Year() : 0;
}

std::string WABSIndividual::EventQualifierLetter(int kind, int32_t i) {
    const std::unique_ptr<WABSEvent> event = Event(kind, i);
    const WDate* date = event ? event->Date() : nullptr;
    return date ? std::string(date->QualifierLetter()) : std::string();
}

bool WABSIndividual::HasLDSEvent(int kind) {
    return LDSEvent(kind) != nullptr;
}

std::string WABSIndividual::LDSDateText(int kind) {
    const std::unique_ptr<WABSLDSEvent> ordinance = LDSEvent(kind);
    return ordinance ? ordinance->DateText() : std::string();
}

std::string WABSIndividual::LDSTempleText(int kind, bool requireTemple) {
    const std::unique_ptr<WABSLDSEvent> ordinance = LDSEvent(kind);
    if (!ordinance) return {};
    if (requireTemple && !ordinance->HasTemple()) return "Live";
    return ordinance->PlaceText();
}

namespace {

// The vital events consulted for sources and notes, in the order they are asked.
constexpr std::array<int, 4> kVitalKinds = {kEventBirth, kEventChristening, kEventDeath,
                                            kEventBurial};

}  // namespace

bool WABSIndividual::HasSources() {
    if (CitationCount() >= 1) return true;
    if (const std::unique_ptr<WABSName> name = Name(); name && name->CitationCount() >= 1) {
        return true;
    }
    for (const int kind : kVitalKinds) {
        const std::unique_ptr<WABSEvent> event = Event(kind, 1);
        if (event && event->CitationCount() >= 1) return true;
    }
    const int32_t others = EventCount(kEventOther);
    for (int32_t i = 1; i <= others; ++i) {
        const std::unique_ptr<WABSEvent> event = Event(kEventOther, i);
        if (event && event->CitationCount() >= 1) return true;
    }
    return false;
}

bool WABSIndividual::HasNotes() {
    if (!NoteText().empty()) return true;
    if (const std::unique_ptr<WABSName> name = Name(); name && name->Note()) return true;
    for (const int kind : kVitalKinds) {
        const std::unique_ptr<WABSEvent> event = Event(kind, 1);
        if (event && event->Note()) return true;
    }
    const int32_t others = EventCount(kEventOther);
    for (int32_t i = 1; i <= others; ++i) {
        const std::unique_ptr<WABSEvent> event = Event(kEventOther, i);
        if (event && event->Note()) return true;
    }
    return false;
}

std::string WABSIndividual::ChangeDateText() {
    const WDate* date = ChangeDate();
    return date ? date->Text() : std::string();
}

// ---------------------------------------------------------------------------------------------
// WABSMarriage

WABSMarriage::WABSMarriage(int32_t number) : WABSCollectionItem(number) {}
WABSMarriage::~WABSMarriage() = default;

void WABSMarriage::LoadSortDate() {
    LoadDate();
    m_sortDateShared = true;
}

int32_t WABSMarriage::OtherSpouse(int32_t n) {
    const int32_t husband = Husband();
    return n == husband ? Wife() : husband;
}

const WDate* WABSMarriage::Date() {
    LoadDate();
    return m_date.get();
}

const WDate* WABSMarriage::SortDate() {
    LoadSortDate();
    return m_sortDateShared ? m_date.get() : m_sortDate.get();
}

std::string WABSMarriage::DateText() {
    const WDate* date = Date();
    return date ? date->Text() : std::string();
}

std::string WABSMarriage::SortDateText() {
    const WDate* date = SortDate();
    return date ? date->Text() : std::string();
}

std::string WABSMarriage::DatePlaceText() {
    std::string text = DateText();
    const std::string place = MarriagePlaceText();
    if (!place.empty()) {
        text += ", ";
        text += place;
    }
    return text;
}

std::string WABSMarriage::CitationsText() {
    return NumberedCitations(CitationCount(), [this](int32_t i) { return Citation(i); });
}

std::string WABSMarriage::NoteText() {
    return TextOf(Note());
}

}  // namespace kindrel
