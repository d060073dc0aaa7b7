// The list command: every individual of a file (or of one island) with chosen computed columns,
// sorted by any of them, as fixed-width text or CSV.
#include "analysis/attrib.h"
#include "analysis/collection_iterator.h"
#include "analysis/islands.h"
#include "analysis/list_columns.h"
#include "app/list_text.h"
#include "cli/cli_common.h"
#include "cli/cli_load.h"
#include "containers/errors.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel::cli {

namespace {

constexpr char kDefaultColumns[] = "1,2,7,65,67,19,18";
// Output is written in pieces of about this size.
constexpr size_t kFlushBytes = size_t(1) << 16;
// Widest column when widths come from the content.
constexpr size_t kMaxFitWidth = 80;

struct ListArgs {
    std::string file;
    std::string columns = kDefaultColumns;
    int sortCode = 0;
    bool descending = false;
    int island = 0;
    bool csv = false;
    bool fit = false;
    std::string reference;
};

// The codes of a column string; throws KindrelError naming the first item that is not one.
std::vector<int> ParseColumnCodes(const std::string& columns) {
    std::vector<int> codes;
    size_t start = 0;
    while (start <= columns.size()) {
        size_t comma = columns.find(',', start);
        if (comma == std::string::npos) comma = columns.size();
        std::string item = columns.substr(start, comma - start);
        start = comma + 1;
        const size_t first = item.find_first_not_of(' ');
        const size_t last = item.find_last_not_of(' ');
        item = first == std::string::npos ? std::string() : item.substr(first, last - first + 1);
        int code = 0;
        bool digits = !item.empty() && item.size() <= 3;
        for (const char c : item) {
            if (c < '0' || c > '9') digits = false;
        }
        if (digits) code = std::stoi(item);
        if (!digits || ColumnInfo(code) == nullptr) {
            throw KindrelError("--columns: \"" + item + "\" is not a column code (1 to " +
                               std::to_string(kLastColumnCode) + ").");
        }
        codes.push_back(code);
    }
    if (codes.size() > size_t(WListColumns::kMaxColumns)) {
        throw KindrelError("--columns: at most " + std::to_string(WListColumns::kMaxColumns) +
                           " columns.");
    }
    return codes;
}

void Flush(std::string& out) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
}

int RunList(const ListArgs& args) {
    const std::vector<int> codes = ParseColumnCodes(args.columns);
    int sortColumn = 0;
    if (args.sortCode != 0) {
        for (size_t i = 0; i < codes.size(); ++i) {
            if (codes[i] == args.sortCode) {
                sortColumn = static_cast<int>(i) + 1;
                break;
            }
        }
        if (sortColumn == 0) {
            throw KindrelError("--sort: column " + std::to_string(args.sortCode) +
                               " is not one of the listed columns.");
        }
    }

    CliCollection loaded = LoadCollectionForCli(args.file);
    WABSCollection& collection = *loaded.collection;
    if (args.island != 0) {
        WIslands& islands = WIslands::Of(collection);
        const int32_t count = islands.CalculateIslands();
        if (args.island < 1 || args.island > count) {
            throw KindrelError("--island: " + std::to_string(args.island) +
                               " is not an island position (1 to " + std::to_string(count) + ").");
        }
        islands.UseIsland(args.island);
    }

    WListColumns columns(&collection, "List");
    columns.SetColumns(args.columns);
    if (!args.reference.empty()) {
        columns.SetReference(ResolveIndividual(collection, args.reference));
    }
    WColSortIterator iterator("", &collection, collection.ViewCount());
    columns.AttachIterator(&iterator);
    if (sortColumn != 0) {
        columns.SortByColumn(sortColumn);
        if (args.descending) columns.SortByColumn(sortColumn);  // a second click flips
    } else if (args.descending) {
        iterator.SetAscending(false);
    }

    const int columnCount = columns.ColumnCount();
    const int rows = iterator.Count();
    std::vector<std::string> headers(static_cast<size_t>(columnCount));
    for (int c = 1; c <= columnCount; ++c) {
        int state = 0;
        headers[static_cast<size_t>(c - 1)] = columns.HeaderText(c, false, state);
    }

    // Fixed form: cut to W / 5 - 2 characters, padded to W / 5 - 1 (W the width in pixels),
    // or, with --fit, as wide as the widest value.
    std::vector<FixedField> fields(static_cast<size_t>(columnCount));
    if (!args.csv) {
        for (int c = 1; c <= columnCount; ++c) {
            const auto k = static_cast<size_t>(c - 1);
            if (args.fit) {
                size_t widest = CharacterCount(headers[k]);
                for (int r = 1; r <= rows; ++r) {
                    const std::string cell = CellForCopy(columns.CellText(c, iterator.NumberAt(r)));
                    widest = std::max(widest, CharacterCount(cell));
                }
                fields[k].cut = std::min(widest, kMaxFitWidth);
                fields[k].pad = fields[k].cut + 1;
            } else {
                fields[k] = FixedFieldOfWidth(columns.Width(c));
            }
        }
    }
    EndProgressLine();

    // The last column needs no padding.
    const WListLineWriter writer(args.csv, std::move(fields), args.csv ? "\r\n" : "\n", false);
    std::string out;
    const auto appendLine = [&](const std::vector<std::string>& cells) {
        writer.AppendLine(out, cells);
        if (out.size() >= kFlushBytes) Flush(out);
    };
    appendLine(headers);
    std::vector<std::string> cells(static_cast<size_t>(columnCount));
    for (int r = 1; r <= rows; ++r) {
        const int32_t n = iterator.NumberAt(r);
        for (int c = 1; c <= columnCount; ++c) {
            cells[static_cast<size_t>(c - 1)] = CellForCopy(columns.CellText(c, n));
        }
        appendLine(cells);
    }
    Flush(out);
    std::fflush(stdout);
    columns.AttachIterator(nullptr);
    return 0;
}

}  // namespace

void AddListCommands(CLI::App& app, int& exitCode) {
    auto args = std::make_shared<ListArgs>();
    CLI::App* cmd = app.add_subcommand(
        "list", "List every individual with computed columns (the List tab as text)");
    cmd->add_option("FILE", args->file, "A GEDCOM or self-viewing file")->required();
    cmd->add_option(
        "--columns", args->columns,
        "Column codes 1 to 68 separated by commas (default " + std::string(kDefaultColumns) + ")");
    cmd->add_option("--sort", args->sortCode, "Sort by this column code (one of --columns)");
    cmd->add_flag("--descending", args->descending, "Reverse the order");
    cmd->add_option("--island", args->island,
                    "Only the individuals of the island at this position (1 = largest)");
    cmd->add_option("--reference", args->reference,
                    "Individual that the relationship columns (38, 39, 52) relate to");
    cmd->add_flag("--csv", args->csv, "Comma-separated values, every field quoted");
    cmd->add_flag("--fit", args->fit, "Fixed columns as wide as their widest value");
    cmd->callback([args, &exitCode] { exitCode = RunGuarded([&] { return RunList(*args); }); });
}

}  // namespace kindrel::cli
