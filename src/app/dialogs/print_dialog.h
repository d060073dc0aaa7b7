// The print dialog ("Print Dialog"): a page per report with its options, an individual scroll
// bar choosing the subject, and "Print", "Preview", "Save to File", Cancel and "View file
// after saved". Opens on the page of the active tab; the options persist in the settings.
#pragma once

#include "reports/report_files.h"
#include "reports/report_forms.h"
#include "services/options.h"

#include <QDialog>

#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace kindrel {

class WABSCollection;
class WIndScroll;
class WQtTextMetrics;

// What the window hands the dialog.
struct TPrintDlgContext {
    WReportKind page = WReportKind::kGeneral;
    WABSCollection* collection = nullptr;
    int32_t active = 0;
    int familyIndex = 1;     // the current family of the active individual
    WReportSources sources;  // orders, column sets, highlighter (any may be null)
    std::string fileText;    // the sender's title, else the GEDCOM's name
};

class TPrintDlg : public QDialog {
    Q_OBJECT
  public:
    TPrintDlg(const TPrintDlgContext& context, QWidget* parent = nullptr);
    // Stores the options; TMGTagSent reads as before again.
    ~TPrintDlg() override;

    // The report of the page shown.
    WReportKind CurrentKind() const;
    void SetCurrentKind(WReportKind kind);
    // The subject chosen in the scroll bar.
    int32_t Subject() const;
    // The options as the widgets hold them.
    WReportSettings CurrentSettings() const;
    // A prepared form of the page shown, or null with the reason in reason.
    std::unique_ptr<TABSReportForm> PrepareReport(QString& reason);
    // The file name the save dialog proposes.
    std::string ProposedFileName() const;

    // The three commands (buttons); false when nothing was done.
    bool PrintReport();
    bool PreviewReport();
    bool SaveToFile();
    // Saves the report of the page shown to fileName in a format (no file dialog); shows the
    // failure, opens the file when "View file after saved" is checked. Used by SaveToFile.
    bool SaveReportTo(const std::string& fileName, WReportFormat format);

    QTabWidget* Pages() const { return m_pages; }
    WIndScroll* Scroll() const { return m_scroll; }
    // The marriage list of the Family page (the Pedigree page has its twin).
    QListWidget* FamilyMarriages() const { return m_familyMarriages; }

  private:
    QWidget* MakeFamilyPage(QListWidget*& list, bool pedigree);
    void RefillMarriages();
    void UpdateButtons();
    void UpdateWidthLabel();
    void LoadOptions();
    bool SaveForm(TABSReportForm& form, const std::string& fileName, WReportFormat format);

    // The TMG sentence form of notes reads as off while the dialog lives (first member: it is
    // undone last, whatever way the dialog ends).
    WScopedOverride m_tagSentOff;
    TPrintDlgContext m_context;
    std::unique_ptr<WQtTextMetrics> m_metrics;
    QTabWidget* m_pages = nullptr;
    WIndScroll* m_scroll = nullptr;
    QCheckBox* m_indNotes = nullptr;
    QListWidget* m_familyMarriages = nullptr;
    QListWidget* m_pedigreeMarriages = nullptr;
    QRadioButton* m_single = nullptr;
    QRadioButton* m_cascading = nullptr;
    QSpinBox* m_indent = nullptr;
    QSpinBox* m_generations = nullptr;
    QCheckBox* m_repeat = nullptr;
    QCheckBox* m_columns = nullptr;
    QSlider* m_width = nullptr;
    QLabel* m_widthLabel = nullptr;
    QCheckBox* m_desLines = nullptr;
    QCheckBox* m_listGrey = nullptr;
    QCheckBox* m_listDivider = nullptr;
    QCheckBox* m_listHL = nullptr;
    QCheckBox* m_hlGrey = nullptr;
    QCheckBox* m_hlDivider = nullptr;
    QCheckBox* m_islandGrey = nullptr;
    QCheckBox* m_islandDivider = nullptr;
    QCheckBox* m_viewSaved = nullptr;
    QLabel* m_reason = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_save = nullptr;
};

// "Width:" of the descendant columns' area for a track bar position: (724 - 10 x position)
// / 96 inches, two decimals ("Width: 3.79\"").
QString DescendantColumnsWidthText(int position);

}  // namespace kindrel
