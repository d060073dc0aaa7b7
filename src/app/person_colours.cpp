#include "app/person_colours.h"

#include "highlight/hl_group.h"

namespace kindrel {

WColourPair PersonColours(WHLGroup* group, int32_t n) {
    if (!group || n <= 0) return {};
    return {group->BackgroundColour(n), group->TextColour(n)};
}

bool IsPersonHighlighted(WHLGroup* group, int32_t n) {
    return group && n > 0 && group->IsHighlighted(n);
}

}  // namespace kindrel
