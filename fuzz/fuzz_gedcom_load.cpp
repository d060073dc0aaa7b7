// Fuzz target: loads the input as a GEDCOM file (index, links, marriage order), reads every
// record through the readers as the viewer's pages do, and runs the analyses over it: the
// islands, relationships, descendant walks, every list column and its sort keys.
#include "analysis/attrib.h"
#include "analysis/collection_iterator.h"
#include "analysis/des_iterator.h"
#include "analysis/islands.h"
#include "analysis/list_columns.h"
#include "analysis/rel_calc.h"
#include "containers/errors.h"
#include "gedcom/ged_collection.h"
#include "gedcom/ged_individual.h"
#include "gedcom/individual_report.h"

#include <unistd.h>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

using namespace kindrel;

void ReadNote(const std::unique_ptr<WABSNote>& note) {
    if (note) (void)note->Text();
}

void ReadCitations(int32_t count, const std::function<std::unique_ptr<WABSCitation>(int32_t)>& at) {
    for (int32_t i = 0; i <= count + 1; ++i) {
        if (const std::unique_ptr<WABSCitation> citation = at(i)) {
            (void)citation->FullText();
            if (const std::unique_ptr<WABSSource> source = citation->Source()) {
                (void)source->RecordText();
                ReadNote(source->SourceText());
            }
        }
    }
}

void ReadEvent(WABSEvent& event) {
    (void)event.DateText();
    (void)event.SortDateText();
    (void)event.PlaceText();
    (void)event.NoteText();
    (void)event.HasNote();
    (void)event.EventName();
    if (const std::unique_ptr<WABSPlace> place = event.Place()) {
        (void)place->PlaceName();
        ReadNote(place->Note());
        ReadCitations(place->CitationCount(), [&](int32_t i) { return place->Citation(i); });
    }
    ReadCitations(event.CitationCount(), [&](int32_t i) { return event.Citation(i); });
}

void ReadIndividual(WGEDCollection& c, int32_t n) {
    const std::unique_ptr<WABSIndividual> person = c.GetIndividual(n);
    (void)person->IdText();
    (void)person->RefNumberText();
    (void)person->AfnText();
    (void)person->Sex();
    (void)person->ChangeDateText();
    (void)person->SummaryText();
    (void)person->AgeText();
    (void)person->RecordText();
    (void)person->HasSources();
    (void)person->HasNotes();
    if (auto* ged = dynamic_cast<WGEDIndividual*>(person.get())) {
        for (const std::unique_ptr<WABSName>& name : ged->AllNames()) {
            (void)name->FullName(true);
            (void)name->Prefix();
            (void)name->Suffix();
            (void)name->NoteText();
            ReadCitations(name->CitationCount(), [&](int32_t i) { return name->Citation(i); });
        }
    }
    for (int kind = 0; kind <= 11; ++kind) {
        const int32_t count = person->EventCount(kind);
        for (int32_t i = 0; i <= count + 1; ++i) {
            if (std::unique_ptr<WABSEvent> event = person->Event(kind, i)) ReadEvent(*event);
        }
        if (std::unique_ptr<WABSLDSEvent> ordinance = person->LDSEvent(kind)) ReadEvent(*ordinance);
    }
    ReadCitations(person->CitationCount(), [&](int32_t i) { return person->Citation(i); });
    ReadNote(person->Note());
    (void)c.SummaryBlock(n);
    (void)IndividualReport(c, n);
}

void ReadFamily(WGEDCollection& c, int32_t f) {
    const std::unique_ptr<WABSMarriage> family = c.GetMarriage(f);
    family->OrderChildren();
    for (int32_t i = 0; i <= family->ChildCount() + 1; ++i) (void)family->Child(i);
    (void)family->DatePlaceText();
    (void)family->IdText();
    (void)family->NoteText();
    if (std::unique_ptr<WABSLDSEvent> sealing = family->Sealing()) ReadEvent(*sealing);
    ReadCitations(family->CitationCount(), [&](int32_t i) { return family->Citation(i); });
}

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Islands: every individual is in exactly one, and the sizes add up.
void RunIslands(WGEDCollection& c) {
    WIslands& islands = WIslands::Of(c);
    const int32_t count = islands.CalculateIslands();
    Check(count >= 0 && count <= std::max(c.IndividualCount(), 0));
    int64_t members = 0;
    for (int32_t position = 0; position <= count + 1; ++position) {
        const int32_t size = islands.IslandSize(position);
        if (position >= 1 && position <= count) {
            Check(size >= 1);
            members += size;
            const int32_t first = islands.IslandFirstIndividual(position);
            Check(first >= 1 && first <= c.IndividualCount());
            Check(islands.IslandNumberOf(first) == islands.IslandNumberAt(position));
        }
        (void)islands.IslandFamilyCount(position);
    }
    Check(members == c.IndividualCount());
    for (int32_t n = 0; n <= c.IndividualCount() + 1; ++n) (void)islands.IslandOf(n);
    for (int32_t f = 0; f <= c.FamilyCount() + 1; ++f) (void)islands.FamilyIslandNumberOf(f);
    if (count >= 1) {
        islands.UseIsland(count);
        Check(c.ViewCount() == islands.IslandSize(count));
        islands.ClearIsland();
    }
}

// Relationships between a few pairs, in both directions.
void RunRelationships(WGEDCollection& c) {
    const int32_t n = c.IndividualCount();
    if (n < 1) return;
    WRelCalc calc(&c);
    const int32_t pairs[][2] = {{1, n}, {n, 1}, {1, 1}, {std::min(2, n), std::max(n - 1, 1)}};
    for (const auto& pair : pairs) {
        (void)calc.Relationship(pair[0], pair[1]);
        (void)calc.CommonAncestorName(pair[0], pair[1], true);
        (void)calc.CommonAncestorName(pair[0], pair[1], false);
    }
}

// Descendant walks from the first and the last individual, with and without repeats.
void RunDescendants(WGEDCollection& c) {
    const int32_t n = c.IndividualCount();
    if (n < 1) return;
    WDesIterator walk;
    walk.SetCollection(&c);
    for (const int32_t root : {int32_t(1), n}) {
        for (const bool repeat : {false, true}) {
            walk.Start(root, repeat ? 3 : 0, repeat);
            for (int i = 0; i <= walk.RecordCount() + 1; ++i) {
                const WDesRecord r = walk.RecordOf(i);
                if (i >= 1 && i <= walk.RecordCount())
                    Check(r.individual >= 1 && r.individual <= n);
            }
        }
    }
}

// Every list column, a block of them at a time: header, every cell, and a sort by each
// column in both directions, which builds its sort keys.
void RunListColumns(WGEDCollection& c) {
    WListColumns columns(&c, "List");
    if (c.IndividualCount() >= 1) columns.SetReference(1);
    WColSortIterator iterator("", &c, c.ViewCount());
    columns.AttachIterator(&iterator);
    constexpr int kBlock = 17;
    for (int from = kFirstColumnCode; from <= kLastColumnCode; from += kBlock) {
        std::string codes;
        for (int code = from; code < from + kBlock && code <= kLastColumnCode; ++code)
            codes += (codes.empty() ? "" : ",") + std::to_string(code);
        columns.SetColumns(codes);
        for (int i = 1; i <= columns.ColumnCount(); ++i) {
            int state = 0;
            (void)columns.HeaderText(i, true, state);
            columns.SortByColumn(i);
            columns.SortByColumn(i);
            Check(iterator.Count() == c.ViewCount());
            for (int r = 1; r <= iterator.Count(); ++r) {
                const int32_t number = iterator.NumberAt(r);
                Check(number >= 1 && number <= c.IndividualCount());
                (void)columns.CellText(i, number);
            }
        }
    }
    columns.AttachIterator(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("kindrel_fuzz_load_" + std::to_string(::getpid()) + ".ged"))
                                        .string();
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    try {
        std::string error;
        std::unique_ptr<WGEDCollection> c = OpenGedcomCollection(path, error);
        if (!c || !c->LoadFile()) return 0;
        c->AfterLoad();
        for (int32_t n = 1; n <= c->IndividualCount(); ++n) ReadIndividual(*c, n);
        for (int32_t f = 1; f <= c->FamilyCount(); ++f) ReadFamily(*c, f);
        for (int32_t n = 1; n <= c->NoteCount(); ++n) ReadNote(c->GetNote(n));
        for (int32_t n = 1; n <= c->SourceCount(); ++n) {
            const std::unique_ptr<WABSSource> source = c->GetSource(n);
            (void)source->SummaryText();
            (void)source->RecordText();
            (void)source->RepositoryNumber();
            ReadNote(source->Note());
            ReadNote(source->SourceText());
        }
        for (int32_t n = 1; n <= c->Count(kBucketRepository); ++n) {
            const std::unique_ptr<WABSRepo> repo = c->GetRepo(n);
            (void)repo->RepoName();
            (void)repo->RecordText();
            if (const std::unique_ptr<WABSAddress> address = repo->Address()) {
                for (int k = 0; k < WABSAddress::kLineCount; ++k) (void)address->AddressLine(k);
            }
        }
        for (const HeaderInfoRow& row : c->GetHeaderInfo()) (void)row;
        (void)c->GetHeaderText();
        (void)c->FileSizeText();
        if (const std::unique_ptr<WABSSubmitter> submitter = c->GetSubmitter()) {
            for (int k = 0; k < WABSSubmitter::kFieldCount; ++k) (void)submitter->SubmitterField(k);
        }
        (void)c->FindIndividual("I1");
        RunIslands(*c);
        RunRelationships(*c);
        RunDescendants(*c);
        RunListColumns(*c);
    } catch (const KindrelError&) {
        // An empty input cannot be mapped; the message is the system's own.
    }
    return 0;
}
