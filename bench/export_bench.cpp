// Times the copies, the extraction and the Options dialog in the real window, offscreen, on a
// self-viewing file (extraction allowed): the Descendants copy of one individual's tree (lines
// per second, the longest event-loop stall, the memory it adds, Cancel latency), the copies of
// the General, Individual, Family and Pedigree pages for random people, Extract GEDCOM, and OK
// in Options after a name option until the List, sorted by name, is shown again.
// Usage: kindrel-export-bench SELF-VIEW-FILE ROOT [PEOPLE] [SEED] [EXTRACT-TARGET]
#include "analysis/list_columns.h"
#include "app/dialogs/options_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/pages/list_grid.h"
#include "app/pages/list_page.h"
#include "app/wait_dialog.h"
#include "bench_clock.h"
#include "bench_folder.h"
#include "bench_window.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "services/options.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QTimer>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace kindrel;

// Resident memory now, in megabytes.
double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// The longest time between two event-pump calls while armed, and the most memory seen then.
struct PumpWatch {
    bench::Clock::time_point last = bench::Clock::now();
    double longest = 0;
    double peakMb = 0;
    void Arm() {
        last = bench::Clock::now();
        longest = 0;
        peakMb = ResidentMegabytes();
    }
    void Tick() {
        const auto now = bench::Clock::now();
        longest = std::max(longest, bench::Seconds(last, now) * 1000.0);
        last = now;
        peakMb = std::max(peakMb, ResidentMegabytes());
    }
};
PumpWatch g_watch;

template <typename Work>
double Time(Work work) {
    g_watch.Arm();
    const auto start = bench::Clock::now();
    work();
    g_watch.Tick();
    return bench::Seconds(start) * 1000.0;
}

void Percentiles(const char* label, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s median %.2f ms, worst %.2f ms (%zu copies)\n", label, ms[ms.size() / 2],
                ms.back(), ms.size());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "Usage: kindrel-export-bench SELF-VIEW-FILE ROOT [PEOPLE] [SEED] "
                     "[EXTRACT-TARGET]\n");
        return 2;
    }
    const std::string file = argv[1];
    const int32_t root = std::atoi(argv[2]);
    const int people = argc > 3 ? std::max(1, std::atoi(argv[3])) : 200;
    std::mt19937 random(argc > 4 ? static_cast<unsigned>(std::atoi(argv[4])) : 1u);
    const std::string home = bench::PrivateRunFolder("kindrel-export-bench");
    if (home.empty()) {
        std::perror("kindrel-export-bench: private folder");
        return 1;
    }
    const std::string target = argc > 5 ? argv[5] : home + "/extracted.ged";
    QApplication app(argc, argv);
    Options().WriteBool(Opt::DispInitHelp, false);
    Options().WriteBool(Opt::SortFirstColumn, false);
    Options().WriteListColumns("1,7");
    std::vector<MessageRecord> messages;
    WMessageBox::SetTestHandler([&](const MessageRecord& message) {
        messages.push_back(message);
        return true;
    });

    TLogoAppForm::StartOptions start;
    start.selfViewFile = file;
    start.quickHelp = false;
    auto window = bench::OpenStartedWindow(start, 1180, 760);
    if (!window) {
        std::fprintf(stderr, "kindrel-export-bench: %s did not load\n", file.c_str());
        return 1;
    }
    Hooks().pumpEvents = [] {
        g_watch.Tick();
        QCoreApplication::processEvents();
    };
    const int32_t count = window->Collection()->IndividualCount();
    std::printf("== %d individuals, %ld cores\n", count, sysconf(_SC_NPROCESSORS_ONLN));
    QClipboard* clipboard = QApplication::clipboard();

    // 1. The Descendants copy of root's tree, then one cancelled after 300 ms.
    window->JumpToIndividual(root);
    window->SelectTab(kTabDescendants);
    window->FlushPendingRefresh();
    clipboard->clear();
    const double before = ResidentMegabytes();
    const double copyMs = Time([&] { window->PerformPageCommand(PageCommand::kCopy); });
    const std::string text = clipboard->text().toStdString();
    const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n'));
    const double textMb = static_cast<double>(text.size()) / 1048576.0;
    std::printf("Descendants copy of %d: %ld lines, %.1f MB, %.0f ms, %.0f lines/s\n", root, lines,
                textMb, copyMs, copyMs > 0 ? lines / (copyMs / 1000.0) : 0.0);
    std::printf("  longest event-loop stall %.1f ms; extra memory %.1f MB (%.2f x the text)\n",
                g_watch.longest, g_watch.peakMb - before,
                textMb > 0 ? (g_watch.peakMb - before) / textMb : 0.0);
    std::fflush(stdout);
    clipboard->clear();
    bench::Clock::time_point pressed{};
    QTimer cancel;
    cancel.setSingleShot(true);
    QObject::connect(&cancel, &QTimer::timeout, window.get(), [&] {
        if (TWaitDlg* wait = TWaitDlg::Current()) {
            pressed = bench::Clock::now();
            wait->PressCancel();
        }
    });
    cancel.start(300);
    window->PerformPageCommand(PageCommand::kCopy);
    cancel.stop();  // a short copy has ended before it
    if (pressed != bench::Clock::time_point{})
        std::printf("  Cancel after 300 ms: stopped %.1f ms after the press\n",
                    bench::Seconds(pressed) * 1000.0);
    else
        std::printf("  Cancel: the copy ended before 300 ms\n");
    std::fflush(stdout);

    // 2. Copies of the person pages for random people.
    std::uniform_int_distribution<int32_t> pick(1, count);
    const std::pair<int, const char*> pages[] = {{kTabGeneral, "General copy"},
                                                 {kTabIndividual, "Individual copy"},
                                                 {kTabFamily, "Family copy"},
                                                 {kTabPedigree, "Pedigree copy"}};
    std::vector<double> all;
    for (const auto& [tab, label] : pages) {
        window->SelectTab(tab);
        std::vector<double> times;
        for (int i = 0; i < (tab == kTabGeneral ? 20 : people); ++i) {
            window->JumpToIndividual(pick(random));
            window->FlushPendingRefresh();
            times.push_back(Time([&] { window->PerformPageCommand(PageCommand::kCopy); }));
        }
        all.insert(all.end(), times.begin(), times.end());
        Percentiles(label, times);
    }
    Percentiles("All person-page copies", all);

    // 3. Extract GEDCOM into target, twice: first as the window finds the disk (it has just
    // taken the temporary GEDCOM the load wrote, and a virtual machine's disk is often slower
    // for a while after a few hundred megabytes), then after sync() and a pause, on a settled
    // disk as the script times its peer.
    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        if (!files) return int(QDialog::Rejected);
        files->selectFile(QString::fromStdString(target));
        return int(QDialog::Accepted);
    });
    window->SelectTab(kTabSender);
    const auto extract = [&](const char* label) {
        std::filesystem::remove(target);
        messages.clear();
        // The copy itself runs from its first progress report; before it the save dialog is
        // made.
        bench::Clock::time_point copyStart{};
        const auto progress = Hooks().progress;
        Hooks().progress = [&](const std::string& what, long long done, long long total) {
            if (done == 0 && copyStart == bench::Clock::time_point{})
                copyStart = bench::Clock::now();
            if (progress) progress(what, done, total);
        };
        double copyOnlyMs = 0;
        const double extractMs = Time([&] {
            window->ExtractGedcom();
            copyOnlyMs = bench::Seconds(copyStart) * 1000.0;
        });
        Hooks().progress = progress;
        std::error_code ec;
        const auto bytes = std::filesystem::file_size(target, ec);
        std::printf("%s: %.0f ms for %.1f MB, copying %.0f ms (longest event-loop stall "
                    "%.1f ms)%s\n",
                    label, extractMs, ec ? 0.0 : static_cast<double>(bytes) / 1048576.0,
                    copyOnlyMs, g_watch.longest,
                    messages.size() == 1 && messages[0].kind == MessageRecord::kInformation
                        ? ""
                        : " FAILED");
        for (const MessageRecord& message : messages)
            std::printf("  said: %s\n", WMessageBox::DisplayText(message.text).toStdString().c_str());
        std::fflush(stdout);
    };
    extract("Extract GEDCOM right after the load");
    ::sync();
    ::sleep(3);
    extract("Extract GEDCOM");

    // 4. OK in Options after "Display Surnames in UPPERCASE", the List sorted by name.
    window->SelectTab(kTabList);
    window->FlushPendingRefresh();
    auto* list = qobject_cast<TListPage*>(window->PageNamed("listPage"));
    WListGrid* grid = list->Grid();
    const double sortMs = Time([&] {
        grid->SortByColumnDirection(2, true);
        grid->repaint();
    });
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        auto* options = qobject_cast<TOptionsDlg*>(&dialog);
        if (!options) return int(QDialog::Rejected);
        auto* upper = options->findChild<QCheckBox*>("optNameUpper");
        upper->setChecked(!upper->isChecked());
        return int(QDialog::Accepted);
    });
    const double okMs = Time([&] {
        window->ShowOptions();
        window->FlushPendingRefresh();
        grid->repaint();
    });
    std::printf("List sorted by name (header click): %.0f ms\n", sortMs);
    std::printf("Options OK (NameUpper) until the sorted List is shown: %.0f ms "
                "(longest event-loop stall %.1f ms)\n",
                okMs, g_watch.longest);
    std::fflush(stdout);
    WDialogRunner::SetTestHandler({});
    WMessageBox::SetTestHandler({});
    window.reset();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
