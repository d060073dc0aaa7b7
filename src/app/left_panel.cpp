#include "app/left_panel.h"

#include "app/directory_panel.h"
#include "app/file_search_panel.h"
#include "app/quick_help.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kindrel {

QString PanelPageTitle(int tag) {
    switch (tag) {
        case kPanelDirectory:
            return QStringLiteral("Directory");
        case kPanelFileSearch:
            return QStringLiteral("File Search");
        case kPanelIslands:
            return QStringLiteral("Islands");
        case kPanelHighlighting:
            return QStringLiteral("Highlighting");
        default:
            return QString();
    }
}

TLeftPanel::TLeftPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("leftPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 4);
    layout->setSpacing(4);
    auto* titleRow = new QHBoxLayout;
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("leftPanelTitle"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("leftPanelClose"));
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setAutoRaise(true);
    close->setToolTip(QStringLiteral("Close the panel"));
    titleRow->addWidget(m_title, 1);
    titleRow->addWidget(close);
    layout->addLayout(titleRow);

    m_pages = new QStackedWidget(this);
    m_directory = new TDirectoryPanel(m_pages);
    m_fileSearch = new TFileSearchPanel(m_pages);
    // Filled by the islands and highlighting work; empty until then.
    m_islands = new QWidget(m_pages);
    m_islands->setObjectName(QStringLiteral("islandsPanel"));
    m_highlighting = new QWidget(m_pages);
    m_highlighting->setObjectName(QStringLiteral("highlightingPanel"));
    m_pages->addWidget(m_directory);
    m_pages->addWidget(m_fileSearch);
    m_pages->addWidget(m_islands);
    m_pages->addWidget(m_highlighting);
    layout->addWidget(m_pages, 1);

    connect(close, &QToolButton::clicked, this, &TLeftPanel::closeRequested);
    SetPage(kPanelDirectory);
}

void TLeftPanel::SetPage(int tag) {
    if (tag < 0 || tag >= kPanelPageCount) return;
    m_pages->setCurrentIndex(tag);
    m_title->setText(PanelPageTitle(tag));
}

int TLeftPanel::Page() const {
    return m_pages->currentIndex();
}

}  // namespace kindrel
