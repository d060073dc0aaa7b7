// Text matching rules: a field of the individual (note, place, name, identifier, temple)
// compared with a search text in one of four modes, and the soundex rules for surnames and
// given names.
#pragma once

#include "highlight/highlighter.h"

#include <string>
#include <string_view>

namespace kindrel {

// The four-character soundex code used by the highlighting rules ('Smith' gives 'S530',
// 'Lloyd' 'L430', 'Ashcraft' 'A226'); empty for an empty text. The first character is kept
// (upper-cased when it is a letter a to z); H and W separate equal groups like vowels, and the
// first letter's own group does not suppress an equal group right after it.
std::string HLSoundex(std::string_view text);

// Codes 19, 24 to 30, 43, 57 to 59, 91 to 94, 97 and 98. Parameter: the mode digit (1
// contains, 2 equals, 3 begins with, 4 ends with; for 57 and 58: 1 text, 2 code), then the
// search text. Both sides are compared upper-cased.
class WHLStr final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;

    // The match mode read by Prepare.
    int Mode() const { return m_mode; }
    // The upper-cased search text read by Prepare.
    const std::string& SearchText() const { return m_search; }
    // The soundex key of codes 57 and 58, computed once after Prepare.
    const std::string& SoundexKey();

  private:
    // True when the candidate (upper-cased here) matches the search text.
    bool Matches(std::string_view candidate) const;
    // The answer for one individual; marks other individuals where the code says so.
    bool Answer(int32_t individual);

    int m_mode = 1;
    std::string m_search;
    size_t m_searchLength = 0;
    std::string m_soundexKey;
    bool m_haveSoundexKey = false;
};

}  // namespace kindrel
