#include "cli/commands.h"

namespace kindrel::cli {

// Add a group here when its cmd_*.cpp file exists.
std::vector<CommandRegistrar> AllCommands() {
    return {};
}

}  // namespace kindrel::cli
