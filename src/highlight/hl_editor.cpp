#include "highlight/hl_editor.h"

#include "highlight/hl_catalogue.h"
#include "highlight/hl_string.h"
#include "model/date.h"
#include "model/records.h"

#include <algorithm>
#include <exception>

namespace kindrel {

namespace {

constexpr const char* kDateQualifiers[] = {"", "BEF ", "ABT ", "AFT "};

// Reads leading decimal digits of text into value (clamped to limit); answers the digits read.
size_t ReadNumber(std::string_view text, int limit, int& value) {
    size_t i = 0;
    long long v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        v = std::min<long long>(v * 10 + (text[i] - '0'), limit);
        ++i;
    }
    if (i > 0) value = static_cast<int>(v);
    return i;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The number of items of a selection text.
int ItemCount(const char* items) {
    return static_cast<int>(SplitItems(items).size());
}

}  // namespace

const std::vector<int>& HLColManCodes() {
    static const std::vector<int> codes = {
        1,  97, 44, 21, 95, 28, 39, 24, 42, 27, 63, 38, 40, 25, 56, 59, 41, 26, 22, 96,
        30, 20, 52, 77, 66, 73, 68, 76, 71, 74, 69, 75, 70, 18, 100, 99, 31, 79, 83, 32,
        80, 84, 35, 33, 81, 85, 34, 82, 86, 72, 67, 12, 2,  3,  8,  9,  4,  5,  6,  7,
        15, 14, 10, 11, 16, 13, 23, 65, 87, 91, 88, 92, 89, 93, 90, 94, 43, 36, 37, 50,
        49, 51, 78, 47, 45, 46, 48, 60, 62, 17, 58, 57, 61, 29, 55, 53, 54, 98, 19, 64};
    return codes;
}

const std::vector<int>& HLSearchManCodes() {
    static const std::vector<int> codes = {
        1,  29, 30, 57, 58, 2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
        17, 18, 19, 20, 97, 59, 98, 39, 24, 40, 25, 41, 26, 42, 27, 28, 31, 79, 83, 32,
        80, 84, 33, 81, 85, 34, 82, 86, 35, 87, 88, 89, 90, 91, 92, 93, 94, 36, 37, 38,
        43, 52, 44, 50, 51, 45, 78, 46, 47, 48, 49, 53, 54, 55, 56, 64, 65};
    return codes;
}

std::vector<std::string> SplitItems(std::string_view items) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= items.size()) {
        const size_t end = std::min(items.find(';', start), items.size());
        if (end > start) out.emplace_back(items.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::string HLCleanMatchText(std::string_view text) {
    std::string out;
    for (const char c : TrimBlanks(text))
        if (c != ':' && c != ';') out += c;
    return std::string(TrimBlanks(out));
}

std::vector<std::string> HLLdsItems(int kind) {
    std::vector<std::string> items{"A Date"};
    int lds = 0;
    switch (kind) {
        case kHLEditorLDSBaptism:
            lds = kEventLdsBaptism;
            break;
        case kHLEditorLDSEndowment:
            lds = kEventLdsEndowment;
            break;
        case kHLEditorLDSSealedToParents:
            lds = kEventLdsSealingToParents;
            break;
        case kHLEditorLDSSealedToSpouse:
            lds = kEventLdsSealingToSpouse;
            break;
        default:
            return items;
    }
    for (std::string& word : SplitItems(WABSLDSEvent::StatusList(lds)))
        items.push_back(std::move(word));
    return items;
}

std::string HLDateText(int day, int month, int year) {
    if (year < 1) return {};
    if (month < 1 || month > 12) return std::to_string(year);
    WDate date;
    date.SetFromParts(day, month, year);
    return date.Text();
}

WHLOptionState HLInitialOption(int kind) {
    WHLOptionState state;
    state.kind = kind;
    switch (kind) {
        case kHLEditorTextMatch:
        case kHLEditorSoundex:
        case kHLEditorDate:
        case kHLEditorNumber:
            state.choice = 1;
            break;
        case kHLEditorLDSBaptism:
        case kHLEditorLDSEndowment:
        case kHLEditorLDSSealedToParents:
        case kHLEditorLDSSealedToSpouse:
            state.choice = 1;
            break;
        default:
            break;
    }
    if (kind == kHLEditorDate) {
        const WCalendarDay today = WDate::Today();
        state.day = today.day;
        state.month = today.month;
        state.year = today.year;
    }
    return state;
}

std::string HLOptionText(const WHLOptionState& s) {
    switch (s.kind) {
        case kHLEditorSex:
            return s.choice == 1 ? "F" : s.choice == 2 ? "U" : "M";
        case kHLEditorIndividualGenerations:
            return std::to_string(s.individual) + "^" + std::to_string(s.generations);
        case kHLEditorTextMatch:
        case kHLEditorSoundex:
            return std::to_string(s.choice) + HLCleanMatchText(s.text);
        case kHLEditorDate:
            return std::string(kDateQualifiers[std::clamp(s.choice, 1, 4) - 1]) +
                   HLDateText(s.day, s.month, s.year);
        case kHLEditorNumber:
            return std::to_string(s.choice) + std::to_string(s.number);
        case kHLEditorIndividual:
            return std::to_string(s.individual);
        case kHLEditorAgeLimit:
            return std::to_string(s.ageLimit);
        case kHLEditorLDSBaptism:
        case kHLEditorLDSEndowment:
        case kHLEditorLDSSealedToParents:
        case kHLEditorLDSSealedToSpouse:
            return std::to_string(s.choice);
        default:
            return {};
    }
}

WHLOptionState ReadHLOption(int kind, std::string_view p) {
    WHLOptionState s = HLInitialOption(kind);
    switch (kind) {
        case kHLEditorSex:
            if (!p.empty()) s.choice = (p[0] == 'F' || p[0] == 'f') ? 1 : (p[0] == 'U' || p[0] == 'u') ? 2 : 0;
            break;
        case kHLEditorIndividualGenerations: {
            int n = 0;
            const size_t used = ReadNumber(p, INT32_MAX, n);
            s.individual = n;
            if (used < p.size() && p[used] == '^')
                ReadNumber(p.substr(used + 1), kHLMaxGenerations, s.generations);
            break;
        }
        case kHLEditorTextMatch:
        case kHLEditorSoundex: {
            const int items = ItemCount(kind == kHLEditorSoundex ? kHLSoundexItems : kHLMatchItems);
            if (!p.empty() && p[0] >= '1' && p[0] < '1' + items) {
                s.choice = p[0] - '0';
                p.remove_prefix(1);
            }
            s.text = HLCleanMatchText(p);
            break;
        }
        case kHLEditorDate: {
            for (int q = 2; q <= 4; ++q)
                if (p.substr(0, 4) == kDateQualifiers[q - 1]) {
                    s.choice = q;
                    p.remove_prefix(4);
                }
            const WDate date{TrimBlanks(p)};
            if (date.IsSet() && date.Year() > 0) {
                s.year = date.Year();
                s.month = date.Month();
                s.day = s.month > 0 ? date.Day() : 0;
            }
            break;
        }
        case kHLEditorNumber:
            if (!p.empty() && p[0] >= '1' && p[0] <= '5') {
                s.choice = p[0] - '0';
                ReadNumber(p.substr(1), kHLMaxNumber, s.number);
            }
            break;
        case kHLEditorIndividual: {
            int n = 0;
            ReadNumber(p, INT32_MAX, n);
            s.individual = n;
            break;
        }
        case kHLEditorAgeLimit: {
            int limit = s.ageLimit;
            if (ReadNumber(p, kHLMaxAgeLimit, limit) > 0)
                s.ageLimit = std::max(kHLMinAgeLimit, limit);
            break;
        }
        case kHLEditorLDSBaptism:
        case kHLEditorLDSEndowment:
        case kHLEditorLDSSealedToParents:
        case kHLEditorLDSSealedToSpouse: {
            int item = 1;
            const int items = static_cast<int>(HLLdsItems(kind).size());
            if (ReadNumber(p, items, item) > 0) s.choice = std::max(1, item);
            break;
        }
        default:
            break;
    }
    return s;
}

// ---------------------------------------------------------------------------------------------
// WHLGuiCondModel

int WHLGuiCondModel::Code() const {
    if (!m_codes || m_index < 0 || m_index >= static_cast<int>(m_codes->size())) return 1;
    return (*m_codes)[static_cast<size_t>(m_index)];
}

std::string WHLGuiCondModel::HLCondStr() const {
    std::string text = m_negated ? "-" : "+";
    text += std::to_string(Code());
    if (m_option.kind != kHLEditorNone) text += ":" + HLOptionText(m_option);
    return text;
}

void WHLGuiCondModel::SetListIndex(int position) {
    const int size = m_codes ? static_cast<int>(m_codes->size()) : 0;
    m_index = position >= 0 && position < size ? position : 0;
    m_option = HLInitialOption(HLCatalogueEntryOf(Code()).editorKind);
}

void WHLGuiCondModel::SetCode(int code) {
    int position = 0;
    if (m_codes) {
        const auto found = std::find(m_codes->begin(), m_codes->end(), code);
        if (found != m_codes->end()) position = static_cast<int>(found - m_codes->begin());
    }
    SetListIndex(position);
}

void WHLGuiCondModel::SetHLCondStr(std::string_view text, bool restoreParameter) {
    m_negated = false;
    if (text.empty()) {
        SetListIndex(0);
        return;
    }
    const size_t colon = text.find(':');
    std::string_view field = text.substr(0, colon);
    if (!field.empty() && (field[0] == '-' || field[0] == '+')) {
        m_negated = field[0] == '-';
        field.remove_prefix(1);
    }
    int code = 0;
    ReadNumber(field, 1000, code);
    SetCode(code);
    if (restoreParameter && colon != std::string_view::npos && m_option.kind != kHLEditorNone) {
        std::string_view parameter = text.substr(colon + 1);
        parameter = parameter.substr(0, parameter.find(':'));
        m_option = ReadHLOption(m_option.kind, parameter);
    }
}

std::vector<std::string> WHLGuiCondModel::Labels() const {
    std::vector<std::string> labels;
    if (!m_codes) return labels;
    labels.reserve(m_codes->size());
    for (const int code : *m_codes) labels.push_back(HLLabel(code, m_negated));
    return labels;
}

// ---------------------------------------------------------------------------------------------
// WHLGuiManModel

WHLGuiManModel::WHLGuiManModel(std::vector<int> codes) : m_codes(std::move(codes)) {
    m_rows.reserve(kMaxRows);
    for (int i = 0; i < kMaxRows; ++i) m_rows.emplace_back(&m_codes);
    for (bool& a : m_and) a = true;
}

std::string WHLGuiManModel::HLStrings() const {
    std::string text;
    for (int i = 0; i < m_rowCount; ++i) {
        const std::string row = m_rows[static_cast<size_t>(i)].HLCondStr();
        if (row == "+1" || row == "-1") return {};
        if (i > 0) text += m_and[static_cast<size_t>(i - 1)] ? ";A;" : ";O;";
        text += row;
    }
    return text;
}

bool WHLGuiManModel::SetHLStrings(std::string_view text) {
    WHLString parsed;
    try {
        parsed.Parse(text);
    } catch (const std::exception&) {
        return false;
    }
    const int count = parsed.ConditionCount();
    if (count > kMaxRows) return false;
    for (int i = 0; i < count; ++i) {
        m_rows[static_cast<size_t>(i)].SetHLCondStr(parsed.ConditionText(i));
        if (i + 1 < count) m_and[static_cast<size_t>(i)] = parsed.IsAnd(i);
    }
    m_rowCount = count;
    return true;
}

bool WHLGuiManModel::Add() {
    if (m_rowCount >= kMaxRows) return false;
    m_rows[static_cast<size_t>(m_rowCount)].SetHLCondStr({});
    ++m_rowCount;
    m_changed = true;
    Notify();
    return true;
}

bool WHLGuiManModel::Delete() {
    if (m_rowCount == 0) return false;
    --m_rowCount;
    m_changed = true;
    Notify();
    return true;
}

void WHLGuiManModel::Apply() {
    if (onChange) onChange();
    m_changed = false;
    if (onApply) onApply();
}

void WHLGuiManModel::Notify() {
    if (!onChange) return;
    if (m_deferring) {
        m_changed = true;
        if (onApply) onApply();
    } else if (m_manual) {
        m_changed = true;
    } else {
        m_changed = false;
        onChange();
    }
}

void WHLGuiManModel::SetManual(bool manual) {
    m_changed = false;
    m_deferring = manual;
    m_manual = manual;
}

void WHLGuiManModel::Defer(bool defer) {
    if (m_manual) return;
    m_deferring = defer;
    if (!defer && m_changed) {
        m_changed = false;
        Notify();
    }
}

}  // namespace kindrel
