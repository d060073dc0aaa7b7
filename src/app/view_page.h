// The pages of the main notebook, what they read from the window, and the commands the window
// routes to the page shown.
#pragma once

#include <QWidget>

#include <cstdint>

class QString;

namespace kindrel {

class WABSCollection;
class WHLGroup;
class WListColumns;
struct FileStatistics;

// Commands of the window that act on the page shown. The window connects each action once
// and asks the current page whether it can do it; pages that cannot leave the action off.
enum class PageCommand : int {
    kCopy = 0,  // Copy To Clipboard: the page as text
    kPrint,     // Print: the page's report
    kColumns,   // the page's column chooser
    kFindNext,  // a search within the page
    kFindPrevious,
    kCount
};

// The three column sets of the window.
enum class ColumnSetKind : int { kList = 0, kDescendants, kIslandMembers, kCount };

// The window state pages read while they build.
class TViewContext {
  public:
    virtual ~TViewContext() = default;
    // The open collection, or null.
    virtual WABSCollection* Collection() const = 0;
    // The active individual, 0 when none.
    virtual int32_t ActiveIndividual() const = 0;
    // Makes an individual active (a programmatic jump, remembered by the history). A jump to
    // someone outside the island in use is refused with a flash saying so.
    virtual void JumpToIndividual(int32_t individual) = 0;
    // True while "Show RAW GEDCOM data" is on.
    virtual bool RawMode() const = 0;
    // The open file's figures for the General page, or null without a file.
    virtual const FileStatistics* Statistics() const = 0;
    // The highlighter group, or null while no conditions were set.
    virtual WHLGroup* Highlighter() const = 0;
    // A column set of the window ("List", "DesList", "IslandList"); never null.
    virtual WListColumns* ColumnSet(ColumnSetKind kind) const = 0;
    // The "DesList" set of the Descendants page.
    WListColumns* DescendantColumns() const { return ColumnSet(ColumnSetKind::kDescendants); }
    // True while the window loads or runs long work; pages then show nothing new.
    virtual bool IsWindowBusy() const = 0;
    // True while the scroll bar's thumb is dragged (pages may defer slow work).
    virtual bool ScrollThumbDragged() const = 0;
    // Shows a short message centred on the window; false when another is shown.
    virtual bool FlashText(const QString& text) = 0;
    // The current family k (1-based) among the active individual's families as spouse, shared
    // by the Family and Pedigree pages and their copies and reports; 1 again for each new
    // active individual.
    virtual int CurrentFamilyIndex() const = 0;
    // Sets k for the active individual.
    virtual void SetCurrentFamilyIndex(int k) = 0;
};

// A page of the main notebook. The window makes every page from one table
// (app/pages/page_table.h), tells every page about the collection's coming and going, and
// rebuilds the page shown through RefreshPage.
class TViewPage : public QWidget {
    Q_OBJECT
  public:
    TViewPage(TViewContext& context, QWidget* parent = nullptr)
        : QWidget(parent), m_context(context) {}

    // Rebuilds the page from the window's state.
    virtual void RefreshPage() = 0;
    // False for a page this version does not build (an empty placeholder).
    virtual bool IsAvailable() const { return true; }
    // The page is about to be shown for tab (0..9): the List page learns its mode here.
    virtual void TabShown(int tab) { (void)tab; }

    // The collection is about to be freed: drop every record, iterator and number taken from
    // it. Every page is told, shown or not.
    virtual void ForgetCollection() {}
    // A new collection is open (every page is told; the shown one is refreshed after).
    virtual void CollectionAttached() {}
    // The island in use changes ("Use Islands"): called before (after false) and after (true)
    // the collection's view changes. The default lets go of everything as for another
    // collection and takes the view again; pages whose data do not depend on the view keep it.
    virtual void IslandInUseChanged(bool after) {
        if (after)
            CollectionAttached();
        else
            ForgetCollection();
    }
    // The highlighter group changed or was replaced. The default rebuilds a shown page; pages
    // whose rows do not depend on the answers only repaint.
    virtual void HighlightChanged() {
        if (isVisible()) RefreshPage();
    }
    // Display options changed (font size, name forms): the default rebuilds a shown page.
    virtual void DisplayOptionsChanged() {
        if (isVisible()) RefreshPage();
    }

    // True when the page can carry out command now (the window enables its action by this).
    virtual bool CanPerform(PageCommand command) const {
        (void)command;
        return false;
    }
    // Carries out command; false when the page could not.
    virtual bool Perform(PageCommand command) {
        (void)command;
        return false;
    }

    TViewContext& Context() const { return m_context; }

  Q_SIGNALS:
    // What CanPerform answers may have changed (selection, data, busy state).
    void commandsChanged();

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
