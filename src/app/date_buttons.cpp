#include "app/date_buttons.h"

#include "app/pages/page_metrics.h"
#include "highlight/hl_editor.h"
#include "model/date.h"

#include <QDate>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace kindrel {

namespace {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

}  // namespace

QString MonthAbbreviation(int month) {
    if (month < 1 || month > 12) return {};
    WDate date;
    date.SetFromParts(1, month, 2000);
    return QString::fromLatin1(date.MonthName().data(), static_cast<qsizetype>(date.MonthName().size()))
        .toUpper();
}

WUpDownButton::WUpDownButton(int width, QWidget* parent) : QWidget(parent), m_width(width) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::SizeVerCursor);
    setToolTip(QStringLiteral("Upper half: up, lower half: down, right click: unknown"));
}

void WUpDownButton::SetCaption(const QString& caption) {
    m_caption = caption;
    update();
}

QSize WUpDownButton::sizeHint() const {
    return {std::max(Scaled(this, m_width), fontMetrics().horizontalAdvance(m_caption) + 4),
            Scaled(this, 22)};
}

void WUpDownButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, palette().button());
    p.setPen(hasFocus() ? palette().highlight().color() : palette().mid().color());
    p.drawRect(r);
    p.setPen(palette().buttonText().color());
    p.drawText(r, Qt::AlignCenter, m_caption);
}

void WUpDownButton::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::RightButton)
        Q_EMIT toggle();
    else if (event->button() == Qt::LeftButton)
        event->position().y() < height() / 2.0 ? Q_EMIT up() : Q_EMIT down();
    event->accept();
}

void WUpDownButton::wheelEvent(QWheelEvent* event) {
    const int dy = event->angleDelta().y();
    if (dy > 0) Q_EMIT up();
    if (dy < 0) Q_EMIT down();
    event->accept();
}

void WUpDownButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Plus:
            Q_EMIT up();
            break;
        case Qt::Key_Down:
        case Qt::Key_Minus:
            Q_EMIT down();
            break;
        case Qt::Key_Delete:
            Q_EMIT toggle();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

WDateButtons::WDateButtons(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const int widths[3] = {16, 24, 29};
    const char* names[3] = {"dayPart", "monthPart", "yearPart"};
    for (int k = 0; k < 3; ++k) {
        m_parts[k] = new WUpDownButton(widths[k], this);
        m_parts[k]->setObjectName(QString::fromLatin1(names[k]));
        layout->addWidget(m_parts[k]);
        connect(m_parts[k], &WUpDownButton::up, this, [this, k] { StepUp(k); });
        connect(m_parts[k], &WUpDownButton::down, this, [this, k] { StepDown(k); });
        connect(m_parts[k], &WUpDownButton::toggle, this, [this, k] { ToggleUnknown(k); });
    }
    const WCalendarDay today = WDate::Today();
    SetDate(today.day, today.month, today.year);
}

void WDateButtons::SetDate(int day, int month, int year) {
    m_year = std::clamp(year, kMinYear, kMaxYear);
    m_month = month >= 1 && month <= 12 ? month : 0;
    if (m_month == 0)
        m_day = 0;
    else
        m_day = std::clamp(day, 0, QDate(m_year, m_month, 1).daysInMonth());
    if (m_day > 0) m_rememberedDay = m_day;
    if (m_month > 0) m_rememberedMonth = m_month;
    Show();
}

bool WDateButtons::SetText(const QString& text) {
    const WDate date(text.trimmed().toUpper().toStdString());
    if (!date.IsSet() || date.Year() < 1) return false;
    SetDate(date.Day(), date.Month(), date.Year());
    return true;
}

QString WDateButtons::Text() const {
    return QString::fromStdString(HLDateText(m_day, m_month, m_year));
}

void WDateButtons::Step(int part, int n) {
    int day = m_day, month = m_month, year = m_year;
    if (part == 0 && day > 0) {
        const QDate d = QDate(year, month, day).addDays(n);
        if (d.year() < kMinYear || d.year() > kMaxYear) return;
        day = d.day();
        month = d.month();
        year = d.year();
    } else if (part == 1 && month > 0) {
        const int index = year * 12 + (month - 1) + n;
        if (index / 12 < kMinYear || index / 12 > kMaxYear) return;
        year = index / 12;
        month = index % 12 + 1;
    } else if (part == 2) {
        if (year + n < kMinYear || year + n > kMaxYear) return;
        year += n;
    } else {
        return;  // an unknown part does not step
    }
    SetDate(day, month, year);
    Q_EMIT changed();
}

void WDateButtons::StepUp(int part) {
    Step(part, 1);
}

void WDateButtons::StepDown(int part) {
    Step(part, -1);
}

void WDateButtons::ToggleUnknown(int part) {
    if (part == 0) {
        if (m_month == 0) return;  // a day needs a month
        SetDate(m_day > 0 ? 0 : m_rememberedDay, m_month, m_year);
    } else if (part == 1) {
        if (m_month > 0) {
            const int day = m_day;
            SetDate(0, 0, m_year);
            if (day > 0) m_rememberedDay = day;
        } else {
            SetDate(m_rememberedDay, m_rememberedMonth, m_year);
        }
    } else {
        return;
    }
    Q_EMIT changed();
}

void WDateButtons::Show() {
    m_parts[0]->SetCaption(m_day > 0 ? QString::number(m_day) : QStringLiteral("__"));
    m_parts[1]->SetCaption(m_month > 0 ? MonthAbbreviation(m_month)
                                       : QStringLiteral("___"));
    m_parts[2]->SetCaption(QString::number(m_year));
}

}  // namespace kindrel
