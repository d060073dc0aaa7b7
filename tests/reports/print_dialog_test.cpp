// The print dialog and preview in the real window offscreen: Ctrl+P on every tab, options kept
// in the settings, the marriage lists following the subject, each format saved through the
// file dialog and read back, the viewer opened or its absence reported, failures reported with
// no file left, Cancel keeping the old file, and the preview's last page.
#include "../app/gui_test_support.h"

#include "app/dialogs/print_dialog.h"
#include "app/dialogs/report_preview.h"
#include "app/ind_scroll.h"
#include "app/url_opener.h"
#include "app/wait_dialog.h"
#include "services/options.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QListWidget>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace kindrel::guitest {
namespace {

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

bool HaveTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " > /dev/null 2>&1").c_str()) == 0;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PrintDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        m_window = OpenWindow(PackSample());
        ASSERT_TRUE(m_window);
    }
    void TearDown() override {
        WDialogRunner::SetTestHandler({});
        m_window.reset();
    }
    // Runs Ctrl+P with body(dialog) in place of the dialog's own loop.
    void WithPrintDialog(const std::function<void(TPrintDlg&)>& body) {
        bool seen = false;
        WDialogRunner::SetTestHandler([&](QDialog& dialog) {
            if (auto* print = qobject_cast<TPrintDlg*>(&dialog); print && !seen) {
                seen = true;
                body(*print);
            }
            return static_cast<int>(QDialog::Rejected);
        });
        QAction* print = m_window->findChild<QAction*>(QStringLiteral("actPrint"));
        ASSERT_TRUE(print);
        ASSERT_TRUE(print->isEnabled());
        print->trigger();
        EXPECT_TRUE(seen);
    }
    std::unique_ptr<TLogoAppForm> m_window;
};

TEST_F(PrintDialogTest, CtrlPOpensOnThePageOfTheActiveTab) {
    const std::pair<int, WReportKind> tabs[] = {
        {kTabSender, WReportKind::kGeneral},         {kTabGeneral, WReportKind::kGeneral},
        {kTabIndividual, WReportKind::kIndividual},  {kTabFamily, WReportKind::kFamily},
        {kTabPedigree, WReportKind::kPedigree},      {kTabDescendants, WReportKind::kDescendants},
        {kTabList, WReportKind::kList},              {kTabHighlighted, WReportKind::kHighlighted},
        {kTabIslands, WReportKind::kIslands},        {kTabSources, WReportKind::kGeneral}};
    for (const auto& [tab, kind] : tabs) {
        m_window->SelectTab(tab);
        WithPrintDialog([&](TPrintDlg& dialog) {
            EXPECT_EQ(dialog.CurrentKind(), kind) << "tab " << tab;
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Print Dialog"));
            EXPECT_EQ(dialog.Subject(), m_window->ActiveIndividual());
            EXPECT_FALSE(Options().ReadBool(Opt::TMGTagSent));
        });
        EXPECT_TRUE(Options().ReadBool(Opt::TMGTagSent)) << "restored after tab " << tab;
    }
}

TEST_F(PrintDialogTest, OptionsRoundTripAndMarriagesFollowTheSubject) {
    WithPrintDialog([](TPrintDlg& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("printListGrey"))->setChecked(true);
        dialog.findChild<QCheckBox*>(QStringLiteral("printIndNotes"))->setChecked(false);
        // William Harrowgate (I4) has two marriages, his father one.
        dialog.Scroll()->JumpTo(4);
        EXPECT_EQ(dialog.FamilyMarriages()->count(), 2);
        EXPECT_EQ(dialog.findChild<QListWidget*>(QStringLiteral("printPedigreeMarriages"))->count(), 2);
        dialog.Scroll()->JumpTo(1);
        EXPECT_EQ(dialog.FamilyMarriages()->count(), 1);
        EXPECT_EQ(DescendantColumnsWidthText(36), QStringLiteral("Width: 3.79\""));
    });
    EXPECT_TRUE(Options().ReadBool(Opt::List_Grey));
    EXPECT_FALSE(Options().ReadBool(Opt::IndNotes));
    WithPrintDialog([](TPrintDlg& dialog) {
        EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("printListGrey"))->isChecked());
        EXPECT_FALSE(dialog.findChild<QCheckBox*>(QStringLiteral("printIndNotes"))->isChecked());
    });
}

TEST_F(PrintDialogTest, EachFormatSavedThroughTheFileDialogAndReadBack) {
    Recorder recorder;
    m_window->SelectTab(kTabList);
    const std::string folder = TestDir();
    struct Case {
        WReportFormat format;
        const char* typed;     // what the user types
        const char* written;   // the file that must exist
    };
    const Case cases[] = {
        {WReportFormat::kPdf, "list", "list.pdf"},
        {WReportFormat::kHtml, "list.htm", "list.htm"},
        {WReportFormat::kRtf, "list.rtf", "list.rtf"},
        {WReportFormat::kPng, "list", "list-0001.png"},
        {WReportFormat::kSvg, "list.svg", "list-0002.svg"},
        {WReportFormat::kPdf, "tree.html", "tree.html"},  // a typed known extension wins
    };
    for (const Case& c : cases) {
        WithPrintDialog([&](TPrintDlg& dialog) {
            dialog.findChild<QCheckBox*>(QStringLiteral("printViewSaved"))->setChecked(true);
            EXPECT_EQ(dialog.ProposedFileName(), "The Sample Family - List");
            WDialogRunner::SetTestHandler([&](QDialog& inner) {
                auto* files = qobject_cast<QFileDialog*>(&inner);
                if (!files) return static_cast<int>(QDialog::Rejected);
                EXPECT_EQ(files->windowTitle(), QStringLiteral("Save to File"));
                files->selectNameFilter(files->nameFilters().at(static_cast<int>(c.format)));
                files->selectFile(QString::fromStdString(folder + "/" + c.typed));
                return static_cast<int>(QDialog::Accepted);
            });
            EXPECT_TRUE(dialog.SaveToFile()) << c.typed;
        });
        const std::string path = folder + "/" + c.written;
        EXPECT_TRUE(QFile::exists(QString::fromStdString(path))) << path;
    }
    const std::string pdf = ReadAll(folder + "/list.pdf");
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    if (HaveTool("pdfinfo")) {
        const std::string info = Shell("pdfinfo '" + folder + "/list.pdf'");
        EXPECT_NE(info.find("Pages:          2"), std::string::npos) << info;
        EXPECT_NE(info.find("612 x 792 pts"), std::string::npos) << info;
        EXPECT_NE(Shell("pdftotext '" + folder + "/list.pdf' -").find("Harrowgate, Ambrose"),
                  std::string::npos);
    }
    EXPECT_EQ(ReadAll(folder + "/tree.html").rfind("%PDF", 0), 0u);
    const QImage image(QString::fromStdString(folder + "/list-0001.png"));
    EXPECT_EQ(image.size(), QSize(1275, 1650));
    EXPECT_TRUE(QSvgRenderer(QString::fromStdString(folder + "/list-0001.svg")).isValid());
    const std::string html = ReadAll(folder + "/list.htm");
    EXPECT_NE(html.find("Harrowgate, Ambrose"), std::string::npos);
    if (HaveTool("xmllint")) {
        EXPECT_EQ(std::system(("xmllint --html --noout '" + folder + "/list.htm' 2>/dev/null").c_str()), 0);
    }
    EXPECT_EQ(ReadAll(folder + "/list.rtf").rfind("{\\rtf1", 0), 0u);
    // Every save opened its file afterwards.
    ASSERT_EQ(recorder.urls.size(), std::size(cases));
    EXPECT_EQ(recorder.urls.front(), QUrl::fromLocalFile(QString::fromStdString(folder + "/list.pdf")));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(PrintDialogTest, NoViewerFailuresAndCancelAreReported) {
    Recorder recorder;
    WUrlOpener::SetTestHandler([](const QUrl&) { return false; });
    m_window->SelectTab(kTabGeneral);
    const std::string folder = TestDir();
    WithPrintDialog([&](TPrintDlg& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("printViewSaved"))->setChecked(true);
        EXPECT_TRUE(dialog.SaveReportTo(folder + "/general.rtf", WReportFormat::kRtf));
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text,
                  QStringLiteral("Error: There is currently no default viewer set up for the file "
                                 "type \"RTF\" your computer."));
        recorder.messages.clear();
        // A folder that does not exist, and a folder as the target: the reason, no viewer.
        EXPECT_FALSE(dialog.SaveReportTo("/nonexistent-folder/x.pdf", WReportFormat::kPdf));
        EXPECT_FALSE(dialog.SaveReportTo(folder, WReportFormat::kHtml));
        ASSERT_EQ(recorder.messages.size(), 2u);
        EXPECT_TRUE(recorder.messages[0].text.contains(QStringLiteral("/nonexistent-folder/x.pdf")));
        EXPECT_TRUE(recorder.messages[1].text.contains(QStringLiteral("folder")));
        EXPECT_FALSE(QFile::exists(QStringLiteral("/nonexistent-folder/x.pdf")));

        // Cancel on a report of two pages: the old file stays as it was, nothing else written.
        dialog.SetCurrentKind(WReportKind::kList);
        const std::string old = folder + "/old.pdf";
        { std::ofstream(old) << "old content"; }
        QTimer::singleShot(0, [] {
            if (TWaitDlg* wait = TWaitDlg::Current()) wait->PressCancel();
        });
        EXPECT_FALSE(dialog.SaveReportTo(old, WReportFormat::kPdf));
        EXPECT_EQ(ReadAll(old), "old content");
    });
}

TEST_F(PrintDialogTest, PreviewShowsAnyPage) {
    m_window->SelectTab(kTabList);
    WithPrintDialog([&](TPrintDlg& dialog) {
        WDialogRunner::SetTestHandler([](QDialog& inner) {
            auto* preview = qobject_cast<TReportPreview*>(&inner);
            EXPECT_TRUE(preview);
            if (!preview) return static_cast<int>(QDialog::Rejected);
            EXPECT_EQ(preview->PageText(), QStringLiteral("1 of 2"));
            preview->ShowPage(preview->PageCount());
            EXPECT_EQ(preview->PageText(), QStringLiteral("2 of 2"));
            preview->ShowPage(99);
            EXPECT_EQ(preview->CurrentPage(), 2);
            preview->SetZoom(1000);
            EXPECT_EQ(preview->Zoom(), 400);
            return static_cast<int>(QDialog::Rejected);
        });
        EXPECT_TRUE(dialog.PreviewReport());
    });
}

}  // namespace
}  // namespace kindrel::guitest
