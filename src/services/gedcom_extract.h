// Extract GEDCOM: a byte-identical copy of the viewer's expanded GEDCOM to a file the user
// chose, written atomically (the old file stays whole on any failure or cancel).
#pragma once

#include "containers/errors.h"

#include <string>

namespace kindrel {

// The extraction was cancelled; nothing was written.
class EExtractCancelled : public KindrelError {
  public:
    EExtractCancelled() : KindrelError("Cancelled") {}
};

// Copies the file source to target, reporting progress ("Extracting", bytes) and stopping
// with EExtractCancelled when the cancel flag is set. Throws EOutputError (unwritable folder,
// full disk, target a folder or the source itself) or EFileError (source unreadable).
// Returns the bytes copied.
long long ExtractGedcomFile(const std::string& source, const std::string& target);

// The file name a save dialog proposes for the sender's file-name field: its base name alone
// (folders of either kind dropped), ending ".ged"; empty gives the title's, else "family.ged".
std::string ProposedGedcomName(const std::string& fileNameField, const std::string& title);

}  // namespace kindrel
