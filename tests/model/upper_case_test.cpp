// The upper-case byte table and the UTF-8 display conversion.
#include "model/upper_case.h"

#include <gtest/gtest.h>

#include <string>

namespace kindrel {
namespace {

TEST(UpperCaseTableTest, UpperCasesAsciiLettersOnly) {
    const auto& table = UpperCaseTable();
    for (int c = 0; c < 256; ++c) {
        const int expected = (c >= 'a' && c <= 'z') ? c - 32 : c;
        EXPECT_EQ(table[c], expected) << "byte " << c;
    }
}

TEST(UpperCaseTableTest, BytesConversionLeavesUtf8Untouched) {
    EXPECT_EQ(UpperCaseBytes("abt 1 jan 1900"), "ABT 1 JAN 1900");
    EXPECT_EQ(UpperCaseBytes("gr\xC3\xBC\xC3\x9F"
                             "e"),
              "GR\xC3\xBC\xC3\x9F"
              "E");
    std::string text = "x\xE9y";
    UpperCaseBytesInPlace(text);
    EXPECT_EQ(text, "X\xE9Y");
    EXPECT_EQ(UpperCaseByte('q'), 'Q');
    EXPECT_EQ(UpperCaseByte('\xFF'), '\xFF');
}

TEST(UpperCaseTest, AccentedLettersOfManyScripts) {
    EXPECT_EQ(UpperCase("\xC3\xA9lise"), "\xC3\x89LISE");                      // élise
    EXPECT_EQ(UpperCase("s\xC3\xB8ren \xC3\xA5s"), "S\xC3\x98REN \xC3\x85S");  // søren ås
    EXPECT_EQ(UpperCase("\xC5\x82\xC3\xB3"
                        "d\xC5\xBA"),
              "\xC5\x81\xC3\x93"
              "D\xC5\xB9");                        // łódź
    EXPECT_EQ(UpperCase("\xC3\xBF"), "\xC5\xB8");  // ÿ -> Ÿ
    EXPECT_EQ(UpperCase("\xC4\xB1"), "I");         // dotless i
    EXPECT_EQ(UpperCase("\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1\xCF\x82"),
              "\xCE\xA9\xCE\x9C\xCE\x88\xCE\x93\xCE\x91\xCE\xA3");  // ωμέγας
    EXPECT_EQ(UpperCase("\xD0\xB8\xD0\xB2\xD0\xB0\xD0\xBD \xD1\x91"),
              "\xD0\x98\xD0\x92\xD0\x90\xD0\x9D \xD0\x81");  // иван ё
    EXPECT_EQ(UpperCase("\xE1\xBA\xA1"), "\xE1\xBA\xA0");    // ạ -> Ạ
}

TEST(UpperCaseTest, LettersWithoutOneToOneUpperCaseStay) {
    EXPECT_EQ(UpperCase("stra\xC3\x9F"
                        "e"),
              "STRA\xC3\x9F"
              "E");                                                    // ß stays
    EXPECT_EQ(UpperCase("\xC3\xB7\xC3\x97"), "\xC3\xB7\xC3\x97");      // ÷ and × are no letters
    EXPECT_EQ(UpperCase("\xF0\x9F\x98\x80 a"), "\xF0\x9F\x98\x80 A");  // four-byte sequence
}

TEST(UpperCaseTest, InvalidBytesPassUnchanged) {
    EXPECT_EQ(UpperCase("\xE9t\xE9"), "\xE9T\xE9");        // Windows-1252 text
    EXPECT_EQ(UpperCase("a\xC3"), "A\xC3");                // cut sequence
    EXPECT_EQ(UpperCase("\xC0\xA1"), "\xC0\xA1");          // overlong
    EXPECT_EQ(UpperCase("\xED\xA0\x80"), "\xED\xA0\x80");  // surrogate
    EXPECT_EQ(UpperCase("\xE0\x80\xAF"), "\xE0\x80\xAF");  // overlong three bytes
    EXPECT_EQ(UpperCase(std::string("a\0b", 3)), std::string("A\0B", 3));
    EXPECT_EQ(UpperCase(""), "");
}

TEST(UpperCaseTest, CodePointMappingIsStableOnUpperCase) {
    // Upper-casing an upper-case letter changes nothing.
    for (char32_t c = 0; c < 0x2000; ++c) {
        const char32_t upper = UpperCaseCodePoint(c);
        EXPECT_EQ(UpperCaseCodePoint(upper), upper) << "code point " << static_cast<int>(c);
    }
}

}  // namespace
}  // namespace kindrel
