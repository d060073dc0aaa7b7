// The date of an event read lazily from its DATE line.
#pragma once

#include "model/date.h"

#include <optional>

namespace kindrel {

// Fills target from a DATE line unless it already holds a date: the line examined is the
// one at p, or the line after it with stepFirst; only that line, and only when its tag is
// DATE. Otherwise (also for a null p) target stays empty.
void ReadEventDate(std::optional<WDate>& target, const char* p, const char* end, bool stepFirst);

}  // namespace kindrel
