// The main window's loading side: FormShow with the embedded load, the open routine, reload,
// the status timers and the progress shown while files are read.
#include "app/main_window.h"

#include "app/viewer_settings.h"
#include "services/gedcom_extract.h"
#include "services/options.h"

#include "app/app_texts.h"
#include "app/general_page.h"
#include "app/ind_scroll.h"
#include "app/main_commands.h"
#include "app/message_box.h"
#include "app/sender_info.h"
#include "app/sender_page.h"
#include "app/splash_screen.h"
#include "app/status_panels.h"
#include "app/wait_dialog.h"
#include "containers/errors.h"
#include "containers/ui_hooks.h"
#include "gedcom/ged_collection.h"
#include "model/collection.h"

#include <QApplication>
#include <QThread>
#include <QTimer>

#include <filesystem>

namespace kindrel {

namespace {

constexpr int kImportFirstTickMs = 1000;
constexpr int kImportTickMs = 250;
constexpr int kProgressIntervalMs = 100;
constexpr int kKindNotesNotAvailable3 = 3;
constexpr int kKindNotesNotAvailable5 = 5;

// Restores what the open routine changed, whichever way it ends.
class OpenGuard {
  public:
    OpenGuard(bool& busy, QWidget* mainArea, QTimer* importTimer)
        : m_busy(busy), m_mainArea(mainArea), m_importTimer(importTimer) {}
    ~OpenGuard() {
        m_busy = false;
        TWaitDlg::HideWait();
        m_mainArea->setEnabled(true);
        QApplication::restoreOverrideCursor();
        // The import timer polls a collection while it loads; none loads any more.
        m_importTimer->stop();
    }
    OpenGuard(const OpenGuard&) = delete;
    OpenGuard& operator=(const OpenGuard&) = delete;

  private:
    bool& m_busy;
    QWidget* m_mainArea;
    QTimer* m_importTimer;
};

std::string FileNameOf(const std::string& path) {
    // A portable file hands its own open descriptor (/proc/self/fd/N): name the file behind it.
    std::error_code ec;
    const auto target = path.rfind("/proc/self/fd/", 0) == 0
                            ? std::filesystem::read_symlink(path, ec)
                            : std::filesystem::path(path);
    return (ec ? std::filesystem::path(path) : target).filename().string();
}

}  // namespace

void TLogoAppForm::InstallHooks() {
    UiHooks& hooks = Hooks();
    hooks.pumpEvents = [] {
        static WPumpThrottle throttle;
        if (QThread::currentThread() == qApp->thread() && throttle.Due())
            QCoreApplication::processEvents();
    };
    hooks.progress = [this](const std::string& label, long long done, long long total) {
        if (QThread::currentThread() != thread()) return;
        OnProgress(label, done, total);
    };
    hooks.warning = [this](const std::string& message) {
        if (QThread::currentThread() != thread()) return;
        WMessageBox::Show(this, message, std::string(kProductName), MessageRecord::kWarning);
    };
}

void TLogoAppForm::OnProgress(const std::string& label, long long done, long long total) {
    // At most ten updates a second, and always the last one.
    if (m_progressThrottle.isValid() && m_progressThrottle.elapsed() < kProgressIntervalMs &&
        !(total > 0 && done >= total))
        return;
    m_progressThrottle.start();
    m_status->SetProgress(QString::fromStdString(label), done, total);
    if (!m_busy) m_status->SetText(0, QString::fromStdString(label) + QStringLiteral("..."));
    m_clearStatusTimer->start();
}

void TLogoAppForm::FormShow() {
    if (m_startupDone) return;
    ShowQuickHelpTopic(1);
    bool loaded = false;
    if (!m_start.gedcomFile.empty()) {
        loaded = OpenGenealogyFile(m_start.gedcomFile) && m_collection;
        if (loaded) JumpToIndividual(1);
    } else {
        loaded = RunEmbeddedLoad();
    }
    if (m_splash) m_splash->close();
    if (loaded) RestoreLastSession();
    m_startupDone = true;
    UpdateCommands();
    Q_EMIT startupFinished(loaded);
    FinishPendingClose();
}

bool TLogoAppForm::RunEmbeddedLoad() {
    m_expanding = true;
    EmbeddedGedcom embedded;
    try {
        // The trailer first, so that the splash names the file while it is expanded.
        const SelfViewFileInfo info = ReadSelfViewTrailer(m_start.selfViewFile);
        if (m_splash) m_splash->Fill(info.trailer);
        embedded = LoadEmbeddedGedcom(m_start.selfViewFile);
    } catch (const ENoGedcom&) {
        m_expanding = false;
        if (m_splash) m_splash->close();
        WMessageBox::Show(this, QString::fromUtf8(kNoGedcomMessage),
                          QString::fromUtf8(kProductName), MessageRecord::kError);
        return false;
    } catch (const std::exception& error) {
        m_expanding = false;
        if (m_splash) m_splash->close();
        WMessageBox::Show(this, QString::fromUtf8(error.what()), QString::fromUtf8(kProductName),
                          MessageRecord::kError);
        return false;
    }
    m_expanding = false;
    m_trailer = embedded.trailer;
    m_gedcomTemp = std::move(embedded.gedcom);
    m_crcFailures = embedded.expand.crcFailures;
    m_crcBlocks = embedded.expand.blocks;
    if (TSenderPage* sender = SenderPage())
        sender->SetSender(BuildSenderInfo(
            *m_trailer, FileNameOf(m_start.selfViewFile == "/proc/self/exe"
                                       ? QApplication::applicationFilePath().toStdString()
                                       : m_start.selfViewFile)));
    if (m_closePending) return false;
    if (!OpenGenealogyFile(m_gedcomTemp.Path()) || !m_collection) return false;
    JumpToIndividual(m_trailer->startIndividual);
    RefreshActivePage();
    return true;
}

void TLogoAppForm::FinishPendingClose() {
    if (!m_closePending || m_busy || m_expanding) return;
    m_closePending = false;
    QTimer::singleShot(0, this, &QWidget::close);
}

bool TLogoAppForm::OpenGenealogyFile(const std::string& fileName) {
    // 1. Nothing to do while a load runs, or for no name or the open file's name.
    if (m_busy || m_expanding || (m_collection && m_collection->IsBusy())) return true;
    if (fileName.empty() || fileName == m_fileName) return true;
    // Not under a page's long work, which reads the collection: once it has ended.
    if (DeferWhilePageWork([this, fileName] { OpenGenealogyFile(fileName); })) return true;
    // 2. A missing file changes nothing.
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) {
        WMessageBox::Show(this, MissingFileText(fileName), std::string(kProductName),
                          MessageRecord::kWarning);
        return false;
    }
    // 3. Empty the window and start the clock.
    m_busy = true;
    // A close asked for during the load happens once the load has ended.
    struct PendingClose {
        TLogoAppForm* window;
        ~PendingClose() { window->FinishPendingClose(); }
    } pendingClose{this};
    OpenGuard guard(m_busy, m_mainArea, m_importTimer);
    m_scroll->setEnabled(false);
    m_fileName = fileName;
    const std::string title =
        m_trailer && fileName == m_gedcomTemp.Path() ? m_trailer->title : FileNameOf(fileName);
    setWindowTitle(QString::fromStdString(CaptionWithTitle(title)));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_statistics.reset();
    {
        // The pages are rebuilt below, once the old collection is gone; everything that
        // points into it lets go first.
        const QSignalBlocker quiet(m_scroll);
        ForgetCollection();
    }
    m_collection.reset();
    RefreshActivePage();
    m_importTimer->start(kImportFirstTickMs);
    m_mainArea->setEnabled(false);
    m_clearStatusTimer->stop();
    m_status->SetText(0, QString::fromUtf8(kAnalyzingText));
    QElapsedTimer elapsed;
    elapsed.start();
    UpdateCommands();

    // 4. Load under the wait dialog; its Cancel stops the load.
    TWaitDlg::ShowWait(QString::fromUtf8(kReadingText), false, true, this);
    std::string error;
    std::unique_ptr<WGEDCollection> loaded;
    bool valid = false;
    try {
        loaded = OpenGedcomCollection(fileName, error);
        if (loaded) {
            m_loading = loaded.get();
            valid = loaded->LoadFile();
            if (valid && !CancelRequested()) loaded->AfterLoad();
            valid = valid && !CancelRequested();
        }
    } catch (const std::exception& e) {
        error = e.what();
        loaded.reset();
    }
    m_loading = nullptr;
    m_scroll->setEnabled(true);
    if (!loaded) {
        m_fileName.clear();
        setWindowTitle(QString::fromUtf8(kMainCaption));
        ClearViews();
        WMessageBox::Show(this, error, std::string(kProductName), MessageRecord::kError);
        return false;
    }
    // 5. A cancelled load leaves the window empty.
    if (!valid) {
        loaded.reset();
        m_fileName.clear();
        setWindowTitle(QString::fromUtf8(kMainCaption));
        ClearViews();
        return false;
    }
    // 6. In use.
    m_collection = std::move(loaded);
    m_busy = false;
    m_mainArea->setEnabled(true);
    // The embedded GEDCOM is named as the sender named it, never by its temporary file.
    const bool embedded = m_trailer && fileName == m_gedcomTemp.Path();
    const std::string displayName =
        !embedded                      ? fileName
        : !m_trailer->fileName.empty() ? m_trailer->fileName
                                       : ProposedGedcomName(m_trailer->fileName, m_trailer->title);
    if (!embedded) RememberOpenedFile(Options(), fileName);
    m_statistics = CollectStatistics(*m_collection, displayName);
    m_statistics->importing = ImportingText(static_cast<double>(elapsed.nsecsElapsed()) / 1e9);
    m_status->SetText(0, QString());
    ShowCounts(*m_collection);
    AttachViews();
    m_scroll->AttachCollection(m_collection.get());
    m_commands->rawData->setChecked(m_rawMode);
    m_status->HideProgress();
    UpdateCommands();
    return true;
}

void TLogoAppForm::ClearViews() {
    ForgetCollection();
    m_statistics.reset();
    m_status->SetText(0, QString());
    m_status->ClearCounts();
    m_status->HideProgress();
    RefreshActivePage();
}

void TLogoAppForm::ShowCounts(WABSCollection& collection) {
    const int kind = collection.Kind();
    m_status->SetText(1,
                      QString::fromStdString(StatusIndividualsText(collection.IndividualCount())));
    m_status->SetText(2, QString::fromStdString(StatusFamiliesText(collection.FamilyCount())));
    m_status->SetText(3, QString::fromStdString(StatusNotesText(
                             collection.NoteCount(),
                             kind == kKindNotesNotAvailable3 || kind == kKindNotesNotAvailable5)));
    m_status->SetText(4, QString::fromStdString(StatusSourcesText(collection.SourceCount())));
}

void TLogoAppForm::ImportTimerTimer() {
    m_importTimer->setInterval(kImportTickMs);
    WABSCollection* collection = m_collection ? m_collection.get() : m_loading;
    if (!collection) {
        m_importTimer->stop();
        return;
    }
    m_status->SetText(0, m_busy ? QString::fromUtf8(kAnalyzingText) : QString());
    // While loading, the notes panel always shows the count.
    m_status->SetText(1,
                      QString::fromStdString(StatusIndividualsText(collection->IndividualCount())));
    m_status->SetText(2, QString::fromStdString(StatusFamiliesText(collection->FamilyCount())));
    m_status->SetText(3, QString::fromStdString(StatusNotesText(collection->NoteCount())));
    m_status->SetText(4, QString::fromStdString(StatusSourcesText(collection->SourceCount())));
}

void TLogoAppForm::StartBusyTimer() {
    m_analysisProgress = 0;
    m_busyTimer->start();
}

void TLogoAppForm::BusyTimerTimer() {
    if (!m_collection || !m_collection->IsBusy()) {
        m_busyTimer->stop();
        m_clearStatusTimer->start();
        return;
    }
    m_status->SetText(0, QString::fromUtf8(kAnalyzingText) + QLatin1Char(' ') +
                             QString::number(m_analysisProgress));
}

void TLogoAppForm::Reload() {
    if (m_busy || m_expanding || !m_collection || m_fileName.empty()) return;
    if (DeferWhilePageWork([this] { Reload(); })) return;
    const int32_t active = ActiveIndividual();
    const std::string fileName = m_fileName;
    ForgetCollection();
    m_collection.reset();
    m_fileName.clear();
    if (OpenGenealogyFile(fileName) && m_collection) JumpToIndividual(active);
}

bool TLogoAppForm::GoBack() {
    if (m_busy) return false;
    return m_scroll->GoBack();
}

bool TLogoAppForm::GoForward() {
    if (m_busy) return false;
    return m_scroll->GoForward();
}

}  // namespace kindrel
