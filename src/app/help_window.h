// The help window: the viewer's own help pages (HTML in the program's resources), reached by
// quick-help topic or by help context number.
#pragma once

#include <QWidget>

class QListWidget;
class QTextBrowser;

namespace kindrel {

class THelpWindow : public QWidget {
    Q_OBJECT
  public:
    // A window with the list of pages on the left and the page on the right.
    explicit THelpWindow(QWidget* parent = nullptr);

    // Shows the page of a context number (the contents page for an unknown number).
    void ShowContext(int context);
    // Shows the main page of quick-help topic n.
    void ShowTopic(int topic);
    // The context number of the page shown.
    int CurrentContext() const { return m_context; }
    // The page's text as plain text (tests).
    QString PageText() const;

  private:
    QListWidget* m_list = nullptr;
    QTextBrowser* m_browser = nullptr;
    int m_context = 0;
};

// The resource path of a help page file (":/help/<file>").
QString HelpResourcePath(const QString& file);

}  // namespace kindrel
