// The bundled sample files: well-formed, and holding every situation samples/README.md
// promises to the viewer tests (key people, date forms, LDS ordinances, notes, sources).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "gedcom_checker.h"

namespace kindrel::testing {
namespace {

const std::string kSamples = KINDREL_SAMPLES_DIR;

const std::string& FamilyBytes() {
    static const std::string bytes = ReadBinaryFile(kSamples + "/sample_family.ged");
    return bytes;
}

const GedCheck& Family() {
    static const GedCheck check = CheckGedcom(FamilyBytes(), LineEnds::kCrlf, TextEncoding::kUtf8);
    return check;
}

const GedRecord& Record(const std::string& xref) {
    const GedRecord* record = Family().Find(xref);
    if (record == nullptr) {
        ADD_FAILURE() << "no record @" << xref << "@";
        static const GedRecord kEmpty;
        return kEmpty;
    }
    return *record;
}

std::vector<std::string> Values(const GedRecord& record, int level, const std::string& tag) {
    std::vector<std::string> values;
    for (const GedLine* line : record.LinesAt(level, tag)) values.push_back(line->value);
    return values;
}

// Index of the first line of the record with that level and tag; lines.size() when none.
size_t IndexOf(const GedRecord& record, int level, const std::string& tag) {
    for (size_t i = 0; i < record.lines.size(); ++i) {
        if (record.lines[i].level == level && record.lines[i].tag == tag) return i;
    }
    return record.lines.size();
}

// Value of the child with that tag under the first level-1 line of the given tag.
std::string EventChild(const GedRecord& record, const std::string& event, const std::string& tag) {
    for (const GedLine* child : record.ChildrenOf(IndexOf(record, 1, event))) {
        if (child->tag == tag) return child->value;
    }
    return {};
}

bool AnyRecord(const std::function<bool(const GedRecord&)>& test) {
    return std::any_of(Family().records.begin(), Family().records.end(), test);
}

TEST(SampleFamily, IsWellFormedUtf8WithCrlfLineEnds) {
    ASSERT_FALSE(FamilyBytes().empty()) << "cannot read " << kSamples << "/sample_family.ged";
    EXPECT_TRUE(Family().errors.empty()) << Family().ErrorText();
    EXPECT_EQ(FamilyBytes().rfind("0 HEAD\r\n", 0), 0u) << "no byte-order mark, HEAD first";
    EXPECT_EQ(FamilyBytes().substr(FamilyBytes().size() - 8), "0 TRLR\r\n");
}

TEST(SampleFamily, HoldsAboutSixtyPeopleOverAtLeastFiveGenerations) {
    EXPECT_GE(Family().individuals, 40u);
    EXPECT_LE(Family().individuals, 80u);
    EXPECT_EQ(Family().individuals, 59u);
    EXPECT_EQ(Family().families, 18u);
    EXPECT_GE(Family().generations, 5u);
    EXPECT_EQ(Family().generations, 6u);
}

TEST(SampleFamily, HasAMainFamilyASmallFamilyAndOneLoner) {
    EXPECT_EQ(Family().islandSizes, (std::vector<size_t>{54, 4, 1}));
    const GedRecord& loner = Record("I59");
    EXPECT_TRUE(loner.LinesAt(1, "FAMC").empty());
    EXPECT_TRUE(loner.LinesAt(1, "FAMS").empty());
}

TEST(SampleFamily, IdentifiersAscendInFileOrder) {
    int expectedIndividual = 1;
    int expectedFamily = 1;
    for (const GedRecord& record : Family().records) {
        if (record.tag == "INDI") {
            EXPECT_EQ(record.xref, "I" + std::to_string(expectedIndividual++));
        }
        if (record.tag == "FAM") {
            EXPECT_EQ(record.xref, "F" + std::to_string(expectedFamily++));
        }
    }
    for (const char* xref : {"S1", "S4", "N1", "N3", "R1", "R2", "U1"}) {
        EXPECT_NE(Family().Find(xref), nullptr) << xref;
    }
}

TEST(SampleFamily, HeaderCarriesEveryFieldTheViewerShows) {
    const GedRecord& head = Family().records.front();
    EXPECT_EQ(head.FirstValue(1, "SOUR"), "KINDREL");
    EXPECT_FALSE(head.FirstValue(2, "NAME").empty());
    EXPECT_FALSE(head.FirstValue(2, "VERS").empty());
    EXPECT_FALSE(head.FirstValue(2, "CORP").empty());
    EXPECT_FALSE(head.FirstValue(3, "ADDR").empty());
    EXPECT_EQ(head.FirstValue(1, "DEST"), "KINDREL");
    const size_t date = IndexOf(head, 1, "DATE");
    ASSERT_LT(date + 1, head.lines.size());
    EXPECT_EQ(head.lines[date + 1].tag, "TIME") << "TIME right after DATE";
    EXPECT_EQ(head.FirstValue(1, "FILE"), "sample_family.ged");
    EXPECT_EQ(head.FirstValue(2, "FORM"), "LINEAGE-LINKED");
    EXPECT_EQ(EventChild(head, "GEDC", "VERS"), "5.5.1");
    EXPECT_EQ(head.FirstValue(1, "CHAR"), "UTF-8");
    EXPECT_EQ(head.FirstValue(1, "SUBM"), "@U1@");
}

TEST(SampleFamily, SubmitterHasNameAddressCountryPhoneAndEmail) {
    const GedRecord& submitter = Record("U1");
    EXPECT_EQ(submitter.tag, "SUBM");
    EXPECT_EQ(submitter.FirstValue(1, "NAME"), "Eva Dvořák");
    EXPECT_EQ(submitter.FirstValue(1, "ADDR"), "27 Lantern Row");
    EXPECT_EQ(Values(submitter, 2, "CONT"),
              (std::vector<std::string>{"Ashcombe Mill", "Wendle WE7 3LR"}));
    EXPECT_EQ(submitter.FirstValue(2, "CTRY"), "England");
    EXPECT_FALSE(submitter.FirstValue(1, "PHON").empty());
    EXPECT_EQ(submitter.FirstValue(1, "_EMAIL"), "eva.dvorak@example.org");
}

TEST(SampleFamily, ThriceMarriedManListsHisMarriagesOutOfDateOrder) {
    const GedRecord& william = Record("I4");
    EXPECT_EQ(Values(william, 1, "FAMS"), (std::vector<std::string>{"@F5@", "@F3@", "@F4@"}));
    EXPECT_EQ(EventChild(Record("F3"), "MARR", "DATE"), "3 APR 1843");
    EXPECT_EQ(EventChild(Record("F5"), "MARR", "DATE"), "9 SEP 1856");
    EXPECT_EQ(EventChild(Record("F4"), "MARR", "DATE"), "") << "the undated marriage";
    EXPECT_FALSE(EventChild(Record("F4"), "MARR", "PLAC").empty());
    for (const char* family : {"F3", "F4", "F5"}) {
        EXPECT_EQ(Record(family).FirstValue(1, "HUSB"), "@I4@") << family;
    }
}

TEST(SampleFamily, TwiceMarriedWomanHasADatedAndAnApproximateMarriage) {
    const GedRecord& clara = Record("I12");
    EXPECT_EQ(Values(clara, 1, "FAMS"), (std::vector<std::string>{"@F7@", "@F6@"}));
    EXPECT_EQ(EventChild(Record("F6"), "MARR", "DATE"), "4 JUL 1863");
    EXPECT_EQ(EventChild(Record("F7"), "MARR", "DATE"), "ABT 1869");
}

TEST(SampleFamily, MarriageDatesDirectlyFollowTheirMarriageLine) {
    // The viewer reads a marriage date only from the line right after MARR.
    for (const GedRecord& record : Family().records) {
        if (record.tag != "FAM") continue;
        const size_t marr = IndexOf(record, 1, "MARR");
        for (size_t i = marr + 2; i < record.lines.size() && record.lines[i].level > 1; ++i) {
            EXPECT_NE(record.lines[i].tag, "DATE") << record.xref;
        }
    }
}

TEST(SampleFamily, AdoptedChildHasBirthAndAdoptiveFamilies) {
    const GedRecord& sigrid = Record("I24");
    const auto famc = sigrid.LinesAt(1, "FAMC");
    ASSERT_EQ(famc.size(), 2u);
    EXPECT_EQ(famc[0]->value, "@F6@");
    EXPECT_EQ(famc[1]->value, "@F7@");
    const auto pedigree = Values(sigrid, 2, "PEDI");
    EXPECT_EQ(pedigree, (std::vector<std::string>{"birth", "adopted"}));
    EXPECT_EQ(EventChild(sigrid, "ADOP", "FAMC"), "@F7@");
    EXPECT_EQ(sigrid.FirstValue(3, "ADOP"), "HUSB");
    EXPECT_NE(EventChild(sigrid, "ADOP", "SOUR").front(), '@') << "an inline source";
}

TEST(SampleFamily, HasLdsOrdinancesWithTempleAndStatus) {
    const GedRecord& nils = Record("I25");
    EXPECT_EQ(EventChild(nils, "BAPL", "DATE"), "14 JUN 1884");
    EXPECT_EQ(EventChild(nils, "ENDL", "TEMP"), "LOGAN");
    EXPECT_EQ(EventChild(nils, "SLGC", "TEMP"), "SLAKE");
    EXPECT_EQ(EventChild(nils, "SLGC", "FAMC"), "@F6@");
    const GedRecord& johanna = Record("I35");
    EXPECT_EQ(EventChild(johanna, "SLGC", "STAT"), "BIC");
    EXPECT_EQ(EventChild(johanna, "SLGC", "DATE"), "") << "a sealing known only by its status";
    const GedRecord& sealed = Record("F10");
    EXPECT_EQ(EventChild(sealed, "SLGS", "DATE"), "12 OCT 1888");
    EXPECT_EQ(EventChild(sealed, "SLGS", "TEMP"), "LOGAN");
    EXPECT_EQ(EventChild(sealed, "SLGS", "STAT"), "COMPLETED");
    EXPECT_FALSE(Record("I31").LinesAt(1, "CONL").empty());
}

TEST(SampleFamily, NotesUseContinuationLinesAndSitOnRecordsAndEvents) {
    const GedRecord& note = Record("N1");
    EXPECT_FALSE(note.lines.front().value.empty()) << "text on the record head";
    EXPECT_FALSE(note.LinesAt(1, "CONC").empty());
    EXPECT_GE(note.LinesAt(1, "CONT").size(), 2u);
    EXPECT_FALSE(AnyRecord([](const GedRecord& r) {
        return r.tag == "NOTE" && r.lines.front().value.empty();
    })) << "every note record carries text on its head line";
    EXPECT_EQ(Record("I1").FirstValue(1, "NOTE"), "@N1@");
    EXPECT_EQ(Record("F6").FirstValue(1, "NOTE"), "@N2@");
    EXPECT_EQ(Record("S3").FirstValue(1, "NOTE"), "@N3@");
    const GedRecord& prudence = Record("I3");
    EXPECT_FALSE(prudence.LinesAt(2, "CONC").empty());
    EXPECT_FALSE(prudence.LinesAt(2, "CONT").empty());
    EXPECT_EQ(Record("I4").LinesAt(1, "NOTE").size(), 2u) << "two level-1 notes";
    EXPECT_FALSE(EventChild(Record("I4"), "BIRT", "NOTE").empty()) << "a note on an event";
}

TEST(SampleFamily, SourcesHaveCitationsAndARepositoryWithAddress) {
    const GedRecord& register_ = Record("S1");
    for (const char* tag : {"TITL", "AUTH", "PUBL", "ABBR", "REPO", "TEXT", "NOTE"}) {
        EXPECT_FALSE(register_.FirstValue(1, tag).empty()) << tag;
    }
    EXPECT_EQ(register_.FirstValue(2, "CALN"), "PR/ASH/1-14");
    EXPECT_EQ(Record("S2").FirstValue(1, "CALN"), "CEN/MIL") << "call number at level 1";
    const GedRecord& office = Record("R1");
    EXPECT_EQ(office.FirstValue(1, "NAME"), "Wendle County Record Office");
    EXPECT_FALSE(office.FirstValue(1, "ADDR").empty());
    EXPECT_FALSE(office.FirstValue(2, "CONT").empty());
    EXPECT_EQ(office.FirstValue(2, "CTRY"), "England");
    EXPECT_FALSE(office.FirstValue(1, "PHON").empty());
    EXPECT_EQ(Record("R2").FirstValue(2, "CONT"), "private collection");
    // Citations with PAGE and NOTE, at level 1 and under events.
    const GedRecord& ambrose = Record("I1");
    EXPECT_EQ(ambrose.FirstValue(3, "PAGE"), "Baptisms 1791, folio 7");
    EXPECT_FALSE(ambrose.FirstValue(3, "NOTE").empty());
    EXPECT_EQ(Record("I12").FirstValue(2, "PAGE"), "Family record, first page");
    EXPECT_FALSE(Record("I12").FirstValue(2, "NOTE").empty());
}

TEST(SampleFamily, UsesEveryDateForm) {
    std::vector<std::string> dates;
    for (const GedRecord& record : Family().records) {
        if (record.tag == "HEAD") continue;
        for (const GedLine& line : record.lines) {
            if (line.tag == "DATE" && line.level == 2) dates.push_back(line.value);
        }
    }
    const auto has = [&dates](const std::function<bool(const std::string&)>& test) {
        return std::any_of(dates.begin(), dates.end(), test);
    };
    const auto startsWith = [](const std::string& s, const char* prefix) {
        return s.rfind(prefix, 0) == 0;
    };
    for (const char* prefix :
         {"ABT ", "EST ", "CAL ", "BEF ", "AFT ", "INT ", "@#DJULIAN@ ", "@#DHEBREW@ "}) {
        EXPECT_TRUE(has([&](const std::string& d) { return startsWith(d, prefix); })) << prefix;
    }
    EXPECT_TRUE(has([&](const std::string& d) {
        return startsWith(d, "BET ") && d.find(" AND ") != std::string::npos;
    }));
    EXPECT_TRUE(has([&](const std::string& d) {
        return startsWith(d, "FROM ") && d.find(" TO ") != std::string::npos;
    }));
    EXPECT_TRUE(has([](const std::string& d) { return d == "10 FEB 1750/51"; }));
    EXPECT_TRUE(has(
        [](const std::string& d) { return d == "INT 1866 (lost at sea with the brig Halcyon)"; }));
    const auto digitsOnly = [](const std::string& s) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    EXPECT_TRUE(has([&](const std::string& d) { return d.size() == 4 && digitsOnly(d); }))
        << "a year alone";
    EXPECT_TRUE(has([&](const std::string& d) {
        return d.size() == 8 && std::isupper(static_cast<unsigned char>(d[0])) && d[3] == ' ' &&
               digitsOnly(d.substr(4));
    })) << "a month and year";
    EXPECT_TRUE(has([](const std::string& d) {
        return std::none_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '9'; });
    })) << "a phrase without any number";
}

TEST(SampleFamily, NamesCarryNonAsciiLetters) {
    std::string names;
    for (const GedRecord& record : Family().records) {
        for (const GedLine* line : record.LinesAt(1, "NAME")) names += line->value + "\n";
    }
    for (const char* part : {"Zoë", "Bjørn", "Łucja", "Ñúñez", "Şükrü", "Dvořák", "Stanisław"}) {
        EXPECT_NE(names.find(part), std::string::npos) << part;
    }
}

TEST(SampleFamily, HasLivingPeopleAndDeathsWithoutBirth) {
    size_t living = 0;
    for (const GedRecord& record : Family().records) {
        if (record.tag != "INDI" || !record.LinesAt(1, "DEAT").empty()) continue;
        const std::string birth = EventChild(record, "BIRT", "DATE");
        if (birth.size() >= 4 && std::stoi(birth.substr(birth.size() - 4)) >= 1950) ++living;
    }
    EXPECT_GE(living, 8u);
    for (const char* xref : {"I2", "I5", "I17"}) {
        EXPECT_TRUE(Record(xref).LinesAt(1, "BIRT").empty()) << xref;
        EXPECT_FALSE(Record(xref).LinesAt(1, "DEAT").empty()) << xref;
    }
    EXPECT_EQ(Record("I6").FirstValue(1, "DEAT"), "Y");
}

TEST(SampleFamily, FamiliesMixChildrenWithAndWithoutBirthDates) {
    EXPECT_EQ(Values(Record("F1"), 1, "CHIL"),
              (std::vector<std::string>{"@I5@", "@I4@", "@I7@", "@I3@", "@I6@"}));
    EXPECT_TRUE(Record("I5").LinesAt(1, "BIRT").empty());
    EXPECT_TRUE(Record("I17").LinesAt(1, "BIRT").empty());
    EXPECT_EQ(EventChild(Record("I3"), "BIRT", "DATE"), "MAR 1816");
    EXPECT_EQ(EventChild(Record("I6"), "BIRT", "DATE"), "EST 1818");
    EXPECT_EQ(Values(Record("F5"), 1, "CHIL"),
              (std::vector<std::string>{"@I15@", "@I16@", "@I17@"}));
    EXPECT_EQ(EventChild(Record("I15"), "BIRT", "DATE"), "14 FEB 1862") << "born after I16";
}

TEST(SampleFamily, HasTwoNamesOccupationsResidencesAndReferenceNumbers) {
    const GedRecord& lucja = Record("I22");
    EXPECT_EQ(Values(lucja, 1, "NAME"),
              (std::vector<std::string>{"Łucja /Kowalczyk/", "Lucy /Harrowgate/"}));
    EXPECT_EQ(lucja.FirstValue(2, "TYPE"), "married");
    const GedRecord& william = Record("I4");
    EXPECT_EQ(william.FirstValue(1, "OCCU"), "Schoolmaster");
    EXPECT_EQ(EventChild(william, "RESI", "TYPE"), "Schoolhouse");
    EXPECT_EQ(william.FirstValue(1, "REFN"), "H-004");
    EXPECT_EQ(Record("I1").FirstValue(1, "AFN"), "1J7Q-KX3");
    EXPECT_EQ(EventChild(william, "CHAN", "DATE"), "3 FEB 2023");
    EXPECT_EQ(Record("I27").FirstValue(2, "NPFX"), "Dr.");
}

TEST(SampleFamily, UsesManyOtherEventTags) {
    std::vector<std::string> tags;
    for (const GedRecord& record : Family().records) {
        if (record.tag != "INDI") continue;
        for (const GedLine* line : record.ChildrenOf(0)) tags.push_back(line->tag);
    }
    for (const char* tag : {"OCCU", "RESI", "CENS", "EMIG", "IMMI", "NATU", "RELI", "EDUC", "GRAD",
                            "RETI", "WILL", "PROB", "CONF", "CREM", "ADOP", "SSN", "CONL"}) {
        EXPECT_NE(std::find(tags.begin(), tags.end(), tag), tags.end()) << tag;
    }
}

// ---- the ANSEL sample ------------------------------------------------------------------

const std::string& AnselBytes() {
    static const std::string bytes = ReadBinaryFile(kSamples + "/sample_ansel.ged");
    return bytes;
}

TEST(SampleAnsel, IsWellFormedAnselWithLfLineEnds) {
    ASSERT_FALSE(AnselBytes().empty());
    const GedCheck check = CheckGedcom(AnselBytes(), LineEnds::kLf, TextEncoding::kAnsel);
    EXPECT_TRUE(check.errors.empty()) << check.ErrorText();
    EXPECT_EQ(check.records.front().FirstValue(1, "CHAR"), "ANSEL");
    EXPECT_GE(check.individuals, 5u);
    EXPECT_LE(check.individuals, 10u);
    EXPECT_FALSE(CheckGedcom(AnselBytes(), LineEnds::kLf, TextEncoding::kUtf8).errors.empty())
        << "the ANSEL bytes are not UTF-8";
}

TEST(SampleAnsel, WritesDiacriticsBeforeTheirBaseLetter) {
    const struct {
        const char* bytes;
        const char* meaning;
    } kExpected[] = {
        {"Ren\xE2"
         "e",
         "acute e"},
        {"M\xE8"
         "uller",
         "diaeresis u"},
        {"Fran\xF0"
         "coise",
         "cedilla c"},
        {"\xA1ukasz", "capital L with stroke"},
        {"Bia\xB1ystok", "small l with stroke"},
        {"\xE9S\xE2"
         "arka",
         "caron S"},
        {"Do\xE6gan", "breve g"},
        {"S\xB2ren", "small o with stroke"},
        {"\xEA"
         "Aberg",
         "ring A"},
        {"Gro\xCF"
         "enhain",
         "sharp s"},
        {"\xA5r", "AE ligature"},
        {"\xF0Sahin", "cedilla S"},
    };
    for (const auto& expected : kExpected) {
        EXPECT_NE(AnselBytes().find(expected.bytes), std::string::npos) << expected.meaning;
    }
}

TEST(SampleAnsel, ScriptReproducesTheCommittedFile) {
    if (std::system("python3 --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
    const std::filesystem::path out = std::filesystem::temp_directory_path() /
                                      ("kindrel_ansel_" + std::to_string(::getpid()) + ".ged");
    const std::string command =
        "python3 '" + kSamples + "/make_ansel_sample.py' '" + out.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadBinaryFile(out.string()), AnselBytes());
    std::filesystem::remove(out);
}

}  // namespace
}  // namespace kindrel::testing
