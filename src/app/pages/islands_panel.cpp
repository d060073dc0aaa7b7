#include "app/pages/islands_panel.h"

#include "analysis/islands.h"
#include "app/list_text.h"
#include "app/pages/islands_model.h"
#include "app/pages/list_grid.h"
#include "app/pages/page_metrics.h"
#include "app/view_page.h"
#include "model/collection.h"
#include "services/options.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace kindrel {

TIslandsPanel::TIslandsPanel(TViewContext& context, QWidget* parent)
    : QWidget(parent), m_context(context) {
    setObjectName(QStringLiteral("islandsPanelPage"));
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("islandsPanelCount"));
    m_use = new QCheckBox(QString::fromStdString(UseIslandText(0)), this);
    m_use->setObjectName(QStringLiteral("useIslands"));
    m_model = new WIslandsModel(context, true, this);
    m_model->setObjectName(QStringLiteral("islandsPanelModel"));
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("islandsPanelGrid"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_grid->setColumnWidth(c, Scaled(this, m_model->ColumnWidth(c)));
    m_follow = new QTimer(this);
    m_follow->setSingleShot(true);
    m_follow->setInterval(kFollowDelayMs);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_label);
    layout->addWidget(m_use);
    layout->addWidget(m_grid, 1);

    connect(m_use, &QCheckBox::toggled, this, &TIslandsPanel::UseToggled);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] {
                if (m_use->isChecked()) m_follow->start();
            });
    connect(m_follow, &QTimer::timeout, this, &TIslandsPanel::ApplyFollow);
    Refresh();
}

int32_t TIslandsPanel::SelectedPosition() const {
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? m_model->PositionAt(current.row()) : 0;
}

void TIslandsPanel::UseToggled(bool on) {
    m_follow->stop();
    if (!on) {
        if (m_inUse != 0) Q_EMIT useIslandRequested(0);
        ShowIslandInUse(m_inUse);
        return;
    }
    const int32_t position = SelectedPosition();
    if (position > 0) Q_EMIT useIslandRequested(position);
    // Without a valid row (or when the window refused) the box stays as the window is.
    ShowIslandInUse(m_inUse);
}

void TIslandsPanel::ShowIslandInUse(int32_t position) {
    m_inUse = position;
    const QSignalBlocker quiet(m_use);
    m_use->setChecked(position > 0);
    m_use->setText(QString::fromStdString(UseIslandText(position)));
}

void TIslandsPanel::Refresh() {
    m_model->Refresh();
    WABSCollection* collection = m_context.Collection();
    const WIslands* islands = collection ? &WIslands::Of(*collection) : nullptr;
    const bool calculated = islands && islands->IsCalculated();
    m_label->setText(calculated ? QString::fromStdString(IslandsLabel(islands->IslandCount()))
                                : QString());
    m_use->setEnabled(calculated);
    if (calculated && m_inUse > 0 && !m_grid->currentIndex().isValid()) {
        const QSignalBlocker quiet(m_grid->selectionModel());
        m_grid->setCurrentIndex(m_model->index(m_inUse - 1, 0));
    }
}

void TIslandsPanel::Reset() {
    m_follow->stop();
    m_grid->setCurrentIndex({});
    ShowIslandInUse(0);
    Refresh();
}

void TIslandsPanel::FlushPendingMove() {
    if (!m_follow->isActive()) return;
    m_follow->stop();
    ApplyFollow();
}

void TIslandsPanel::ApplyFollow() {
    const int32_t position = SelectedPosition();
    if (m_use->isChecked() && position > 0 && position != m_inUse)
        Q_EMIT useIslandRequested(position);
}

void TIslandsPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Showing the page calculates the islands when they are calculated automatically.
    WABSCollection* collection = m_context.Collection();
    if (collection && Options().ReadBool(Opt::CalcIslands) && !m_context.IsWindowBusy() &&
        !WIslands::Of(*collection).IsCalculated()) {
        QTimer::singleShot(0, this, [this] {
            if (!isVisible() || m_context.IsWindowBusy()) return;
            if (EnsureIslands(this, m_context)) Q_EMIT islandsChanged();
            Refresh();
        });
    }
    Refresh();
}

}  // namespace kindrel
