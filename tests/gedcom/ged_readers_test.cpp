// The record readers: individuals, families, names, places, events, LDS ordinances,
// sources, citations, notes, repositories, addresses and the submitter.
#include "containers/errors.h"
#include "gedcom/ged_collection.h"
#include "gedcom/ged_events.h"
#include "gedcom/ged_individual.h"
#include "gedcom/ged_sources.h"
#include "model/date.h"
#include "tests/gedcom/ged_test_util.h"

#include <gtest/gtest.h>

namespace kindrel {
namespace {

using test::Lf;
using test::LoadedText;

// One individual @I12@ with the given level-1 lines.
std::string Person(std::initializer_list<const char*> lines) {
    std::string text = "0 HEAD\n1 CHAR UTF-8\n0 @I12@ INDI\n";
    for (const char* line : lines) {
        text += line;
        text += '\n';
    }
    return text + "0 TRLR\n";
}

std::unique_ptr<WABSName> NameOf(const std::string& value) {
    static std::vector<std::unique_ptr<LoadedText>> keep;
    keep.push_back(std::make_unique<LoadedText>(Person({("1 NAME " + value).c_str()})));
    return (*keep.back())->GetIndividual(1)->Name();
}

TEST(GedcomIndividual, IdTextLeavesOutTheFirstCharacter) {
    LoadedText c(Person({}));
    const auto person = c->GetIndividual(1);
    EXPECT_EQ(person->IdText(), "12");
    EXPECT_EQ(dynamic_cast<WGEDIndividual&>(*person).XrefText(), "I12");
}

TEST(GedcomIndividual, SexLettersAndTheirAbsence) {
    EXPECT_EQ(LoadedText(Person({}))->GetIndividual(1)->Sex(), 'U');
    EXPECT_EQ(LoadedText(Person({"1 SEX F"}))->GetIndividual(1)->Sex(), 'F');
    EXPECT_EQ(LoadedText(Person({"1 SEX F", "1 SEX M"}))->GetIndividual(1)->Sex(), 'M');
    EXPECT_EQ(LoadedText(Person({"1 SEX"}))->GetIndividual(1)->Sex(), 'U');
    EXPECT_EQ(LoadedText(Person({"1 SEXX M"}))->GetIndividual(1)->Sex(), 'U');
}

TEST(GedcomIndividual, TwoBirthsReadTheSecondAndTwoNamesTheFirst) {
    LoadedText c(Person({"1 NAME First /Name/", "1 BIRT", "2 DATE 1800", "1 NAME Second /Name/",
                         "1 BIRT", "2 DATE 1801"}));
    const auto person = c->GetIndividual(1);
    EXPECT_EQ(person->DateText(kEventBirth), "1801");
    EXPECT_EQ(person->FullName(false), "First /Name/");
    EXPECT_EQ(dynamic_cast<WGEDIndividual&>(*person).AllNames().size(), 2u);
}

TEST(GedcomIndividual, ChrIsNotChraAndSsnIsAnOtherEvent) {
    LoadedText c(Person({"1 CHRA", "2 DATE 1830", "1 CHR", "2 DATE 1801", "1 SSN 123-45",
                         "1 SSNX junk", "1 BAPM", "2 DATE 1802"}));
    const auto person = c->GetIndividual(1);
    EXPECT_EQ(person->DateText(kEventChristening), "1801");
    ASSERT_EQ(person->EventCount(kEventOther), 3);
    EXPECT_EQ(person->Event(kEventOther, 1)->TypeText(), "Adult Christening");
    EXPECT_EQ(person->Event(kEventOther, 2)->TypeText(), "SSN");
    EXPECT_EQ(person->Event(kEventOther, 2)->NoteText(), "123-45");
    EXPECT_EQ(person->Event(kEventOther, 3)->Kind(), kEventBaptism);
    EXPECT_EQ(person->EventCount(kEventBaptism), 0) << "baptisms are reached as other events";
    EXPECT_EQ(person->Event(kEventOther, 4), nullptr);
    EXPECT_EQ(person->Event(kEventOther, 0), nullptr);
}

TEST(GedcomIndividual, EventTypesValuesAndQualifiers) {
    LoadedText c(Person({"1 RESI", "2 TYPE Farm", "1 DSCR tall", "1 DEAT Y", "1 OCCU Farmer",
                         "2 NOTE on the hill", "1 EVEN", "2 QUAL ABT 1850", "1 GRAD", "2 SOUR @S1@",
                         "2 SOUR inline", "2 PLAC Town"}));
    const auto person = c->GetIndividual(1);
    const auto resi = person->Event(kEventOther, 1);
    EXPECT_EQ(resi->Kind(), kEventOther);
    EXPECT_EQ(resi->TypeText(), "Farm");
    EXPECT_EQ(resi->EventName(), "Residence");
    EXPECT_EQ(person->Event(kEventOther, 2)->TypeText(), "Phyical Description");
    EXPECT_EQ(person->Event(kEventOther, 2)->NoteText(), "tall");
    const auto death = person->Event(kEventDeath, 1);
    EXPECT_EQ(death->NoteText(), "Y");
    EXPECT_TRUE(death->HasNote());
    EXPECT_EQ(death->Date(), nullptr);
    EXPECT_EQ(person->Event(kEventOther, 3)->NoteText(), "on the hill")
        << "a NOTE line replaces the event's own value";
    const auto even = person->Event(kEventOther, 4);
    ASSERT_NE(even->Date(), nullptr);
    EXPECT_EQ(even->DateText(), "ABT 1850");
    const auto grad = person->Event(kEventOther, 5);
    EXPECT_EQ(grad->CitationCount(), 2);
    EXPECT_EQ(grad->PlaceText(), "Town");
    EXPECT_EQ(grad->Citation(1)->Source(), nullptr) << "S1 does not exist";
    EXPECT_EQ(grad->Citation(2)->Source()->TitleText(), "inline");
    EXPECT_EQ(person->Event(kEventOther, 4)->Place(), nullptr);
}

TEST(GedcomIndividual, ChangeDateRefnAfnAndCitations) {
    LoadedText c(Person({"1 REFN R-1", "1 REFN R-2", "1 AFN A-1", "1 AFN A-2", "1 SOUR @S1@",
                         "2 PAGE p. 12", "1 CHAN", "2 NOTE changed", "2 DATE 3 FEB 2023",
                         "3 TIME 09:15", "1 SOUR Family memory"}));
    const auto person = c->GetIndividual(1);
    EXPECT_EQ(person->RefNumberText(), "R-1");
    EXPECT_EQ(person->AfnText(), "A-2");
    EXPECT_EQ(person->ChangeDateText(), "3 FEB 2023");
    EXPECT_EQ(person->CreationDate(), nullptr);
    ASSERT_EQ(person->CitationCount(), 2);
    EXPECT_EQ(person->Citation(1)->PageText(), "p. 12");
    EXPECT_EQ(person->Citation(3), nullptr);
    EXPECT_EQ(person->CitationsText(), "1) p. 12\r\n\r\n2) Family memory");
}

TEST(GedcomIndividual, CitationsStopAtNinetyNine) {
    std::string text = "0 HEAD\n0 @I1@ INDI\n";
    for (int k = 0; k < 120; ++k) text += "1 SOUR S" + std::to_string(k) + "\n";
    LoadedText c(text);
    EXPECT_EQ(c->GetIndividual(1)->CitationCount(), 99);
}

TEST(GedcomIndividual, NotesJoinedWithAnEmptyLine) {
    LoadedText c(Person({"1 NOTE First par", "2 CONC t one", "2 CONT next line", "1 SEX M",
                         "1 NOTE @N9@", "1 NOTE Second"}));
    const auto note = c->GetIndividual(1)->Note();
    ASSERT_NE(note, nullptr);
    ASSERT_EQ(note->LineCount(), 4);
    EXPECT_EQ(note->Line(1), "First part one");
    EXPECT_EQ(note->Line(2), "next line");
    EXPECT_EQ(note->Line(3), "");
    EXPECT_EQ(note->Line(4), "Second");
    LoadedText dangling(Person({"1 NOTE @N9@", "1 NOTE Kept"}));
    EXPECT_EQ(dangling->GetIndividual(1)->NoteText(), "Kept");
    LoadedText none(Person({}));
    EXPECT_EQ(none->GetIndividual(1)->Note(), nullptr);
}

TEST(GedcomIndividual, RecordTextUsesCrLfForLfFiles) {
    LoadedText c("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n");
    EXPECT_EQ(c->GetIndividual(1)->RecordText(), "0 @I1@ INDI\r\n1 NAME A /B/\r\n");
    LoadedText last("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/");
    EXPECT_EQ(last->GetIndividual(1)->RecordText(), "0 @I1@ INDI\r\n1 NAME A /B/");
}

TEST(GedcomIndividual, LdsOrdinancesOfAnIndividual) {
    LoadedText c(Person({"1 CONS", "2 DATE 1900", "2 PLAC Here", "1 ENDL", "2 TEMP LOGAN",
                         "2 DATE 1901", "1 SLGC", "2 STAT BIC", "2 FAMC @F1@"}));
    const auto person = c->GetIndividual(1);
    const auto baptism = person->LDSEvent(kEventLdsBaptism);
    ASSERT_NE(baptism, nullptr);
    EXPECT_EQ(baptism->Kind(), kEventLdsBaptism);
    EXPECT_EQ(baptism->DateText(), "1900");
    EXPECT_FALSE(baptism->HasTemple());
    EXPECT_EQ(baptism->PlaceText(), "Here");
    const auto endowment = person->LDSEvent(kEventLdsEndowment);
    EXPECT_TRUE(endowment->HasTemple());
    EXPECT_EQ(endowment->PlaceText(), "LOGAN");
    const auto sealing = person->LDSEvent(kEventLdsSealingToParents);
    EXPECT_EQ(sealing->DateText(), "BIC") << "without a date the status stands in";
    EXPECT_EQ(dynamic_cast<WGEDLDSEvent&>(*sealing).StatusText(), "BIC");
    ASSERT_NE(sealing->Place(), nullptr);
    EXPECT_EQ(sealing->PlaceText(), "");
    EXPECT_EQ(person->LDSEvent(kEventLdsSealingToSpouse), nullptr);
    EXPECT_EQ(person->LDSTempleText(kEventLdsBaptism, true), "Live");
}

TEST(GedcomName, SlashesDecideGivenNamesSurnameAndSuffix) {
    EXPECT_EQ(NameOf("/Smith/ John")->Surname(), "Smith");
    EXPECT_EQ(NameOf("/Smith/ John")->GivenNames(), "John");
    EXPECT_EQ(NameOf("John Smith")->GivenNames(), "John Smith");
    EXPECT_EQ(NameOf("John Smith")->Surname(), "");
    EXPECT_EQ(NameOf("John /Smith/")->GivenNames(), "John");
    EXPECT_EQ(NameOf("John /Smith/ Jr.")->Suffix(), " Jr.");
    EXPECT_EQ(NameOf("John /Smith")->Surname(), "Smith");
    EXPECT_EQ(NameOf("John /Smith")->Suffix(), "");
    EXPECT_EQ(NameOf("J")->GivenNames(), "J");
    EXPECT_EQ(NameOf("/Smith")->GivenNames(), "");
    EXPECT_EQ(NameOf("")->GivenNames(), "");
    const std::string longSurname(400, 's');
    EXPECT_EQ(NameOf("A /" + longSurname + "/")->Surname(), longSurname);
}

TEST(GedcomName, PiecesFromTheNameParts) {
    LoadedText c(Person({"1 NAME Stan /Harrow/", "2 NPFX Dr.", "2 GIVN Stanislaw",
                         "2 SURN Harrowgate", "2 NSFX III", "2 SOUR @S1@", "2 NOTE named after",
                         "3 SURN ignored", "1 SURN not a name part"}));
    const auto name = c->GetIndividual(1)->Name();
    EXPECT_EQ(name->Prefix(), "Dr.");
    EXPECT_EQ(name->GivenNames(), "Stanislaw");
    EXPECT_EQ(name->Surname(), "Harrowgate");
    EXPECT_EQ(name->Suffix(), "III");
    EXPECT_EQ(name->CitationCount(), 1);
    EXPECT_EQ(name->NoteText(), "named after");
}

// A family F1 with the given level-1 lines, husband I1 and wife I2.
std::string Family(std::initializer_list<const char*> lines) {
    std::string text = "0 HEAD\n0 @I1@ INDI\n1 FAMS @F1@\n0 @I2@ INDI\n1 FAMS @F1@\n0 @F1@ FAM\n";
    text += "1 HUSB @I1@\n1 WIFE @I2@\n";
    for (const char* line : lines) {
        text += line;
        text += '\n';
    }
    return text + "0 TRLR\n";
}

TEST(GedcomMarriage, DateAndPlaceWhereverTheyStandUnderMarr) {
    LoadedText c(Family({"1 MARR", "2 PLAC Town", "2 DATE 1 JUN 1850"}));
    const auto family = c->GetMarriage(1);
    EXPECT_EQ(family->MarriagePlaceText(), "Town");
    EXPECT_EQ(family->DateText(), "1 JUN 1850") << "a DATE after the PLAC is still found";
    EXPECT_EQ(family->DatePlaceText(), "1 JUN 1850, Town");
    EXPECT_EQ(family->SpouseCount(), 2);
    EXPECT_EQ(family->OtherSpouse(2), 1);
    EXPECT_EQ(family->IdText(), "1");
    EXPECT_EQ(LoadedText(Family({}))->GetMarriage(1)->Date(), nullptr);
    EXPECT_EQ(LoadedText(Family({}))->GetMarriage(1)->MarriagePlaceText(), "");
}

TEST(GedcomMarriage, CitationsUnderTheMarriageCountAsTheFamilys) {
    LoadedText c(Family({"1 MARR", "2 DATE 1850", "2 SOUR @S1@", "3 PAGE entry 9", "1 SOUR x",
                         "1 NOTE @N1@", "1 NOTE second", "0 @N1@ NOTE family note"}));
    const auto family = c->GetMarriage(1);
    EXPECT_EQ(family->CitationCount(), 2);
    EXPECT_EQ(family->Citation(1)->PageText(), "entry 9");
    EXPECT_EQ(family->NoteText(), "family note");
}

TEST(GedcomMarriage, SealingReadsDateAndTemple) {
    LoadedText c(Family({"1 SLGS", "2 DATE 12 OCT 1888", "2 TEMP LOGAN", "2 STAT COMPLETED"}));
    const auto family = c->GetMarriage(1);
    EXPECT_TRUE(family->HasSealing());
    const auto sealing = family->Sealing();
    ASSERT_NE(sealing, nullptr);
    EXPECT_EQ(sealing->Kind(), kEventLdsSealingToSpouse);
    EXPECT_EQ(sealing->DateText(), "12 OCT 1888");
    EXPECT_TRUE(sealing->HasTemple());
    EXPECT_EQ(sealing->PlaceText(), "LOGAN");
    EXPECT_TRUE(c->HasSpouseSealing(1, 1));
    EXPECT_FALSE(LoadedText(Family({}))->GetMarriage(1)->HasSealing());
}

TEST(GedcomMarriage, ChildrenSortByBirthWithUndatedLast) {
    const std::string text =
        Lf({"0 HEAD",      "0 @C1@ INDI", "1 BIRT",      "2 DATE 1850", "0 @C2@ INDI",
            "0 @C3@ INDI", "1 BIRT",      "2 DATE 1840", "0 @C4@ INDI", "1 BIRT",
            "0 @C5@ INDI", "1 BIRT",      "2 DATE 1840", "0 @F1@ FAM",  "1 CHIL @C1@",
            "1 CHIL @C2@", "1 CHIL @C3@", "1 CHIL @C4@", "1 CHIL @C5@", "0 TRLR"});
    LoadedText c(text);
    auto family = c->GetMarriage(1);
    family->OrderChildren();
    const std::vector<int32_t> expected = {3, 5, 1, 2, 4};
    for (int32_t i = 1; i <= 5; ++i) EXPECT_EQ(family->Child(i), expected[std::size_t(i - 1)]);
    EXPECT_TRUE(c->FamilyLinks().ChildrenInBirthOrder(1));
}

TEST(GedcomMarriage, ManyChildrenAreAllSorted) {
    std::string text = "0 HEAD\n";
    std::string chil;
    for (int k = 0; k < 700; ++k) {
        text += "0 @C" + std::to_string(k) + "@ INDI\n1 BIRT\n2 DATE " + std::to_string(2500 - k) +
                "\n";
        chil += "1 CHIL @C" + std::to_string(k) + "@\n";
    }
    LoadedText c(text + "0 @F1@ FAM\n" + chil);
    auto family = c->GetMarriage(1);
    ASSERT_EQ(family->ChildCount(), 700);
    family->OrderChildren();
    for (int32_t i = 1; i <= 700; ++i) ASSERT_EQ(family->Child(i), 701 - i);
}

TEST(GedcomMarriage, SpouseFamiliesInMarriageOrderUndatedLast) {
    const std::string text = Lf(
        {"0 HEAD", "0 @I1@ INDI", "1 FAMS @F1@", "1 FAMS @F2@", "1 FAMS @F3@", "1 FAMS @F4@",
         "0 @F1@ FAM", "1 MARR", "2 DATE 9 SEP 1856", "0 @F2@ FAM", "1 MARR", "2 PLAC Bremen",
         "0 @F3@ FAM", "1 MARR", "2 DATE 3 APR 1843", "0 @F4@ FAM", "1 MARR", "2 DATE", "0 TRLR"});
    LoadedText c(text);
    const auto person = c->GetIndividual(1);
    ASSERT_EQ(person->SpouseFamilyCount(), 4);
    EXPECT_EQ(person->SpouseFamily(1), 3);
    EXPECT_EQ(person->SpouseFamily(2), 1);
    // The undated ones follow (their order among themselves is not kept).
    const int32_t third = person->SpouseFamily(3);
    const int32_t fourth = person->SpouseFamily(4);
    EXPECT_TRUE((third == 2 && fourth == 4) || (third == 4 && fourth == 2));
    c->AfterLoad();
    EXPECT_EQ(c->GetIndividual(1)->SpouseFamily(1), 3) << "a second AfterLoad changes nothing";
}

TEST(GedcomMarriage, MoreThanFiveHundredTwelveSpouseFamiliesKeepTheRestInFileOrder) {
    std::string text = "0 HEAD\n0 @I1@ INDI\n";
    const int families = 530;
    for (int k = 1; k <= families; ++k) text += "1 FAMS @F" + std::to_string(k) + "@\n";
    for (int k = 1; k <= families; ++k) {
        text +=
            "0 @F" + std::to_string(k) + "@ FAM\n1 MARR\n2 DATE " + std::to_string(3000 - k) + "\n";
    }
    LoadedText c(text);
    const auto person = c->GetIndividual(1);
    ASSERT_EQ(person->SpouseFamilyCount(), families);
    for (int k = 1; k <= 512; ++k) ASSERT_EQ(person->SpouseFamily(k), 513 - k);
    for (int k = 513; k <= families; ++k) ASSERT_EQ(person->SpouseFamily(k), k);
}

// A file with sources, notes and repositories.
const char* const kSources =
    "0 HEAD\n1 SUBM @U1@\n"
    "0 @U1@ SUBM\n1 NAME Eva\n1 ADDR Street\n2 CONT Town\n2 CTRY Land\n1 PHON 123\n"
    "1 _EMAIL eva@example.org\n"
    "0 @I1@ INDI\n1 SOUR @S1@\n2 PAGE p. 12\n2 NOTE look again\n1 SOUR Parish register\n"
    "2 NOTE inline source note\n2 TEXT the words\n1 SOUR @S9@\n1 NOTE @N9@\n"
    "0 @N1@ NOTE First line\n1 CONT Second line\n"
    "0 @N2@ NOTE\n1 CONC Starts on the next line\n"
    "0 @S1@ SOUR\n1 TITL Title one\n1 AUTH Author\n2 CONT second line\n1 PUBL Pub\n1 ABBR Abb\n"
    "1 NAME Later title\n1 REPO @R1@\n2 CALN CALL-9\n1 NOTE @N1@\n1 TEXT Quoted\n2 CONT text\n"
    "0 @S2@ SOUR\n1 TITL Only\n1 CALN OWN-1\n1 REPO @R9@\n"
    "0 @R1@ REPO\n1 NAME Record\n2 CONT Office\n1 ADDR 1 Road\n2 CONT Town\n2 CITY Town\n"
    "2 POST PC1\n1 PHON 555\n"
    "0 TRLR\n";

TEST(GedcomSources, RecordSourceFields) {
    LoadedText c(kSources);
    const auto source = c->GetSource(1);
    EXPECT_EQ(source->TitleText(), "Later title") << "the later of TITL and NAME";
    EXPECT_EQ(source->AuthorText(), "Author\r\nsecond line");
    EXPECT_EQ(source->PublicationText(), "Pub");
    EXPECT_EQ(source->AbbreviationText(), "Abb");
    EXPECT_EQ(source->CallNumberText(), "CALL-9") << "the call number under REPO";
    EXPECT_EQ(source->RepositoryNumber(), 1);
    EXPECT_TRUE(source->HasRepository());
    EXPECT_TRUE(source->HasNoteFlag());
    EXPECT_TRUE(source->HasSourceText());
    EXPECT_EQ(source->Note()->Text(), "First line\r\nSecond line");
    EXPECT_EQ(source->SourceText()->Text(), "Quoted\r\ntext");
    EXPECT_EQ(source->RecordText().substr(0, 12), "0 @S1@ SOUR\n");
    const auto second = c->GetSource(2);
    EXPECT_EQ(second->CallNumberText(), "OWN-1");
    EXPECT_EQ(second->RepositoryNumber(), 0) << "R9 does not exist";
    EXPECT_TRUE(second->HasRepository());
    EXPECT_FALSE(second->HasNoteFlag());
}

TEST(GedcomSources, CitationsOfRecordAndInlineSources) {
    LoadedText c(kSources);
    const auto person = c->GetIndividual(1);
    ASSERT_EQ(person->CitationCount(), 3);
    const auto first = person->Citation(1);
    EXPECT_EQ(first->PageText(), "p. 12");
    EXPECT_EQ(first->Note()->Text(), "look again");
    EXPECT_EQ(first->Source()->TitleText(), "Later title");
    const auto inlineSource = person->Citation(2)->Source();
    ASSERT_NE(inlineSource, nullptr);
    EXPECT_EQ(inlineSource->TitleText(), "Parish register");
    EXPECT_EQ(inlineSource->RecordText(), "");
    EXPECT_EQ(inlineSource->AuthorText(), "");
    EXPECT_EQ(inlineSource->Note()->Text(), "inline source note");
    EXPECT_EQ(inlineSource->SourceText()->Text(), "the words");
    EXPECT_EQ(person->Citation(3)->Source(), nullptr);
    EXPECT_EQ(person->Note(), nullptr) << "a NOTE pointer to no record";
}

TEST(GedcomSources, NoteRecords) {
    LoadedText c(kSources);
    const auto note = c->GetNote(1);
    ASSERT_EQ(note->LineCount(), 2);
    EXPECT_EQ(note->Line(1), "First line");
    EXPECT_EQ(note->Line(2), "Second line");
    EXPECT_EQ(c->GetNote(2)->Text(), "Starts on the next line");
}

TEST(GedcomSources, InlineNoteTakesItsNoteChildren) {
    LoadedText c(Person({"1 NOTE a", "2 CONC b", "2 NOTE c", "3 NOTE deeper", "1 NOTE sibling",
                         "2 NOTE under sibling", "1 SEX M"}));
    const auto note = NoteFromLine(*c, c->RecordHead(kBucketIndividual, 1) + 13);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->Lines(), (std::vector<std::string>{"ab", "c", "under sibling"}));
    EXPECT_EQ(NoteFromLine(*c, nullptr), nullptr);
    EXPECT_EQ(SourceFromLine(*c, nullptr), nullptr);
}

TEST(GedcomSources, NoteTextWithAtSignsIsText) {
    LoadedText c(Person({"1 NOTE write to a@b.org or c@d.org"}));
    EXPECT_EQ(c->GetIndividual(1)->NoteText(), "write to a@b.org or c@d.org");
}

TEST(GedcomSources, RepositoryAndAddress) {
    LoadedText c(kSources);
    const auto repo = c->GetRepo(1);
    ASSERT_NE(repo, nullptr);
    EXPECT_EQ(repo->RepoName(), "Record\rOffice");
    const auto address = repo->Address();
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->AddressLine(WABSAddress::kAddr), "1 Road\r\nTown");
    EXPECT_EQ(address->AddressLine(WABSAddress::kCity), "Town");
    EXPECT_EQ(address->AddressLine(WABSAddress::kPost), "PC1");
    EXPECT_EQ(address->AddressLine(WABSAddress::kPhone), "555");
    EXPECT_EQ(address->AddressLine(WABSAddress::kCountry), "");
    EXPECT_EQ(address->AddressLine(99), "");
    EXPECT_EQ(repo->Note(), nullptr);
    EXPECT_EQ(repo->RecordText().substr(0, 12), "0 @R1@ REPO\n");
    EXPECT_THROW(c->GetRepo(2), EIndexError);
}

TEST(GedcomSources, SubmitterFields) {
    LoadedText c(kSources);
    const auto submitter = c->GetSubmitter();
    ASSERT_NE(submitter, nullptr);
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kName), "Eva");
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kAddress1), "Street");
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kAddress2), "Town");
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kAddress3), "");
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kCountry), "Land");
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kPhone), "123");
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kEmail), "eva@example.org");
    EXPECT_EQ(submitter->SubmitterField(WABSSubmitter::kRecordText).substr(0, 12), "0 @U1@ SUBM\n");
    EXPECT_EQ(submitter->SubmitterField(42), "");
}

TEST(GedcomSources, GetSourceOfAFileWithoutSources) {
    LoadedText c(Person({}));
    EXPECT_EQ(c->GetSource(1), nullptr);
    EXPECT_EQ(c->GetSource(0), nullptr);
}

}  // namespace
}  // namespace kindrel
