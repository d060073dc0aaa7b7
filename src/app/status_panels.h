// The main window's status bar: five text panels (0 busy text, 1 "I: ", 2 "F: ", 3 "N: ",
// 4 "S: ") and a progress bar shown while long work reports progress.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace kindrel {

class TStatusPanels : public QObject {
    Q_OBJECT
  public:
    // Number of text panels.
    static constexpr int kPanelCount = 5;

    // Adds the panels and the (hidden) progress bar to bar.
    explicit TStatusPanels(QStatusBar* bar);

    // Sets / reads panel i (0..4); other numbers are ignored / read as empty.
    void SetText(int panel, const QString& text);
    QString Text(int panel) const;
    // Empties panels 1 to 4.
    void ClearCounts();
    // Shows the progress bar with label and done of total (total 0: busy indicator).
    void SetProgress(const QString& label, long long done, long long total);
    // Hides the progress bar.
    void HideProgress();
    // True while the progress bar is shown.
    bool ProgressShown() const;
    // The progress bar's label and value in per mille (tests).
    QString ProgressLabel() const;

  private:
    QLabel* m_panels[kPanelCount] = {};
    QProgressBar* m_progress = nullptr;
    QString m_progressLabel;
};

}  // namespace kindrel
