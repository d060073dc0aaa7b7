#include "app/dialogs/options_dialog.h"

#include "app/message_box.h"
#include "app/qt_colours.h"
#include "services/options.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kindrel {

namespace {

constexpr int kFontSizes[] = {8, 10, 12};
constexpr const char* kNoUpdateServiceHint =
    "This version has no update service; check the maker's web site for new versions";

// The stored colour (0x00BBGGRR); a text that is no number keeps the default.
QColor StoredColour(WOptions& options, Opt id, uint32_t fallback) {
    int value = 0;
    if (!ParseSettingInt(options.ReadText(id), value) || value < 0) value = int(fallback);
    return ToQColor(static_cast<uint32_t>(value) & 0xFFFFFF);
}

QVBoxLayout* PageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(4);
    return layout;
}

}  // namespace

int StoredFontSize(WOptions& options) {
    const int value = options.ReadInt(Opt::FontSize);
    for (const int size : kFontSizes)
        if (value == size) return size;
    return kFontSizes[0];
}

int GridHeightFor(int fontSize) {
    return fontSize + 6;
}

TOptionsDlg::TOptionsDlg(WOptions& options, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowTitle(QStringLiteral("Options"));
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("optionsPages"));
    layout->addWidget(m_pages);

    auto* general = new QWidget(m_pages);
    general->setObjectName(QStringLiteral("optionsGeneral"));
    PageLayout(general);
    const auto box = [&](QWidget* page, const char* name, const char* text, Opt id) {
        return AddBox(page, name, text, options.ReadBool(id));
    };
    m_openLastFile =
        box(general, "optOpenLastFile", "Restore settings at startup", Opt::OpenLastFile);
    m_openLastFile->setToolTip(
        QStringLiteral("Start on the tab, individual and side panel of the last session"));
    m_loadLastFile = box(general, "optLoadLastFile", "Reload last file viewed", Opt::LoadLastFile);
    m_loadLastFile->setToolTip(
        QStringLiteral("An installed viewer started without a file opens the file viewed last"));
    m_hlManual =
        box(general, "optHLManual", "Use \"Apply\" button for highlighting", Opt::HLManual);
    m_autoSearch =
        box(general, "optAutoSearch", "Automatic Search in Find Dialog Box", Opt::AutoSearch);
    m_checkUpdates =
        box(general, "optCheckUpdates", "Check for updates (every 30 days)", Opt::CheckUpdates);
    m_checkUpdates->setEnabled(false);
    m_checkUpdates->setToolTip(QString::fromUtf8(kNoUpdateServiceHint));
    m_sortFirstColumn =
        box(general, "optSortFirstColumn", "Automatically sort first column in the List Tab",
            Opt::SortFirstColumn);
    m_calcIslands =
        box(general, "optCalcIslands", "Automatically calculate Islands", Opt::CalcIslands);
    m_islandWit = box(general, "optIslandWit",
                      "When calculation islands, use witness events (re-load file when changed)",
                      Opt::IslandWit);
    static_cast<QVBoxLayout*>(general->layout())->addStretch();
    m_pages->addTab(general, QStringLiteral("General"));

    auto* display = new QWidget(m_pages);
    display->setObjectName(QStringLiteral("optionsDisplay"));
    QVBoxLayout* displayLayout = PageLayout(display);
    m_useLds = box(display, "optUseLDS", "Use LDS information", Opt::UseLDS);
    m_hlText = box(display, "optHLText", "Show highlighting description", Opt::HLText);
    m_showHlPanel = box(display, "optShowHlPanel",
                        "Display Highlighting Panel when in Highlighted Tab", Opt::ShowHlPanel);
    m_showIndHint =
        box(display, "optShowIndHint", "Display Individual Popups in the Family and Pedigree Tabs",
            Opt::ShowIndHint);
    auto* fnRow = new QHBoxLayout;
    m_fnValueFlag = new QCheckBox(
        QStringLiteral("After an Individual's name, display to following value:"), display);
    m_fnValueFlag->setObjectName(QStringLiteral("optFNValueFlag"));
    m_fnValueFlag->setChecked(options.ReadBool(Opt::FNValueFlag));
    m_fnValue = new QComboBox(display);
    m_fnValue->setObjectName(QStringLiteral("optFNValue"));
    m_fnValue->addItems(
        {QStringLiteral("[RIN]"), QStringLiteral("(ID)"), QStringLiteral("{Custom ID}")});
    const int fnValue = options.ReadInt(Opt::FNValue);
    m_fnValue->setCurrentIndex(fnValue >= 1 && fnValue <= 3 ? fnValue - 1 : 0);
    m_fnValue->setEnabled(m_fnValueFlag->isChecked());
    connect(m_fnValueFlag, &QCheckBox::toggled, m_fnValue, &QWidget::setEnabled);
    fnRow->addWidget(m_fnValueFlag);
    fnRow->addWidget(m_fnValue);
    fnRow->addStretch();
    displayLayout->addLayout(fnRow);
    m_ageCalcCb = box(display, "optAgeCalcCB", "Use Christening/Burial dates for age calculations",
                      Opt::AgeCalcCB);
    auto* fontRow = new QHBoxLayout;
    auto* fontLabel = new QLabel(QStringLiteral("Font Size"), display);
    m_fontSize = new QComboBox(display);
    m_fontSize->setObjectName(QStringLiteral("optFontSize"));
    for (const int size : kFontSizes) m_fontSize->addItem(QString::number(size), size);
    m_fontSize->setCurrentIndex(m_fontSize->findData(StoredFontSize(options)));
    fontLabel->setBuddy(m_fontSize);
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(m_fontSize);
    fontRow->addStretch();
    displayLayout->addLayout(fontRow);
    m_nameSlash = box(display, "optNameSlash", "Display \"/\" around Surnames", Opt::NameSlash);
    m_nameUpper = box(display, "optNameUpper", "Display Surnames in UPPERCASE", Opt::NameUpper);
    m_preSuf = box(display, "optPreSuf", "Display Prefix and Suffix", Opt::PreSuf);
    m_chrono = box(display, "optChrono", "Display events in chronological order in Individual Tab",
                   Opt::Chrono);
    m_tmgTagSent =
        box(display, "optTMGTagSent", "Display Tag Sentence Construction Rules in Individual Tab",
            Opt::TMGTagSent);
    m_tmgEngage = box(display, "optTMGEngage",
                      "When contructing marriages, include the Engagement Tag", Opt::TMGEngage);
    displayLayout->addStretch();
    m_pages->addTab(display, QStringLiteral("Display"));

    auto* colours = new QWidget(m_pages);
    colours->setObjectName(QStringLiteral("optionsColors"));
    QVBoxLayout* colourLayout = PageLayout(colours);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(QStringLiteral("Highlighting:"), colours));
    m_sample = new QLabel(QStringLiteral("Sample"), colours);
    m_sample->setObjectName(QStringLiteral("optSample"));
    m_sample->setTextFormat(Qt::PlainText);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumSize(90, 26);
    m_sample->setAutoFillBackground(true);
    colourRow->addWidget(m_sample);
    auto* background = new QPushButton(QStringLiteral("Background"), colours);
    background->setObjectName(QStringLiteral("optBackground"));
    auto* text = new QPushButton(QStringLiteral("Text"), colours);
    text->setObjectName(QStringLiteral("optText"));
    connect(background, &QPushButton::clicked, this, &TOptionsDlg::ChooseBackground);
    connect(text, &QPushButton::clicked, this, &TOptionsDlg::ChooseText);
    colourRow->addWidget(background);
    colourRow->addWidget(text);
    colourRow->addStretch();
    colourLayout->addLayout(colourRow);
    colourLayout->addStretch();
    m_pages->addTab(colours, QStringLiteral("Colors"));
    m_background = StoredColour(options, Opt::HLCol, 65535);
    m_text = StoredColour(options, Opt::HLTCol, 0);
    UpdateSample();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("optionsButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QCheckBox* TOptionsDlg::AddBox(QWidget* page, const char* name, const char* text, bool checked) {
    auto* box = new QCheckBox(QString::fromUtf8(text), page);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    static_cast<QVBoxLayout*>(page->layout())->addWidget(box);
    return box;
}

int TOptionsDlg::FontSize() const {
    return m_fontSize->currentData().toInt();
}

void TOptionsDlg::Store(WOptions& options) const {
    const std::pair<Opt, const QCheckBox*> boxes[] = {
        {Opt::OpenLastFile, m_openLastFile},
        {Opt::LoadLastFile, m_loadLastFile},
        {Opt::HLManual, m_hlManual},
        {Opt::AutoSearch, m_autoSearch},
        {Opt::CheckUpdates, m_checkUpdates},
        {Opt::SortFirstColumn, m_sortFirstColumn},
        {Opt::CalcIslands, m_calcIslands},
        {Opt::IslandWit, m_islandWit},
        {Opt::UseLDS, m_useLds},
        {Opt::HLText, m_hlText},
        {Opt::ShowHlPanel, m_showHlPanel},
        {Opt::ShowIndHint, m_showIndHint},
        {Opt::FNValueFlag, m_fnValueFlag},
        {Opt::AgeCalcCB, m_ageCalcCb},
        {Opt::NameSlash, m_nameSlash},
        {Opt::NameUpper, m_nameUpper},
        {Opt::PreSuf, m_preSuf},
        {Opt::Chrono, m_chrono},
        {Opt::TMGTagSent, m_tmgTagSent},
        {Opt::TMGEngage, m_tmgEngage},
    };
    for (const auto& [id, box] : boxes)
        if (options.ReadBool(id) != box->isChecked()) options.WriteBool(id, box->isChecked());
    const auto writeInt = [&options](Opt id, int value) {
        if (options.ReadInt(id) != value || options.ReadText(id) != std::to_string(value))
            options.WriteInt(id, value);
    };
    writeInt(Opt::FNValue, m_fnValue->currentIndex() + 1);
    writeInt(Opt::FontSize, FontSize());
    writeInt(Opt::GridHeight, GridHeightFor(FontSize()));
    writeInt(Opt::HLCol, static_cast<int>(FromQColor(m_background)));
    writeInt(Opt::HLTCol, static_cast<int>(FromQColor(m_text)));
}

bool TOptionsDlg::PickColour(QColor& colour, const QString& title) {
    QColorDialog dialog(colour, this);
    dialog.setObjectName(QStringLiteral("optionsColourDialog"));
    dialog.setWindowTitle(title);
    if (WDialogRunner::Run(dialog) != QDialog::Accepted) return false;
    const QColor chosen =
        dialog.selectedColor().isValid() ? dialog.selectedColor() : dialog.currentColor();
    if (!chosen.isValid()) return false;
    colour = chosen;
    UpdateSample();
    return true;
}

void TOptionsDlg::ChooseBackground() {
    PickColour(m_background, QStringLiteral("Highlighting background"));
}

void TOptionsDlg::ChooseText() {
    PickColour(m_text, QStringLiteral("Highlighting text"));
}

void TOptionsDlg::UpdateSample() {
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::Window, m_background);
    palette.setColor(QPalette::WindowText, m_text);
    m_sample->setPalette(palette);
}

}  // namespace kindrel
