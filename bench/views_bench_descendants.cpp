// Times the Descendants page in the real window, offscreen: the walk of individual 1 (cold,
// then warm) with the memory it adds, Page Down and Ctrl+End in its grid, random people, the
// scroll bar's thumb dragged across the file (longest event-loop gap), and Next Highlighted
// across the file under a sparse condition (total time, longest gap).
// Usage: kindrel-views-bench-descendants FILE.ged [PEOPLE] [SEED]
#include "app/app_texts.h"
#include "app/ind_scroll.h"
#include "app/main_window.h"
#include "app/pages/descendants_model.h"
#include "app/pages/descendants_page.h"
#include "app/pages/person_table.h"
#include "bench_clock.h"
#include "bench_folder.h"
#include "model/collection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using kindrel::TDescendantsPage;
using kindrel::TLogoAppForm;

// Resident memory in MB, from /proc/self/statm.
double ResidentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void Report(const char* label, std::vector<double> ms) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double q) {
        return ms[std::min(ms.size() - 1, static_cast<size_t>(q * double(ms.size())))];
    };
    std::printf("%s: %zu runs, median %.2f ms, p99 %.2f ms, max %.2f ms\n", label, ms.size(),
                at(0.5), at(0.99), ms.back());
}

// Records the longest gap between turns of the event loop while it runs.
class GapMeter {
  public:
    GapMeter() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
    }
    void Start() {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double Stop() {
        Tick();
        m_timer.stop();
        return m_longest;
    }

  private:
    void Tick() {
        const double now = double(m_clock.nsecsElapsed()) / 1e6;
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_longest = 0;
};

double TimeKey(QWidget& target, int key, Qt::KeyboardModifiers modifiers) {
    const auto start = bench::Clock::now();
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&target, &press);
    target.repaint();
    return bench::Seconds(start) * 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: %s FILE.ged [PEOPLE=1000] [SEED=1]\n", argv[0]);
        return argc < 2 ? 2 : 0;
    }
    const std::string file = argv[1];
    const int people = argc > 2 ? std::atoi(argv[2]) : 1000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1;
    const std::string work = bench::PrivateRunFolder("kindrel-views-bench");
    if (work.empty()) {
        std::perror("views bench: private folder");
        return 1;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    int status = 0;
    {
        TLogoAppForm::StartOptions start;
        start.gedcomFile = file;
        start.quickHelp = false;
        TLogoAppForm window(start);
        window.resize(1100, 720);
        window.show();
        while (!window.StartupDone()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        auto* page = qobject_cast<TDescendantsPage*>(window.PageNamed("descendantsPage"));
        if (!window.Collection() || !page) {
            std::fprintf(stderr, "views bench: %s did not load\n", file.c_str());
            status = 1;
        } else {
            const int32_t count = window.Collection()->IndividualCount();
            // The walk of individual 1: the first on this page (cold), then again (warm).
            window.JumpToIndividual(1);
            window.FlushPendingRefresh();
            const double before = ResidentMb();
            auto timeWalk = [&] {
                const auto start = bench::Clock::now();
                window.SelectTab(kindrel::kTabDescendants);
                page->Rewalk();
                page->repaint();
                return bench::Seconds(start);
            };
            const double cold = timeWalk();
            const double added = ResidentMb() - before;
            const double warm = timeWalk();
            const int rows = page->Model() ? page->Model()->rowCount() : 0;
            std::printf("Descendants of 1: %d rows, cold %.3f s, warm %.3f s, %.1f MB added\n",
                        rows, cold, warm, added);

            QWidget& grid = *page->Grid();
            grid.setFocus();
            std::vector<double> pageDown;
            for (int i = 0; i < 200; ++i) pageDown.push_back(TimeKey(grid, Qt::Key_PageDown, {}));
            Report("Page Down", std::move(pageDown));
            std::vector<double> end;
            for (int i = 0; i < 20; ++i) {
                TimeKey(grid, Qt::Key_Home, Qt::ControlModifier);
                end.push_back(TimeKey(grid, Qt::Key_End, Qt::ControlModifier));
            }
            Report("Ctrl+End", std::move(end));

            // Random people: jump, rebuild, paint.
            std::mt19937 random(seed);
            std::uniform_int_distribution<int32_t> pick(1, count);
            std::vector<double> jumps;
            for (int i = 0; i < people; ++i) {
                const auto start = bench::Clock::now();
                window.JumpToIndividual(pick(random));
                window.FlushPendingRefresh();
                page->FlushPendingWalk();
                page->repaint();
                jumps.push_back(bench::Seconds(start) * 1000.0);
            }
            Report("Descendants page, random people", std::move(jumps));

            // The thumb dragged across the file in 200 steps of about 30 ms each.
            QScrollBar& bar = *window.Scroll()->ScrollBar();
            GapMeter meter;
            const int walksBefore = page->WalkCount();
            meter.Start();
            const auto dragStart = bench::Clock::now();
            bar.setSliderDown(true);
            const int steps = 200;
            for (int i = 1; i <= steps; ++i) {
                bar.setValue(bar.minimum() + int((long long)(bar.maximum() - bar.minimum()) * i / steps));
                QElapsedTimer rest;
                rest.start();
                while (rest.elapsed() < 30) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            }
            bar.setSliderDown(false);
            while (page->WalkPending() || page->IsWalking())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            std::printf("Thumb across the file: %.2f s, %d walks, longest event-loop gap %.1f ms\n",
                        bench::Seconds(dragStart), page->WalkCount() - walksBefore, meter.Stop());

            // Next Highlighted from individual 1 to the end under a rule that marks about one
            // in 100,000: the parents of a few people spread over the file.
            std::string rule;
            const int marked = std::max(1, count / 200000);
            for (int k = 1; k <= marked; ++k) {
                if (!rule.empty()) rule += ";O;";
                rule += "+63:" + std::to_string(int64_t(count) * k / (marked + 1));
            }
            window.SetHighlightConditions(rule);
            window.SelectTab(kindrel::kTabIndividual);
            window.JumpToIndividual(1);
            window.FlushPendingRefresh();
            meter.Start();
            const auto scanStart = bench::Clock::now();
            int stops = 0;
            while (window.Scroll()->NextHighlighted()) ++stops;
            std::printf("Ctrl+H across the file (%s): %d stops, %.3f s, longest gap %.1f ms\n",
                        rule.c_str(), stops, bench::Seconds(scanStart), meter.Stop());
        }
    }
    std::filesystem::remove_all(work);
    return status;
}
