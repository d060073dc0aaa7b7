#include "gedcom/charset.h"

#include "gedcom/charset_tables.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kindrel {

namespace {

using charset::Composition;

// The text up to its first zero byte.
std::string_view UpToZero(std::string_view text) {
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

// True when no byte needs converting (plain ASCII without the escape character).
bool IsPlainAscii(std::string_view text) {
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 || b == 0x1B) return false;
    }
    return true;
}

// --- ANSEL --------------------------------------------------------------------------------

// Spacing characters 0xA1 to 0xCF; 0 marks a byte that ANSEL leaves unassigned. 0xC7 and
// 0xC8 are the later additions eszett and euro; 0xBE, 0xBF, 0xCD, 0xCE and 0xCF are the
// GEDCOM additions (empty box, black box, midline e, midline o, eszett).
constexpr std::array<char32_t, 0xD0 - 0xA1> kAnselSpacing = {
    0x0141, 0x00D8, 0x0110, 0x00DE, 0x00C6, 0x0152, 0x02B9,  // A1-A7: Ł Ø Đ Þ Æ Œ ʹ
    0x00B7, 0x266D, 0x00AE, 0x00B1, 0x01A0, 0x01AF, 0x02BC,  // A8-AE: · ♭ ® ± Ơ Ư ʼ
    0,                                                       // AF
    0x02BB, 0x0142, 0x00F8, 0x0111, 0x00FE, 0x00E6, 0x0153,  // B0-B6: ʻ ł ø đ þ æ œ
    0x02BA, 0x0131, 0x00A3, 0x00F0, 0,      0x01A1, 0x01B0,  // B7-BD: ʺ ı £ ð - ơ ư
    0x25A1, 0x25A0,                                          // BE-BF: □ ■
    0x00B0, 0x2113, 0x2117, 0x00A9, 0x266F, 0x00BF, 0x00A1,  // C0-C6: ° ℓ ℗ © ♯ ¿ ¡
    0x00DF, 0x20AC, 0,      0,      0,      0,               // C7-CC: ß €
    0x0065, 0x006F, 0x00DF,                                  // CD-CF: e o ß
};

// Combining marks of the diacritics 0xE0 to 0xFE; 0 for the unassigned 0xFC and 0xFD.
constexpr std::array<char32_t, 0xFF - 0xE0> kAnselMarks = {
    0x0309, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307,  // E0-E7
    0x0308, 0x030C, 0x030A, 0xFE20, 0xFE21, 0x0315, 0x030B, 0x0310,  // E8-EF
    0x0327, 0x0328, 0x0323, 0x0324, 0x0325, 0x0333, 0x0332, 0x0326,  // F0-F7
    0x031C, 0x032E, 0xFE22, 0xFE23, 0,      0,      0x0313,          // F8-FE
};

// The combining mark of an ANSEL diacritic byte, or 0 when the byte is none.
char32_t AnselMark(unsigned char b) {
    return b >= 0xE0 && b <= 0xFE ? kAnselMarks[b - 0xE0] : 0;
}

// The character of a non-diacritic byte: ASCII, an ANSEL spacing character, or (for bytes
// ANSEL leaves unassigned) the Windows-1252 character.
char32_t AnselChar(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xA1 && b < 0xD0 && kAnselSpacing[b - 0xA1] != 0) return kAnselSpacing[b - 0xA1];
    return charset::kCp1252High[b - 0x80];
}

// The spacing form of a combining mark that stands without a letter.
char32_t SpacingForm(char32_t mark) {
    switch (mark) {
        case 0x0300:
            return 0x0060;  // `
        case 0x0301:
            return 0x00B4;  // ´
        case 0x0302:
            return 0x02C6;  // ˆ
        case 0x0303:
            return 0x02DC;  // ˜
        case 0x0304:
            return 0x00AF;  // ¯
        case 0x0306:
            return 0x02D8;  // ˘
        case 0x0307:
            return 0x02D9;  // ˙
        case 0x0308:
            return 0x00A8;  // ¨
        case 0x030A:
            return 0x02DA;  // ˚
        case 0x030B:
            return 0x02DD;  // ˝
        case 0x030C:
            return 0x02C7;  // ˇ
        case 0x0327:
            return 0x00B8;  // ¸
        case 0x0328:
            return 0x02DB;  // ˛
        default:
            return mark;
    }
}

int CombiningClass(char32_t mark) {
    for (std::size_t i = 0; i < charset::kMarkClassCount; ++i) {
        if (charset::kMarkClasses[i].mark == mark) return charset::kMarkClasses[i].combiningClass;
    }
    return 230;
}

// The precomposed character of base + mark, or 0 when Unicode has none.
char32_t Compose(char32_t base, char32_t mark) {
    const Composition* first = charset::kCompositions;
    const Composition* last = first + charset::kCompositionCount;
    const Composition* it = std::lower_bound(
        first, last, Composition{base, mark, 0}, [](const Composition& a, const Composition& b) {
            return a.base != b.base ? a.base < b.base : a.mark < b.mark;
        });
    return it != last && it->base == base && it->mark == mark ? it->composed : 0;
}

// Writes a base character with its marks in normalization form C: the marks are put in
// canonical order, then each one that is not blocked composes with the base when Unicode
// has the composite; the rest follow as combining marks.
void AppendCluster(std::string& out, char32_t base, char32_t* marks, int markCount) {
    std::stable_sort(marks, marks + markCount,
                     [](char32_t a, char32_t b) { return CombiningClass(a) < CombiningClass(b); });
    // Accents above a dotless i sit where the dot was: ı + acute is í.
    if (base == 0x0131) {
        for (int k = 0; k < markCount; ++k) {
            if (CombiningClass(marks[k]) == 230 && Compose(U'i', marks[k]) != 0) {
                base = U'i';
                break;
            }
        }
    }
    char32_t starter = base;
    char32_t rest[16];
    int restCount = 0;
    int lastClass = -1;
    for (int k = 0; k < markCount; ++k) {
        const int markClass = CombiningClass(marks[k]);
        const char32_t composed = markClass != lastClass ? Compose(starter, marks[k]) : 0;
        if (composed != 0) {
            starter = composed;
        } else {
            rest[restCount++] = marks[k];
            lastClass = markClass;
        }
    }
    AppendUtf8(out, starter);
    for (int k = 0; k < restCount; ++k) AppendUtf8(out, rest[k]);
}

// The character a byte stands for in the MARC-8 superscript, subscript or Greek symbol sets
// (reached by ESC p, ESC b, ESC g); 0 when the set leaves it as ASCII.
char32_t SpecialSetChar(char set, unsigned char b) {
    static constexpr char32_t kSuperDigits[10] = {0x2070, 0x00B9, 0x00B2, 0x00B3, 0x2074,
                                                  0x2075, 0x2076, 0x2077, 0x2078, 0x2079};
    if (set == 'p' || set == 'b') {
        const bool super = set == 'p';
        if (b >= '0' && b <= '9')
            return super ? kSuperDigits[b - '0'] : char32_t(0x2080 + (b - '0'));
        switch (b) {
            case '+':
                return super ? 0x207A : 0x208A;
            case '-':
                return super ? 0x207B : 0x208B;
            case '(':
                return super ? 0x207D : 0x208D;
            case ')':
                return super ? 0x207E : 0x208E;
            default:
                return 0;
        }
    }
    if (set == 'g') {
        switch (b) {
            case 'a':
                return 0x03B1;
            case 'b':
                return 0x03B2;
            case 'c':
                return 0x03B3;
            default:
                return 0;
        }
    }
    return 0;
}

// --- UTF-8 --------------------------------------------------------------------------------

// Length of the valid UTF-8 sequence at text[i], or 0 when the byte there does not start one.
std::size_t ValidSequenceLength(std::string_view text, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b = at(i);
    if (b < 0x80) return 1;
    const std::size_t left = text.size() - i;
    const auto cont = [&](std::size_t k, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
        return at(i + k) >= lo && at(i + k) <= hi;
    };
    if (b >= 0xC2 && b <= 0xDF) return left >= 2 && cont(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (left < 3) return 0;
        const unsigned char lo = b == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = b == 0xED ? 0x9F : 0xBF;
        return cont(1, lo, hi) && cont(2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (left < 4) return 0;
        const unsigned char lo = b == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = b == 0xF4 ? 0x8F : 0xBF;
        return cont(1, lo, hi) && cont(2) && cont(3) ? 4 : 0;
    }
    return 0;
}

std::string Utf8OrLegacyToUtf8(std::string_view text, const char16_t* high) {
    text = UpToZero(text);
    if (IsPlainAscii(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = ValidSequenceLength(text, i);
        if (n > 0) {
            out.append(text.data() + i, n);
            i += n;
        } else {
            AppendUtf8(out, high[static_cast<unsigned char>(text[i]) - 0x80]);
            ++i;
        }
    }
    return out;
}

std::string LegacyToUtf8(std::string_view text, const char16_t* high) {
    text = UpToZero(text);
    if (IsPlainAscii(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            AppendUtf8(out, high[b - 0x80]);
        }
    }
    return out;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string AnselToUtf8(std::string_view text) {
    text = UpToZero(text);
    if (IsPlainAscii(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    const std::size_t n = text.size();
    char set = 's';  // MARC-8 escape state: 's' ASCII, 'p' superscript, 'b' subscript, 'g' Greek
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == 0x1B && i + 1 < n &&
            (text[i + 1] == 'p' || text[i + 1] == 'b' || text[i + 1] == 'g' ||
             text[i + 1] == 's')) {
            set = text[i + 1];
            i += 2;
            continue;
        }
        if (AnselMark(b) == 0) {
            const char32_t special = b < 0x80 && set != 's' ? SpecialSetChar(set, b) : 0;
            AppendUtf8(out, special != 0 ? special : AnselChar(b));
            ++i;
            continue;
        }
        // One or more diacritics, then the letter they belong to.
        char32_t marks[16];
        int markCount = 0;
        while (i < n && AnselMark(static_cast<unsigned char>(text[i])) != 0) {
            const char32_t mark = AnselMark(static_cast<unsigned char>(text[i]));
            if (markCount < 16) marks[markCount++] = mark;
            ++i;
        }
        const unsigned char next = i < n ? static_cast<unsigned char>(text[i]) : 0;
        if (i >= n || next < 0x20 || next == 0x7F) {
            // No letter follows (end of text or a control character): the marks stand alone.
            for (int k = 0; k < markCount; ++k) AppendUtf8(out, SpacingForm(marks[k]));
            continue;
        }
        AppendCluster(out, AnselChar(next), marks, markCount);
        ++i;
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
    return LegacyToUtf8(text, charset::kCp1252High);
}

std::string Cp437ToUtf8(std::string_view text) {
    return LegacyToUtf8(text, charset::kCp437High);
}

std::string Utf8OrCp1252ToUtf8(std::string_view text) {
    return Utf8OrLegacyToUtf8(text, charset::kCp1252High);
}

std::string Utf8OrCp437ToUtf8(std::string_view text) {
    return Utf8OrLegacyToUtf8(text, charset::kCp437High);
}

bool IsValidUtf8(std::string_view text) {
    text = UpToZero(text);
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = ValidSequenceLength(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace kindrel
