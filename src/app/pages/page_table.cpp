#include "app/pages/page_table.h"

#include "app/app_texts.h"
#include "app/general_page.h"
#include "app/pages/descendants_page.h"
#include "app/pages/family_page.h"
#include "app/pages/individual_page.h"
#include "app/pages/internet_page.h"
#include "app/pages/islands_page.h"
#include "app/pages/list_page.h"
#include "app/pages/pedigree_page.h"
#include "app/pages/sources_page.h"
#include "app/sender_page.h"

namespace kindrel {

namespace {

template <typename Page>
TViewPage* Make(TViewContext& context, QWidget* parent) {
    return new Page(context, parent);
}

}  // namespace

const std::vector<TPageEntry>& PageTable() {
    static const std::vector<TPageEntry> table = {
        {"senderPage", {kTabSender}, Make<TSenderPage>},
        {"generalPage", {kTabGeneral}, Make<TGeneralPage>},
        {"individualPage", {kTabIndividual}, Make<TIndividualPage>},
        {"familyPage", {kTabFamily}, Make<TFamilyPage>},
        {"pedigreePage", {kTabPedigree}, Make<TPedigreePage>},
        {"descendantsPage", {kTabDescendants}, Make<TDescendantsPage>},
        {"listPage", {kTabList, kTabHighlighted}, Make<TListPage>},
        {"islandsPage", {kTabIslands}, Make<TIslandsPage>},
        {"sourcesPage", {kTabSources}, Make<TSourcesPage>},
        {"internetPage", {kTabInternet}, Make<TInternetPage>},
    };
    return table;
}

}  // namespace kindrel
