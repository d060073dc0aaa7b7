// The plain-text page of one individual: names, events with ages, LDS ordinances, parents,
// families with spouses and children, notes and sources. The command line prints it; the
// viewer's Individual page shows the same information.
#pragma once

#include "model/collection.h"

#include <cstdint>
#include <string>

namespace kindrel {

// The report of individual n, lines separated by "\n"; empty when n cannot be obtained.
std::string IndividualReport(WABSCollection& collection, int32_t n);

// The age from a birth date to an event date ("23", "~23"); empty when either date is
// missing, not computable, or the event lies before the birth.
std::string AgeAtEvent(const class WDate* birth, const class WDate* event);

// The label of an event: "Birth", "Death", "Christening", "Burial", or the event's name with
// its TYPE text when that says more ("Residence (Schoolhouse)").
std::string EventLabel(WABSEvent& event);

// The name of an LDS ordinance kind: "LDS baptism", "LDS endowment", "LDS sealing to
// parents", "LDS sealing to spouse"; empty for other kinds.
std::string LdsKindName(int kind);

}  // namespace kindrel
