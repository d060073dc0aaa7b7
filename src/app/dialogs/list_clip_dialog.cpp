#include "app/dialogs/list_clip_dialog.h"

#include "app/app_texts.h"
#include "app/message_box.h"
#include "app/page_copy.h"
#include "app/view_page.h"
#include "app/wait_dialog.h"
#include "containers/ui_hooks.h"
#include "services/atomic_output.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace kindrel {

namespace {

constexpr const char* kCsvFilter = "Comma Sperated Values (*.csv)";

QPushButton* AddButton(QVBoxLayout* layout, const char* name, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    layout->addWidget(button);
    return button;
}

// The file the CSV goes to, or empty when the user cancelled (or declined to replace one).
QString AskCsvFile(QWidget* owner) {
    QFileDialog dialog(owner, QStringLiteral("Save As"), QDir::homePath(),
                       QString::fromLatin1(kCsvFilter));
    dialog.setObjectName(QStringLiteral("csvFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // The replace question is asked below, the same way for every dialog.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (WDialogRunner::Run(dialog) != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return {};
    QString file = files.front();
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".csv");
    if (QFileInfo::exists(file) &&
        !WMessageBox::Ask(owner,
                          QFileInfo(file).fileName() +
                              QStringLiteral(" already exists.\r\nDo you want to replace it?"),
                          QStringLiteral("Save As")))
        return {};
    return file;
}

}  // namespace

TListClipDlg::TListClipDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("listClipDialog"));
    setWindowTitle(QStringLiteral("Copy to Clipboard"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(
        QStringLiteral("Please select type of format you want the list to be copied"), this);
    prompt->setObjectName(QStringLiteral("clipPrompt"));
    layout->addWidget(prompt);
    QPushButton* fixed = AddButton(layout, "clipFixed", "Fixed columns with spaces", this);
    QPushButton* csv = AddButton(layout, "clipCsv", "Comma Separated Values (CSV)", this);
    QPushButton* file =
        AddButton(layout, "clipCsvFile", "Save to File as Comma Separated Values (CSV)", this);
    layout->addSpacing(8);
    QPushButton* cancel = AddButton(layout, "clipCancel", "Cancel", this);
    fixed->setDefault(true);
    connect(fixed, &QPushButton::clicked, this, [this] { Choose(ListCopyForm::kFixed); });
    connect(csv, &QPushButton::clicked, this, [this] { Choose(ListCopyForm::kCsv); });
    connect(file, &QPushButton::clicked, this, [this] { Choose(ListCopyForm::kCsvFile); });
    connect(cancel, &QPushButton::clicked, this, [this] { Choose(ListCopyForm::kCancelled); });
}

void TListClipDlg::Choose(ListCopyForm choice) {
    m_choice = choice;
    if (choice == ListCopyForm::kCancelled)
        reject();
    else
        accept();
}

QString CsvWriteFailedText(const QString& fileName, const QString& reason) {
    return QStringLiteral("The file ") + fileName + QStringLiteral(" could not be written.\r\n") +
           reason;
}

bool RunListCopy(QWidget* owner, TViewContext& context, const ListRenderer& render) {
    if (context.IsWindowBusy()) return false;
    TListClipDlg dialog(owner);
    const int result = WDialogRunner::Run(dialog);
    const ListCopyForm choice = result == QDialog::Accepted ? dialog.Choice()
                                                            : ListCopyForm::kCancelled;
    if (choice == ListCopyForm::kCancelled) return false;
    QString file;
    if (choice == ListCopyForm::kCsvFile) {
        file = AskCsvFile(owner);
        if (file.isEmpty()) return false;
    }
    std::string text;
    bool complete = false;
    std::string error;
    TWaitDlg::ShowWait(QString::fromLatin1(kCopyingText), false, true, owner->window());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        complete = render(choice != ListCopyForm::kFixed, text, [](int done, int total) {
            ReportProgress(kCopyingText, done, total);
            PumpEvents();
            return !CancelRequested();
        });
    } catch (const std::exception& e) {
        error = e.what();
    }
    // A long text becomes the clipboard's text in slices, with events between them.
    QString clip;
    if (complete && error.empty()) complete = ClipboardTextInSlices(text, clip);
    ReportProgress(kCopyingText, 1, 1);
    QApplication::restoreOverrideCursor();
    TWaitDlg::HideWait();
    SetCancelRequested(false);
    if (!error.empty()) {
        WMessageBox::Show(owner, error, std::string(kProductName), MessageRecord::kError);
        return false;
    }
    if (!complete) return false;
    QGuiApplication::clipboard()->setText(clip);
    clip.clear();
    if (!file.isEmpty()) {
        try {
            WAtomicOutput output(QFile::encodeName(file).toStdString());
            output.Write(text.data(), text.size());
            output.Commit();
        } catch (const EOutputError& e) {
            WMessageBox::Show(owner, CsvWriteFailedText(file, QString::fromStdString(e.Reason())),
                              QString::fromUtf8(kProductName), MessageRecord::kError);
            return false;
        }
    }
    context.FlashText(QString::fromLatin1(kCopyCompleteText));
    return true;
}

}  // namespace kindrel
