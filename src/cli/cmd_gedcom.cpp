// Commands that load a GEDCOM (plain or inside a self-viewing file) and read it: info
// prints the counts, the character set, the header and the submitter; show prints one
// individual as the Individual page presents it.
#include "cli/cli_common.h"
#include "cli/cli_load.h"

#include "containers/errors.h"
#include "containers/ui_hooks.h"
#include "gedcom/ged_collection.h"
#include "gedcom/individual_report.h"
#include "services/embedded_gedcom.h"
#include "services/self_view_trailer.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

namespace kindrel::cli {

namespace {

// Prints "Label: value"; further lines of the value are indented under the first.
void PrintRow(const std::string& label, const std::string& value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
            text += '\n' + std::string(label.size() + 2, ' ');
        } else {
            text += c;
        }
    }
    std::cout << label << ": " << text << "\n";
}

int RunInfo(const std::string& file) {
    const auto start = std::chrono::steady_clock::now();
    CliCollection loaded = LoadCollectionForCli(file);
    const double loadSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    WGEDCollection& c = *loaded.collection;
    if (loaded.selfViewing) {
        PrintRow("Self-viewing file", "GEDCOM \"" + loaded.embedded.trailer.fileName + "\", " +
                                          std::to_string(loaded.embedded.expand.bytesWritten) +
                                          " bytes expanded");
        if (loaded.embedded.HadCrcFailures()) {
            PrintRow("Warning", std::to_string(loaded.embedded.expand.crcFailures) +
                                    " block(s) failed their CRC check");
        }
    }
    PrintRow("File size", c.FileSizeText() + " bytes");
    PrintRow("File date", c.FileDateText());
    PrintRow("Individuals", std::to_string(c.IndividualCount()));
    PrintRow("Families", std::to_string(c.FamilyCount()));
    PrintRow("Notes", std::to_string(c.NoteCount()));
    PrintRow("Sources", std::to_string(c.SourceCount()));
    PrintRow("Repositories", std::to_string(c.Count(kBucketRepository)));
    const std::string charSet = c.CharSetName();
    PrintRow("Character set", (charSet.empty() ? std::string("(none)") : charSet) + ", read as " +
                                  c.CharSetReading());
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", loadSeconds);
    PrintRow("Load time", std::string(seconds) + " s");
    for (const HeaderInfoRow& row : c.GetHeaderInfo()) PrintRow(row.label, row.value);
    if (const std::unique_ptr<WABSSubmitter> submitter = c.GetSubmitter()) {
        static const struct {
            int field;
            const char* label;
        } kFields[] = {
            {WABSSubmitter::kName, "Submitter name"},
            {WABSSubmitter::kAddress1, "Submitter address 1"},
            {WABSSubmitter::kAddress2, "Submitter address 2"},
            {WABSSubmitter::kAddress3, "Submitter address 3"},
            {WABSSubmitter::kCountry, "Submitter country"},
            {WABSSubmitter::kPhone, "Submitter phone"},
            {WABSSubmitter::kEmail, "Submitter e-mail"},
        };
        for (const auto& entry : kFields) {
            const std::string value = submitter->SubmitterField(entry.field);
            if (!value.empty()) PrintRow(entry.label, value);
        }
    }
    return 0;
}

int RunShow(const std::string& file, const std::string& who, bool raw) {
    CliCollection loaded = LoadCollectionForCli(file);
    WGEDCollection& c = *loaded.collection;
    const int32_t n = ResolveIndividual(c, who);
    if (raw) {
        const std::unique_ptr<WABSIndividual> person = c.GetIndividual(n);
        std::string text = person->RecordText();
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            out += text[i];
        }
        std::cout << out;
        if (!out.empty() && out.back() != '\n') std::cout << "\n";
        return 0;
    }
    std::cout << IndividualReport(c, n);
    return 0;
}

}  // namespace

void AddGedcomCommands(CLI::App& app, int& exitCode) {
    {
        auto file = std::make_shared<std::string>();
        CLI::App* cmd = app.add_subcommand(
            "info",
            "Load a GEDCOM or self-viewing file and print its counts, header and submitter");
        cmd->add_option("FILE", *file, "GEDCOM (.ged) or self-viewing file")->required();
        cmd->callback([file, &exitCode] { exitCode = RunGuarded([&] { return RunInfo(*file); }); });
    }
    {
        struct ShowArgs {
            std::string file;
            std::string who;
            bool raw = false;
        };
        auto args = std::make_shared<ShowArgs>();
        CLI::App* cmd = app.add_subcommand("show", "Print one individual of a GEDCOM file");
        cmd->add_option("FILE", args->file, "GEDCOM (.ged) or self-viewing file")->required();
        cmd->add_option("WHO", args->who, "Individual number, or identifier (@I12@ or I12)")
            ->required();
        cmd->add_flag("--raw", args->raw, "Print the individual's record as written");
        cmd->callback([args, &exitCode] {
            exitCode = RunGuarded([&] { return RunShow(args->file, args->who, args->raw); });
        });
    }
}

}  // namespace kindrel::cli
