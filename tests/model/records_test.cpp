// Text building of the abstract records: notes, sources, citations, names, events, ages,
// individuals and marriages, read through the in-memory fake collection.
#include "model/records.h"
#include "fake_collection.h"
#include "model/date.h"
#include "model/display_options.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using fake::FakeCitation;
using fake::FakeCollection;
using fake::FakeEvent;
using fake::FakeSource;

WCalendarDay FixedToday() {
    return WCalendarDay{15, 6, 2024};
}

// Default display options and a fixed "today" (15 JUN 2024) for every test.
class RecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Display() = DisplayOptions{};
        WDate::SetTodayProvider(&FixedToday);
    }
    void TearDown() override {
        Display() = DisplayOptions{};
        WDate::SetTodayProvider(nullptr);
    }

    std::unique_ptr<WABSIndividual> Person(int32_t n) { return tree.GetIndividual(n); }

    FakeCollection tree;
};

// --- Notes ---

TEST_F(RecordsTest, NoteWithoutLinesHasEmptyText) {
    const WABSNote note;
    EXPECT_EQ(note.LineCount(), 0);
    EXPECT_EQ(note.Text(), "");
    EXPECT_EQ(note.Line(0), "");
    EXPECT_EQ(note.Line(1), "");
}

TEST_F(RecordsTest, NoteLineOutsideRangeIsEmpty) {
    WABSNote note;
    note.AddLine("first");
    note.AddLine("second");
    EXPECT_EQ(note.Line(0), "");
    EXPECT_EQ(note.Line(-5), "");
    EXPECT_EQ(note.Line(1), "first");
    EXPECT_EQ(note.Line(2), "second");
    EXPECT_EQ(note.Line(3), "");
    EXPECT_EQ(note.Lines(), (std::vector<std::string>{"first", "second"}));
}

TEST_F(RecordsTest, NoteTextJoinsWithCrLfAndDropsLeadingEmptyLines) {
    WABSNote note;
    note.AddLine("");
    note.AddLine("");
    note.AddLine("a");
    note.AddLine("");
    note.AddLine("b");
    EXPECT_EQ(note.Text(), "a\r\n\r\nb");
}

// --- Sources and citations ---

TEST_F(RecordsTest, SourceSummaryJoinsNonEmptyFieldsOnOneLine) {
    FakeSource data;
    data.author = "Smith,\r\nJohn";
    data.title = "Parish\nregister";
    data.callNumber = "C-12";
    fake::FakeSourceRecord source(data);
    EXPECT_EQ(source.SummaryText(), "Smith, John, Parishregister, C-12");
}

TEST_F(RecordsTest, SourceSummaryOfEmptySourceIsEmpty) {
    const FakeSource data;
    fake::FakeSourceRecord source(data);
    EXPECT_EQ(source.SummaryText(), "");
    EXPECT_EQ(source.DisplayNote(), nullptr);
    EXPECT_EQ(source.RecordText(), "");
}

TEST_F(RecordsTest, CitationFullTextJoinsPageNoteSourceAndSourceNote) {
    FakeCitation data;
    data.page = "p. 12";
    data.note = fake::NoteLines{"seen", "twice"};
    data.source = FakeSource{};
    data.source->title = "Register";
    data.source->note = fake::NoteLines{"kept at the archive"};
    fake::FakeCitationRecord citation(data);
    EXPECT_EQ(citation.FullText(), "p. 12, seen\r\ntwice, Register, kept at the archive");
}

TEST_F(RecordsTest, CitationFullTextWritesNoLeadingSeparator) {
    FakeCitation data;
    data.source = FakeSource{};
    data.source->title = "Register";
    fake::FakeCitationRecord citation(data);
    EXPECT_EQ(citation.FullText(), "Register");

    FakeCitation pageOnly;
    pageOnly.page = "p. 3";
    fake::FakeCitationRecord second(pageOnly);
    EXPECT_EQ(second.FullText(), "p. 3");
}

// --- Names ---

TEST_F(RecordsTest, FullNameWithPrefixSuffixAndSlashes) {
    const int32_t n = tree.AddPerson("John Henry", "Smith", 'M');
    tree.Person(n).name->prefix = "Dr";
    tree.Person(n).name->suffix = "Jr";
    EXPECT_EQ(Person(n)->FullName(true), "Dr John Henry /Smith/ Jr");
    EXPECT_EQ(Person(n)->FullName(false), "John Henry /Smith/");
    Display().preSuf = false;
    EXPECT_EQ(Person(n)->FullName(true), "John Henry /Smith/");
}

TEST_F(RecordsTest, FullNameUpperCaseAndWithoutSlashes) {
    const int32_t n = tree.AddPerson("Åse", "Ørsted", 'F');
    Display().nameUpper = true;
    EXPECT_EQ(Person(n)->FullName(true), "Åse /ØRSTED/");
    EXPECT_EQ(Person(n)->SurnameText(), "/ØRSTED/");
    Display().nameSlash = false;
    EXPECT_EQ(Person(n)->FullName(true), "Åse ØRSTED");
    EXPECT_EQ(Person(n)->GivenNames(), "Åse");
}

TEST_F(RecordsTest, FullNameWithEmptySurnameEndsWithTwoSlashes) {
    const int32_t n = tree.AddPerson("Mary", "", 'F');
    EXPECT_EQ(Person(n)->FullName(true), "Mary //");
    const int32_t bare = tree.AddPerson("", "", 'U');
    EXPECT_EQ(Person(bare)->FullName(true), "//");
}

TEST_F(RecordsTest, FullNameWithOnlyPrefixAndSuffix) {
    const int32_t n = tree.AddPerson("", "", 'M');
    tree.Person(n).name->prefix = "Sir";
    tree.Person(n).name->suffix = "III";
    Display().nameSlash = false;
    // Each step adds its space whenever something precedes, even around empty parts.
    EXPECT_EQ(Person(n)->FullName(true), "Sir   III");
}

TEST_F(RecordsTest, IndividualWithoutNameRecordHasEmptyNames) {
    const int32_t n = tree.AddUnnamedPerson();
    EXPECT_EQ(Person(n)->FullName(true), "");
    EXPECT_EQ(Person(n)->GivenNames(), "");
    EXPECT_EQ(Person(n)->SurnameText(), "");
    EXPECT_EQ(Person(n)->DisplayName(), " [I1]");
}

TEST_F(RecordsTest, DisplayNameMarkerFollowsFnValue) {
    tree.AddPerson("A", "B");
    const int32_t n = tree.AddPerson("John", "Smith", 'M');
    tree.Person(n).refn = "R-77";
    EXPECT_EQ(Person(n)->DisplayName(), "John /Smith/ [I2]");
    Display().fnValue = 2;
    EXPECT_EQ(Person(n)->DisplayName(), "John /Smith/ (2)");
    Display().fnValue = 3;
    EXPECT_EQ(Person(n)->DisplayName(), "John /Smith/ {R-77}");
    Display().fnValue = 9;
    EXPECT_EQ(Person(n)->DisplayName(), "John /Smith/ [I2]");
    Display().fnValueFlag = false;
    EXPECT_EQ(Person(n)->DisplayName(), "John /Smith/");
}

TEST_F(RecordsTest, NameCitationsAndNote) {
    const int32_t n = tree.AddPerson("John", "Smith");
    tree.Person(n).name->citations.push_back(FakeCitation{"p. 1", {}, {}});
    tree.Person(n).name->note = fake::NoteLines{"called Jack"};
    const auto name = Person(n)->Name();
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->CitationCount(), 1);
    EXPECT_EQ(name->CitationsText(), "1) p. 1");
    EXPECT_EQ(name->NoteText(), "called Jack");
}

// --- Summary ---

TEST_F(RecordsTest, SummaryTextWithoutEventsWritesEveryPiece) {
    const int32_t n = tree.AddPerson("John", "Smith", 'M');
    EXPECT_EQ(Person(n)->SummaryText(), "John /Smith/ [I1], (b. , ), (d. , )");
}

TEST_F(RecordsTest, SummaryTextWithBirthAndDeath) {
    const int32_t n = tree.AddPerson("John", "Smith", 'M');
    tree.SetBirth(n, "12 jan 1900", "Boston");
    tree.SetDeath(n, "1970", std::nullopt);
    EXPECT_EQ(Person(n)->SummaryText(), "John /Smith/ [I1], (b. 12 JAN 1900, Boston), (d. 1970, )");
}

// --- Ages ---

TEST_F(RecordsTest, AgeBetweenCompleteDatesIsExact) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetBirth(n, "1 JAN 1900");
    tree.SetDeath(n, "1 JAN 1950");
    EXPECT_EQ(Person(n)->Age(), 50);
    EXPECT_EQ(Person(n)->AgeText(), "50");
    bool substitute = true;
    std::string suffix = "x";
    const auto diff = Person(n)->AgeDiff(substitute, suffix);
    ASSERT_NE(diff, nullptr);
    EXPECT_FALSE(substitute);
    EXPECT_EQ(suffix, "");
    EXPECT_EQ(diff->Days(), -18263);
}

TEST_F(RecordsTest, AgeOfApproximateDatesIsMarked) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetBirth(n, "ABT 1900");
    tree.SetDeath(n, "1950");
    EXPECT_EQ(Person(n)->Age(), 49);
    EXPECT_EQ(Person(n)->AgeText(), "~49");
}

TEST_F(RecordsTest, AgeWithoutDeathIsComputedToTodayWithQuestionMark) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetBirth(n, "1950");
    EXPECT_EQ(Person(n)->Age(), 74);
    EXPECT_EQ(Person(n)->AgeText(), "~74?");
    bool substitute = true;
    std::string suffix;
    ASSERT_NE(Person(n)->AgeDiff(substitute, suffix), nullptr);
    EXPECT_EQ(suffix, "?");
    EXPECT_FALSE(substitute);

    const int32_t exact = tree.AddPerson("C", "D");
    tree.SetBirth(exact, "16 JUN 1950");
    EXPECT_EQ(Person(exact)->AgeText(), "74?");
}

TEST_F(RecordsTest, AgeAboveHundredTenHasNoTextAndIsNotLiving) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetBirth(n, "1900");
    EXPECT_EQ(Person(n)->Age(), 124);
    EXPECT_EQ(Person(n)->AgeText(), "");
    EXPECT_FALSE(Person(n)->IsLiving(110));
    EXPECT_TRUE(Person(n)->IsLiving(125));
}

TEST_F(RecordsTest, AgeOfExactlyHundredTenIsShown) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetBirth(n, "1 JAN 1900");
    tree.SetDeath(n, "1 JAN 2010");
    EXPECT_EQ(Person(n)->AgeText(), "110");
    tree.SetDeath(n, "1 JAN 2011");
    EXPECT_EQ(Person(n)->AgeText(), "");
    EXPECT_EQ(Person(n)->Age(), 111);
}

TEST_F(RecordsTest, ChristeningAndBurialStandInWithBrackets) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetChristening(n, "1 JAN 1900");
    tree.SetDeath(n, "1 JAN 1950");
    EXPECT_EQ(Person(n)->AgeText(), "[50]");
    bool substitute = false;
    std::string suffix;
    ASSERT_NE(Person(n)->AgeDiff(substitute, suffix), nullptr);
    EXPECT_TRUE(substitute);

    const int32_t m = tree.AddPerson("C", "D");
    tree.SetBirth(m, "ABT 1900");
    tree.SetBurial(m, "1953");
    EXPECT_EQ(Person(m)->AgeText(), "[~52]");

    const int32_t k = tree.AddPerson("E", "F");
    tree.SetChristening(k, "1950");
    EXPECT_EQ(Person(k)->AgeText(), "[~74?]");
}

TEST_F(RecordsTest, WithoutAgeCalcCbChristeningDoesNotCount) {
    Display().ageCalcCB = false;
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetChristening(n, "1 JAN 1900");
    tree.SetDeath(n, "1 JAN 1950");
    EXPECT_EQ(Person(n)->Age(), -1);
    EXPECT_EQ(Person(n)->AgeText(), "");

    const int32_t m = tree.AddPerson("C", "D");
    tree.SetBirth(m, "1 JAN 1900");
    tree.SetBurial(m, "1 JAN 1950");
    // The burial does not stand in, so the age runs to today: 124, too old to show.
    EXPECT_EQ(Person(m)->Age(), 124);
    EXPECT_EQ(Person(m)->AgeText(), "");
    tree.SetBurial(m, std::nullopt);
    tree.SetBirth(m, "1 JAN 1950");
    EXPECT_EQ(Person(m)->AgeText(), "74?");
}

TEST_F(RecordsTest, BirthDateThatIsNotCleanGivesNoAge) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetBirth(n, "ABOUT 1900");
    tree.SetDeath(n, "1950");
    EXPECT_EQ(Person(n)->Age(), -1);
    EXPECT_EQ(Person(n)->AgeText(), "");
    bool substitute = false;
    std::string suffix;
    EXPECT_EQ(Person(n)->AgeDiff(substitute, suffix), nullptr);
}

TEST_F(RecordsTest, NoBirthDateGivesNoAge) {
    const int32_t n = tree.AddPerson("A", "B");
    EXPECT_EQ(Person(n)->Age(), -1);
    tree.SetBirth(n, std::nullopt, "Boston");
    tree.SetDeath(n, "1950");
    EXPECT_EQ(Person(n)->Age(), -1);
    EXPECT_EQ(Person(n)->AgeText(), "");
}

TEST_F(RecordsTest, EmptyBirthDateLetsChristeningStandIn) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetBirth(n, "");
    tree.SetChristening(n, "1 JAN 1900");
    tree.SetDeath(n, "1 JAN 1950");
    EXPECT_EQ(Person(n)->AgeText(), "[50]");
}

TEST_F(RecordsTest, IsLivingNeedsBirthDateNoDeathDateAndAgeBelowLimit) {
    const int32_t n = tree.AddPerson("A", "B");
    EXPECT_FALSE(Person(n)->IsLiving(110));
    tree.SetBirth(n, "1950");
    EXPECT_TRUE(Person(n)->IsLiving(110));
    EXPECT_FALSE(Person(n)->IsLiving(74));
    EXPECT_TRUE(Person(n)->IsLiving(75));
    tree.SetDeath(n, std::nullopt, "Boston");  // a death event without a date
    EXPECT_TRUE(Person(n)->IsLiving(110));
    tree.SetDeath(n, "2000");
    EXPECT_FALSE(Person(n)->IsLiving(110));

    const int32_t christened = tree.AddPerson("C", "D");
    tree.SetChristening(christened, "1950");
    EXPECT_FALSE(Person(christened)->IsLiving(110));
}

TEST_F(RecordsTest, UnreadableBirthDateDoesNotMakeSomeoneLiving) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetBirth(n, "EARLY 18TH CENTURY");
    EXPECT_EQ(Person(n)->Age(), -1);
    EXPECT_FALSE(Person(n)->IsLiving(110));
}

// --- Events ---

TEST_F(RecordsTest, EventTextsAndSharedSortDate) {
    const int32_t n = tree.AddPerson("A", "B");
    FakeEvent& birth = tree.SetBirth(n, "abt 1900", "Salem");
    birth.note = fake::NoteLines{"born at home"};
    birth.citations.push_back(FakeCitation{"p. 4", {}, {}});
    birth.type = "home birth";
    const auto event = Person(n)->Event(kEventBirth, 1);
    ASSERT_NE(event, nullptr);
    EXPECT_TRUE(event->HasDate());
    EXPECT_EQ(event->DateText(), "ABT 1900");
    EXPECT_EQ(event->SortDate(), event->Date());
    EXPECT_EQ(event->SortDateText(), "ABT 1900");
    EXPECT_EQ(event->PlaceText(), "Salem");
    EXPECT_EQ(event->NoteText(), "born at home");
    EXPECT_EQ(event->CitationsText(), "1) p. 4");
    EXPECT_EQ(event->TypeText(), "home birth");
    EXPECT_EQ(event->Kind(), kEventBirth);
}

TEST_F(RecordsTest, EventWithoutDateOrPlace) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetDeath(n, std::nullopt);
    const auto event = Person(n)->Event(kEventDeath, 1);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->Date(), nullptr);
    EXPECT_EQ(event->SortDate(), nullptr);
    EXPECT_FALSE(event->HasDate());
    EXPECT_EQ(event->DateText(), "");
    EXPECT_EQ(event->PlaceText(), "");
    EXPECT_EQ(event->NoteText(), "");
    EXPECT_EQ(event->CitationsText(), "");

    tree.SetBurial(n, "");
    EXPECT_FALSE(Person(n)->HasDate(kEventBurial));
}

TEST_F(RecordsTest, PerEventTextsOfIndividual) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetBirth(n, "BEF 3 MAR 1901", "Boston");
    tree.AddOtherEvent(n, "Occupation", "1920", "Mill");
    tree.AddOtherEvent(n, "Residence", "EST 1930", std::nullopt);
    auto person = Person(n);
    EXPECT_EQ(person->DateText(kEventBirth), "BEF 3 MAR 1901");
    EXPECT_EQ(person->PlaceText(kEventBirth), "Boston");
    EXPECT_EQ(person->DatePlaceText(kEventBirth), "BEF 3 MAR 1901, Boston");
    EXPECT_TRUE(person->HasDate(kEventBirth));
    EXPECT_EQ(person->EventYear(kEventBirth), 1901);
    EXPECT_EQ(person->EventQualifierLetter(kEventBirth), "b");
    EXPECT_EQ(person->EventCount(kEventOther), 2);
    EXPECT_EQ(person->DatePlaceText(kEventOther, 1), "1920, Mill");
    EXPECT_EQ(person->DatePlaceText(kEventOther, 2), "EST 1930, ");
    EXPECT_EQ(person->EventQualifierLetter(kEventOther, 2), "e");
    // Missing events give empty texts, 0 and false.
    EXPECT_EQ(person->DatePlaceText(kEventOther, 3), "");
    EXPECT_EQ(person->DateText(kEventDeath), "");
    EXPECT_EQ(person->PlaceText(kEventDeath), "");
    EXPECT_FALSE(person->HasDate(kEventDeath));
    EXPECT_EQ(person->EventYear(kEventDeath), 0);
    EXPECT_EQ(person->EventQualifierLetter(kEventDeath), "");
}

TEST_F(RecordsTest, StatusListPerOrdinanceKind) {
    EXPECT_EQ(WABSLDSEvent::StatusList(kEventLdsBaptism),
              "SUBMITTED;CLEARED;COMPLETED;CHILD;INFANT;QUALIFIED;PRE-1970;STILLBORN;"
              "UNCLEARED;DONTDOIT");
    EXPECT_EQ(WABSLDSEvent::StatusList(kEventLdsEndowment),
              WABSLDSEvent::StatusList(kEventLdsBaptism));
    EXPECT_EQ(WABSLDSEvent::StatusList(kEventLdsSealingToParents),
              "SUBMITTED;CLEARED;COMPLETED;BIC;DNS;QUALIFIED;PRE-1970;STILLBORN;UNCLEARED;"
              "DONTDOIT");
    EXPECT_EQ(WABSLDSEvent::StatusList(kEventLdsSealingToSpouse),
              "SUBMITTED;CLEARED;COMPLETED;CANCELED;DNS;DNS/CAN;QUALIFIED;PRE-1970;UNCLEARED;"
              "DONTDOIT");
    EXPECT_EQ(WABSLDSEvent::StatusList(kEventBirth), "");
    EXPECT_EQ(WABSLDSEvent::StatusList(11), "");
}

TEST_F(RecordsTest, LdsTextsOfIndividual) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.SetLDSEvent(n, kEventLdsBaptism, "1 JAN 1950", "SLAKE", true);
    tree.SetLDSEvent(n, kEventLdsEndowment, "COMPLETED", "Provo", false);
    auto person = Person(n);
    EXPECT_TRUE(person->HasLDSEvent(kEventLdsBaptism));
    EXPECT_EQ(person->LDSDateText(kEventLdsBaptism), "1 JAN 1950");
    EXPECT_EQ(person->LDSTempleText(kEventLdsBaptism, true), "SLAKE");
    EXPECT_EQ(person->LDSTempleText(kEventLdsEndowment, false), "Provo");
    EXPECT_EQ(person->LDSTempleText(kEventLdsEndowment, true), "Live");
    EXPECT_FALSE(person->HasLDSEvent(kEventLdsSealingToParents));
    EXPECT_EQ(person->LDSDateText(kEventLdsSealingToParents), "");
    EXPECT_EQ(person->LDSTempleText(kEventLdsSealingToParents, true), "");
}

// --- Citations, sources and notes of an individual ---

TEST_F(RecordsTest, CitationsAreNumberedWithBlankLinesBetween) {
    const int32_t n = tree.AddPerson("A", "B");
    tree.AddCitation(n, "p. 1");
    FakeCitation& second = tree.AddCitation(n, "p. 2");
    second.source = FakeSource{};
    second.source->author = "Town clerk";
    EXPECT_EQ(Person(n)->CitationsText(), "1) p. 1\r\n\r\n2) p. 2, Town clerk");
}

TEST_F(RecordsTest, IndividualWithoutCitationsOrNote) {
    const int32_t n = tree.AddPerson("A", "B");
    EXPECT_EQ(Person(n)->CitationsText(), "");
    EXPECT_EQ(Person(n)->NoteText(), "");
    EXPECT_FALSE(Person(n)->HasSources());
    EXPECT_FALSE(Person(n)->HasNotes());
    tree.SetNote(n, {"", "line"});
    EXPECT_EQ(Person(n)->NoteText(), "line");
    EXPECT_TRUE(Person(n)->HasNotes());
}

TEST_F(RecordsTest, HasSourcesLooksAtNameAndEventsButNotLds) {
    const int32_t a = tree.AddPerson("A", "B");
    tree.AddCitation(a, "p. 1");
    EXPECT_TRUE(Person(a)->HasSources());

    const int32_t b = tree.AddPerson("C", "D");
    tree.Person(b).name->citations.push_back(FakeCitation{"p. 2", {}, {}});
    EXPECT_TRUE(Person(b)->HasSources());

    const int32_t c = tree.AddPerson("E", "F");
    tree.SetBurial(c, "1900").citations.push_back(FakeCitation{"p. 3", {}, {}});
    EXPECT_TRUE(Person(c)->HasSources());

    const int32_t d = tree.AddPerson("G", "H");
    tree.AddOtherEvent(d, "Census", "1900");
    tree.AddOtherEvent(d, "Census", "1910").citations.push_back(FakeCitation{"p. 4", {}, {}});
    EXPECT_TRUE(Person(d)->HasSources());

    const int32_t e = tree.AddPerson("I", "J");
    tree.SetLDSEvent(e, kEventLdsBaptism, "1900", "X", true)
        .citations.push_back(FakeCitation{"p. 5", {}, {}});
    tree.SetEvent(e, kEventBaptism, "1900").citations.push_back(FakeCitation{"p. 6", {}, {}});
    EXPECT_FALSE(Person(e)->HasSources());
}

TEST_F(RecordsTest, HasNotesLooksAtNameAndEvents) {
    const int32_t a = tree.AddPerson("A", "B");
    tree.Person(a).name->note = fake::NoteLines{};
    EXPECT_TRUE(Person(a)->HasNotes());

    const int32_t b = tree.AddPerson("C", "D");
    tree.SetChristening(b, "1900").note = fake::NoteLines{"font"};
    EXPECT_TRUE(Person(b)->HasNotes());

    const int32_t c = tree.AddPerson("E", "F");
    tree.AddOtherEvent(c, "Census", "1900").note = fake::NoteLines{"x"};
    EXPECT_TRUE(Person(c)->HasNotes());

    const int32_t d = tree.AddPerson("G", "H");
    tree.SetNote(d, {});  // a note record without text
    EXPECT_FALSE(Person(d)->HasNotes());
}

TEST_F(RecordsTest, ChangeDateText) {
    const int32_t n = tree.AddPerson("A", "B");
    EXPECT_EQ(Person(n)->ChangeDateText(), "");
    tree.Person(n).changeDate = "3 mar 2001";
    EXPECT_EQ(Person(n)->ChangeDateText(), "3 MAR 2001");
}

// --- Marriages ---

TEST_F(RecordsTest, OtherSpouseAnswersTheHusbandUnlessAskedForHim) {
    const int32_t husband = tree.AddPerson("H", "X", 'M');
    const int32_t wife = tree.AddPerson("W", "Y", 'F');
    const int32_t f = tree.AddFamily(husband, wife);
    const auto family = tree.GetMarriage(f);
    EXPECT_EQ(family->OtherSpouse(husband), wife);
    EXPECT_EQ(family->OtherSpouse(wife), husband);
    EXPECT_EQ(family->OtherSpouse(99), husband);

    const int32_t alone = tree.AddFamily(0, wife);
    EXPECT_EQ(tree.GetMarriage(alone)->OtherSpouse(wife), 0);
    const int32_t widower = tree.AddFamily(husband, 0);
    EXPECT_EQ(tree.GetMarriage(widower)->OtherSpouse(husband), 0);
}

TEST_F(RecordsTest, MarriageDateAndPlaceTexts) {
    const int32_t h = tree.AddPerson("H", "X", 'M');
    const int32_t f = tree.AddFamily(h, 0, {}, "1 jun 1925", "Salem");
    auto family = tree.GetMarriage(f);
    EXPECT_EQ(family->DateText(), "1 JUN 1925");
    EXPECT_EQ(family->SortDate(), family->Date());
    EXPECT_EQ(family->SortDateText(), "1 JUN 1925");
    EXPECT_EQ(family->DatePlaceText(), "1 JUN 1925, Salem");

    const int32_t g = tree.AddFamily(h, 0, {}, "1930");
    EXPECT_EQ(tree.GetMarriage(g)->DatePlaceText(), "1930");
    const int32_t k = tree.AddFamily(h, 0);
    EXPECT_EQ(tree.GetMarriage(k)->Date(), nullptr);
    EXPECT_EQ(tree.GetMarriage(k)->DateText(), "");
    EXPECT_EQ(tree.GetMarriage(k)->DatePlaceText(), "");
}

TEST_F(RecordsTest, MarriageCitationsAndNote) {
    const int32_t f = tree.AddFamily(0, 0);
    tree.Family(f).citations.push_back(FakeCitation{"banns", {}, {}});
    tree.Family(f).note = fake::NoteLines{"eloped"};
    const auto family = tree.GetMarriage(f);
    EXPECT_EQ(family->CitationCount(), 1);
    EXPECT_EQ(family->CitationsText(), "1) banns");
    EXPECT_EQ(family->NoteText(), "eloped");
    EXPECT_FALSE(family->Reserved());
}

}  // namespace
}  // namespace kindrel
