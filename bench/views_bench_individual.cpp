// Times the Individual page in the real window, offscreen: for random people of a GEDCOM file,
// the rebuild of the page after a jump plus one synchronous paint of it, with the
// chronological order on (then off), and one page of a person with about 20,000 rows built
// here. Prints the median, the 99th percentile and the longest time.
// Usage: kindrel-views-bench-individual FILE.ged [PEOPLE] [SEED] [BIG_ROWS]
#include "app/app_texts.h"
#include "app/main_window.h"
#include "app/pages/event_row_model.h"
#include "app/pages/individual_page.h"
#include "bench_clock.h"
#include "bench_folder.h"
#include "bench_window.h"
#include "model/collection.h"
#include "services/options.h"

#include <QApplication>

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

using kindrel::Opt;
using kindrel::Options;
using kindrel::TIndividualPage;
using kindrel::TLogoAppForm;

using bench::OpenWindow;

// Milliseconds of one jump to n: the coalesced rebuild run at once, then a paint.
double TimeJump(TLogoAppForm& window, TIndividualPage& page, int32_t n) {
    const auto start = bench::Clock::now();
    window.JumpToIndividual(n);
    window.FlushPendingRefresh();
    page.repaint();
    return bench::Seconds(start) * 1000.0;
}

void Report(const char* label, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double q) {
        return ms[std::min(ms.size() - 1, static_cast<size_t>(q * double(ms.size())))];
    };
    std::printf("%s: %zu people, median %.2f ms, p99 %.2f ms, max %.2f ms\n", label, ms.size(),
                at(0.5), at(0.99), ms.back());
}

// A file with one person (I1) of about rows rows: 499 events and families of 500 children.
std::string WriteBigPerson(const std::string& path, int rows) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME Many /Rows/\r\n1 SEX M\r\n"
           "1 BIRT\r\n2 DATE 1 JAN 1800\r\n";
    const int events = 499;
    for (int e = 0; e < events; ++e)
        out << "1 EVEN\r\n2 TYPE Entry " << e << "\r\n2 DATE " << 1 + e % 28 << " MAR "
            << 1820 + e % 60 << "\r\n2 PLAC Somewhere\r\n";
    const int children = std::max(0, rows - events - 10);
    const int perFamily = 500;
    const int families = (children + perFamily - 1) / perFamily;
    for (int f = 1; f <= families; ++f) out << "1 FAMS @F" << f << "@\r\n";
    int next = 2;
    std::vector<std::vector<int>> kids(static_cast<size_t>(families));
    std::vector<int> spouses;
    for (int f = 0; f < families; ++f) {
        spouses.push_back(next);
        out << "0 @I" << next++ << "@ INDI\r\n1 NAME Spouse" << f
            << " /Rows/\r\n1 SEX F\r\n1 FAMS @F" << f + 1 << "@\r\n";
        for (int c = 0; c < perFamily && f * perFamily + c < children; ++c) {
            kids[static_cast<size_t>(f)].push_back(next);
            out << "0 @I" << next++ << "@ INDI\r\n1 NAME Child" << c << " /Rows/\r\n1 SEX "
                << (c % 2 ? 'F' : 'M') << "\r\n1 BIRT\r\n2 DATE " << 1830 + c % 40
                << "\r\n1 FAMC @F" << f + 1 << "@\r\n";
        }
    }
    for (int f = 0; f < families; ++f) {
        out << "0 @F" << f + 1 << "@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I" << spouses[size_t(f)]
            << "@\r\n1 MARR\r\n2 DATE " << 1825 + f << "\r\n";
        for (int kid : kids[static_cast<size_t>(f)]) out << "1 CHIL @I" << kid << "@\r\n";
    }
    out << "0 TRLR\r\n";
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: %s FILE.ged [PEOPLE=1000] [SEED=1] [BIG_ROWS=20000]\n",
                     argv[0]);
        return argc < 2 ? 2 : 0;
    }
    const std::string file = argv[1];
    const int people = argc > 2 ? std::atoi(argv[2]) : 1000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1;
    const int bigRows = argc > 4 ? std::atoi(argv[4]) : 20000;
    const std::string work = bench::PrivateRunFolder("kindrel-views-bench");
    if (work.empty()) {
        std::perror("views bench: private folder");
        return 1;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    int status = 0;
    {
        std::unique_ptr<TLogoAppForm> window = OpenWindow(file);
        if (!window) {
            std::fprintf(stderr, "views bench: %s did not load\n", file.c_str());
            status = 1;
        } else {
            auto* page = qobject_cast<TIndividualPage*>(window->PageNamed("individualPage"));
            const int32_t count = window->Collection()->IndividualCount();
            std::mt19937 random(seed);
            std::uniform_int_distribution<int32_t> pick(1, count);
            for (const bool chrono : {true, false}) {
                Options().WriteBool(Opt::Chrono, chrono);
                std::vector<double> ms;
                for (int i = 0; i < people; ++i)
                    ms.push_back(TimeJump(*window, *page, pick(random)));
                Report(chrono ? "Individual page, chronological" : "Individual page, list order",
                       std::move(ms));
            }
        }
    }
    if (status == 0 && bigRows > 0) {
        const std::string big = WriteBigPerson(work + "/big-person.ged", bigRows);
        std::unique_ptr<TLogoAppForm> window = OpenWindow(big);
        auto* page =
            window ? qobject_cast<TIndividualPage*>(window->PageNamed("individualPage")) : nullptr;
        if (page) {
            for (const bool chrono : {true, false}) {
                Options().WriteBool(Opt::Chrono, chrono);
                window->JumpToIndividual(2);
                window->FlushPendingRefresh();
                const double ms = TimeJump(*window, *page, 1);
                std::printf("person of %zu rows (%s): %.1f ms\n", page->Model()->Rows().size(),
                            chrono ? "chronological" : "list order", ms);
            }
        }
    }
    std::filesystem::remove_all(work);
    return status;
}
