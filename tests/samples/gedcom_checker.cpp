#include "gedcom_checker.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <numeric>
#include <sstream>

namespace kindrel::testing {
namespace {

constexpr size_t kMaxErrors = 50;

class Checker {
  public:
    Checker(std::string_view bytes, LineEnds lineEnds, TextEncoding encoding)
        : m_bytes(bytes), m_lineEnds(lineEnds), m_encoding(encoding) {}

    GedCheck Run() {
        SplitAndParse();
        CheckRecordsFrame();
        CheckContinuations();
        CheckPointers();
        CheckFamilyLinks();
        MeasureTree();
        return std::move(m_result);
    }

  private:
    void Error(size_t lineNumber, const std::string& text) {
        if (m_result.errors.size() >= kMaxErrors) return;
        m_result.errors.push_back("line " + std::to_string(lineNumber) + ": " + text);
    }

    // ---- bytes and line syntax ----------------------------------------------------------

    void SplitAndParse() {
        if (m_bytes.empty()) {
            Error(0, "empty file");
            return;
        }
        if (m_bytes.back() != '\n') Error(0, "the last line has no line end");
        size_t start = 0;
        size_t lineNumber = 0;
        while (start < m_bytes.size()) {
            ++lineNumber;
            size_t end = m_bytes.find('\n', start);
            if (end == std::string_view::npos) end = m_bytes.size();
            std::string_view content = m_bytes.substr(start, end - start);
            if (m_lineEnds == LineEnds::kCrlf) {
                if (end < m_bytes.size() && (content.empty() || content.back() != '\r')) {
                    Error(lineNumber, "line ends in LF without CR");
                } else if (!content.empty() && content.back() == '\r') {
                    content.remove_suffix(1);
                }
            }
            if (content.find('\r') != std::string_view::npos) {
                Error(lineNumber, m_lineEnds == LineEnds::kLf ? "CR in a file with LF line ends"
                                                              : "stray CR inside a line");
            }
            CheckEncoding(lineNumber, content);
            ParseLine(lineNumber, content);
            start = end + 1;
        }
    }

    void CheckEncoding(size_t lineNumber, std::string_view content) {
        for (const char c : content) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 && byte != '\r') {
                Error(lineNumber, "control byte inside a line");
                return;
            }
            if (byte == 0x7F) {
                Error(lineNumber, "DEL byte inside a line");
                return;
            }
        }
        const bool valid =
            m_encoding == TextEncoding::kUtf8 ? ValidUtf8(content) : ValidAnsel(content);
        if (!valid) {
            Error(lineNumber,
                  m_encoding == TextEncoding::kUtf8 ? "invalid UTF-8" : "invalid ANSEL");
        }
    }

    static bool ValidUtf8(std::string_view text) {
        size_t i = 0;
        while (i < text.size()) {
            const auto lead = static_cast<unsigned char>(text[i]);
            if (lead < 0x80) {
                ++i;
                continue;
            }
            int extra = 0;
            uint32_t cp = 0;
            uint32_t minimum = 0;
            if (lead >= 0xC2 && lead <= 0xDF) {
                extra = 1, cp = lead & 0x1F, minimum = 0x80;
            } else if ((lead & 0xF0) == 0xE0) {
                extra = 2, cp = lead & 0x0F, minimum = 0x800;
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                extra = 3, cp = lead & 0x07, minimum = 0x10000;
            } else {
                return false;
            }
            if (i + extra >= text.size()) return false;
            for (int k = 1; k <= extra; ++k) {
                const auto next = static_cast<unsigned char>(text[i + k]);
                if ((next & 0xC0) != 0x80) return false;
                cp = (cp << 6) | (next & 0x3F);
            }
            if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
            i += extra + 1;
        }
        return true;
    }

    static bool AnselSpacing(unsigned char byte) {
        return (byte >= 0xA1 && byte <= 0xAE) || (byte >= 0xB0 && byte <= 0xBA) ||
               (byte >= 0xBC && byte <= 0xC8) || (byte >= 0xCD && byte <= 0xCF);
    }
    static bool AnselCombining(unsigned char byte) {
        return (byte >= 0xE0 && byte <= 0xFB) || byte == 0xFE;
    }

    // ANSEL: defined high bytes only, and every combining mark stands before a letter or
    // spacing character (possibly after further marks).
    static bool ValidAnsel(std::string_view text) {
        for (size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte < 0x80 || AnselSpacing(byte)) continue;
            if (!AnselCombining(byte)) return false;
            size_t next = i + 1;
            while (next < text.size() && AnselCombining(static_cast<unsigned char>(text[next]))) {
                ++next;
            }
            if (next >= text.size()) return false;
            const auto base = static_cast<unsigned char>(text[next]);
            const bool letter = (base >= 'A' && base <= 'Z') || (base >= 'a' && base <= 'z');
            if (!letter && !AnselSpacing(base)) return false;
            i = next;
        }
        return true;
    }

    static bool TagChar(char c, bool first) {
        if (c == '_' || (c >= 'A' && c <= 'Z')) return true;
        return !first && c >= '0' && c <= '9';
    }

    void ParseLine(size_t lineNumber, std::string_view content) {
        GedLine line;
        line.lineNumber = lineNumber;
        // The viewer reads a one-character level, so every level here is one digit.
        if (content.size() < 3 || content[0] < '0' || content[0] > '9' || content[1] != ' ') {
            Error(lineNumber, "line does not start with a one-digit level and a space");
            return;
        }
        line.level = content[0] - '0';
        size_t pos = 2;
        if (content[pos] == '@') {
            const size_t close = content.find('@', pos + 1);
            if (close == std::string_view::npos || close == pos + 1 ||
                close + 1 >= content.size() || content[close + 1] != ' ') {
                Error(lineNumber, "malformed record identifier");
                return;
            }
            line.xref = std::string(content.substr(pos + 1, close - pos - 1));
            if (line.xref.find(' ') != std::string::npos) {
                Error(lineNumber, "space inside a record identifier");
            }
            if (line.level != 0) Error(lineNumber, "identifier on a line below level 0");
            pos = close + 2;
        }
        const size_t tagStart = pos;
        while (pos < content.size() && content[pos] != ' ') {
            if (!TagChar(content[pos], pos == tagStart)) {
                Error(lineNumber, "bad character in tag");
                return;
            }
            ++pos;
        }
        if (pos == tagStart) {
            Error(lineNumber, "missing tag");
            return;
        }
        line.tag = std::string(content.substr(tagStart, pos - tagStart));
        if (pos < content.size()) {
            line.value = std::string(content.substr(pos + 1));
            if (line.value.empty()) Error(lineNumber, "space after the tag but no value");
            if (!line.value.empty() && line.value.back() == ' ') {
                Error(lineNumber, "trailing space in the value");
            }
        }
        AddLine(std::move(line));
    }

    void AddLine(GedLine line) {
        if (m_previousLevel < 0 && line.level != 0) {
            Error(line.lineNumber, "the file does not start at level 0");
        }
        if (m_previousLevel >= 0 && line.level > m_previousLevel + 1) {
            Error(line.lineNumber, "level jumps by more than one");
        }
        m_previousLevel = line.level;
        if (line.level == 0) {
            GedRecord record;
            record.xref = line.xref;
            record.tag = line.tag;
            m_result.records.push_back(std::move(record));
        } else if (m_result.records.empty()) {
            return;
        }
        m_result.records.back().lines.push_back(std::move(line));
    }

    // ---- records ------------------------------------------------------------------------

    void CheckRecordsFrame() {
        auto& records = m_result.records;
        if (records.empty()) {
            Error(0, "no records");
            return;
        }
        if (records.front().tag != "HEAD" || !records.front().xref.empty()) {
            Error(1, "the first record is not HEAD");
        }
        if (records.back().tag != "TRLR" || records.back().lines.size() != 1) {
            Error(records.back().lines.front().lineNumber, "the last record is not a bare TRLR");
        }
        for (size_t r = 0; r < records.size(); ++r) {
            const GedRecord& record = records[r];
            const size_t lineNumber = record.lines.front().lineNumber;
            if (record.xref.empty()) {
                const bool frame = (record.tag == "HEAD" && r == 0) ||
                                   (record.tag == "TRLR" && r + 1 == records.size());
                if (!frame) Error(lineNumber, "level-0 record without identifier: " + record.tag);
                continue;
            }
            if (!m_result.recordByXref.emplace(record.xref, r).second) {
                Error(lineNumber, "duplicate identifier @" + record.xref + "@");
            }
            if (record.tag == "INDI") ++m_result.individuals;
            if (record.tag == "FAM") ++m_result.families;
            if (record.tag == "NOTE") ++m_result.notes;
            if (record.tag == "SOUR") ++m_result.sources;
            if (record.tag == "REPO") ++m_result.repositories;
            if (record.tag == "SUBM") ++m_result.submitters;
        }
    }

    void CheckContinuations() {
        for (const GedRecord& record : m_result.records) {
            for (size_t i = 0; i < record.lines.size(); ++i) {
                const GedLine& line = record.lines[i];
                if (line.tag != "CONT" && line.tag != "CONC") continue;
                if (line.tag == "CONC" && line.value.empty()) {
                    Error(line.lineNumber, "CONC without text");
                }
                if (i == 0) {
                    Error(line.lineNumber, "continuation line opens a record");
                    continue;
                }
                const GedLine& previous = record.lines[i - 1];
                const bool sibling = previous.level == line.level &&
                                     (previous.tag == "CONT" || previous.tag == "CONC");
                if (previous.level != line.level - 1 && !sibling) {
                    Error(line.lineNumber, "continuation line does not follow its value line");
                    continue;
                }
                size_t parent = i - 1;
                while (record.lines[parent].level != line.level - 1) --parent;
                if (record.lines[parent].value.empty()) {
                    Error(line.lineNumber, "continuation of a line without value");
                }
            }
        }
    }

    static std::string ExpectedKind(const std::string& tag) {
        if (tag == "FAMC" || tag == "FAMS") return "FAM";
        if (tag == "HUSB" || tag == "WIFE" || tag == "CHIL" || tag == "ASSO") return "INDI";
        if (tag == "NOTE" || tag == "SOUR" || tag == "REPO" || tag == "SUBM" || tag == "OBJE") {
            return tag;
        }
        return {};
    }

    void CheckPointers() {
        for (const GedRecord& record : m_result.records) {
            for (size_t i = 1; i < record.lines.size(); ++i) {
                const GedLine& line = record.lines[i];
                const std::string& value = line.value;
                if (value.empty() || value.front() != '@') continue;
                if (value.size() >= 2 && value[1] == '#') continue;  // calendar escape
                const size_t close = value.find('@', 1);
                if (close == std::string::npos || close != value.size() - 1 || close == 1) {
                    Error(line.lineNumber, "malformed pointer " + value);
                    continue;
                }
                const std::string target = value.substr(1, value.size() - 2);
                const GedRecord* found = m_result.Find(target);
                if (found == nullptr) {
                    Error(line.lineNumber, "pointer " + value + " matches no record");
                    continue;
                }
                const std::string expected = ExpectedKind(line.tag);
                if (!expected.empty() && found->tag != expected) {
                    Error(line.lineNumber, line.tag + " points to a " + found->tag + " record");
                }
            }
        }
    }

    static std::string Target(const std::string& pointer) {
        return pointer.size() > 2 ? pointer.substr(1, pointer.size() - 2) : std::string();
    }

    // FAMC agrees with CHIL, FAMS with HUSB or WIFE, in both directions, without duplicates.
    void CheckFamilyLinks() {
        std::map<std::pair<std::string, std::string>, int> childOf;   // (family, person)
        std::map<std::pair<std::string, std::string>, int> spouseOf;  // (family, person)
        for (const GedRecord& record : m_result.records) {
            if (record.tag == "INDI") {
                for (const GedLine* line : record.LinesAt(1, "FAMC")) {
                    if (++childOf[{Target(line->value), record.xref}] != 1) {
                        Error(line->lineNumber, "repeated FAMC");
                    }
                }
                for (const GedLine* line : record.LinesAt(1, "FAMS")) {
                    if (++spouseOf[{Target(line->value), record.xref}] != 1) {
                        Error(line->lineNumber, "repeated FAMS");
                    }
                }
            }
        }
        for (const GedRecord& record : m_result.records) {
            if (record.tag != "FAM") continue;
            for (const char* tag : {"HUSB", "WIFE", "CHIL"}) {
                const bool child = std::string_view(tag) == "CHIL";
                auto& links = child ? childOf : spouseOf;
                for (const GedLine* line : record.LinesAt(1, tag)) {
                    const auto key = std::make_pair(record.xref, Target(line->value));
                    auto it = links.find(key);
                    if (it == links.end() || it->second == 0) {
                        Error(line->lineNumber, std::string(tag) + " " + line->value +
                                                    " has no matching " +
                                                    (child ? "FAMC" : "FAMS") + " line");
                    } else if (it->second < 0) {
                        Error(line->lineNumber, "person listed twice in the family");
                    } else {
                        it->second = -1;  // matched
                    }
                }
            }
            if (record.LinesAt(1, "HUSB").size() > 1 || record.LinesAt(1, "WIFE").size() > 1) {
                Error(record.lines.front().lineNumber, "family with two husbands or two wives");
            }
        }
        for (const auto* links : {&childOf, &spouseOf}) {
            for (const auto& [key, state] : *links) {
                if (state > 0) {
                    Error(0, "@" + key.second + "@ names family @" + key.first +
                                 "@, which does not list them");
                }
            }
        }
    }

    // ---- generations and islands --------------------------------------------------------

    size_t Root(std::vector<size_t>& parent, size_t i) {
        while (parent[i] != i) {
            parent[i] = parent[parent[i]];
            i = parent[i];
        }
        return i;
    }

    void MeasureTree() {
        std::map<std::string, size_t> person;
        for (const GedRecord& record : m_result.records) {
            if (record.tag == "INDI") person.emplace(record.xref, person.size());
        }
        const size_t count = person.size();
        std::vector<std::vector<size_t>> children(count);
        std::vector<size_t> parentsLeft(count, 0);
        std::vector<size_t> groupOf(count);
        std::iota(groupOf.begin(), groupOf.end(), size_t{0});
        const auto indexOf = [&person](const GedLine* line) -> long {
            const auto it = person.find(Target(line->value));
            return it == person.end() ? -1 : static_cast<long>(it->second);
        };
        for (const GedRecord& record : m_result.records) {
            if (record.tag != "FAM") continue;
            std::vector<size_t> parents;
            std::vector<size_t> members;
            for (const char* tag : {"HUSB", "WIFE"}) {
                for (const GedLine* line : record.LinesAt(1, tag)) {
                    if (const long i = indexOf(line); i >= 0) {
                        parents.push_back(size_t(i));
                        members.push_back(size_t(i));
                    }
                }
            }
            for (const GedLine* line : record.LinesAt(1, "CHIL")) {
                const long c = indexOf(line);
                if (c < 0) continue;
                members.push_back(size_t(c));
                for (const size_t p : parents) {
                    children[p].push_back(size_t(c));
                    ++parentsLeft[size_t(c)];
                }
            }
            for (size_t k = 1; k < members.size(); ++k) {
                groupOf[Root(groupOf, members[k])] = Root(groupOf, members[0]);
            }
        }
        // Longest parent-to-child line, in people, by a topological walk (no recursion, so a
        // chain of any depth is measured).
        std::vector<size_t> depth(count, 1);
        std::vector<size_t> ready;
        for (size_t i = 0; i < count; ++i) {
            if (parentsLeft[i] == 0) ready.push_back(i);
        }
        size_t visited = 0;
        while (!ready.empty()) {
            const size_t p = ready.back();
            ready.pop_back();
            ++visited;
            m_result.generations = std::max(m_result.generations, depth[p]);
            for (const size_t c : children[p]) {
                depth[c] = std::max(depth[c], depth[p] + 1);
                if (--parentsLeft[c] == 0) ready.push_back(c);
            }
        }
        if (visited != count) Error(0, "a person is their own ancestor");

        std::map<size_t, size_t> sizes;
        for (size_t i = 0; i < count; ++i) ++sizes[Root(groupOf, i)];
        for (const auto& [root, size] : sizes) m_result.islandSizes.push_back(size);
        std::sort(m_result.islandSizes.rbegin(), m_result.islandSizes.rend());
    }

    std::string_view m_bytes;
    LineEnds m_lineEnds;
    TextEncoding m_encoding;
    int m_previousLevel = -1;
    GedCheck m_result;
};

}  // namespace

std::vector<const GedLine*> GedRecord::LinesAt(int level, std::string_view tag) const {
    std::vector<const GedLine*> found;
    for (const GedLine& line : lines) {
        if (line.level == level && line.tag == tag) found.push_back(&line);
    }
    return found;
}

std::string GedRecord::FirstValue(int level, std::string_view tag) const {
    for (const GedLine& line : lines) {
        if (line.level == level && line.tag == tag) return line.value;
    }
    return {};
}

std::vector<const GedLine*> GedRecord::ChildrenOf(size_t index) const {
    std::vector<const GedLine*> found;
    if (index >= lines.size()) return found;
    const int level = lines[index].level;
    for (size_t i = index + 1; i < lines.size() && lines[i].level > level; ++i) {
        if (lines[i].level == level + 1) found.push_back(&lines[i]);
    }
    return found;
}

const GedRecord* GedCheck::Find(std::string_view xref) const {
    const auto it = recordByXref.find(std::string(xref));
    return it == recordByXref.end() ? nullptr : &records[it->second];
}

std::string GedCheck::ErrorText() const {
    std::string text;
    for (const std::string& error : errors) text += error + "\n";
    return text;
}

GedCheck CheckGedcom(std::string_view bytes, LineEnds lineEnds, TextEncoding encoding) {
    return Checker(bytes, lineEnds, encoding).Run();
}

std::string ReadBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace kindrel::testing
