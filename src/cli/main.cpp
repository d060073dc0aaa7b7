// kindrel: inspect, pack, expand and query self-viewing GEDCOM files from the command line.
#include "cli/cli_common.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
    CLI::App app{"kindrel - pack, expand and inspect Kindrel self-viewing GEDCOM files"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "kindrel 1.07");

    int exitCode = 0;
    for (auto registrar : kindrel::cli::AllCommands()) registrar(app, exitCode);

    kindrel::cli::InstallCliHooks();
    CLI11_PARSE(app, argc, argv);
    return exitCode;
}
