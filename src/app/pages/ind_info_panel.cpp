#include "app/pages/ind_info_panel.h"

#include "app/pages/person_table.h"
#include "app/pedigree_tree.h"
#include "app/person_colours.h"
#include "app/plain_text.h"
#include "app/qt_colours.h"
#include "model/collection.h"
#include "services/options.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace kindrel {

namespace {

constexpr int kTextLeft = 4;
constexpr int kLdsCellAt96Dpi = 7;
constexpr int kLdsFontPoints = 8;
constexpr const char* kLdsLetters = "BEPS";

// Date and place joined by ", ", or whichever of the two is there.
QString DatePlace(const std::string& date, const std::string& place) {
    if (!date.empty() && !place.empty()) return QString::fromStdString(date + ", " + place);
    return QString::fromStdString(date.empty() ? place : date);
}

}  // namespace

TIndInfoPanel::TIndInfoPanel(TViewContext* context, QWidget* parent)
    : QWidget(parent), m_context(context), m_colour(kSilverColour) {
    setObjectName(QStringLiteral("indInfoPanel"));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(PanelHeight());
}

void TIndInfoPanel::Fill(WABSCollection* collection, WHLGroup* group, int32_t n) {
    if (!collection || n <= 0 || n > collection->IndividualCount()) {
        Clear();
        return;
    }
    const std::unique_ptr<WABSIndividual> person = collection->GetIndividual(n);
    if (!person) {
        Clear();
        return;
    }
    const WColourPair colours = PersonColours(group, n);
    m_colour = colours.background;
    m_fontColour = colours.text;
    m_useLds = Options().ReadBool(Opt::UseLDS);
    const std::string marks = m_useLds ? LdsMarks(*collection, n) : std::string("----");
    for (int i = 0; i < 4; ++i) m_marks[i] = marks[static_cast<size_t>(i)] != '-';
    m_name = QString::fromStdString(person->DisplayName());
    m_birth = m_lines >= 2
                  ? DatePlace(person->DateText(kEventBirth), person->PlaceText(kEventBirth))
                  : QString();
    m_death = m_lines >= 3
                  ? DatePlace(person->DateText(kEventDeath), person->PlaceText(kEventDeath))
                  : QString();
    setToolTip(Options().ReadBool(Opt::ShowIndHint)
                   ? PlainToolTip(QString::fromStdString(collection->SummaryBlock(n)))
                   : QString());
    m_tag = n;
    update();
}

void TIndInfoPanel::Clear() {
    m_name.clear();
    m_birth.clear();
    m_death.clear();
    std::fill(std::begin(m_marks), std::end(m_marks), false);
    m_colour = kSilverColour;
    m_fontColour = 0;
    m_tag = 0;
    setToolTip(QString());
    update();
}

void TIndInfoPanel::SetNameText(const QString& text) {
    m_name = text;
    update();
}

void TIndInfoPanel::SetBirthText(const QString& text) {
    m_birth = text;
    update();
}

void TIndInfoPanel::SetDeathText(const QString& text) {
    m_death = text;
    update();
}

void TIndInfoPanel::SetLinesToShow(int lines) {
    m_lines = std::clamp(lines, 1, 3);
    setFixedHeight(PanelHeight());
    update();
}

void TIndInfoPanel::SetFontSize(int points) {
    m_fontSize = std::clamp(points, 6, 24);
    setFixedHeight(PanelHeight());
    update();
}

void TIndInfoPanel::SetColour(uint32_t colour) {
    m_colour = colour;
    update();
}

void TIndInfoPanel::SetFontColour(uint32_t colour) {
    m_fontColour = colour;
    update();
}

void TIndInfoPanel::SetUseLds(bool on) {
    m_useLds = on;
    update();
}

void TIndInfoPanel::SetLdsMarks(bool baptism, bool endowment, bool parents, bool spouse) {
    m_marks[0] = baptism;
    m_marks[1] = endowment;
    m_marks[2] = parents;
    m_marks[3] = spouse;
    update();
}

QString TIndInfoPanel::LdsMarksText() const {
    QString text;
    for (int i = 0; i < 4; ++i) text += m_marks[i] ? QLatin1Char(kLdsLetters[i]) : QLatin1Char('-');
    return text;
}

QString TIndInfoPanel::PanelText() const {
    QStringList lines;
    for (const QString& line : {m_name, m_birth, m_death})
        if (!line.isEmpty()) lines << line;
    return lines.join(QLatin1Char('\n'));
}

int TIndInfoPanel::LineHeight() const {
    // The font size in pixels at 96 dpi plus 5, scaled to the screen's logical dpi.
    const double scale = logicalDpiY() / 96.0;
    return static_cast<int>((m_fontSize * 96.0 / 72.0 + 5) * scale + 0.5);
}

int TIndInfoPanel::PanelHeight() const {
    return m_lines * LineHeight() + m_lines + 1;
}

int TIndInfoPanel::LdsCell() const {
    return static_cast<int>(kLdsCellAt96Dpi * logicalDpiX() / 96.0 + 0.5);
}

QSize TIndInfoPanel::sizeHint() const {
    return {200, PanelHeight()};
}

QSize TIndInfoPanel::minimumSizeHint() const {
    return {60, PanelHeight()};
}

void TIndInfoPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), ToQColor(m_colour));
    const int line = LineHeight();
    const int ldsWidth = m_useLds ? 4 * LdsCell() + 5 : 0;
    QFont font = this->font();
    font.setPointSize(m_fontSize);
    painter.setPen(ToQColor(m_fontColour));
    const QString texts[3] = {m_name, m_birth, m_death};
    for (int i = 0; i < m_lines; ++i) {
        QFont lineFont = font;
        lineFont.setBold(i == 0);
        painter.setFont(lineFont);
        const int right = i == 0 ? width() - ldsWidth - 2 : width() - 2;
        const QRect area(kTextLeft, 1 + i * (line + 1), std::max(0, right - kTextLeft), line);
        const QString shown =
            painter.fontMetrics().elidedText(texts[i], Qt::ElideRight, area.width());
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }
    if (m_useLds) {
        // The LDS box at the right of line 1: a black left edge, and a bottom edge under it
        // when more lines follow.
        const int left = width() - ldsWidth;
        painter.setPen(Qt::black);
        painter.drawLine(left, 0, left, line + 1);
        if (m_lines > 1) painter.drawLine(left, line + 1, width() - 1, line + 1);
        QFont small = font;
        small.setPointSize(kLdsFontPoints);
        painter.setFont(small);
        painter.setPen(ToQColor(m_fontColour));
        for (int i = 0; i < 4; ++i) {
            if (!m_marks[i]) continue;
            const QRect cell(left + 3 + i * LdsCell(), 1, LdsCell(), line);
            painter.drawText(cell, Qt::AlignCenter, QString(QLatin1Char(kLdsLetters[i])));
        }
    }
    painter.setPen(Qt::black);
    painter.drawRect(frame);
    if (hasFocus()) {
        QPen dotted(Qt::black, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(frame.adjusted(2, 2, -2, -2));
    }
}

void TIndInfoPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_tag > 0) Q_EMIT activated(m_tag);
    event->accept();
}

void TIndInfoPanel::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_tag > 0) {
        Q_EMIT activated(m_tag);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TIndInfoPanel::contextMenuEvent(QContextMenuEvent* event) {
    if (m_tag <= 0) return;
    if (m_context) ShowPersonMenu(this, event->globalPos(), *m_context, m_tag, PanelText());
    event->accept();
}

}  // namespace kindrel
