// Conversion of GEDCOM text in its file's character set to UTF-8, the form in which every
// value leaves the store. All functions take any bytes (never fail) and stop at a zero byte.
#pragma once

#include <string>
#include <string_view>

namespace kindrel {

// ANSEL (ANSI/NISO Z39.47, with the GEDCOM additions) to UTF-8. Diacritics (0xE0 to 0xFE)
// precede their base letter; a letter with its diacritics becomes the precomposed character
// when Unicode has one, else the letter followed by combining marks. A diacritic with no
// letter after it gives its spacing form (or the bare combining mark). Bytes ANSEL leaves
// unassigned are read as Windows-1252.
std::string AnselToUtf8(std::string_view text);

// Windows-1252 to UTF-8 (its five unused bytes give U+FFFD).
std::string Cp1252ToUtf8(std::string_view text);

// Code page 437 (IBM PC) to UTF-8; bytes below 0x80 are ASCII, control characters included.
std::string Cp437ToUtf8(std::string_view text);

// Sequences that are valid UTF-8 pass unchanged; every byte that is not part of one is read
// as Windows-1252.
std::string Utf8OrCp1252ToUtf8(std::string_view text);

// As Utf8OrCp1252ToUtf8, with code page 437 for the bytes that are not valid UTF-8.
std::string Utf8OrCp437ToUtf8(std::string_view text);

// True when the bytes (up to a zero byte) are valid UTF-8.
bool IsValidUtf8(std::string_view text);

// Appends the UTF-8 encoding of one code point (U+FFFD for surrogates and values past U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace kindrel
