#include "app/pages/individual_page.h"

#include "app/app_texts.h"
#include "app/event_rows.h"
#include "app/general_rows.h"
#include "app/message_box.h"
#include "app/page_copy.h"
#include "app/page_texts.h"
#include "app/pages/event_row_model.h"
#include "app/pages/person_table.h"
#include "app/person_colours.h"
#include "app/qt_colours.h"
#include "app/pages/page_metrics.h"
#include "model/collection.h"
#include "services/options.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace kindrel {

namespace {

// Column widths in pixels at 96 dots per inch.
constexpr int kMarkWidth = 14;
constexpr int kTypeWidth = 130;
constexpr int kDateWidth = 80;
constexpr int kAgeWidth = 30;
constexpr int kMinInformationWidth = 100;

constexpr const char* kNotesCaption = "Notes";
constexpr const char* kTmgNotesCaption = "Notes / Construction Sentence";

QLabel* PlainLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    if (name) label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPlainTextEdit* Memo(const char* name, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    return memo;
}

QGroupBox* Boxed(const QString& title, const char* name, QWidget* content, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(content);
    return box;
}

// "M", "F" or "U" for a stored sex letter.
QString SexLetter(char sex) {
    if (sex == 'M' || sex == 'm') return QStringLiteral("M");
    if (sex == 'F' || sex == 'f') return QStringLiteral("F");
    return QStringLiteral("U");
}

// A row as the context menu's "Copy" puts it: type, date, information and age by tabs.
QString RowCopyText(const WEventRow& row) {
    const QString text = QString::fromStdString(row.type + '\t' + row.date + '\t' +
                                                row.information + '\t' + row.age);
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == QLatin1Char('\t') || text[end - 1] == QLatin1Char(' ')))
        --end;
    return text.left(end).trimmed();
}

}  // namespace

TIndividualPage::TIndividualPage(TViewContext& context, QWidget* parent)
    : TViewPage(context, parent) {
    setObjectName(QStringLiteral("individualPage"));

    // Top line: sex and change date on the left, the two check boxes on the right.
    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(PlainLabel(QStringLiteral("Sex:"), "sexLabel", this));
    m_sexValue = PlainLabel(QString(), "sexValue", this);
    m_sexValue->setMinimumWidth(20);
    top->addWidget(m_sexValue);
    top->addSpacing(16);
    top->addWidget(PlainLabel(QStringLiteral("Modified:"), "modifiedLabel", this));
    m_modifiedValue = PlainLabel(QString(), "modifiedValue", this);
    top->addWidget(m_modifiedValue);
    top->addStretch(1);
    m_chronological = new QCheckBox(QStringLiteral("Chronological"), this);
    m_chronological->setObjectName(QStringLiteral("chronologicalCheck"));
    top->addWidget(m_chronological);
    m_tmgSentence = new QCheckBox(QStringLiteral("TMG Sentence"), this);
    m_tmgSentence->setObjectName(QStringLiteral("tmgSentenceCheck"));
    m_tmgSentence->setVisible(false);
    top->addWidget(m_tmgSentence);
    connect(m_chronological, &QCheckBox::clicked, this, &TIndividualPage::ChronologicalClicked);
    connect(m_tmgSentence, &QCheckBox::clicked, this, &TIndividualPage::TmgSentenceClicked);

    // The grid of rows over the Notes and Sources memos.
    m_model = new WEventRowModel(this);
    m_model->setObjectName(QStringLiteral("eventRowModel"));
    m_grid = new WPersonTable(context, this);
    m_grid->setObjectName(QStringLiteral("eventGrid"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new WEventRowDelegate(m_grid));
    m_grid->setShowGrid(false);
    KeepGridRowHeight(m_grid, 6);
    QHeaderView* header = m_grid->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    m_grid->SetPersonAt([this](const QModelIndex& index) {
        const WEventRow* row = m_model->Row(index.row());
        return row ? row->link : 0;
    });
    m_grid->SetRowText([this](const QModelIndex& index) {
        const WEventRow* row = m_model->Row(index.row());
        return row ? RowCopyText(*row) : QString();
    });
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                m_selectedRow = current.row();
                FillMemos(current.row());
            });

    m_notes = Memo("notesMemo", this);
    m_sources = Memo("sourcesMemo", this);
    m_notesBox = Boxed(QString::fromLatin1(kNotesCaption), "notesBox", m_notes, this);
    auto* memos = new QWidget(this);
    auto* memoLayout = new QHBoxLayout(memos);
    memoLayout->setContentsMargins(0, 0, 0, 0);
    memoLayout->addWidget(m_notesBox, 1);
    memoLayout->addWidget(Boxed(QStringLiteral("Sources"), "sourcesBox", m_sources, this), 1);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("individualSplitter"));
    split->setChildrenCollapsible(false);
    split->addWidget(m_grid);
    split->addWidget(memos);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    m_raw = Memo("rawRecord", this);
    m_raw->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_raw->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_raw->setAutoFillBackground(true);

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(split);
    m_stack->addWidget(m_raw);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(top);
    layout->addWidget(m_stack, 1);

    LayoutColumns();
    Clear();
}

void TIndividualPage::RefreshPage() {
    if (m_context.IsWindowBusy()) return;
    try {
        Rebuild();
    } catch (const std::exception& e) {
        // A record that cannot be read empties the page; the error is said once.
        Clear();
        WMessageBox::Show(this, std::string(e.what()), std::string(kProductName),
                          MessageRecord::kError);
    }
}

void TIndividualPage::Rebuild() {
    WABSCollection* collection = m_context.Collection();
    const int32_t n = m_context.ActiveIndividual();
    std::unique_ptr<WABSIndividual> person;
    if (collection && n > 0 && n <= collection->IndividualCount())
        person = collection->GetIndividual(n);
    if (!person) {
        Clear();
        return;
    }
    WOptions& options = Options();
    const bool tmg = collection->Kind() == kKindTmg;
    m_chronological->setEnabled(true);
    m_chronological->setChecked(options.ReadBool(Opt::Chrono));
    m_tmgSentence->setVisible(tmg);
    m_tmgSentence->setEnabled(tmg);
    m_tmgSentence->setChecked(options.ReadBool(Opt::TMGTagSent));
    m_notesBox->setTitle(QString::fromLatin1(
        tmg && options.ReadBool(Opt::TMGTagSent) ? kTmgNotesCaption : kNotesCaption));
    m_sexValue->setText(SexLetter(person->Sex()));
    m_modifiedValue->setText(QString::fromStdString(person->ChangeDateText()));
    m_shown = n;

    if (m_context.RawMode()) {
        m_raw->setPlainText(QString::fromStdString(UnixLineBreaks(person->RecordText())));
        ColourRaw(n);
        m_stack->setCurrentIndex(1);
        return;
    }
    m_stack->setCurrentIndex(0);
    m_model->SetRows(BuildEventRows(*collection, n, false, m_context.Highlighter(),
                                    WEventRowOptions::FromSettings(options)));
    m_grid->setEnabled(true);
    // The selection stays on the same row for the next individual, or row 1 when past the end.
    const int rows = static_cast<int>(m_model->Rows().size());
    SelectRow(m_selectedRow < rows ? m_selectedRow : 0);
}

void TIndividualPage::Clear() {
    m_shown = 0;
    m_model->SetRows({});
    m_sexValue->clear();
    m_modifiedValue->clear();
    m_notes->clear();
    m_sources->clear();
    m_raw->clear();
    m_raw->setPalette(QPalette());
    m_chronological->setEnabled(false);
    m_tmgSentence->setEnabled(false);
    m_grid->setEnabled(false);
    m_notesBox->setTitle(QString::fromLatin1(kNotesCaption));
    m_stack->setCurrentIndex(0);
}

void TIndividualPage::SelectRow(int row) {
    const QModelIndex index = m_model->index(row, WEventRowModel::kType);
    m_grid->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_selectedRow = row;
    FillMemos(row);
}

void TIndividualPage::FillMemos(int row) {
    const WEventRow* shown = m_model->Row(row);
    m_notes->setPlainText(shown ? QString::fromStdString(UnixLineBreaks(shown->notes)) : QString());
    m_sources->setPlainText(shown ? QString::fromStdString(UnixLineBreaks(shown->sources))
                                  : QString());
}

void TIndividualPage::ForgetCollection() {
    Clear();
}

void TIndividualPage::CollectionAttached() {
    m_selectedRow = 0;
}

void TIndividualPage::HighlightChanged() {
    m_model->Recolour(m_context.Highlighter());
    if (ShowsRaw() && m_shown > 0) ColourRaw(m_shown);
}

void TIndividualPage::ColourRaw(int32_t n) {
    const WColourPair colours = PersonColours(m_context.Highlighter(), n);
    QPalette palette = m_raw->palette();
    palette.setColor(QPalette::Base, ToQColor(colours.background));
    palette.setColor(QPalette::Text, ToQColor(colours.text));
    m_raw->setPalette(palette);
}

void TIndividualPage::ChronologicalClicked(bool on) {
    Options().WriteBool(Opt::Chrono, on);
    RefreshPage();
}

void TIndividualPage::TmgSentenceClicked(bool on) {
    Options().WriteBool(Opt::TMGTagSent, on);
    RefreshPage();
}

bool TIndividualPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid->viewport() && event->type() == QEvent::Resize) LayoutColumns();
    return TViewPage::eventFilter(watched, event);
}

void TIndividualPage::LayoutColumns() {
    const double scale = logicalDpiX() / 96.0;
    const auto px = [scale](int width) { return static_cast<int>(width * scale + 0.5); };
    // The widths were chosen for a small 8-point font; with a wider screen font the common
    // texts still fit (the longest vital type, a full date, an age before the birth).
    const QFontMetrics metrics = m_grid->fontMetrics();
    const auto fit = [&metrics](const char* sample) {
        return metrics.horizontalAdvance(QString::fromLatin1(sample)) + 10;
    };
    const int mark = std::max(px(kMarkWidth), fit("N") - 4);
    const int type = std::max(px(kTypeWidth), fit("LDS Sealed To Parents"));
    const int date = std::max(px(kDateWidth), fit("30 SEP 1888"));
    const int age = std::max(px(kAgeWidth), fit("-~100"));
    QHeaderView* header = m_grid->horizontalHeader();
    header->resizeSection(WEventRowModel::kNotes, mark);
    header->resizeSection(WEventRowModel::kSources, mark);
    header->resizeSection(WEventRowModel::kType, type);
    header->resizeSection(WEventRowModel::kDate, date);
    header->resizeSection(WEventRowModel::kAge, age);
    header->resizeSection(WEventRowModel::kInformation,
                          std::max(px(kMinInformationWidth),
                                   m_grid->viewport()->width() - 2 * mark - type - date - age));
}

QString TIndividualPage::SexText() const {
    return m_sexValue->text();
}

QString TIndividualPage::ModifiedText() const {
    return m_modifiedValue->text();
}

QString TIndividualPage::NotesText() const {
    return m_notes->toPlainText();
}

QString TIndividualPage::SourcesText() const {
    return m_sources->toPlainText();
}

QString TIndividualPage::NotesCaption() const {
    return m_notesBox->title();
}

QString TIndividualPage::RawText() const {
    return m_raw->toPlainText();
}

bool TIndividualPage::ShowsRaw() const {
    return m_stack->currentIndex() == 1;
}

bool TIndividualPage::CanPerform(PageCommand command) const {
    return command == PageCommand::kCopy && CanCopyActiveIndividual(m_context);
}

bool TIndividualPage::Perform(PageCommand command) {
    if (!CanPerform(command)) return false;
    return CopyPageText(*this, [this]() -> std::optional<std::string> {
        const int32_t n = m_context.ActiveIndividual();
        return IndividualPageText(*m_context.Collection(), n, m_context.RawMode(),
                                  WEventRowOptions::FromSettings(Options()));
    });
}

}  // namespace kindrel
