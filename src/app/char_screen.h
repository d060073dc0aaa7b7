// A grid of blank characters that texts are written into at a line and column (the pedigree
// chart's copy). Columns count characters, so a name with accents takes its proper width.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kindrel {

class WCharScreen {
  public:
    // R lines of C columns, all blank. Lines 1..R-1 and columns 1..C-1 are writable.
    WCharScreen(int lines, int columns);

    // Writes text (UTF-8) from the 1-based column, only when 0 < line < R and 0 < column < C;
    // stops at the text's end, after maxLength characters or before column C.
    void Put(int line, int column, int maxLength, std::string_view text);
    // Line i (UTF-8, blanks included) for 0 <= i < R; empty otherwise.
    std::string Line(int i) const;

    int Lines() const { return m_lines; }
    int Columns() const { return m_columns; }

  private:
    int m_lines;
    int m_columns;
    // One UTF-8 character per cell.
    std::vector<std::vector<std::string>> m_cells;
};

// The UTF-8 characters of text, one per entry; a broken byte counts as one character.
std::vector<std::string_view> SplitCharacters(std::string_view text);

}  // namespace kindrel
