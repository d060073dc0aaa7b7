// Tables of the character-set conversions (generated into charset_tables.cpp by
// scripts/gen_charset_tables.py from the Unicode Character Database).
#pragma once

#include <cstddef>

namespace kindrel::charset {

// A canonical composition: base followed by mark composes to composed.
struct Composition {
    char32_t base;
    char32_t mark;
    char32_t composed;
};

// The canonical combining class of a combining mark.
struct MarkClass {
    char32_t mark;
    int combiningClass;
};

// Unicode of the bytes 0x80 to 0xFF in Windows-1252 (U+FFFD for the five unused bytes).
extern const char16_t kCp1252High[128];
// Unicode of the bytes 0x80 to 0xFF in code page 437.
extern const char16_t kCp437High[128];
// Compositions sorted by (base, mark).
extern const Composition kCompositions[];
extern const std::size_t kCompositionCount;
// Combining classes of the marks the ANSEL diacritics map to.
extern const MarkClass kMarkClasses[];
extern const std::size_t kMarkClassCount;

}  // namespace kindrel::charset
