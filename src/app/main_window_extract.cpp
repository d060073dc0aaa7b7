// Extract GEDCOM: the Sender page's button and the File menu item, the save dialog, the copy
// under the wait dialog and what the user is told afterwards.
#include "app/main_window.h"

#include "app/app_texts.h"
#include "app/main_commands.h"
#include "app/message_box.h"
#include "app/sender_page.h"
#include "app/wait_dialog.h"
#include "containers/ui_hooks.h"
#include "services/atomic_output.h"
#include "services/gedcom_extract.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>

namespace kindrel {

namespace {

constexpr const char* kExtractingText = "Extracting File.  Please Wait...";
constexpr const char* kCancelledText = "Cancelled";

}  // namespace

void TLogoAppForm::ConnectExtract() {
    connect(m_commands->extractGedcom, &QAction::triggered, this, [this] { ExtractGedcom(); });
    if (TSenderPage* sender = SenderPage()) sender->SetExtractHandler([this] { ExtractGedcom(); });
}

bool TLogoAppForm::CanExtractGedcom() const {
    return m_trailer && m_trailer->extractAllowed && m_gedcomTemp.IsHeld();
}

bool TLogoAppForm::ExtractGedcom() {
    if (!CanExtractGedcom() || IsWindowBusy()) return false;
    QFileDialog dialog(this, QStringLiteral("Extract GEDCOM"));
    dialog.setObjectName(QStringLiteral("extractDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("ged"));
    dialog.setNameFilter(QStringLiteral("GEDCOM (*.ged)"));
    // The sender's field may name folders ("../x", "C:\x"): only its base name is proposed.
    dialog.selectFile(
        QString::fromStdString(ProposedGedcomName(m_trailer->fileName, m_trailer->title)));
    if (WDialogRunner::Run(dialog) != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return false;
    const std::string target = chosen.front().toStdString();

    std::string failure;
    bool cancelled = false;
    TWaitDlg::ShowWait(QString::fromUtf8(kExtractingText), true, true, this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        ExtractGedcomFile(m_gedcomTemp.Path(), target);
    } catch (const EExtractCancelled&) {
        cancelled = true;
    } catch (const std::exception& e) {
        failure = e.what();
    }
    QApplication::restoreOverrideCursor();
    TWaitDlg::HideWait();
    UpdateCommands();

    if (cancelled) {
        WMessageBox::Show(this, std::string(kCancelledText), std::string(kProductName),
                          MessageRecord::kInformation);
        return false;
    }
    if (!failure.empty()) {
        WMessageBox::Show(this, "The GEDCOM was not extracted.\n" + failure,
                          std::string(kProductName), MessageRecord::kError);
        return false;
    }
    std::string text = "\"" + target + "\" has been extracted.";
    MessageRecord::Kind kind = MessageRecord::kInformation;
    if (m_crcFailures > 0) {
        // The blocks were written all the same; the copy is as damaged as what is shown.
        text += "\n\nWarning: " + std::to_string(m_crcFailures) + " of " +
                std::to_string(m_crcBlocks) +
                " blocks of the embedded GEDCOM failed their check when it was unpacked, so "
                "the extracted file may be damaged. Ask the sender for a new copy.";
        kind = MessageRecord::kWarning;
    }
    WMessageBox::Show(this, text, std::string(kProductName), kind);
    return true;
}

}  // namespace kindrel
