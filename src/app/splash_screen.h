// The splash window shown while the embedded GEDCOM is copied out and expanded.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QTimer;

namespace kindrel {

struct SelfViewTrailer;

class TSE_SplashScreen : public QWidget {
    Q_OBJECT
  public:
    // A frameless splash: the title "Kindrel Self-Viewing GEDCOM V1.07", the loading text and
    // a progress bar that a 100 ms timer advances by 5, wrapping to 0 past 100.
    explicit TSE_SplashScreen(QWidget* parent = nullptr);

    // Fills title, "From" and "Created" from the trailer.
    void Fill(const SelfViewTrailer& trailer);
    // The progress bar's value.
    int Progress() const;

  private:
    void Tick();

    QLabel* m_fileTitle = nullptr;
    QLabel* m_from = nullptr;
    QLabel* m_created = nullptr;
    QProgressBar* m_progress = nullptr;
    QTimer* m_timer = nullptr;
};

}  // namespace kindrel
