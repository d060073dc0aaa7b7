#include "highlight/highlighter.h"

#include "containers/errors.h"
#include "model/collection.h"
#include "model/records.h"
#include "services/options.h"

#include <cstring>
#include <limits>

namespace kindrel {

namespace {

int CountOf(WABSCollection* collection) {
    if (collection == nullptr) return 0;
    const int32_t count = collection->IndividualCount();
    return count > 0 ? count : 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// WABSHighLighter

WABSHighLighter::WABSHighLighter(WABSCollection* collection)
    : WABSArrayIndex(std::string(), false, 1, CountOf(collection)), m_collection(collection) {
    SetCount(CountOf(collection));
}

WABSHighLighter::~WABSHighLighter() = default;

HLState WABSHighLighter::State(int32_t individual) const {
    const char* record = Item(individual);
    return record ? static_cast<HLState>(*record) : kHLUnknown;
}

bool WABSHighLighter::IsTrue(int32_t individual) {
    if (!IsValidIndex(individual)) return false;
    if (*RecordAt(individual) == kHLUnknown) Evaluate(individual);
    return *RecordAt(individual) == kHLTrue;
}

void WABSHighLighter::Prepare() {
    FillResults(kHLUnknown);
}

void WABSHighLighter::SetParameter(std::string_view parameter) {
    m_parameter = std::string(parameter);
}

bool WABSHighLighter::IsHighlighted(int32_t individual) {
    if (!IsValidIndex(individual)) return false;
    if (*RecordAt(individual) == kHLUnknown) Evaluate(individual);
    const char state = *RecordAt(individual);
    return m_negated ? state == kHLFalse : state == kHLTrue;
}

void WABSHighLighter::SetResult(int32_t individual, bool value) {
    if (!IsValidIndex(individual)) return;
    *RecordAt(individual) = value ? kHLTrue : kHLFalse;
}

void WABSHighLighter::FillResults(HLState state) {
    const int count = RecordCount();
    if (count < 1) return;
    std::memset(RecordAt(1), state, static_cast<size_t>(count));
}

uint32_t WABSHighLighter::BackgroundColour(int32_t individual) {
    return IsHighlighted(individual) ? HighlightColour() : m_normalBackground;
}

uint32_t WABSHighLighter::TextColour(int32_t individual) {
    return IsHighlighted(individual) ? HighlightTextColour() : 0;
}

uint32_t WABSHighLighter::HighlightColour() const {
    if (m_options == nullptr) return kDefaultHighlightColour;
    return static_cast<uint32_t>(m_options->ReadInt(Opt::HLCol));
}

uint32_t WABSHighLighter::HighlightTextColour() const {
    if (m_options == nullptr) return kDefaultHighlightTextColour;
    return static_cast<uint32_t>(m_options->ReadInt(Opt::HLTCol));
}

std::unique_ptr<WABSIndividual> WABSHighLighter::Individual(int32_t individual) const {
    if (m_collection == nullptr || individual < 1) return nullptr;
    return m_collection->GetIndividual(individual);
}

// ---------------------------------------------------------------------------------------------
// WABSHLInd

WABSHLInd::WABSHLInd(WABSCollection* collection, int code)
    : WABSHighLighter(collection), m_code(code) {}

bool WABSHLInd::Exists(int32_t n) const {
    return n >= 1 && n <= RecordCount();
}

std::string WABSHLInd::ReferenceName() const {
    if (!Exists(m_individual)) return {};
    const std::unique_ptr<WABSIndividual> person = Individual(m_individual);
    return person ? person->FullName(true) : std::string();
}

std::string WABSHLInd::PlainSurname(WABSIndividual& person) {
    const std::unique_ptr<WABSName> name = person.Name();
    return name ? name->Surname() : std::string();
}

void WABSHLInd::SplitIndividualGenerations(std::string_view text, int32_t& individual,
                                           int32_t& generations) {
    const size_t caret = text.find('^');
    if (caret == std::string_view::npos) {
        throw KindrelError("The parameter \"" + std::string(text) +
                           "\" must be an individual number, \"^\" and a generation count.");
    }
    const std::string_view before = text.substr(0, caret);
    const std::string_view after = text.substr(caret + 1);
    individual = 1;
    generations = 0;
    if (!before.empty() && !ParseHLInt(before, individual)) {
        throw KindrelError("The individual number \"" + std::string(before) +
                           "\" in the parameter \"" + std::string(text) + "\" is not a number.");
    }
    if (!after.empty() && !ParseHLInt(after, generations)) {
        throw KindrelError("The generation count \"" + std::string(after) +
                           "\" in the parameter \"" + std::string(text) + "\" is not a number.");
    }
}

// ---------------------------------------------------------------------------------------------
// Numbers

bool ParseHLInt(std::string_view text, int32_t& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return false;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1) return false;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int32_t>::max()) return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

int32_t StrictHLInt(std::string_view text, int code) {
    int32_t value = 0;
    if (!ParseHLInt(text, value)) {
        throw KindrelError("Condition " + std::to_string(code) + ": the parameter \"" +
                           std::string(text) + "\" is not an individual number.");
    }
    return value;
}

}  // namespace kindrel
