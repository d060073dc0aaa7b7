// The Directory page of the left panel: a folder tree showing genealogy files; a double-click
// on a GEDCOM file asks the window to open it.
#pragma once

#include <QWidget>

class QFileSystemModel;
class QTreeView;

namespace kindrel {

class TDirectoryPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TDirectoryPanel(QWidget* parent = nullptr);

    // The folder shown as current (the one last selected or opened), absolute.
    QString CurrentDirectory() const;
    // Makes folder current (expands the tree to it); the model is created on first use.
    void SetCurrentDirectory(const QString& folder);
    // The tree (tests).
    QTreeView* Tree() const { return m_tree; }
    // Asks to open path when it names a genealogy file (as a double-click does); false otherwise.
    bool Activate(const QString& path);

  Q_SIGNALS:
    // The user double-clicked a genealogy file.
    void openRequested(const QString& path);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void EnsureModel();

    QTreeView* m_tree = nullptr;
    QFileSystemModel* m_model = nullptr;
    QString m_current;
};

// True when a file name has one of the extensions the viewer opens (.ged, .paf, .sub, .tmg).
bool IsGenealogyFileName(const QString& fileName);

}  // namespace kindrel
