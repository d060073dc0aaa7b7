// Sort keys: the text fold, age keys, date keys parsed once (checked against WDate::Compare on
// many pairs), and the compare functions with their ties.
#include "analysis/sort_keys.h"

#include "model/date.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace kindrel {
namespace {

// --- Text fold ---

TEST(FoldSortKeyTest, AccentedAndPlainSpellingFoldToOneKey) {
    EXPECT_EQ(FoldSortKey("Émile"), "EMILE");
    EXPECT_EQ(FoldSortKey("Emile"), "EMILE");
    EXPECT_EQ(FoldSortKey("émile"), FoldSortKey("EMILE"));
}

TEST(FoldSortKeyTest, Latin1LettersFoldAsTheTableSays) {
    EXPECT_EQ(FoldSortKey("ÀÁÂÃÄÅÆ"), "AAAAAAA");
    EXPECT_EQ(FoldSortKey("àáâãäåæ"), "AAAAAAA");
    EXPECT_EQ(FoldSortKey("Çç"), "CC");
    EXPECT_EQ(FoldSortKey("ÈÉÊËèéêë"), "EEEEEEEE");
    EXPECT_EQ(FoldSortKey("ÌÍÎÏìíîï"), "IIIIIIII");
    EXPECT_EQ(FoldSortKey("Ð"), "D");
    EXPECT_EQ(FoldSortKey("Ññ"), "NN");
    EXPECT_EQ(FoldSortKey("ÒÓÔÕÖØòóôõöø"), "OOOOOOOOOOOO");
    EXPECT_EQ(FoldSortKey("ÙÚÛÜùúûü"), "UUUUUUUU");
    EXPECT_EQ(FoldSortKey("Ýýÿ¯"), "YYYY");
    EXPECT_EQ(FoldSortKey("ß"), "B");
}

TEST(FoldSortKeyTest, SignsThornAndEthStayAsTheyAre) {
    EXPECT_EQ(FoldSortKey("×"), "×");
    EXPECT_EQ(FoldSortKey("÷"), "÷");
    EXPECT_EQ(FoldSortKey("Þþ"), "Þþ");
    EXPECT_EQ(FoldSortKey("ð"), "ð");
}

TEST(FoldSortKeyTest, LatinExtendedLettersFoldToTheirBaseLetters) {
    EXPECT_EQ(FoldSortKey("Łucja"), "LUCJA");
    EXPECT_EQ(FoldSortKey("Šárka"), "SARKA");
    EXPECT_EQ(FoldSortKey("Dvořák"), "DVORAK");
    EXPECT_EQ(FoldSortKey("Şükrü Yıldız"), "SUKRU YILDIZ");
    EXPECT_EQ(FoldSortKey("Stanisław"), "STANISLAW");
    EXPECT_EQ(FoldSortKey("Ștefan Țurcanu"), "STEFAN TURCANU");
    // Ligatures and letters without a plain base stay.
    EXPECT_EQ(FoldSortKey("Œ"), "Œ");
    EXPECT_EQ(FoldSortKey("ŋ"), "ŋ");
}

TEST(FoldSortKeyTest, OtherScriptsAndBrokenBytesPassUnchanged) {
    EXPECT_EQ(FoldSortKey("Иван"), "Иван");
    const std::string broken = "A\xC3";  // a lead byte without its continuation
    EXPECT_EQ(FoldSortKey(broken), "A\xC3");
    EXPECT_EQ(FoldSortKey("\xFFz"), "\xFFZ");
}

TEST(FoldSortKeyTest, KeysAreCutTo47Bytes) {
    const std::string longA = std::string(47, 'x') + "AAAA";
    const std::string longB = std::string(47, 'x') + "BBBB";
    EXPECT_EQ(FoldSortKey(longA).size(), 47u);
    EXPECT_EQ(FoldSortKey(longA), FoldSortKey(longB));
    EXPECT_NE(FoldSortKey(std::string(46, 'x') + "A"), FoldSortKey(std::string(46, 'x') + "B"));
}

TEST(FoldSortKeyTest, CutNeverSplitsACharacter) {
    // 46 ASCII bytes leave one byte: a two-byte letter that is not folded does not fit.
    const std::string text = std::string(46, 'a') + "Ж";
    const std::string key = FoldSortKey(text);
    EXPECT_EQ(key, std::string(46, 'A'));
    // A folded letter needs one byte and still fits.
    EXPECT_EQ(FoldSortKey(std::string(46, 'a') + "É"), std::string(46, 'A') + "E");
    EXPECT_EQ(CutAtCharacter("abcЖ", 4), "abc");
    EXPECT_EQ(CutAtCharacter("abcЖ", 5), "abcЖ");
    EXPECT_EQ(CutAtCharacter("ab", 15), "ab");
}

TEST(FoldSortKeyTest, FoldHappensBeforeTheCut) {
    // 47 accented letters fold to 47 one-byte letters, all of which fit.
    std::string text;
    for (int i = 0; i < 47; ++i) text += "é";
    EXPECT_EQ(FoldSortKey(text), std::string(47, 'E'));
}

// --- Age keys ---

TEST(AgeKeyTest, ParsesMarksAndDigits) {
    WAgeKey key = ParseAgeKey("52");
    EXPECT_TRUE(key.hasValue);
    EXPECT_FALSE(key.approximate);
    EXPECT_FALSE(key.living);
    EXPECT_EQ(key.years, 52);
    key = ParseAgeKey("~52");
    EXPECT_TRUE(key.approximate);
    EXPECT_EQ(key.years, 52);
    key = ParseAgeKey("52?");
    EXPECT_TRUE(key.living);
    EXPECT_EQ(key.years, 52);
    key = ParseAgeKey("[~52?]");
    EXPECT_TRUE(key.approximate);
    EXPECT_TRUE(key.living);
    EXPECT_EQ(key.years, 52);
}

TEST(AgeKeyTest, EmptyTextOrNoDigitsHasNoValue) {
    EXPECT_FALSE(ParseAgeKey("").hasValue);
    EXPECT_FALSE(ParseAgeKey("~?").hasValue);
    EXPECT_FALSE(ParseAgeKey("99999999999").hasValue);  // does not fit
}

TEST(AgeKeyTest, OrderOfTheEdgeCases) {
    const WAgeKey plain = ParseAgeKey("52");
    const WAgeKey approx = ParseAgeKey("~52");
    const WAgeKey living = ParseAgeKey("52?");
    const WAgeKey empty = ParseAgeKey("");
    EXPECT_LT(CompareAgeKeys(plain, approx), 0);
    EXPECT_GT(CompareAgeKeys(approx, plain), 0);
    EXPECT_EQ(CompareAgeKeys(living, plain), 0);
    EXPECT_LT(CompareAgeKeys(empty, plain), 0);
    EXPECT_LT(CompareAgeKeys(empty, ParseAgeKey("0")), 0);
    EXPECT_EQ(CompareAgeKeys(empty, ParseAgeKey("")), 0);
    EXPECT_LT(CompareAgeKeys(ParseAgeKey("~51"), plain), 0);
    // Two approximate ages: the one without the living mark first.
    EXPECT_LT(CompareAgeKeys(ParseAgeKey("~52"), ParseAgeKey("~52?")), 0);
    EXPECT_EQ(CompareAgeKeys(ParseAgeKey("~52?"), ParseAgeKey("[~52?]")), 0);
}

// --- Date keys ---

TEST(DateKeyTest, RangeIsCutTo15CharactersAndSortsAsItsFirstYear) {
    const WDateKey range = MakeDateKey("BET 1850 AND 1860");
    EXPECT_STREQ(range.text, "BET 1850 AND 18");
    EXPECT_EQ(range.kind, WDateKey::kClean);
    EXPECT_EQ(CompareDateKeys(range, MakeDateKey("BET 1850")), 0);
    EXPECT_LT(CompareDateKeys(range, MakeDateKey("1851")), 0);
    EXPECT_GT(CompareDateKeys(range, MakeDateKey("1849")), 0);
}

TEST(DateKeyTest, EmptyFirstThenUncleanThenClean) {
    const WDateKey empty = MakeDateKey("");
    const WDateKey unclean = MakeDateKey("during the great frost");
    const WDateKey clean = MakeDateKey("1900");
    EXPECT_EQ(empty.kind, WDateKey::kEmpty);
    EXPECT_EQ(unclean.kind, WDateKey::kUnclean);
    EXPECT_LT(CompareDateKeys(empty, unclean), 0);
    EXPECT_LT(CompareDateKeys(unclean, clean), 0);
    EXPECT_EQ(CompareDateKeys(empty, MakeDateKey("")), 0);
}

TEST(DateKeyTest, QualifiersOnOneDay) {
    const char* order[] = {"BEF 1900", "CAL 1900", "CIR 1900", "EST 1900", "1900", "AFT 1900"};
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        EXPECT_LT(CompareDateKeys(MakeDateKey(order[i]), MakeDateKey(order[i + 1])), 0)
            << order[i] << " / " << order[i + 1];
    }
    EXPECT_LT(CompareDateKeys(MakeDateKey("ABT 1900"), MakeDateKey("1900")), 0);
    EXPECT_EQ(CompareDateKeys(MakeDateKey("ABT 1900"), MakeDateKey("CAL 1900")), 0);
    EXPECT_EQ(CompareDateKeys(MakeDateKey("BET 1900"), MakeDateKey("BEF 1900")), 0);
}

TEST(DateKeyTest, YearsBeforeTheCommonEraComeFirst) {
    EXPECT_LT(CompareDateKeys(MakeDateKey("100 BC"), MakeDateKey("50 BC")), 0);
    EXPECT_LT(CompareDateKeys(MakeDateKey("50 BC"), MakeDateKey("1")), 0);
    EXPECT_LT(CompareDateKeys(MakeDateKey("1900"), MakeDateKey("JAN 1900")), 0);
    EXPECT_LT(CompareDateKeys(MakeDateKey("JAN 1900"), MakeDateKey("1 JAN 1900")), 0);
}

// Date texts of every form, including junk, long ranges, calendars and lower case.
std::vector<std::string> SampleDateTexts() {
    std::vector<std::string> texts = {
        "",
        "1900",
        "JAN 1900",
        "1 JAN 1900",
        "31 DEC 1899",
        "ABT 1900",
        "BEF 1900",
        "AFT 1900",
        "EST 1900",
        "CAL 1900",
        "CIR 1900",
        "INT 1900",
        "BET 1900 AND 1910",
        "FROM 1900 TO 1910",
        "TO 1900",
        "AND 1900",
        "BET 1850 AND 1860",
        "BET 1850 AND 1861",
        "10 FEB 1750/51",
        "@#DJULIAN@ 17 FEB 1751",
        "@#DHEBREW@ 14 NSN 5683",
        "during the great frost",
        "during the great thaw",
        "INT 1866 (lost at sea with the brig Halcyon)",
        "today",
        "TODAY",
        "12/25/1900",
        "5/1900",
        "25/1900",
        " 12 JAN 1900",
        "100 BC",
        "50 B.C.",
        "10 AD",
        "0",
        "65535",
        "ABT 12 JAN 1900",
        "ABT. 1900",
        "abt 1900",
        "1900 xyz",
        "Ж 1900",
        "JANUARY 1900",
        "MAY 1900",
        "MAYBE 1900",
    };
    // Random texts built from date words, numbers and junk.
    std::mt19937 random(12345);
    const char* words[] = {"ABT", "BEF",  "AFT", "EST", "CAL",  "CIR",        "BET",
                           "AND", "FROM", "TO",  "INT", "JAN",  "FEB",        "MAR",
                           "DEC", "1",    "12",  "31",  "1850", "1900",       "2000",
                           "BC",  "X",    "(x)", "/",   "-",    "@#DJULIAN@", "NSN"};
    for (int i = 0; i < 400; ++i) {
        std::string text;
        const int n = 1 + static_cast<int>(random() % 5);
        for (int k = 0; k < n; ++k) {
            if (k > 0) text += ' ';
            text += words[random() % std::size(words)];
        }
        texts.push_back(text);
    }
    return texts;
}

TEST(DateKeyTest, FastComparisonAgreesWithWDateCompareOnEveryPair) {
    WDate::SetTodayProvider([] { return WCalendarDay{8, 12, 2026}; });
    const std::vector<std::string> texts = SampleDateTexts();
    std::vector<WDateKey> keys;
    keys.reserve(texts.size());
    for (const std::string& text : texts) keys.push_back(MakeDateKey(text));
    int pairs = 0;
    for (size_t a = 0; a < texts.size(); ++a) {
        for (size_t b = 0; b < texts.size(); ++b) {
            const int slow = CompareDateTexts(texts[a], texts[b]);
            const int fast = CompareDateKeys(keys[a], keys[b]);
            ASSERT_EQ(fast, slow) << "'" << texts[a] << "' vs '" << texts[b] << "'";
            ++pairs;
        }
    }
    EXPECT_GT(pairs, 100000);
    WDate::SetTodayProvider(nullptr);
}

TEST(DateKeyTest, SlowComparisonIsWDateCompareOnTheCutTexts) {
    EXPECT_EQ(CompareDateTexts("1900", "1901"), WDate("1900").Compare(WDate("1901")));
    EXPECT_EQ(CompareDateTexts("BET 1850 AND 1860", "BET 1850 AND 1870"), 0);
    EXPECT_EQ(CompareDateTexts("", ""), 0);
    EXPECT_LT(CompareDateTexts("", "x"), 0);
    EXPECT_GT(CompareDateTexts("x", ""), 0);
}

}  // namespace
}  // namespace kindrel
