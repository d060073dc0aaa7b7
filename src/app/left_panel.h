// The left side panel: a notebook of four pages chosen by tag (0 Directory, 1 File Search,
// 2 Islands, 3 Highlighting) under a title bar with a close button.
#pragma once

#include <QWidget>

class QLabel;
class QStackedWidget;

namespace kindrel {

class TDirectoryPanel;
class TFileSearchPanel;

class TLeftPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TLeftPanel(QWidget* parent = nullptr);

    // Shows page tag (0..3); out-of-range tags are ignored.
    void SetPage(int tag);
    // The page shown.
    int Page() const;
    // The pages.
    TDirectoryPanel* Directory() const { return m_directory; }
    TFileSearchPanel* FileSearch() const { return m_fileSearch; }
    QWidget* IslandsPage() const { return m_islands; }
    QWidget* HighlightingPage() const { return m_highlighting; }

  Q_SIGNALS:
    // The close button was pressed (the window hides the panel).
    void closeRequested();

  private:
    QLabel* m_title = nullptr;
    QStackedWidget* m_pages = nullptr;
    TDirectoryPanel* m_directory = nullptr;
    TFileSearchPanel* m_fileSearch = nullptr;
    QWidget* m_islands = nullptr;
    QWidget* m_highlighting = nullptr;
};

// The panel pages' titles by tag.
QString PanelPageTitle(int tag);

}  // namespace kindrel
