#include "app/pages/descendants_page.h"

#include "analysis/des_iterator.h"
#include "analysis/list_columns.h"
#include "app/app_texts.h"
#include "app/dialogs/list_columns_dialog.h"
#include "app/message_box.h"
#include "app/page_copy.h"
#include "app/page_texts.h"
#include "app/pages/descendants_model.h"
#include "app/pages/person_table.h"
#include "app/person_colours.h"
#include "app/qt_colours.h"
#include "app/wait_dialog.h"
#include "app/pages/page_metrics.h"
#include "containers/scope_exit.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "services/options.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kindrel {

namespace {

constexpr int kMaxIndent = 32;
constexpr int kMinColumnWidth = 8;
constexpr int kMaxColumnWidth = 2000;
constexpr int kMinNameWidth = 40;
// Average character width of the font the stored widths were made for.
constexpr double kDesignCharWidth = 5.0;
// How often a request that finds the window busy looks again.
constexpr int kBusyRetryMs = 50;
// How often a copy lets the window process events and reads Cancel.
constexpr int kCopyPumpMs = 30;

constexpr const char* kEmptyHeader = "Descendants (0)";
constexpr const char* kWaitingHeader = "Descendants";
constexpr const char* kWalkingHeader = "Descendants (counting...  Esc stops)";

QString GenerationsText(int limit) {
    return limit == 0
               ? QStringLiteral("Show ALL Generations")
               : QStringLiteral("Show ") + QString::number(limit) + QStringLiteral(" Generations");
}

// A setting read and kept within its control's range (written back when it was outside).
int ClampedSetting(Opt id, int low, int high) {
    const int value = Options().ReadInt(id);
    const int clamped = std::clamp(value, low, high);
    if (clamped != value) Options().WriteInt(id, clamped);
    return clamped;
}

}  // namespace

TDescendantsPage::TDescendantsPage(TViewContext& context, QWidget* parent)
    : TViewPage(context, parent) {
    setObjectName(QStringLiteral("descendantsPage"));

    m_generationsLabel = new QLabel(this);
    m_generationsLabel->setObjectName(QStringLiteral("desGenerationsLabel"));
    m_generations = new QSpinBox(this);
    m_generations->setObjectName(QStringLiteral("desGenerations"));
    m_generations->setRange(0, WDesIterator::kMaxGenerationLimit);
    m_generations->setKeyboardTracking(false);
    m_generations->setToolTip(QStringLiteral("Generations to show; 0 shows all"));
    m_indentLabel = new QLabel(QStringLiteral("Indent:"), this);
    m_indent = new QSpinBox(this);
    m_indent->setObjectName(QStringLiteral("desIndent"));
    m_indent->setRange(1, kMaxIndent);
    m_indent->setKeyboardTracking(false);
    m_indentLabel->setBuddy(m_indent);
    m_gridLines = new QCheckBox(QStringLiteral("Grid"), this);
    m_gridLines->setObjectName(QStringLiteral("desGrid"));
    m_repeat = new QCheckBox(QStringLiteral("Repeat Individuals"), this);
    m_repeat->setObjectName(QStringLiteral("desRepeat"));
    m_columnsButton = new QPushButton(QStringLiteral("Columns"), this);
    m_columnsButton->setObjectName(QStringLiteral("desColumns"));

    m_model = new WDesModel(m_context, this);
    m_model->setObjectName(QStringLiteral("descendantsModel"));
    m_model->SetHeaderText(QString::fromLatin1(kEmptyHeader));
    m_grid = new WPersonTable(m_context, this);
    m_grid->setObjectName(QStringLiteral("descendantsGrid"));
    m_grid->setModel(m_model);
    m_delegate = new WDesNameDelegate(m_context, *m_model, m_grid);
    m_grid->setItemDelegate(m_delegate);
    // Grid lines in silver (the table draws them in the palette's mid colour).
    QPalette palette = m_grid->palette();
    palette.setColor(QPalette::Mid, ToQColor(kSilverColour));
    m_grid->setPalette(palette);
    KeepGridRowHeight(m_grid, 6);
    m_widthScale =
        std::clamp(m_grid->fontMetrics().averageCharWidth() / kDesignCharWidth, 1.0, 3.0);
    m_delegate->SetOffsetScale(m_widthScale);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_grid->SetPersonAt(
        [this](const QModelIndex& index) { return m_model->IndividualAt(index.row()); });
    m_grid->SetRowText([this](const QModelIndex& index) { return m_model->RowText(index.row()); });

    auto* controls = new QHBoxLayout;
    controls->setSpacing(8);
    controls->addWidget(m_generationsLabel);
    controls->addWidget(m_generations);
    controls->addSpacing(12);
    controls->addWidget(m_indentLabel);
    controls->addWidget(m_indent);
    controls->addSpacing(12);
    controls->addWidget(m_gridLines);
    controls->addWidget(m_repeat);
    controls->addSpacing(12);
    controls->addWidget(m_columnsButton);
    controls->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(controls);
    layout->addWidget(m_grid, 1);

    m_walkTimer = new QTimer(this);
    m_walkTimer->setObjectName(QStringLiteral("descendantsWalkTimer"));
    m_walkTimer->setSingleShot(true);
    connect(m_walkTimer, &QTimer::timeout, this, [this] {
        if (isVisible()) WalkIfNeeded(false);
    });

    connect(m_generations, &QSpinBox::valueChanged, this, [this](int limit) {
        Options().WriteInt(Opt::DesGenLimit, limit);
        m_generationsLabel->setText(GenerationsText(limit));
        ScheduleWalk(0);
    });
    connect(m_indent, &QSpinBox::valueChanged, this, [this](int indent) {
        Options().WriteInt(Opt::DesIndent, indent);
        m_delegate->SetIndent(indent);
        m_grid->viewport()->update();
    });
    connect(m_gridLines, &QCheckBox::toggled, this, [this](bool on) {
        Options().WriteBool(Opt::DesShowLines, on);
        m_grid->setShowGrid(on);
    });
    connect(m_repeat, &QCheckBox::toggled, this, [this](bool on) {
        Options().WriteBool(Opt::DesRepDups, on);
        ScheduleWalk(0);
    });
    connect(m_columnsButton, &QPushButton::clicked, this, [this] { ChooseColumns(); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) { ColumnResized(column, size); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) m_keptRow = current.row();
            });
    connect(m_model, &WDesModel::readFailed, this, &TDescendantsPage::ReadFailed,
            Qt::QueuedConnection);

    ReadSettings();
    EnableControls(false);
}

TDescendantsPage::~TDescendantsPage() {
    qApp->removeEventFilter(this);
}

void TDescendantsPage::ReadSettings() {
    const QSignalBlocker a(m_generations), b(m_indent), c(m_gridLines), d(m_repeat);
    const int limit = ClampedSetting(Opt::DesGenLimit, 0, WDesIterator::kMaxGenerationLimit);
    m_generations->setValue(limit);
    m_generationsLabel->setText(GenerationsText(limit));
    const int indent = ClampedSetting(Opt::DesIndent, 1, kMaxIndent);
    m_indent->setValue(indent);
    m_delegate->SetIndent(indent);
    m_gridLines->setChecked(Options().ReadBool(Opt::DesShowLines));
    m_grid->setShowGrid(m_gridLines->isChecked());
    m_repeat->setChecked(Options().ReadBool(Opt::DesRepDups));
}

void TDescendantsPage::EnableControls(bool on) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_generationsLabel, m_generations, m_indentLabel, m_indent,
                                         m_gridLines, m_repeat, m_columnsButton})
        control->setEnabled(on);
}

void TDescendantsPage::ShowRows(const WDesIterator* walk, WABSCollection* collection) {
    // A reset makes the header's sections again: their sizes are the stored widths, not
    // changes of the user's.
    m_applyingWidths = true;
    m_model->SetWalk(walk, collection);
    ApplyWidths();
}

void TDescendantsPage::ApplyWidths() {
    m_applyingWidths = true;
    QHeaderView* header = m_grid->horizontalHeader();
    const auto shown = [this](int stored, int low) {
        return static_cast<int>(
            std::lround(std::clamp(stored, low, kMaxColumnWidth) * m_widthScale));
    };
    header->resizeSection(0, shown(Options().ReadInt(Opt::DesNameCol), kMinNameWidth));
    if (const WListColumns* columns = m_context.DescendantColumns())
        for (int c = 1; c <= columns->ColumnCount() && c < m_model->columnCount(); ++c)
            header->resizeSection(c, shown(columns->Width(c), kMinColumnWidth));
    m_applyingWidths = false;
}

void TDescendantsPage::ColumnResized(int column, int size) {
    if (m_applyingWidths) return;
    const int stored = static_cast<int>(std::lround(size / m_widthScale));
    if (column == 0)
        Options().WriteInt(Opt::DesNameCol, stored);
    else if (WListColumns* columns = m_context.DescendantColumns())
        columns->SetWidth(column, stored);
}

QString TDescendantsPage::HeaderText() const {
    return m_model->HeaderText();
}

bool TDescendantsPage::WalkPending() const {
    return m_walkTimer->isActive();
}

TDescendantsPage::WalkKey TDescendantsPage::CurrentKey() const {
    return {m_context.Collection(), m_context.ActiveIndividual(), m_generations->value(),
            m_repeat->isChecked()};
}

void TDescendantsPage::RefreshPage() {
    ReadSettings();
    WalkIfNeeded(true);
}

void TDescendantsPage::WalkIfNeeded(bool waitForThumb) {
    const WalkKey key = CurrentKey();
    const bool hasPeople = key.collection && key.collection->IndividualCount() > 0 && key.root > 0;
    if (m_walking) {
        // Events run inside a walk: a walk of something else stops it and follows it.
        if (!(key == m_running)) {
            m_walk->RequestStop();
            m_walkAgain = true;
        }
        return;
    }
    if (!hasPeople) {
        SetEmpty();
        return;
    }
    EnableControls(true);
    if (key == m_shown) {
        m_grid->viewport()->update();
        return;
    }
    if (m_context.IsWindowBusy()) {
        ScheduleWalk(kBusyRetryMs);
        return;
    }
    if (waitForThumb && m_context.ScrollThumbDragged()) {
        // Nobody reads a tree that the thumb is passing over: walk once it rests.
        ShowRows(nullptr, nullptr);
        m_shown = {};
        m_model->SetHeaderText(QString::fromLatin1(kWaitingHeader));
        ScheduleWalk(kThumbRestMs);
        return;
    }
    RunWalk(key);
}

void TDescendantsPage::ScheduleWalk(int delayMs) {
    m_walkTimer->start(delayMs);
}

void TDescendantsPage::FlushPendingWalk() {
    if (!m_walkTimer->isActive()) return;
    m_walkTimer->stop();
    WalkIfNeeded(false);
}

void TDescendantsPage::Rewalk() {
    if (m_walking) return;
    m_shown = {};
    WalkIfNeeded(false);
}

void TDescendantsPage::RunWalk(const WalkKey& key) {
    m_walkTimer->stop();
    if (!m_walk) m_walk = std::make_unique<WDesIterator>();
    // Nothing reads the records while they are written.
    ShowRows(nullptr, nullptr);
    m_shown = {};
    m_model->SetHeaderText(QString::fromLatin1(kWalkingHeader));
    m_running = key;
    m_walking = true;
    m_walkAgain = m_stoppedByUser = m_collectionGone = m_closeAfterWalk = false;
    ++m_walkCount;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string error;
    try {
        m_walk->SetCollection(key.collection);
        m_walk->Start(key.root, key.limit, key.repeat);
    } catch (const std::exception& e) {
        error = e.what();
    }
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
    m_walking = false;
    m_running = {};

    if (m_closeAfterWalk) {
        QPointer<QWidget> top = window();
        QTimer::singleShot(0, top, [top] {
            if (top) top->close();
        });
    }
    if (m_collectionGone) {
        // Freed while the walk ran: its records name people of another file.
        m_walk.reset();
        if (m_context.Collection()) ScheduleWalk(0);
        return;
    }
    if (!error.empty()) {
        m_walk->Start(0, 0, false);  // no records
        m_shown = key;               // not walked again until something changes
        m_model->SetHeaderText(QString::fromLatin1(kEmptyHeader));
        WMessageBox::Show(this, error, std::string(kProductName), MessageRecord::kError);
        return;
    }
    if (m_walkAgain) {
        ScheduleWalk(m_context.ScrollThumbDragged() ? kThumbRestMs : 0);
        return;
    }
    ShowWalk(key, m_stoppedByUser);
}

void TDescendantsPage::ShowWalk(const WalkKey& key, bool stoppedByUser) {
    WListColumns& columns = *m_context.DescendantColumns();
    columns.SetReference(key.root);
    const bool sameRoot = key.root == m_shownRoot;
    ShowRows(m_walk.get(), key.collection);
    m_shown = key;
    m_shownRoot = key.root;
    m_failureShown = false;
    m_model->SetHeaderText(CountHeader(stoppedByUser));
    const int rows = m_model->rowCount();
    if (rows == 0) return;
    // The row kept for the same person, when it still exists; else the first.
    int row = sameRoot ? m_keptRow : 0;
    if (row < 0 || row >= rows) row = 0;
    m_grid->setCurrentIndex(m_model->index(row, 0));
    m_grid->scrollTo(m_model->index(row, 0));
}

QString TDescendantsPage::CountHeader(bool stoppedByUser) const {
    QString text = QStringLiteral("Descendants (") + QString::number(m_walk->DescendantCount()) +
                   QStringLiteral(" individuals");
    // A list that is not the whole tree says so.
    if (stoppedByUser)
        text += QStringLiteral("; stopped by Esc");
    else if (m_walk->Truncated())
        text += QStringLiteral("; list cut at ") + QString::number(WDesIterator::kMaxRecords) +
                QStringLiteral(" rows");
    else if (m_walk->CutAtLimit() && m_walk->GenerationLimit() == WDesIterator::kMaxGenerationLimit)
        text += QStringLiteral("; list cut at ") +
                QString::number(WDesIterator::kMaxGenerationLimit) + QStringLiteral(" generations");
    return text + QLatin1Char(')');
}

void TDescendantsPage::SetEmpty() {
    m_walkTimer->stop();
    ShowRows(nullptr, nullptr);
    m_shown = {};
    m_model->SetHeaderText(QString::fromLatin1(kEmptyHeader));
    EnableControls(false);
}

void TDescendantsPage::ForgetCollection() {
    if (m_copying) StopCopy();
    if (m_walking) {
        m_walk->RequestStop();
        m_collectionGone = true;
    } else {
        m_walk.reset();
    }
    m_walkTimer->stop();
    ShowRows(nullptr, nullptr);
    m_shown = {};
    m_shownRoot = 0;
    m_model->SetHeaderText(QString::fromLatin1(kEmptyHeader));
}

void TDescendantsPage::CollectionAttached() {
    ShowRows(nullptr, nullptr);
}

void TDescendantsPage::HighlightChanged() {
    m_grid->viewport()->update();
}

void TDescendantsPage::DisplayOptionsChanged() {
    m_grid->viewport()->update();
}

bool TDescendantsPage::CanPerform(PageCommand command) const {
    WABSCollection* collection = m_context.Collection();
    const bool hasPeople = collection && collection->IndividualCount() > 0;
    if (command == PageCommand::kColumns) return hasPeople;
    if (command == PageCommand::kCopy)
        return hasPeople && !m_copying && CanCopyActiveIndividual(m_context);
    return false;
}

bool TDescendantsPage::Perform(PageCommand command) {
    if (!CanPerform(command)) return false;
    if (command == PageCommand::kCopy) return CopyDescendants();
    return ChooseColumns();
}

bool TDescendantsPage::CopyDescendants() {
    // A copy asked for while one runs (its events are processed meanwhile) is ignored.
    if (m_copying || !CanCopyActiveIndividual(m_context)) return false;
    WABSCollection* collection = m_context.Collection();
    const WalkKey key = CurrentKey();
    // The copy walks on its own, so the grid's walk and a copy never share records.
    WDesIterator walk;
    m_copyWalk = &walk;
    m_copying = true;
    m_copyAborted = m_closeAfterWalk = false;
    qApp->installEventFilter(this);
    TWaitDlg::ShowWait(QString::fromUtf8(kCopyingText), true, true, this);
    // Cancel is read by a timer that runs while the walk processes events.
    QTimer cancelWatch;
    cancelWatch.setInterval(kCopyPumpMs);
    connect(&cancelWatch, &QTimer::timeout, this, [this] {
        if (CancelRequested()) StopCopy();
    });
    cancelWatch.start();
    const ScopeExit done([&] {
        cancelWatch.stop();
        TWaitDlg::HideWait();
        qApp->removeEventFilter(this);
        m_copyWalk = nullptr;
        m_copying = false;
        Q_EMIT commandsChanged();
        if (m_closeAfterWalk) {
            QPointer<QWidget> top = window();
            QTimer::singleShot(0, top, [top] {
                if (top) top->close();
            });
        }
    });
    return CopyPageClipText(*this, [&]() -> std::optional<QString> {
        walk.SetCollection(collection);
        walk.Start(key.root, key.limit, key.repeat);
        if (walk.Stopped() || m_copyAborted) return std::nullopt;
        QElapsedTimer sincePump;
        sincePump.start();
        // The text becomes the clipboard's piece by piece: never held twice, and no long
        // conversion at the end.
        QString clip;
        const bool complete = DescendantListTextTo(
            *collection, walk, [&clip](std::string_view piece) { AppendClipText(clip, piece); },
            [&](int done, int total) {
                if (sincePump.elapsed() >= kCopyPumpMs) {
                    ReportProgress(kCopyingText, done, total);
                    PumpEvents();
                    if (CancelRequested()) StopCopy();
                    sincePump.restart();
                }
                // Once stopped (Cancel, Escape, the file closed) nothing more is read.
                return !m_copyAborted;
            });
        if (!complete || m_copyAborted) return std::nullopt;
        ReportProgress(kCopyingText, walk.RecordCount(), walk.RecordCount());
        return clip;
    });
}

void TDescendantsPage::StopCopy() {
    m_copyAborted = true;
    if (m_copyWalk) m_copyWalk->RequestStop();
}

bool TDescendantsPage::ChooseColumns() {
    if (!CanPerform(PageCommand::kColumns)) return false;
    if (m_walking) {
        // The chooser opens once the walk, stopped now, has let go; it is walked again after.
        m_walk->RequestStop();
        m_walkAgain = true;
        QTimer::singleShot(0, this, [this] { ChooseColumns(); });
        return false;
    }
    WListColumns& columns = *m_context.DescendantColumns();
    TdlgListColumns dialog(columns, this);
    if (WDialogRunner::Run(dialog) != QDialog::Accepted) return false;
    const std::string text = dialog.ColumnsText();
    columns.SetColumns(text);
    Options().WriteText(Opt::DesColumns, text);
    columns.SetReference(m_context.ActiveIndividual());
    const int row = m_keptRow;
    m_applyingWidths = true;  // the header's sections are made again
    m_model->ColumnsChanged();
    ApplyWidths();
    if (row >= 0 && row < m_model->rowCount()) m_grid->setCurrentIndex(m_model->index(row, 0));
    return true;
}

void TDescendantsPage::ReadFailed(const QString& message) {
    if (m_failureShown) return;
    m_failureShown = true;
    // The rows cannot be read: the page is emptied (and not walked again for this person).
    ShowRows(nullptr, nullptr);
    m_model->SetHeaderText(QString::fromLatin1(kEmptyHeader));
    WMessageBox::Show(this, message, QString::fromUtf8(kProductName), MessageRecord::kError);
}

bool TDescendantsPage::eventFilter(QObject* watched, QEvent* event) {
    if (!m_walking && !m_copying) return false;
    switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            auto* widget = qobject_cast<QWidget*>(watched);
            if (key->key() != Qt::Key_Escape || !widget ||
                (widget->window() != window() && !m_copying))
                return false;
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept();  // the key press that follows is ours
                return true;
            }
            StopRunningWork();
            if (m_walking) m_stoppedByUser = true;
            return true;
        }
        case QEvent::Close:
            if (watched != window()) return false;
            // The window closes once the walk or the copy has let go of the page.
            m_closeAfterWalk = true;
            StopRunningWork();
            event->ignore();
            return true;
        default:
            return false;
    }
}

void TDescendantsPage::StopRunningWork() {
    if (m_walking && m_walk) m_walk->RequestStop();
    if (m_copying) StopCopy();
}

}  // namespace kindrel
