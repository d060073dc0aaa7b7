#include "gedcom/charset.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kindrel {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (const int b : bytes) s += char(b);
    return s;
}

std::string Utf8(char32_t cp) {
    std::string s;
    AppendUtf8(s, cp);
    return s;
}

TEST(AnselToUtf8, AcuteBeforeEGivesEAcute) {
    EXPECT_EQ(AnselToUtf8(Bytes({0xE2, 'e'})), "é");
    EXPECT_EQ(AnselToUtf8("Ren" + Bytes({0xE2, 'e'}) + " Desc" + Bytes({0xE1, 'a'}) + "rtes"),
              "René Descàrtes");
}

TEST(AnselToUtf8, ADiacriticOnALetterWithoutAPrecomposedFormKeepsTheLetter) {
    // The letter is never dropped: x with a combining tilde.
    EXPECT_EQ(AnselToUtf8(Bytes({0xE4, 'x'})), "x\u0303");
    EXPECT_EQ(AnselToUtf8(Bytes({0xE9, 'q'})), "q\u030C");
    EXPECT_EQ(AnselToUtf8(Bytes({0xFE, 'a'})), "a\u0313");
}

TEST(AnselToUtf8, ADiacriticAtTheEndStandsAlone) {
    EXPECT_EQ(AnselToUtf8(Bytes({'J', 'o', 's', 0xE4})), "Jos\u02DC");
    EXPECT_EQ(AnselToUtf8(Bytes({0xE2})), "\u00B4");
    EXPECT_EQ(AnselToUtf8(Bytes({0xF2})), "\u0323");
    // Before a control character too, and the control character is kept.
    EXPECT_EQ(AnselToUtf8(Bytes({0xE8, '\t', 'a'})), "\u00A8\ta");
}

// Every pair of the Windows-1252 table gives that table's character.
TEST(AnselToUtf8, PairsOfTheWindows1252TableGiveThatCharacter) {
    struct Row {
        int diacritic;
        const char* bases;
        std::initializer_list<int> results;
    };
    const Row rows[] = {
        {0xE1,
         "AEIOUaeiou\xB8",
         {0xC0, 0xC8, 0xCC, 0xD2, 0xD9, 0xE0, 0xE8, 0xEC, 0xF2, 0xF9, 0xEC}},
        {0xE2,
         "AEIOUYaeiouy\xB8",
         {0xC1, 0xC9, 0xCD, 0xD3, 0xDA, 0xDD, 0xE1, 0xE9, 0xED, 0xF3, 0xFA, 0xFD, 0xED}},
        {0xE3,
         "AEIOUaeiou\xB8",
         {0xC2, 0xCA, 0xCE, 0xD4, 0xDB, 0xE2, 0xEA, 0xEE, 0xF4, 0xFB, 0xEE}},
        {0xE4, "ANOano", {0xC3, 0xD1, 0xD5, 0xE3, 0xF1, 0xF5}},
        {0xE8,
         "AEIOUYaeiouy\xB8",
         {0xC4, 0xCB, 0xCF, 0xD6, 0xDC, 0x9F, 0xE4, 0xEB, 0xEF, 0xF6, 0xFC, 0xFF, 0xEF}},
        {0xE9, "sSzZ", {0x9A, 0x8A, 0x9E, 0x8E}},
        {0xEA, "aA", {0xE5, 0xC5}},
        {0xF0, "cC", {0xE7, 0xC7}},
    };
    for (const Row& row : rows) {
        std::size_t k = 0;
        for (const int result : row.results) {
            const std::string ansel =
                Bytes({row.diacritic, static_cast<unsigned char>(row.bases[k])});
            EXPECT_EQ(AnselToUtf8(ansel), Cp1252ToUtf8(Bytes({result})))
                << std::hex << row.diacritic << " " << row.bases[k];
            ++k;
        }
    }
}

TEST(AnselToUtf8, SingleByteCharactersOfTheTable) {
    const std::pair<int, int> table[] = {{0xA2, 0xD8}, {0xA4, 0xDE}, {0xA5, 0xC6}, {0xA6, 0x8C},
                                         {0xA8, 0xB7}, {0xAB, 0xB1}, {0xB2, 0xF8}, {0xB4, 0xFE},
                                         {0xB5, 0xE6}, {0xB6, 0x9C}, {0xB9, 0xA3}, {0xC0, 0xB0},
                                         {0xC3, 0xA9}, {0xC5, 0xBF}, {0xC6, 0xA1}, {0xCF, 0xDF}};
    for (const auto& [ansel, cp1252] : table) {
        EXPECT_EQ(AnselToUtf8(Bytes({ansel})), Cp1252ToUtf8(Bytes({cp1252}))) << std::hex << ansel;
    }
}

TEST(AnselToUtf8, TheRestOfTheRepertoireGivesItsUnicodeCharacter) {
    const std::pair<int, char32_t> table[] = {
        {0xA1, U'Ł'}, {0xA3, U'Đ'},   {0xA7, 0x02B9}, {0xA9, U'♭'}, {0xAA, U'®'}, {0xAC, U'Ơ'},
        {0xAD, U'Ư'}, {0xAE, 0x02BC}, {0xB0, 0x02BB}, {0xB1, U'ł'}, {0xB3, U'đ'}, {0xB7, 0x02BA},
        {0xB8, U'ı'}, {0xBA, U'ð'},   {0xBC, U'ơ'},   {0xBD, U'ư'}, {0xBE, U'□'}, {0xBF, U'■'},
        {0xC1, U'ℓ'}, {0xC2, U'℗'},   {0xC4, U'♯'},   {0xC7, U'ß'}, {0xC8, U'€'},
    };
    for (const auto& [ansel, cp] : table)
        EXPECT_EQ(AnselToUtf8(Bytes({ansel})), Utf8(cp)) << std::hex << ansel;
}

TEST(AnselToUtf8, DiacriticsOnLettersTheCodePageLacksArePrecomposed) {
    const std::pair<std::string, const char*> cases[] = {
        {Bytes({0xE2, 'n'}), "ń"},       {Bytes({0xE9, 'z'}), "ž"},
        {Bytes({0xE9, 'c'}), "č"},       {Bytes({0xEE, 'o'}), "ő"},
        {Bytes({0xF1, 'a'}), "ą"},       {Bytes({0xF7, 's'}), "ș"},
        {Bytes({0xF0, 's'}), "ş"},       {Bytes({0xEA, 'u'}), "ů"},
        {Bytes({0xE6, 'a'}), "ă"},       {Bytes({0xE5, 'a'}), "ā"},
        {Bytes({0xE7, 'z'}), "ż"},       {Bytes({0xF2, 'a'}), "ạ"},
        {Bytes({0xE0, 'a'}), "ả"},       {Bytes({0xE2, 0xBC}), "ớ"},
        {Bytes({0xE8, 0xE2, 'u'}), "ǘ"}, {Bytes({0xF2, 0xE3, 'a'}), "ậ"},
        {Bytes({0xE3, 0xF2, 'a'}), "ậ"}, {Bytes({0xE2, 0xA2}), "Ǿ"},
        {Bytes({0xE5, 0xB8}), "ī"},      {Bytes({0xE4, 'N'}), "Ñ"},
        {Bytes({0xE9, 'C'}), "Č"},       {Bytes({0xEA, 'U'}), "Ů"},
        {Bytes({0xE8, 0xB8}), "ï"},      {Bytes({0xF4, 'a'}), "ḁ"},
    };
    for (const auto& [ansel, utf8] : cases) EXPECT_EQ(AnselToUtf8(ansel), utf8) << utf8;
}

TEST(AnselToUtf8, LigatureHalvesStayOnTheirLetters) {
    EXPECT_EQ(AnselToUtf8(Bytes({0xEB, 't', 0xEC, 's'})), "t\uFE20s\uFE21");
}

TEST(AnselToUtf8, SuperscriptAndSubscriptDigitsThroughEscapes) {
    EXPECT_EQ(AnselToUtf8("H\x1B"
                          "b2\x1Bs"
                          "O"),
              "H₂O");
    EXPECT_EQ(AnselToUtf8("x\x1Bp(2)\x1Bs"), "x⁽²⁾");
    EXPECT_EQ(AnselToUtf8("\x1Bp0123456789+-\x1Bs9"), "⁰¹²³⁴⁵⁶⁷⁸⁹⁺⁻9");
    EXPECT_EQ(AnselToUtf8("\x1Bgabc\x1Bs"), "αβγ");
}

TEST(AnselToUtf8, UnassignedBytesAreReadAsWindows1252) {
    EXPECT_EQ(AnselToUtf8(Bytes({0x80, 0xAF, 0xA0})), "€¯\u00A0");
}

TEST(AnselToUtf8, AsciiPassesAndAZeroByteEndsTheText) {
    EXPECT_EQ(AnselToUtf8("John /Smith/"), "John /Smith/");
    EXPECT_EQ(AnselToUtf8(std::string_view("ab\0cd", 5)), "ab");
    EXPECT_EQ(AnselToUtf8(""), "");
}

TEST(Cp1252ToUtf8, ConvertsEveryByte) {
    EXPECT_EQ(Cp1252ToUtf8(Bytes({0x80, 0x8A, 0x9F, 0xE9, 0xF1})), "€ŠŸéñ");
    EXPECT_EQ(Cp1252ToUtf8(Bytes({0x81})), "\uFFFD");
    EXPECT_EQ(Cp1252ToUtf8("plain"), "plain");
}

TEST(Cp437ToUtf8, ConvertsEveryByte) {
    EXPECT_EQ(Cp437ToUtf8(Bytes({'J', 'o', 's', 0x82})), "José");
    EXPECT_EQ(Cp437ToUtf8(Bytes({0xE1, 0xB0, 0x9B})), "ß░¢");
}

TEST(Utf8OrCp1252ToUtf8, ValidSequencesPassAndStrayBytesAreWindows1252) {
    EXPECT_EQ(Utf8OrCp1252ToUtf8("Müller 😀"), "Müller 😀");
    EXPECT_EQ(Utf8OrCp1252ToUtf8(Bytes({'M', 0xFC, 'l', 'l', 'e', 'r'})), "Müller");
    EXPECT_EQ(Utf8OrCp1252ToUtf8("é" + Bytes({0xE9})), "éé");
    // Overlong forms, surrogates and cut sequences are not valid UTF-8.
    EXPECT_EQ(Utf8OrCp1252ToUtf8(Bytes({0xC0, 0x80})), "À€");
    EXPECT_EQ(Utf8OrCp1252ToUtf8(Bytes({0xED, 0xA0, 0x80})), "í\u00A0€");
    EXPECT_EQ(Utf8OrCp1252ToUtf8(Bytes({'a', 0xE2, 0x82})), "aâ‚");
    EXPECT_EQ(Utf8OrCp437ToUtf8(Bytes({'J', 'o', 's', 0x82})), "José");
}

TEST(IsValidUtf8, AcceptsUtf8AndRejectsStrayBytes) {
    EXPECT_TRUE(IsValidUtf8("ok ✓ 😀"));
    EXPECT_FALSE(IsValidUtf8(Bytes({0xE9})));
    EXPECT_FALSE(IsValidUtf8(Bytes({0xF4, 0x90, 0x80, 0x80})));
}

TEST(Charset, EveryConversionGivesValidUtf8ForAnyBytes) {
    std::mt19937 random(99);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(std::size_t(random() % 40), '\0');
        for (char& c : bytes) c = char(random() % 255 + 1);
        EXPECT_TRUE(IsValidUtf8(AnselToUtf8(bytes)));
        EXPECT_TRUE(IsValidUtf8(Cp1252ToUtf8(bytes)));
        EXPECT_TRUE(IsValidUtf8(Cp437ToUtf8(bytes)));
        EXPECT_TRUE(IsValidUtf8(Utf8OrCp1252ToUtf8(bytes)));
        EXPECT_TRUE(IsValidUtf8(Utf8OrCp437ToUtf8(bytes)));
    }
}

TEST(AppendUtf8, EncodesAndReplacesInvalidCodePoints) {
    EXPECT_EQ(Utf8(U'A'), "A");
    EXPECT_EQ(Utf8(0x00E9), "é");
    EXPECT_EQ(Utf8(0x20AC), "€");
    EXPECT_EQ(Utf8(0x1F600), "😀");
    EXPECT_EQ(Utf8(0xD800), "\uFFFD");
    EXPECT_EQ(Utf8(0x110000), "\uFFFD");
}

}  // namespace
}  // namespace kindrel
