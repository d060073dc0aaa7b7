#include "app/sender_page.h"

#include "app/app_texts.h"
#include "app/url_opener.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kindrel {

namespace {

QString Link(const QString& target, const QString& text) {
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(target.toHtmlEscaped(), text.toHtmlEscaped());
}

// The welcome memo's lines as rich text: the two heading lines bold, the rest as paragraphs.
QString WelcomeHtml() {
    QString html;
    for (const std::string& raw : WelcomeMemoLines()) {
        QString line = QString::fromStdString(raw).trimmed();
        const bool heading =
            line == QLatin1String("Welcome") || line == QLatin1String("Quick Help");
        line = line.toHtmlEscaped();
        const int http = line.indexOf(QLatin1String("https://"));
        if (http >= 0) {
            const QString url = line.mid(http);
            line = line.left(http) + QStringLiteral("<a href=\"%1\">%1</a>").arg(url);
        }
        if (heading)
            html += QStringLiteral("<h3 style=\"margin-top:10px; margin-bottom:4px\">%1</h3>")
                        .arg(line);
        else
            html +=
                QStringLiteral("<p style=\"margin-top:2px; margin-bottom:6px\">%1</p>").arg(line);
    }
    return html;
}

}  // namespace

TSenderPage::TSenderPage(TViewContext& context, QWidget* parent) : TViewPage(context, parent) {
    setObjectName(QStringLiteral("senderPage"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(12);

    // Left: the sender and their message.
    auto* left = new QVBoxLayout;
    left->setSpacing(10);
    m_group = new QGroupBox(QString::fromUtf8(kSenderGroupCaption), this);
    m_group->setObjectName(QStringLiteral("senderGroup"));
    m_form = new QFormLayout(m_group);
    m_form->setLabelAlignment(Qt::AlignRight | Qt::AlignTop);
    m_form->setHorizontalSpacing(12);
    m_form->setVerticalSpacing(7);
    m_form->setContentsMargins(14, 14, 14, 12);
    m_fileName = AddRow("File Name:", "senderFileName");
    m_title = AddRow("Title:", "senderTitle");
    m_name = AddRow("Name:", "senderName");
    m_email = AddRow("Email:", "senderEmail");
    m_address = AddRow("Address:", "senderAddress");
    m_web = AddRow("Web Site:", "senderWeb");
    m_phone = AddRow("Phone:", "senderPhone");
    m_created = AddRow("Created:", "senderCreated");
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    for (QLabel* link : {m_email, m_web}) {
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::TextBrowserInteraction);
        link->setOpenExternalLinks(false);
        connect(link, &QLabel::linkActivated, this,
                [](const QString& target) { WUrlOpener::Open(QUrl(target)); });
    }
    left->addWidget(m_group);

    auto* messageGroup = new QGroupBox(QStringLiteral("Message"), this);
    messageGroup->setObjectName(QStringLiteral("senderMessageGroup"));
    auto* messageLayout = new QVBoxLayout(messageGroup);
    messageLayout->setContentsMargins(10, 10, 10, 10);
    m_message = new QPlainTextEdit(messageGroup);
    m_message->setObjectName(QStringLiteral("senderMessage"));
    m_message->setReadOnly(true);
    m_message->setMinimumHeight(60);
    messageLayout->addWidget(m_message);
    left->addWidget(messageGroup, 1);

    auto* extractRow = new QHBoxLayout;
    m_extractLabel = new QLabel(QString::fromUtf8(kExtractLabelText), this);
    m_extractLabel->setObjectName(QStringLiteral("extractLabel"));
    m_extractLabel->setWordWrap(true);
    m_extractButton = new QPushButton(QStringLiteral("Extract GEDCOM"), this);
    m_extractButton->setObjectName(QStringLiteral("extractButton"));
    connect(m_extractButton, &QPushButton::clicked, this, [this] {
        if (m_extract) m_extract();
    });
    extractRow->addWidget(m_extractLabel, 1);
    extractRow->addWidget(m_extractButton);
    left->addLayout(extractRow);
    layout->addLayout(left, 1);

    // Right: the welcome text and the support link.
    auto* right = new QVBoxLayout;
    auto* welcomeGroup = new QGroupBox(QStringLiteral("Welcome"), this);
    welcomeGroup->setObjectName(QStringLiteral("welcomeGroup"));
    auto* welcomeLayout = new QVBoxLayout(welcomeGroup);
    welcomeLayout->setContentsMargins(10, 10, 10, 10);
    m_welcome = new QTextBrowser(welcomeGroup);
    m_welcome->setObjectName(QStringLiteral("welcomeMemo"));
    m_welcome->setOpenLinks(false);
    m_welcome->setMinimumHeight(80);
    m_welcome->setHtml(WelcomeHtml());
    connect(m_welcome, &QTextBrowser::anchorClicked, this,
            [](const QUrl& url) { WUrlOpener::Open(url); });
    welcomeLayout->addWidget(m_welcome);
    auto* support = new QLabel(
        QStringLiteral("Questions about Kindrel? ") +
            Link(QString::fromStdString(SupportMailUrl()), QStringLiteral("Write to support")),
        welcomeGroup);
    support->setObjectName(QStringLiteral("supportLink"));
    support->setTextFormat(Qt::RichText);
    support->setOpenExternalLinks(false);
    connect(support, &QLabel::linkActivated, this,
            [](const QString& target) { WUrlOpener::Open(QUrl(target)); });
    welcomeLayout->addWidget(support);
    right->addWidget(welcomeGroup);
    layout->addLayout(right, 1);

    ClearSender();
}

QLabel* TSenderPage::AddRow(const char* caption, const char* name) {
    auto* value = new QLabel(m_group);
    value->setObjectName(QString::fromLatin1(name));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setWordWrap(true);
    auto* label = new QLabel(QString::fromLatin1(caption), m_group);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Caption"));
    QFont captionFont = label->font();
    captionFont.setBold(true);
    label->setFont(captionFont);
    m_form->addRow(label, value);
    return value;
}

void TSenderPage::SetSender(const SenderInfo& info) {
    m_fileName->setText(QString::fromStdString(info.fileName));
    m_title->setText(QString::fromStdString(info.title));
    m_name->setText(QString::fromStdString(info.name));
    m_mailUrl = QString::fromStdString(info.mailUrl);
    m_email->setText(m_mailUrl.isEmpty() ? QString::fromStdString(info.email).toHtmlEscaped()
                                         : Link(m_mailUrl, QString::fromStdString(info.email)));
    m_address->setText(QString::fromStdString(info.address1) + QLatin1Char('\n') +
                       QString::fromStdString(info.address2));
    m_webUrl = QString::fromStdString(info.webUrl);
    m_web->setText(Link(m_webUrl, QString::fromStdString(info.webSite)));
    m_form->setRowVisible(m_web, !info.webSite.empty());
    m_phone->setText(QString::fromStdString(info.phone));
    m_created->setText(QString::fromStdString(info.created));
    m_message->setPlainText(QString::fromStdString(info.message));
    m_extractAllowed = info.extractAllowed;
    UpdateExtract();
}

void TSenderPage::ClearSender() {
    for (QLabel* label :
         {m_fileName, m_title, m_name, m_email, m_address, m_web, m_phone, m_created})
        label->clear();
    m_mailUrl.clear();
    m_webUrl.clear();
    m_form->setRowVisible(m_web, false);
    m_message->clear();
    m_extractAllowed = false;
    UpdateExtract();
}

void TSenderPage::SetExtractHandler(std::function<void()> handler) {
    m_extract = std::move(handler);
    UpdateExtract();
}

bool TSenderPage::WebSiteShown() const {
    return !m_web->isHidden();
}

bool TSenderPage::ExtractShown() const {
    return !m_extractButton->isHidden();
}

void TSenderPage::UpdateExtract() {
    const bool shown = m_extractAllowed && static_cast<bool>(m_extract);
    m_extractButton->setVisible(shown);
    m_extractLabel->setVisible(shown);
}

}  // namespace kindrel
