#include "app/general_rows.h"

#include "app/app_texts.h"
#include "model/collection.h"
#include "model/records.h"
#include "services/options.h"

#include <memory>

namespace kindrel {

namespace {

constexpr size_t kMaxHeaderRows = 100;
constexpr int kKindWithoutNotes = 3;

}  // namespace

FileStatistics CollectStatistics(WABSCollection& collection, const std::string& displayName) {
    FileStatistics s;
    s.name = displayName;
    s.size = collection.FileSizeText();
    s.date = collection.FileDateText();
    s.individuals = collection.IndividualCount();
    s.families = collection.FamilyCount();
    s.notes = collection.NoteCount();
    s.sources = collection.SourceCount();
    s.kind = collection.Kind();
    return s;
}

std::vector<InfoRow> StatisticsRows(const FileStatistics* s) {
    std::vector<InfoRow> rows = {{"Name", {}, {}},      {"Size", {}, {}},  {"Date", {}, {}},
                                 {"Importing", {}, {}}, {"# Ind", {}, {}}, {"# Fam", {}, {}},
                                 {"# Notes", {}, {}},   {"# Srcs", {}, {}}};
    if (!s) return rows;
    rows[0].value = s->name;
    rows[1].value = s->size;
    rows[2].value = s->date;
    rows[3].value = s->importing;
    rows[4].value = FormatCount(s->individuals);
    rows[5].value = FormatCount(s->families);
    rows[6].value = s->kind == kKindWithoutNotes ? std::string("N/A") : FormatCount(s->notes);
    rows[7].value = FormatCount(s->sources);
    return rows;
}

std::vector<InfoRow> HeaderRows(WABSCollection& collection) {
    std::vector<InfoRow> rows;
    for (const HeaderInfoRow& entry : collection.GetHeaderInfo()) {
        if (rows.size() >= kMaxHeaderRows) break;
        rows.push_back({entry.label, entry.value, ParseTabOffsets(entry.third)});
    }
    return rows;
}

std::vector<InfoRow> SubmitterRows(WABSCollection& collection) {
    std::vector<InfoRow> rows = {
        {"Name", {}, {}},
        {"Addr 1", {}, {}},
        {"Addr 2", {}, {}},
        {"Addr 3", {}, {}},
        {collection.Kind() == kKindWithoutNotes ? "Web Site" : "Country", {}, {}},
        {"Phone", {}, {}},
        {"Email", {}, {}}};
    const std::unique_ptr<WABSSubmitter> submitter = collection.GetSubmitter();
    if (!submitter) return rows;
    constexpr int kFields[] = {WABSSubmitter::kName,     WABSSubmitter::kAddress1,
                               WABSSubmitter::kAddress2, WABSSubmitter::kAddress3,
                               WABSSubmitter::kCountry,  WABSSubmitter::kPhone,
                               WABSSubmitter::kEmail};
    for (size_t i = 0; i < rows.size(); ++i) rows[i].value = submitter->SubmitterField(kFields[i]);
    return rows;
}

std::string HeaderRawText(WABSCollection& collection) {
    return UnixLineBreaks(collection.GetHeaderText());
}

std::string SubmitterRawText(WABSCollection& collection) {
    const std::unique_ptr<WABSSubmitter> submitter = collection.GetSubmitter();
    return submitter ? UnixLineBreaks(submitter->SubmitterField(WABSSubmitter::kRecordText))
                     : std::string();
}

std::vector<int> ParseTabOffsets(const std::string& text) {
    std::vector<int> offsets;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        int value = 0;
        if (ParseSettingInt(text.substr(start, end - start), value) && value >= 0)
            offsets.push_back(value);
        start = end + 1;
    }
    return offsets;
}

std::vector<std::string> SplitAtTabs(const std::string& value) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t tab = value.find('\t', start);
        parts.push_back(
            value.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return parts;
}

std::string UnixLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace kindrel
