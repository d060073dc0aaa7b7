#include "app/dialogs/search_sites_dialog.h"

#include "app/app_texts.h"
#include "app/message_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kindrel {

namespace {

std::string CellText(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text().trimmed().toStdString() : std::string();
}

}  // namespace

TdlgSearchSites::TdlgSearchSites(const std::vector<WSearchSite>& sites, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("searchSitesDialog"));
    setWindowTitle(QStringLiteral("Search Sites"));
    resize(760, 420);
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(
        QStringLiteral("An address starts with https:// or http://. Placeholders: {given}, "
                       "{surname}, {terms} (the names, and an exact year), {birthFrom}, "
                       "{birthTo}, {deathFrom}, {deathTo}."),
        this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_table = new QTableWidget(0, 2, this);
    m_table->setObjectName(QStringLiteral("sitesTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Caption"), QStringLiteral("Address")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, 140);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_table, 1);
    auto* row = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Add"), this);
    add->setObjectName(QStringLiteral("sitesAdd"));
    auto* remove = new QPushButton(QStringLiteral("Remove"), this);
    remove->setObjectName(QStringLiteral("sitesRemove"));
    auto* defaults = new QPushButton(QStringLiteral("Restore Defaults"), this);
    defaults->setObjectName(QStringLiteral("sitesDefaults"));
    connect(add, &QPushButton::clicked, this, [this] { AddRow(); });
    connect(remove, &QPushButton::clicked, this, &TdlgSearchSites::RemoveRow);
    connect(defaults, &QPushButton::clicked, this, &TdlgSearchSites::RestoreDefaults);
    row->addWidget(add);
    row->addWidget(remove);
    row->addWidget(defaults);
    row->addStretch();
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TdlgSearchSites::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    Fill(sites);
}

void TdlgSearchSites::Fill(const std::vector<WSearchSite>& sites) {
    m_table->setRowCount(0);
    for (const WSearchSite& site : sites) AddRow(site);
    // The list opens at its top (AddRow leaves the row it added current).
    if (m_table->rowCount() > 0) m_table->setCurrentCell(0, 0);
    m_table->scrollToTop();
}

void TdlgSearchSites::AddRow(const WSearchSite& site) {
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    m_table->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(site.caption)));
    m_table->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(site.urlTemplate)));
    m_table->setCurrentCell(row, 0);
}

void TdlgSearchSites::RemoveRow() {
    const int row = m_table->currentRow();
    if (row >= 0) m_table->removeRow(row);
}

void TdlgSearchSites::RestoreDefaults() {
    Fill(DefaultSearchSites());
}

std::vector<WSearchSite> TdlgSearchSites::Sites() const {
    std::vector<WSearchSite> sites;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        WSearchSite site{CellText(m_table, row, 0), CellText(m_table, row, 1)};
        if (site.caption.empty() && site.urlTemplate.empty()) continue;
        sites.push_back(std::move(site));
    }
    return sites;
}

QString TdlgSearchSites::Problem() const {
    int n = 0;
    for (const WSearchSite& site : Sites()) {
        ++n;
        const QString which =
            QStringLiteral("Site %1 (%2): ").arg(n).arg(QString::fromStdString(site.caption));
        if (site.caption.empty()) return which + QStringLiteral("The caption is empty.");
        if (site.caption.find('|') != std::string::npos)
            return which + QStringLiteral("The caption must not contain \"|\".");
        const std::string why = CheckSiteTemplate(site.urlTemplate);
        if (!why.empty()) return which + QString::fromStdString(why);
    }
    return {};
}

void TdlgSearchSites::accept() {
    const QString problem = Problem();
    if (!problem.isEmpty()) {
        WMessageBox::Show(this, problem, QString::fromUtf8(kProductName), MessageRecord::kWarning);
        return;
    }
    QDialog::accept();
}

}  // namespace kindrel
