// The left panel's Islands page: the islands in size order and "Use Islands", which limits the
// whole window to the selected island ("Use Island (r)").
#pragma once

#include <QWidget>

#include <cstdint>

class QCheckBox;
class QLabel;
class QTableView;
class QTimer;

namespace kindrel {

class TViewContext;
class WIslandsModel;

class TIslandsPanel : public QWidget {
    Q_OBJECT
  public:
    // Milliseconds the selection must rest before the island in use follows it (a held arrow
    // key applies only the last row).
    static constexpr int kFollowDelayMs = 150;

    explicit TIslandsPanel(TViewContext& context, QWidget* parent = nullptr);

    // Reads the islands again (count, label, whether "Use Islands" can be used).
    void Refresh();
    // The window limits itself to the island at position (0: none): the box follows.
    void ShowIslandInUse(int32_t position);
    // A new collection (or none): nothing in use, nothing selected.
    void Reset();
    // Applies a row change that waits for its timer now (tests).
    void FlushPendingMove();

    QTableView* Grid() const { return m_grid; }
    QCheckBox* UseBox() const { return m_use; }
    QLabel* CountLabel() const { return m_label; }

  Q_SIGNALS:
    // The user asks to limit the window to the island at position (0: no limit).
    void useIslandRequested(int32_t position);
    // The panel calculated the islands.
    void islandsChanged();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    int32_t SelectedPosition() const;
    void UseToggled(bool on);
    // The island in use follows the selected row.
    void ApplyFollow();

    TViewContext& m_context;
    WIslandsModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_label = nullptr;
    QCheckBox* m_use = nullptr;
    QTimer* m_follow = nullptr;
    int32_t m_inUse = 0;
};

}  // namespace kindrel
