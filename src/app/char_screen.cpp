#include "app/char_screen.h"

namespace kindrel {

namespace {

// The length of the UTF-8 sequence at `at`; 1 for a byte that does not start a well-formed
// sequence.
size_t SequenceLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (at + length > text.size()) return 1;
    for (size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) return 1;
    return length;
}

}  // namespace

std::vector<std::string_view> SplitCharacters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (size_t at = 0; at < text.size();) {
        const size_t length = SequenceLength(text, at);
        characters.push_back(text.substr(at, length));
        at += length;
    }
    return characters;
}

WCharScreen::WCharScreen(int lines, int columns)
    : m_lines(lines < 0 ? 0 : lines),
      m_columns(columns < 0 ? 0 : columns),
      m_cells(static_cast<size_t>(m_lines), std::vector<std::string>(m_columns, " ")) {}

void WCharScreen::Put(int line, int column, int maxLength, std::string_view text) {
    if (line <= 0 || line >= m_lines || column <= 0 || column >= m_columns) return;
    std::vector<std::string>& cells = m_cells[static_cast<size_t>(line)];
    int written = 0;
    for (const std::string_view character : SplitCharacters(text)) {
        const int at = column + written;
        if (written >= maxLength || at >= m_columns) break;
        // Line breaks inside a field would break the grid; they read as blanks.
        cells[static_cast<size_t>(at - 1)] =
            character == "\n" || character == "\r" ? std::string(" ") : std::string(character);
        ++written;
    }
}

std::string WCharScreen::Line(int i) const {
    std::string line;
    if (i < 0 || i >= m_lines) return line;
    for (const std::string& cell : m_cells[static_cast<size_t>(i)]) line += cell;
    return line;
}

}  // namespace kindrel
