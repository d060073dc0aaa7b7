#include "app/general_page.h"

#include "app/general_rows.h"
#include "app/info_grid_model.h"
#include "app/page_copy.h"
#include "app/page_texts.h"
#include "model/collection.h"

#include <QFontDatabase>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace kindrel {

namespace {

// Submitter rows with their labels and no values (no file open).
std::vector<InfoRow> EmptySubmitterRows() {
    return {{"Name", {}, {}},    {"Addr 1", {}, {}}, {"Addr 2", {}, {}}, {"Addr 3", {}, {}},
            {"Country", {}, {}}, {"Phone", {}, {}},  {"Email", {}, {}}};
}

QGroupBox* Group(const QString& title, const char* name, QWidget* content, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(8, 10, 8, 8);
    layout->addWidget(content);
    return group;
}

// A grid of a fixed number of rows: it asks for the height that shows them all, and may
// shrink to three rows (and scroll) when the window is small.
class TFitGrid : public QTableView {
  public:
    TFitGrid(int rows, QWidget* parent) : QTableView(parent), m_rows(rows) {}
    int FullHeight() const {
        const int header =
            horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sizeHint().height();
        return header + m_rows * verticalHeader()->defaultSectionSize() + 2 * frameWidth();
    }
    QSize sizeHint() const override {
        return m_rows > 0 ? QSize(QTableView::sizeHint().width(), FullHeight())
                          : QTableView::sizeHint();
    }
    QSize minimumSizeHint() const override {
        if (m_rows <= 0) return QTableView::minimumSizeHint();
        const int header = horizontalHeader()->sizeHint().height();
        return QSize(QTableView::minimumSizeHint().width(),
                     header + std::min(m_rows, 3) * verticalHeader()->defaultSectionSize() +
                         2 * frameWidth());
    }

  private:
    int m_rows;
};

QPlainTextEdit* RawView(const char* name, QWidget* parent) {
    auto* view = new QPlainTextEdit(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return view;
}

}  // namespace

TGeneralPage::TGeneralPage(TViewContext& context, QWidget* parent) : TViewPage(context, parent) {
    setObjectName(QStringLiteral("generalPage"));
    m_statistics = new WInfoGridModel(QStringLiteral("Stats"), QStringLiteral("Description"), this);
    m_statistics->setObjectName(QStringLiteral("statisticsModel"));
    m_header = new WInfoGridModel(QStringLiteral("Info"), QStringLiteral("Description"), this);
    m_header->setObjectName(QStringLiteral("headerModel"));
    m_submitter = new WInfoGridModel(QStringLiteral("Info"), QStringLiteral("Description"), this);
    m_submitter->setObjectName(QStringLiteral("submitterModel"));

    QTableView* statisticsGrid = MakeGrid(m_statistics, "statisticsGrid", 8, 70, 200);
    QTableView* headerGrid = MakeGrid(m_header, "headerGrid", 0, 120, 260);
    QTableView* submitterGrid = MakeGrid(m_submitter, "submitterGrid", 7, 70, 200);

    m_headerStack = new QStackedWidget(this);
    m_headerStack->addWidget(headerGrid);
    m_headerRaw = RawView("headerRaw", m_headerStack);
    m_headerStack->addWidget(m_headerRaw);
    m_submitterStack = new QStackedWidget(this);
    m_submitterStack->addWidget(submitterGrid);
    m_submitterRaw = RawView("submitterRaw", m_submitterStack);
    m_submitterStack->addWidget(m_submitterRaw);

    // Statistics and submitter on the left, the (usually longer) header on the right.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(12);
    auto* left = new QVBoxLayout;
    left->setSpacing(12);
    // The submitter's stack is as high as its grid, unless the raw text is shown.
    m_submitterGridHeight = static_cast<TFitGrid*>(submitterGrid)->FullHeight();
    m_submitterStack->setMaximumHeight(m_submitterGridHeight);
    left->addWidget(Group(QStringLiteral("File"), "statisticsGroup", statisticsGrid, this));
    left->addWidget(Group(QStringLiteral("Submitter"), "submitterGroup", m_submitterStack, this));
    left->addStretch(1);
    layout->addLayout(left, 4);
    layout->addWidget(Group(QStringLiteral("Header"), "headerGroup", m_headerStack, this), 5);

    RefreshPage();
}

QTableView* TGeneralPage::MakeGrid(WInfoGridModel* model, const char* name, int rows,
                                   int labelWidth, int valueWidth) {
    auto* grid = new TFitGrid(rows, this);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    grid->setItemDelegate(new WTabStopDelegate(grid));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setAlternatingRowColors(true);
    grid->setWordWrap(false);
    grid->setShowGrid(false);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    QHeaderView* header = grid->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    // The label column fits its longest label (at least the design's width); the value column
    // takes the rest of the grid.
    header->setMinimumSectionSize(labelWidth);
    header->resizeSection(0, labelWidth);
    header->resizeSection(1, valueWidth);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    return grid;
}

void TGeneralPage::RefreshPage() {
    m_statistics->SetRows(StatisticsRows(m_context.Statistics()));
    WABSCollection* collection = m_context.Collection();
    m_header->SetRows(collection ? HeaderRows(*collection) : std::vector<InfoRow>());
    m_submitter->SetRows(collection ? SubmitterRows(*collection) : EmptySubmitterRows());
    const bool raw = m_context.RawMode();
    if (raw) {
        m_headerRaw->setPlainText(
            collection ? QString::fromStdString(kindrel::HeaderRawText(*collection)) : QString());
        m_submitterRaw->setPlainText(
            collection ? QString::fromStdString(kindrel::SubmitterRawText(*collection))
                       : QString());
    }
    m_headerStack->setCurrentIndex(raw ? 1 : 0);
    m_submitterStack->setCurrentIndex(raw ? 1 : 0);
    // The record's text needs more room than the seven grid rows.
    m_submitterStack->setMaximumHeight(raw ? QWIDGETSIZE_MAX : m_submitterGridHeight);
}

QString TGeneralPage::HeaderRawText() const {
    return m_headerRaw->toPlainText();
}

QString TGeneralPage::SubmitterRawText() const {
    return m_submitterRaw->toPlainText();
}

bool TGeneralPage::ShowsRaw() const {
    return m_headerStack->currentIndex() == 1;
}

bool TGeneralPage::CanPerform(PageCommand command) const {
    return command == PageCommand::kCopy && m_context.Collection() && m_context.Statistics() &&
           !m_context.IsWindowBusy();
}

bool TGeneralPage::Perform(PageCommand command) {
    if (!CanPerform(command)) return false;
    return CopyPageText(*this, [this]() -> std::optional<std::string> {
        return GeneralPageText(*m_context.Collection(), *m_context.Statistics(),
                               m_context.RawMode());
    });
}

}  // namespace kindrel
