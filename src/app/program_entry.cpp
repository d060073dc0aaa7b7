#include "app/program_entry.h"

#include "app/app_texts.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/splash_screen.h"
#include "app/viewer_application.h"
#include "containers/temp_file.h"
#include "services/options.h"
#include "services/posix_file.h"
#include "services/self_view_trailer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
#include <QPixmap>
#include <QTabBar>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

// The icons live in a static library's resources, which the linker drops unless they are
// registered by name.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace kindrel {

QIcon ViewerIcon() {
    static const bool registered = (InitIconResources(), true);
    (void)registered;
    QIcon icon;
    for (const int size : {48, 128, 256}) {
        const QString file = QStringLiteral(":/icons/kindrel-%1.png").arg(size);
        if (QFile::exists(file)) icon.addFile(file, QSize(size, size));
    }
    return icon;
}

namespace {

constexpr const char* kSelfExe = "/proc/self/exe";

struct ViewerArgs {
    bool help = false;
    std::string error;
    std::string gedcomFile;
    std::string selfViewFile = kSelfExe;
    int screenshotTab = -1;
    std::string screenshotFile;
    bool timing = false;
    bool openDialog = false;  // started from the desktop: without a file, ask for one
    std::string highlight;      // hidden: conditions set once loaded (screenshots, benchmarks)
    int individual = 0;         // hidden: the individual made active once loaded
    int panel = -1;             // hidden: the left panel page shown once loaded
    std::vector<char*> qtArgs;  // what is left for QApplication
};

void PrintUsage() {
    std::printf(
        "Usage: kindrel-viewer [options] [GEDCOM]\n"
        "\n"
        "%s: shows the genealogy (GEDCOM) file packed inside this program by\n"
        "`kindrel pack`. Run a packed file directly; run kindrel-viewer with a GEDCOM file to\n"
        "view that file instead.\n"
        "\n"
        "Options:\n"
        "  -h, --help          show this help and exit\n"
        "  --self-view FILE    show the GEDCOM packed in another self-viewing file\n"
        "  --timing            print the start-up times (first paint, file loaded) and exit\n"
        "  --open-dialog       without GEDCOM: open the file viewed last (\"Reload last\n"
        "                      file viewed\") or ask for one (the desktop entry uses this)\n"
        "\n"
        "The window needs a display. Without one (no DISPLAY or WAYLAND_DISPLAY), run it with\n"
        "QT_QPA_PLATFORM=offscreen or under xvfb-run. Settings are kept in\n"
        "$XDG_CONFIG_HOME/KDSE.ini (default ~/.config/KDSE.ini).\n",
        kMainCaption);
}

bool ParseInt(const char* text, int& value) {
    return ParseSettingInt(text ? text : "", value);
}

ViewerArgs ParseArgs(int argc, char** argv) {
    ViewerArgs args;
    args.qtArgs.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* option) -> const char* {
            if (i + 1 >= argc) {
                args.error = std::string(option) + " needs a value";
                return nullptr;
            }
            return argv[++i];
        };
        if (arg == "-h" || arg == "--help") {
            args.help = true;
        } else if (arg == "--self-view") {
            if (const char* v = value("--self-view")) args.selfViewFile = v;
        } else if (arg == "--timing") {
            args.timing = true;
        } else if (arg == "--open-dialog") {
            args.openDialog = true;
        } else if (arg == "--screenshot-tab") {
            // Hidden: the documentation's screenshots.
            const char* v = value("--screenshot-tab");
            if (v && (!ParseInt(v, args.screenshotTab) || args.screenshotTab < 0 ||
                      args.screenshotTab >= kTabCount))
                args.error = "--screenshot-tab takes a tab index 0 to 10";
        } else if (arg == "--highlight") {
            // Hidden, as are --individual and the screenshot options.
            if (const char* v = value("--highlight")) args.highlight = v;
        } else if (arg == "--individual") {
            const char* v = value("--individual");
            if (v && (!ParseInt(v, args.individual) || args.individual < 1))
                args.error = "--individual takes an individual number from 1";
        } else if (arg == "--panel") {
            const char* v = value("--panel");
            if (v && (!ParseInt(v, args.panel) || args.panel < 0 || args.panel > 3))
                args.error = "--panel takes a panel page 0 to 3";
        } else if (arg == "--screenshot") {
            if (const char* v = value("--screenshot")) args.screenshotFile = v;
        } else if (arg.size() > 1 && arg[0] == '-') {
            // Qt's own options (-platform, -style ...) and their values go to QApplication.
            args.qtArgs.push_back(argv[i]);
            const bool takesValue = arg == "-platform" || arg == "-style" || arg == "-display" ||
                                    arg == "-qwindowgeometry" || arg == "-stylesheet";
            if (takesValue && i + 1 < argc) args.qtArgs.push_back(argv[++i]);
        } else if (args.gedcomFile.empty()) {
            args.gedcomFile = arg;
        } else {
            args.error = "only one GEDCOM file can be given";
        }
        if (!args.error.empty()) break;
    }
    if (args.screenshotTab >= 0 && args.screenshotFile.empty())
        args.error = "--screenshot-tab needs --screenshot FILE";
    if (args.screenshotTab < 0 && !args.screenshotFile.empty()) args.screenshotTab = 0;
    return args;
}


bool HasPlatformArgument(const ViewerArgs& args) {
    for (const char* arg : args.qtArgs)
        if (std::strcmp(arg, "-platform") == 0) return true;
    return false;
}

bool DisplayAvailable(const ViewerArgs& args) {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY") ||
           HasPlatformArgument(args);
}

// True when the file ends with the trailer signature (read from its last four bytes).
bool CarriesGedcom(const std::string& file) {
    const WUniqueFd fd = OpenForReading(file);
    if (!fd.IsOpen()) return false;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || st.st_size < kTrailerSize) return false;
    unsigned char tail[4] = {};
    if (ReadAt(fd.Get(), tail, sizeof tail, st.st_size - 4) != 4) return false;
    const uint32_t signature =
        static_cast<uint32_t>(tail[0]) | static_cast<uint32_t>(tail[1]) << 8 |
        static_cast<uint32_t>(tail[2]) << 16 | static_cast<uint32_t>(tail[3]) << 24;
    return signature == kTrailerSignature;
}

// Started by the portable launcher: puts back the variables that pointed this process at its
// bundled runtime (Qt has read them by now), so that programs the viewer starts (browser, mail)
// get the desktop's own; and keeps the launcher's descriptors from reaching them.
void LeaveRuntimeEnvironment(const std::string& selfViewFile) {
    if (!std::getenv("KINDREL_RUNTIME")) return;
    QCoreApplication::libraryPaths();  // reads QT_PLUGIN_PATH once and keeps the result
    for (const char* name : {"LD_LIBRARY_PATH", "QT_PLUGIN_PATH", "QT_QPA_PLATFORM_PLUGIN_PATH"}) {
        const std::string outer = std::string("KINDREL_OUTER_") + name;
        if (const char* value = std::getenv(outer.c_str()))
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
        ::unsetenv(outer.c_str());
    }
    int lockFd = -1;
    if (const char* lock = std::getenv("KINDREL_RUNTIME_LOCK"); lock && ParseInt(lock, lockFd))
        ::fcntl(lockFd, F_SETFD, FD_CLOEXEC);
    int selfFd = -1;
    const std::string fdPrefix = "/proc/self/fd/";
    if (selfViewFile.rfind(fdPrefix, 0) == 0 &&
        ParseInt(selfViewFile.substr(fdPrefix.size()).c_str(), selfFd))
        ::fcntl(selfFd, F_SETFD, FD_CLOEXEC);
    ::unsetenv("KINDREL_RUNTIME");
    ::unsetenv("KINDREL_RUNTIME_LOCK");
}

// Notes the moment the main window first paints.
class PaintProbe : public QObject {
  public:
    PaintProbe(QWidget* window, const QElapsedTimer& clock) : m_window(window), m_clock(clock) {}
    qint64 FirstPaintMs() const { return m_firstPaint; }
    // The same moment on the wall clock (ms since 1970), for timings that include the time
    // before the program entry (loading libraries, a portable file's launcher).
    qint64 FirstPaintEpochMs() const { return m_firstPaintEpoch; }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (m_firstPaint < 0 && event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->window() == m_window) {
            m_firstPaint = m_clock.elapsed();
            m_firstPaintEpoch = QDateTime::currentMSecsSinceEpoch();
        }
        return false;
    }

  private:
    QWidget* m_window;
    const QElapsedTimer& m_clock;
    qint64 m_firstPaint = -1;
    qint64 m_firstPaintEpoch = -1;
};

}  // namespace

std::string ChooseStartFile(WOptions& options) {
    const std::string last = options.ReadText(Opt::File1);
    std::error_code ec;
    if (options.ReadBool(Opt::LoadLastFile) && !last.empty() &&
        std::filesystem::is_regular_file(last, ec))
        return last;
    QFileDialog dialog(nullptr, QStringLiteral("Open a genealogy file"));
    dialog.setObjectName(QStringLiteral("openDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("All Files (*.ged *.paf *.sub *.tmg)"),
                           QStringLiteral("GEDCOM (*.ged)"), QStringLiteral("PAF (*.PAF)"),
                           QStringLiteral("SUB (*.SUB)"), QStringLiteral("Family Tree Maker (*.FTW)"),
                           QStringLiteral("The Master Genealogist(*.TMG)")});
    if (WDialogRunner::Run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

int RunViewer(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    ViewerArgs args = ParseArgs(argc, argv);
    if (args.help) {
        PrintUsage();
        return 0;
    }
    if (!args.error.empty()) {
        std::fprintf(stderr, "kindrel-viewer: %s (see --help)\n", args.error.c_str());
        return 2;
    }
    if (!DisplayAvailable(args)) {
        std::fprintf(stderr,
                     "kindrel-viewer: no display is available (DISPLAY and WAYLAND_DISPLAY are not "
                     "set).\nRun it on a desktop, under xvfb-run, or without a screen with "
                     "QT_QPA_PLATFORM=offscreen.\n");
        return 3;
    }

    // SIGTERM, SIGHUP and Ctrl+C delete the expanded GEDCOM and the other temporary files
    // before the viewer ends; nothing of the family is left in the temporary folder.
    InstallTerminationCleanup(true);

    int qtArgc = static_cast<int>(args.qtArgs.size());
    args.qtArgs.push_back(nullptr);
    WViewerApplication app(qtArgc, args.qtArgs.data());
    app.setApplicationName(QStringLiteral("Kindrel"));
    app.setApplicationDisplayName(QStringLiteral("Kindrel"));
    // The desktop entry, the icon and the MIME type share this id.
    app.setDesktopFileName(QStringLiteral("org.example.Kindrel"));
    app.setWindowIcon(ViewerIcon());
    LeaveRuntimeEnvironment(args.selfViewFile);

    // 1. The settings store, its cache cleared.
    WOptions& options = Options();
    options.ClearCache();

    TLogoAppForm::StartOptions start;
    start.selfViewFile = args.selfViewFile;
    const bool screenshot = !args.screenshotFile.empty();
    // Runs that nobody watches (screenshots, timing) print their messages instead of waiting
    // for a click, and show no quick help.
    const bool batch = screenshot || args.timing;
    start.quickHelp = !batch;
    if (batch)
        WMessageBox::SetTestHandler([](const MessageRecord& message) {
            std::fprintf(stderr, "kindrel-viewer: %s\n",
                         WMessageBox::DisplayText(message.text).toLocal8Bit().constData());
            return false;
        });

    // 2. A file without payload opens the GEDCOM given instead, or ends here.
    if (!CarriesGedcom(args.selfViewFile)) {
        if (args.gedcomFile.empty() && args.openDialog) {
            args.gedcomFile = ChooseStartFile(options);
            if (args.gedcomFile.empty()) return 0;  // the open dialog was cancelled
        }
        if (args.gedcomFile.empty()) {
            WMessageBox::Show(nullptr, QString::fromUtf8(kNoGedcomMessage),
                              QString::fromUtf8(kProductName), MessageRecord::kError);
            return 1;
        }
        start.gedcomFile = args.gedcomFile;
    }

    // 3. The splash while the payload is expanded.
    TSE_SplashScreen* splash = nullptr;
    if (start.gedcomFile.empty() && !screenshot) {
        splash = new TSE_SplashScreen;
        splash->setAttribute(Qt::WA_DeleteOnClose);
        splash->show();
    }

    // 4. The executable's folder.
    options.RecordExecutableDirectory();

    // 5. The main window and the event loop.
    int exitCode = 0;
    {
        TLogoAppForm window(start);
        window.SetSplash(splash);
        PaintProbe probe(&window, clock);
        app.installEventFilter(&probe);
        if (!args.highlight.empty() || args.individual > 0 || args.panel >= 0)
            QObject::connect(&window, &TLogoAppForm::startupFinished, &window, [&](bool loaded) {
                if (!loaded) return;
                if (args.panel >= 0) window.PanelCommand(args.panel);
                if (!args.highlight.empty()) window.ShowHighlightConditions(args.highlight);
                if (args.individual > 0) window.JumpToIndividual(args.individual);
            });
        if (screenshot) {
            window.resize(1180, 760);
            QObject::connect(&window, &TLogoAppForm::startupFinished, &window, [&](bool loaded) {
                if (!loaded) exitCode = 1;
                window.SelectTab(args.screenshotTab);
                QTimer::singleShot(400, &window, [&] {
                    const QPixmap image = window.grab();
                    if (!image.save(QString::fromStdString(args.screenshotFile))) {
                        std::fprintf(stderr, "kindrel-viewer: cannot write %s\n",
                                     args.screenshotFile.c_str());
                        exitCode = 1;
                    }
                    window.close();
                });
            });
        } else {
            window.ApplySavedPlacement();
        }
        // Timing: the moments of first paint and of the loaded window, and the longest time
        // the event loop went without turning (how responsive the window stayed).
        QTimer heartbeat;
        qint64 lastBeat = -1;
        qint64 longestGap = 0;
        if (args.timing) {
            heartbeat.setInterval(10);
            QObject::connect(&heartbeat, &QTimer::timeout, &window, [&] {
                const qint64 now = clock.elapsed();
                if (lastBeat >= 0) longestGap = std::max(longestGap, now - lastBeat);
                lastBeat = now;
            });
            heartbeat.start();
            QObject::connect(&window, &TLogoAppForm::startupFinished, &window, [&](bool loaded) {
                const qint64 loadedMs = clock.elapsed();
                heartbeat.stop();
                if (!loaded) exitCode = 1;
                // Let the loaded window paint once more before measuring the end.
                QTimer::singleShot(0, &window, [&, loaded, loadedMs] {
                    std::fprintf(stderr,
                                 "first paint: %lld ms\nfirst paint at: %lld ms since 1970\n"
                                 "loaded: %lld ms (%s)\n"
                                 "longest event-loop gap while loading: %lld ms\n",
                                 static_cast<long long>(probe.FirstPaintMs()),
                                 static_cast<long long>(probe.FirstPaintEpochMs()),
                                 static_cast<long long>(loadedMs), loaded ? "ok" : "failed",
                                 static_cast<long long>(longestGap));
                    window.close();
                });
            });
        }
        window.show();
        const int loopCode = app.exec();
        if (exitCode == 0) exitCode = loopCode;
        app.removeEventFilter(&probe);
    }

    // 6. The settings written back.
    try {
        options.Flush();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kindrel-viewer: %s\n", error.what());
    }
    return exitCode;
}

}  // namespace kindrel
