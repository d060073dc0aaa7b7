// Opening files that must be regular files, without ever blocking on a named pipe or device.
#pragma once

#include <string>

namespace kindrel {

// Opens path with the given open flags (O_RDONLY or O_RDWR; O_CLOEXEC is added) without
// blocking: the open itself is non-blocking and a name that is not a regular file is closed
// again. Returns the descriptor (blocking mode restored), or -1 with errno set when the open
// fails. Throws ENotRegularFile when path names a folder, named pipe, device or socket.
int OpenRegularFile(const std::string& path, int flags);

// What st_mode names, for messages: "a folder", "a named pipe", "a device", "a socket".
std::string FileKindText(unsigned int mode);

}  // namespace kindrel
