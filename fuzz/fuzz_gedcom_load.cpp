// Fuzz target: loads the input as a GEDCOM file (index, links, marriage order) and reads
// every record through the readers, as the viewer's pages do.
#include "containers/errors.h"
#include "gedcom/ged_collection.h"
#include "gedcom/ged_individual.h"
#include "gedcom/individual_report.h"

#include <unistd.h>
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
    } catch (const KindrelError&) {
        // An empty input cannot be mapped; the message is the system's own.
    }
    return 0;
}
