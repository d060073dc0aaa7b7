// The list-copy format dialog ("Copy to Clipboard"): fixed columns, CSV to the clipboard, or
// CSV also saved to a file; and the copy of a list that runs it.
#pragma once

#include "app/list_text.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

namespace kindrel {

class TViewContext;

class TListClipDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TListClipDlg(QWidget* parent = nullptr);

    // The choice: kFixed, kCsv, kCsvFile, or kCancelled (also when the dialog was closed).
    ListCopyForm Choice() const { return m_choice; }
    // Chooses as the button would (tests, keyboard).
    void Choose(ListCopyForm choice);

  private:
    ListCopyForm m_choice = ListCopyForm::kCancelled;
};

// Renders a list: appends the text in the form (CSV when csv) to out; progress(done, total)
// pumps events and answers false once the user has cancelled; returns false when stopped.
using ListRenderer =
    std::function<bool(bool csv, std::string& out, const std::function<bool(int, int)>& progress)>;

// The copy of a list: the format dialog, the file dialog for kCsvFile (".csv" added, asking
// before a file is replaced), the rendering under "Copying to clipboard" with progress and
// Cancel, the clipboard, the atomic write of the file, and "Copy to Clipboard Complete" when
// all went well. A failure to write names the file and the reason. True when copied.
bool RunListCopy(QWidget* owner, TViewContext& context, const ListRenderer& render);

// The message when a CSV file cannot be written.
QString CsvWriteFailedText(const QString& fileName, const QString& reason);

}  // namespace kindrel
