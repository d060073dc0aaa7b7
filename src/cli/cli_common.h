// Shared plumbing of the kindrel command line: terminal progress, Ctrl+C, errors.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace kindrel::cli {

// Exit code of a command whose input had a block that failed its CRC check (the command's
// output is given all the same).
inline constexpr int kExitCrcMismatch = 2;

// Installs the command line's hooks: a progress line on stderr when it is a terminal,
// warnings printed to stderr, Ctrl+C setting the cancel flag (a second Ctrl+C ends the
// program), and SIGTERM and SIGHUP deleting the temporary files before the program ends.
void InstallCliHooks();

// Prints the warning that blocks of the file failed their CRC check and makes RunGuarded
// end a command that succeeded with kExitCrcMismatch.
void ReportCrcFailures(const std::string& file, int failed, int blocks);

// Clears the progress line, if one is shown.
void EndProgressLine();

// Runs a command body; a KindrelError or other exception becomes "kindrel: message"
// on stderr and exit code 1. The body returns the exit code (kExitCrcMismatch instead of 0
// after ReportCrcFailures).
int RunGuarded(const std::function<int()>& body);

// Adds one command group's subcommands to the app; callbacks store their exit code.
using CommandRegistrar = void (*)(CLI::App& app, int& exitCode);

}  // namespace kindrel::cli
