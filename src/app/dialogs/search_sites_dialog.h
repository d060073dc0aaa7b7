// "Search Sites": the Internet page's sites as a table of captions and address templates, with
// Add, Remove and Restore Defaults. OK refuses a template that cannot be used and says why.
#pragma once

#include "app/search_links.h"

#include <QDialog>

#include <vector>

class QTableWidget;

namespace kindrel {

class TdlgSearchSites : public QDialog {
    Q_OBJECT
  public:
    TdlgSearchSites(const std::vector<WSearchSite>& sites, QWidget* parent = nullptr);

    // The rows as sites (rows with neither caption nor template left out).
    std::vector<WSearchSite> Sites() const;
    // The first problem of the rows ("Site 2 (Bad): ..."), empty when OK can close.
    QString Problem() const;
    QTableWidget* Table() const { return m_table; }

    void AddRow(const WSearchSite& site = {});
    void RemoveRow();
    void RestoreDefaults();
    void accept() override;

  private:
    void Fill(const std::vector<WSearchSite>& sites);
    QTableWidget* m_table = nullptr;
};

}  // namespace kindrel
