#include "app/file_search_panel.h"

#include "app/message_box.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kindrel {

TFileSearchWorker::TFileSearchWorker(FileSearchOptions options, QObject* parent)
    : QThread(parent), m_options(std::move(options)) {}

TFileSearchWorker::~TFileSearchWorker() {
    Stop();
}

void TFileSearchWorker::Stop() {
    m_stop.store(true, std::memory_order_relaxed);
    wait();
}

void TFileSearchWorker::run() {
    const FileSearchResult result = RunFileSearch(
        m_options, m_stop,
        [this](const std::string& path) { Q_EMIT found(QString::fromStdString(path)); },
        [this](const std::string& folder) { Q_EMIT searching(QString::fromStdString(folder)); });
    Q_EMIT searchDone(result.found, result.stopped);
}

TFileSearchPanel::TFileSearchPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fileSearchPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);

    auto* form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->setVerticalSpacing(4);
    auto* folderRow = new QHBoxLayout;
    m_folders = new QLineEdit(QDir::homePath(), this);
    m_folders->setObjectName(QStringLiteral("searchFolders"));
    m_folders->setToolTip(QStringLiteral("Folders to search, separated by \";\""));
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("searchBrowse"));
    browse->setFixedWidth(30);
    folderRow->addWidget(m_folders, 1);
    folderRow->addWidget(browse);
    form->addRow(QStringLiteral("Look in:"), folderRow);
    m_include = new QLineEdit(QStringLiteral("*.ged;*.paf;*.sub;*.tmg"), this);
    m_include->setObjectName(QStringLiteral("searchInclude"));
    form->addRow(QStringLiteral("File names:"), m_include);
    m_exclude = new QLineEdit(this);
    m_exclude->setObjectName(QStringLiteral("searchExclude"));
    m_exclude->setPlaceholderText(QStringLiteral("e.g. *backup*"));
    form->addRow(QStringLiteral("Exclude:"), m_exclude);
    layout->addLayout(form);
    m_subDirectories = new QCheckBox(QStringLiteral("Search sub-directories"), this);
    m_subDirectories->setObjectName(QStringLiteral("searchSubDirectories"));
    layout->addWidget(m_subDirectories);

    auto* buttons = new QHBoxLayout;
    m_search = new QPushButton(QStringLiteral("Search"), this);
    m_search->setObjectName(QStringLiteral("searchStart"));
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setObjectName(QStringLiteral("searchStop"));
    m_stop->setEnabled(false);
    buttons->addWidget(m_search);
    buttons->addWidget(m_stop);
    layout->addLayout(buttons);

    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("searchResults"));
    m_results->setToolTip(QStringLiteral("Double-click a file to open it"));
    layout->addWidget(m_results, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("searchStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_status);

    connect(m_search, &QPushButton::clicked, this, &TFileSearchPanel::StartSearch);
    connect(m_stop, &QPushButton::clicked, this, &TFileSearchPanel::StopSearch);
    connect(m_results, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Q_EMIT openRequested(item->text()); });
    connect(browse, &QPushButton::clicked, this, [this] {
        QFileDialog dialog(this, QStringLiteral("Look in"),
                           m_folders->text().section(QLatin1Char(';'), 0, 0));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (WDialogRunner::Run(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            m_folders->setText(dialog.selectedFiles().constFirst());
    });
}

TFileSearchPanel::~TFileSearchPanel() {
    StopSearch();
}

void TFileSearchPanel::StartSearch() {
    StopSearch();
    FileSearchOptions options;
    for (const QString& folder : m_folders->text().split(QLatin1Char(';'), Qt::SkipEmptyParts))
        options.folders.push_back(QDir::cleanPath(folder.trimmed()).toStdString());
    options.includeMasks = m_include->text().toStdString();
    options.excludeMasks = m_exclude->text().toStdString();
    options.subDirectories = m_subDirectories->isChecked();
    m_results->clear();
    m_status->setText(QStringLiteral("Searching..."));
    m_worker = new TFileSearchWorker(std::move(options), this);
    connect(m_worker, &TFileSearchWorker::found, this,
            [this](const QString& path) { m_results->addItem(path); });
    connect(m_worker, &TFileSearchWorker::searching, this, [this](const QString& folder) {
        m_status->setText(QStringLiteral("Searching ") + folder);
    });
    connect(m_worker, &TFileSearchWorker::searchDone, this, &TFileSearchPanel::OnDone);
    m_search->setEnabled(false);
    m_stop->setEnabled(true);
    m_worker->start(QThread::LowPriority);
}

void TFileSearchPanel::StopSearch() {
    if (!m_worker) return;
    TFileSearchWorker* worker = m_worker;
    m_worker = nullptr;
    worker->Stop();
    // Finds still queued for this panel are dropped with the worker's connections.
    worker->disconnect(this);
    worker->deleteLater();
    m_search->setEnabled(true);
    m_stop->setEnabled(false);
    m_status->setText(QStringLiteral("Stopped; %1 found").arg(m_results->count()));
}

void TFileSearchPanel::OnDone(qlonglong found, bool stopped) {
    if (m_worker) {
        m_worker->wait();
        m_worker->deleteLater();
        m_worker = nullptr;
    }
    m_search->setEnabled(true);
    m_stop->setEnabled(false);
    m_status->setText(QStringLiteral("%1 file(s) found").arg(found));
    Q_EMIT searchFinished(found, stopped);
}

bool TFileSearchPanel::IsSearching() const {
    return m_worker != nullptr;
}

void TFileSearchPanel::SetFolders(const QString& folders) {
    m_folders->setText(folders);
}

void TFileSearchPanel::SetIncludeMasks(const QString& masks) {
    m_include->setText(masks);
}

void TFileSearchPanel::SetExcludeMasks(const QString& masks) {
    m_exclude->setText(masks);
}

void TFileSearchPanel::SetSubDirectories(bool on) {
    m_subDirectories->setChecked(on);
}

bool TFileSearchPanel::SubDirectories() const {
    return m_subDirectories->isChecked();
}

QStringList TFileSearchPanel::Results() const {
    QStringList results;
    for (int i = 0; i < m_results->count(); ++i) results << m_results->item(i)->text();
    return results;
}

}  // namespace kindrel
