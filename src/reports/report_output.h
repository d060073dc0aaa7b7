// Writing a prepared report to files and printers page by page. Each file is written to a
// temporary file beside it and renamed over the target only when complete (QSaveFile), so a
// failure or Cancel leaves no file and an old one intact.
#pragma once

#include "reports/report_files.h"

#include <functional>
#include <string>
#include <vector>

class QPrinter;

namespace kindrel {

class TABSReportForm;

// Called before each page (1-based) of `pages`; answers false to stop (Cancel). It is also
// where the caller lets pending events run.
using WReportProgress = std::function<bool(int page, int pages)>;

struct WReportSaveResult {
    bool ok = false;
    bool cancelled = false;
    std::string error;               // what went wrong and with which file
    std::vector<std::string> files;  // the files written (all of them, or none)
};

// Writes pages from .. to (1-based, clamped; 0 = all) of a prepared form in the format to
// fileName (images: one file per page, "name-0001.png" ... by page number when there are
// several). Images are 150 dpi.
WReportSaveResult SaveReport(TABSReportForm& form, WReportFormat format,
                             const std::string& fileName, const WReportProgress& progress = {},
                             int from = 0, int to = 0);

// Prints pages from .. to (1-based, clamped; 0 = all) of a prepared form on a printer that is
// set up; false with error when printing failed, cancelled when progress stopped it (the job
// is aborted).
bool PrintReport(TABSReportForm& form, QPrinter& printer, int from, int to,
                 const WReportProgress& progress, bool& cancelled, std::string& error);

}  // namespace kindrel
