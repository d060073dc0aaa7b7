#include "cli/commands.h"

namespace kindrel::cli {

void AddPayloadCommands(CLI::App& app, int& exitCode);
void AddAnalysisCommands(CLI::App& app, int& exitCode);
void AddGedcomCommands(CLI::App& app, int& exitCode);
void AddListCommands(CLI::App& app, int& exitCode);
void AddHighlightCommands(CLI::App& app, int& exitCode);
#ifdef KINDREL_WITH_REPORTS
void AddReportCommands(CLI::App& app, int& exitCode);  // src/reports/cmd_report.cpp
#endif

// Add a group here when its cmd_*.cpp file exists.
std::vector<CommandRegistrar> AllCommands() {
    return {AddPayloadCommands, AddAnalysisCommands, AddGedcomCommands, AddListCommands,
            AddHighlightCommands,
#ifdef KINDREL_WITH_REPORTS
            AddReportCommands,
#endif
    };
}

}  // namespace kindrel::cli
