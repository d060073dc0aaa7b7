#include "gedcom/gedcom_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kindrel {
namespace {

// A text held in its own heap block, so end() is exactly one past the last byte.
struct Text {
    explicit Text(std::string s) : bytes(std::move(s)) {}
    const char* begin() const { return bytes.data(); }
    const char* end() const { return bytes.data() + bytes.size(); }
    const char* at(std::string_view needle) const {
        const auto pos = bytes.find(needle);
        return pos == std::string::npos ? nullptr : bytes.data() + pos;
    }
    std::string bytes;
};

std::string WithBreaks(const std::string& lfText, const std::string& lineBreak) {
    std::string out;
    for (const char c : lfText) {
        if (c == '\n') {
            out += lineBreak;
        } else {
            out += c;
        }
    }
    return out;
}

const char* const kSample =
    "0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME John /Smith/  \n1 BIRT\n2 DATE 1 JAN 1900\n"
    "2 PLAC Boston\n0 @F1@ FAM\n1 HUSB @I1@\n0 TRLR";

std::vector<std::string> WalkLines(const Text& t) {
    std::vector<std::string> lines;
    for (const char* p = t.begin(); p != nullptr; p = NextLine(p, t.end(), true)) {
        lines.emplace_back(p, std::size_t(FindLineBreak(p, t.end()) - p));
    }
    return lines;
}

std::vector<std::string> WalkRecords(const Text& t) {
    std::vector<std::string> heads;
    for (const char* p = t.begin(); p != nullptr; p = NextRecord(p, t.end())) {
        heads.emplace_back(p, std::size_t(FindLineBreak(p, t.end()) - p));
    }
    return heads;
}

TEST(GedcomLines, LfCrLfAndCrOnlyFilesWalkTheSame) {
    const Text lf(kSample);
    const Text crlf(WithBreaks(kSample, "\r\n"));
    const Text cr(WithBreaks(kSample, "\r"));
    EXPECT_EQ(WalkLines(lf).size(), 10u);
    EXPECT_EQ(WalkLines(lf), WalkLines(crlf));
    EXPECT_EQ(WalkLines(lf), WalkLines(cr));
    const std::vector<std::string> heads = {"0 HEAD", "0 @I1@ INDI", "0 @F1@ FAM", "0 TRLR"};
    EXPECT_EQ(WalkRecords(lf), heads);
    EXPECT_EQ(WalkRecords(crlf), heads);
    EXPECT_EQ(WalkRecords(cr), heads);
    for (const Text* t : {&lf, &crlf, &cr}) {
        EXPECT_EQ(TagValue(t->at("1 NAME"), t->end()), "John /Smith/");
        EXPECT_EQ(LineValue(t->at("1 NAME") + 6, t->end()), "John /Smith/");
        EXPECT_EQ(LineValue(t->at("1 NAME") + 7, t->end()), "John /Smith/");
    }
    EXPECT_TRUE(UsesLF(lf.begin(), lf.end()));
    EXPECT_FALSE(UsesLF(crlf.begin(), crlf.end()));
    EXPECT_FALSE(UsesLF(cr.begin(), cr.end()));
    const Text oneLine("0 HEAD");
    EXPECT_FALSE(UsesLF(oneLine.begin(), oneLine.end()));
}

TEST(GedcomLines, NextLineSkipsBlankAndSpaceOnlyLines) {
    const Text t("0 HEAD\n\n   \n\t\r\n1 CHAR UTF-8\n  \n");
    const char* next = NextLine(t.begin(), t.end(), true);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(std::string(next, 12), "1 CHAR UTF-8");
    // Only blanks after the last line: there is no next line.
    EXPECT_EQ(NextLine(next, t.end(), true), nullptr);
}

TEST(GedcomLines, NextLineWithoutSkippingStopsAfterOneBreakCharacter) {
    const Text t("0 HEAD\r\n1 CHAR X");
    const char* next = NextLine(t.begin(), t.end(), false);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(*next, '\n');
    const Text endsInBreak("0 HEAD\n");
    EXPECT_EQ(NextLine(endsInBreak.begin(), endsInBreak.end(), false), nullptr);
}

TEST(GedcomLines, LastLineWithoutABreakIsReadToTheEnd) {
    const Text t("0 HEAD\n1 NOTE last words   ");
    const char* last = NextLine(t.begin(), t.end(), true);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(TagValue(last, t.end()), "last words");
    EXPECT_EQ(NextLine(last, t.end(), true), nullptr);
    EXPECT_EQ(NextRecord(last, t.end()), nullptr);
    EXPECT_EQ(NextLine(nullptr, t.end(), true), nullptr);
    EXPECT_EQ(NextLine(t.end(), t.end(), true), nullptr);
}

TEST(GedcomLines, NextRecordNeverReturnsItsOwnLineNorAnIndentedHead) {
    const Text t("0 @I1@ INDI\n1 NAME A\n  0 @I2@ INDI\n1 NAME B\n0 @I3@ INDI\n");
    const char* next = NextRecord(t.begin(), t.end());
    EXPECT_EQ(next, t.at("0 @I3@"));
    EXPECT_EQ(NextRecord(t.begin() + 3, t.end()), t.at("0 @I3@"));
    EXPECT_EQ(NextRecord(next, t.end()), nullptr);
    // From the line break itself the following line counts as after p.
    const Text u("1 X\n0 TRLR");
    EXPECT_EQ(NextRecord(u.at("\n"), u.end()), u.at("0 TRLR"));
}

TEST(GedcomLines, LineValueTrimsSpacesButKeepsTabs) {
    const Text t("1 NOTE   \tvalue\t with  spaces   \r\n");
    EXPECT_EQ(LineValue(t.begin() + 6, t.end()), "\tvalue\t with  spaces");
    EXPECT_EQ(LineValue(nullptr, t.end()), "");
    EXPECT_EQ(LineValue(t.end(), t.end()), "");
    const Text empty("1 BIRT\r\n2 DATE 1900");
    EXPECT_EQ(TagValue(empty.begin(), empty.end()), "");
    // A line shorter than the tag never reads into the next line.
    const Text shortLine("1 SEX\n2 DATE 1900");
    EXPECT_EQ(TagValue(shortLine.begin(), shortLine.end()), "");
}

TEST(GedcomLines, LongValuesComeBackWhole) {
    const std::string big(100000, 'x');
    const Text t("1 NOTE " + big + "\n1 SEX M");
    EXPECT_EQ(TagValue(t.begin(), t.end()).size(), big.size());
    EXPECT_EQ(ReadText(t.begin() + 6, t.end()).at(0).size(), big.size());
    const Text record("0 @N1@ NOTE " + big + "\n0 TRLR");
    EXPECT_EQ(RawRecordText(record.begin(), record.end()).size(), 12 + big.size() + 1);
}

TEST(GedcomLines, LineLevelReadsTheNumberBeforeTheFirstSpace) {
    const Text t("0 HEAD\n12 NOTE deep\nX NOTE\n 1 NAME\n1234567890 X\n7");
    EXPECT_EQ(LineLevel(t.begin(), t.end()), 0);
    EXPECT_EQ(LineLevel(t.at("12 NOTE"), t.end()), 12);
    EXPECT_EQ(LineLevel(t.at("X NOTE"), t.end()), 0);
    EXPECT_EQ(LineLevel(t.at(" 1 NAME"), t.end()), 0);
    EXPECT_EQ(LineLevel(t.at("1234567890"), t.end()), 0);
    EXPECT_EQ(LineLevel(t.at("\n7") + 1, t.end()), 7);
    EXPECT_EQ(LineLevel(nullptr, t.end()), 0);
}

TEST(GedcomLines, RecordKindsOfTheRecordHeads) {
    struct Case {
        const char* line;
        int kind;
    };
    const Case cases[] = {
        {"0 @I1@ INDI\n", kKindIndividual}, {"0 @F1@ FAM\n", kKindFamily},
        {"0 @F1@ FAMILY\n", kKindFamily},   {"0 @U1@ SUBM\n", kKindSubmitter},
        {"0 @X1@\n1 NAME", kKindSubmitter}, {"0 HEAD\n", kKindNoXref},
        {"0 @O1@ OBJE\n", kKindObject},     {"0 @N1@ NOTE text\n", kKindNote},
        {"0 @R1@ REPO\n", kKindRepository}, {"0 @S1@ SOUR\n", kKindSource},
        {"0 @B1@ SUBN\n", kKindSubmission}, {"0 @C1@ _CUSTOM\n", kKindSubmitter},
        {"0 @I1 INDI\n", kKindNoXref},      {"0 @I1@   INDI", kKindIndividual},
        {"0 @I1@ IN", kKindSubmitter},      {"0 @I1@", kKindSubmitter},
        {"0 @I1\n@ INDI", kKindNoXref},
    };
    for (const Case& c : cases) {
        const Text t(c.line);
        EXPECT_EQ(RecordKind(t.begin(), t.end()), c.kind) << c.line;
    }
    EXPECT_EQ(RecordKind(nullptr, nullptr), kKindNoXref);
}

TEST(GedcomLines, ExtractXrefKeepsLongIdentifiersWhole) {
    const Text t("0 @I12@ INDI\n");
    EXPECT_EQ(ExtractXref(t.begin(), t.end(), false), "I12");
    EXPECT_EQ(ExtractXref(t.begin(), t.end(), true), "12");
    EXPECT_EQ(ExtractXref(t.begin() + 2, t.end(), false), "I12");
    const std::string id17 = "ABCDEFGHIJKLMNOPQ";
    const std::string id25 = "I0000000000000000000000025";
    const Text a("0 @" + id17 + "@ INDI\n");
    const Text b("1 FAMS @" + id25 + "@");
    EXPECT_EQ(ExtractXref(a.begin(), a.end(), false), id17);
    EXPECT_EQ(ExtractXref(b.begin(), b.end(), false), id25);
    EXPECT_EQ(ExtractXref(b.begin(), b.end(), true), id25.substr(1));
}

TEST(GedcomLines, ExtractXrefWithoutTwoAtSignsOnTheLineIsNone) {
    const Text head("0 HEAD\n1 SUBM @U1@");
    EXPECT_FALSE(ExtractXref(head.begin(), head.end(), false).has_value());
    const Text cut("0 @I123456789012345");
    EXPECT_FALSE(ExtractXref(cut.begin(), cut.end(), false).has_value());
    const Text split("1 NOTE mail@\n2 CONT example@org");
    EXPECT_FALSE(ExtractXref(split.begin(), split.end(), false).has_value());
    const Text escaped("1 ADDR h.e@@gmx.de");
    const auto empty = ExtractXref(escaped.begin(), escaped.end(), false);
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(*empty, "");
    EXPECT_EQ(ExtractXref(escaped.begin(), escaped.end(), true), "");
    EXPECT_FALSE(ExtractXref(nullptr, nullptr, false).has_value());
}

TEST(GedcomLines, RawRecordTextRunsToTheNextRecordOrTheEndOfTheFile) {
    const Text t("0 @I1@ INDI\r\n1 NAME A\r\n0 @I2@ INDI\r\n1 NAME B\r\n");
    EXPECT_EQ(RawRecordText(t.begin(), t.end()), "0 @I1@ INDI\r\n1 NAME A\r\n");
    // The last record has no level-0 line after it: its text runs to the end of the file.
    EXPECT_EQ(RawRecordText(t.at("0 @I2@"), t.end()), "0 @I2@ INDI\r\n1 NAME B\r\n");
    const Text noBreak("0 TRLR");
    EXPECT_EQ(RawRecordText(noBreak.begin(), noBreak.end()), "0 TRLR");
    EXPECT_EQ(RawRecordText(nullptr, nullptr), "");
}

TEST(GedcomLines, ReadTextJoinsConcAndSplitsCont) {
    const Text t("1 NOTE First\n2 CONC part\n2 CONT second\n2 CONT\n2 CONC tail\n1 SEX M\n");
    const auto text = ReadText(t.begin() + 6, t.end());
    EXPECT_EQ(text, (std::vector<std::string>{"Firstpart", "second", "tail"}));
}

TEST(GedcomLines, ReadTextKeepsTheSpaceAtAConcSplit) {
    // Writers split long values before or after a space; both keep the word apart.
    const Text after("1 NOTE First \n2 CONC part\n");
    EXPECT_EQ(ReadText(after.begin() + 6, after.end()), (std::vector<std::string>{"First part"}));
    const Text before("1 NOTE First\n2 CONC  part\n");
    EXPECT_EQ(ReadText(before.begin() + 6, before.end()), (std::vector<std::string>{"First part"}));
    const Text two("1 NOTE First\n2 CONC   part\n2 CONT second  \n");
    EXPECT_EQ(ReadText(two.begin() + 6, two.end()),
              (std::vector<std::string>{"First  part", "second"}));
    const Text indent("1 NOTE List:\n2 CONT    - item\n");
    EXPECT_EQ(ReadText(indent.begin() + 6, indent.end()),
              (std::vector<std::string>{"List:", "   - item"}));
}

TEST(GedcomLines, ReadTextStopsAtOtherTagsAndAtTheEnd) {
    const Text t("1 NOTE a\r\n2 SOUR @S1@\r\n2 CONC b\r\n");
    EXPECT_EQ(ReadText(t.begin() + 6, t.end()), (std::vector<std::string>{"a"}));
    const Text end("1 NOTE a\n2 CONC b");
    EXPECT_EQ(ReadText(end.begin() + 6, end.end()), (std::vector<std::string>{"ab"}));
    const Text cut("1 NOTE a\n2 CON");
    EXPECT_EQ(ReadText(cut.begin() + 6, cut.end()), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(ReadText(nullptr, nullptr).empty());
}

TEST(GedcomLines, EventDateValueExaminesExactlyOneLine) {
    const Text t("1 BIRT\n2 DATE 5 MAY 1901\n2 PLAC Rome\n1 DEAT\n2 PLAC Paris\n2 DATE 1950\n");
    EXPECT_EQ(EventDateValue(t.begin(), t.end(), true), "5 MAY 1901");
    EXPECT_EQ(EventDateValue(t.at("2 DATE"), t.end(), false), "5 MAY 1901");
    EXPECT_FALSE(EventDateValue(t.begin(), t.end(), false).has_value());
    // A DATE after the PLAC of the same event is not the line examined.
    EXPECT_FALSE(EventDateValue(t.at("1 DEAT"), t.end(), true).has_value());
    EXPECT_FALSE(EventDateValue(nullptr, t.end(), true).has_value());
    const Text last("1 BIRT");
    EXPECT_FALSE(EventDateValue(last.begin(), last.end(), true).has_value());
}

TEST(GedcomLines, ReadEventPlaceWalksTheLevelTwoLines) {
    const Text t(
        "1 BIRT\n2 DATE 1900\n2 PLAC  Rome, Italy \n1 DEAT\n2 DATE 1950\n3 TIME 10:00\n2 PLAC "
        "Paris\n"
        "1 BURI\n1 CHR\n2 PLAC Oslo");
    EXPECT_EQ(ReadEventPlace(t.begin(), t.end()), "Rome, Italy");
    // A level-3 line between the event's lines ends the walk.
    EXPECT_EQ(ReadEventPlace(t.at("1 DEAT"), t.end()), "");
    EXPECT_EQ(ReadEventPlace(t.at("1 BURI"), t.end()), "");
    EXPECT_EQ(ReadEventPlace(t.at("1 CHR"), t.end()), "Oslo");
    EXPECT_EQ(ReadEventPlace(nullptr, t.end()), "");
}

TEST(GedcomLines, TagCodesCompareFourBytesAtOffsetTwo) {
    const Text t("1 SEX M\n2 CONC\n1 X");
    EXPECT_EQ(LineTag(t.begin(), t.end()), TagCode("SEX "));
    EXPECT_TRUE(LineTagIs(t.at("2 CONC"), t.end(), kTagConc));
    EXPECT_EQ(LineTag(t.at("1 X"), t.end()), 0u);
}

}  // namespace
}  // namespace kindrel
