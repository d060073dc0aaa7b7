// The window's Print command: the print dialog on the report of the active tab.
#include "app/app_texts.h"
#include "app/dialogs/print_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "services/self_view_trailer.h"

#include <filesystem>

namespace kindrel {

namespace {

// The report of each tab; Sender and Sources print the General report.
WReportKind ReportOfTab(int tab) {
    switch (tab) {
        case kTabIndividual: return WReportKind::kIndividual;
        case kTabFamily: return WReportKind::kFamily;
        case kTabPedigree: return WReportKind::kPedigree;
        case kTabDescendants: return WReportKind::kDescendants;
        case kTabList: return WReportKind::kList;
        case kTabHighlighted: return WReportKind::kHighlighted;
        case kTabIslands: return WReportKind::kIslands;
        default: return WReportKind::kGeneral;
    }
}

}  // namespace

bool TLogoAppForm::OpenPrintDialog() {
    if (!m_collection || IsWindowBusy()) return false;
    TPrintDlgContext context;
    context.page = ReportOfTab(ActiveTab());
    context.collection = m_collection.get();
    context.active = ActiveIndividual();
    context.familyIndex = CurrentFamilyIndex();
    context.sources.group = m_highlighter.get();
    context.sources.listColumns = ColumnSet(ColumnSetKind::kList);
    context.sources.desColumns = ColumnSet(ColumnSetKind::kDescendants);
    // The list orders of the List and Highlighted pages join here once those pages give them;
    // until then the reports walk the view in file order and build the highlighted order.
    context.sources.gedcomName = std::filesystem::path(m_fileName).filename().string();
    const SelfViewTrailer* trailer = Trailer();
    context.fileText = trailer && !trailer->title.empty() ? trailer->title : context.sources.gedcomName;
    TPrintDlg dialog(context, this);
    WDialogRunner::Run(dialog);
    return true;
}

}  // namespace kindrel
