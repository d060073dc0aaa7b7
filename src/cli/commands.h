// The command groups of the kindrel tool. Each group lives in its own cmd_*.cpp file and
// adds its subcommands to the app; a subcommand's callback stores its exit code.
#pragma once

#include "cli/cli_common.h"

#include <vector>

namespace kindrel::cli {

// Returns the registrars of every command group, in the order they appear in --help.
std::vector<CommandRegistrar> AllCommands();

}  // namespace kindrel::cli
