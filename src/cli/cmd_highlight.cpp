// The highlight command: the individuals of a file that a condition string marks (the
// Highlighted tab as text), with the condition's description and their count.
#include "cli/cli_common.h"
#include "cli/cli_load.h"
#include "containers/errors.h"
#include "highlight/hl_catalogue.h"
#include "highlight/hl_group.h"
#include "highlight/hl_string.h"
#include "model/records.h"

#include <cstdio>
#include <memory>
#include <string>

namespace kindrel::cli {

namespace {

// Output is written in pieces of about this size.
constexpr size_t kFlushBytes = size_t(1) << 16;

struct HighlightArgs {
    std::string file;
    std::string conditions;
    bool describeOnly = false;
    bool csv = false;
};

// Checks the condition string before the file is loaded: it must parse, hold at most ten
// conditions and name only codes of the catalogue. Throws KindrelError saying what is wrong.
void CheckConditions(const std::string& text) {
    WHLString parsed;
    parsed.Parse(text);
    if (parsed.ConditionCount() > WHLGroup::kMaxRules) {
        throw KindrelError(std::string(WHLGroup::kTooManyRules) + ": at most " +
                           std::to_string(WHLGroup::kMaxRules) + " conditions, this string has " +
                           std::to_string(parsed.ConditionCount()) + ".");
    }
    for (int i = 0; i < parsed.ConditionCount(); ++i) {
        const int code = parsed.ConditionCode(i);
        if (!HLCodeMakesRule(code)) {
            throw KindrelError("Condition " + std::to_string(i + 1) + " \"" +
                               parsed.ConditionText(i) + "\" names no condition: codes run from " +
                               std::to_string(kHLFirstCode + 1) + " to " +
                               std::to_string(kHLLastCode) + ".");
        }
    }
}

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void Flush(std::string& out) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
}

int RunHighlight(const HighlightArgs& args) {
    CheckConditions(args.conditions);
    CliCollection loaded = LoadCollectionForCli(args.file);
    WABSCollection& collection = *loaded.collection;

    WHLGroup group(&collection);
    group.SetConditions(args.conditions);
    group.Recalculate();
    const std::unique_ptr<WColHLIterator> marked =
        CreateHLIterator("", &group, &collection, collection.ViewCount() / 16);
    EndProgressLine();

    std::string out;
    const int count = marked->Count();
    if (args.csv) {
        out += "\"#\",\"ID\",\"Name\"\r\n";
    } else {
        out += group.Describe() + "\n";
    }
    if (!args.describeOnly || args.csv) {
        for (int i = 1; i <= count; ++i) {
            const int32_t n = marked->NumberAt(i);
            const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
            const std::string id = person ? person->IdText() : std::string();
            const std::string name = person ? person->DisplayName() : std::string();
            if (args.csv) {
                AppendQuoted(out, std::to_string(n));
                out += ',';
                AppendQuoted(out, id);
                out += ',';
                AppendQuoted(out, name);
                out += "\r\n";
            } else {
                char number[16];
                std::snprintf(number, sizeof number, "%7d  ", n);
                out += number;
                out += id;
                out += "  ";
                out += name;
                out += '\n';
            }
            if (out.size() >= kFlushBytes) Flush(out);
        }
    }
    if (!args.csv) {
        out += std::to_string(count) + (count == 1 ? " individual" : " individuals") +
               " highlighted\n";
    }
    Flush(out);
    std::fflush(stdout);
    return 0;
}

}  // namespace

void AddHighlightCommands(CLI::App& app, int& exitCode) {
    auto args = std::make_shared<HighlightArgs>();
    CLI::App* cmd = app.add_subcommand(
        "highlight",
        "List the individuals that a condition string marks (the Highlighted tab as text)");
    cmd->add_option("FILE", args->file, "A GEDCOM or self-viewing file")->required();
    cmd->add_option("CONDITION", args->conditions,
                    "Conditions such as \"+21:15^3;A;-13\": a signed code 2 to 100, \":\" and "
                    "its parameter, joined by \";A;\" (and) or \";O;\" (or)")
        ->required();
    cmd->add_flag("--describe", args->describeOnly,
                  "Print only the description and the count, not the individuals");
    cmd->add_flag("--csv", args->csv,
                  "The individuals as comma-separated values (number, identifier, name), "
                  "every field quoted, without description and count");
    cmd->callback(
        [args, &exitCode] { exitCode = RunGuarded([&] { return RunHighlight(*args); }); });
}

}  // namespace kindrel::cli
