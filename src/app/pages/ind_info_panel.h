// The boxed person panel of the Family, Pedigree and find pages: the name in bold, the birth
// and death lines, the LDS marks "B E P S", in the person's highlight colours inside a black
// frame (silver when empty). Double click or Enter activates it.
#pragma once

#include <QWidget>

#include <cstdint>

namespace kindrel {

class TViewContext;
class WABSCollection;
class WHLGroup;

class TIndInfoPanel : public QWidget {
    Q_OBJECT
  public:
    // context (may be null) gives the context menu its "Go to".
    explicit TIndInfoPanel(TViewContext* context = nullptr, QWidget* parent = nullptr);

    // Fills the panel for individual n of the collection in the group's colours (white and
    // black without group); n = 0 or a missing individual clears it. Reads UseLDS and
    // ShowIndHint from the settings.
    void Fill(WABSCollection* collection, WHLGroup* group, int32_t n);
    // Empties the strings and marks; silver; tag 0.
    void Clear();

    void SetNameText(const QString& text);
    void SetBirthText(const QString& text);
    void SetDeathText(const QString& text);
    // Lines shown, 1 to 3 (others are clamped); the panel's height follows.
    void SetLinesToShow(int lines);
    // Font size in points of the panel's text; the height follows.
    void SetFontSize(int points);
    // Colours as 0x00BBGGRR.
    void SetColour(uint32_t colour);
    void SetFontColour(uint32_t colour);
    void SetUseLds(bool on);
    // Marks: baptism, endowment, sealed to parents, sealed to spouse.
    void SetLdsMarks(bool baptism, bool endowment, bool parents, bool spouse);

    QString NameText() const { return m_name; }
    QString BirthText() const { return m_birth; }
    QString DeathText() const { return m_death; }
    int LinesToShow() const { return m_lines; }
    uint32_t Colour() const { return m_colour; }
    uint32_t FontColour() const { return m_fontColour; }
    bool UseLds() const { return m_useLds; }
    // "BEPS" with "-" for marks not set ("B--S").
    QString LdsMarksText() const;
    // The individual shown, 0 when none.
    int32_t Tag() const { return m_tag; }
    // The panel as text: its non-empty lines joined by "\n".
    QString PanelText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  Q_SIGNALS:
    // Double click or Enter on a panel that shows someone.
    void activated(int32_t individual);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    int LineHeight() const;
    int PanelHeight() const;
    int LdsCell() const;

    TViewContext* m_context;
    QString m_name, m_birth, m_death;
    int m_lines = 3;
    int m_fontSize = 8;
    uint32_t m_colour;
    uint32_t m_fontColour = 0;
    bool m_useLds = false;
    bool m_marks[4] = {};
    int32_t m_tag = 0;
};

}  // namespace kindrel
