// The pages of the main window's notebook and what they read from the window.
#pragma once

#include <QWidget>

#include <cstdint>

namespace kindrel {

class WABSCollection;
struct FileStatistics;

// The window state pages read while they build.
class TViewContext {
  public:
    virtual ~TViewContext() = default;
    // The open collection, or null.
    virtual WABSCollection* Collection() const = 0;
    // The active individual, 0 when none.
    virtual int32_t ActiveIndividual() const = 0;
    // Makes an individual active (a programmatic jump, remembered by the history).
    virtual void JumpToIndividual(int32_t individual) = 0;
    // True while "Show RAW GEDCOM data" is on.
    virtual bool RawMode() const = 0;
    // The open file's figures for the General page, or null without a file.
    virtual const FileStatistics* Statistics() const = 0;
};

// A page of the main notebook; the window rebuilds the page shown through RefreshPage.
class TViewPage : public QWidget {
    Q_OBJECT
  public:
    TViewPage(TViewContext& context, QWidget* parent = nullptr)
        : QWidget(parent), m_context(context) {}

    // Rebuilds the page from the window's state.
    virtual void RefreshPage() = 0;
    // False for a page this version does not build (an empty placeholder).
    virtual bool IsAvailable() const { return true; }

  protected:
    TViewContext& m_context;
};

// The empty page behind a tab whose view is not part of this version.
class TPlaceholderPage : public TViewPage {
    Q_OBJECT
  public:
    using TViewPage::TViewPage;
    void RefreshPage() override {}
    bool IsAvailable() const override { return false; }
};

}  // namespace kindrel
