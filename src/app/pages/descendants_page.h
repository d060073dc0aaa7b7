// The Descendants page: the descendant tree of the active individual, one row per person and
// marriage, indented by generation, with the columns of the "DesList" column set, the
// generation limit, indent, grid lines, repeat and column controls.
#pragma once

#include "app/view_page.h"

#include <QString>

#include <cstdint>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

namespace kindrel {

class WDesIterator;
class WDesModel;
class WDesNameDelegate;
class WPersonTable;

class TDescendantsPage : public TViewPage {
    Q_OBJECT
  public:
    // Milliseconds the thumb of the scroll bar must rest before a walk runs while it is dragged.
    static constexpr int kThumbRestMs = 150;

    explicit TDescendantsPage(TViewContext& context, QWidget* parent = nullptr);
    ~TDescendantsPage() override;

    // Walks the active individual's descendants unless they are shown already (while the
    // scroll bar's thumb is dragged: once it has rested kThumbRestMs).
    void RefreshPage() override;
    // Stops a walk that runs, frees the walk and empties the grid.
    void ForgetCollection() override;
    // Takes the column set's columns.
    void CollectionAttached() override;
    // Rows do not depend on the highlighting: only repaints.
    void HighlightChanged() override;
    void DisplayOptionsChanged() override;
    bool CanPerform(PageCommand command) const override;
    bool Perform(PageCommand command) override;

    // Copy To Clipboard: the descendant list as text, under "Copying to clipboard" with Cancel
    // (Escape and closing the window stop it too); true when copied.
    bool CopyDescendants();
    // True while a copy runs.
    bool IsCopying() const { return m_copying; }

    // "Columns": the column chooser for the "DesList" set; true when OK was pressed.
    bool ChooseColumns();
    // Walks the active individual again now, even when it is shown (timings).
    void Rewalk();
    // Runs a walk that waits for its timer now.
    void FlushPendingWalk();

    // For tests and timings.
    WDesModel* Model() const { return m_model; }
    WPersonTable* Grid() const { return m_grid; }
    WDesNameDelegate* NameDelegate() const { return m_delegate; }
    // The header of column 0.
    QString HeaderText() const;
    // True while a walk runs (events are processed meanwhile).
    bool IsWalking() const { return m_walking; }
    // Walks started so far.
    int WalkCount() const { return m_walkCount; }
    // True while a walk waits for its timer.
    bool WalkPending() const;
    // Shown column widths per stored pixel.
    double WidthScale() const { return m_widthScale; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What a walk depends on.
    struct WalkKey {
        WABSCollection* collection = nullptr;
        int32_t root = 0;
        int limit = 0;
        bool repeat = false;
        bool operator==(const WalkKey&) const = default;
    };
    WalkKey CurrentKey() const;
    // Walks when the shown walk is not the one the page needs; waitForThumb defers it while
    // the thumb is dragged.
    void WalkIfNeeded(bool waitForThumb);
    void RunWalk(const WalkKey& key);
    // Shows the finished walk (header, rows, selection).
    void ShowWalk(const WalkKey& key, bool stoppedByUser);
    void ScheduleWalk(int delayMs);
    void SetEmpty();
    void ReadSettings();
    void EnableControls(bool on);
    // The model shows walk (null: no rows), with the stored column widths.
    void ShowRows(const WDesIterator* walk, WABSCollection* collection);
    void ApplyWidths();
    void ColumnResized(int column, int size);
    void ReadFailed(const QString& message);
    // Stops the copy that runs (nothing more is read from its walk).
    void StopCopy();
    // Stops the walk or the copy that runs.
    void StopRunningWork();
    QString CountHeader(bool stoppedByUser) const;

    QLabel* m_generationsLabel = nullptr;
    QSpinBox* m_generations = nullptr;
    QLabel* m_indentLabel = nullptr;
    QSpinBox* m_indent = nullptr;
    QCheckBox* m_gridLines = nullptr;
    QCheckBox* m_repeat = nullptr;
    QPushButton* m_columnsButton = nullptr;
    WPersonTable* m_grid = nullptr;
    WDesModel* m_model = nullptr;
    WDesNameDelegate* m_delegate = nullptr;
    QTimer* m_walkTimer = nullptr;

    std::unique_ptr<WDesIterator> m_walk;
    WalkKey m_shown;    // the walk in the grid (collection null: none)
    WalkKey m_running;  // the walk that runs now
    bool m_walking = false;
    bool m_copying = false;
    bool m_copyAborted = false;
    WDesIterator* m_copyWalk = nullptr;  // the walk of the copy that runs
    bool m_walkAgain = false;            // the running walk is stale: walk again after it
    bool m_stoppedByUser = false;        // Escape during the running walk
    bool m_collectionGone = false;       // the running walk's collection was freed meanwhile
    bool m_closeAfterWalk = false;       // the window was closed during the walk
    bool m_shownStopped = false;         // the walk shown was stopped by Escape
    bool m_applyingWidths = false;
    bool m_failureShown = false;
    int m_walkCount = 0;
    int m_keptRow = 0;
    int32_t m_shownRoot = 0;
    // Stored widths are pixels of the narrow 8-point font lists were designed for; shown, they
    // grow with the grid's font.
    double m_widthScale = 1.0;  // the root of the last walk shown (its kept row)
};

}  // namespace kindrel
