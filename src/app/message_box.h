// Every message box and modal dialog of the viewer goes through here, so that tests can
// record what would be shown and pre-answer it instead of blocking on a modal loop.
#pragma once

#include <QString>

#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace kindrel {

// A message as the window would show it.
struct MessageRecord {
    QString caption;
    QString text;  // the system's text exactly (line breaks as written)
    enum Kind { kInformation, kWarning, kError, kQuestion } kind = kInformation;
};

class WMessageBox {
  public:
    // Shows text in a modal box with one OK button. Line breaks of any kind ("\r\n", "\n\r",
    // "\r") are shown as line breaks.
    static void Show(QWidget* parent, const QString& text, const QString& caption,
                     MessageRecord::Kind kind = MessageRecord::kInformation);
    static void Show(QWidget* parent, const std::string& text, const std::string& caption,
                     MessageRecord::Kind kind = MessageRecord::kInformation);
    // Asks a yes/no question; true for yes.
    static bool Ask(QWidget* parent, const QString& text, const QString& caption);

    // Tests: while a handler is installed no box is shown; the handler gets every message and
    // answers questions (its result; ignored for plain messages). Pass {} to remove it.
    using Handler = std::function<bool(const MessageRecord& message)>;
    static void SetTestHandler(Handler handler);

    // The text with every line break written as "\n" (how a box displays it).
    static QString DisplayText(const QString& text);
};

// Runs a modal dialog. Tests can install a handler that answers instead: it gets the dialog
// (already set up, not shown) and returns its result code.
class WDialogRunner {
  public:
    // dialog.exec(), or the test handler's answer.
    static int Run(QDialog& dialog);

    using Handler = std::function<int(QDialog& dialog)>;
    // Installs (or with {} removes) the test handler.
    static void SetTestHandler(Handler handler);
};

}  // namespace kindrel
