// The report command: any of the eight printed reports written to PDF, HTML, RTF, PNG, JPEG,
// BMP or SVG through the same forms and writers as the viewer's print dialog.
#include "analysis/list_columns.h"
#include "cli/cli_common.h"
#include "cli/cli_load.h"
#include "containers/errors.h"
#include "highlight/hl_group.h"
#include "reports/report_forms.h"
#include "reports/report_output.h"
#include "reports/report_painter.h"

#include <QGuiApplication>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace kindrel::cli {

namespace {

struct ReportArgs {
    std::string kind;
    std::string file;
    std::string individual = "1";
    std::string highlight;
    std::string columns;
    std::string output;
    std::string title;
    std::string pages;
    int family = 1;
    bool cascading = false;
    bool noNotes = false;
    int generations = 0;
    int indent = 8;
    bool repeat = false;
    bool desColumns = false;
    int desWidth = 36;
    bool grey = false;
    bool dividers = false;
    bool mark = false;
};

// Qt Gui for fonts and painting; offscreen unless a platform was asked for.
std::unique_ptr<QGuiApplication> StartGui() {
    if (QGuiApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kindrel";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// "A-B", "A-" or "A" as pages from .. to (0 = to the last); false for anything else.
bool ParsePageRange(const std::string& text, int& from, int& to) {
    const auto number = [](const std::string& digits, int& value) {
        if (digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        value = std::stoi(digits);
        return value >= 1;
    };
    const size_t dash = text.find('-');
    if (dash == std::string::npos) {
        if (!number(text, from)) return false;
        to = from;
        return true;
    }
    if (!number(text.substr(0, dash), from)) return false;
    to = 0;
    if (dash + 1 == text.size()) return true;
    return number(text.substr(dash + 1), to) && to >= from;
}

int RunReport(const ReportArgs& args) {
    WReportKind kind{};
    if (!ParseReportKind(args.kind, kind))
        throw KindrelError("Unknown report \"" + args.kind +
                           "\": general, individual, family, pedigree, descendants, list, "
                           "highlighted or islands.");
    WReportFormat format{};
    if (!ReportFormatOfName(args.output, format))
        throw KindrelError("-o: \"" + args.output +
                           "\" does not end in .pdf, .html, .htm, .rtf, .png, .jpg, .bmp or .svg.");
    int from = 0;
    int to = 0;
    if (!args.pages.empty() && !ParsePageRange(args.pages, from, to))
        throw KindrelError("--pages: \"" + args.pages +
                           "\" is not a page range such as 3, 2-5 or 10-.");

    CliCollection loaded = LoadCollectionForCli(args.file);
    WABSCollection& collection = *loaded.collection;
    const std::unique_ptr<QGuiApplication> gui = StartGui();
    WQtTextMetrics metrics;

    WReportRequest request;
    request.kind = kind;
    request.collection = &collection;
    if (ReportNeedsSubject(kind)) request.subject = ResolveIndividual(collection, args.individual);
    request.settings.familyIndex = args.family;
    request.settings.pedSingle = !args.cascading;
    request.settings.indNotes = !args.noNotes;
    request.settings.desGenLimit = args.generations;
    request.settings.desIndent = args.indent;
    request.settings.desRepeat = args.repeat;
    request.settings.desColumns = args.desColumns;
    request.settings.desColWidth = args.desWidth;
    request.settings.listGrey = request.settings.hlGrey = request.settings.islandGrey = args.grey;
    request.settings.listDivider = request.settings.hlDivider = request.settings.islandDivider =
        args.dividers;
    request.settings.listHL = args.mark;
    request.metrics = &metrics;
    const std::string gedcomName = std::filesystem::path(args.file).filename().string();
    request.fileText = !args.title.empty()                                   ? args.title
                       : loaded.selfViewing && !loaded.embedded.trailer.title.empty()
                           ? loaded.embedded.trailer.title
                           : gedcomName;
    request.sources.gedcomName = gedcomName;

    std::unique_ptr<WHLGroup> group;
    if (!args.highlight.empty()) {
        group = std::make_unique<WHLGroup>(&collection);
        group->SetConditions(args.highlight);
        group->Prepare();
        request.sources.group = group.get();
    }
    std::unique_ptr<WListColumns> columns;
    if (!args.columns.empty()) {
        columns = std::make_unique<WListColumns>(&collection, "List");
        columns->SetColumns(args.columns);
        request.sources.listColumns = columns.get();
    }

    std::unique_ptr<TABSReportForm> form = MakeReportForm(request);
    if (!form->Prepare()) throw KindrelError("The report has nothing to print.");
    const std::string remark = form->Remark();
    if (!remark.empty()) std::fprintf(stderr, "kindrel: %s\n", remark.c_str());
    const int pageCount = form->PageCount();
    if (from > pageCount)
        throw KindrelError("--pages: the report has " + std::to_string(pageCount) +
                           (pageCount == 1 ? " page." : " pages."));
    // Past a file size limit a write fails (and is reported, the old file kept) instead of
    // the signal ending the program with a temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const WReportSaveResult result = SaveReport(*form, format, args.output, {}, from, to);
    if (!result.ok) throw KindrelError(result.error.empty() ? "The report was not written." : result.error);
    const int written =
        (to == 0 ? pageCount : std::min(to, pageCount)) - (from == 0 ? 1 : from) + 1;
    std::printf("%d %s written:", written, written == 1 ? "page" : "pages");
    if (result.files.size() == 1) std::printf(" %s", result.files.front().c_str());
    else std::printf(" %s ... %s", result.files.front().c_str(), result.files.back().c_str());
    std::printf("\n");
    return 0;
}

}  // namespace

void AddReportCommands(CLI::App& app, int& exitCode) {
    auto args = std::make_shared<ReportArgs>();
    CLI::App* cmd = app.add_subcommand(
        "report", "Write a printed report (general, individual, family, pedigree, descendants, "
                  "list, highlighted, islands) as PDF, HTML, RTF, PNG, JPEG, BMP or SVG");
    cmd->add_option("KIND", args->kind, "The report")->required();
    cmd->add_option("FILE", args->file, "A GEDCOM or self-viewing file")->required();
    cmd->add_option("-o,--output", args->output,
                    "The file to write; its extension picks the format (images: one file a "
                    "page, name-0001.png ...)")
        ->required();
    cmd->add_option("--individual", args->individual,
                    "The subject: a number or an identifier (default 1)");
    cmd->add_option("--highlight", args->highlight, "Highlighting conditions (highlighted, list)");
    cmd->add_option("--family", args->family, "Which family as spouse of the subject (default 1)");
    cmd->add_flag("--cascading", args->cascading, "Pedigree: cascading sheets");
    cmd->add_flag("--no-notes", args->noNotes, "Individual: leave the notes out");
    cmd->add_option("--generations", args->generations, "Descendants: generations (0 = all)");
    cmd->add_option("--indent", args->indent, "Descendants: indent amount 1 to 32");
    cmd->add_flag("--repeat", args->repeat, "Descendants: repeat individuals");
    cmd->add_flag("--des-columns", args->desColumns, "Descendants: print the DesList columns");
    cmd->add_option("--des-width", args->desWidth, "Descendants: width of the name area 18 to 54");
    cmd->add_option("--columns", args->columns, "List: column codes 1 to 68 separated by commas");
    cmd->add_flag("--grey", args->grey, "Grey alternating lines");
    cmd->add_flag("--dividers", args->dividers, "Divider lines between rows");
    cmd->add_flag("--mark-highlighted", args->mark, "List: \"*\" before highlighted individuals");
    cmd->add_option("--title", args->title, "The footer's file text (default: the file's name)");
    cmd->add_option("--pages", args->pages, "Only these pages: 3, 2-5 or 10- (default all)");
    cmd->callback([args, &exitCode] { exitCode = RunGuarded([&] { return RunReport(*args); }); });
}

}  // namespace kindrel::cli
