// The checker that guards the sample files and the generator must itself reject each fault.
#include <gtest/gtest.h>

#include <string>

#include "gedcom_checker.h"

namespace kindrel::testing {
namespace {

// A small valid file with LF line ends; tests break one thing in it at a time.
const std::string kValid =
    "0 HEAD\n"
    "1 CHAR UTF-8\n"
    "0 @I1@ INDI\n"
    "1 NAME Jörg /Alder/\n"
    "1 FAMS @F1@\n"
    "1 NOTE First part of a lo\n"
    "2 CONC ng note\n"
    "2 CONT\n"
    "2 CONT second line\n"
    "0 @I2@ INDI\n"
    "1 NAME Ann /Alder/\n"
    "1 FAMC @F1@\n"
    "0 @I3@ INDI\n"
    "1 NAME Lone /Person/\n"
    "1 BIRT\n"
    "2 DATE @#DJULIAN@ 1 MAR 1700\n"
    "0 @F1@ FAM\n"
    "1 HUSB @I1@\n"
    "1 CHIL @I2@\n"
    "0 TRLR\n";

GedCheck Check(const std::string& text) {
    return CheckGedcom(text, LineEnds::kLf, TextEncoding::kUtf8);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(GedcomChecker, AcceptsTheValidFileAndMeasuresIt) {
    const GedCheck check = Check(kValid);
    EXPECT_TRUE(check.errors.empty()) << check.ErrorText();
    EXPECT_EQ(check.individuals, 3u);
    EXPECT_EQ(check.families, 1u);
    EXPECT_EQ(check.generations, 2u);
    EXPECT_EQ(check.islandSizes, (std::vector<size_t>{2, 1}));
}

TEST(GedcomChecker, RejectsWrongLineEnds) {
    EXPECT_FALSE(CheckGedcom(kValid, LineEnds::kCrlf, TextEncoding::kUtf8).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "0 @I3@ INDI\n", "0 @I3@ INDI\r\n")).errors.empty());
    EXPECT_FALSE(Check(kValid.substr(0, kValid.size() - 1)).errors.empty()) << "no final LF";
}

TEST(GedcomChecker, RejectsBadEncoding) {
    EXPECT_FALSE(Check(Replace(kValid, "J\xC3\xB6rg", "J\xF6rg")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "J\xC3\xB6rg", "J\xC0\xB6rg")).errors.empty()) << "overlong";
    EXPECT_FALSE(Check(Replace(kValid, "Lone", "Lo\tne")).errors.empty()) << "control byte";
    const std::string ansel = Replace(kValid, "J\xC3\xB6rg", "J\xE8org");
    EXPECT_TRUE(CheckGedcom(ansel, LineEnds::kLf, TextEncoding::kAnsel).errors.empty());
    const std::string dangling = Replace(kValid, "Lone", "Lone\xE2");
    EXPECT_FALSE(CheckGedcom(dangling, LineEnds::kLf, TextEncoding::kAnsel).errors.empty())
        << "combining mark without a base letter";
    const std::string undefined = Replace(kValid, "Lone", "Lo\x90ne");
    EXPECT_FALSE(CheckGedcom(undefined, LineEnds::kLf, TextEncoding::kAnsel).errors.empty());
}

TEST(GedcomChecker, RejectsBadLineSyntax) {
    EXPECT_FALSE(Check(Replace(kValid, "1 NAME Ann", "1  NAME Ann")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "1 NAME Ann", "10 NAME Ann")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "1 NAME Ann", "1 name Ann")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "1 BIRT\n", "1 BIRT \n")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "/Alder/\n1 FAMC", "/Alder/ \n1 FAMC")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "0 @I3@ INDI", "0 @I3 INDI")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "1 BIRT\n2 DATE", "1 BIRT\n3 DATE")).errors.empty())
        << "level jump";
}

TEST(GedcomChecker, RejectsBrokenRecordFrame) {
    EXPECT_FALSE(Check(Replace(kValid, "0 TRLR\n", "")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "0 HEAD\n1 CHAR UTF-8\n", "")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "0 @I3@ INDI", "0 @I2@ INDI")).errors.empty())
        << "duplicate identifier";
    EXPECT_FALSE(Check(Replace(kValid, "0 @I3@ INDI", "0 INDI")).errors.empty());
}

TEST(GedcomChecker, RejectsUnresolvedPointersAndWrongKinds) {
    EXPECT_FALSE(Check(Replace(kValid, "1 CHIL @I2@", "1 CHIL @I9@")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "1 HUSB @I1@", "1 HUSB @F1@")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "1 HUSB @I1@", "1 HUSB @I1")).errors.empty());
}

TEST(GedcomChecker, RejectsFamilyLinksThatDisagree) {
    EXPECT_FALSE(Check(Replace(kValid, "1 CHIL @I2@\n", "")).errors.empty()) << "FAMC alone";
    EXPECT_FALSE(Check(Replace(kValid, "1 FAMS @F1@\n", "")).errors.empty()) << "HUSB alone";
    EXPECT_FALSE(
        Check(Replace(kValid, "1 CHIL @I2@\n", "1 CHIL @I2@\n1 CHIL @I2@\n")).errors.empty());
}

TEST(GedcomChecker, RejectsMisplacedContinuations) {
    EXPECT_FALSE(Check(Replace(kValid, "1 BIRT\n", "1 BIRT\n2 CONT text\n")).errors.empty())
        << "continuation of a line without value";
    EXPECT_FALSE(
        Check(Replace(kValid, "2 CONT\n2 CONT second", "2 CONT\n3 CONT second")).errors.empty());
    EXPECT_FALSE(Check(Replace(kValid, "2 CONC ng note", "2 CONC")).errors.empty());
}

TEST(GedcomChecker, RejectsAPersonWhoIsTheirOwnAncestor) {
    const std::string loop = Replace(Replace(kValid, "1 FAMS @F1@\n", "1 FAMS @F1@\n1 FAMC @F1@\n"),
                                     "1 CHIL @I2@\n", "1 CHIL @I2@\n1 CHIL @I1@\n");
    EXPECT_FALSE(Check(loop).errors.empty());
}

}  // namespace
}  // namespace kindrel::testing
