#include "app/page_texts.h"

#include "analysis/des_iterator.h"
#include "app/app_texts.h"
#include "app/char_screen.h"
#include "app/descendant_rows.h"
#include "app/family_group.h"
#include "app/general_rows.h"
#include "model/collection.h"
#include "model/records.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <memory>

namespace kindrel {

namespace {

constexpr int kKindWithWebSite = 3;

std::string RightTrimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    return text;
}

std::string Trimmed(const std::string& text) {
    size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    return RightTrimmed(text.substr(start));
}

// "date, place" of an event, without the separator when either part is missing.
std::string DatePlace(WABSIndividual& person, int kind) {
    const std::string date = person.DateText(kind);
    const std::string place = person.PlaceText(kind);
    if (date.empty() || place.empty()) return date + place;
    return date + ", " + place;
}

// Appends "label value\n", or the label alone when the value holds nothing but a separator.
void AppendFamilyLine(std::string& out, const std::string& label, const std::string& value) {
    const std::string trimmed = Trimmed(value);
    if (trimmed.empty() || trimmed == ",") {
        out += label + "\n";
        return;
    }
    out += label + " " + UnixLineBreaks(value) + "\n";
}

// The block of one person of the family group; empty values for nobody.
void AppendPersonBlock(std::string& out, WABSCollection& collection, int32_t n, bool withSex) {
    std::unique_ptr<WABSIndividual> person;
    if (IsIndividualOf(collection, n)) person = collection.GetIndividual(n);
    const auto field = [&](int kind) { return person ? DatePlace(*person, kind) : std::string(); };
    AppendFamilyLine(out, "Name:   ", person ? person->DisplayName() : std::string());
    if (withSex) AppendFamilyLine(out, "Sex:    ", person ? std::string(1, person->Sex()) : "");
    AppendFamilyLine(out, "Birth:  ", field(kEventBirth));
    AppendFamilyLine(out, "Chr:    ", field(kEventChristening));
    AppendFamilyLine(out, "Death:  ", field(kEventDeath));
    AppendFamilyLine(out, "Burial: ", field(kEventBurial));
}

void AppendParents(std::string& out, WABSCollection& collection, int32_t n) {
    const bool known = IsIndividualOf(collection, n);
    const int32_t father = known ? collection.Father(n) : 0;
    const int32_t mother = known ? collection.Mother(n) : 0;
    AppendFamilyLine(out, "Father: ",
                     IsIndividualOf(collection, father) ? collection.DisplayNameOf(father) : "");
    AppendFamilyLine(out, "Mother: ",
                     IsIndividualOf(collection, mother) ? collection.DisplayNameOf(mother) : "");
}

char SexOf(WABSCollection& collection, int32_t n) {
    if (!IsIndividualOf(collection, n)) return 'U';
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    return person ? person->Sex() : 'U';
}

// The family in which n is a child (its parents' family), 0 when none.
int32_t ParentsFamily(WABSCollection& collection, int32_t n) {
    if (!IsIndividualOf(collection, n)) return 0;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    return person && person->ParentFamilyCount() > 0 ? person->ParentFamily(1) : 0;
}

// A person block of the pedigree: name, "b. ", "d. " and, with a family, "m. ". Nobody
// leaves the place blank.
void PutPedigreePerson(WCharScreen& screen, WABSCollection& collection, int line, int column,
                       int width, int32_t n, int32_t family) {
    if (!IsIndividualOf(collection, n)) return;
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    if (!person) return;
    screen.Put(line, column, width, person->FullName(true));
    screen.Put(line + 1, column, width, "b. " + DatePlace(*person, kEventBirth));
    screen.Put(line + 2, column, width, "d. " + DatePlace(*person, kEventDeath));
    if (family > 0) {
        const std::unique_ptr<WABSMarriage> marriage = ReadMarriage(collection, family);
        const std::string date = marriage->DateText();
        const std::string place = marriage->MarriagePlaceText();
        screen.Put(line + 3, column, width,
                   "m. " + (date.empty() || place.empty() ? date + place : date + ", " + place));
    }
}

}  // namespace

std::string GeneralPageText(WABSCollection& collection, const FileStatistics& statistics,
                            bool raw) {
    std::string out = "GENERAL INFORMATION\n\nFILE INFORMATION\n";
    out += "File Name:   " + std::filesystem::path(statistics.name).filename().string() + "\n";
    out += "File Size:   " + statistics.size + "\n";
    out += "File Date:   " + statistics.date + "\n";
    out += "Individuals: " + FormatCount(statistics.individuals) + "\n";
    out += "Families:    " + FormatCount(statistics.families) + "\n";
    out += "Notes:       " + FormatCount(statistics.notes) + "\n";
    out += "Sources:     " + FormatCount(statistics.sources) + "\n";
    out += "\nHEADER INFORMATION\n";
    if (raw) {
        out += HeaderRawText(collection);
        out += "\nSUBMITTER INFORMATION\n";
        out += SubmitterRawText(collection);
        return out;
    }
    for (const InfoRow& row : HeaderRows(collection))
        out += row.label + ":  " + UnixLineBreaks(row.value) + "\n";
    out += "\nSUBMITTER INFORMATION\n";
    const std::vector<InfoRow> submitter = SubmitterRows(collection);
    const char* labels[] = {"Name:      ",
                            "Address 1: ",
                            "Address 2: ",
                            "Address 3: ",
                            collection.Kind() == kKindWithWebSite ? "Web Site:  " : "Country:   ",
                            "Phone:     ",
                            "Email:     "};
    for (size_t i = 0; i < submitter.size() && i < std::size(labels); ++i)
        out += labels[i] + UnixLineBreaks(submitter[i].value) + "\n";
    return out;
}

std::string IndividualPageText(WABSCollection& collection, int32_t n, bool raw,
                               const WEventRowOptions& options) {
    if (!IsIndividualOf(collection, n)) return {};
    if (raw) {
        const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
        if (!person) return {};
        std::string text = UnixLineBreaks(person->RecordText());
        if (!text.empty() && text.back() != '\n') text += '\n';
        return text;
    }
    std::string out;
    for (const WEventRow& row : BuildEventRows(collection, n, true, nullptr, options)) {
        std::string parts;
        for (const std::string* part : {&row.date, &row.information, &row.notes}) {
            if (part->empty()) continue;
            if (!parts.empty()) parts += ", ";
            parts += UnixLineBreaks(*part);
        }
        out += row.type + ": " + parts + "\n";
    }
    return out;
}

bool IsHusbandBySex(char sex, char spouseSex) {
    if (sex == 'M') return true;
    return sex == 'U' && (spouseSex == 'F' || spouseSex == 'U');
}

std::string FamilyPageText(WABSCollection& collection, int32_t n, int k) {
    if (!IsIndividualOf(collection, n)) return {};
    const FamilyGroup group = BuildFamilyGroup(collection, n, k);
    const bool subjectIsHusband =
        IsHusbandBySex(SexOf(collection, n), group.spouse ? SexOf(collection, group.spouse) : 'U');
    const int32_t husband = subjectIsHusband ? n : group.spouse;
    const int32_t wife = subjectIsHusband ? group.spouse : n;
    std::string out = "FAMILY GROUP\n\nHUSBAND\n";
    AppendPersonBlock(out, collection, husband, false);
    AppendParents(out, collection, husband);
    out += "\nWIFE\n";
    AppendPersonBlock(out, collection, wife, false);
    AppendParents(out, collection, wife);
    for (size_t i = 0; i < group.children.size(); ++i) {
        out += "\nChild " + std::to_string(i + 1) + "\n";
        AppendPersonBlock(out, collection, group.children[i].child, true);
    }
    return out;
}

std::string PedigreePageText(WABSCollection& collection, int32_t n, int k) {
    if (!IsIndividualOf(collection, n)) return {};
    WCharScreen screen(kPedigreeCanvasLines, kPedigreeCanvasColumns);
    const SpouseFamilyChoice choice = ChooseSpouseFamily(collection, n, k);
    PutPedigreePerson(screen, collection, 12, 1, 45, n, choice.family);
    if (choice.spouse != 0) {
        screen.Put(26, 1, 40, "Spouse");
        PutPedigreePerson(screen, collection, 27, 1, 40, choice.spouse, 0);
    }
    const int32_t father = collection.Father(n);
    const int32_t mother = collection.Mother(n);
    PutPedigreePerson(screen, collection, 5, 10, 40, father, ParentsFamily(collection, n));
    PutPedigreePerson(screen, collection, 20, 10, 40, mother, 0);
    if (IsIndividualOf(collection, father)) {
        PutPedigreePerson(screen, collection, 1, 44, 40, collection.Father(father),
                          ParentsFamily(collection, father));
        PutPedigreePerson(screen, collection, 9, 44, 40, collection.Mother(father), 0);
    }
    if (IsIndividualOf(collection, mother)) {
        PutPedigreePerson(screen, collection, 16, 44, 40, collection.Father(mother),
                          ParentsFamily(collection, mother));
        PutPedigreePerson(screen, collection, 23, 44, 40, collection.Mother(mother), 0);
    }
    std::string out = "PEDIGREE CHART\n";
    for (int line = 1; line < kPedigreeCanvasLines; ++line)
        out += RightTrimmed(screen.Line(line)) + "\n";
    return out;
}

void AppendDescendantLines(WABSCollection& collection, const WDesIterator& walk, int from, int to,
                           std::string& out) {
    for (int i = from; i <= to; ++i) {
        const WDesRecord record = walk.RecordOf(i);
        if (record.individual == 0) continue;
        out.append(size_t(2) * size_t(record.generation > 0 ? record.generation : 0), ' ');
        out += DescendantRowText(BuildDescendantRow(collection, record));
        out += '\n';
    }
}

std::string DescendantListText(WABSCollection& collection, const WDesIterator& walk,
                               const std::function<bool(int, int)>& progress, int step) {
    std::string out;
    if (!DescendantListTextTo(
            collection, walk, [&out](std::string_view piece) { out += piece; }, progress, step))
        return {};
    return out;
}

bool DescendantListTextTo(WABSCollection& collection, const WDesIterator& walk,
                          const std::function<void(std::string_view)>& sink,
                          const std::function<bool(int, int)>& progress, int step) {
    constexpr size_t kPiece = size_t(1) << 20;
    std::string out = kDescendantListHeading;
    const int total = walk.RecordCount();
    if (step < 1) step = 1;
    for (int from = 1; from <= total; from += step) {
        const int to = std::min(total, from + step - 1);
        AppendDescendantLines(collection, walk, from, to, out);
        if (out.size() >= kPiece) {
            sink(out);
            out.clear();
        }
        if (progress && !progress(to, total)) return false;
    }
    if (!out.empty()) sink(out);
    return true;
}

}  // namespace kindrel
