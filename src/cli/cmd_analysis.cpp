// Commands over the family data: the islands, a descendant list and the relationship of two
// individuals.
#include "analysis/des_iterator.h"
#include "analysis/islands.h"
#include "analysis/rel_calc.h"
#include "app/page_texts.h"
#include "cli/cli_common.h"
#include "cli/cli_load.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace kindrel::cli {

namespace {

struct IslandsArgs {
    std::string file;
    bool csv = false;
};

struct DescendantsArgs {
    std::string file;
    std::string who;
    int generations = 0;
    bool repeat = false;
};

struct RelateArgs {
    std::string file;
    std::string reference;
    std::string other;
};

// text between double quotes, inner double quotes doubled.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

int RunIslands(const IslandsArgs& args) {
    CliCollection loaded = LoadCollectionForCli(args.file);
    WABSCollection& collection = *loaded.collection;
    WIslands& islands = WIslands::Of(collection);
    const int32_t count = islands.CalculateIslands();
    EndProgressLine();
    if (args.csv) {
        std::cout << "\"#\",\"Ind\",\"Mar\",\"1st Individual\"\n";
    } else {
        std::printf("%5s %8s %8s %s\n", "#", "Ind", "Mar", "1st Individual");
    }
    for (int32_t position = 1; position <= count; ++position) {
        const std::string name = collection.DisplayNameOf(islands.IslandFirstIndividual(position));
        const int32_t size = islands.IslandSize(position);
        const int32_t families = islands.IslandFamilyCount(position);
        if (args.csv) {
            std::cout << Quoted(std::to_string(position)) << "," << Quoted(std::to_string(size))
                      << "," << Quoted(std::to_string(families)) << "," << Quoted(name) << "\n";
        } else {
            std::printf("%5d %8d %8d %s\n", position, size, families, name.c_str());
        }
    }
    std::fflush(stdout);
    return 0;
}

int RunDescendants(const DescendantsArgs& args) {
    CliCollection loaded = LoadCollectionForCli(args.file);
    WABSCollection& collection = *loaded.collection;
    const int32_t root = ResolveIndividual(collection, args.who);
    WDesIterator walk;
    walk.SetCollection(&collection);
    // 0 (the default) lists every generation the walk allows.
    walk.Start(root, args.generations, args.repeat);
    EndProgressLine();
    std::string out = "Descendants (" + std::to_string(walk.DescendantCount()) + " individuals)\n";
    // Written in slices so that a long list does not wait in memory.
    constexpr int kSlice = 4096;
    for (int from = 1; from <= walk.RecordCount(); from += kSlice) {
        AppendDescendantLines(collection, walk, from,
                              std::min(walk.RecordCount(), from + kSlice - 1), out);
        std::cout << out;
        out.clear();
    }
    std::cout << out;
    if (walk.Truncated()) {
        std::cerr << "kindrel: the list stops after " << WDesIterator::kMaxRecords
                  << " lines; use --generations to shorten it.\n";
        return 1;
    }
    return 0;
}

int RunRelate(const RelateArgs& args) {
    CliCollection loaded = LoadCollectionForCli(args.file);
    WABSCollection& collection = *loaded.collection;
    const int32_t reference = ResolveIndividual(collection, args.reference);
    const int32_t other = ResolveIndividual(collection, args.other);
    WRelCalc calc(&collection);
    const std::string relation = calc.Relationship(reference, other);
    const std::string ancestor = calc.CommonAncestorName(reference, other, true);
    EndProgressLine();
    std::cout << relation << "\n" << ancestor << "\n";
    return 0;
}

void AddIslands(CLI::App& app, int& exitCode) {
    auto args = std::make_shared<IslandsArgs>();
    CLI::App* cmd = app.add_subcommand(
        "islands", "List the islands (groups joined by family links), largest first");
    cmd->add_option("FILE", args->file, "A GEDCOM or self-viewing file")->required();
    cmd->add_flag("--csv", args->csv, "Write comma-separated values");
    cmd->callback([args, &exitCode] { exitCode = RunGuarded([&] { return RunIslands(*args); }); });
}

void AddDescendants(CLI::App& app, int& exitCode) {
    auto args = std::make_shared<DescendantsArgs>();
    CLI::App* cmd = app.add_subcommand("descendants", "List the descendants of an individual");
    cmd->add_option("FILE", args->file, "A GEDCOM or self-viewing file")->required();
    cmd->add_option("WHO", args->who, "Individual number or identifier (12, I12 or @I12@)")
        ->required();
    cmd->add_option("--generations", args->generations,
                    "Generations to list, 1 to 255 (default 0: all)")
        ->check(CLI::Range(0, 255));
    cmd->add_flag("--repeat", args->repeat,
                  "List an individual reached along several lines in full each time");
    cmd->callback(
        [args, &exitCode] { exitCode = RunGuarded([&] { return RunDescendants(*args); }); });
}

void AddRelate(CLI::App& app, int& exitCode) {
    auto args = std::make_shared<RelateArgs>();
    CLI::App* cmd = app.add_subcommand(
        "relate", "Name how OTHER is related by blood to REFERENCE, then their common ancestor");
    cmd->add_option("FILE", args->file, "A GEDCOM or self-viewing file")->required();
    cmd->add_option("REFERENCE", args->reference, "Individual number or identifier")->required();
    cmd->add_option("OTHER", args->other, "Individual number or identifier")->required();
    cmd->callback([args, &exitCode] { exitCode = RunGuarded([&] { return RunRelate(*args); }); });
}

}  // namespace

// Registers islands, descendants and relate.
void AddAnalysisCommands(CLI::App& app, int& exitCode) {
    AddIslands(app, exitCode);
    AddDescendants(app, exitCode);
    AddRelate(app, exitCode);
}

}  // namespace kindrel::cli
