// Times the List, Highlighted and Islands tabs in the real window, offscreen, on a GEDCOM
// file: the first List rows (with the automatic sort of the first column), scroll-bar moves
// with "Move to Active Individual in List" on, Page Down / End / thumb moves in the grid,
// header sorts and a flip, the Highlighted tab, the Islands tab, the largest island's members,
// Use Island on it, and a CSV copy; with the longest gap between two event-pump calls.
// Usage: kindrel-lists-bench FILE.ged [MOVES] [SEED]
#include "analysis/list_columns.h"
#include "app/app_texts.h"
#include "app/dialogs/list_clip_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/pages/islands_page.h"
#include "app/pages/list_grid.h"
#include "app/pages/list_model.h"
#include "app/pages/list_page.h"
#include "bench_clock.h"
#include "bench_folder.h"
#include "bench_window.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "services/options.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace kindrel;

// The longest time between two event-pump calls (or from the start) while armed.
struct PumpGap {
    bench::Clock::time_point last = bench::Clock::now();
    double longest = 0;
    void Arm() {
        last = bench::Clock::now();
        longest = 0;
    }
    void Tick() {
        const auto now = bench::Clock::now();
        longest = std::max(longest, bench::Seconds(last, now) * 1000.0);
        last = now;
    }
};
PumpGap g_gap;

void Line(const char* label, double ms) {
    std::printf("%-44s %9.1f ms   (longest event-loop gap %.1f ms)\n", label, ms, g_gap.longest);
    std::fflush(stdout);
}

void Percentiles(const char* label, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s median %.2f ms, max %.2f ms (%zu)\n", label, ms[ms.size() / 2], ms.back(),
                ms.size());
    std::fflush(stdout);
}

template <typename Work>
double Time(Work work) {
    g_gap.Arm();
    const auto start = bench::Clock::now();
    work();
    g_gap.Tick();
    return bench::Seconds(start) * 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage: kindrel-lists-bench FILE.ged [MOVES] [SEED]\n");
        return 2;
    }
    const std::string file = argv[1];
    const int moves = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
    std::mt19937 random(argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1u);
    const std::string home = bench::PrivateRunFolder("kindrel-lists-bench");
    if (home.empty()) {
        std::perror("kindrel-lists-bench: private folder");
        return 1;
    }
    QApplication app(argc, argv);
    Options().WriteBool(Opt::DispInitHelp, false);
    Options().WriteBool(Opt::FindInList, false);
    Options().WriteListColumns("1,2,7,65,67,19,18,38,28");

    TLogoAppForm::StartOptions start;
    start.gedcomFile = file;
    start.quickHelp = false;
    auto window = bench::OpenStartedWindow(start, 1180, 760);
    if (!window) {
        std::fprintf(stderr, "kindrel-lists-bench: %s did not load\n", file.c_str());
        return 1;
    }
    // As the window's own pump: events at most once per throttle interval.
    Hooks().pumpEvents = [] {
        static WPumpThrottle throttle;
        if (!throttle.Due()) return;
        g_gap.Tick();
        QCoreApplication::processEvents();
    };
    const int32_t count = window->Collection()->IndividualCount();
    std::printf("== %d individuals, %ld cores\n", count, sysconf(_SC_NPROCESSORS_ONLN));
    auto* list = qobject_cast<TListPage*>(window->PageNamed("listPage"));
    WListGrid* grid = list->Grid();

    Line("First List rows (sorted by column 1)", Time([&] {
             window->SelectTab(kTabList);
             grid->repaint();
         }));
    // Cells of tree totals are filled from the event loop after the first paint.
    Line("First rows' tree totals filled in", Time([&] {
             while (grid->Model()->HasPendingCells()) {
                 g_gap.Tick();
                 QCoreApplication::processEvents();
             }
             grid->repaint();
         }));

    // Scroll-bar moves with "Move to Active Individual in List" on.
    Options().WriteBool(Opt::FindInList, true);
    std::uniform_int_distribution<int32_t> pick(1, count);
    std::vector<double> scroll;
    for (int i = 0; i < moves; ++i)
        scroll.push_back(Time([&] {
            window->JumpToIndividual(pick(random));
            window->FlushPendingRefresh();
            grid->repaint();
        }));
    Percentiles("Scroll-bar move, FindInList on", scroll);
    Options().WriteBool(Opt::FindInList, false);

    std::vector<double> keys;
    grid->setFocus();
    grid->setCurrentIndex(grid->Model()->index(0, 0));
    for (int i = 0; i < moves; ++i)
        keys.push_back(Time([&] {
            bench::PressKey(grid, Qt::Key_PageDown);
            grid->repaint();
        }));
    Percentiles("Page Down", keys);
    keys.clear();
    for (int i = 0; i < 10; ++i) {
        keys.push_back(Time([&] {
            bench::PressKey(grid, i % 2 ? Qt::Key_Home : Qt::Key_End);
            grid->repaint();
        }));
    }
    Percentiles("End / Home", keys);
    keys.clear();
    QScrollBar* bar = grid->verticalScrollBar();
    for (int i = 0; i < moves; ++i)
        keys.push_back(Time([&] {
            bar->setValue(static_cast<int>(random() % static_cast<unsigned>(bar->maximum() + 1)));
            grid->repaint();
        }));
    Percentiles("Thumb move", keys);

    // Header sorts: 7 (name), 65 (birth), 19 (age), 38 (relationship), 28. Relationships
    // relate to individual 1, as the peers' runs do.
    window->JumpToIndividual(1);
    window->FlushPendingRefresh();
    const WListColumns& columns = *window->ColumnSet(ColumnSetKind::kList);
    for (int code : {7, 65, 19, 38, 28}) {
        int column = 0;
        for (int c = 1; c <= columns.ColumnCount(); ++c)
            if (columns.ColumnCode(c) == code) column = c;
        const std::string label = "Sort by column code " + std::to_string(code);
        Line(label.c_str(), Time([&] {
                 grid->SortByColumn(column);
                 grid->repaint();
             }));
        if (code == 7)
            Line("Flip (second click)", Time([&] {
                     grid->SortByColumn(column);
                     grid->repaint();
                 }));
    }

    Line("Highlighted \"+17:F\"", Time([&] {
             window->SetHighlightConditions("+17:F");
             window->SelectTab(kTabHighlighted);
             while (grid->Model()->rowCount() == 0)
                 QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
             grid->repaint();
         }));
    window->SetHighlightConditions("");

    auto* islands = qobject_cast<TIslandsPage*>(window->PageNamed("islandsPage"));
    Line("Islands tab (calculation)", Time([&] {
             window->SelectTab(kTabIslands);
             islands->repaint();
         }));
    Line("Largest island's members (unsorted)", Time([&] {
             islands->MembersGrid()->Columns()->ClearSort();
             islands->SelectIsland(1);
             islands->MembersGrid()->repaint();
         }));
    Line("Use Island on the largest", Time([&] {
             window->UseIslandInView(1);
             QCoreApplication::processEvents();
         }));
    window->UseIslandInView(0);

    window->SelectTab(kTabList);
    WDialogRunner::SetTestHandler([](QDialog& dialog) {
        if (auto* clip = qobject_cast<TListClipDlg*>(&dialog)) clip->Choose(ListCopyForm::kCsv);
        return dialog.result();
    });
    WMessageBox::SetTestHandler([](const MessageRecord&) { return true; });
    Line("CSV copy of the List", Time([&] { list->CopyList(); }));

    window.reset();
    std::filesystem::remove_all(home);
    return 0;
}
