// Cancel during the load of a large generated file returns the window to its empty state.
#include "gui_test_support.h"

#include "app/app_texts.h"
#include "app/general_page.h"
#include "app/info_grid_model.h"
#include "app/wait_dialog.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "services/options.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kindrel::guitest {
namespace {

// About 200,000 individuals (some 60 MB): long enough to be cancelled part-way.
std::string GenerateLargeGedcom() {
    const std::string file = TestDir() + "/large.ged";
    const std::string command =
        std::string("\"") + KINDREL_GENGEDCOM + "\" 200000 -o \"" + file + "\" > /dev/null";
    if (std::system(command.c_str()) != 0) return {};
    return file;
}

TEST(CancelLoad, CancelDuringALoadLeavesTheWindowEmpty) {
    GuiApp();
    Options().WriteBool(Opt::DispInitHelp, false);
    Recorder recorder;
    const std::string large = GenerateLargeGedcom();
    ASSERT_FALSE(large.empty());
    auto window = OpenWindow(PackSample());
    ASSERT_NE(window->Collection(), nullptr);
    window->SelectTab(kTabGeneral);

    // Press Cancel on the wait dialog as soon as the load has made some progress.
    bool pressed = false;
    bool sawBusyPanel = false;
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        TWaitDlg* dialog = TWaitDlg::Current();
        if (!dialog || pressed) return;
        sawBusyPanel = window->StatusText(0) == kAnalyzingText;
        EXPECT_EQ(dialog->Message(), kReadingText);
        EXPECT_EQ(dialog->windowTitle(), "Working...");
        dialog->PressCancel();
        pressed = true;
    });
    presser.start(5);
    const bool opened = window->OpenGenealogyFile(large);
    presser.stop();

    ASSERT_TRUE(pressed) << "the load ended before Cancel could be pressed";
    EXPECT_TRUE(sawBusyPanel);
    EXPECT_FALSE(opened);
    EXPECT_EQ(window->Collection(), nullptr);
    EXPECT_EQ(window->FileName(), "");
    EXPECT_FALSE(window->IsBusy());
    EXPECT_EQ(window->windowTitle(), kMainCaption);
    for (int panel = 0; panel <= 4; ++panel) EXPECT_EQ(window->StatusText(panel), "") << panel;
    for (const InfoRow& row : window->GeneralPage()->StatisticsModel()->Rows())
        EXPECT_EQ(row.value, "") << row.label;
    EXPECT_TRUE(window->GeneralPage()->HeaderModel()->Rows().empty());
    EXPECT_EQ(window->ActiveIndividual(), 0);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_TRUE(WaitFor([] { return TWaitDlg::Current() == nullptr; }, 2000));
    EXPECT_TRUE(window->centralWidget()->isEnabled());

    // The window works on: the sample opens again.
    ASSERT_TRUE(window->OpenGenealogyFile(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged"));
    EXPECT_EQ(window->StatusText(1), "I: 59");
}

TEST(CancelLoad, ClosingDuringALoadCancelsItAndClosesAfterwards) {
    GuiApp();
    Options().WriteBool(Opt::DispInitHelp, false);
    Recorder recorder;
    const std::string large = GenerateLargeGedcom();
    ASSERT_FALSE(large.empty());
    auto window = OpenWindow(PackSample());
    bool asked = false;
    bool closedAtOnce = true;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (asked || !TWaitDlg::Current()) return;
        asked = true;
        closedAtOnce = window->close();  // refused while the load runs
    });
    closer.start(5);
    EXPECT_FALSE(window->OpenGenealogyFile(large));
    closer.stop();
    ASSERT_TRUE(asked);
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(window->Collection(), nullptr);
    // The close follows once the load has returned.
    EXPECT_TRUE(WaitFor([&] { return !window->isVisible(); }, 3000));
    EXPECT_TRUE(recorder.messages.empty());
}

}  // namespace
}  // namespace kindrel::guitest
