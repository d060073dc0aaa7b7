#include "app/init_help_dialog.h"

#include "app/message_box.h"
#include "app/quick_help.h"
#include "services/options.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace kindrel {

TInitHelpDialog::TInitHelpDialog(int topic, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("initHelpDialog"));
    setWindowTitle(QStringLiteral("Quick Help"));
    const QuickHelpTopic* info = QuickHelpTopicOf(topic);
    const QString title = info ? QString::fromStdString(info->title) : QString();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(10);

    auto* heading = new QLabel(title, this);
    heading->setObjectName(QStringLiteral("helpTitle"));
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    layout->addWidget(heading);

    auto* description =
        new QLabel(info ? QString::fromStdString(info->description) : QString(), this);
    description->setObjectName(QStringLiteral("helpDescription"));
    description->setWordWrap(true);
    description->setMinimumWidth(420);
    layout->addWidget(description);

    // The manual's label stays hidden; the links themselves open this viewer's help pages.
    auto* manualLabel = new QLabel(QStringLiteral("User Manual Links"), this);
    manualLabel->setObjectName(QStringLiteral("helpManualLinksLabel"));
    manualLabel->hide();
    layout->addWidget(manualLabel);
    QStringList anchors;
    if (info) {
        for (const HelpLink& link : ParseHelpLinks(info->links))
            anchors << QStringLiteral("<a href=\"%1\">%2</a>")
                           .arg(link.context)
                           .arg(QString::fromStdString(link.text).toHtmlEscaped());
    }
    auto* links = new QLabel(
        QStringLiteral("More help: ") + anchors.join(QStringLiteral(" &middot; ")), this);
    links->setObjectName(QStringLiteral("helpLinks"));
    links->setTextFormat(Qt::RichText);
    links->setWordWrap(true);
    links->setVisible(!anchors.isEmpty());
    connect(links, &QLabel::linkActivated, this, [this](const QString& link) {
        m_chosenContext = link.toInt();
        accept();
    });
    layout->addWidget(links);

    auto* notice = new QLabel(QString::fromStdString(QuickHelpNotice(title.toStdString())), this);
    notice->setObjectName(QStringLiteral("helpNotice"));
    notice->setWordWrap(true);
    QFont noticeFont = notice->font();
    noticeFont.setItalic(true);
    notice->setFont(noticeFont);
    layout->addWidget(notice);

    m_stop = new QCheckBox(QStringLiteral("Stop displaying these help dialog boxes"), this);
    m_stop->setObjectName(QStringLiteral("helpStopDisplaying"));
    layout->addWidget(m_stop);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

bool TInitHelpDialog::StopDisplaying() const {
    return m_stop->isChecked();
}

void TInitHelpDialog::SetStopDisplaying(bool on) {
    m_stop->setChecked(on);
}

bool ShowQuickHelp(QWidget* parent, WOptions& options, int topic,
                   const std::function<void(int context)>& openHelp) {
    if (!QuickHelpDue(options, topic)) return false;
    TInitHelpDialog dialog(topic, parent);
    WDialogRunner::Run(dialog);
    QuickHelpShown(options, topic, dialog.StopDisplaying());
    if (dialog.ChosenContext() != 0 && openHelp) openHelp(dialog.ChosenContext());
    return true;
}

}  // namespace kindrel
