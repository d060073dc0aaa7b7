// Opening the file a command names: a GEDCOM file, or a self-viewing file whose embedded
// GEDCOM is expanded into a temporary file first. Shared by the commands that read a family.
#pragma once

#include "gedcom/ged_collection.h"
#include "services/embedded_gedcom.h"

#include <memory>
#include <string>

namespace kindrel::cli {

// A loaded collection and, for a self-viewing file, the expanded GEDCOM it maps. The members
// are destroyed in reverse order: the collection (and its mapping) before the temporary file.
struct CliCollection {
    // The embedded load; its temporary GEDCOM is held only for a self-viewing file.
    EmbeddedGedcom embedded;
    // The loaded collection (never null once LoadCollectionForCli returned).
    std::unique_ptr<WGEDCollection> collection;
    // True when the file was a self-viewing file.
    bool selfViewing = false;
};

// Opens and loads path: a self-viewing file (it carries the trailer) through its embedded
// GEDCOM, any other file as GEDCOM unless its extension names another format (.paf, .ftw,
// .tmg). Throws KindrelError with the reason when the file cannot be read, is not a regular
// file, is UTF-16, over 4 GB or of another format, is an executable without a valid trailer,
// or the load was cancelled (Ctrl+C). Blocks that failed their CRC check are reported (see
// ReportCrcFailures). Stale temporary files are removed before a self-viewing file is expanded.
CliCollection LoadCollectionForCli(const std::string& path);

// The individual that text names: a number ("12") or an identifier with or without its
// at signs ("@I12@", "I12"). Throws KindrelError naming the text when there is no such
// individual or the number is outside 1 .. IndividualCount.
int32_t ResolveIndividual(WABSCollection& collection, const std::string& text);

}  // namespace kindrel::cli
