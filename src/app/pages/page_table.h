// The one table the main window makes its notebook pages from: each page's object name, the
// tabs that show it and how it is made. A new page is a new row here; the window itself does
// not change.
#pragma once

#include "app/view_page.h"

#include <functional>
#include <vector>

namespace kindrel {

struct TPageEntry {
    // The page's objectName (tests find pages by it).
    const char* objectName;
    // The tab indexes (TabIndex) that show this page; the Highlighted tab shares the List page.
    std::vector<int> tabs;
    // Makes the page as a child of parent.
    std::function<TViewPage*(TViewContext& context, QWidget* parent)> make;
};

// The pages in notebook order; every tab index 0..kTabCount-1 appears in exactly one row.
const std::vector<TPageEntry>& PageTable();

}  // namespace kindrel
