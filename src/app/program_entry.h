// The viewer's program entry: command line, display check, settings, payload check, splash,
// main window and event loop.
#pragma once

namespace kindrel {

// Runs kindrel-viewer with the process arguments; returns the exit code.
int RunViewer(int argc, char** argv);

}  // namespace kindrel
