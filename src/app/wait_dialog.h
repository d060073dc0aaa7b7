// The wait dialog ("Working...") shown around long work, with its optional Cancel button that
// sets the cancel flag long work reads (CancelRequested), and the short flash message.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

class QLabel;
class QPushButton;
class QTimer;

namespace kindrel {

class TWaitDlg : public QDialog {
    Q_OBJECT
  public:
    // Shows the dialog. Calls nest: only the outermost call sets the message and the owner
    // (the given window, else the active window). Shown at once, or after 250 ms by a timer
    // that also disables the owner. withCancel shows a Cancel button and clears the cancel flag.
    static void ShowWait(const QString& message, bool atOnce, bool withCancel,
                         QWidget* owner = nullptr);
    // Ends one level; the outermost hide re-enables the owner and destroys the dialog.
    static void HideWait();
    // The dialog while one is up (shown or waiting for its timer), else null.
    static TWaitDlg* Current();
    // Nesting depth (0 when no dialog is up).
    static int Depth();

    // The message shown.
    QString Message() const;
    // A second line under the message for progress ("Page 3 of 40"); empty hides it.
    static void SetProgressText(const QString& text);
    QString ProgressText() const;
    // Presses Cancel (as the user would).
    void PressCancel();

  private:
    TWaitDlg(const QString& message, bool withCancel, QWidget* owner);
    void Appear();

    QLabel* m_label = nullptr;
    QLabel* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_delay = nullptr;
    QPointer<QWidget> m_owner;
    bool m_ownerDisabled = false;
};

// Shows text in a borderless silver panel of 298 x 40 pixels centred on window for 500 ms;
// a flash while another is shown is ignored. Returns false when ignored.
bool FlashMessage(QWidget* window, const QString& text);
// True while a flash message is shown.
bool FlashMessageShown();

}  // namespace kindrel
