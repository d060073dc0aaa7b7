// The report preview: one page at a time drawn from the prepared form (only the page shown is
// laid out and painted), "n of N", first / previous / next / last, zoom (fit, 25 to 400 %,
// Ctrl+wheel), PageUp / PageDown / Home / End, Ctrl+P to print, Ctrl+S to save, Esc to close.
#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;

namespace kindrel {

class TABSReportForm;
class TReportPageView;

class TReportPreview : public QDialog {
    Q_OBJECT
  public:
    // Shows the pages of a prepared form (not owned; outlives the dialog). print and save run
    // the dialog's own commands (either may be empty: its button is off).
    TReportPreview(TABSReportForm& form, std::function<void()> print, std::function<void()> save,
                   QWidget* parent = nullptr);

    // Page shown (1-based) and the page count.
    int CurrentPage() const { return m_page; }
    int PageCount() const { return m_count; }
    // Shows page k (clamped).
    void ShowPage(int k);
    // Zoom in percent; 0 = fit the page to the window.
    void SetZoom(int percent);
    int Zoom() const { return m_zoom; }
    // "n of N" as shown.
    QString PageText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UpdateView();

    TABSReportForm& m_form;
    int m_page = 1;
    int m_count = 1;
    int m_zoom = 0;
    TReportPageView* m_view = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_pageLabel = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QToolButton* m_first = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_last = nullptr;
};

}  // namespace kindrel
