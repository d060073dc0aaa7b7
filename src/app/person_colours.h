// The colours a view draws a person in: the highlighter group's background and text colour of
// the individual, white and black without a group. Colour values are the Windows form
// 0x00BBGGRR that the settings store (65535 is yellow).
#pragma once

#include <cstdint>

namespace kindrel {

class WHLGroup;

struct WColourPair {
    uint32_t background = 0xFFFFFF;
    uint32_t text = 0x000000;

    bool operator==(const WColourPair&) const = default;
};

// Silver (12632256), the colour of an empty person panel and of the scroll label of someone
// not highlighted.
inline constexpr uint32_t kSilverColour = 12632256;
// Aqua (0xFFFF00 as 0x00BBGGRR), behind "(DUPLICATED)" on the Descendants page.
inline constexpr uint32_t kAquaColour = 0xFFFF00;

// Background and text colour of individual n: the group's when there is one (it evaluates n
// on first demand), else white on black. n = 0 gives white and black.
WColourPair PersonColours(WHLGroup* group, int32_t n);

// True when the group marks n (false without a group).
bool IsPersonHighlighted(WHLGroup* group, int32_t n);

}  // namespace kindrel
