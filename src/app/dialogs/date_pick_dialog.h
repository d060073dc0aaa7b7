// "Date Dialog Box": picks a day, month and year with an edit box, month buttons, day, month,
// year and century steps, "Go to today", a month calendar and a year scale of +/- 100 years.
#pragma once

#include <QDialog>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace kindrel {

class TdlgDatePick : public QDialog {
    Q_OBJECT
  public:
    // The message shown by OK for a text that is no date.
    static constexpr const char* kInvalidText = "Invalid date format.  please try again";

    // Today's date.
    explicit TdlgDatePick(QWidget* parent = nullptr);

    // Sets the date; a day or month outside its range becomes 1, the year is held to 1..9999.
    void SetDate(int day, int month, int year);
    int Day() const { return m_day; }
    int Month() const { return m_month; }
    int Year() const { return m_year; }

    // Reads the edit box (as leaving it does): a valid date with a year is taken, with day 1
    // or month 1 where the text has none. False when the text is no such date.
    bool ParseEdit();
    // Steps the date; false (nothing changes) when the result would leave years 1..9999.
    bool StepDays(int n);
    bool StepMonths(int n);
    bool StepYears(int n);
    void GoToToday();
    // The year scale: moved to a position (0..200) while dragged, and its end.
    void ScaleMoved(int position);
    void ScaleEnded();

    QLineEdit* Edit() const { return m_edit; }
    QLabel* DateLabel() const { return m_label; }
    QCalendarWidget* Calendar() const { return m_calendar; }
    QScrollBar* Scale() const { return m_scale; }
    QLabel* ScaleLabel(int k) const { return m_scaleLabels[k]; }
    QLabel* Marker() const { return m_marker; }

    void accept() override;

  private:
    void Show();
    void MoveMarker(int position);

    int m_day = 1, m_month = 1, m_year = 2000;
    int m_scaleYear = 2000;  // the year at the scale's centre
    bool m_updating = false;
    QLineEdit* m_edit = nullptr;
    QLabel* m_label = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    QScrollBar* m_scale = nullptr;
    QWidget* m_scaleArea = nullptr;
    QLabel* m_scaleLabels[5] = {};
    QLabel* m_marker = nullptr;
    QLabel* m_movingYear = nullptr;
};

}  // namespace kindrel
