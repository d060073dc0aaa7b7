#include "cli/cli_load.h"

#include "cli/cli_common.h"

#include "containers/errors.h"
#include "containers/ui_hooks.h"
#include "services/posix_file.h"
#include "services/self_view_trailer.h"
#include "services/stale_files.h"

#include <cctype>
#include <charconv>

namespace kindrel::cli {

namespace {

// True when the file starts like an executable (the ELF magic): such a file is a viewer, with
// or without its payload, and never a GEDCOM.
bool IsExecutable(const std::string& path) {
    const WUniqueFd fd = OpenForReading(path);
    unsigned char magic[4] = {};
    return fd.IsOpen() && ReadAt(fd.Get(), magic, sizeof magic, 0) == sizeof magic &&
           magic[0] == 0x7F && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
}

// True when the file ends with a self-viewing trailer. A file without the signature is
// taken as GEDCOM unless it is an executable: a viewer whose trailer is missing or damaged
// is refused as a self-viewing file without a GEDCOM. A damaged trailer or an unreadable
// file raises its own error.
bool IsSelfViewing(const std::string& path) {
    try {
        ReadSelfViewTrailer(path);
        return true;
    } catch (const ENoGedcom&) {
        if (IsExecutable(path)) throw;
        return false;
    }
}

}  // namespace

CliCollection LoadCollectionForCli(const std::string& path) {
    CliCollection result;
    std::string gedcomPath = path;
    if (IsSelfViewing(path)) {
        // Copies that runs ended by SIGKILL or a crash left behind go first.
        DeleteStaleTempFiles();
        result.embedded = LoadEmbeddedGedcom(path);
        result.selfViewing = true;
        gedcomPath = result.embedded.gedcom.Path();
    }
    std::string error;
    // Known other formats are refused; a name without a known extension reads as GEDCOM.
    int kind = kKindGedcom;
    if (!result.selfViewing) {
        const size_t cut = path.find_last_of("./");
        std::string extension =
            cut != std::string::npos && path[cut] == '.' ? path.substr(cut) : "";
        for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (const int fromName = FileKindFromExtension(extension); fromName != kKindNone) {
            kind = fromName;
        }
    }
    result.collection = OpenGedcomCollection(gedcomPath, error, kind);
    if (!result.collection) {
        // The viewer's text separates the file name with a bare CR; a line break reads better.
        for (char& c : error) {
            if (c == '\r') c = ' ';
        }
        throw KindrelError(error.empty() ? "Cannot open \"" + path + "\"." : error);
    }
    if (!result.collection->LoadFile() || CancelRequested()) {
        throw KindrelError("Loading \"" + path + "\" was cancelled.");
    }
    result.collection->AfterLoad();
    if (CancelRequested()) throw KindrelError("Loading \"" + path + "\" was cancelled.");
    EndProgressLine();
    if (result.embedded.HadCrcFailures())
        ReportCrcFailures(path, result.embedded.expand.crcFailures, result.embedded.expand.blocks);
    return result;
}

int32_t ResolveIndividual(WABSCollection& collection, const std::string& text) {
    const int32_t count = collection.IndividualCount();
    const bool allDigits =
        !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (allDigits) {
        int64_t number = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (ec != std::errc() || end != text.data() + text.size() || number < 1 || number > count) {
            throw KindrelError("Individual number " + text + " is out of range: the file has " +
                               std::to_string(count) +
                               (count == 1 ? " individual." : " individuals."));
        }
        return static_cast<int32_t>(number);
    }
    std::string id = text;
    if (id.size() >= 2 && id.front() == '@' && id.back() == '@') id = id.substr(1, id.size() - 2);
    const int32_t found = id.empty() ? 0 : collection.FindIndividual(id);
    if (found < 1 || found > count) {
        throw KindrelError("No individual \"" + text + "\" in the file.");
    }
    return found;
}

}  // namespace kindrel::cli
