// The General, Individual and Family reports: short reports of label and value rows.
#include "reports/report_person_forms.h"

#include "app/app_texts.h"
#include "app/family_group.h"
#include "app/general_rows.h"
#include "model/collection.h"
#include "model/records.h"

#include <memory>

namespace kindrel {

namespace {

// The parts of a tab-separated value joined by blanks.
std::string JoinTabs(const std::string& value) {
    std::string out;
    for (const std::string& part : SplitAtTabs(value)) {
        if (part.empty()) continue;
        if (!out.empty()) out += "  ";
        out += part;
    }
    return out;
}

// date + ", " + place, empty when both are empty.
std::string DatePlace(const std::string& date, const std::string& place) {
    if (date.empty() && place.empty()) return {};
    if (place.empty()) return date;
    if (date.empty()) return place;
    return date + ", " + place;
}

// The text of an event's date and place, with its note after a line break when asked.
std::string EventValue(WABSEvent* event, bool withNote) {
    if (!event) return {};
    std::string text = DatePlace(event->DateText(), event->PlaceText());
    if (withNote && event->HasNote()) {
        const std::string note = event->NoteText();
        if (!note.empty()) text += "\n" + note;
    }
    return text;
}

// The summary of individual n (name, birth and death), empty for 0.
std::string Summary(WABSCollection& collection, int32_t n) {
    if (!IsIndividualOf(collection, n)) return {};
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    return person ? person->SummaryText() : std::string();
}

std::string FullName(WABSCollection& collection, int32_t n) {
    return IsIndividualOf(collection, n) ? collection.FullNameOf(n) : std::string();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// General

void TReportInfoForm::BuildBands(std::vector<WBand>& bands) {
    WABSCollection& c = *m_collection;
    bands.push_back(GroupBand("Header Information", "Information", "Description", 160));
    for (const InfoRow& row : HeaderRows(c))
        bands.push_back(ValueBand(row.label, JoinTabs(row.value), 150));

    bands.push_back(GroupBand("Submitter", "Description", "Information", 160));
    static const char* const kSubmitterLabels[] = {"Name",    "Address 1", "Address 2", "Address 3",
                                                   "Country", "Phone",     "Email"};
    const std::vector<InfoRow> submitter = SubmitterRows(c);
    for (size_t i = 0; i < submitter.size(); ++i) {
        std::string label = i < 7 ? kSubmitterLabels[i] : submitter[i].label;
        if (i == 4 && c.Kind() == 3) label = "Web Site";
        bands.push_back(ValueBand(label, JoinTabs(submitter[i].value), 150));
    }

    bands.push_back(GroupBand("File Information", "Stats", "Description", 160));
    const FileStatistics stats = CollectStatistics(c, m_sources.gedcomName);
    bands.push_back(ValueBand("File Name", stats.name, 150));
    bands.push_back(ValueBand("File Size", stats.size + " bytes", 150));
    bands.push_back(ValueBand("File Date", stats.date, 150));
    bands.push_back(ValueBand("# Individuals", FormatCount(stats.individuals), 150));
    bands.push_back(ValueBand("# Families", FormatCount(stats.families), 150));
    bands.push_back(ValueBand("# Notes", stats.kind == 3 ? "N/A" : FormatCount(stats.notes), 150));
    bands.push_back(ValueBand("# Sources", FormatCount(stats.sources), 150));
}

// ---------------------------------------------------------------------------------------------
// Individual

void TReportIndForm::BuildBands(std::vector<WBand>& bands) {
    WABSCollection& c = *m_collection;
    const std::unique_ptr<WABSIndividual> person = c.GetIndividual(m_subject);
    if (!person) return;
    const bool notes = m_settings.indNotes;
    constexpr int kLabelWidth = 150;

    bands.push_back(ValueBand(c.Kind() == 1 ? "REF/AFN/Cust ID" : "RIN/AFN/Cust ID",
                              person->IdText() + " / " + person->AfnText() + " / " +
                                  person->RefNumberText(),
                              kLabelWidth, true));
    bands.push_back(ValueBand("Name", person->FullName(true), kLabelWidth, true));
    bands.push_back(ValueBand("Sex", std::string(1, person->Sex()), kLabelWidth, true));

    bands.push_back(GroupBand("Vital Events"));
    static const std::pair<const char*, int> kVital[] = {
        {"Birth", 1}, {"Chr", 3}, {"Death", 2}, {"Burial", 4}};
    for (const auto& [label, kind] : kVital) {
        const std::unique_ptr<WABSEvent> event =
            person->EventCount(kind) > 0 ? person->Event(kind, 1) : nullptr;
        bands.push_back(ValueBand(label, EventValue(event.get(), notes), kLabelWidth));
    }

    const int32_t userEvents = person->EventCount(6);
    if (userEvents > 0) {
        bands.push_back(GroupBand("User Events"));
        for (int32_t i = 1; i <= userEvents; ++i) {
            const std::unique_ptr<WABSEvent> event = person->Event(6, i);
            if (!event) continue;
            bands.push_back(ValueBand(event->EventName(), EventValue(event.get(), notes),
                                      kLabelWidth));
        }
    }

    if (m_settings.useLds) {
        bands.push_back(GroupBand("LDS Events"));
        static const std::pair<const char*, int> kLds[] = {
            {"Baptism", 7}, {"Endowment", 8}, {"Sealed to Par.", 9}};
        for (const auto& [label, kind] : kLds)
            bands.push_back(ValueBand(
                label, DatePlace(person->LDSDateText(kind), person->LDSTempleText(kind, false)),
                kLabelWidth));
    }

    bands.push_back(GroupBand("Parents"));
    const int32_t parentFamilies = std::max<int32_t>(1, person->ParentFamilyCount());
    for (int32_t i = 1; i <= parentFamilies; ++i) {
        int32_t father = 0, mother = 0;
        if (const int32_t family = person->ParentFamilyCount() >= i ? person->ParentFamily(i) : 0;
            family > 0) {
            const std::unique_ptr<WABSMarriage> marriage = ReadMarriage(c, family);
            father = marriage->Husband();
            mother = marriage->Wife();
        }
        const bool primary = i == 1 && parentFamilies > 1;
        bands.push_back(ValueBand(primary ? "Father (P)" : "Father", Summary(c, father), kLabelWidth));
        bands.push_back(ValueBand(primary ? "Mother (P)" : "Mother", Summary(c, mother), kLabelWidth));
    }

    const int32_t spouseFamilies = person->SpouseFamilyCount();
    if (spouseFamilies > 0) bands.push_back(GroupBand("Marriages"));
    for (int32_t i = 1; i <= spouseFamilies; ++i) {
        const int32_t family = person->SpouseFamily(i);
        const std::unique_ptr<WABSMarriage> marriage = ReadMarriage(c, family);
        const int32_t spouse = marriage->OtherSpouse(m_subject);
        bands.push_back(ValueBand("Marriage " + std::to_string(i),
                                  FullName(c, spouse) + ", m. " + marriage->DatePlaceText(),
                                  kLabelWidth));
        marriage->OrderChildren();
        const bool husband = marriage->Husband() == m_subject;
        for (int32_t j = 1; j <= marriage->ChildCount(); ++j) {
            const int32_t child = marriage->Child(j);
            if (!IsIndividualOf(c, child)) continue;
            std::string word;
            if (const std::unique_ptr<WABSIndividual> kid = c.GetIndividual(child)) {
                for (int32_t k = 1; k <= kid->ParentFamilyCount(); ++k) {
                    int32_t linked = 0;
                    int fatherCode = 0, motherCode = 0;
                    if (!kid->ParentFamilyLink(k, linked, fatherCode, motherCode) || linked != family)
                        continue;
                    word = WABSCollection::RelationText(WABSCollection::ChildRelationCode(
                        husband ? fatherCode : motherCode, kid->Sex()));
                    break;
                }
            }
            bands.push_back(ValueBand("   " + word, Summary(c, child), kLabelWidth));
        }
    }

    if (notes) {
        const std::string text = person->NoteText();
        if (!text.empty()) {
            bands.push_back(GroupBand("Notes"));
            // One band per line, so that a long note splits over pages between its lines.
            for (const std::string& line :
                 WrapToWidth(Metrics(), text, kReportPageWidth - 10, kReportTextSize, false)) {
                WBand band;
                band.Label(5, 1, kReportPageWidth - 10, ReportOneLine(line));
                band.height = kReportLineHeight + 2;
                bands.push_back(std::move(band));
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Family

bool SubjectIsHusband(char subjectSex, char spouseSex) {
    if (subjectSex == 'M') return true;
    if (subjectSex == 'F') return false;
    return spouseSex == 'F' || spouseSex == 'U' || spouseSex == 0;
}

namespace {

constexpr int kDateX = 100, kDateW = 190, kPlaceX = 300;

WBand DatePlaceBand(const std::string& label, const std::string& date, const std::string& place) {
    WBand band;
    band.Label(10, 1, kDateX - 15, label);
    band.Label(kDateX, 1, kDateW, ReportOneLine(date));
    band.Label(kPlaceX, 1, kReportPageWidth - kPlaceX, ReportOneLine(place));
    band.height = kReportLineHeight + 2;
    return band;
}

WBand NameBand(const std::string& caption, const std::string& name, const std::string& sex,
               bool withHeads) {
    WBand band;
    band.Rule(0, 2, kReportPageWidth);
    band.Label(5, 6, 90, caption, true);
    band.Label(kDateX, 6, 520, ReportOneLine(name), true);
    if (!sex.empty()) band.Label(640, 6, 75, "Sex: " + sex);
    int y = 6 + kReportLineHeight + 2;
    if (withHeads) {
        band.Label(kDateX, y, kDateW, "Date", true);
        band.Label(kPlaceX, y, 200, "Place", true);
        y += kReportLineHeight;
    }
    band.height = y + 2;
    return band;
}

void PersonEventBands(WABSCollection& c, int32_t n, bool useLds, std::vector<WBand>& bands) {
    std::unique_ptr<WABSIndividual> person = IsIndividualOf(c, n) ? c.GetIndividual(n) : nullptr;
    static const std::pair<const char*, int> kEvents[] = {
        {"Born", 1}, {"Christened", 3}, {"Died", 2}, {"Buried", 4}};
    for (const auto& [label, kind] : kEvents)
        bands.push_back(DatePlaceBand(label, person ? person->DateText(kind) : std::string(),
                                      person ? person->PlaceText(kind) : std::string()));
    if (useLds) {
        static const std::pair<const char*, int> kLds[] = {{"B", 7}, {"E", 8}, {"SP", 9}};
        for (const auto& [label, kind] : kLds)
            bands.push_back(DatePlaceBand(label, person ? person->LDSDateText(kind) : std::string(),
                                          person ? person->LDSTempleText(kind, false)
                                                 : std::string()));
    }
}

}  // namespace

std::string TReportFamilyForm::Title() { return "Family Group Information"; }

void TReportFamilyForm::BuildBands(std::vector<WBand>& bands) {
    WABSCollection& c = *m_collection;
    SpouseFamilyChoice choice = ChooseSpouseFamily(c, m_subject, m_settings.familyIndex);
    const int32_t spouse = choice.spouse;
    const std::unique_ptr<WABSIndividual> subject = c.GetIndividual(m_subject);
    const std::unique_ptr<WABSIndividual> partner = spouse ? c.GetIndividual(spouse) : nullptr;
    const bool subjectHusband =
        SubjectIsHusband(subject ? subject->Sex() : 'U', partner ? partner->Sex() : 0);
    const int32_t husband = subjectHusband ? m_subject : spouse;
    const int32_t wife = subjectHusband ? spouse : m_subject;
    WABSMarriage* marriage = choice.marriage.get();

    const auto couple = [&](const char* caption, int32_t n) {
        bands.push_back(NameBand(caption, FullName(c, n), {}, true));
        PersonEventBands(c, n, m_settings.useLds, bands);
        bands.push_back(DatePlaceBand("Married", marriage ? marriage->DateText() : std::string(),
                                      marriage ? marriage->MarriagePlaceText() : std::string()));
        if (m_settings.useLds)
            bands.push_back(DatePlaceBand(
                "SS", marriage ? c.SealingDateText(m_subject, choice.index) : std::string(),
                marriage ? c.SealingTempleText(m_subject, choice.index, false) : std::string()));
        bands.push_back(ValueBand("Father", FullName(c, n > 0 ? c.Father(n) : 0), 85));
        bands.push_back(ValueBand("Mother", FullName(c, n > 0 ? c.Mother(n) : 0), 85));
    };
    couple("Husband", husband);
    couple("Wife", wife);

    if (!marriage) return;
    marriage->OrderChildren();
    const int32_t children = marriage->ChildCount();
    if (children > 0) bands.push_back(GroupBand("Children"));
    // Every child is listed, however many the family has.
    for (int32_t j = 1; j <= children; ++j) {
        const int32_t child = marriage->Child(j);
        if (!IsIndividualOf(c, child)) continue;
        const std::unique_ptr<WABSIndividual> kid = c.GetIndividual(child);
        bands.push_back(NameBand(std::to_string(j), FullName(c, child),
                                 std::string(1, kid ? kid->Sex() : 'U'), false));
        PersonEventBands(c, child, m_settings.useLds, bands);
        int32_t childSpouse = 0;
        std::string date, place;
        if (kid && kid->SpouseFamilyCount() > 0) {
            const std::unique_ptr<WABSMarriage> own = ReadMarriage(c, kid->SpouseFamily(1));
            childSpouse = own->OtherSpouse(child);
            date = own->DateText();
            place = own->MarriagePlaceText();
        }
        bands.push_back(ValueBand("Spouse", FullName(c, childSpouse), 85));
        bands.push_back(DatePlaceBand("Married", date, place));
        if (m_settings.useLds && childSpouse)
            bands.push_back(DatePlaceBand("SS", c.SealingDateText(child, 1),
                                          c.SealingTempleText(child, 1, false)));
    }
}

}  // namespace kindrel
