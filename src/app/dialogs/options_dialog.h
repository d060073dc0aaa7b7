// The Options dialog (pages "General", "Display", "Colors"): every box shows its setting when
// the dialog opens, and Store writes them back; the window stores them on OK only.
#pragma once

#include <QColor>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QTabWidget;

namespace kindrel {

class WOptions;

class TOptionsDlg : public QDialog {
    Q_OBJECT
  public:
    // The dialog filled from options (read only until Store).
    explicit TOptionsDlg(WOptions& options, QWidget* parent = nullptr);

    // Writes every value shown into options (FontSize with its GridHeight).
    void Store(WOptions& options) const;

    // "Background" and "Text": a colour dialog for the highlighting colours.
    void ChooseBackground();
    void ChooseText();
    // The highlighting colours shown by the sample.
    QColor Background() const { return m_background; }
    QColor TextColour() const { return m_text; }
    // The font size chosen (8, 10 or 12).
    int FontSize() const;
    QTabWidget* Pages() const { return m_pages; }

  private:
    QCheckBox* AddBox(QWidget* page, const char* name, const char* text, bool checked);
    void UpdateSample();
    bool PickColour(QColor& colour, const QString& title);

    QTabWidget* m_pages = nullptr;
    QCheckBox* m_openLastFile = nullptr;
    QCheckBox* m_loadLastFile = nullptr;
    QCheckBox* m_hlManual = nullptr;
    QCheckBox* m_autoSearch = nullptr;
    QCheckBox* m_checkUpdates = nullptr;
    QCheckBox* m_sortFirstColumn = nullptr;
    QCheckBox* m_calcIslands = nullptr;
    QCheckBox* m_islandWit = nullptr;
    QCheckBox* m_useLds = nullptr;
    QCheckBox* m_hlText = nullptr;
    QCheckBox* m_showHlPanel = nullptr;
    QCheckBox* m_showIndHint = nullptr;
    QCheckBox* m_fnValueFlag = nullptr;
    QComboBox* m_fnValue = nullptr;
    QCheckBox* m_ageCalcCb = nullptr;
    QComboBox* m_fontSize = nullptr;
    QCheckBox* m_nameSlash = nullptr;
    QCheckBox* m_nameUpper = nullptr;
    QCheckBox* m_preSuf = nullptr;
    QCheckBox* m_chrono = nullptr;
    QCheckBox* m_tmgTagSent = nullptr;
    QCheckBox* m_tmgEngage = nullptr;
    QLabel* m_sample = nullptr;
    QColor m_background;
    QColor m_text;
};

// Setting FontSize as the dialog offers it: 8, 10 or 12; anything else reads as 8.
int StoredFontSize(WOptions& options);
// The row height that goes with a font size (14, 16, 18).
int GridHeightFor(int fontSize);

}  // namespace kindrel
