// kindrel-find-bench-window: the find dialogs and the highlighting in the real window,
// offscreen, over a GEDCOM file: Find Individual's first rows (with the sort of its order, then
// with the order made), its mode changes, a per-person condition until the page is painted
// again, "Ancestors of" without a generation limit, and Next Highlighted (Ctrl+H) from the first
// to the last individual with a rare surname, with the longest time the event loop waited.
// Usage: kindrel-find-bench-window FILE.ged
#include "app/app_texts.h"
#include "app/dialogs/find_dialog.h"
#include "app/find_state.h"
#include "app/ind_scroll.h"
#include "app/main_window.h"
#include "bench_clock.h"
#include "bench_folder.h"
#include "bench_window.h"
#include "model/collection.h"
#include "model/records.h"
#include "services/options.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <utility>
#include <vector>
#include <memory>
#include <string>

namespace {

using bench::Clock;
using bench::Seconds;
using kindrel::Opt;
using kindrel::Options;
using kindrel::TLogoAppForm;

double Milliseconds(Clock::time_point from) {
    return Seconds(from) * 1000.0;
}

using bench::OpenWindow;

// Milliseconds of a new Find Individual dialog until its first rows are painted.
double FirstRows(TLogoAppForm& window, int mode) {
    Options().WriteInt(Opt::FindDlg, mode);
    const auto start = Clock::now();
    kindrel::TWFindDlg dialog(window.FindOrders(), window.Highlighter(), window.Collection(),
                              &window);
    dialog.SetStart(window.ActiveIndividual());
    dialog.show();
    dialog.Grid()->repaint();
    const double ms = Milliseconds(start);
    dialog.hide();
    return ms;
}

// Milliseconds from new highlighting conditions to the shown page painted again.
double ConditionToPaint(TLogoAppForm& window, const std::string& conditions) {
    const auto start = Clock::now();
    if (!window.SetHighlightConditions(conditions)) std::printf("  (conditions refused)\n");
    window.FlushPendingRefresh();
    window.repaint();
    return Milliseconds(start);
}

// Conditions for a full name (surname equals, given names equal) that about one individual in
// `spacing` carries: the rarest name at least that common, or the most common one.
std::string RareName(kindrel::WABSCollection& collection, int spacing) {
    std::map<std::pair<std::string, std::string>, int> counts;
    const int32_t total = collection.IndividualCount();
    for (int32_t n = 1; n <= total; ++n) {
        const auto person = collection.GetIndividual(n);
        if (person && person->Name())
            ++counts[{person->Name()->Surname(), person->Name()->GivenNames()}];
    }
    const int wanted = std::max(2, total / spacing);
    std::pair<std::string, std::string> best;
    int bestCount = 0;
    for (const auto& [name, count] : counts) {
        if (name.first.empty() || name.second.empty()) continue;
        if ((name.first + name.second).find_first_of(":;") != std::string::npos) continue;
        // At least `wanted` bearers, as few as possible; else the most common name.
        const bool better = bestCount < wanted ? count > bestCount
                                               : count >= wanted && count < bestCount;
        if (better) {
            best = name;
            bestCount = count;
        }
    }
    std::printf("rare name \"%s, %s\": %d of %d individuals\n", best.first.c_str(),
                best.second.c_str(), bestCount, total);
    return "+29:2" + best.first + ";A;+30:2" + best.second;
}

// Of `samples` individuals spread over the file, the one with the most ancestors, and that
// number.
std::pair<int32_t, int> DeepestOfSample(kindrel::WABSCollection& collection, int samples) {
    const int32_t total = collection.IndividualCount();
    int32_t deepest = 1;
    int most = -1;
    std::vector<int32_t> todo;
    std::set<int32_t> seen;
    for (int s = 1; s <= samples; ++s) {
        const int32_t n = std::max<int32_t>(1, int32_t(int64_t(total) * s / samples));
        todo.assign(1, n);
        seen.clear();
        while (!todo.empty()) {
            const int32_t at = todo.back();
            todo.pop_back();
            for (const int32_t parent : {collection.Father(at), collection.Mother(at)})
                if (parent > 0 && seen.insert(parent).second) todo.push_back(parent);
        }
        if (int(seen.size()) > most) {
            most = int(seen.size());
            deepest = n;
        }
    }
    return {deepest, most};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: %s FILE.ged\n", argv[0]);
        return argc < 2 ? 2 : 0;
    }
    const std::string work = bench::PrivateRunFolder("kindrel-find-bench-window");
    if (work.empty()) {
        std::perror("find bench: private folder");
        return 1;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    int status = 0;
    {
        Options().WriteBool(Opt::AutoSearch, true);
        auto start = Clock::now();
        std::unique_ptr<TLogoAppForm> window = OpenWindow(argv[1]);
        if (!window) {
            std::fprintf(stderr, "find bench: %s did not load\n", argv[1]);
            std::filesystem::remove_all(work);
            return 1;
        }
        kindrel::WABSCollection& collection = *window->Collection();
        const int32_t count = collection.IndividualCount();
        std::printf("window open %.2f s, %d individuals\n", Seconds(start), count);
        window->JumpToIndividual(count / 2);
        window->FlushPendingRefresh();

        const double coldRows = FirstRows(*window, 3);
        const double warmRows = FirstRows(*window, 3);
        std::printf("Find Individual, first rows (Surname, Name): %.1f ms with the sort, "
                    "%.1f ms with the order made\n",
                    coldRows, warmRows);
        {
            Options().WriteInt(Opt::FindDlg, 3);
            kindrel::TWFindDlg dialog(window->FindOrders(), window->Highlighter(), &collection,
                                      window.get());
            dialog.SetStart(count / 2);
            dialog.show();
            for (const int mode : {4, 5, 2, 1, 3, 4}) {
                start = Clock::now();
                dialog.SetMode(mode);
                dialog.Grid()->repaint();
                std::printf("  mode change to %d: %.1f ms\n", mode, Milliseconds(start));
            }
            dialog.hide();
        }

        std::printf("per-person condition to the painted page: Individual tab %.1f ms",
                    ConditionToPaint(*window, "+17:F"));
        window->SelectTab(kindrel::kTabList);
        window->FlushPendingRefresh();
        std::printf(", List tab %.1f ms\n", ConditionToPaint(*window, "-17:F"));
        window->SelectTab(kindrel::kTabIndividual);

        const auto [deep, forebears] = DeepestOfSample(collection, 20000);
        const std::string ancestors = "+21:" + std::to_string(deep) + "^0";
        const double ancestorsMs = ConditionToPaint(*window, ancestors);
        std::printf("\"Ancestors of\" %d (%d ancestors), no generation limit, to the painted "
                    "page: %.1f ms\n",
                    deep, forebears, ancestorsMs);

        // Ctrl+H from the first individual to the last highlighted one; a timer notes how long
        // the event loop went without turning.
        ConditionToPaint(*window, RareName(collection, 10000));
        window->JumpToIndividual(1);
        window->FlushPendingRefresh();
        kindrel::WIndScroll* scroll = window->Scroll();
        QElapsedTimer sinceTick;
        qint64 longestWait = 0;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestWait = std::max(longestWait, sinceTick.restart());
        });
        int steps = 0;
        double longestStep = 0;
        start = Clock::now();
        sinceTick.start();
        ticker.start();
        for (;;) {
            const auto step = Clock::now();
            const bool moved = scroll->NextHighlighted();
            window->FlushPendingRefresh();
            QCoreApplication::processEvents();
            longestStep = std::max(longestStep, Milliseconds(step));  // the last, empty scan too
            if (!moved) break;
            ++steps;
        }
        ticker.stop();
        std::printf("Ctrl+H across the file: %d steps, %.3f s, longest step %.1f ms, longest "
                    "event-loop wait %lld ms\n",
                    steps, Seconds(start), longestStep, static_cast<long long>(longestWait));
        std::printf("peak memory %.0f MB\n", bench::PeakMegabytes());
    }
    std::filesystem::remove_all(work);
    return status;
}
