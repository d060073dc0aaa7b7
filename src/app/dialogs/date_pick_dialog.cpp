#include "app/dialogs/date_pick_dialog.h"

#include "app/date_buttons.h"
#include "app/message_box.h"
#include "app/pages/page_metrics.h"
#include "model/date.h"

#include <QCalendarWidget>
#include <QDate>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kindrel {

namespace {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;
constexpr int kScaleRange = 200;
constexpr const char* kMonthButtons[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

TdlgDatePick::TdlgDatePick(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("datePickDialog"));
    setWindowTitle(QStringLiteral("Date Dialog Box"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Date (DD MMM YYYY)"), this));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("dateEdit"));
    m_edit->setToolTip(QStringLiteral("Enter the date here"));
    top->addWidget(m_edit);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("dateLabel"));
    QFont bold = m_label->font();
    bold.setBold(true);
    m_label->setFont(bold);
    top->addWidget(m_label, 1);
    layout->addLayout(top);

    auto* months = new QGridLayout;
    for (int m = 0; m < 12; ++m) {
        auto* button = new QPushButton(QString::fromLatin1(kMonthButtons[m]), this);
        button->setObjectName(QStringLiteral("month%1").arg(m + 1));
        button->setToolTip(QStringLiteral("Select this month for the date"));
        button->setAutoDefault(false);
        months->addWidget(button, m / 6, m % 6);
        connect(button, &QPushButton::clicked, this, [this, m] { SetDate(m_day, m + 1, m_year); });
    }
    layout->addLayout(months);

    auto* steps = new QGridLayout;
    struct Step {
        const char* text;
        const char* name;
        int kind;  // 0 days, 1 months, 2 years
        int n;
    };
    const Step stepButtons[] = {
        {"Previous Day", "previousDay", 0, -1},          {"Next Day", "nextDay", 0, 1},
        {"Previous Month", "previousMonth", 1, -1},      {"Next Month", "nextMonth", 1, 1},
        {"Previous Year", "previousYear", 2, -1},        {"Next Year", "nextYear", 2, 1},
        {"Previous Century", "previousCentury", 2, -100}, {"Next Century", "nextCentury", 2, 100}};
    int k = 0;
    for (const Step& step : stepButtons) {
        auto* button = new QPushButton(QString::fromLatin1(step.text), this);
        button->setObjectName(QString::fromLatin1(step.name));
        button->setAutoDefault(false);
        steps->addWidget(button, k % 2, k / 2);
        ++k;
        const int kind = step.kind, n = step.n;
        connect(button, &QPushButton::clicked, this, [this, kind, n] {
            if (kind == 0) StepDays(n);
            else if (kind == 1) StepMonths(n);
            else StepYears(n);
        });
    }
    auto* today = new QPushButton(QStringLiteral("Go to today"), this);
    today->setObjectName(QStringLiteral("goToToday"));
    today->setAutoDefault(false);
    steps->addWidget(today, 0, 4, 2, 1);
    connect(today, &QPushButton::clicked, this, &TdlgDatePick::GoToToday);
    layout->addLayout(steps);

    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("calendar"));
    m_calendar->setMinimumDate(QDate(kMinYear, 1, 1));
    m_calendar->setMaximumDate(QDate(kMaxYear, 12, 31));
    m_calendar->setGridVisible(true);
    layout->addWidget(m_calendar);

    // The year scale: five labels over a scroll bar, with a marker and the year it points at.
    m_scaleArea = new QWidget(this);
    m_scaleArea->setObjectName(QStringLiteral("yearScale"));
    m_scaleArea->setMinimumSize(Scaled(this, 416), Scaled(this, 40));
    for (int i = 0; i < 5; ++i) {
        m_scaleLabels[i] = new QLabel(m_scaleArea);
        m_scaleLabels[i]->setObjectName(QStringLiteral("scaleLabel%1").arg(i));
    }
    m_marker = new QLabel(QStringLiteral("|"), m_scaleArea);
    m_marker->setObjectName(QStringLiteral("scaleMarker"));
    m_movingYear = new QLabel(m_scaleArea);
    m_movingYear->setObjectName(QStringLiteral("scaleYear"));
    layout->addWidget(m_scaleArea);
    m_scale = new QScrollBar(Qt::Horizontal, this);
    m_scale->setObjectName(QStringLiteral("scaleBar"));
    m_scale->setRange(0, kScaleRange);
    m_scale->setPageStep(10);
    m_scale->setValue(kScaleRange / 2);
    layout->addWidget(m_scale);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &TdlgDatePick::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_edit, &QLineEdit::editingFinished, this, [this] {
        if (!m_updating) ParseEdit();
    });
    connect(m_calendar, &QCalendarWidget::clicked, this, [this](QDate date) {
        if (!m_updating) SetDate(date.day(), m_month, m_year);
    });
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, [this] {
        if (m_updating) return;
        const QDate date = m_calendar->selectedDate();
        SetDate(date.day(), date.month(), date.year());
    });
    connect(m_scale, &QScrollBar::valueChanged, this, [this](int value) {
        if (!m_updating) ScaleMoved(value);
    });
    connect(m_scale, &QScrollBar::sliderReleased, this, &TdlgDatePick::ScaleEnded);
    connect(m_scale, &QScrollBar::actionTriggered, this, [this](int action) {
        // A step or page click ends at once; dragging ends when the thumb is released.
        if (action != QAbstractSlider::SliderMove)
            QMetaObject::invokeMethod(this, &TdlgDatePick::ScaleEnded, Qt::QueuedConnection);
    });
    GoToToday();
}

void TdlgDatePick::SetDate(int day, int month, int year) {
    m_year = std::clamp(year, kMinYear, kMaxYear);
    m_month = month >= 1 && month <= 12 ? month : 1;
    const int length = QDate(m_year, m_month, 1).daysInMonth();
    m_day = day >= 1 && day <= length ? day : std::clamp(day, 1, length);
    m_scaleYear = m_year;
    Show();
}

bool TdlgDatePick::StepDays(int n) {
    const QDate date = QDate(m_year, m_month, m_day).addDays(n);
    if (!date.isValid() || date.year() < kMinYear || date.year() > kMaxYear) return false;
    SetDate(date.day(), date.month(), date.year());
    return true;
}

bool TdlgDatePick::StepMonths(int n) {
    const QDate date = QDate(m_year, m_month, m_day).addMonths(n);
    if (!date.isValid() || date.year() < kMinYear || date.year() > kMaxYear) return false;
    SetDate(date.day(), date.month(), date.year());
    return true;
}

bool TdlgDatePick::StepYears(int n) {
    if (m_year + n < kMinYear || m_year + n > kMaxYear) return false;
    SetDate(m_day, m_month, m_year + n);
    return true;
}

void TdlgDatePick::GoToToday() {
    const WCalendarDay today = WDate::Today();
    SetDate(today.day, today.month, today.year);
}

bool TdlgDatePick::ParseEdit() {
    const WDate date(m_edit->text().trimmed().toUpper().toStdString());
    if (!date.IsSet() || !date.IsClean() || date.Year() < kMinYear || date.Year() > kMaxYear ||
        date.Qualifier() != WDate::kQualNone || date.HasSecondYear())
        return false;
    const int month = date.Month() >= 1 && date.Month() <= 12 ? date.Month() : 0;
    if (date.Month() > 12) return false;
    // A day needs a month; a day past the month's end is no date.
    if (month == 0 && date.Day() > 0) return false;
    const int day = date.Day() > 0 ? date.Day() : 1;
    if (!QDate(date.Year(), month > 0 ? month : 1, day).isValid()) return false;
    SetDate(day, month > 0 ? month : 1, date.Year());
    return true;
}

void TdlgDatePick::accept() {
    if (!ParseEdit()) {
        WMessageBox::Show(this, QString::fromUtf8(kInvalidText), windowTitle(),
                          MessageRecord::kWarning);
        return;
    }
    QDialog::accept();
}

void TdlgDatePick::ScaleMoved(int position) {
    // The scale is re-centred only when the move ends.
    m_year = std::clamp(m_scaleYear + position - kScaleRange / 2, kMinYear, kMaxYear);
    m_day = std::min(m_day, QDate(m_year, m_month, 1).daysInMonth());
    Show();
}

void TdlgDatePick::ScaleEnded() {
    m_scaleYear = m_year;
    Show();
}

void TdlgDatePick::MoveMarker(int position) {
    const int x = Scaled(this, position / double(kScaleRange) * 322 + 47);
    m_marker->move(x, Scaled(this, 18));
    m_movingYear->setText(QString::number(m_year));
    m_movingYear->adjustSize();
    m_movingYear->move(std::max(0, x - m_movingYear->width() / 2), Scaled(this, 26));
}

void TdlgDatePick::Show() {
    m_updating = true;
    const QString text = QString::number(m_day) + QLatin1Char(' ') +
                         MonthAbbreviation(m_month) + QLatin1Char(' ') +
                         QString::number(m_year);
    m_edit->setText(text);
    m_label->setText(text);
    m_calendar->setSelectedDate(QDate(m_year, m_month, m_day));
    if (m_scale->value() != kScaleRange / 2 && m_scaleYear == m_year) m_scale->setValue(kScaleRange / 2);
    const int offsets[5] = {-100, -50, 0, 50, 100};
    for (int i = 0; i < 5; ++i) {
        m_scaleLabels[i]->setText(QString::number(m_scaleYear + offsets[i]));
        m_scaleLabels[i]->adjustSize();
        const int x = Scaled(this, (offsets[i] + 100) / double(kScaleRange) * 322 + 47);
        m_scaleLabels[i]->move(std::max(0, x - m_scaleLabels[i]->width() / 2), 0);
    }
    m_updating = false;
    MoveMarker(m_scale->value());
}

}  // namespace kindrel
