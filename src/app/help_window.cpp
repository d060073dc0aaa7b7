#include "app/help_window.h"

#include "app/quick_help.h"
#include "app/url_opener.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>

// The help pages live in a static library's resources; they are registered once here.
static void InitHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace kindrel {

QString HelpResourcePath(const QString& file) {
    return QStringLiteral(":/help/") + file;
}

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    static const bool registered = (InitHelpResources(), true);
    (void)registered;
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Kindrel Help"));
    resize(820, 560);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    layout->addWidget(splitter);

    m_list = new QListWidget(splitter);
    m_list->setObjectName(QStringLiteral("helpContents"));
    for (const HelpPage& page : HelpPages()) {
        auto* item = new QListWidgetItem(QString::fromStdString(page.title), m_list);
        item->setData(Qt::UserRole, page.context);
    }
    m_browser = new QTextBrowser(splitter);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenLinks(false);
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    splitter->addWidget(m_list);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 620});

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        const int context = m_list->item(row)->data(Qt::UserRole).toInt();
        if (context != m_context) ShowContext(context);
    });
    // Links between pages stay in the window; other links go to the desktop.
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme().isEmpty() || url.scheme() == QLatin1String("qrc")) {
            const QString file = url.fileName();
            for (const HelpPage& page : HelpPages())
                if (QString::fromStdString(page.file) == file) {
                    ShowContext(page.context);
                    return;
                }
        } else {
            WUrlOpener::Open(url);
        }
    });
    ShowContext(0);
}

void THelpWindow::ShowContext(int context) {
    const HelpPage* page = HelpPageForContext(context);
    if (!page) page = HelpPageForContext(0);
    m_context = page->context;
    m_browser->setSource(
        QUrl(QStringLiteral("qrc") + HelpResourcePath(QString::fromStdString(page->file))));
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->data(Qt::UserRole).toInt() == m_context) {
            const QSignalBlocker block(m_list);
            m_list->setCurrentRow(row);
        }
    setWindowTitle(QStringLiteral("Kindrel Help - ") + QString::fromStdString(page->title));
}

void THelpWindow::ShowTopic(int topic) {
    ShowContext(HelpContextForTopic(topic));
}

QString THelpWindow::PageText() const {
    return m_browser->toPlainText();
}

}  // namespace kindrel
