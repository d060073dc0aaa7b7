#include "app/list_text.h"

#include "analysis/collection_iterator.h"
#include "analysis/islands.h"
#include "analysis/list_columns.h"
#include "app/app_texts.h"
#include "model/collection.h"
#include "model/records.h"

#include <algorithm>
#include <cstdio>

namespace kindrel {

namespace {

// Rows between two progress calls of a copy.
constexpr int kCopyProgressRows = 25;
// Rows written before the text's final size is estimated.
constexpr int kReserveAfterRows = 2000;

std::string NoteLines(std::unique_ptr<WABSNote> note) {
    return note ? note->Text() : std::string();
}

}  // namespace

size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

void AppendFixedField(std::string& out, std::string_view text, size_t cut, size_t pad) {
    size_t characters = 0;
    size_t end = 0;
    while (end < text.size()) {
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80) {
            if (characters == cut) break;
            ++characters;
        }
        ++end;
    }
    out.append(text.substr(0, end));
    if (pad > characters) out.append(pad - characters, ' ');
}

void AppendCsvField(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string CellForCopy(std::string text) {
    std::erase(text, '\t');
    return text;
}

FixedField FixedFieldOfWidth(int widthPixels) {
    const int units = widthPixels / 5;
    if (units < 2) return {};
    return {static_cast<size_t>(units - 2), static_cast<size_t>(units - 1)};
}

WListLineWriter::WListLineWriter(bool csv, std::vector<FixedField> fields, std::string lineEnd,
                                 bool padLast)
    : m_csv(csv), m_fields(std::move(fields)), m_lineEnd(std::move(lineEnd)), m_padLast(padLast) {}

void WListLineWriter::AppendLine(std::string& out, const std::vector<std::string>& cells) const {
    const size_t columns = m_csv ? cells.size() : m_fields.size();
    for (size_t k = 0; k < columns; ++k) {
        const std::string_view cell = k < cells.size() ? std::string_view(cells[k]) : "";
        if (m_csv) {
            if (k > 0) out += ',';
            AppendCsvField(out, cell);
            continue;
        }
        const FixedField& field = m_fields[k];
        if (field.pad == 0) continue;
        AppendFixedField(out, cell, field.cut, k + 1 == columns && !m_padLast ? 0 : field.pad);
    }
    out += m_lineEnd;
}

bool RenderListText(const WListColumns& columns, WColSortIterator& iterator, bool csv,
                    std::string& out, const std::function<bool(int, int)>& progress) {
    const int columnCount = columns.ColumnCount();
    std::vector<FixedField> fields;
    std::vector<std::string> cells(static_cast<size_t>(columnCount));
    for (int c = 1; c <= columnCount; ++c) {
        fields.push_back(FixedFieldOfWidth(columns.Width(c)));
        int state = 0;
        cells[static_cast<size_t>(c - 1)] = CellForCopy(columns.HeaderText(c, false, state));
    }
    const WListLineWriter writer(csv, std::move(fields), "\r\n");
    writer.AppendLine(out, cells);
    const int rows = iterator.Count();
    for (int r = 1; r <= rows; ++r) {
        if (progress && r % kCopyProgressRows == 0 && !progress(r, rows)) return false;
        // Room for the whole text, estimated from the first rows, so that a long list is not
        // copied again and again as it grows.
        if (r == kReserveAfterRows && rows > r)
            out.reserve(out.size() + out.size() / static_cast<size_t>(r) *
                                         static_cast<size_t>(rows - r) * 9 / 8);
        const int32_t n = iterator.NumberAt(r);
        for (int c = 1; c <= columnCount; ++c)
            cells[static_cast<size_t>(c - 1)] = CellForCopy(columns.CellText(c, n));
        writer.AppendLine(out, cells);
    }
    return true;
}

std::string RenderIslandsText(const std::vector<IslandRow>& rows, bool csv) {
    std::string out;
    const auto quoted = [](const std::string& name) {
        std::string text;
        for (const char c : name) {
            if (c == '"') text += '"';
            text += c;
        }
        return text;
    };
    char line[128];
    if (csv) {
        out += "\"#\",\"Ind\",\"Mar\",\"Note\",\"Source\",\"1st Individual\"\r\n";
    } else {
        out += "ISLANDS\r\n\r\n";
        std::snprintf(line, sizeof line, "%5s %8s %8s %8s %8s %s", "#", "Ind", "Mar", "Note",
                      "Source", "1st Individual");
        out += line;
        out += "\r\n";
    }
    for (const IslandRow& row : rows) {
        const std::string individuals = FormatCount(row.individuals);
        const std::string families = FormatCount(row.families);
        const std::string notes = FormatCount(row.notes);
        const std::string sources = FormatCount(row.sources);
        if (csv) {
            std::snprintf(line, sizeof line, "\"%d\",\"%s\",\"%s\",\"%s\",\"%s\",\"", row.position,
                          individuals.c_str(), families.c_str(), notes.c_str(), sources.c_str());
            out += line;
            out += quoted(row.firstName);
            out += "\"\r\n";
        } else {
            std::snprintf(line, sizeof line, "%5d %8s %8s %8s %8s ", row.position,
                          individuals.c_str(), families.c_str(), notes.c_str(), sources.c_str());
            out += line;
            out += quoted(row.firstName);
            out += "\r\n";
        }
    }
    return out;
}

std::vector<IslandRow> BuildIslandRows(WABSCollection& collection, WIslands& islands,
                                       const std::function<bool(int, int)>& progress) {
    const int32_t count = islands.IslandCount();
    std::vector<IslandRow> rows(static_cast<size_t>(std::max(0, count)));
    for (int32_t p = 1; p <= count; ++p) {
        IslandRow& row = rows[static_cast<size_t>(p - 1)];
        row.position = p;
        row.individuals = islands.IslandSize(p);
        row.families = islands.IslandFamilyCount(p);
        row.firstName = collection.DisplayNameOf(islands.IslandFirstIndividual(p));
    }
    // The note and source columns count the members with notes and with sources (their own
    // or their families'): one pass over the individuals, each counted in its island's row.
    const int32_t individuals = collection.IndividualCount();
    for (int32_t n = 1; n <= individuals; ++n) {
        if (progress && n % (kCopyProgressRows * 40) == 0 && !progress(n, individuals)) return {};
        const int32_t p = islands.IslandOf(n);
        if (p < 1 || p > count) continue;
        IslandRow& row = rows[static_cast<size_t>(p - 1)];
        if (collection.HasAnyNotes(n)) ++row.notes;
        if (collection.HasAnySources(n)) ++row.sources;
    }
    return rows;
}

std::string IndividualsLabel(long long count) {
    return FormatCount(count) + " Individuals";
}

std::string IslandsLabel(long long count) {
    return FormatCount(count) + " islands";
}

std::string SourcesLabel(long long count) {
    return std::to_string(count) + " Sources";
}

std::string UseIslandText(int32_t position) {
    if (position <= 0) return "Use Islands";
    return "Use Island (" + std::to_string(position) + ")";
}

std::string SourcesHintText() {
    return "Column 1: Source number\r\nColumn 2: Has note indicator\r\nColumn 3: Has text "
           "indicator\r\nColumn 4: Has repository indicator\r\nColumn 5: Title\r\nColumn 6: "
           "Abbreviation\r\nColumn 7: Author\r\nColumn 8: Publication\r\nColumn 9: Call number";
}

std::string OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            line += ' ';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;  // CR LF: one blank
        } else if (c == '\n') {
            line += ' ';
        } else {
            line += c;
        }
    }
    return line;
}

SourceDetails BuildSourceDetails(WABSCollection& collection, int32_t source) {
    SourceDetails details;
    if (source < 1 || source > collection.SourceCount()) return details;
    const std::unique_ptr<WABSSource> record = collection.GetSource(source);
    if (!record) return details;
    details.title = OneLine(record->TitleText());
    details.author = OneLine(record->AuthorText());
    details.abbreviation = OneLine(record->AbbreviationText());
    details.publication = OneLine(record->PublicationText());
    details.callNumber = OneLine(record->CallNumberText());
    details.text = NoteLines(record->SourceText());
    details.note = NoteLines(record->DisplayNote());
    details.raw = record->RecordText();
    if (const int32_t r = record->RepositoryNumber(); r > 0)
        if (const std::unique_ptr<WABSRepo> repository = collection.GetRepo(r)) {
            details.repository = repository->RepoName();
            if (const std::unique_ptr<WABSAddress> address = repository->Address()) {
                std::string lines;
                for (int k = 0; k < WABSAddress::kLineCount; ++k) {
                    const std::string line = OneLine(address->AddressLine(k));
                    if (line.find_first_not_of(' ') == std::string::npos) continue;
                    if (!lines.empty()) lines += ", ";
                    lines += line;
                }
                if (!lines.empty()) details.repository += "\r\n" + lines;
            }
        }
    return details;
}

std::string SourceNoteCaption(int collectionKind) {
    return collectionKind == kKindTmg ? "Construction Sentence" : "Note";
}

std::string SourceDetailsText(const SourceDetails& details, bool raw) {
    if (raw) return details.raw;
    std::string text;
    const auto add = [&text](const char* label, const std::string& value) {
        text += label;
        text += value;
        text += "\r\n";
    };
    add("Title:        ", details.title);
    add("Author:       ", details.author);
    add("Abbreviation: ", details.abbreviation);
    add("Publication:  ", details.publication);
    add("Call Number:  ", details.callNumber);
    if (!details.text.empty()) add("\r\nText:\r\n", details.text);
    if (!details.note.empty()) add("\r\nNote:\r\n", details.note);
    if (!details.repository.empty()) add("\r\nRepository:\r\n", details.repository);
    return text;
}

std::vector<std::string> SourceRowCells(WABSCollection& collection, int32_t source) {
    std::vector<std::string> cells(9);
    if (source < 1 || source > collection.SourceCount()) return cells;
    cells[0] = FormatCount(source);
    const std::unique_ptr<WABSSource> record = collection.GetSource(source);
    if (!record) return cells;
    cells[1] = record->HasNoteFlag() ? "Y" : "";
    cells[2] = record->HasSourceText() ? "Y" : "";
    cells[3] = record->HasRepository() ? "Y" : "";
    cells[4] = OneLine(record->TitleText());
    cells[5] = OneLine(record->AbbreviationText());
    cells[6] = OneLine(record->AuthorText());
    cells[7] = OneLine(record->PublicationText());
    cells[8] = OneLine(record->CallNumberText());
    return cells;
}

}  // namespace kindrel
