#include "gedcom/individual_report.h"

#include "gedcom/ged_events.h"
#include "gedcom/ged_individual.h"
#include "model/date.h"

#include <memory>
#include <vector>

namespace kindrel {

namespace {

// Text with CR LF, lone CR and lone LF breaks as "\n" + indent.
std::string Indented(const std::string& text, const std::string& indent) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\n';
            out += indent;
        } else {
            out += c;
        }
    }
    return out;
}

void AddLine(std::string& out, const std::string& indent, const std::string& label,
             const std::string& value) {
    out += indent;
    out += label;
    out += ": ";
    out += Indented(value, indent + "  ");
    out += '\n';
}

// "date, place" without a dangling separator.
std::string DatePlace(const std::string& date, const std::string& place) {
    if (date.empty()) return place;
    if (place.empty()) return date;
    return date + ", " + place;
}

// The name of individual n with its birth and death years, or "<none>" for 0.
std::string PersonText(WABSCollection& collection, int32_t n) {
    if (n == 0) return "<none>";
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    if (!person) return "<none>";
    std::string text = person->DisplayName();
    const std::string birth = person->DateText(kEventBirth);
    const std::string death = person->DateText(kEventDeath);
    if (!birth.empty() || !death.empty()) {
        text += " (";
        if (!birth.empty()) text += "b. " + birth;
        if (!birth.empty() && !death.empty()) text += ", ";
        if (!death.empty()) text += "d. " + death;
        text += ")";
    }
    return text;
}

// The whole identifier of a family ("F3"); the abstract IdText for other storage.
std::string XrefOf(WABSMarriage& marriage) {
    auto* ged = dynamic_cast<WGEDMarriage*>(&marriage);
    return ged != nullptr ? ged->XrefText() : marriage.IdText();
}

void AddEvent(std::string& out, WABSEvent& event, const WDate* birth) {
    const std::string label = EventLabel(event);
    std::string value = DatePlace(event.DateText(), event.PlaceText());
    const std::string age =
        event.Kind() == kEventBirth ? std::string() : AgeAtEvent(birth, event.Date());
    if (!age.empty())
        value += (value.empty() ? "age " : " (age ") + age + (value.empty() ? "" : ")");
    AddLine(out, "  ", label, value);
    const std::string note = event.NoteText();
    if (!note.empty()) AddLine(out, "    ", "Note", note);
    const std::string sources = event.CitationsText();
    if (!sources.empty()) AddLine(out, "    ", "Sources", sources);
}

}  // namespace

std::string AgeAtEvent(const WDate* birth, const WDate* event) {
    if (birth == nullptr || event == nullptr || !birth->IsSet() || !event->IsSet()) return {};
    if (birth->Compare(*event) > 0) return {};
    WDateDiff diff;
    if (!diff.Compute(birth, event)) return {};
    return diff.AgeText();
}

std::string EventLabel(WABSEvent& event) {
    switch (event.Kind()) {
        case kEventBirth:
            return "Birth";
        case kEventDeath:
            return "Death";
        case kEventChristening:
            return "Christening";
        case kEventBurial:
            return "Burial";
        default:
            break;
    }
    const std::string name = event.EventName();
    const std::string& type = event.TypeText();
    if (name.empty()) return type.empty() ? "Event" : type;
    if (type.empty() || type == name) return name;
    return name + " (" + type + ")";
}

std::string LdsKindName(int kind) {
    switch (kind) {
        case kEventLdsBaptism:
            return "LDS baptism";
        case kEventLdsEndowment:
            return "LDS endowment";
        case kEventLdsSealingToParents:
            return "LDS sealing to parents";
        case kEventLdsSealingToSpouse:
            return "LDS sealing to spouse";
        default:
            return {};
    }
}

namespace {

void AddOrdinance(std::string& out, const std::string& indent, WABSLDSEvent& ordinance) {
    std::string value = ordinance.DateText();
    auto* ged = dynamic_cast<WGEDLDSEvent*>(&ordinance);
    // Without a DATE line the ordinance's date is read from its status; show that once.
    if (ged != nullptr && !ged->HasDateLine()) value.clear();
    const std::string place = ordinance.PlaceText();
    if (!place.empty()) {
        value = DatePlace(value, (ordinance.HasTemple() ? "temple " : "") + place);
    }
    if (ged != nullptr) {
        const std::string status = ged->StatusText();
        if (!status.empty()) value += (value.empty() ? "status " : ", status ") + status;
    }
    AddLine(out, indent, LdsKindName(ordinance.Kind()), value);
}

}  // namespace

std::string IndividualReport(WABSCollection& collection, int32_t n) {
    const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(n);
    if (!person) return {};
    auto* ged = dynamic_cast<WGEDIndividual*>(person.get());
    std::string out;
    out += "Individual " + std::to_string(n) + ": @" +
           (ged != nullptr ? ged->XrefText() : person->IdText()) + "@\n";

    // Names and the record's own fields.
    if (ged != nullptr) {
        const std::vector<std::unique_ptr<WABSName>> names = ged->AllNames();
        for (std::size_t k = 0; k < names.size(); ++k) {
            AddLine(out, "", k == 0 ? "Name" : "Also known as", names[k]->FullName(true));
            const std::string note = names[k]->NoteText();
            if (!note.empty()) AddLine(out, "  ", "Note", note);
            const std::string sources = names[k]->CitationsText();
            if (!sources.empty()) AddLine(out, "  ", "Sources", sources);
        }
        if (names.empty()) AddLine(out, "", "Name", "");
    } else {
        AddLine(out, "", "Name", person->FullName(true));
    }
    AddLine(out, "", "Sex", std::string(1, person->Sex()));
    const std::string refn = person->RefNumberText();
    if (!refn.empty()) AddLine(out, "", "Reference number", refn);
    const std::string afn = person->AfnText();
    if (!afn.empty()) AddLine(out, "", "AFN", afn);
    const std::string age = person->AgeText();
    if (!age.empty()) AddLine(out, "", "Age", age);
    const std::string changed = person->ChangeDateText();
    if (!changed.empty()) AddLine(out, "", "Changed", changed);

    // Events: birth and christening, the other events in file order, death and burial.
    std::unique_ptr<WABSEvent> birthEvent = person->Event(kEventBirth, 1);
    const WDate* birth = birthEvent ? birthEvent->Date() : nullptr;
    std::string events;
    for (const int kind : {kEventBirth, kEventChristening}) {
        if (std::unique_ptr<WABSEvent> event = person->Event(kind, 1))
            AddEvent(events, *event, birth);
    }
    const int32_t others = person->EventCount(kEventOther);
    for (int32_t i = 1; i <= others; ++i) {
        if (std::unique_ptr<WABSEvent> event = person->Event(kEventOther, i)) {
            AddEvent(events, *event, birth);
        }
    }
    for (const int kind : {kEventDeath, kEventBurial}) {
        if (std::unique_ptr<WABSEvent> event = person->Event(kind, 1))
            AddEvent(events, *event, birth);
    }
    if (!events.empty()) out += "Events:\n" + events;

    std::string ordinances;
    for (const int kind : {kEventLdsBaptism, kEventLdsEndowment, kEventLdsSealingToParents}) {
        if (std::unique_ptr<WABSLDSEvent> ordinance = person->LDSEvent(kind)) {
            AddOrdinance(ordinances, "  ", *ordinance);
        }
    }
    if (!ordinances.empty()) out += "LDS ordinances:\n" + ordinances;

    // Parents, with the relation words of the link codes.
    const char sex = person->Sex();
    const int32_t parentFamilies = person->ParentFamilyCount();
    for (int32_t i = 1; i <= parentFamilies; ++i) {
        int32_t family = 0;
        int fatherCode = 0;
        int motherCode = 0;
        person->ParentFamilyLink(i, family, fatherCode, motherCode);
        const std::unique_ptr<WABSMarriage> marriage = collection.GetMarriage(family);
        if (!marriage) continue;
        out += "Parents in family " + std::to_string(family) + " @" + XrefOf(*marriage) + "@";
        out +=
            ": " + WABSCollection::RelationText(WABSCollection::ChildRelationCode(fatherCode, sex));
        if (ged != nullptr) {
            const std::string pedigree = ged->PedigreeText(family);
            if (!pedigree.empty()) out += ", pedigree " + pedigree;
        }
        out += '\n';
        AddLine(out, "  ", WABSCollection::RelationText(fatherCode),
                PersonText(collection, marriage->Husband()));
        AddLine(out, "  ", WABSCollection::RelationText(motherCode),
                PersonText(collection, marriage->Wife()));
    }

    // Families as spouse, in marriage order, with the children in birth order.
    const int32_t spouseFamilies = person->SpouseFamilyCount();
    for (int32_t i = 1; i <= spouseFamilies; ++i) {
        const int32_t family = person->SpouseFamily(i);
        const std::unique_ptr<WABSMarriage> marriage = collection.GetMarriage(family);
        if (!marriage) continue;
        out += "Marriage " + std::to_string(i) + " of " + std::to_string(spouseFamilies) +
               ", family " + std::to_string(family) + " @" + XrefOf(*marriage) + "@:\n";
        AddLine(out, "  ", "Spouse", PersonText(collection, marriage->OtherSpouse(n)));
        std::string married = DatePlace(marriage->DateText(), marriage->MarriagePlaceText());
        const std::string age = AgeAtEvent(birth, marriage->Date());
        if (!age.empty()) married += " (age " + age + ")";
        AddLine(out, "  ", "Married", married);
        if (std::unique_ptr<WABSLDSEvent> sealing = marriage->Sealing()) {
            AddOrdinance(out, "  ", *sealing);
        }
        const std::string note = marriage->NoteText();
        if (!note.empty()) AddLine(out, "  ", "Note", note);
        const std::string sources = marriage->CitationsText();
        if (!sources.empty()) AddLine(out, "  ", "Sources", sources);
        marriage->OrderChildren();
        const int parentCode = marriage->Husband() == n ? 1 : 7;
        for (int32_t c = 1; c <= marriage->ChildCount(); ++c) {
            const int32_t child = marriage->Child(c);
            if (child <= 0) continue;
            const std::unique_ptr<WABSIndividual> kid = collection.GetIndividual(child);
            if (!kid) continue;
            // The child's own link to this family gives the parent's code.
            int code = parentCode;
            for (int32_t k = 1; k <= kid->ParentFamilyCount(); ++k) {
                int32_t linked = 0;
                int fatherCode = 0;
                int motherCode = 0;
                kid->ParentFamilyLink(k, linked, fatherCode, motherCode);
                if (linked == family) code = parentCode == 1 ? fatherCode : motherCode;
            }
            std::string word =
                WABSCollection::RelationText(WABSCollection::ChildRelationCode(code, kid->Sex()));
            if (auto* gedKid = dynamic_cast<WGEDIndividual*>(kid.get())) {
                const std::string pedigree = gedKid->PedigreeText(family);
                if (!pedigree.empty()) word += " (pedigree " + pedigree + ")";
            }
            AddLine(out, "  ", word, PersonText(collection, child));
        }
    }

    const std::string note = person->NoteText();
    if (!note.empty()) AddLine(out, "", "Note", note);
    const std::string sources = person->CitationsText();
    if (!sources.empty()) AddLine(out, "", "Sources", sources);
    return out;
}

}  // namespace kindrel
