// How the window starts: from a GEDCOM file instead of a payload, from a file without payload,
// and what it writes to the settings when it closes and reads at the next start.
#include "gui_test_support.h"

#include "app/app_texts.h"
#include "app/left_panel.h"
#include "app/program_entry.h"
#include "app/quick_help.h"
#include "app/sender_page.h"
#include "model/collection.h"
#include "services/options.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kindrel::guitest {
namespace {

std::string SampleGedcom() {
    return std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged";
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class WindowStartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        FreshSettings();
        Options().WriteBool(Opt::DispInitHelp, false);
    }
    Recorder m_recorder;
};

TEST_F(WindowStartTest, GedcomGivenInsteadOfAPayloadIsOpened) {
    auto window = OpenWindow("/nonexistent/no-payload", SampleGedcom());
    ASSERT_NE(window->Collection(), nullptr);
    EXPECT_EQ(window->ActiveIndividual(), 1);
    EXPECT_EQ(window->windowTitle(), "Kindrel Self-Viewing GEDCOM 1.07 - sample_family.ged");
    EXPECT_EQ(window->StatusText(1), "I: 59");
    EXPECT_EQ(window->Trailer(), nullptr);
    EXPECT_TRUE(m_recorder.messages.empty());
}

TEST_F(WindowStartTest, FileWithoutPayloadShowsTheNoGedcomMessage) {
    auto window = OpenWindow(SampleGedcom());
    EXPECT_EQ(window->Collection(), nullptr);
    ASSERT_EQ(m_recorder.messages.size(), 1u);
    EXPECT_EQ(m_recorder.messages[0].text, QString::fromUtf8(kNoGedcomMessage));
    EXPECT_EQ(m_recorder.messages[0].caption, "Kindrel Self-Viewing GEDCOM");
    EXPECT_EQ(window->windowTitle(), kMainCaption);
    EXPECT_FALSE(window->SenderPage()->WebSiteShown());
}

TEST_F(WindowStartTest, WebSiteAndExtractFollowTheTrailer) {
    SampleOptions options;
    options.webSite = "example.org/harrowgate";
    options.allowExtract = true;
    auto window = OpenWindow(PackSample(options));
    TSenderPage* sender = window->SenderPage();
    EXPECT_TRUE(sender->WebSiteShown());
    EXPECT_EQ(sender->WebTarget(), "http://example.org/harrowgate");
    // Allowed: the window's extraction is behind the button (its own tests are elsewhere).
    EXPECT_TRUE(sender->ExtractShown());
    int extracted = 0;
    sender->SetExtractHandler([&] { ++extracted; });
    EXPECT_TRUE(sender->ExtractShown());
    sender->findChild<QPushButton*>("extractButton")->click();
    EXPECT_EQ(extracted, 1);
}

TEST_F(WindowStartTest, ClosingWritesTheSettingsAndTheNextStartReadsThem) {
    const std::string packed = PackSample();
    // Inside the offscreen screen, above the window's minimum size.
    const QRect normal(40, 30, 720, 540);
    ASSERT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(normal));
    QPoint frame;  // the corner of the window's frame, title bar included
    {
        auto window = OpenWindow(packed);
        ASSERT_LE(window->minimumSizeHint().height(), normal.height());
        window->setGeometry(normal);
        WaitFor([&] { return window->geometry() == normal; }, 2000);
        ASSERT_EQ(window->geometry(), normal);
        frame = window->frameGeometry().topLeft();
        window->SelectTab(kTabGeneral);
        window->PanelCommand(kPanelFileSearch);
        window->JumpToIndividual(9);
        EXPECT_TRUE(window->close());
    }
    // The next start: a fresh cache over the file written at exit.
    Options().ClearCache();
    WOptions reread(SettingsFile());
    EXPECT_EQ(reread.ReadInt(Opt::LastID), 9);
    EXPECT_EQ(reread.ReadInt(Opt::LastTab), kTabGeneral);
    EXPECT_TRUE(reread.ReadBool(Opt::LastPanelState));
    EXPECT_EQ(reread.ReadInt(Opt::LastPanel), kPanelFileSearch);
    const int panelWidth = reread.ReadInt(Opt::LastPanelWidth);
    EXPECT_GT(panelWidth, 0);
    const WindowPlacement placement = reread.ReadWindowPlacement(1024, 768);
    EXPECT_EQ(placement.showCmd, 1);
    // The frame's corner, so that a window put back at the screen's top keeps its title bar
    // on it; the inside's size.
    EXPECT_EQ(placement.left, frame.x());
    EXPECT_EQ(placement.top, frame.y());
    EXPECT_EQ(placement.right, frame.x() + normal.width());
    EXPECT_EQ(placement.bottom, frame.y() + normal.height());

    TLogoAppForm::StartOptions start;
    start.selfViewFile = packed;
    TLogoAppForm next(start);
    next.ApplySavedPlacement();
    EXPECT_EQ(next.pos(), frame);
    EXPECT_EQ(next.size(), normal.size());
    EXPECT_FALSE(next.PanelShown());  // the panel starts hidden, at its stored width
    EXPECT_EQ(next.PanelWidth(), panelWidth);
    next.show();
    // Shown, with its frame, it is where it was.
    WaitFor([&] { return next.geometry() == normal; }, 2000);
    EXPECT_EQ(next.geometry(), normal);
    next.PanelCommand(kPanelDirectory);
    auto* splitter = next.findChild<QSplitter*>("mainSplitter");
    ASSERT_NE(splitter, nullptr);
    EXPECT_NEAR(splitter->sizes().front(), panelWidth, 2);
}

TEST_F(WindowStartTest, MaximisedPlacementAndRectanglesOffTheScreen) {
    WindowPlacement placement;
    placement.showCmd = 3;
    placement.left = 5000;  // a screen that is gone
    placement.top = 4000;
    placement.right = 5600;
    placement.bottom = 4500;
    Options().WriteWindowPlacement(placement);
    TLogoAppForm::StartOptions start;
    start.selfViewFile = "/nonexistent";
    TLogoAppForm window(start);
    window.ApplySavedPlacement();
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect normal =
        window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    EXPECT_TRUE(screen.contains(normal))
        << normal.x() << "," << normal.y() << " " << normal.width() << "x" << normal.height()
        << " min " << window.minimumSizeHint().width() << "x" << window.minimumSizeHint().height();
}

TEST_F(WindowStartTest, ChangedSettingsAreWrittenWhenIdle) {
    auto window = OpenWindow(PackSample());
    Options().WriteText(Opt::LastDir, "/kindrel/idle/test");
    QEventLoop loop;
    QTimer::singleShot(150, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_NE(ReadFile(SettingsFile()).find("LastDir=/kindrel/idle/test"), std::string::npos);
}

TEST_F(WindowStartTest, TemporaryGedcomIsDeletedWithTheWindow) {
    std::string temp;
    {
        auto window = OpenWindow(PackSample());
        temp = window->FileName();
        ASSERT_FALSE(temp.empty());
        EXPECT_TRUE(std::filesystem::exists(temp));
        EXPECT_EQ(std::filesystem::path(temp).filename().string().rfind("fmr", 0), 0u);
    }
    EXPECT_FALSE(std::filesystem::exists(temp));
}

TEST_F(WindowStartTest, OpenDialogStartOpensTheFileViewedLastOrAsks) {
    // Opening a GEDCOM puts it first in the list of files viewed.
    const std::string sample = SampleGedcom();
    OpenWindow("/nonexistent/no-payload", sample).reset();
    WOptions& options = Options();
    ASSERT_EQ(options.ReadText(Opt::File1), sample);
    QStringList filters;
    std::string answer;
    WDialogRunner::SetTestHandler([&](QDialog& dialog) {
        ++m_recorder.dialogs;
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        if (!files || answer.empty()) return int(QDialog::Rejected);
        filters = files->nameFilters();
        files->selectFile(QString::fromStdString(answer));
        return int(QDialog::Accepted);
    });
    // "Reload last file viewed": File1 without asking.
    options.WriteBool(Opt::LoadLastFile, true);
    EXPECT_EQ(ChooseStartFile(options), sample);
    EXPECT_EQ(m_recorder.dialogs, 0);
    // Off, or File1 gone: the open dialog asks; cancelled, nothing is opened.
    const std::string other = TestDir() + "/other.ged";
    std::filesystem::copy_file(sample, other, std::filesystem::copy_options::overwrite_existing);
    options.WriteBool(Opt::LoadLastFile, false);
    answer = other;
    EXPECT_EQ(ChooseStartFile(options), other);
    EXPECT_EQ(m_recorder.dialogs, 1);
    EXPECT_EQ(filters.value(0), "All Files (*.ged *.paf *.sub *.tmg)");
    EXPECT_TRUE(filters.contains("GEDCOM (*.ged)"));
    options.WriteBool(Opt::LoadLastFile, true);
    options.WriteText(Opt::File1, TestDir() + "/gone.ged");
    answer.clear();
    EXPECT_EQ(ChooseStartFile(options), "");
    EXPECT_EQ(m_recorder.dialogs, 2);
    options.WriteBool(Opt::LoadLastFile, false);
}

TEST_F(WindowStartTest, RestoreSettingsAtStartupBringsBackTabIndividualAndPanel) {
    const std::string packed = PackSample();
    Options().WriteBool(Opt::OpenLastFile, true);
    {
        auto window = OpenWindow(packed);
        window->JumpToIndividual(9);
        window->SelectTab(kTabFamily);
        window->PanelCommand(kPanelFileSearch);
        EXPECT_TRUE(window->close());
    }
    {
        auto window = OpenWindow(packed);
        EXPECT_EQ(window->ActiveIndividual(), 9);
        EXPECT_EQ(window->ActiveTab(), kTabFamily);
        EXPECT_TRUE(window->PanelShown());
        EXPECT_EQ(window->LeftPanel()->Page(), kPanelFileSearch);
        window->PanelCommand(kPanelFileSearch);  // hidden at close this time
        EXPECT_TRUE(window->close());
    }
    // Another file: the tab comes back, the individual is that file's own start individual.
    SampleOptions other;
    other.outputName = "OtherFamily";
    {
        auto window = OpenWindow(PackSample(other));
        EXPECT_EQ(window->ActiveIndividual(), kSampleStartIndividual);
        EXPECT_EQ(window->ActiveTab(), kTabFamily);
        EXPECT_FALSE(window->PanelShown());
    }
    // Off: the start individual on the Sender tab.
    Options().WriteBool(Opt::OpenLastFile, false);
    auto window = OpenWindow(packed);
    EXPECT_EQ(window->ActiveIndividual(), kSampleStartIndividual);
    EXPECT_EQ(window->ActiveTab(), kTabSender);
    EXPECT_TRUE(m_recorder.messages.empty());
}

TEST(ViewerIconTest, WindowIconHoldsTheDesktopIconAtEachSize) {
    // The icons are resources of a static library: unregistered, the linker drops them and
    // the window shows the desktop's generic icon.
    GuiApp();
    const QIcon icon = ViewerIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : {48, 128, 256}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    const QImage image = icon.pixmap(QSize(48, 48)).toImage();
    ASSERT_EQ(image.size(), QSize(48, 48));
    // Not blank: the middle of the picture differs from its corner.
    EXPECT_NE(image.pixel(24, 14), image.pixel(0, 0));
}

}  // namespace
}  // namespace kindrel::guitest
