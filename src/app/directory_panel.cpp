#include "app/directory_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>
#include <QVBoxLayout>

namespace kindrel {

bool IsGenealogyFileName(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == QLatin1String("ged") || suffix == QLatin1String("paf") ||
           suffix == QLatin1String("sub") || suffix == QLatin1String("tmg");
}

TDirectoryPanel::TDirectoryPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("directoryPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("directoryTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setToolTip(QStringLiteral("Double-click a GEDCOM file to open it"));
    layout->addWidget(m_tree);
    m_current = QDir::homePath();
    connect(m_tree, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (m_model) Activate(m_model->filePath(index));
    });
}

void TDirectoryPanel::EnsureModel() {
    if (m_model) return;
    // Made on first show: the model watches the file system from a thread of its own, which a
    // window that never shows this page does not need.
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setNameFilters({QStringLiteral("*.ged"), QStringLiteral("*.paf"),
                             QStringLiteral("*.sub"), QStringLiteral("*.tmg"),
                             QStringLiteral("*.GED")});
    m_model->setNameFilterDisables(false);
    m_model->setRootPath(QDir::rootPath());
    m_tree->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column) m_tree->hideColumn(column);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                const QFileInfo info = m_model->fileInfo(index);
                m_current = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
            });
    SetCurrentDirectory(m_current);
}

void TDirectoryPanel::showEvent(QShowEvent* event) {
    EnsureModel();
    QWidget::showEvent(event);
}

QString TDirectoryPanel::CurrentDirectory() const {
    return m_current;
}

void TDirectoryPanel::SetCurrentDirectory(const QString& folder) {
    const QFileInfo info(folder);
    if (!folder.isEmpty() && info.isDir()) m_current = info.absoluteFilePath();
    if (!m_model) return;
    const QModelIndex index = m_model->index(m_current);
    if (!index.isValid()) return;
    m_tree->setCurrentIndex(index);
    m_tree->expand(index);
    m_tree->scrollTo(index, QAbstractItemView::PositionAtTop);
}

bool TDirectoryPanel::Activate(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || !IsGenealogyFileName(path)) return false;
    m_current = info.absolutePath();
    Q_EMIT openRequested(info.absoluteFilePath());
    return true;
}

}  // namespace kindrel
