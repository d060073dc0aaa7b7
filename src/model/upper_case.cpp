#include "model/upper_case.h"

#include <cstddef>
#include <cstdint>

namespace kindrel {

namespace {

// Texts are UTF-8 on this platform, so a single byte can only be upper-cased when it is an
// ASCII letter; the bytes of multi-byte sequences must stay as they are.
constexpr std::array<unsigned char, 256> BuildUpperCaseTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[c] = static_cast<unsigned char>((c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c);
    }
    return table;
}

constexpr std::array<unsigned char, 256> kUpperCaseTable = BuildUpperCaseTable();

// In a block of alternating upper and lower letters, the lower one is the odd (or even) code
// point; these helpers map the lower one of a pair to its partner.
constexpr bool InRange(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

constexpr char32_t PairEvenUpper(char32_t c) {
    return (c & 1u) ? c - 1 : c;
}
constexpr char32_t PairOddUpper(char32_t c) {
    return (c & 1u) ? c : c - 1;
}

// Decodes one UTF-8 sequence of two or three bytes at text[i]. Returns its length, or 0 when
// the bytes there are not such a well-formed sequence.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& codePoint) {
    const auto byteAt = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byteAt(i);
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (i + 1 >= text.size()) return 0;
        const unsigned char b1 = byteAt(i + 1);
        if (b1 < 0x80 || b1 > 0xBF) return 0;
        codePoint = (static_cast<char32_t>(b0 & 0x1F) << 6) | (b1 & 0x3F);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (i + 2 >= text.size()) return 0;
        const unsigned char b1 = byteAt(i + 1);
        const unsigned char b2 = byteAt(i + 2);
        // The second byte's range excludes overlong forms (E0) and surrogates (ED).
        const unsigned char low = (b0 == 0xE0) ? 0xA0 : 0x80;
        const unsigned char high = (b0 == 0xED) ? 0x9F : 0xBF;
        if (b1 < low || b1 > high || b2 < 0x80 || b2 > 0xBF) return 0;
        codePoint = (static_cast<char32_t>(b0 & 0x0F) << 12) |
                    (static_cast<char32_t>(b1 & 0x3F) << 6) | (b2 & 0x3F);
        return 3;
    }
    return 0;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

const std::array<unsigned char, 256>& UpperCaseTable() {
    return kUpperCaseTable;
}

void UpperCaseBytesInPlace(std::string& text) {
    for (char& c : text) c = static_cast<char>(kUpperCaseTable[static_cast<unsigned char>(c)]);
}

std::string UpperCaseBytes(std::string_view text) {
    std::string result(text);
    UpperCaseBytesInPlace(result);
    return result;
}

char32_t UpperCaseCodePoint(char32_t c) {
    if (c < 0x80) return kUpperCaseTable[c];
    if (c < 0x100) {
        if (InRange(c, 0xE0, 0xFE) && c != 0xF7) return c - 0x20;
        if (c == 0xFF) return 0x178;
        return c;
    }
    if (c < 0x180) {  // Latin Extended-A
        if (c == 0x131) return 'I';
        if (c == 0x17F) return 'S';
        if (InRange(c, 0x100, 0x137) || InRange(c, 0x14A, 0x177)) return PairEvenUpper(c);
        if (InRange(c, 0x139, 0x148) || InRange(c, 0x179, 0x17E)) return PairOddUpper(c);
        return c;
    }
    if (c < 0x250) {  // Latin Extended-B: the regular blocks and the digraph triples
        if (c == 0x1C5 || c == 0x1C6) return 0x1C4;
        if (c == 0x1C8 || c == 0x1C9) return 0x1C7;
        if (c == 0x1CB || c == 0x1CC) return 0x1CA;
        if (c == 0x1F2 || c == 0x1F3) return 0x1F1;
        if (c == 0x1F5) return 0x1F4;
        if (c == 0x1DD) return 0x18E;
        if (c == 0x192) return 0x191;                           // ƒ
        if (c == 0x1B0) return 0x1AF;                           // ư (Vietnamese)
        if (InRange(c, 0x1A0, 0x1A5)) return PairEvenUpper(c);  // ơ (Vietnamese)
        if (InRange(c, 0x1CD, 0x1DC)) return PairOddUpper(c);
        if (InRange(c, 0x1DE, 0x1EF) || InRange(c, 0x1F8, 0x21F) || InRange(c, 0x222, 0x233)) {
            return PairEvenUpper(c);
        }
        return c;
    }
    if (InRange(c, 0x370, 0x3FF)) {  // Greek
        if (c == 0x3AC) return 0x386;
        if (InRange(c, 0x3AD, 0x3AF)) return c - 0x25;
        if (c == 0x3C2) return 0x3A3;
        if (InRange(c, 0x3B1, 0x3CB)) return c - 0x20;
        if (c == 0x3CC) return 0x38C;
        if (InRange(c, 0x3CD, 0x3CE)) return c - 0x3F;
        return c;
    }
    if (InRange(c, 0x400, 0x52F)) {  // Cyrillic and its supplement
        if (InRange(c, 0x430, 0x44F)) return c - 0x20;
        if (InRange(c, 0x450, 0x45F)) return c - 0x50;
        if (c == 0x4CF) return 0x4C0;
        if (InRange(c, 0x460, 0x481) || InRange(c, 0x48A, 0x4BF) || InRange(c, 0x4D0, 0x52F)) {
            return PairEvenUpper(c);
        }
        if (InRange(c, 0x4C1, 0x4CE)) return PairOddUpper(c);
        return c;
    }
    if (InRange(c, 0x561, 0x586)) return c - 0x30;                   // Armenian
    if (InRange(c, 0x1E00, 0x1E95) || InRange(c, 0x1EA0, 0x1EFF)) {  // Latin Extended Additional
        return PairEvenUpper(c);
    }
    return c;
}

std::string UpperCase(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char32_t codePoint = 0;
        const size_t length = DecodeUtf8(text, i, codePoint);
        if (length == 0) {
            // ASCII, a four-byte sequence (no mapping there) or a stray byte: byte-wise.
            result.push_back(UpperCaseByte(text[i]));
            ++i;
            continue;
        }
        AppendUtf8(result, UpperCaseCodePoint(codePoint));
        i += length;
    }
    return result;
}

}  // namespace kindrel
