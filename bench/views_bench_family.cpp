// kindrel-views-bench-family: opens a GEDCOM in the real viewer window (offscreen) and times the
// Family and Pedigree pages for random individuals: the jump, the page's rebuild and a
// synchronous repaint, as the user sees it after moving the scroll bar.
// Usage: kindrel-views-bench-family FILE [PEOPLE] [SEED] [CONDITIONS]
//        (defaults: 1000 people, seed 1, no highlighting)
#include "app/app_texts.h"
#include "app/main_window.h"
#include "bench_clock.h"
#include "bench_folder.h"
#include "model/collection.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using bench::Clock;
using bench::Seconds;

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t at = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: kindrel-views-bench-family FILE [PEOPLE] [SEED] [CONDITIONS]\n");
        return 2;
    }
    const std::string file = argv[1];
    const int people = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1u;
    const std::string conditions = argc > 4 ? argv[4] : "";
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string folder = bench::PrivateRunFolder("kindrel-views-bench");
    int status = 0;
    {
        QApplication app(argc, argv);
        using namespace kindrel;
        TLogoAppForm::StartOptions start;
        start.gedcomFile = file;
        start.quickHelp = false;
        TLogoAppForm window(start);
        window.resize(1100, 720);
        const auto opened = Clock::now();
        window.show();
        while (!window.StartupDone()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        WABSCollection* collection = window.Collection();
        if (!collection || collection->IndividualCount() < 1) {
            std::fprintf(stderr, "kindrel-views-bench-family: %s did not open\n", file.c_str());
            status = 1;
        } else {
            const int32_t count = collection->IndividualCount();
            std::printf("%s: %d individuals, opened in %.2f s\n", file.c_str(), count,
                        Seconds(opened));
            if (!conditions.empty()) {
                const auto highlight = Clock::now();
                window.SetHighlightConditions(conditions);
                std::printf("highlight %s: %.2f s\n", conditions.c_str(), Seconds(highlight));
            }
            std::printf("%-10s %8s %8s %8s %8s %8s  (ms: rebuild + paint of %d people)\n", "page",
                        "median", "p90", "p99", "max", "mean", people);
            const struct {
                const char* name;
                int tab;
            } pages[] = {{"Family", kTabFamily}, {"Pedigree", kTabPedigree}};
            for (const auto& page : pages) {
                window.SelectTab(page.tab);
                window.FlushPendingRefresh();
                QWidget* shown = window.PageForTab(page.tab);
                std::mt19937 random(seed);
                std::uniform_int_distribution<int32_t> pick(1, count);
                std::vector<double> ms;
                ms.reserve(static_cast<size_t>(people));
                for (int i = 0; i < people; ++i) {
                    const int32_t n = pick(random);
                    QElapsedTimer timer;
                    timer.start();
                    window.JumpToIndividual(n);
                    window.FlushPendingRefresh();
                    shown->repaint();
                    ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
                    // Let queued work (tooltips, layout) run outside the measured span.
                    QCoreApplication::processEvents();
                }
                double sum = 0;
                for (double v : ms) sum += v;
                std::printf("%-10s %8.2f %8.2f %8.2f %8.2f %8.2f\n", page.name, Percentile(ms, 0.5),
                            Percentile(ms, 0.9), Percentile(ms, 0.99), Percentile(ms, 1.0),
                            sum / static_cast<double>(ms.size()));
            }
        }
    }
    std::error_code ec;
    if (!folder.empty()) std::filesystem::remove_all(folder, ec);
    return status;
}
