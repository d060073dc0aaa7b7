// The quick-help dialog shown once per topic, and the function that decides whether to show it.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;

namespace kindrel {

class WOptions;

class TInitHelpDialog : public QDialog {
    Q_OBJECT
  public:
    // The dialog of topic number (1 to 16): title, description, the once-only notice, the
    // topic's help links and "Stop displaying these help dialog boxes".
    TInitHelpDialog(int topic, QWidget* parent = nullptr);

    // The check box's state.
    bool StopDisplaying() const;
    // Ticks or clears the check box.
    void SetStopDisplaying(bool on);
    // The help context of the link the user chose (the dialog then closes), 0 for none.
    int ChosenContext() const { return m_chosenContext; }

  private:
    QCheckBox* m_stop = nullptr;
    int m_chosenContext = 0;
};

// Shows topic n when it is still due (DispInitHelp and IH<n> set), then records it as shown
// and DispInitHelp as the negation of the check box. openHelp gets the context of a link the
// user chose. Returns true when the dialog was shown.
bool ShowQuickHelp(QWidget* parent, WOptions& options, int topic,
                   const std::function<void(int context)>& openHelp);

}  // namespace kindrel
