// The packer: makes a self-viewing file from a viewer executable and a GEDCOM file.
#pragma once

#include "containers/errors.h"
#include "services/self_view_trailer.h"

#include <string>
#include <vector>

namespace kindrel {

// The packer could not make the self-viewing file; what() says why.
class EPackError : public KindrelError {
  public:
    using KindrelError::KindrelError;
};

// What to pack. Texts are UTF-8; each is cut to its trailer field with a warning.
struct PackOptions {
    std::string gedcomFile;  // the GEDCOM to embed
    std::string outputFile;  // the self-viewing file to write (replaced when it exists)
    std::string viewerFile;  // the viewer executable to copy in front of the archive
    std::string title;
    std::string senderName;
    std::string senderEmail;
    std::string address1;
    std::string address2;
    std::string webSite;
    std::string phone;
    std::string message;
    bool allowExtract = false;  // the receiver may save the GEDCOM
    int startIndividual = 1;    // individual made active after loading (1 or more)
};

// What the packer wrote.
struct PackResult {
    SelfViewTrailer trailer;            // the trailer as written
    long long viewerBytes = 0;          // bytes of the viewer part (the payload offset)
    long long archiveBytes = 0;         // bytes of the archive
    long long outputBytes = 0;          // bytes of the output file
    bool viewerHadTrailer = false;      // the viewer was itself a self-viewing file
    std::vector<std::string> warnings;  // texts cut to their fields (also sent to ShowWarning)
};

// Writes options.outputFile = the viewer part of options.viewerFile + the compressed GEDCOM +
// the trailer, executable (0755 less the umask). A viewer that already carries a trailer
// contributes only the part before its payload. The file is written under a temporary name
// in the output's folder and renamed into place, so a failure leaves nothing half-written.
// Throws EPackError (unreadable or empty GEDCOM, unusable viewer, unwritable output) or the
// archive writer's errors.
PackResult PackSelfViewing(const PackOptions& options);

}  // namespace kindrel
