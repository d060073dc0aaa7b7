// Loading GEDCOM files: the record pass, identifiers, links, header and every kind of bad
// input a file can bring.
#include "containers/errors.h"
#include "containers/ui_hooks.h"
#include "gedcom/ged_collection.h"
#include "tests/gedcom/ged_test_util.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>

#include <string>
#include <vector>

namespace kindrel {
namespace {

using test::Crlf;
using test::Lf;
using test::LoadedText;
using test::TempGedcom;

// A small family in GEDCOM, with the line break given.
std::string SmallFamily(const char* eol) {
    std::string text;
    for (const char* line :
         {"0 HEAD", "1 CHAR UTF-8", "0 @I1@ INDI", "1 NAME John /Smith/", "1 SEX M", "1 FAMS @F1@",
          "0 @I2@ INDI", "1 NAME Mary /Jones/", "1 SEX F", "1 FAMS @F1@", "0 @I3@ INDI",
          "1 NAME Tom /Smith/", "1 FAMC @F1@", "0 @F1@ FAM", "1 HUSB @I1@", "1 WIFE @I2@",
          "1 CHIL @I3@", "0 TRLR"}) {
        text += line;
        text += eol;
    }
    return text;
}

void ExpectSmallFamily(WGEDCollection& c) {
    ASSERT_EQ(c.IndividualCount(), 3);
    ASSERT_EQ(c.FamilyCount(), 1);
    EXPECT_EQ(c.FamilyLinks().Husband(1), 1);
    EXPECT_EQ(c.FamilyLinks().Wife(1), 2);
    EXPECT_EQ(c.FamilyLinks().ChildCount(1), 1);
    EXPECT_EQ(c.FamilyLinks().Child(1, 1), 3);
    EXPECT_EQ(c.Father(3), 1);
    EXPECT_EQ(c.Mother(3), 2);
    EXPECT_EQ(c.FullNameOf(3), "Tom /Smith/");
    EXPECT_EQ(c.GetIndividual(2)->Sex(), 'F');
}

TEST(GedcomLoad, LineBreaksOfEveryKindLoadTheSame) {
    for (const char* eol : {"\r\n", "\n", "\r", "\n\r"}) {
        LoadedText c(SmallFamily(eol));
        ASSERT_TRUE(c.loaded);
        ExpectSmallFamily(*c);
    }
}

TEST(GedcomLoad, MixedLineBreaksBlankLinesAndIndentation) {
    const std::string text =
        "0 HEAD\r\n1 CHAR UTF-8\n\n   \r\n0 @I1@ INDI\r1 NAME John /Smith/\r\n  1 SEX M\n"
        "1 FAMS @F1@\n\n\n0 @I2@ INDI\r\n1 NAME Mary /Jones/\n1 SEX F\r1 FAMS @F1@\n"
        "  0 @I3@ INDI\n1 NAME Tom /Smith/\n1 FAMC @F1@\n0 @F1@ FAM\n1 HUSB @I1@\n"
        "1 WIFE @I2@\r\n1 CHIL @I3@\r\n0 TRLR";
    LoadedText c(text);
    ASSERT_TRUE(c.loaded);
    ExpectSmallFamily(*c);
}

TEST(GedcomLoad, LastLineWithoutLineBreakAndNoTrailer) {
    std::string text = SmallFamily("\n");
    text.erase(text.find("0 TRLR"));
    text.pop_back();  // "1 CHIL @I3@" ends the file
    LoadedText c(text);
    ExpectSmallFamily(*c);
    // The last record's text runs to the end of the file.
    EXPECT_EQ(c->GetMarriage(1)->SpouseCount(), 2);
}

TEST(GedcomLoad, UtfEightByteOrderMarkDoesNotHideTheHeader) {
    LoadedText c("\xEF\xBB\xBF" + SmallFamily("\n"));
    ExpectSmallFamily(*c);
    EXPECT_NE(c->HeaderLine(), nullptr);
    EXPECT_EQ(c->CharSetCode(), kCharSetUtf8);
}

TEST(GedcomLoad, FileWithoutZeroLineLoadsEmpty) {
    LoadedText c("1 NAME nobody\n2 GIVN x\n");
    ASSERT_TRUE(c.loaded);
    EXPECT_EQ(c->IndividualCount(), 0);
    EXPECT_EQ(c->FamilyCount(), 0);
    EXPECT_EQ(c->HeaderLine(), nullptr);
    EXPECT_TRUE(c->GetHeaderInfo().empty());
    EXPECT_EQ(c->GetHeaderText(), "");
    EXPECT_EQ(c->GetSubmitter(), nullptr);
    EXPECT_EQ(c->CharSetCode(), kCharSetOther);
}

TEST(GedcomLoad, HeaderOnlyLoadsEmpty) {
    LoadedText c("0 HEAD\n1 CHAR ANSEL\n");
    ASSERT_TRUE(c.loaded);
    EXPECT_EQ(c->IndividualCount(), 0);
    EXPECT_EQ(c->CharSetCode(), kCharSetAnsel);
}

TEST(GedcomLoad, FileWithoutHeaderKeepsItsFirstRecord) {
    LoadedText c("0 @I1@ INDI\n1 NAME First /One/\n0 @I2@ INDI\n1 NAME Second /Two/\n");
    ASSERT_EQ(c->IndividualCount(), 2);
    EXPECT_EQ(c->FullNameOf(1), "First /One/");
    EXPECT_EQ(c->HeaderLine(), nullptr);
}

TEST(GedcomLoad, EmptyFileRaisesTheFileMessage) {
    TempGedcom file("");
    std::string error;
    try {
        OpenGedcomCollection(file.Path(), error);
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error using the file " + file.Path() +
                      "\r\nPlease check that this file is not being used by another application.");
    }
}

TEST(GedcomLoad, MissingFileRaisesTheFileMessage) {
    std::string error;
    EXPECT_THROW(OpenGedcomCollection("/nonexistent/kindrel/none.ged", error), EFileError);
}

TEST(GedcomLoad, OtherFormatsAreRefusedByExtension) {
    TempGedcom paf(SmallFamily("\n"), ".paf");
    std::string error;
    EXPECT_EQ(OpenGedcomCollection(paf.Path(), error), nullptr);
    EXPECT_EQ(error, "Unknown file format");
    TempGedcom upper(SmallFamily("\n"), ".GED");
    EXPECT_NE(OpenGedcomCollection(upper.Path(), error), nullptr);
    EXPECT_EQ(error, "");
    TempGedcom tmp(SmallFamily("\n"), ".tmp");
    EXPECT_NE(OpenGedcomCollection(tmp.Path(), error), nullptr);
    EXPECT_EQ(OpenGedcomCollection(paf.Path(), error, kKindGedcom) != nullptr, true)
        << "an explicit kind overrides the extension";
}

TEST(GedcomLoad, FileKindsOfExtensions) {
    EXPECT_EQ(FileKindFromExtension(".ged"), 1);
    EXPECT_EQ(FileKindFromExtension(".tmp"), 1);
    EXPECT_EQ(FileKindFromExtension(".sub"), 1);
    EXPECT_EQ(FileKindFromExtension(".paf"), 2);
    EXPECT_EQ(FileKindFromExtension(".ftw"), 4);
    EXPECT_EQ(FileKindFromExtension(".tmg"), 5);
    EXPECT_EQ(FileKindFromExtension(".GED"), 0);
    EXPECT_EQ(FileKindFromExtension("ged"), 0);
    EXPECT_EQ(FileKindFromExtension(""), 0);
}

// The small family as UTF-16 with or without a byte-order mark.
std::string Utf16(const std::string& text, bool bigEndian, bool mark) {
    std::string out;
    if (mark) out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text) {
        if (bigEndian) out += '\0';
        out += c;
        if (!bigEndian) out += '\0';
    }
    return out;
}

TEST(GedcomLoad, UnicodeFilesOfBothByteOrdersAreRefused) {
    for (const bool bigEndian : {false, true}) {
        for (const bool mark : {true, false}) {
            TempGedcom file(Utf16(SmallFamily("\r\n"), bigEndian, mark));
            EXPECT_TRUE(IsUnicodeFile(file.Path()));
            std::string error;
            EXPECT_EQ(OpenGedcomCollection(file.Path(), error), nullptr);
            EXPECT_EQ(error, "Error: Cannot read unicode GEDCOM file\r" + file.Path());
        }
    }
    TempGedcom plain(SmallFamily("\n"));
    EXPECT_FALSE(IsUnicodeFile(plain.Path()));
    TempGedcom tiny("0\0", ".ged");
    EXPECT_FALSE(IsUnicodeFile(tiny.Path()));
    EXPECT_FALSE(IsUnicodeFile("/nonexistent/kindrel/none.ged"));
}

// Neither a named pipe nor a file over 4 GB is waited on or read: the pipe is refused as
// what it is, the large file by its size before it is mapped (it is sparse, so scanning it
// would read gigabytes of zeros).
TEST(GedcomLoad, NamedPipesAndFilesOver4GBAreRefusedBeforeReading) {
    TempGedcom pipe("");
    std::filesystem::remove(pipe.Path());
    ASSERT_EQ(::mkfifo(pipe.Path().c_str(), 0600), 0);
    std::string error;
    EXPECT_THROW(IsUnicodeFile(pipe.Path()), ENotRegularFile);
    EXPECT_THROW(OpenGedcomCollection(pipe.Path(), error), ENotRegularFile);
    EXPECT_THROW(WGEDCollection{pipe.Path()}, ENotRegularFile);

    TempGedcom big("0 HEAD\n");
    std::error_code ec;
    std::filesystem::resize_file(big.Path(), 5LL << 30, ec);
    if (ec) GTEST_SKIP() << "no sparse 5 GB file here: " << ec.message();
    try {
        OpenGedcomCollection(big.Path(), error);
        ADD_FAILURE() << "a file over 4 GB was opened";
    } catch (const EFileTooLarge& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot read \"" + big.Path() +
                                             "\": at 5368709120 bytes it is larger than 4 GB, "
                                             "the largest GEDCOM file that can be read.");
    }
}

TEST(GedcomLoad, IdentifiersMissingUnclosedDuplicatedAndDangling) {
    const std::string text = Lf({
        "0 HEAD",
        "0 INDI",  // no identifier: not indexed
        "1 NAME Lost /Person/",
        "0 @I1 INDI",  // never closed: not indexed
        "1 NAME Half /Open/",
        "0 @I2@ INDI",
        "1 NAME First /Copy/",
        "1 FAMC @F9@",  // no such family
        "1 FAMS @F1@",
        "0 @I2@ INDI",  // the same identifier again
        "1 NAME Second /Copy/",
        "0 @F1@ FAM",
        "1 HUSB @I77@",  // no such individual
        "1 WIFE @I2@",
        "1 CHIL @@",
        "1 CHIL",
        "0 TRLR",
    });
    LoadedText c(text);
    ASSERT_TRUE(c.loaded);
    EXPECT_EQ(c->IndividualCount(), 2);
    EXPECT_EQ(c->FamilyCount(), 1);
    const int32_t found = c->FindIndividual("I2");
    EXPECT_TRUE(found == 1 || found == 2);
    EXPECT_EQ(c->FindIndividual("I1"), 0);
    EXPECT_EQ(c->GetMarriage(1)->Husband(), 0);
    EXPECT_EQ(c->GetMarriage(1)->Wife(), found);
    EXPECT_EQ(c->GetMarriage(1)->ChildCount(), 0);
    EXPECT_EQ(c->GetIndividual(1)->ParentFamilyCount(), 0);
}

TEST(GedcomLoad, RecordsAfterTheTrailerAreNotIndexed) {
    LoadedText c(Lf({"0 HEAD", "0 @I1@ INDI", "0 TRLR", "0 @I2@ INDI"}));
    EXPECT_EQ(c->IndividualCount(), 1);
}

TEST(GedcomLoad, LinesWithoutTagsAndBinaryJunkDoNotStopTheLoad) {
    std::string text = "0 HEAD\n1\n\n2 \n0\n0 @\n0 @@\n3 X\n";
    for (int b = 1; b < 256; ++b) text += char(b);
    text += "\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX\n1 BIRT\n2 DATE\n1 FAMS @\n";
    text += std::string("\0\0\0\x80\xFF", 5);
    text += "\n0 @I2@ INDI\n1";
    LoadedText c(text);
    ASSERT_TRUE(c.loaded);
    EXPECT_EQ(c->FindIndividual("I1"), 1) << "0 @@ without a tag is no individual";
    EXPECT_GE(c->IndividualCount(), 2);
    EXPECT_EQ(c->GetIndividual(c->FindIndividual("I1"))->Sex(), 'U');
    EXPECT_EQ(c->FullNameOf(c->FindIndividual("I1")), "A /B/");
}

TEST(GedcomLoad, FamilyNamingItselfAndPersonAsOwnParent) {
    const std::string text = Lf({
        "0 HEAD",
        "0 @X1@ INDI",
        "1 NAME Own /Father/",
        "1 FAMC @X1@",
        "1 FAMS @X1@",
        "0 @X1@ FAM",
        "1 HUSB @X1@",
        "1 CHIL @X1@",
        "1 CHIL @X1@",
        "0 TRLR",
    });
    LoadedText c(text);
    ASSERT_TRUE(c.loaded);
    EXPECT_EQ(c->Father(1), 1);
    EXPECT_EQ(c->GetIndividual(1)->ParentFamilyCount(), 1);
    EXPECT_EQ(c->GetIndividual(1)->SpouseFamilyCount(), 1);
    EXPECT_EQ(c->GetMarriage(1)->ChildCount(), 1);
    EXPECT_EQ(c->AncestorTotal(1), 0);
    EXPECT_EQ(c->DescendantTotal(1), 0);
    c->GetMarriage(1)->OrderChildren();
    EXPECT_FALSE(c->SummaryBlock(1).empty());
}

// Everyone reached from n through parent (up) or child links, read from the records.
int32_t RecordWalkTotal(WGEDCollection& c, int32_t n, bool up) {
    std::vector<bool> seen(size_t(c.IndividualCount()) + 1, false);
    std::vector<int32_t> pending{n};
    seen[size_t(n)] = true;
    int32_t total = 0;
    while (!pending.empty()) {
        const int32_t x = pending.back();
        pending.pop_back();
        const auto person = c.GetIndividual(x);
        std::vector<int32_t> next;
        const int32_t count = up ? person->ParentFamilyCount() : person->SpouseFamilyCount();
        for (int32_t i = 1; i <= count; ++i) {
            const auto family = c.GetMarriage(up ? person->ParentFamily(i) : person->SpouseFamily(i));
            if (up) {
                next.push_back(family->Husband());
                next.push_back(family->Wife());
            } else {
                for (int32_t k = 1; k <= family->ChildCount(); ++k) next.push_back(family->Child(k));
            }
        }
        for (const int32_t y : next)
            if (y > 0 && !seen[size_t(y)]) {
                seen[size_t(y)] = true;
                ++total;
                pending.push_back(y);
            }
    }
    return total;
}

TEST(GedcomLoad, TreeMeasuresFromTheLinkTablesEqualAWalkOverTheRecords) {
    // Two brothers' children marry (a cousin marriage: their child is reached twice), a
    // family names a wife who has no record, and a person is his own grandfather.
    const std::string text = Lf({
        "0 HEAD",          "0 @G@ INDI",      "1 FAMS @F0@",     "0 @A@ INDI",
        "1 FAMC @F0@",     "1 FAMS @FA@",     "0 @B@ INDI",      "1 FAMC @F0@",
        "1 FAMS @FB@",     "0 @C@ INDI",      "1 FAMC @FA@",     "1 FAMS @FC@",
        "0 @D@ INDI",      "1 FAMC @FB@",     "1 FAMS @FC@",     "0 @E@ INDI",
        "1 FAMC @FC@",     "0 @L@ INDI",      "1 FAMC @FL2@",    "1 FAMS @FL1@",
        "0 @M@ INDI",      "1 FAMC @FL1@",    "1 FAMS @FL2@",    "0 @F0@ FAM",
        "1 HUSB @G@",      "1 CHIL @A@",      "1 CHIL @B@",      "0 @FA@ FAM",
        "1 HUSB @A@",      "1 WIFE @NOBODY@", "1 CHIL @C@",      "0 @FB@ FAM",
        "1 HUSB @B@",      "1 CHIL @D@",      "0 @FC@ FAM",      "1 HUSB @C@",
        "1 WIFE @D@",      "1 CHIL @E@",      "0 @FL1@ FAM",     "1 HUSB @L@",
        "1 CHIL @M@",      "0 @FL2@ FAM",     "1 HUSB @M@",      "1 CHIL @L@",
        "0 TRLR",
    });
    LoadedText c(text);
    ASSERT_TRUE(c.loaded);
    ASSERT_EQ(c->IndividualCount(), 8);
    EXPECT_EQ(c->DescendantTotal(1), 5);  // A, B, C, D and E once
    EXPECT_EQ(c->AncestorTotal(6), 5);    // D, C, B, A, G
    for (int32_t n = 1; n <= c->IndividualCount(); ++n) {
        EXPECT_EQ(c->DescendantTotal(n), RecordWalkTotal(*c, n, false)) << n;
        EXPECT_EQ(c->AncestorTotal(n), RecordWalkTotal(*c, n, true)) << n;
    }
}

TEST(GedcomLoad, ChildNamedTwiceIsListedOnceAndParentFamilyOnce) {
    const std::string text =
        Lf({"0 HEAD", "0 @I1@ INDI", "1 FAMC @F1@", "1 FAMS @F2@", "1 FAMS @F2@", "0 @F1@ FAM",
            "1 CHIL @I1@", "0 @F2@ FAM", "1 HUSB @I1@", "0 TRLR"});
    LoadedText c(text);
    EXPECT_EQ(c->GetIndividual(1)->ParentFamilyCount(), 1);
    EXPECT_EQ(c->GetMarriage(1)->ChildCount(), 1);
    EXPECT_EQ(c->GetIndividual(1)->SpouseFamilyCount(), 1);
}

TEST(GedcomLoad, ChildrenComeInTheOrderOfFamcThenChil) {
    const std::string text =
        Lf({"0 HEAD", "0 @I1@ INDI", "0 @I2@ INDI", "1 FAMC @F1@", "0 @I3@ INDI", "0 @I4@ INDI",
            "1 FAMC @F1@", "0 @F1@ FAM", "1 CHIL @I3@", "1 CHIL @I4@", "1 CHIL @I1@", "0 TRLR"});
    LoadedText c(text);
    const auto family = c->GetMarriage(1);
    ASSERT_EQ(family->ChildCount(), 4);
    EXPECT_EQ(family->Child(1), 2);
    EXPECT_EQ(family->Child(2), 4);
    EXPECT_EQ(family->Child(3), 3);
    EXPECT_EQ(family->Child(4), 1);
}

TEST(GedcomLoad, LongIdentifiersAreFoundWhole) {
    const std::string text = Lf({
        "0 HEAD",
        "0 @INDIVIDUAL_00000000001@ INDI",
        "1 NAME Long /One/",
        "1 FAMS @FAMILY_RECORD_000000000000001@",
        "0 @INDIVIDUAL_00000000002@ INDI",
        "1 NAME Long /Two/",
        "1 FAMC @FAMILY_RECORD_000000000000001@",
        "0 @FAMILY_RECORD_000000000000001@ FAM",
        "1 HUSB @INDIVIDUAL_00000000001@",
        "1 CHIL @INDIVIDUAL_00000000002@",
        "0 TRLR",
    });
    LoadedText c(text);
    EXPECT_EQ(c->FindIndividual("INDIVIDUAL_00000000001"), 1);
    EXPECT_EQ(c->FindIndividual("INDIVIDUAL_00000000002"), 2);
    EXPECT_EQ(c->FindIndividual("INDIVIDUAL_0"), 0);
    EXPECT_EQ(c->FindFamily("FAMILY_RECORD_000000000000001"), 1);
    EXPECT_EQ(c->Father(2), 1);
    EXPECT_EQ(c->GetIndividual(2)->IdText(), "NDIVIDUAL_00000000002");
    const std::string report = c->GetIndividual(1)->DisplayName();
    EXPECT_NE(report.find("NDIVIDUAL_00000000001"), std::string::npos);
}

TEST(GedcomLoad, TwelveCharacterIdentifierIsFound) {
    LoadedText c(Lf({"0 HEAD", "0 @I12345678901@ INDI", "1 NAME Twelve /Chars/", "0 TRLR"}));
    EXPECT_EQ(c->FindIndividual("I12345678901"), 1);
    EXPECT_EQ(c->FindIndividual("I1234567890"), 0);
}

TEST(GedcomLoad, RecordKindsFallIntoTheirBuckets) {
    const std::string text =
        Lf({"0 HEAD", "1 SUBM @U1@", "0 @U1@ SUBM", "1 NAME Sub Mitter", "0 @N1@ NOTE x",
            "0 @S1@ SOUR", "0 @R1@ REPO", "0 @O1@ OBJE", "0 @B1@ SUBN", "0 @C1@ _CUSTOM", "0 @D1@",
            "0 @F1@ FAMILY", "0 TRLR"});
    LoadedText c(text);
    EXPECT_EQ(c->Count(kBucketSubmitter), 3);
    EXPECT_EQ(c->NoteCount(), 1);
    EXPECT_EQ(c->SourceCount(), 1);
    EXPECT_EQ(c->Count(kBucketRepository), 1);
    EXPECT_EQ(c->Count(kBucketObject), 1);
    EXPECT_EQ(c->Count(kBucketSubmission), 1);
    EXPECT_EQ(c->FamilyCount(), 1);
    EXPECT_EQ(c->FindRepo("R1"), 1);
    EXPECT_EQ(c->FindNote("N1"), 1);
    EXPECT_EQ(c->FindSource("S1"), 1);
    EXPECT_EQ(c->GetSubmitter()->SubmitterField(WABSSubmitter::kName), "Sub Mitter");
}

TEST(GedcomLoad, RecordNumbersOutsideTheIndexesRaiseTheIndexMessage) {
    LoadedText c(SmallFamily("\n"));
    EXPECT_EQ(c->GetIndividual(0), nullptr);
    EXPECT_EQ(c->GetMarriage(0), nullptr);
    EXPECT_EQ(c->GetNote(0), nullptr);
    EXPECT_THROW(c->GetIndividual(4), EIndexError);
    EXPECT_THROW(c->GetIndividual(-1), EIndexError);
    EXPECT_THROW(c->GetMarriage(2), EIndexError);
    EXPECT_THROW(c->GetNote(1), EIndexError);
    EXPECT_EQ(c->GetSource(1), nullptr) << "the file has no sources";
    EXPECT_EQ(c->GetRepo(1), nullptr) << "the file has no repositories";
}

TEST(GedcomLoad, HeaderRowsInFileOrderWithTimeAfterDate) {
    const std::string text = Crlf({
        "0 HEAD",
        "1 SOUR PAF",
        "2 NAME Personal Ancestral File",
        "2 VERS 2.2",
        "2 CORP Someone",
        "3 ADDR 1 Road",
        "1 DEST ANY",
        "1 DATE 1 JAN 2000",
        "2 TIME 12:34:56",
        "1 FILE family.ged",
        "1 GEDC",
        "2 VERS 5.5",
        "2 FORM LINEAGE-LINKED",
        "1 CHAR ANSEL",
        "1 LANG English",
        "0 TRLR",
    });
    LoadedText c(text);
    const std::vector<HeaderInfoRow> rows = c->GetHeaderInfo();
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Source", "PAF"},
        {"Source Name", "Personal Ancestral File"},
        {"Source Version", "2.2"},
        {"Source Corp.", "Someone"},
        {"Source Address", "1 Road"},
        {"Destination", "ANY"},
        {"Date", "1 JAN 2000 12:34:56"},
        {"File name", "family.ged"},
        {"GEDC Version", "5.5"},
        {"GEDC Form", "LINEAGE-LINKED"},
        {"Char Set", "ANSEL"}};
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k].label, expected[k].first);
        EXPECT_EQ(rows[k].value, expected[k].second);
        EXPECT_EQ(rows[k].third, "");
    }
    EXPECT_EQ(c->GetHeaderText().substr(0, 16), "0 HEAD\r\n1 SOUR P");
}

TEST(GedcomLoad, HeaderRowsStopAtOneHundred) {
    std::string text = "0 HEAD\n";
    for (int k = 0; k < 150; ++k) text += "1 DEST D" + std::to_string(k) + "\n";
    LoadedText c(text);
    const std::vector<HeaderInfoRow> rows = c->GetHeaderInfo();
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows.back().value, "D99");
}

TEST(GedcomLoad, HeaderTextOfAnLfFileUsesCrLf) {
    LoadedText c("0 HEAD\n1 CHAR UTF-8\n1 NOTE caf\xC3\xA9\n0 TRLR\n");
    EXPECT_EQ(c->GetHeaderText(), "0 HEAD\r\n1 CHAR UTF-8\r\n1 NOTE caf\xC3\xA9\r\n");
}

TEST(GedcomLoad, SubmitterMissingOrDanglingGivesNone) {
    LoadedText dangling(Lf({"0 HEAD", "1 SUBM @U9@", "1 SUBM @U1@", "0 @U1@ SUBM", "0 TRLR"}));
    EXPECT_EQ(dangling->GetSubmitter(), nullptr) << "the first named submitter decides";
    LoadedText skipped(
        Lf({"0 HEAD", "1 SUBM", "1 SUBM @U1@", "0 @U1@ SUBM", "1 NAME Ann", "0 TRLR"}));
    ASSERT_NE(skipped->GetSubmitter(), nullptr);
    EXPECT_EQ(skipped->GetSubmitter()->SubmitterField(WABSSubmitter::kName), "Ann");
}

TEST(GedcomLoad, CharacterSetsFromTheHeader) {
    const struct {
        const char* charLine;
        int code;
        bool cp437;
    } cases[] = {{"1 CHAR ANSEL", kCharSetAnsel, false}, {"1 CHAR  ansel ", kCharSetAnsel, false},
                 {"1 CHAR UTF-8", kCharSetUtf8, false},  {"1 CHAR ANSI", kCharSetOther, false},
                 {"1 CHAR IBMPC", kCharSetOther, true},  {"2 CHAR ANSEL", kCharSetOther, false}};
    for (const auto& entry : cases) {
        LoadedText c(std::string("0 HEAD\n") + entry.charLine + "\n0 TRLR\n");
        EXPECT_EQ(c->CharSetCode(), entry.code) << entry.charLine;
        EXPECT_EQ(c->IsCodePage437(), entry.cp437) << entry.charLine;
    }
}

TEST(GedcomLoad, ConversionFollowsTheCharacterSet) {
    const std::string name =
        "0 @I1@ INDI\n1 NAME Ren\xE2"
        "e /L\xE9"
        "egar\x82/\n";
    LoadedText ansel("0 HEAD\n1 CHAR ANSEL\n" + name);
    EXPECT_EQ(ansel->FullNameOf(1), "Ren\xC3\xA9 /L\xC4\x9Bgar\xE2\x80\x9A/");
    LoadedText ibm("0 HEAD\n1 CHAR IBMPC\n0 @I1@ INDI\n1 NAME Ren\x82 /X/\n");
    EXPECT_EQ(ibm->FullNameOf(1), "Ren\xC3\xA9 /X/");
    LoadedText ansi("0 HEAD\n1 CHAR ANSI\n0 @I1@ INDI\n1 NAME Ren\xE9 /X/\n");
    EXPECT_EQ(ansi->FullNameOf(1), "Ren\xC3\xA9 /X/");
    LoadedText utf8("0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME Ren\xC3\xA9 /X\xE9/\n");
    EXPECT_EQ(utf8->FullNameOf(1), "Ren\xC3\xA9 /X\xC3\xA9/");
}

TEST(GedcomLoad, LinesLongerThanSixteenBitsAreRead) {
    const std::string longValue(70000, 'x');
    std::string text = "0 HEAD\n0 @I1@ INDI\n1 NAME Big /Note/\n1 NOTE " + longValue + "\n";
    text += "2 CONT " + longValue + "\n1 SEX F\n0 @" + std::string(70000, 'L') + "@ INDI\n";
    text += "1 NAME Long /Identifier/\n0 TRLR\n";
    LoadedText c(text);
    ASSERT_EQ(c->IndividualCount(), 2);
    const auto person = c->GetIndividual(1);
    EXPECT_EQ(person->Sex(), 'F') << "the SEX line lies beyond 65535 bytes";
    const auto note = person->Note();
    ASSERT_NE(note, nullptr);
    ASSERT_EQ(note->LineCount(), 2);
    EXPECT_EQ(note->Line(1), longValue);
    EXPECT_EQ(c->FindIndividual(std::string(70000, 'L')), 2);
}

TEST(GedcomLoad, KeyLinesBeyondTheLineCacheAreFoundByAScan) {
    std::string text = "0 HEAD\n0 @I1@ INDI\n1 NAME Early /Name/\n1 BIRT\n2 DATE 1800\n";
    for (int k = 0; k < 4000; ++k) text += "1 RESI\n2 PLAC Somewhere far away in the file\n";
    text += "1 BIRT\n2 DATE 1801\n1 DEAT\n2 DATE 1870\n1 CHR\n2 DATE 1802\n1 BURI\n";
    text += "1 AFN FAR-AFN\n1 CHAN\n2 DATE 1 JAN 2000\n1 BAPL\n2 DATE 1900\n1 ENDL\n";
    text += "1 SLGC\n2 STAT BIC\n1 NOTE far note\n1 NOTE second note\n0 TRLR\n";
    LoadedText c(text);
    const auto person = c->GetIndividual(1);
    ASSERT_GT(text.size(), 65535u * 2);
    EXPECT_EQ(person->DateText(kEventBirth), "1801") << "the later BIRT wins";
    EXPECT_EQ(person->DateText(kEventDeath), "1870");
    EXPECT_EQ(person->DateText(kEventChristening), "1802");
    EXPECT_EQ(person->EventCount(kEventBurial), 1);
    EXPECT_EQ(person->AfnText(), "FAR-AFN");
    EXPECT_EQ(person->ChangeDateText(), "1 JAN 2000");
    EXPECT_TRUE(person->HasLDSEvent(kEventLdsBaptism));
    EXPECT_TRUE(person->HasLDSEvent(kEventLdsEndowment));
    EXPECT_TRUE(person->HasLDSEvent(kEventLdsSealingToParents));
    EXPECT_EQ(person->FullName(false), "Early /Name/");
    EXPECT_EQ(person->NoteText(), "far note\r\n\r\nsecond note");
    EXPECT_EQ(person->EventCount(kEventOther), 499) << "other events stop at 499";
    // A second object for the same individual reads the same through the shared cache.
    EXPECT_EQ(c->GetIndividual(1)->DateText(kEventBirth), "1801");
}

TEST(GedcomLoad, ProgressIsReportedAndEventsPumped) {
    std::string text = "0 HEAD\n";
    for (int k = 1; k <= 1200; ++k) text += "0 @I" + std::to_string(k) + "@ INDI\n";
    int pumps = 0;
    int reports = 0;
    Hooks().pumpEvents = [&] { ++pumps; };
    Hooks().progress = [&](const std::string&, long long, long long) { ++reports; };
    LoadedText c(text);
    Hooks().pumpEvents = nullptr;
    Hooks().progress = nullptr;
    EXPECT_TRUE(c.loaded);
    EXPECT_GE(pumps, 3) << "at the first record and at every 500th";
    EXPECT_GE(reports, 1);
}

TEST(GedcomLoad, CancelStopsTheLoad) {
    std::string text = "0 HEAD\n";
    for (int k = 1; k <= 1200; ++k) text += "0 @I" + std::to_string(k) + "@ INDI\n";
    Hooks().pumpEvents = [] { SetCancelRequested(true); };
    LoadedText c(text);
    Hooks().pumpEvents = nullptr;
    SetCancelRequested(false);
    EXPECT_FALSE(c.loaded);
}

TEST(GedcomLoad, FileSizeAndDateTexts) {
    std::string text = SmallFamily("\n");
    text += std::string(1234567 - text.size(), '\n');
    LoadedText c(text);
    EXPECT_EQ(c->FileSizeText(), "1,234,567");
    const std::string date = c->FileDateText();
    // "dd mmm yyyy, h:mm AM/PM"
    ASSERT_GE(date.size(), 19u);
    EXPECT_EQ(date[2], ' ');
    EXPECT_EQ(date.substr(6, 1), " ");
    EXPECT_EQ(date.substr(11, 2), ", ");
    EXPECT_TRUE(date.ends_with(" AM") || date.ends_with(" PM")) << date;
    EXPECT_EQ(c->InfoText(), "N/A");
    EXPECT_EQ(c->Kind(), kKindGedcom);
}

}  // namespace
}  // namespace kindrel
