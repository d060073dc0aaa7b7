#include "app/pages/internet_page.h"

#include "app/app_texts.h"
#include "app/dialogs/search_sites_dialog.h"
#include "app/message_box.h"
#include "app/url_opener.h"
#include "model/collection.h"
#include "model/records.h"
#include "services/options.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <memory>

namespace kindrel {

namespace {

constexpr int kSiteColumns = 4;
constexpr const char* kYearRangeItems[] = {"Exact date",  "+/- 1 year",   "+/- 2 years",
                                           "+/- 5 years", "+/- 10 years", "+/- 20 years",
                                           "+/- 40 years"};
constexpr const char* kLeaveNotice =
    "A search sends the names and the year shown here to the web site you choose.";

// The year of event kind of n, 0 without one.
int EventYearOf(WABSIndividual& person, int kind) {
    return person.EventCount(kind) > 0 && person.HasDate(kind) ? person.EventYear(kind) : 0;
}

}  // namespace

TInternetPage::TInternetPage(TViewContext& context, QWidget* parent) : TViewPage(context, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Internet Search"), this);
    group->setObjectName(QStringLiteral("internetGroup"));
    layout->addWidget(group);
    auto* groupLayout = new QVBoxLayout(group);
    auto* form = new QFormLayout;
    groupLayout->addLayout(form);

    const auto edit = [&](const char* name, const char* label, const char* hint) {
        auto* field = new QLineEdit(group);
        field->setObjectName(QString::fromLatin1(name));
        field->setToolTip(QString::fromLatin1(hint));
        form->addRow(QString::fromLatin1(label), field);
        connect(field, &QLineEdit::textChanged, this, &TInternetPage::UpdateState);
        return field;
    };
    m_given = edit("internetGiven", "Given name:", "Given name(s) of selected individual");
    m_surname = edit("internetSurname", "Surname:", "Surname of selected individual");
    m_year = edit("internetYear", "Year:", "Birth or Death year");
    m_year->setMaxLength(6);
    m_yearNote = new QLabel(group);
    m_yearNote->setObjectName(QStringLiteral("internetYearNote"));
    m_yearNote->setTextFormat(Qt::PlainText);
    form->addRow(QString(), m_yearNote);

    WOptions& options = Options();
    m_useYear = new QCheckBox(QStringLiteral("Use Year"), group);
    m_useYear->setObjectName(QStringLiteral("internetUseYear"));
    m_useYear->setToolTip(QStringLiteral("Use year in the search"));
    m_useYear->setChecked(options.ReadBool(Opt::UseYear));
    form->addRow(QString(), m_useYear);
    m_range = new QComboBox(group);
    m_range->setObjectName(QStringLiteral("internetYearRange"));
    m_range->setToolTip(QStringLiteral("Select the range of years for the search"));
    for (const char* item : kYearRangeItems) m_range->addItem(QString::fromLatin1(item));
    const int range = options.ReadInt(Opt::YearRange);
    m_range->setCurrentIndex(range >= 0 && range < m_range->count() ? range : 0);
    form->addRow(QStringLiteral("Year Range:"), m_range);
    m_matchAny = new QRadioButton(QStringLiteral("Match any name"), group);
    m_matchAny->setObjectName(QStringLiteral("internetMatchAny"));
    m_matchAny->setToolTip(QStringLiteral("Match any given name(s) and surname"));
    m_matchAll = new QRadioButton(QStringLiteral("Match all names"), group);
    m_matchAll->setObjectName(QStringLiteral("internetMatchAll"));
    m_matchAll->setToolTip(QStringLiteral("Try to match all the names of the individual"));
    (options.ReadBool(Opt::MatchAll) ? m_matchAll : m_matchAny)->setChecked(true);
    auto* matchRow = new QHBoxLayout;
    matchRow->addWidget(m_matchAny);
    matchRow->addWidget(m_matchAll);
    matchRow->addStretch();
    form->addRow(QString(), matchRow);

    m_siteBox = new QWidget(group);
    m_siteGrid = new QGridLayout(m_siteBox);
    m_siteGrid->setContentsMargins(0, 8, 0, 0);
    groupLayout->addWidget(m_siteBox);
    auto* bottom = new QHBoxLayout;
    auto* notice = new QLabel(QString::fromUtf8(kLeaveNotice), group);
    notice->setObjectName(QStringLiteral("internetNotice"));
    notice->setWordWrap(true);
    bottom->addWidget(notice, 1);
    m_editSites = new QPushButton(QStringLiteral("Search Sites..."), group);
    m_editSites->setObjectName(QStringLiteral("internetEditSites"));
    connect(m_editSites, &QPushButton::clicked, this, [this] { EditSites(); });
    bottom->addWidget(m_editSites);
    groupLayout->addLayout(bottom);
    layout->addStretch();

    connect(m_useYear, &QCheckBox::toggled, this, &TInternetPage::UseYearToggled);
    connect(m_useYear, &QCheckBox::toggled, this, &TInternetPage::StoreSettings);
    connect(m_range, &QComboBox::currentIndexChanged, this, &TInternetPage::StoreSettings);
    connect(m_matchAll, &QRadioButton::toggled, this, &TInternetPage::StoreSettings);

    m_sites = ReadSearchSites(options);
    RebuildButtons();
    UseYearToggled(m_useYear->isChecked());
}

void TInternetPage::StoreSettings() {
    WOptions& options = Options();
    if (options.ReadBool(Opt::UseYear) != m_useYear->isChecked())
        options.WriteBool(Opt::UseYear, m_useYear->isChecked());
    if (options.ReadInt(Opt::YearRange) != m_range->currentIndex() ||
        options.ReadText(Opt::YearRange) != std::to_string(m_range->currentIndex()))
        options.WriteInt(Opt::YearRange, m_range->currentIndex());
    if (options.ReadBool(Opt::MatchAll) != m_matchAll->isChecked())
        options.WriteBool(Opt::MatchAll, m_matchAll->isChecked());
}

void TInternetPage::RebuildButtons() {
    for (QPushButton* button : m_buttons) delete button;
    m_buttons.clear();
    for (size_t i = 0; i < m_sites.size(); ++i) {
        auto* button = new QPushButton(QString::fromStdString(m_sites[i].caption), m_siteBox);
        button->setObjectName(QStringLiteral("internetSite%1").arg(i));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        const int index = static_cast<int>(i);
        connect(button, &QPushButton::clicked, this, [this, index] { OpenSite(index); });
        connect(button, &QWidget::customContextMenuRequested, this,
                [this, index, button](const QPoint& at) {
                    ShowSiteMenu(index, button->mapToGlobal(at));
                });
        m_siteGrid->addWidget(button, index / kSiteColumns, index % kSiteColumns);
        m_buttons.push_back(button);
    }
    UpdateState();
}

void TInternetPage::RefreshPage() {
    WABSCollection* collection = m_context.Collection();
    const int32_t n = m_context.ActiveIndividual();
    // The fields follow a new active individual only, so that what was typed survives
    // a tab change or an option.
    if (collection != m_filledFrom || n != m_filledFor) Fill(n);
    UpdateState();
}

void TInternetPage::ForgetCollection() {
    m_filledFrom = nullptr;
    m_filledFor = 0;
    Fill(0);
}

void TInternetPage::Fill(int32_t n) {
    WABSCollection* collection = m_context.Collection();
    m_filledFrom = collection;
    m_filledFor = n;
    std::unique_ptr<WABSIndividual> person;
    if (collection && n > 0 && n <= collection->IndividualCount())
        person = collection->GetIndividual(n);
    m_deathYear = false;
    QString year;
    if (person) {
        // The names as written, without the display options' slashes or upper case.
        const std::unique_ptr<WABSName> name = person->Name();
        m_given->setText(name ? QString::fromStdString(name->GivenNames()) : QString());
        m_surname->setText(name ? QString::fromStdString(name->Surname()).remove(QLatin1Char('/'))
                                : QString());
        int value = EventYearOf(*person, kEventBirth);
        if (!IsSearchYear(value)) {
            value = EventYearOf(*person, kEventDeath);
            m_deathYear = IsSearchYear(value);
        }
        if (IsSearchYear(value)) year = QString::number(value);
    } else {
        m_given->clear();
        m_surname->clear();
    }
    m_filledYear = year;
    m_year->setText(m_useYear->isChecked() ? year : QString());
}

void TInternetPage::UseYearToggled(bool on) {
    m_year->setEnabled(on);
    m_range->setEnabled(on);
    m_year->setText(on ? m_filledYear : QString());
    UpdateState();
}

bool TInternetPage::YearAccepted() const {
    const QString text = m_year->text().trimmed();
    if (text.isEmpty()) return true;
    bool ok = false;
    const int year = text.toInt(&ok);
    return ok && IsSearchYear(year);
}

WSearchQuery TInternetPage::Query() const {
    WSearchQuery query;
    query.givenNames = SplitGivenNames(m_given->text().toStdString());
    query.surname = m_surname->text().trimmed().toStdString();
    query.matchAll = m_matchAll->isChecked();
    const QString yearText = m_year->text().trimmed();
    if (m_useYear->isChecked() && YearAccepted() && !yearText.isEmpty()) {
        query.year = yearText.toInt();
        // The year filled in keeps its event; a typed year is a birth year.
        query.deathYear = m_deathYear && yearText == m_filledYear;
        query.range = YearRangeOfIndex(m_range->currentIndex());
    }
    return query;
}

QString TInternetPage::SiteUrl(int i) const {
    if (i < 0 || i >= static_cast<int>(m_sites.size())) return {};
    return QString::fromStdString(BuildSearchUrl(m_sites[size_t(i)].urlTemplate, Query()));
}

void TInternetPage::UpdateState() {
    const bool open = m_context.Collection() && m_context.ActiveIndividual() > 0;
    const bool named =
        !m_given->text().trimmed().isEmpty() || !m_surname->text().trimmed().isEmpty();
    for (QPushButton* button : m_buttons) button->setEnabled(open && named);
    const bool yearOk = YearAccepted();
    m_year->setStyleSheet(yearOk ? QString()
                                 : QStringLiteral("QLineEdit { background: #FFD8D8; }"));
    m_yearNote->setText(yearOk ? QString()
                               : QStringLiteral("The year must be 1 to 9999; it is left out."));
    m_yearNote->setVisible(!yearOk);
}

bool TInternetPage::OpenSite(int i) {
    const QString url = SiteUrl(i);
    if (url.isEmpty()) return false;
    if (WUrlOpener::Open(QUrl(url, QUrl::StrictMode))) return true;
    WMessageBox::Show(this, QStringLiteral("The web browser could not be started for:\n") + url,
                      QString::fromUtf8(kProductName), MessageRecord::kWarning);
    return false;
}

bool TInternetPage::CopySiteLink(int i) {
    const QString url = SiteUrl(i);
    if (url.isEmpty()) return false;
    QApplication::clipboard()->setText(url);
    return true;
}

void TInternetPage::ShowSiteMenu(int i, const QPoint& where) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("internetSiteMenu"));
    QAction* open = menu.addAction(QStringLiteral("Search"));
    QAction* copy = menu.addAction(QStringLiteral("Copy Link"));
    const bool usable = !SiteUrl(i).isEmpty();
    open->setEnabled(usable);
    copy->setEnabled(usable);
    QAction* chosen = menu.exec(where);
    if (chosen == open) OpenSite(i);
    if (chosen == copy) CopySiteLink(i);
}

bool TInternetPage::EditSites() {
    TdlgSearchSites dialog(m_sites, this);
    if (WDialogRunner::Run(dialog) != QDialog::Accepted) return false;
    if (!dialog.Problem().isEmpty()) return false;
    std::vector<WSearchSite> sites = dialog.Sites();
    if (sites.empty()) sites = DefaultSearchSites();
    try {
        WriteSearchSites(Options(), sites);
    } catch (const std::exception& e) {
        WMessageBox::Show(this, e.what(), std::string(kProductName), MessageRecord::kError);
        return false;
    }
    m_sites = std::move(sites);
    RebuildButtons();
    return true;
}

}  // namespace kindrel
