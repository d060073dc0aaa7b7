#include "highlight/hl_str.h"

#include "model/collection.h"
#include "model/records.h"
#include "model/upper_case.h"

#include <memory>

namespace kindrel {

namespace {

// Soundex group of an upper-case letter A to Z.
constexpr std::string_view kSoundexGroups = "01230120022455012623010202";

// The group of c when it is a letter a to z of either case, else -1.
int SoundexGroup(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') return -1;
    return kSoundexGroups[static_cast<size_t>(c - 'A')] - '0';
}

// Removes every occurrence of marker from text.
void EraseAll(std::string& text, std::string_view marker) {
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
        text.erase(at, marker.size());
    }
}

// The collection kind whose notes carry section headings.
constexpr int kKindWithNoteSections = 3;

}  // namespace

std::string HLSoundex(std::string_view text) {
    if (text.empty()) return {};
    std::string code = "0000";
    char first = text[0];
    if (first >= 'a' && first <= 'z') first = static_cast<char>(first - 'a' + 'A');
    code[0] = first;
    size_t filled = 1;
    int current = -1;   // no letter seen yet
    int previous = -1;  // the group of the previous character; starts empty
    for (size_t i = 1; i < text.size() && filled < 4; ++i) {
        const int group = SoundexGroup(text[i]);
        if (group >= 0) current = group;
        if (current > 0 && current != previous) code[filled++] = static_cast<char>('0' + current);
        previous = current;
    }
    return code;
}

void WHLStr::Prepare() {
    std::string_view text = m_parameter;
    m_mode = 1;
    // The mode digit leads the parameter; a parameter typed without one is all search text.
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
        m_mode = text[0] - '0';
        text.remove_prefix(1);
    }
    m_search = UpperCaseBytes(text);
    m_searchLength = m_search.size();
    m_soundexKey.clear();
    m_haveSoundexKey = false;
    FillResults(kHLUnknown);
}

const std::string& WHLStr::SoundexKey() {
    if (!m_haveSoundexKey) {
        if (m_mode == 1) {
            m_soundexKey = HLSoundex(m_search);
        } else if (m_mode == 2) {
            m_soundexKey = m_search;
        } else {
            m_soundexKey.clear();
        }
        m_haveSoundexKey = true;
    }
    return m_soundexKey;
}

bool WHLStr::Matches(std::string_view candidate) const {
    if (candidate.empty() || m_searchLength == 0) return false;
    const std::string upper = UpperCaseBytes(candidate);
    switch (m_mode) {
        case 1:
            return upper.find(m_search) != std::string::npos;
        case 2:
            return upper == m_search;
        case 3:
            return upper.starts_with(m_search);
        case 4:
            return upper.ends_with(m_search);
        default:
            return false;
    }
}

bool WHLStr::Answer(int32_t individual) {
    if (m_searchLength == 0) return false;
    const std::unique_ptr<WABSIndividual> person = Individual(individual);
    if (!person) return false;
    switch (m_code) {
        case 19: {
            std::string own = person->NoteText();
            if (m_collection->Kind() == kKindWithNoteSections) {
                EraseAll(own, "GENERAL NOTES:\r\n");
                EraseAll(own, "RESEARCH NOTES:\r\n");
                EraseAll(own, "MEDICAL NOTES:\r\n");
            }
            if (Matches(own)) return true;
            if (const std::unique_ptr<WABSName> name = person->Name()) {
                if (Matches(name->NoteText())) return true;
            }
            for (const int kind : {kEventBirth, kEventChristening, kEventDeath, kEventBurial}) {
                const std::unique_ptr<WABSEvent> event = person->Event(kind, 1);
                if (event && Matches(event->NoteText())) return true;
            }
            const int32_t others = person->EventCount(kEventOther);
            for (int32_t i = 1; i <= others; ++i) {
                const std::unique_ptr<WABSEvent> event = person->Event(kEventOther, i);
                if (event && Matches(event->NoteText())) return true;
            }
            return false;
        }
        case 24:
            return Matches(person->PlaceText(kEventBirth));
        case 25:
            return Matches(person->PlaceText(kEventChristening));
        case 26:
            return Matches(person->PlaceText(kEventDeath));
        case 27:
            return Matches(person->PlaceText(kEventBurial));
        case 28: {
            for (const int kind : {kEventBirth, kEventDeath, kEventChristening, kEventBurial}) {
                if (Matches(person->PlaceText(kind))) return true;
            }
            const int32_t others = person->EventCount(kEventOther);
            for (int32_t i = 1; i <= others; ++i) {
                if (Matches(person->PlaceText(kEventOther, i))) return true;
            }
            return false;
        }
        case 29:
            return Matches(PlainSurname(*person));
        case 30:
            return Matches(person->GivenNames());
        case 43: {
            // Every matching family marks the other spouse too; the walk goes on.
            bool result = false;
            const int32_t families = person->SpouseFamilyCount();
            for (int32_t i = 1; i <= families; ++i) {
                const std::unique_ptr<WABSMarriage> family =
                    m_collection->GetMarriage(person->SpouseFamily(i));
                if (!family || !Matches(family->MarriagePlaceText())) continue;
                result = true;
                const int32_t other = family->OtherSpouse(individual);
                if (other != 0 && other != individual) SetResult(other, true);
            }
            return result;
        }
        case 57: {
            const std::string& key = SoundexKey();
            return !key.empty() && HLSoundex(PlainSurname(*person)) == key;
        }
        case 58: {
            const std::string& key = SoundexKey();
            const std::string given = person->GivenNames();
            if (key.empty() || given.empty()) return false;
            size_t start = 0;
            while (start <= given.size()) {
                size_t end = given.find(' ', start);
                if (end == std::string::npos) end = given.size();
                if (HLSoundex(std::string_view(given).substr(start, end - start)) == key) {
                    return true;
                }
                start = end + 1;
            }
            return false;
        }
        case 59:
            return Matches(person->RefNumberText());
        case 91:
        case 92:
        case 93:
            return Matches(person->LDSTempleText(m_code - 91 + kEventLdsBaptism, false));
        case 94:
            return Matches(m_collection->SealingTempleText(individual, 1, false));
        case 97:
            return Matches(person->AfnText());
        case 98:
            return Matches(person->IdText());
        default:
            return false;
    }
}

void WHLStr::Evaluate(int32_t individual) {
    SetResult(individual, Answer(individual));
}

std::string WHLStr::Describe() {
    if (m_code == 57 || m_code == 58) {
        std::string text = m_code == 57 ? "with surname soundex" : "with given name soundex";
        if (m_mode == 1) {
            text += " text = \"" + m_search + "\" (" + SoundexKey() + ")";
        } else if (m_mode == 2) {
            text += " code = \"" + m_search + "\"";
        }
        return text;
    }
    std::string field;
    switch (m_code) {
        case 19:
            field = "note";
            break;
        case 24:
            field = "birth place";
            break;
        case 25:
            field = "christening place";
            break;
        case 26:
            field = "death place";
            break;
        case 27:
            field = "burial place";
            break;
        case 28:
            field = "place";
            break;
        case 29:
            field = "surname";
            break;
        case 30:
            field = "name";
            break;
        case 43:
            field = "marriage place";
            break;
        case 59:
            field = "custom ID";
            break;
        case 91:
            field = "LDS Baptism place";
            break;
        case 92:
            field = "LDS Endowment place";
            break;
        case 93:
            field = "LDS Sealed to Parents place";
            break;
        case 94:
            field = "LDS Sealed to Spouse place";
            break;
        case 97:
            field = "AFN";
            break;
        case 98:
            field = "Reference ID";
            break;
        default:
            break;
    }
    std::string text = "with " + field;
    if (m_negated) text += " not";
    static constexpr const char* kModeWords[] = {" containing ", " equal to ", " begining with ",
                                                 " ending with "};
    if (m_mode >= 1 && m_mode <= 4) text += kModeWords[m_mode - 1];
    return text + "\"" + m_search + "\"";
}

}  // namespace kindrel
