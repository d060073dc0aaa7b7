// The viewer's program entry: command line, display check, settings, payload check, splash,
// main window and event loop.
#pragma once

#include <QIcon>

#include <string>

namespace kindrel {

class WOptions;

// A start from the desktop (--open-dialog) without a file: the file viewed last (File1) when
// "Reload last file viewed" is on and it still exists, else what the open dialog gives (empty
// when it is cancelled).
std::string ChooseStartFile(WOptions& options);

// The window icon: the desktop icon at 48, 128 and 256 pixels.
QIcon ViewerIcon();

// Runs kindrel-viewer with the process arguments; returns the exit code.
int RunViewer(int argc, char** argv);

}  // namespace kindrel
