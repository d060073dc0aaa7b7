// The delegate of the grids whose values hold sub-columns: a value with tab characters is
// split at the tabs and each part drawn at the column's sub-column offsets, in the cell's
// colours, as plain text.
#pragma once

#include <QList>
#include <QStyledItemDelegate>

#include <functional>

namespace kindrel {

class WTabStopDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    // The role a model answers with a cell's sub-column offsets (QList<int>, pixels from the
    // cell's left; empty or absent for a plain value).
    static constexpr int kTabOffsetsRole = Qt::UserRole + 1;

    // A delegate that reads the offsets from kTabOffsetsRole.
    explicit WTabStopDelegate(QObject* parent = nullptr);

    // Takes the offsets of a cell from a callback instead of the role (for example from a
    // column set's TabStops, by column). {} goes back to the role.
    void SetTabOffsets(std::function<QList<int>(const QModelIndex&)> offsets) {
        m_offsets = std::move(offsets);
    }
    // Selected rows keep their cells' colours and are framed by black lines at the top and
    // bottom (and on the left of column 0) instead of being filled.
    void SetFrameSelection(bool on) { m_frameSelection = on; }
    bool FrameSelection() const { return m_frameSelection; }

    // Offsets are multiplied by scale when drawn (a grid whose font is wider than the one the
    // offsets were made for); 1 by default.
    void SetOffsetScale(double scale) { m_scale = scale; }
    // The offsets of a cell (callback or role), scaled.
    QList<int> TabOffsets(const QModelIndex& index) const;
    // The part after the k-th tab is drawn at offsets[k - 1]; the first part 3 pixels in.
    static constexpr int kTextMargin = 3;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The option a frame-selection delegate draws a cell with: the selection and the focus
    // mark taken away (its background and text are then the cell's own).
    static QStyleOptionViewItem WithoutSelection(const QStyleOptionViewItem& option);
    // Draws the black frame of a selected cell (top, bottom, and left in column 0).
    static void DrawSelectionFrame(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index);

  private:
    std::function<QList<int>(const QModelIndex&)> m_offsets;
    bool m_frameSelection = false;
    double m_scale = 1.0;
};

}  // namespace kindrel
