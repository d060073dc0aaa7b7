// Times the report preview on a generated GEDCOM, offscreen: the List report (default columns,
// grey rows, dividers) made and its first page shown, the last page shown, and Page Down from
// the start and from the middle, each until the dialog is drawn (grab() renders it with
// every child, as a paint of the screen would).
// Usage: kindrel-preview-bench FILE.ged [MOVES]
#include "app/dialogs/report_preview.h"
#include "bench_clock.h"
#include "bench_load.h"
#include "bench_window.h"
#include "reports/report_forms.h"
#include "reports/report_painter.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kindrel;

template <typename Work>
double Milliseconds(Work work) {
    const auto start = bench::Clock::now();
    work();
    return bench::Seconds(start) * 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kindrel-preview-bench FILE.ged [MOVES]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int moves = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
    try {
        auto start = bench::Clock::now();
        std::unique_ptr<WGEDCollection> collection = bench::LoadGedcom(argv[1]);
        std::printf("%-44s %.2f s, %d individuals\n", "load", bench::Seconds(start),
                    collection->IndividualCount());
        WQtTextMetrics metrics;
        WReportRequest request;
        request.kind = WReportKind::kList;
        request.collection = collection.get();
        request.settings.listGrey = request.settings.listDivider = true;
        request.metrics = &metrics;
        request.fileText = "generated.ged";
        request.sources.gedcomName = "generated.ged";

        std::unique_ptr<TABSReportForm> form;
        std::unique_ptr<TReportPreview> preview;
        const double first = Milliseconds([&] {
            form = MakeReportForm(request);
            if (!form->Prepare()) throw KindrelError("the list has nothing to print");
            preview = std::make_unique<TReportPreview>(*form, nullptr, nullptr);
            preview->resize(760, 940);
            preview->show();
            preview->grab();
        });
        std::printf("%-44s %.1f ms (%d pages)\n", "first page shown (report made)", first,
                    preview->PageCount());
        const double last = Milliseconds([&] {
            bench::PressKey(preview.get(), Qt::Key_End);
            preview->grab();
        });
        std::printf("%-44s %.1f ms (page %d)\n", "End: last page shown", last,
                    preview->CurrentPage());
        std::vector<double> times;
        bench::PressKey(preview.get(), Qt::Key_Home);
        for (int i = 0; i < moves; ++i)
            times.push_back(Milliseconds([&] {
                bench::PressKey(preview.get(), Qt::Key_PageDown);
                preview->grab();
            }));
        // Page Down far into the list, over pages not shown before.
        preview->ShowPage(preview->PageCount() / 2);
        for (int i = 0; i < moves; ++i)
            times.push_back(Milliseconds([&] {
                bench::PressKey(preview.get(), Qt::Key_PageDown);
                preview->grab();
            }));
        std::sort(times.begin(), times.end());
        std::printf("%-44s median %.1f ms, worst %.1f ms (%zu)\n", "Page Down",
                    times[times.size() / 2], times.back(), times.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kindrel-preview-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
