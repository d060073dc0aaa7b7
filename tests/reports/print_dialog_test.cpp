// The print dialog and preview in the real window offscreen: Ctrl+P on every tab, options kept
// in the settings, the marriage lists following the subject, each format saved through the
// file dialog and read back, the viewer opened or its absence reported, failures reported with
// no file left, Cancel keeping the old file, printing to a PDF printer and the preview's pages.
#include "../app/gui_test_support.h"

#include "app/dialogs/print_dialog.h"
#include "app/dialogs/report_preview.h"
#include "app/ind_scroll.h"
#include "app/pages/person_table.h"
#include "app/url_opener.h"
#include "app/wait_dialog.h"
#include "reports/report_files.h"
#include "reports/report_painter.h"
#include "services/options.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSlider>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kindrel::guitest {
namespace {

// A case that waits on a dialog that never comes ends the process instead of hanging.
constexpr unsigned kCaseSeconds = 240;

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

// The files of a folder, by name.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string NewFolder(const std::string& name) {
    const std::string folder = TestDir() + "/" + name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Plain text of a PDF by pdftotext (empty without the tool).
std::string PdfText(const std::string& pdf) {
    return HaveTool("pdftotext") ? Shell("pdftotext -layout '" + pdf + "' - 2>/dev/null") : "";
}

// The page count pdfinfo reports (-1 without the tool or the line).
int PdfPages(const std::string& info) {
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// The text of a file as the office suite reads it: converted to PDF (own profile, own output
// folder) and read by pdftotext.
std::string OfficeText(const std::string& file) {
    static int run = 0;
    const std::string profile = NewFolder("office-profile");
    const std::string out = NewFolder("office-out-" + std::to_string(++run));
    Shell("soffice -env:UserInstallation=file://" + profile + " --headless --convert-to pdf --outdir '" +
          out + "' '" + file + "' > /dev/null 2>&1");
    const std::string stem = std::filesystem::path(file).stem().string();
    return PdfText(out + "/" + stem + ".pdf");
}

class PrintDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GuiApp();
        ::alarm(kCaseSeconds);
        // Quick help would open a modal dialog on each tab.
        Options().WriteBool(Opt::DispInitHelp, false);
        Options().WriteBool(Opt::TMGTagSent, true);
        Options().WriteText(Opt::SaveToFileDir, "");
        m_recorder = std::make_unique<Recorder>();
        m_window = OpenWindow(PackSample());
        ASSERT_TRUE(m_window);
        ASSERT_NE(m_window->Collection(), nullptr);
    }
    void TearDown() override {
        SetContextMenuTestHandler({});
        m_window.reset();
        m_recorder.reset();
        ::alarm(0);
    }
    // Runs Ctrl+P with body(dialog) in place of the dialog's own loop; other dialogs are
    // rejected unless body installs its own handler.
    void WithPrintDialog(const std::function<void(TPrintDlg&)>& body) {
        bool seen = false;
        WDialogRunner::SetTestHandler([&](QDialog& dialog) {
            if (auto* print = qobject_cast<TPrintDlg*>(&dialog); print && !seen) {
                seen = true;
                WDialogRunner::SetTestHandler(
                    [](QDialog&) { return static_cast<int>(QDialog::Rejected); });
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
    // Answers the save dialog with a filter and a typed name (within folder).
    static void AnswerSave(const std::string& folder, WReportFormat format, const std::string& typed,
                           QString* proposed = nullptr, QString* directory = nullptr) {
        WDialogRunner::SetTestHandler([=](QDialog& inner) {
            auto* files = qobject_cast<QFileDialog*>(&inner);
            if (!files) return static_cast<int>(QDialog::Rejected);
            EXPECT_EQ(files->windowTitle(), QStringLiteral("Save to File"));
            EXPECT_EQ(files->nameFilters().size(), static_cast<int>(WReportFormat::kCount));
            if (proposed) *proposed = files->selectedFiles().value(0);
            if (directory) *directory = files->directory().absolutePath();
            files->selectNameFilter(files->nameFilters().at(static_cast<int>(format)));
            files->selectFile(QString::fromStdString(folder + "/" + typed));
            return static_cast<int>(QDialog::Accepted);
        });
    }
    static QCheckBox* Box(TPrintDlg& dialog, const char* name) {
        return dialog.findChild<QCheckBox*>(QString::fromLatin1(name));
    }

    std::unique_ptr<Recorder> m_recorder;
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
            EXPECT_EQ(dialog.Pages()->count(), 8);
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Print Dialog"));
            EXPECT_EQ(dialog.Subject(), m_window->ActiveIndividual());
            EXPECT_FALSE(Options().ReadBool(Opt::TMGTagSent));
            // Every report of the sample can act.
            for (const char* name : {"printPrint", "printPreview", "printSave"})
                EXPECT_TRUE(dialog.findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled());
        });
        EXPECT_TRUE(Options().ReadBool(Opt::TMGTagSent)) << "restored after tab " << tab;
    }
}

TEST_F(PrintDialogTest, OptionsRoundTripMarriagesFollowTheSubjectAndWidthShowsWhatPrints) {
    WithPrintDialog([](TPrintDlg& dialog) {
        Box(dialog, "printListGrey")->setChecked(true);
        Box(dialog, "printIndNotes")->setChecked(false);
        Box(dialog, "printDesRepeat")->setChecked(true);
        Box(dialog, "printViewSaved")->setChecked(true);
        // William Harrowgate (I4) has three marriages, his father one.
        dialog.Scroll()->JumpTo(4);
        EXPECT_EQ(dialog.FamilyMarriages()->count(), 3);
        EXPECT_EQ(dialog.findChild<QListWidget*>(QStringLiteral("printPedigreeMarriages"))->count(), 3);
        dialog.FamilyMarriages()->setCurrentRow(2);
        EXPECT_EQ(dialog.CurrentSettings().familyIndex, 3);
        dialog.Scroll()->JumpTo(1);
        EXPECT_EQ(dialog.FamilyMarriages()->count(), 1);
        EXPECT_EQ(dialog.CurrentSettings().familyIndex, 1);
        // The width label follows the slider and says what prints.
        auto* slider = dialog.findChild<QSlider*>(QStringLiteral("printDesWidth"));
        slider->setValue(36);
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("printDesWidthText"))->text(),
                  QStringLiteral("Width: 3.79\""));
        slider->setValue(18);
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("printDesWidthText"))->text(),
                  QStringLiteral("Width: 5.67\""));
    });
    EXPECT_TRUE(Options().ReadBool(Opt::List_Grey));
    EXPECT_FALSE(Options().ReadBool(Opt::IndNotes));
    EXPECT_TRUE(Options().ReadBool(Opt::ViewSaved));
    WithPrintDialog([](TPrintDlg& dialog) {
        EXPECT_TRUE(Box(dialog, "printListGrey")->isChecked());
        EXPECT_FALSE(Box(dialog, "printIndNotes")->isChecked());
        EXPECT_TRUE(Box(dialog, "printDesRepeat")->isChecked());
        EXPECT_TRUE(Box(dialog, "printViewSaved")->isChecked());
        EXPECT_EQ(dialog.findChild<QSlider*>(QStringLiteral("printDesWidth"))->value(), 18);
    });
}

TEST_F(PrintDialogTest, ProposedNamesAndTypedExtensions) {
    // Names a file system refuses become "_"; no leading dot; empty takes the report's name.
    const std::pair<const char*, const char*> names[] = {
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j - List"},
        {"..hidden", "hidden - List"},
        {"tab\there\x01", "tab_here_ - List"},
        {"", "List"},
        {"   ", "List"},
    };
    for (const auto& [base, expected] : names)
        EXPECT_EQ(ProposedReportFileName(base, " - List"), expected) << base;
    // A typed known extension picks the format; anything else gets the filter's appended.
    const struct {
        const char* typed;
        WReportFormat chosen;
        const char* target;
        WReportFormat format;
    } typed[] = {
        {"tree.html", WReportFormat::kPdf, "tree.html", WReportFormat::kHtml},
        {"tree.HTM", WReportFormat::kPdf, "tree.HTM", WReportFormat::kHtml},
        {"tree.jpeg", WReportFormat::kRtf, "tree.jpeg", WReportFormat::kJpeg},
        {"tree", WReportFormat::kSvg, "tree.svg", WReportFormat::kSvg},
        {"tree.v2", WReportFormat::kPdf, "tree.v2.pdf", WReportFormat::kPdf},
        {".pdf", WReportFormat::kRtf, ".pdf.rtf", WReportFormat::kRtf},
    };
    for (const auto& t : typed) {
        WReportFormat format = t.chosen;
        EXPECT_EQ(ReportTargetName(t.typed, format), t.target) << t.typed;
        EXPECT_EQ(format, t.format) << t.typed;
    }
    // In the dialog: the subject's name without slashes, prefix or suffix.
    m_window->SelectTab(kTabIndividual);
    m_window->JumpToIndividual(4);
    WithPrintDialog([](TPrintDlg& dialog) {
        EXPECT_EQ(dialog.ProposedFileName(), "William Harrowgate - Individual");
        dialog.SetCurrentKind(WReportKind::kGeneral);
        EXPECT_EQ(dialog.ProposedFileName(), "The Sample Family - General Info");
    });
    EXPECT_TRUE(Options().ReadBool(Opt::NameSlash));
}

TEST_F(PrintDialogTest, EachFormatSavedThroughTheFileDialogAndReadBack) {
    m_window->SelectTab(kTabList);
    const std::string folder = NewFolder("formats");
    struct Case {
        WReportFormat format;
        const char* typed;    // what the user types
        const char* written;  // a file that must exist
    };
    const Case cases[] = {
        {WReportFormat::kPdf, "list", "list.pdf"},
        {WReportFormat::kHtml, "list.htm", "list.htm"},
        {WReportFormat::kRtf, "list.rtf", "list.rtf"},
        {WReportFormat::kPng, "list", "list-0001.png"},
        {WReportFormat::kJpeg, "list", "list-0002.jpg"},
        {WReportFormat::kBmp, "list", "list-0001.bmp"},
        {WReportFormat::kSvg, "list.svg", "list-0002.svg"},
        {WReportFormat::kPdf, "tree.html", "tree.html"},  // the typed extension wins
    };
    QString proposed, directory;
    for (const Case& c : cases) {
        WithPrintDialog([&](TPrintDlg& dialog) {
            Box(dialog, "printViewSaved")->setChecked(true);
            EXPECT_EQ(dialog.ProposedFileName(), "The Sample Family - List");
            AnswerSave(folder, c.format, c.typed, &proposed, &directory);
            EXPECT_TRUE(dialog.SaveToFile()) << c.typed;
        });
        const std::string path = folder + "/" + c.written;
        EXPECT_TRUE(QFile::exists(QString::fromStdString(path))) << path;
    }
    // The last save started in the folder of the one before.
    EXPECT_EQ(directory.toStdString(), folder);
    EXPECT_TRUE(proposed.endsWith(QStringLiteral("The Sample Family - List"))) << proposed.toStdString();
    EXPECT_EQ(Options().ReadText(Opt::SaveToFileDir), folder);

    EXPECT_EQ(ReadAll(folder + "/list.pdf").rfind("%PDF", 0), 0u);
    if (HaveTool("pdfinfo")) {
        const std::string info = Shell("pdfinfo '" + folder + "/list.pdf'");
        EXPECT_EQ(PdfPages(info), 2) << info;
        EXPECT_NE(info.find("612 x 792 pts"), std::string::npos) << info;
        const std::string text = PdfText(folder + "/list.pdf");
        EXPECT_NE(text.find("Harrowgate"), std::string::npos) << text;
        EXPECT_NE(text.find("File: The Sample Family"), std::string::npos) << text;
    }
    // "tree.html" typed with the PDF filter holds HTML.
    EXPECT_NE(ReadAll(folder + "/tree.html").find("<html"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/tree.html.pdf")));
    for (const char* image : {"list-0001.png", "list-0002.jpg", "list-0001.bmp"}) {
        const QImage page(QString::fromStdString(folder + "/" + image));
        EXPECT_EQ(page.size(), QSize(1275, 1650)) << image;
        // Something is drawn: not every pixel is white.
        EXPECT_LT(page.convertToFormat(QImage::Format_Grayscale8).scaled(1, 1, Qt::IgnoreAspectRatio,
                                                                         Qt::SmoothTransformation)
                      .pixelColor(0, 0)
                      .value(),
                  255)
            << image;
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/list-0003.png")));
    QSvgRenderer svg(QString::fromStdString(folder + "/list-0001.svg"));
    EXPECT_TRUE(svg.isValid());
    EXPECT_GT(svg.defaultSize().width(), 0);
    const std::string html = ReadAll(folder + "/list.htm");
    EXPECT_NE(html.find("Harrowgate"), std::string::npos);
    if (HaveTool("xmllint")) {
        EXPECT_EQ(std::system(("xmllint --html --noout '" + folder + "/list.htm' 2>/dev/null").c_str()), 0);
    }
    EXPECT_EQ(ReadAll(folder + "/list.rtf").rfind("{\\rtf1", 0), 0u);
    // RTF and HTML as a word processor reads them.
    if (HaveTool("soffice") && HaveTool("pdftotext")) {
        for (const char* name : {"list.rtf", "list.htm"}) {
            const std::string text = OfficeText(folder + "/" + name);
            EXPECT_NE(text.find("Harrowgate"), std::string::npos) << name << ": " << text;
        }
    }
    // Every save opened its file afterwards, and nothing went wrong.
    ASSERT_EQ(m_recorder->urls.size(), std::size(cases));
    EXPECT_EQ(m_recorder->urls.front(), QUrl::fromLocalFile(QString::fromStdString(folder + "/list.pdf")));
    EXPECT_TRUE(m_recorder->messages.empty());
}

TEST_F(PrintDialogTest, OfficeReadsRtfAndHtmlWithAccentedNames) {
    if (!HaveTool("soffice") || !HaveTool("pdftotext")) GTEST_SKIP() << "soffice or pdftotext missing";
    m_window->SelectTab(kTabGeneral);
    const std::string folder = NewFolder("office");
    WithPrintDialog([&](TPrintDlg& dialog) {
        EXPECT_TRUE(dialog.SaveReportTo(folder + "/general.rtf", WReportFormat::kRtf));
        EXPECT_TRUE(dialog.SaveReportTo(folder + "/general.html", WReportFormat::kHtml));
    });
    for (const char* name : {"general.rtf", "general.html"}) {
        const std::string text = OfficeText(folder + "/" + name);
        // The sender's name carries an r with caron and an a with acute.
        EXPECT_NE(text.find(kSampleSender), std::string::npos) << name << ": " << text;
        EXPECT_NE(text.find("General File Information"), std::string::npos) << name;
    }
}

TEST_F(PrintDialogTest, NoViewerFailuresAndCancelAreReported) {
    WUrlOpener::SetTestHandler([](const QUrl&) { return false; });
    m_window->SelectTab(kTabGeneral);
    const std::string folder = NewFolder("failures");
    WithPrintDialog([&](TPrintDlg& dialog) {
        Box(dialog, "printViewSaved")->setChecked(true);
        EXPECT_TRUE(dialog.SaveReportTo(folder + "/general.rtf", WReportFormat::kRtf));
        ASSERT_EQ(m_recorder->messages.size(), 1u);
        EXPECT_EQ(m_recorder->messages[0].text,
                  QStringLiteral("Error: There is currently no default viewer set up for the file "
                                 "type \"RTF\" your computer."));
        m_recorder->messages.clear();
        WUrlOpener::SetTestHandler([this](const QUrl& url) {
            m_recorder->urls.push_back(url);
            return true;
        });
        // A folder that does not exist, a file as a folder and a folder as the target: the
        // reason, no file and no viewer.
        const std::string asFolder = folder + "/general.rtf/x.pdf";
        EXPECT_FALSE(dialog.SaveReportTo("/nonexistent-folder/x.pdf", WReportFormat::kPdf));
        EXPECT_FALSE(dialog.SaveReportTo(asFolder, WReportFormat::kPdf));
        EXPECT_FALSE(dialog.SaveReportTo(folder, WReportFormat::kHtml));
        ASSERT_EQ(m_recorder->messages.size(), 3u);
        EXPECT_TRUE(m_recorder->messages[0].text.contains(QStringLiteral("/nonexistent-folder/x.pdf")));
        EXPECT_TRUE(m_recorder->messages[1].text.contains(QString::fromStdString(asFolder)));
        EXPECT_TRUE(m_recorder->messages[2].text.contains(QStringLiteral("folder")));
        EXPECT_TRUE(m_recorder->urls.empty());
        EXPECT_FALSE(QFile::exists(QStringLiteral("/nonexistent-folder/x.pdf")));
        m_recorder->messages.clear();

        // A read-only folder (the superuser writes anyway; then there is nothing to see).
        const std::string locked = NewFolder("locked");
        std::filesystem::permissions(locked, std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
        if (::access(locked.c_str(), W_OK) != 0) {
            EXPECT_FALSE(dialog.SaveReportTo(locked + "/general.pdf", WReportFormat::kPdf));
            ASSERT_EQ(m_recorder->messages.size(), 1u);
            EXPECT_TRUE(m_recorder->messages[0].text.contains(QString::fromStdString(locked)));
            EXPECT_TRUE(FilesIn(locked).empty());
        }
        std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
        m_recorder->messages.clear();

        // Cancel on a report of two pages: the old file stays as it was, nothing else written.
        dialog.SetCurrentKind(WReportKind::kList);
        const std::string old = folder + "/old.pdf";
        { std::ofstream(old) << "old content"; }
        const auto before = FilesIn(folder);
        QTimer::singleShot(0, [] {
            if (TWaitDlg* wait = TWaitDlg::Current()) wait->PressCancel();
        });
        EXPECT_FALSE(dialog.SaveReportTo(old, WReportFormat::kPdf));
        EXPECT_EQ(ReadAll(old), "old content");
        EXPECT_EQ(FilesIn(folder), before);
        // Cancel on the second page of an image save: neither page's file changes or appears.
        const std::string oldPage = folder + "/old-0001.png";
        { std::ofstream(oldPage) << "old page"; }
        const auto beforeImages = FilesIn(folder);
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [] {
            TWaitDlg* wait = TWaitDlg::Current();
            if (wait && wait->ProgressText() == QStringLiteral("Page 2 of 2")) wait->PressCancel();
        });
        watch.start(0);
        EXPECT_FALSE(dialog.SaveReportTo(folder + "/old.png", WReportFormat::kPng));
        watch.stop();
        EXPECT_EQ(ReadAll(oldPage), "old page");
        EXPECT_EQ(FilesIn(folder), beforeImages);
        EXPECT_TRUE(m_recorder->messages.empty());
        EXPECT_TRUE(m_recorder->urls.empty());
    });
}

TEST_F(PrintDialogTest, CancelMidSaveOfALargeListLeavesTheOldFile) {
    const std::string gedcom = GeneratedGedcom(KINDREL_GENGEDCOM, 50000);
    ASSERT_FALSE(gedcom.empty());
    m_window.reset();
    m_window = OpenWindow("/nonexistent/no-payload", gedcom);
    ASSERT_NE(m_window->Collection(), nullptr);
    m_window->SelectTab(kTabList);
    const std::string folder = NewFolder("large");
    const std::string old = folder + "/list.pdf";
    { std::ofstream(old) << "old content"; }
    WithPrintDialog([&](TPrintDlg& dialog) {
        EXPECT_EQ(dialog.CurrentKind(), WReportKind::kList);
        QString seenProgress;
        QString seenMessage;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            TWaitDlg* wait = TWaitDlg::Current();
            // Events are pumped every few pages: cancel at the first page seen past the fourth.
            if (!wait || !wait->ProgressText().startsWith(QStringLiteral("Page "))) return;
            const QStringList words = wait->ProgressText().split(QLatin1Char(' '));
            if (words.size() != 4 || words[1].toInt() < 5 || !seenProgress.isEmpty()) return;
            seenProgress = wait->ProgressText();
            seenMessage = wait->Message();
            wait->PressCancel();
        });
        watch.start(1);
        EXPECT_FALSE(dialog.SaveReportTo(old, WReportFormat::kPdf));
        watch.stop();
        EXPECT_EQ(seenMessage, QStringLiteral("Saving to File.  Please Wait..."));
        // 50,000 rows, some fifty a page.
        EXPECT_GT(seenProgress.section(QLatin1Char(' '), 3).toInt(), 800)
            << seenProgress.toStdString();
        EXPECT_LT(seenProgress.section(QLatin1Char(' '), 1, 1).toInt(),
                  seenProgress.section(QLatin1Char(' '), 3).toInt())
            << seenProgress.toStdString();
    });
    EXPECT_EQ(ReadAll(old), "old content");
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"list.pdf"});
    EXPECT_TRUE(m_recorder->messages.empty());
}

TEST_F(PrintDialogTest, PrintsToAPdfPrinterWithAPageRange) {
    m_window->SelectTab(kTabList);
    const std::string pdf = TestDir() + "/printed.pdf";
    std::filesystem::remove(pdf);
    int minPage = 0, maxPage = 0;
    WithPrintDialog([&](TPrintDlg& dialog) {
        WDialogRunner::SetTestHandler([&](QDialog& inner) {
            auto* print = qobject_cast<QPrintDialog*>(&inner);
            if (!print) return static_cast<int>(QDialog::Rejected);
            minPage = print->minPage();
            maxPage = print->maxPage();
            QPrinter* printer = print->printer();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QString::fromStdString(pdf));
            printer->setPrintRange(QPrinter::PageRange);
            printer->setFromTo(2, 2);
            return static_cast<int>(QDialog::Accepted);
        });
        EXPECT_TRUE(dialog.PrintReport());
    });
    EXPECT_EQ(minPage, 1);
    EXPECT_EQ(maxPage, 2);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    if (HaveTool("pdfinfo")) {
        const std::string info = Shell("pdfinfo '" + pdf + "'");
        EXPECT_EQ(PdfPages(info), 1) << info;
        EXPECT_NE(info.find("612 x 792 pts"), std::string::npos) << info;
        EXPECT_NE(PdfText(pdf).find("Page 2"), std::string::npos) << PdfText(pdf);
    }
    EXPECT_TRUE(m_recorder->messages.empty());
}

TEST_F(PrintDialogTest, PreviewShowsAnyPageByKeysButtonsWheelAndMenu) {
    m_window->SelectTab(kTabList);
    int printed = 0;
    WithPrintDialog([&](TPrintDlg& dialog) {
        WDialogRunner::SetTestHandler([&](QDialog& inner) {
            if (qobject_cast<QPrintDialog*>(&inner)) {
                ++printed;
                return static_cast<int>(QDialog::Rejected);
            }
            auto* preview = qobject_cast<TReportPreview*>(&inner);
            EXPECT_TRUE(preview);
            if (!preview) return static_cast<int>(QDialog::Rejected);
            preview->resize(700, 900);
            preview->show();
            EXPECT_EQ(preview->PageText(), QStringLiteral("1 of 2"));
            const auto key = [preview](int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
                QKeyEvent press(QEvent::KeyPress, k, mods);
                QApplication::sendEvent(preview, &press);
            };
            key(Qt::Key_End);
            EXPECT_EQ(preview->PageText(), QStringLiteral("2 of 2"));
            key(Qt::Key_PageDown);
            EXPECT_EQ(preview->CurrentPage(), 2);
            key(Qt::Key_PageUp);
            EXPECT_EQ(preview->CurrentPage(), 1);
            qobject_cast<QAbstractButton*>(preview->findChild<QWidget*>(QStringLiteral("previewLast")))->click();
            EXPECT_EQ(preview->CurrentPage(), 2);
            EXPECT_FALSE(preview->findChild<QWidget*>(QStringLiteral("previewNext"))->isEnabled());
            key(Qt::Key_Home);
            EXPECT_EQ(preview->CurrentPage(), 1);
            preview->ShowPage(99);
            EXPECT_EQ(preview->CurrentPage(), 2);
            // Zoom: clamped, and Ctrl+wheel steps it.
            preview->SetZoom(1000);
            EXPECT_EQ(preview->Zoom(), 400);
            preview->SetZoom(100);
            QWidget* viewport = preview->findChild<QWidget*>(QStringLiteral("previewScroll"))
                                    ->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
            EXPECT_TRUE(viewport);
            if (!viewport) return static_cast<int>(QDialog::Rejected);
            QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &wheel);
            EXPECT_EQ(preview->Zoom(), 125);
            EXPECT_EQ(preview->findChild<QWidget*>(QStringLiteral("previewPage"))->width(), 1020);
            preview->SetZoom(0);
            EXPECT_LE(preview->findChild<QWidget*>(QStringLiteral("previewPage"))->height(), 900);
            // The context menu goes to the first page.
            SetContextMenuTestHandler([](QMenu& menu) {
                for (QAction* action : menu.actions())
                    if (action->text() == QStringLiteral("First Page")) action->trigger();
            });
            QWidget* page = preview->findChild<QWidget*>(QStringLiteral("previewPage"));
            Q_EMIT page->customContextMenuRequested(QPoint(5, 5));
            EXPECT_EQ(preview->CurrentPage(), 1);
            // Ctrl+P prints from the preview.
            for (QAction* action : preview->actions())
                if (action->shortcut() == QKeySequence(QStringLiteral("Ctrl+P"))) action->trigger();
            return static_cast<int>(QDialog::Rejected);
        });
        EXPECT_TRUE(dialog.PreviewReport());
    });
    EXPECT_EQ(printed, 1);
}

// The pictures of the print dialog and the preview for the documentation.
TEST_F(PrintDialogTest, ScreenshotsWhenAsked) {
    const char* dir = std::getenv("KINDREL_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "KINDREL_SCREENSHOT_DIR not set";
    const QString folder = QString::fromLocal8Bit(dir) + QLatin1Char('/');
    const auto save = [&](QWidget* widget, const char* name) {
        WaitFor([] { return false; }, 150);
        EXPECT_TRUE(widget->grab().save(folder + QString::fromLatin1(name)));
    };
    m_window->JumpToIndividual(4);
    m_window->SelectTab(kTabDescendants);
    WithPrintDialog([&](TPrintDlg& dialog) {
        dialog.show();
        save(&dialog, "print-dialog.png");
        dialog.SetCurrentKind(WReportKind::kList);
        WDialogRunner::SetTestHandler([&](QDialog& inner) {
            if (auto* preview = qobject_cast<TReportPreview*>(&inner)) {
                preview->resize(760, 940);
                preview->show();
                preview->SetZoom(0);
                save(preview, "report-preview.png");
            }
            return static_cast<int>(QDialog::Rejected);
        });
        EXPECT_TRUE(dialog.PreviewReport());
    });
}

// The per-character widths of simple text agree with the shaped width the painter draws,
// and text that needs shaping (combining marks, emoji, scripts the table leaves out) is
// shaped; a cut always fits its label when measured by the font itself.
TEST(ReportMetrics, CharacterSumsAgreeWithShapedWidths) {
    GuiApp();
    WQtTextMetrics metrics;
    const char* texts[] = {"Smith, John William", "AVATAR To Yo fi fl ffi", "Wałęsa, Łucja",
                           "Пётр Ильич Чайковский", "Ἀλέξανδρος", "e\xCC\x81le\xCC\x81onore",
                           "Ann \xF0\x9F\x98\x80 Lee", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",
                           "tab\there", ""};
    for (const bool bold : {false, true}) {
        for (const int size : {12, 18}) {
            const QFontMetricsF shaped(ReportFont(size, bold));
            for (const char* text : texts) {
                const double want = shaped.horizontalAdvance(QString::fromUtf8(text)) * 1.02;
                // Never narrower than drawn; ligatures ("fi") make the sum a little wider.
                const double width = metrics.TextWidth(text, size, bold);
                EXPECT_GE(width, want - 0.01) << text << " size " << size << (bold ? " bold" : "");
                EXPECT_LE(width, want * 1.03 + 0.01) << text << " size " << size;
                const std::string cut = CutToWidth(metrics, text, 60, size, bold);
                EXPECT_LE(shaped.horizontalAdvance(QString::fromStdString(cut)), 60.0) << text;
            }
        }
    }
}

}  // namespace
}  // namespace kindrel::guitest
