// Upper-case conversion: the shared byte table used by parsers and sort keys, and a UTF-8
// aware conversion for texts shown to the user.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kindrel {

// The 256-entry upper-case byte map, built once. Entry c is the upper case of byte c: ASCII
// letters are upper-cased, every other byte (including every byte of 0x80 and above, which
// belong to UTF-8 sequences) maps to itself. Index it with an unsigned char.
const std::array<unsigned char, 256>& UpperCaseTable();

// Upper-cases one byte through the table.
inline char UpperCaseByte(char c) {
    return static_cast<char>(UpperCaseTable()[static_cast<unsigned char>(c)]);
}

// Replaces every byte of text with its table entry, in place (one lookup per byte).
void UpperCaseBytesInPlace(std::string& text);

// Returns text with every byte replaced by its table entry. Use for keys and parsing, where
// only ASCII letters matter and UTF-8 sequences must stay untouched.
std::string UpperCaseBytes(std::string_view text);

// Returns the upper case of a UTF-8 text for display: besides ASCII it upper-cases the letters
// of Latin-1, Latin Extended-A and -B (common part), Latin Extended Additional, Greek,
// Cyrillic and Armenian by their one-to-one Unicode mappings ("é" -> "É", "ø" -> "Ø",
// "ł" -> "Ł"). Letters whose upper case is longer than one letter ("ß") stay as they are;
// bytes that are not valid UTF-8 pass unchanged.
std::string UpperCase(std::string_view text);

// The upper case of one Unicode code point under the same mappings as UpperCase; code points
// without a one-to-one upper case are returned unchanged.
char32_t UpperCaseCodePoint(char32_t c);

}  // namespace kindrel
