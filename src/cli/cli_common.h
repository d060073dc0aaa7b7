// Shared plumbing of the kindrel command line: terminal progress, Ctrl+C, errors.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace kindrel::cli {

// Installs the command line's hooks: a progress line on stderr when it is a terminal,
// warnings printed to stderr, and Ctrl+C setting the cancel flag.
void InstallCliHooks();

// Clears the progress line, if one is shown.
void EndProgressLine();

// Runs a command body; a KindrelError or other exception becomes "kindrel: message"
// on stderr and exit code 1. The body returns the exit code.
int RunGuarded(const std::function<int()>& body);

// Adds one command group's subcommands to the app; callbacks store their exit code.
using CommandRegistrar = void (*)(CLI::App& app, int& exitCode);

}  // namespace kindrel::cli
