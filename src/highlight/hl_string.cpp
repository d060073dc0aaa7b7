#include "highlight/hl_string.h"

#include "containers/errors.h"

#include <cstdlib>
#include <limits>

namespace kindrel {

namespace {

// Reads the code field (the text before the first ":"): an optional "+" or "-" and decimal
// digits. False when it is anything else or too large for a condition code.
bool ReadCodeField(std::string_view field, bool& negated, int& code) {
    size_t i = 0;
    negated = false;
    if (!field.empty() && (field[0] == '+' || field[0] == '-')) {
        negated = field[0] == '-';
        i = 1;
    }
    if (i == field.size()) return false;
    int64_t value = 0;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max()) return false;
    }
    code = static_cast<int>(value);
    return true;
}

}  // namespace

void WHLString::Clear() {
    m_texts.clear();
    m_conditions.clear();
    for (bool& flag : m_andFlags) flag = false;
}

void WHLString::Parse(std::string_view text) {
    Clear();
    if (text.empty()) return;

    // Count the conditions first, so an overlong string is refused before anything is built.
    size_t pieces = 1;
    for (const char c : text) {
        if (c == ';') ++pieces;
    }
    if (text.back() == ';') --pieces;  // the empty piece after the last separator
    const size_t conditions = (pieces + 1) / 2;
    if (conditions > size_t(kMaxConditions)) {
        throw KindrelError("A condition string holds at most " + std::to_string(kMaxConditions) +
                           " conditions; this one has " + std::to_string(conditions) + ".");
    }

    std::vector<std::string> texts;
    std::vector<Condition> parsed;
    bool andFlags[kMaxConditions - 1] = {};
    size_t start = 0;
    for (size_t piece = 0; piece < pieces; ++piece) {
        size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view item = text.substr(start, end - start);
        start = end + 1;
        if (piece % 2 == 0) {
            Condition condition;
            const std::string_view field = item.substr(0, item.find(':'));
            if (!ReadCodeField(field, condition.negated, condition.code)) {
                throw KindrelError("Condition " + std::to_string(texts.size() + 1) + " \"" +
                                   std::string(item) +
                                   "\" does not start with a condition code (a number such as "
                                   "+13 or -17).");
            }
            texts.emplace_back(item);
            parsed.push_back(condition);
        } else if (texts.size() < size_t(kMaxConditions)) {
            // An operator after the thirteenth condition joins nothing and has no place.
            andFlags[texts.size() - 1] = item == "A";
        }
    }
    m_texts = std::move(texts);
    m_conditions = std::move(parsed);
    for (int i = 0; i < kMaxConditions - 1; ++i) m_andFlags[i] = andFlags[i];
}

std::string WHLString::ConditionText(int i) const {
    if (i < 0 || i >= ConditionCount()) return {};
    return m_texts[static_cast<size_t>(i)];
}

bool WHLString::IsAnd(int i) const {
    if (i < 0 || i >= kMaxConditions - 1) return false;
    return m_andFlags[i];
}

bool WHLString::IsNegated(int i) const {
    if (i < 0 || i >= ConditionCount()) return false;
    return m_conditions[static_cast<size_t>(i)].negated;
}

int WHLString::ConditionCode(int i) const {
    if (i < 0 || i >= ConditionCount()) return 0;
    return m_conditions[static_cast<size_t>(i)].code;
}

std::string WHLString::ConditionParameter(int i) const {
    const std::string text = ConditionText(i);
    const size_t first = text.find(':');
    if (first == std::string::npos) return {};
    const size_t second = text.find(':', first + 1);
    return text.substr(first + 1,
                       second == std::string::npos ? std::string::npos : second - first - 1);
}

}  // namespace kindrel
