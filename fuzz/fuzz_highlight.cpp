// Fuzz target for condition strings: WHLString::Parse, then a highlighter group built from the
// same text, recalculated and asked about every individual of a small fixed family (with a
// line that loops back to itself, half-siblings, LDS ordinances, notes and sources).
#include "containers/errors.h"
#include "fake_collection.h"
#include "highlight/hl_group.h"
#include "highlight/hl_string.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using kindrel::fake::FakeCollection;

FakeCollection& Family() {
    static FakeCollection* tree = [] {
        auto* t = new FakeCollection;
        const int32_t adam = t->AddPerson("Adam", "Hill", 'M');
        const int32_t eve = t->AddPerson("Eve", "Quill", 'F');
        const int32_t cain = t->AddPerson("Cain", "Hill", 'M');
        const int32_t ada = t->AddPerson("Ada", "", 'F');
        const int32_t enoch = t->AddPerson("Enoch", "HILL", 'M');
        const int32_t enoch2 = t->AddPerson("Enoch", "Hill", 'M');
        const int32_t loner = t->AddUnnamedPerson('U');
        const int32_t loop = t->AddPerson("Loop", "Smith", 'M');
        t->SetBirth(adam, "12 JAN 1800", "Ashcombe").note = kindrel::fake::NoteLines{"born"};
        t->SetDeath(adam, "1870", "Millbrook");
        t->SetBirth(cain, "ABT 1825");
        t->SetBirth(enoch, "during the great frost");
        t->SetBirth(enoch2, "1990");
        t->SetChristening(ada, std::nullopt, "Chapel");
        t->SetBurial(eve, "BEF 1855");
        t->SetNote(eve, {"GENERAL NOTES:", "Farmer"});
        t->AddCitation(cain, "p. 1");
        t->Person(adam).afn = "1J7Q";
        t->Person(adam).refn = "H-001";
        t->SetLDSEvent(cain, kindrel::kEventLdsBaptism, "BIC", "LOGAN", true);
        t->AddOtherEvent(ada, "Residence", "1850", "Salem");
        const int32_t f1 = t->AddFamily(adam, eve, {cain}, "1822", "Salem");
        t->AddFamily(cain, ada, {enoch}, std::nullopt, "Ashcombe");
        t->AddFamily(cain, 0, {enoch2});
        t->AddFamily(loop, loop, {loop});  // its own parent, child and spouse
        kindrel::fake::FakeEvent sealing;
        sealing.kind = kindrel::kEventLdsSealingToSpouse;
        sealing.date = "12 OCT 1888";
        t->Family(f1).sealing = sealing;
        t->Family(f1).note = kindrel::fake::NoteLines{"eloped"};
        (void)loner;
        return t;
    }();
    return *tree;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kindrel::WHLString parsed;
    try {
        parsed.Parse(text);
        for (int i = -1; i <= parsed.ConditionCount(); ++i) {
            (void)parsed.ConditionText(i);
            (void)parsed.ConditionCode(i);
            (void)parsed.ConditionParameter(i);
            (void)parsed.IsAnd(i);
            (void)parsed.IsNegated(i);
        }
    } catch (const kindrel::KindrelError&) {
    }

    FakeCollection& tree = Family();
    kindrel::WHLGroup group(&tree);
    try {
        group.SetConditions(text);
    } catch (const kindrel::KindrelError&) {
        return 0;
    }
    try {
        group.Recalculate();
    } catch (const kindrel::KindrelError&) {
        // A parameter that could not be read: its rule answers false; the group still works.
    }
    const int32_t count = tree.IndividualCount();
    for (int32_t n = -1; n <= count + 1; ++n) {
        (void)group.IsHighlighted(n);
        (void)group.BackgroundColour(n);
    }
    (void)group.Describe();
    return 0;
}
