#include "cli/cli_common.h"

#include "containers/temp_file.h"
#include "containers/ui_hooks.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace kindrel::cli {

namespace {

bool g_progressShown = false;
bool g_crcFailures = false;

void OnInterrupt(int signalNumber) {
    // The first Ctrl+C sets the flag, and long work notices it and stops cleanly; a second
    // one, while work that does not look at the flag runs on, ends the program at once.
    if (CancelRequested()) TerminateWithCleanup(signalNumber);
    SetCancelRequested(true);
}

}  // namespace

void InstallCliHooks() {
    const bool tty = isatty(STDERR_FILENO) != 0;
    Hooks().warning = [](const std::string& message) {
        EndProgressLine();
        std::cerr << "kindrel: warning: " << message << "\n";
    };
    if (tty) {
        Hooks().progress = [](const std::string& label, long long done, long long total) {
            if (total > 0)
                std::fprintf(stderr, "\r%s %lld%%   ", label.c_str(), done * 100 / total);
            else
                std::fprintf(stderr, "\r%s %lld   ", label.c_str(), done);
            std::fflush(stderr);
            g_progressShown = true;
        };
    }
    InstallTerminationCleanup(false);
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
}

void ReportCrcFailures(const std::string& file, int failed, int blocks) {
    EndProgressLine();
    std::cerr << "kindrel: warning: " << failed << " of " << blocks
              << (blocks == 1 ? " block" : " blocks") << " of " << file
              << " failed their CRC check; what follows may be damaged.\n";
    g_crcFailures = true;
}

void EndProgressLine() {
    if (g_progressShown) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        g_progressShown = false;
    }
}

int RunGuarded(const std::function<int()>& body) {
    try {
        const int rc = body();
        EndProgressLine();
        return rc == 0 && g_crcFailures ? kExitCrcMismatch : rc;
    } catch (const std::exception& e) {
        EndProgressLine();
        std::cerr << "kindrel: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace kindrel::cli
