// The Internet page: group "Internet Search" with the active individual's given names, surname
// and a year, how names and the year enter the search, and one button per search site; a site
// opens in the web browser with the names filled in (they leave this computer).
#pragma once

#include "app/search_links.h"
#include "app/view_page.h"

#include <QString>

#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kindrel {

class TInternetPage : public TViewPage {
    Q_OBJECT
  public:
    explicit TInternetPage(TViewContext& context, QWidget* parent = nullptr);

    // Fills the fields for a new active individual (what the user typed stays otherwise).
    void RefreshPage() override;
    void ForgetCollection() override;

    // The query the fields give now.
    WSearchQuery Query() const;
    // The address of site i (0-based) for the fields; empty when it cannot be searched.
    QString SiteUrl(int i) const;
    // Opens site i in the web browser; a failure is said. True when handed over.
    bool OpenSite(int i);
    // Puts the address of site i on the clipboard.
    bool CopySiteLink(int i);
    // "Search Sites...": edits the list of sites; true when OK stored a new list.
    bool EditSites();
    // The sites offered.
    const std::vector<WSearchSite>& Sites() const { return m_sites; }
    // The buttons of the sites, in order.
    const std::vector<QPushButton*>& SiteButtons() const { return m_buttons; }
    // True when the year field holds a year the search can use (or is empty).
    bool YearAccepted() const;

  private:
    void Fill(int32_t n);
    void UseYearToggled(bool on);
    void UpdateState();
    void RebuildButtons();
    void ShowSiteMenu(int i, const QPoint& where);
    void StoreSettings();

    QLineEdit* m_given = nullptr;
    QLineEdit* m_surname = nullptr;
    QLineEdit* m_year = nullptr;
    QCheckBox* m_useYear = nullptr;
    QComboBox* m_range = nullptr;
    QRadioButton* m_matchAny = nullptr;
    QRadioButton* m_matchAll = nullptr;
    QLabel* m_yearNote = nullptr;
    QWidget* m_siteBox = nullptr;
    QGridLayout* m_siteGrid = nullptr;
    QPushButton* m_editSites = nullptr;
    std::vector<QPushButton*> m_buttons;
    std::vector<WSearchSite> m_sites;
    int32_t m_filledFor = 0;
    WABSCollection* m_filledFrom = nullptr;
    bool m_deathYear = false;  // the year filled in is the death's
    QString m_filledYear;      // the year text filled in (a typed year is a birth year)
};

}  // namespace kindrel
