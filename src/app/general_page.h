// The General page: file statistics, the header summary and the submitter, as grids or, in
// raw mode, as the records' text.
#pragma once

#include "app/view_page.h"

class QPlainTextEdit;
class QStackedWidget;
class QTableView;

namespace kindrel {

class WInfoGridModel;

class TGeneralPage : public TViewPage {
    Q_OBJECT
  public:
    explicit TGeneralPage(TViewContext& context, QWidget* parent = nullptr);

    void RefreshPage() override;
    // Copy To Clipboard: the page as text.
    bool CanPerform(PageCommand command) const override;
    bool Perform(PageCommand command) override;

    // The grids' models (tests read them).
    WInfoGridModel* StatisticsModel() const { return m_statistics; }
    WInfoGridModel* HeaderModel() const { return m_header; }
    WInfoGridModel* SubmitterModel() const { return m_submitter; }
    // The raw texts shown in raw mode.
    QString HeaderRawText() const;
    QString SubmitterRawText() const;
    // True while the raw texts are shown instead of the header and submitter grids.
    bool ShowsRaw() const;

  private:
    // A grid over model; rows > 0 sizes it to that many rows.
    QTableView* MakeGrid(WInfoGridModel* model, const char* name, int rows, int labelWidth,
                         int valueWidth);

    WInfoGridModel* m_statistics = nullptr;
    WInfoGridModel* m_header = nullptr;
    WInfoGridModel* m_submitter = nullptr;
    QStackedWidget* m_headerStack = nullptr;
    QStackedWidget* m_submitterStack = nullptr;
    QPlainTextEdit* m_headerRaw = nullptr;
    QPlainTextEdit* m_submitterRaw = nullptr;
    int m_submitterGridHeight = 0;
};

}  // namespace kindrel
