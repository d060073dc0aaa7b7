// Every page of a report as text, one item a line, for tests and for looking at a report
// without drawing it:
//   === Page 1 of 3
//   T 0 5 720 18 B C |General File Information|
//   R 0 33 720 3 double #000000
//   F 0 120 720 16 #e0e0e0
#pragma once

#include <string>

namespace kindrel {

class TABSReportForm;
struct WReportPage;

// One page as text.
std::string ReportPageText(const WReportPage& page, int pageCount);
// Every page of a prepared form.
std::string WReportTextDump(TABSReportForm& form);

}  // namespace kindrel
