// The File Search page of the left panel: searches folders for genealogy files on a worker
// thread that reports each find to the window, and opens a found file on double-click.
#pragma once

#include "app/file_search.h"

#include <QThread>
#include <QWidget>

#include <atomic>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kindrel {

// The walk of one search, run on its own thread.
class TFileSearchWorker : public QThread {
    Q_OBJECT
  public:
    explicit TFileSearchWorker(FileSearchOptions options, QObject* parent = nullptr);
    ~TFileSearchWorker() override;

    // Asks the walk to stop and waits for the thread to end.
    void Stop();

  Q_SIGNALS:
    // A matching file (emitted on the worker thread, delivered queued to receivers).
    void found(const QString& path);
    // A folder being searched.
    void searching(const QString& folder);
    // The walk ended; stopped when Stop ended it early.
    void searchDone(qlonglong found, bool stopped);

  protected:
    void run() override;

  private:
    FileSearchOptions m_options;
    std::atomic<bool> m_stop{false};
};

class TFileSearchPanel : public QWidget {
    Q_OBJECT
  public:
    explicit TFileSearchPanel(QWidget* parent = nullptr);
    ~TFileSearchPanel() override;

    // Starts a search with the panel's fields (stopping a running one first).
    void StartSearch();
    // Stops a running search and waits for its thread.
    void StopSearch();
    // True while a search runs.
    bool IsSearching() const;
    // The fields.
    void SetFolders(const QString& folders);
    void SetIncludeMasks(const QString& masks);
    void SetExcludeMasks(const QString& masks);
    void SetSubDirectories(bool on);
    bool SubDirectories() const;
    // The files found so far.
    QStringList Results() const;

  Q_SIGNALS:
    // The user double-clicked a found file.
    void openRequested(const QString& path);
    // A search ended (after its last find was listed).
    void searchFinished(qlonglong found, bool stopped);

  private:
    void OnDone(qlonglong found, bool stopped);

    QLineEdit* m_folders = nullptr;
    QLineEdit* m_include = nullptr;
    QLineEdit* m_exclude = nullptr;
    QCheckBox* m_subDirectories = nullptr;
    QPushButton* m_search = nullptr;
    QPushButton* m_stop = nullptr;
    QListWidget* m_results = nullptr;
    QLabel* m_status = nullptr;
    TFileSearchWorker* m_worker = nullptr;
};

}  // namespace kindrel
