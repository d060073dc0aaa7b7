#include "gedcom_generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <deque>
#include <stdexcept>
#include <vector>

#include "gen_random.h"

namespace kindrel::gen {

GedcomSink::GedcomSink(std::FILE* file) : m_file(file) {
    m_buffer.reserve(kFlushSize + 4096);
}

void GedcomSink::PutNumber(uint64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    m_buffer.append(digits, result.ptr);
}

void GedcomSink::Drain() {
    if (m_file != nullptr && !m_buffer.empty()) {
        if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size()) {
            m_failed = true;
        }
    }
    m_written += m_buffer.size();
    m_buffer.clear();
}

bool GedcomSink::Flush() {
    Drain();
    if (m_file != nullptr && std::fflush(m_file) != 0) m_failed = true;
    return !m_failed;
}

namespace {

constexpr int kThisYear = 2024;
constexpr int kNoYear = 0;
constexpr uint16_t kNoName = 0xFFFF;
constexpr int kMaxSpouseFamilies = 3;
constexpr const char* kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// One individual of the model; numbers are 1-based, 0 means none.
struct Person {
    int32_t birthYear = kNoYear;      // kNoYear when unknown
    int32_t lastEventYear = kNoYear;  // latest marriage or child's birth
    uint32_t famc = 0;
    uint32_t fams[kMaxSpouseFamilies] = {0, 0, 0};
    uint16_t given = 0;
    uint16_t given2 = kNoName;
    uint16_t surname = 0;
    char sex = 'M';
    uint8_t famsCount = 0;
};

// One family; its children are the consecutive individuals from firstChild.
struct Family {
    uint32_t husband = 0;
    uint32_t wife = 0;
    uint32_t firstChild = 0;
    uint32_t childCount = 0;
    int32_t marriageYear = kNoYear;
};

const char* ShapeName(Shape shape) {
    switch (shape) {
        case Shape::kChain:
            return "chain";
        case Shape::kWide:
            return "wide";
        case Shape::kNormal:
            break;
    }
    return "normal";
}

class Generator {
  public:
    Generator(const GenOptions& options, GedcomSink& sink)
        : m_options(options),
          m_sink(sink),
          m_rng(options.seed),
          m_pools(options.charset),
          m_eol(options.crlf ? "\r\n" : "\n") {}

    GenStats Run() {
        const uint64_t n = m_options.individuals;
        if (n == 0 || n > kMaxIndividuals) {
            throw std::invalid_argument("individual count out of range");
        }
        m_persons.reserve(n + 1);
        m_persons.emplace_back();  // number 0: none
        m_families.emplace_back();
        const auto count = static_cast<uint32_t>(n);
        switch (m_options.shape) {
            case Shape::kNormal:
                BuildNormal(count);
                break;
            case Shape::kChain:
                BuildChain(count);
                break;
            case Shape::kWide:
                BuildWide(count);
                break;
        }
        if (m_options.shuffleIds) ShuffleIds();
        m_noteCount = std::max<uint32_t>(1, count / 150);
        m_sourceCount = std::clamp<uint32_t>(3 + count / 2000, 3, 2000);
        m_repoCount = std::clamp<uint32_t>(1 + count / 100000, 1, 7);

        WriteHeader();
        WriteSubmitter();
        for (uint32_t p = 1; p < m_persons.size(); ++p) WriteIndividual(p);
        for (uint32_t f = 1; f < m_families.size(); ++f) WriteFamily(f);
        for (uint32_t k = 1; k <= m_noteCount; ++k) WriteNoteRecord(k);
        for (uint32_t k = 1; k <= m_sourceCount; ++k) WriteSource(k);
        for (uint32_t k = 1; k <= m_repoCount; ++k) WriteRepository(k);
        Text("0 TRLR");
        Eol();

        GenStats stats;
        stats.individuals = m_persons.size() - 1;
        stats.families = m_families.size() - 1;
        stats.notes = m_noteCount;
        stats.sources = m_sourceCount;
        stats.repositories = m_repoCount;
        stats.bytes = m_sink.BytesWritten();
        return stats;
    }

  private:
    // ---- model -------------------------------------------------------------------------

    uint16_t RandomGiven(char sex) {
        const auto& pool = sex == 'F' ? m_pools.femaleNames : m_pools.maleNames;
        return static_cast<uint16_t>(m_rng.Below(static_cast<uint32_t>(pool.size())));
    }
    uint16_t RandomSurname() {
        return static_cast<uint16_t>(m_rng.Below(static_cast<uint32_t>(m_pools.surnames.size())));
    }
    char RandomSex() { return m_rng.Below(2) == 0 ? 'M' : 'F'; }

    uint32_t NewPerson(char sex, int32_t birthYear, uint16_t surname) {
        Person person;
        person.sex = sex;
        person.birthYear = birthYear > 0 ? std::min(birthYear, kThisYear - 1) : kNoYear;
        person.lastEventYear = person.birthYear;
        person.given = RandomGiven(sex);
        if (m_rng.PerMille(300)) person.given2 = RandomGiven(sex);
        person.surname = surname;
        m_persons.push_back(person);
        return static_cast<uint32_t>(m_persons.size() - 1);
    }

    // A family of one or two spouses (0 for a missing one); both must have a free slot.
    uint32_t NewFamily(uint32_t husband, uint32_t wife, int32_t marriageYear) {
        Family family;
        family.husband = husband;
        family.wife = wife;
        family.marriageYear = marriageYear > 0 ? std::min(marriageYear, kThisYear - 1) : kNoYear;
        m_families.push_back(family);
        const auto number = static_cast<uint32_t>(m_families.size() - 1);
        for (const uint32_t spouse : {husband, wife}) {
            if (spouse == 0) continue;
            Person& person = m_persons[spouse];
            person.fams[person.famsCount++] = number;
            person.lastEventYear = std::max(person.lastEventYear, family.marriageYear);
        }
        return number;
    }

    // Marries person p to a new spouse; returns the new family. p must have a free slot.
    uint32_t MarryNewSpouse(uint32_t p, int32_t earliestYear) {
        const Person& person = m_persons[p];
        const char sex = person.sex == 'M' ? 'F' : 'M';
        const int32_t base = person.birthYear != kNoYear ? person.birthYear : 1850;
        const uint32_t spouse = NewPerson(sex, base + m_rng.Between(-6, 4), RandomSurname());
        const int32_t older = std::max(base, m_persons[spouse].birthYear);
        const int32_t year = std::max(older + m_rng.Between(19, 32), earliestYear);
        return sex == 'F' ? NewFamily(p, spouse, year) : NewFamily(spouse, p, year);
    }

    // Children of family f, consecutive numbers; returns how many were made. Births follow
    // each other by 1 to 3 years, or, with spreadYears > 0, evenly over that many years.
    uint32_t AddChildren(uint32_t f, uint32_t count, int32_t spreadYears) {
        Family& family = m_families[f];
        const uint16_t surname = family.husband != 0 ? m_persons[family.husband].surname
                                 : family.wife != 0  ? m_persons[family.wife].surname
                                                     : RandomSurname();
        const int32_t start = family.marriageYear != kNoYear ? family.marriageYear : 1850;
        int32_t year = start + 1;
        family.firstChild = static_cast<uint32_t>(m_persons.size());
        family.childCount = count;
        for (uint32_t i = 0; i < count; ++i) {
            if (spreadYears > 0) {
                year = start + 1 + static_cast<int32_t>(int64_t{i} * spreadYears / count);
            }
            const uint32_t child = NewPerson(RandomSex(), year, surname);
            m_persons[child].famc = f;
            for (const uint32_t parent : {family.husband, family.wife}) {
                if (parent != 0) {
                    Person& p = m_persons[parent];
                    p.lastEventYear = std::max(p.lastEventYear, m_persons[child].birthYear);
                }
            }
            year += m_rng.Between(1, 3);
        }
        return count;
    }

    uint32_t DrawChildCount() {
        // Weights for 0 to 10 children, per 100 families.
        static constexpr uint32_t kWeights[11] = {10, 11, 17, 18, 15, 11, 8, 5, 3, 1, 1};
        uint32_t pick = m_rng.Below(100);
        for (uint32_t k = 0; k < 11; ++k) {
            if (pick < kWeights[k]) return k;
            pick -= kWeights[k];
        }
        return 3;
    }

    uint32_t PickIslandSize(uint32_t total, uint32_t remaining, bool first) {
        uint32_t size = 1;
        if (first && total >= 20) {
            size = static_cast<uint32_t>(uint64_t{total} * m_rng.Between(55, 75) / 100);
        } else {
            const uint32_t r = m_rng.Below(100);
            if (r < 40) {
                size = 1;
            } else if (r < 75) {
                size = static_cast<uint32_t>(m_rng.Between(2, 12));
            } else if (r < 95) {
                size = static_cast<uint32_t>(m_rng.Between(13, 150));
            } else {
                size = static_cast<uint32_t>(m_rng.Between(151, std::max<int>(151, total / 20)));
            }
        }
        return std::clamp<uint32_t>(size, 1, remaining);
    }

    void BuildNormal(uint32_t total) {
        uint32_t remaining = total;
        bool first = true;
        while (remaining > 0) {
            const uint32_t size = PickIslandSize(total, remaining, first);
            first = false;
            BuildIsland(size);
            remaining -= size;
        }
    }

    // One connected group of exactly `size` individuals, grown generation by generation.
    void BuildIsland(uint32_t size) {
        if (size == 1) {
            const char sex = RandomSex();
            NewPerson(sex, m_rng.Between(1650, 2005), RandomSurname());
            return;
        }
        // Each generation (about 30 years) holds a little over twice the one before; start
        // early enough that the youngest full generation is born around 1980.
        const double generations = 1.0 + std::ceil(std::log(size / 2.0) / std::log(2.2));
        const auto founding = std::max<int32_t>(
            1100, 1990 - static_cast<int32_t>(30.0 * generations) - m_rng.Between(0, 20));
        const uint32_t husband = NewPerson('M', founding, RandomSurname());
        const uint32_t wife = NewPerson('F', founding + m_rng.Between(-6, 3), RandomSurname());
        const uint32_t rootFamily = NewFamily(husband, wife, founding + m_rng.Between(20, 30));
        uint32_t count = 2;
        std::deque<uint32_t> pending{rootFamily};
        std::vector<uint32_t> unmarried;
        const auto islandStart = husband;

        while (count < size) {
            if (pending.empty()) {
                // Every line ended early: marry one more descendant so the group grows on.
                pending.push_back(ReseedFamily(unmarried, islandStart));
                ++count;
                continue;
            }
            const uint32_t f = pending.front();
            pending.pop_front();
            const uint32_t children = std::min(DrawChildCount(), size - count);
            if (children == 0) continue;
            const uint32_t firstChild = static_cast<uint32_t>(m_persons.size());
            count += AddChildren(f, children, 0);
            for (uint32_t c = firstChild; c < firstChild + children; ++c) {
                if (count >= size) break;
                if (m_persons[c].birthYear > 2000 || !m_rng.PerMille(620)) {
                    unmarried.push_back(c);
                    continue;
                }
                uint32_t family = MarryNewSpouse(c, 0);
                pending.push_back(family);
                ++count;
                // Remarriages after the first spouse's death.
                for (int again = 0; again < 2 && count < size; ++again) {
                    if (!m_rng.PerMille(again == 0 ? 70 : 120)) break;
                    const int32_t after = m_families[family].marriageYear + m_rng.Between(4, 15);
                    family = MarryNewSpouse(c, after);
                    pending.push_back(family);
                    ++count;
                }
            }
        }
    }

    // Marries an unmarried descendant (or, failing that, anyone of the group with a free
    // spouse slot, latest first) to a new spouse; returns the new family.
    uint32_t ReseedFamily(std::vector<uint32_t>& unmarried, uint32_t groupStart) {
        while (!unmarried.empty()) {
            const uint32_t pick = m_rng.Below(static_cast<uint32_t>(unmarried.size()));
            const uint32_t p = unmarried[pick];
            unmarried[pick] = unmarried.back();
            unmarried.pop_back();
            if (m_persons[p].famsCount < kMaxSpouseFamilies) return MarryNewSpouse(p, 0);
        }
        for (auto p = static_cast<uint32_t>(m_persons.size() - 1); p >= groupStart; --p) {
            if (m_persons[p].famsCount < kMaxSpouseFamilies) {
                const int32_t after = m_persons[p].lastEventYear + 1;
                return MarryNewSpouse(p, after);
            }
        }
        // Unreachable: a spouse made a moment ago always has a free slot.
        return MarryNewSpouse(groupStart, 0);
    }

    void BuildChain(uint32_t total) {
        // Years run back from 2000, 25 years a generation; too early ones stay unknown.
        const auto yearOf = [total](uint32_t i) -> int32_t {
            const int64_t year = 2000 - 25 * (int64_t{total} - i);
            return year >= 1 ? static_cast<int32_t>(year) : kNoYear;
        };
        uint32_t parent = NewPerson(RandomSex(), yearOf(1), RandomSurname());
        for (uint32_t i = 2; i <= total; ++i) {
            const Person& p = m_persons[parent];
            const int32_t childYear = yearOf(i);
            const int32_t marriage = childYear != kNoYear ? childYear - 1 : kNoYear;
            const uint32_t f =
                p.sex == 'M' ? NewFamily(parent, 0, marriage) : NewFamily(0, parent, marriage);
            const char sex = RandomSex();
            const uint16_t surname = p.sex == 'M' ? p.surname : RandomSurname();
            const uint32_t child = NewPerson(sex, childYear, surname);
            m_persons[child].famc = f;
            m_families[f].firstChild = child;
            m_families[f].childCount = 1;
            parent = child;
        }
    }

    void BuildWide(uint32_t total) {
        if (total == 1) {
            NewPerson('M', 1780, RandomSurname());
            return;
        }
        const uint32_t husband = NewPerson('M', 1780, RandomSurname());
        const uint32_t wife = NewPerson('F', 1782, RandomSurname());
        const uint32_t root = NewFamily(husband, wife, 1803);
        uint32_t count = 2;
        // Children per family so that three generations hold everybody, with room for the
        // one child in ten who stays unmarried.
        const auto perFamily = std::max<uint32_t>(
            3, static_cast<uint32_t>(std::ceil(std::cbrt(1.3 * double(total)))) + 1);
        std::deque<std::pair<uint32_t, int>> pending{{root, 0}};
        std::vector<uint32_t> unmarried;
        while (count < total) {
            if (pending.empty()) {
                pending.emplace_back(ReseedFamily(unmarried, husband), 3);
                ++count;
                continue;
            }
            const auto [f, generation] = pending.front();
            pending.pop_front();
            const int jitter = static_cast<int>(perFamily / 5);
            const auto drawn =
                static_cast<uint32_t>(static_cast<int>(perFamily) + m_rng.Between(-jitter, jitter));
            const uint32_t children = std::min(drawn, total - count);
            const uint32_t firstChild = static_cast<uint32_t>(m_persons.size());
            // Many children per family: spread their births over the parents' 25 years.
            count += AddChildren(f, children, 25);
            for (uint32_t c = firstChild; c < firstChild + children; ++c) {
                if (generation + 1 >= 3 || count >= total || !m_rng.PerMille(900)) {
                    unmarried.push_back(c);
                    continue;
                }
                pending.emplace_back(MarryNewSpouse(c, 0), generation + 1);
                ++count;
            }
        }
    }

    void ShuffleIds() {
        const auto shuffled = [this](size_t count) {
            std::vector<uint32_t> ids(count);
            for (size_t i = 0; i < count; ++i) ids[i] = static_cast<uint32_t>(i);
            for (size_t i = count - 1; i > 1; --i) {
                const uint32_t j = 1 + m_rng.Below(static_cast<uint32_t>(i));  // 1..i
                std::swap(ids[i], ids[j]);
            }
            return ids;
        };
        m_personIds = shuffled(m_persons.size());
        m_familyIds = shuffled(m_families.size());
    }

    uint32_t PersonId(uint32_t p) const { return m_personIds.empty() ? p : m_personIds[p]; }
    uint32_t FamilyId(uint32_t f) const { return m_familyIds.empty() ? f : m_familyIds[f]; }

    // ---- output helpers ----------------------------------------------------------------

    void Text(std::string_view text) { m_sink.Put(text); }
    void Eol() { m_sink.Put(m_eol); }
    void Line(char level, std::string_view tag) {
        m_sink.Put(level);
        m_sink.Put(' ');
        m_sink.Put(tag);
        Eol();
    }
    void Line(char level, std::string_view tag, std::string_view value) {
        m_sink.Put(level);
        m_sink.Put(' ');
        m_sink.Put(tag);
        m_sink.Put(' ');
        m_sink.Put(value);
        Eol();
    }
    void Pointer(char level, std::string_view tag, char kind, uint32_t id) {
        m_sink.Put(level);
        m_sink.Put(' ');
        m_sink.Put(tag);
        m_sink.Put(" @");
        m_sink.Put(kind);
        m_sink.PutNumber(id);
        m_sink.Put('@');
        Eol();
    }
    void RecordHead(char kind, uint32_t id, std::string_view tag) {
        m_sink.Put("0 @");
        m_sink.Put(kind);
        m_sink.PutNumber(id);
        m_sink.Put("@ ");
        m_sink.Put(tag);
        Eol();
    }

    template <typename Pool>
    const std::string& Pick(const Pool& pool) {
        return pool[m_rng.Below(static_cast<uint32_t>(pool.size()))];
    }

    // A day of an event: month 0 to 11, day 1 to 28 (valid in every month).
    struct Day {
        uint32_t month;
        uint32_t day;
    };
    Day RandomDay() { return {m_rng.Below(12), static_cast<uint32_t>(m_rng.Between(1, 20))}; }
    // The same month, a few days later (for christenings and burials).
    Day DaysAfter(Day day, int most) {
        return {day.month, std::min<uint32_t>(28, day.day + m_rng.Between(1, most))};
    }

    void PutFullDate(int32_t year, Day day) {
        m_sink.PutNumber(day.day);
        m_sink.Put(' ');
        m_sink.Put(kMonths[day.month]);
        m_sink.Put(' ');
        m_sink.PutNumber(static_cast<uint64_t>(year));
    }
    void PutFullDate(int32_t year) { PutFullDate(year, RandomDay()); }
    void PutMonthYear(int32_t year, Day day) {
        m_sink.Put(kMonths[day.month]);
        m_sink.Put(' ');
        m_sink.PutNumber(static_cast<uint64_t>(year));
    }
    void PutYear(int32_t year) { m_sink.PutNumber(static_cast<uint64_t>(year)); }

    // "L DATE value" for an event on the given day, in one of the common date forms.
    void DateLine(char level, int32_t year, Day day) {
        m_sink.Put(level);
        m_sink.Put(" DATE ");
        const uint32_t form = m_rng.Below(1000);
        if (form < 600) {
            PutFullDate(year, day);
        } else if (form < 700) {
            PutMonthYear(year, day);
        } else if (form < 850) {
            PutYear(year);
        } else if (form < 910) {
            m_sink.Put("ABT ");
            PutYear(year);
        } else if (form < 930) {
            m_sink.Put("BEF ");
            PutFullDate(year, day);
        } else if (form < 950) {
            m_sink.Put("AFT ");
            PutYear(year);
        } else if (form < 970) {
            m_sink.Put("BET ");
            PutYear(year - m_rng.Between(1, 3));
            m_sink.Put(" AND ");
            PutYear(year + m_rng.Between(0, 3));
        } else if (form < 980) {
            m_sink.Put("EST ");
            PutYear(year);
        } else if (form < 990) {
            m_sink.Put("CAL ");
            PutYear(year);
        } else {
            m_sink.Put("ABT ");
            PutMonthYear(year, day);
        }
        Eol();
    }
    void DateLine(char level, int32_t year) { DateLine(level, year, RandomDay()); }

    // "L DATE FROM a TO b" for a period.
    void PeriodLine(char level, int32_t from, int32_t to) {
        m_sink.Put(level);
        m_sink.Put(" DATE FROM ");
        PutYear(from);
        m_sink.Put(" TO ");
        PutYear(std::max(from, to));
        Eol();
    }

    void PageLine(char level) {
        m_sink.Put(level);
        m_sink.Put(" PAGE ");
        switch (m_rng.Below(4)) {
            case 0:
                m_sink.Put("p. ");
                m_sink.PutNumber(m_rng.Between(1, 400));
                break;
            case 1:
                m_sink.Put("folio ");
                m_sink.PutNumber(m_rng.Between(1, 90));
                m_sink.Put(", entry ");
                m_sink.PutNumber(m_rng.Between(1, 300));
                break;
            case 2:
                m_sink.Put("vol. ");
                m_sink.PutNumber(m_rng.Between(1, 40));
                m_sink.Put(", p. ");
                m_sink.PutNumber(m_rng.Between(1, 600));
                break;
            default:
                m_sink.Put("piece ");
                m_sink.PutNumber(m_rng.Between(100, 4000));
                m_sink.Put(", folio ");
                m_sink.PutNumber(m_rng.Between(1, 120));
                m_sink.Put(", page ");
                m_sink.PutNumber(m_rng.Between(1, 40));
                break;
        }
        Eol();
    }

    void Citation(char level) {
        Pointer(level, "SOUR", 'S', 1 + m_rng.Below(m_sourceCount));
        const char below = static_cast<char>(level + 1);
        PageLine(below);
        if (m_rng.PerMille(100)) Line(below, "NOTE", Pick(m_pools.noteSentences));
    }

    void ChangeDate() {
        Line('1', "CHAN");
        m_sink.Put("2 DATE ");
        PutFullDate(m_rng.Between(2001, 2023));
        Eol();
        if (m_rng.PerMille(500)) {
            char time[9] = "00:00:00";
            const uint32_t h = m_rng.Below(24), m = m_rng.Below(60), s = m_rng.Below(60);
            time[0] = static_cast<char>('0' + h / 10);
            time[1] = static_cast<char>('0' + h % 10);
            time[3] = static_cast<char>('0' + m / 10);
            time[4] = static_cast<char>('0' + m % 10);
            time[6] = static_cast<char>('0' + s / 10);
            time[7] = static_cast<char>('0' + s % 10);
            Line('3', "TIME", std::string_view(time, 8));
        }
    }

    // Writes text after "L TAG " (already written), splitting long lines with CONC (never at
    // a space or inside a multi-byte character) and starting a CONT line at each '\n'.
    void ContinuedText(char level, std::string_view text) {
        constexpr size_t kMaxChunk = 90;
        const char below = static_cast<char>(level + 1);
        bool firstLine = true;
        size_t lineStart = 0;
        while (lineStart <= text.size()) {
            size_t lineEnd = text.find('\n', lineStart);
            if (lineEnd == std::string_view::npos) lineEnd = text.size();
            std::string_view rest = text.substr(lineStart, lineEnd - lineStart);
            if (!firstLine) {
                m_sink.Put(below);
                m_sink.Put(rest.empty() ? " CONT" : " CONT ");
            }
            firstLine = false;
            bool firstChunk = true;
            do {
                size_t cut = rest.size();
                if (rest.size() > kMaxChunk) {
                    cut = kMaxChunk;
                    const auto plainLetter = [](char c) {
                        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
                    };
                    while (cut > 1 && !(plainLetter(rest[cut - 1]) && plainLetter(rest[cut]))) {
                        --cut;
                    }
                    if (cut <= 1) cut = rest.size();  // no safe split: keep the line whole
                }
                if (!firstChunk) {
                    m_sink.Put(below);
                    m_sink.Put(" CONC ");
                }
                firstChunk = false;
                m_sink.Put(rest.substr(0, cut));
                Eol();
                rest.remove_prefix(cut);
            } while (!rest.empty());
            lineStart = lineEnd + 1;
        }
    }

    std::string NoteText(uint32_t sentences) {
        std::string text;
        for (uint32_t i = 0; i < sentences; ++i) {
            if (i > 0) text += m_rng.PerMille(250) ? "\n" : " ";
            text += Pick(m_pools.noteSentences);
        }
        return text;
    }

    void InlineNote(char level) {
        m_sink.Put(level);
        m_sink.Put(" NOTE ");
        ContinuedText(level, NoteText(1 + m_rng.Below(3)));
    }

    // ---- records -----------------------------------------------------------------------

    void WriteHeader() {
        Line('0', "HEAD");
        Line('1', "SOUR", "KINDREL");
        Line('2', "NAME", "Kindrel GEDCOM generator");
        Line('2', "VERS", "1.7.0");
        Line('2', "CORP", "Kindrel Project");
        Line('1', "DEST", "ANY");
        Line('1', "DATE", "1 JAN 2024");
        Line('2', "TIME", "12:00:00");
        Pointer('1', "SUBM", 'U', 1);
        std::string fileName = m_options.fileName.empty() ? "generated.ged" : m_options.fileName;
        for (char& c : fileName) {
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
                c = '_';
            }
        }
        Line('1', "FILE", fileName);
        Line('1', "GEDC");
        Line('2', "VERS", "5.5.1");
        Line('2', "FORM", "LINEAGE-LINKED");
        Line('1', "CHAR", m_options.charset == Charset::kAnsel ? "ANSEL" : "UTF-8");
        m_sink.Put("1 NOTE Generated by kindrel-gengedcom: shape ");
        m_sink.Put(ShapeName(m_options.shape));
        m_sink.Put(", ");
        m_sink.PutNumber(m_options.individuals);
        m_sink.Put(" individuals, seed ");
        m_sink.PutNumber(m_options.seed);
        m_sink.Put('.');
        Eol();
    }

    void WriteSubmitter() {
        RecordHead('U', 1, "SUBM");
        Line('1', "NAME", "Kindrel Generator");
        Line('1', "ADDR", "4 Quayside Yard");
        Line('2', "CONT", "Millbrook");
        Line('2', "CONT", "Wendle WE1 1AA");
        Line('2', "CTRY", "England");
        Line('1', "PHON", "+44 1632 960000");
        Line('1', "_EMAIL", "generator@example.org");
    }

    void WriteName(const Person& person, uint16_t surname) {
        const auto& givenPool = person.sex == 'F' ? m_pools.femaleNames : m_pools.maleNames;
        m_sink.Put("1 NAME ");
        m_sink.Put(givenPool[person.given]);
        if (person.given2 != kNoName) {
            m_sink.Put(' ');
            m_sink.Put(givenPool[person.given2]);
        }
        m_sink.Put(" /");
        m_sink.Put(m_pools.surnames[surname]);
        m_sink.Put('/');
        Eol();
    }

    void WriteIndividual(uint32_t p) {
        const Person& person = m_persons[p];
        RecordHead('I', PersonId(p), "INDI");
        WriteName(person, person.surname);
        if (m_rng.PerMille(40)) {
            const auto& givenPool = person.sex == 'F' ? m_pools.femaleNames : m_pools.maleNames;
            Line('2', "GIVN", givenPool[person.given]);
            Line('2', "SURN", m_pools.surnames[person.surname]);
        }
        // A married name for some wives, as a second NAME line.
        if (person.sex == 'F' && person.famsCount > 0 && m_rng.PerMille(30)) {
            const uint32_t husband = m_families[person.fams[0]].husband;
            if (husband != 0) {
                WriteName(person, m_persons[husband].surname);
                Line('2', "TYPE", "married");
            }
        }
        if (m_rng.PerMille(997)) {
            Line('1', "SEX", std::string_view(&person.sex, 1));
        } else {
            Line('1', "SEX", "U");
        }
        if (m_rng.PerMille(40)) {
            m_sink.Put("1 REFN ");
            m_sink.PutNumber(1000 + p);
            Eol();
        }

        const int32_t birth = person.birthYear;
        const Day birthDay = RandomDay();
        if (m_rng.PerMille(930)) {
            Line('1', "BIRT");
            if (birth != kNoYear && m_rng.PerMille(900)) DateLine('2', birth, birthDay);
            if (m_rng.PerMille(750)) Line('2', "PLAC", Pick(m_pools.places));
            if (m_rng.PerMille(120)) Citation('2');
        }
        if (birth != kNoYear && m_rng.PerMille(250)) {
            Line('1', "CHR");
            m_sink.Put("2 DATE ");
            PutFullDate(birth, DaysAfter(birthDay, 8));
            Eol();
            if (m_rng.PerMille(600)) Line('2', "PLAC", Pick(m_pools.places));
        }

        // Death: the older the person, the likelier; never before their last family event.
        int32_t death = kNoYear;
        bool dead = false;
        if (birth == kNoYear) {
            dead = m_rng.PerMille(700);
        } else {
            const int32_t age = kThisYear - birth;
            dead = age > 100 || (age > 60 && m_rng.PerMille(600)) || m_rng.PerMille(40);
            if (dead) {
                const int32_t lifespan =
                    m_rng.PerMille(120) ? m_rng.Between(0, 12) : m_rng.Between(35, 92);
                death = std::max(birth + lifespan, person.lastEventYear);
                if (death >= kThisYear) death = kThisYear - 1;
            }
        }
        const bool adult = birth == kNoYear || (death == kNoYear ? kThisYear : death) - birth >= 18;
        if (adult && m_rng.PerMille(300)) {
            Line('1', "OCCU", Pick(m_pools.occupations));
            if (birth != kNoYear && m_rng.PerMille(300)) {
                PeriodLine('2', birth + m_rng.Between(14, 25), birth + m_rng.Between(30, 60));
            }
            if (m_rng.PerMille(200)) Line('2', "PLAC", Pick(m_pools.places));
        }
        if (birth != kNoYear && m_rng.PerMille(120)) {
            Line('1', "RESI");
            if (m_rng.PerMille(400)) Line('2', "TYPE", Pick(m_pools.residenceTypes));
            const int32_t from = birth + m_rng.Between(18, 40);
            PeriodLine('2', from, from + m_rng.Between(1, 25));
            Line('2', "PLAC", Pick(m_pools.places));
        }
        if (birth != kNoYear && m_rng.PerMille(100)) {
            const int32_t last = death != kNoYear ? death : kThisYear - 1;
            const int32_t census = 1841 + 10 * static_cast<int32_t>(m_rng.Below(9));
            if (census > birth && census <= last) {
                Line('1', "CENS");
                m_sink.Put("2 DATE ");
                PutYear(census);
                Eol();
                Line('2', "PLAC", Pick(m_pools.places));
                Citation('2');
            }
        }
        if (dead) {
            if (death == kNoYear || m_rng.PerMille(20)) {
                Line('1', "DEAT", "Y");
            } else {
                const Day deathDay = RandomDay();
                Line('1', "DEAT");
                if (m_rng.PerMille(850)) DateLine('2', death, deathDay);
                if (m_rng.PerMille(700)) Line('2', "PLAC", Pick(m_pools.places));
                if (m_rng.PerMille(30)) Line('2', "CAUS", Pick(m_pools.causesOfDeath));
                if (death != kNoYear && m_rng.PerMille(450)) {
                    Line('1', "BURI");
                    if (m_rng.PerMille(700)) {
                        m_sink.Put("2 DATE ");
                        PutFullDate(death, DaysAfter(deathDay, 6));
                        Eol();
                    }
                    Line('2', "PLAC", Pick(m_pools.places));
                }
            }
        }
        if (m_rng.PerMille(60)) InlineNote('1');
        if (m_rng.PerMille(20)) Pointer('1', "NOTE", 'N', 1 + m_rng.Below(m_noteCount));
        if (m_rng.PerMille(80)) Citation('1');
        if (person.famc != 0) Pointer('1', "FAMC", 'F', FamilyId(person.famc));
        for (uint8_t i = 0; i < person.famsCount; ++i) {
            Pointer('1', "FAMS", 'F', FamilyId(person.fams[i]));
        }
        if (m_rng.PerMille(700)) ChangeDate();
    }

    void WriteFamily(uint32_t f) {
        const Family& family = m_families[f];
        RecordHead('F', FamilyId(f), "FAM");
        if (family.husband != 0) Pointer('1', "HUSB", 'I', PersonId(family.husband));
        if (family.wife != 0) Pointer('1', "WIFE", 'I', PersonId(family.wife));
        if (family.husband != 0 && family.wife != 0 && m_rng.PerMille(850)) {
            Line('1', "MARR");
            if (family.marriageYear != kNoYear && m_rng.PerMille(850)) {
                DateLine('2', family.marriageYear);
            }
            if (m_rng.PerMille(700)) Line('2', "PLAC", Pick(m_pools.places));
            if (m_rng.PerMille(100)) Citation('2');
        }
        for (uint32_t i = 0; i < family.childCount; ++i) {
            Pointer('1', "CHIL", 'I', PersonId(family.firstChild + i));
        }
        if (m_rng.PerMille(30)) InlineNote('1');
        if (m_rng.PerMille(500)) ChangeDate();
    }

    void WriteNoteRecord(uint32_t k) {
        // The record head line carries the first part of the text.
        m_sink.Put("0 @N");
        m_sink.PutNumber(k);
        m_sink.Put("@ NOTE ");
        ContinuedText('0', NoteText(2 + m_rng.Below(4)));
    }

    void WriteSource(uint32_t k) {
        RecordHead('S', k, "SOUR");
        const std::string& kind = m_pools.sourceKinds[k % m_pools.sourceKinds.size()];
        const std::string& place = Pick(m_pools.places);
        m_sink.Put("1 TITL ");
        m_sink.Put(kind);
        m_sink.Put(" of ");
        m_sink.Put(place);
        Eol();
        Line('1', "AUTH", Pick(m_pools.archives));
        m_sink.Put("1 PUBL Microfilm edition, ");
        m_sink.PutNumber(m_rng.Between(1950, 2015));
        Eol();
        if (m_rng.PerMille(500)) Line('1', "ABBR", kind);
        Pointer('1', "REPO", 'R', 1 + m_rng.Below(m_repoCount));
        m_sink.Put("2 CALN ");
        m_sink.Put(static_cast<char>('A' + m_rng.Below(26)));
        m_sink.Put(static_cast<char>('A' + m_rng.Below(26)));
        m_sink.Put('/');
        m_sink.PutNumber(m_rng.Between(1, 9999));
        Eol();
        if (m_rng.PerMille(200)) InlineNote('1');
        if (m_rng.PerMille(100)) {
            m_sink.Put("1 TEXT ");
            ContinuedText('1', NoteText(1 + m_rng.Below(2)));
        }
    }

    void WriteRepository(uint32_t k) {
        RecordHead('R', k, "REPO");
        Line('1', "NAME", m_pools.archives[(k - 1) % m_pools.archives.size()]);
        m_sink.Put("1 ADDR ");
        m_sink.PutNumber(m_rng.Between(1, 120));
        m_sink.Put(" Archive Street");
        Eol();
        Line('2', "CONT", "Millbrook");
        Line('2', "CITY", "Millbrook");
        Line('2', "POST", "WE4 2QT");
        Line('2', "CTRY", "England");
        m_sink.Put("1 PHON +44 1632 960");
        m_sink.PutNumber(100 + k);
        Eol();
    }

    const GenOptions& m_options;
    GedcomSink& m_sink;
    Rng m_rng;
    const Pools m_pools;
    const std::string_view m_eol;
    std::vector<Person> m_persons;
    std::vector<Family> m_families;
    std::vector<uint32_t> m_personIds;
    std::vector<uint32_t> m_familyIds;
    uint32_t m_noteCount = 1;
    uint32_t m_sourceCount = 3;
    uint32_t m_repoCount = 1;
};

}  // namespace

GenStats GenerateGedcom(const GenOptions& options, GedcomSink& sink) {
    Generator generator(options, sink);
    GenStats stats = generator.Run();
    sink.Flush();
    stats.bytes = sink.BytesWritten();
    return stats;
}

uint64_t IndividualsForBytes(const GenOptions& options, uint64_t targetBytes) {
    // Measure a trial run, scale, and measure once more at the scaled size: the bytes per
    // individual drift slowly with the count (longer identifiers, more sources).
    GenOptions trial = options;
    trial.individuals = std::clamp<uint64_t>(targetBytes / 350, 1, 20000);
    for (int pass = 0; pass < 2; ++pass) {
        GedcomSink counter(nullptr);
        const GenStats stats = GenerateGedcom(trial, counter);
        const double perIndividual =
            static_cast<double>(stats.bytes) / static_cast<double>(trial.individuals);
        const auto scaled = static_cast<uint64_t>(static_cast<double>(targetBytes) / perIndividual);
        const uint64_t next = std::clamp<uint64_t>(scaled, 1, kMaxIndividuals);
        if (next == trial.individuals) break;
        trial.individuals = next;
    }
    return trial.individuals;
}

}  // namespace kindrel::gen
