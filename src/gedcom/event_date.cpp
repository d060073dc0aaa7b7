#include "gedcom/event_date.h"

#include "gedcom/gedcom_line.h"

namespace kindrel {

void ReadEventDate(std::optional<WDate>& target, const char* p, const char* end, bool stepFirst) {
    if (target.has_value()) return;
    const std::optional<std::string_view> value = EventDateValue(p, end, stepFirst);
    if (value) target.emplace(*value);
}

}  // namespace kindrel
