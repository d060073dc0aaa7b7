#include "app/message_box.h"

#include <QDialog>
#include <QMessageBox>

namespace kindrel {

namespace {

WMessageBox::Handler& MessageHandler() {
    static WMessageBox::Handler handler;
    return handler;
}

WDialogRunner::Handler& DialogHandler() {
    static WDialogRunner::Handler handler;
    return handler;
}

QMessageBox::Icon IconOf(MessageRecord::Kind kind) {
    switch (kind) {
        case MessageRecord::kWarning:
            return QMessageBox::Warning;
        case MessageRecord::kError:
            return QMessageBox::Critical;
        case MessageRecord::kQuestion:
            return QMessageBox::Question;
        default:
            return QMessageBox::Information;
    }
}

}  // namespace

QString WMessageBox::DisplayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void WMessageBox::Show(QWidget* parent, const QString& text, const QString& caption,
                       MessageRecord::Kind kind) {
    // A copy: the handler may install another one while it runs.
    if (const Handler handler = MessageHandler()) {
        handler(MessageRecord{caption, text, kind});
        return;
    }
    QMessageBox box(IconOf(kind), caption, DisplayText(text), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

void WMessageBox::Show(QWidget* parent, const std::string& text, const std::string& caption,
                       MessageRecord::Kind kind) {
    Show(parent, QString::fromStdString(text), QString::fromStdString(caption), kind);
}

bool WMessageBox::Ask(QWidget* parent, const QString& text, const QString& caption) {
    if (const Handler handler = MessageHandler())
        return handler(MessageRecord{caption, text, MessageRecord::kQuestion});
    QMessageBox box(QMessageBox::Question, caption, DisplayText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    return box.exec() == QMessageBox::Yes;
}

void WMessageBox::SetTestHandler(Handler handler) {
    MessageHandler() = std::move(handler);
}

int WDialogRunner::Run(QDialog& dialog) {
    // A copy: a handler may install another one (a dialog opened from a dialog) while it runs.
    if (const Handler handler = DialogHandler()) return handler(dialog);
    return dialog.exec();
}

void WDialogRunner::SetTestHandler(Handler handler) {
    DialogHandler() = std::move(handler);
}

}  // namespace kindrel
