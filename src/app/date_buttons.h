// The compact date entry of the condition editor (WDateButtons): day, month and year parts
// side by side, each a WUpDownButton. A click on a part's upper half steps it up, on its lower
// half down; a right click or Delete switches the day or month between unknown and its
// remembered value; the wheel and the arrow keys step too. Years stay within 1 to 9999.
#pragma once

#include <QWidget>

namespace kindrel {

// The three-letter month name of a GEDCOM date ("JAN" .. "DEC"); empty outside 1..12.
QString MonthAbbreviation(int month);

class WUpDownButton : public QWidget {
    Q_OBJECT
  public:
    explicit WUpDownButton(int width, QWidget* parent = nullptr);
    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    QSize sizeHint() const override;

  Q_SIGNALS:
    void up();
    void down();
    // Right click or Delete.
    void toggle();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QString m_caption;
    int m_width;
};

class WDateButtons : public QWidget {
    Q_OBJECT
  public:
    // Today's date.
    explicit WDateButtons(QWidget* parent = nullptr);

    // Sets the parts; day or month 0 is unknown (a day needs a month); the year is clamped to
    // 1..9999 and the day to the month's length.
    void SetDate(int day, int month, int year);
    void SetDay(int day) { SetDate(day, m_month, m_year); }
    void SetMonth(int month) { SetDate(m_day, month, m_year); }
    void SetYear(int year) { SetDate(m_day, m_month, year); }
    // Reads a date text ("12 JAN 1900", "JAN 1900", "1900"); false (nothing changes) when it
    // has no year.
    bool SetText(const QString& text);
    int Day() const { return m_day; }
    int Month() const { return m_month; }
    int Year() const { return m_year; }
    // "12 JAN 1900", "JAN 1900" or "1900".
    QString Text() const;

    // The steps the parts make (also for tests): kind 0 day, 1 month, 2 year.
    void StepUp(int part);
    void StepDown(int part);
    void ToggleUnknown(int part);
    WUpDownButton* Part(int part) const { return m_parts[part]; }

  Q_SIGNALS:
    void changed();

  private:
    void Step(int part, int n);
    void Show();

    WUpDownButton* m_parts[3] = {};
    int m_day = 1, m_month = 1, m_year = 2000;
    int m_rememberedDay = 1, m_rememberedMonth = 1;
};

}  // namespace kindrel
