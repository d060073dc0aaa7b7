// The embedded load: the GEDCOM that travels inside a self-viewing file is copied out of
// it and expanded into a temporary file for this run of the viewer.
#pragma once

#include "payload/blokar_compress.h"
#include "services/posix_file.h"
#include "services/self_view_trailer.h"

#include <string>

namespace kindrel {

// The expanded GEDCOM's temporary file. It holds a shared lock on the file while it lives
// (so the stale-file cleanup of another viewer leaves it alone) and deletes the file when
// destroyed. Move-only.
class WGedcomTempFile {
  public:
    WGedcomTempFile() = default;
    // Takes over the open, locked descriptor fd of the file at path.
    WGedcomTempFile(WUniqueFd fd, std::string path);
    WGedcomTempFile(WGedcomTempFile&& other) noexcept;
    WGedcomTempFile& operator=(WGedcomTempFile&& other) noexcept;
    WGedcomTempFile(const WGedcomTempFile&) = delete;
    WGedcomTempFile& operator=(const WGedcomTempFile&) = delete;
    ~WGedcomTempFile() { Remove(); }

    // The file's name; empty when none is held.
    const std::string& Path() const { return m_path; }
    // True while a file is held.
    bool IsHeld() const { return !m_path.empty(); }
    // Deletes the file now and releases the lock.
    void Remove();
    // Keeps the file on disk, releases the lock and returns its name; the caller then owns it.
    std::string Release();

  private:
    WUniqueFd m_fd;
    std::string m_path;
};

// The result of an embedded load.
struct EmbeddedGedcom {
    SelfViewTrailer trailer;
    long long payloadBytes = 0;  // bytes of the archive inside the file
    ExpandResult expand;         // blocks, CRC failures and bytes of the GEDCOM
    WGedcomTempFile gedcom;      // the expanded GEDCOM; deleted when this goes

    // True when a block's CRC did not match (the block was written all the same).
    bool HadCrcFailures() const { return expand.crcFailures > 0; }
};

// Loads the GEDCOM embedded in the running executable (/proc/self/exe).
EmbeddedGedcom LoadEmbeddedGedcom();

// Loads the GEDCOM embedded in selfViewFile: checks the trailer, copies the payload into a
// temporary "fmr*.tmp" file, expands the trailer's block count into a second one, and
// deletes the copy (also on failure). Throws ENoGedcom, ETrailerError, EFileError or the
// archive's errors; on failure no temporary file is left.
EmbeddedGedcom LoadEmbeddedGedcom(const std::string& selfViewFile);

// What ExpandSelfViewFile did.
struct SelfViewExpansion {
    SelfViewFileInfo info;
    ExpandResult expand;
};

// Expands the GEDCOM embedded in selfViewFile into outputFile (created or replaced), through
// a temporary copy of the payload as LoadEmbeddedGedcom does.
SelfViewExpansion ExpandSelfViewFile(const std::string& selfViewFile,
                                     const std::string& outputFile);

}  // namespace kindrel
