#include "app/dialogs/print_dialog.h"

#include "app/dialogs/report_preview.h"
#include "app/family_group.h"
#include "app/ind_scroll.h"
#include "app/message_box.h"
#include "app/url_opener.h"
#include "app/wait_dialog.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "reports/report_output.h"
#include "reports/report_painter.h"
#include "services/options.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kindrel {

namespace {

constexpr const char* kCaption = "Print Dialog";
constexpr const char* kSavingText = "Saving to File.  Please Wait...";
constexpr int kManyImagePages = 100;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QCheckBox* Check(QWidget* parent, const char* name, const QString& text) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// Lets pending events run once a page and answers whether to go on (Cancel not pressed).
// Every page, not through the throttled pump of long core work: a page takes milliseconds,
// and a short report would otherwise finish before Cancel was ever looked at.
bool PumpPage(int page, int pages) {
    TWaitDlg::SetProgressText(QStringLiteral("Page %1 of %2").arg(page).arg(pages));
    QCoreApplication::processEvents();
    return !CancelRequested();
}

}  // namespace

QString DescendantColumnsWidthText(int position) {
    return QStringLiteral("Width: %1\"").arg((724.0 - 10.0 * position) / 96.0, 0, 'f', 2);
}

TPrintDlg::TPrintDlg(const TPrintDlgContext& context, QWidget* parent)
    : QDialog(parent),
      m_tagSentOff(Options(), Opt::TMGTagSent, "F"),
      m_context(context),
      m_metrics(std::make_unique<WQtTextMetrics>()) {
    setObjectName(QStringLiteral("printDialog"));
    setWindowTitle(QString::fromLatin1(kCaption));

    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("printPages"));
    // All eight page tabs in view: the dialog is as wide as they are.
    m_pages->setUsesScrollButtons(false);
    layout->addWidget(m_pages);

    // General
    auto* general = new QWidget;
    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->addWidget(new QLabel(QStringLiteral("No options to select"), general));
    generalLayout->addStretch();
    m_pages->addTab(general, QStringLiteral("&General"));

    // Individual
    auto* individual = new QWidget;
    auto* indLayout = new QVBoxLayout(individual);
    m_indNotes = Check(individual, "printIndNotes", QStringLiteral("Print &Notes in the Report"));
    indLayout->addWidget(m_indNotes);
    indLayout->addStretch();
    m_pages->addTab(individual, QStringLiteral("&Individual"));

    m_pages->addTab(MakeFamilyPage(m_familyMarriages, false), QStringLiteral("&Family"));
    m_pages->addTab(MakeFamilyPage(m_pedigreeMarriages, true), QStringLiteral("&Pedigree"));

    // Descendants
    auto* des = new QWidget;
    auto* desLayout = new QFormLayout(des);
    m_indent = new QSpinBox(des);
    m_indent->setObjectName(QStringLiteral("printDesIndent"));
    m_indent->setRange(1, 32);
    m_generations = new QSpinBox(des);
    m_generations->setObjectName(QStringLiteral("printDesGenerations"));
    m_generations->setRange(0, 255);
    m_generations->setSpecialValueText(QStringLiteral("All"));
    desLayout->addRow(QStringLiteral("Indent amount:"), m_indent);
    desLayout->addRow(QStringLiteral("Generations to show:"), m_generations);
    m_repeat = Check(des, "printDesRepeat", QStringLiteral("Repea&t individuals"));
    m_columns = Check(des, "printDesColumns", QStringLiteral("Print &Columns"));
    desLayout->addRow(m_repeat);
    desLayout->addRow(m_columns);
    m_width = new QSlider(Qt::Horizontal, des);
    m_width->setObjectName(QStringLiteral("printDesWidth"));
    m_width->setRange(18, 54);
    m_widthLabel = new QLabel(des);
    m_widthLabel->setObjectName(QStringLiteral("printDesWidthText"));
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(m_width, 1);
    widthRow->addWidget(m_widthLabel);
    desLayout->addRow(QStringLiteral("Width of area used for columns"), widthRow);
    m_desLines = Check(des, "printDesLines", QStringLiteral("Draw divider li&nes between individuals"));
    desLayout->addRow(m_desLines);
    m_pages->addTab(des, QStringLiteral("&Descendants"));
    connect(m_width, &QSlider::valueChanged, this, &TPrintDlg::UpdateWidthLabel);

    const QString widthNote =
        QStringLiteral("The columns print as wide as they are on the page; change their widths "
                       "there to fit more on a line.");
    // The pages of row reports: a note on column widths (List, Highlighted), grey lines and
    // dividers, then the page's own options.
    const auto rowsPage = [&](const QString& tab, const char* prefix, const QString* note,
                              const QString& dividerText, QCheckBox*& grey,
                              QCheckBox*& divider) {
        auto* page = new QWidget;
        auto* pageLayout = new QVBoxLayout(page);
        if (note) {
            auto* label = new QLabel(*note, page);
            label->setWordWrap(true);
            pageLayout->addWidget(label);
        }
        const QString name = QString::fromLatin1(prefix);
        grey = Check(page, (name + QStringLiteral("Grey")).toLatin1().constData(),
                     QStringLiteral("Grey &alternating lines"));
        divider = Check(page, (name + QStringLiteral("Divider")).toLatin1().constData(),
                        dividerText);
        pageLayout->addWidget(grey);
        pageLayout->addWidget(divider);
        m_pages->addTab(page, tab);
        return pageLayout;
    };
    const QString individualsDivider = QStringLiteral("Draw divider li&nes between individuals");
    QVBoxLayout* listLayout = rowsPage(QStringLiteral("&List"), "printList", &widthNote,
                                       individualsDivider, m_listGrey, m_listDivider);
    m_listHL = Check(listLayout->parentWidget(), "printListHL",
                     QStringLiteral("Indi&cate highlighted individuals with \"*\""));
    listLayout->addWidget(m_listHL);
    listLayout->addStretch();
    rowsPage(QStringLiteral("&Highlighted"), "printHL", &widthNote, individualsDivider, m_hlGrey,
             m_hlDivider)
        ->addStretch();
    rowsPage(QStringLiteral("I&slands"), "printIsland", nullptr,
             QStringLiteral("Draw divider li&nes between rows"), m_islandGrey, m_islandDivider)
        ->addStretch();

    // The subject.
    m_scroll = new WIndScroll(this);
    m_scroll->setObjectName(QStringLiteral("printScroll"));
    layout->addWidget(m_scroll);
    m_scroll->AttachCollection(m_context.collection);
    if (m_context.active > 0) m_scroll->JumpTo(m_context.active);
    connect(m_scroll, &WIndScroll::changed, this, [this] {
        RefillMarriages();
        UpdateButtons();
    });

    m_reason = new QLabel(this);
    m_reason->setObjectName(QStringLiteral("printReason"));
    m_reason->setTextFormat(Qt::PlainText);
    m_reason->setStyleSheet(QStringLiteral("color: #a00000"));
    layout->addWidget(m_reason);

    // Mnemonics: the page tabs take G I F P D L H S, the buttons R W E V, the options of a
    // page the letters left.
    auto* buttons = new QHBoxLayout;
    m_viewSaved = Check(this, "printViewSaved", QStringLiteral("&View file after saved"));
    buttons->addWidget(m_viewSaved);
    buttons->addStretch();
    m_print = new QPushButton(QStringLiteral("P&rint"), this);
    m_print->setObjectName(QStringLiteral("printPrint"));
    m_preview = new QPushButton(QStringLiteral("Previe&w"), this);
    m_preview->setObjectName(QStringLiteral("printPreview"));
    m_save = new QPushButton(QStringLiteral("Sav&e to File"), this);
    m_save->setObjectName(QStringLiteral("printSave"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("printCancel"));
    for (QPushButton* b : {m_print, m_preview, m_save, cancel}) buttons->addWidget(b);
    layout->addLayout(buttons);
    m_preview->setDefault(true);
    connect(m_print, &QPushButton::clicked, this, &TPrintDlg::PrintReport);
    connect(m_preview, &QPushButton::clicked, this, &TPrintDlg::PreviewReport);
    connect(m_save, &QPushButton::clicked, this, &TPrintDlg::SaveToFile);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pages, &QTabWidget::currentChanged, this, &TPrintDlg::UpdateButtons);
    auto* nextPage = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Tab")), this);
    connect(nextPage, &QShortcut::activated, this,
            [this] { m_pages->setCurrentIndex((m_pages->currentIndex() + 1) % m_pages->count()); });
    auto* previousPage = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Tab")), this);
    connect(previousPage, &QShortcut::activated, this, [this] {
        m_pages->setCurrentIndex((m_pages->currentIndex() + m_pages->count() - 1) % m_pages->count());
    });

    LoadOptions();
    RefillMarriages();
    SetCurrentKind(m_context.page);
    UpdateButtons();
}

TPrintDlg::~TPrintDlg() {
    CurrentSettings().Store(Options());
    Options().WriteBool(Opt::ViewSaved, m_viewSaved->isChecked());
}

QWidget* TPrintDlg::MakeFamilyPage(QListWidget*& list, bool pedigree) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* caption = new QLabel(
        QStringLiteral("Marriages of Active Individual.  Please select which Spouse to be used "
                       "in the report"),
        page);
    caption->setWordWrap(true);
    layout->addWidget(caption);
    list = new QListWidget(page);
    list->setObjectName(pedigree ? QStringLiteral("printPedigreeMarriages")
                                 : QStringLiteral("printFamilyMarriages"));
    layout->addWidget(list);
    if (pedigree) {
        m_single = new QRadioButton(QStringLiteral("Si&ngle Sheet"), page);
        m_single->setObjectName(QStringLiteral("printPedSingle"));
        m_cascading = new QRadioButton(QStringLiteral("&Cascading Sheets"), page);
        m_cascading->setObjectName(QStringLiteral("printPedCascading"));
        auto* group = new QButtonGroup(page);
        group->addButton(m_single);
        group->addButton(m_cascading);
        layout->addWidget(m_single);
        layout->addWidget(m_cascading);
    }
    QListWidget* other = pedigree ? m_familyMarriages : nullptr;
    if (other) {
        // One choice of family for both pages.
        connect(list, &QListWidget::currentRowChanged, other, [other](int row) {
            if (other->currentRow() != row) other->setCurrentRow(row);
        });
        connect(other, &QListWidget::currentRowChanged, list, [list](int row) {
            if (list->currentRow() != row) list->setCurrentRow(row);
        });
    }
    return page;
}

void TPrintDlg::LoadOptions() {
    const WReportSettings s = WReportSettings::FromSettings(Options());
    m_indNotes->setChecked(s.indNotes);
    m_single->setChecked(s.pedSingle);
    m_cascading->setChecked(!s.pedSingle);
    m_indent->setValue(s.desIndent);
    m_generations->setValue(s.desGenLimit);
    m_repeat->setChecked(s.desRepeat);
    m_columns->setChecked(s.desColumns);
    m_width->setValue(s.desColWidth);
    UpdateWidthLabel();
    m_desLines->setChecked(s.desLines);
    m_listGrey->setChecked(s.listGrey);
    m_listDivider->setChecked(s.listDivider);
    m_listHL->setChecked(s.listHL);
    m_hlGrey->setChecked(s.hlGrey);
    m_hlDivider->setChecked(s.hlDivider);
    m_islandGrey->setChecked(s.islandGrey);
    m_islandDivider->setChecked(s.islandDivider);
    m_viewSaved->setChecked(Options().ReadBool(Opt::ViewSaved));
}

WReportSettings TPrintDlg::CurrentSettings() const {
    WReportSettings s = WReportSettings::FromSettings(Options());
    s.indNotes = m_indNotes->isChecked();
    s.familyIndex = std::max(1, m_familyMarriages->currentRow() + 1);
    s.pedSingle = !m_cascading->isChecked();
    s.desIndent = m_indent->value();
    s.desGenLimit = m_generations->value();
    s.desRepeat = m_repeat->isChecked();
    s.desColumns = m_columns->isChecked();
    s.desColWidth = m_width->value();
    s.desLines = m_desLines->isChecked();
    s.listGrey = m_listGrey->isChecked();
    s.listDivider = m_listDivider->isChecked();
    s.listHL = m_listHL->isChecked();
    s.hlGrey = m_hlGrey->isChecked();
    s.hlDivider = m_hlDivider->isChecked();
    s.islandGrey = m_islandGrey->isChecked();
    s.islandDivider = m_islandDivider->isChecked();
    s.Clamp();
    return s;
}

void TPrintDlg::UpdateWidthLabel() { m_widthLabel->setText(DescendantColumnsWidthText(m_width->value())); }

WReportKind TPrintDlg::CurrentKind() const {
    return static_cast<WReportKind>(std::max(0, m_pages->currentIndex()));
}

void TPrintDlg::SetCurrentKind(WReportKind kind) { m_pages->setCurrentIndex(static_cast<int>(kind)); }

int32_t TPrintDlg::Subject() const { return m_scroll->Current(); }

void TPrintDlg::RefillMarriages() {
    const int32_t subject = Subject();
    const bool active = subject == m_context.active;
    for (QListWidget* list : {m_familyMarriages, m_pedigreeMarriages}) {
        const QSignalBlocker block(list);
        list->clear();
    }
    WABSCollection* c = m_context.collection;
    if (!c || subject <= 0) return;
    const std::unique_ptr<WABSIndividual> person = c->GetIndividual(subject);
    const int32_t count = person ? person->SpouseFamilyCount() : 0;
    for (int32_t k = 1; k <= count; ++k) {
        const SpouseFamilyChoice choice = ChooseSpouseFamily(*c, subject, k);
        const QString text = choice.spouse > 0 ? Q(c->FullNameOf(choice.spouse))
                                               : QStringLiteral("(no spouse)");
        for (QListWidget* list : {m_familyMarriages, m_pedigreeMarriages}) {
            const QSignalBlocker block(list);
            list->addItem(text);
        }
    }
    const int row = active ? std::clamp(m_context.familyIndex, 1, std::max<int>(1, count)) - 1 : 0;
    for (QListWidget* list : {m_familyMarriages, m_pedigreeMarriages}) {
        const QSignalBlocker block(list);
        if (count > 0) list->setCurrentRow(row);
    }
}

void TPrintDlg::UpdateButtons() {
    QString reason;
    WABSCollection* c = m_context.collection;
    if (!c)
        reason = QStringLiteral("No file is open.");
    else if (ReportNeedsSubject(CurrentKind()) && c->IndividualCount() == 0)
        reason = QStringLiteral("The file has no individuals: only General and Islands print.");
    else if (ReportNeedsSubject(CurrentKind()) && Subject() <= 0)
        reason = QStringLiteral("Choose an individual first.");
    const bool can = reason.isEmpty();
    m_print->setEnabled(can);
    m_preview->setEnabled(can);
    m_save->setEnabled(can);
    m_reason->setText(reason);
    m_scroll->setEnabled(ReportNeedsSubject(CurrentKind()));
}

std::unique_ptr<TABSReportForm> TPrintDlg::PrepareReport(QString& reason) {
    WReportRequest request;
    request.kind = CurrentKind();
    request.collection = m_context.collection;
    request.subject = ReportNeedsSubject(request.kind) ? Subject() : 0;
    request.settings = CurrentSettings();
    request.sources = m_context.sources;
    request.fileText = m_context.fileText;
    request.metrics = m_metrics.get();
    std::unique_ptr<TABSReportForm> form = MakeReportForm(request);
    TWaitDlg::ShowWait(QStringLiteral("Calculating.  Please Wait..."), false, false, this);
    bool prepared = false;
    try {
        prepared = form->Prepare();
    } catch (const std::exception& e) {
        TWaitDlg::HideWait();
        reason = QString::fromUtf8(e.what());
        return nullptr;
    }
    TWaitDlg::HideWait();
    if (!prepared) {
        reason = QStringLiteral("This report needs an individual.");
        return nullptr;
    }
    return form;
}

std::string TPrintDlg::ProposedFileName() const {
    const std::unique_ptr<TABSReportForm> form = MakeReportForm(CurrentKind());
    const std::string base = ReportNeedsSubject(CurrentKind()) && m_context.collection
                                 ? PlainFullNameOf(*m_context.collection, Subject())
                                 : m_context.fileText;
    return ProposedReportFileName(base, form->FileNameEnding());
}

bool TPrintDlg::PrintReport() {
    QString reason;
    std::unique_ptr<TABSReportForm> form = PrepareReport(reason);
    if (!form) {
        WMessageBox::Show(this, reason, QString::fromLatin1(kCaption), MessageRecord::kError);
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("printerDialog"));
    dialog.setMinMax(1, form->PageCount());
    dialog.setFromTo(1, form->PageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (WDialogRunner::Run(dialog) != QDialog::Accepted) return false;
    const bool range = printer.printRange() == QPrinter::PageRange;
    bool cancelled = false;
    std::string error;
    TWaitDlg::ShowWait(QStringLiteral("Printing.  Please Wait..."), true, true, this);
    const bool ok = kindrel::PrintReport(*form, printer, range ? printer.fromPage() : 0,
                                         range ? printer.toPage() : 0, PumpPage, cancelled, error);
    TWaitDlg::HideWait();
    if (!ok && !cancelled)
        WMessageBox::Show(this, Q(error), QString::fromLatin1(kCaption), MessageRecord::kError);
    return ok;
}

bool TPrintDlg::PreviewReport() {
    QString reason;
    std::unique_ptr<TABSReportForm> form = PrepareReport(reason);
    if (!form) {
        WMessageBox::Show(this, reason, QString::fromLatin1(kCaption), MessageRecord::kError);
        return false;
    }
    TReportPreview preview(*form, [this] { PrintReport(); }, [this] { SaveToFile(); }, this);
    WDialogRunner::Run(preview);
    return true;
}

bool TPrintDlg::SaveToFile() {
    QString folder = Q(Options().ReadText(Opt::SaveToFileDir));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(this, QStringLiteral("Save to File"), folder);
    dialog.setObjectName(QStringLiteral("saveReportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);  // asked below, after the name
    QStringList filters;
    for (int k = 0; k < static_cast<int>(WReportFormat::kCount); ++k)
        filters << QString::fromLatin1(ReportFormatFilter(static_cast<WReportFormat>(k)));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
    dialog.selectFile(Q(ProposedFileName()));
    if (WDialogRunner::Run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    auto format = static_cast<WReportFormat>(
        std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())));
    const std::string target = ReportTargetName(dialog.selectedFiles().front().toStdString(), format);
    Options().WriteText(Opt::SaveToFileDir, QFileInfo(Q(target)).absolutePath().toStdString());
    if (QFileInfo::exists(Q(target)) &&
        !WMessageBox::Ask(this, Q(target) + QStringLiteral(" already exists.\nDo you want to replace it?"),
                          QStringLiteral("Save to File")))
        return false;
    return SaveReportTo(target, format);
}

bool TPrintDlg::SaveReportTo(const std::string& fileName, WReportFormat format) {
    QString reason;
    std::unique_ptr<TABSReportForm> form = PrepareReport(reason);
    if (!form) {
        WMessageBox::Show(this, reason, QString::fromLatin1(kCaption), MessageRecord::kError);
        return false;
    }
    return SaveForm(*form, fileName, format);
}

bool TPrintDlg::SaveForm(TABSReportForm& form, const std::string& fileName, WReportFormat format) {
    if (IsImageFormat(format) && form.PageCount() >= kManyImagePages &&
        !WMessageBox::Ask(this,
                          QStringLiteral("This report has %1 pages; each is saved as a file of "
                                         "its own.  Save all of them?")
                              .arg(form.PageCount()),
                          QStringLiteral("Save to File")))
        return false;
    setEnabled(false);
    TWaitDlg::ShowWait(QString::fromLatin1(kSavingText), true, true, this);
    const WReportSaveResult result = SaveReport(form, format, fileName, PumpPage);
    TWaitDlg::HideWait();
    setEnabled(true);
    if (result.cancelled) return false;
    if (!result.ok) {
        WMessageBox::Show(this, Q(result.error), QStringLiteral("Save to File"),
                          MessageRecord::kError);
        return false;
    }
    if (m_viewSaved->isChecked() &&
        !WUrlOpener::Open(QUrl::fromLocalFile(Q(result.files.front()))))
        WMessageBox::Show(this,
                          QStringLiteral("Error: There is currently no default viewer set up for "
                                         "the file type \"%1\" your computer.")
                              .arg(QString::fromLatin1(ReportFormatName(format))),
                          QStringLiteral("Save to File"), MessageRecord::kError);
    return true;
}

}  // namespace kindrel
