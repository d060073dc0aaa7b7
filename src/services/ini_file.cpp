#include "services/ini_file.h"

#include "containers/errors.h"
#include "services/atomic_output.h"
#include "services/posix_file.h"

#include <cerrno>
#include <filesystem>

namespace kindrel {

namespace {

std::string_view Trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The section name when line is a section header.
std::optional<std::string_view> SectionOf(std::string_view line) {
    const std::string_view t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    const std::string_view t = Trim(line);
    return !t.empty() && (t.front() == ';' || t.front() == '#');
}

// Splits a key line into key and value; false for lines without '='.
bool SplitKey(std::string_view line, std::string_view& key, std::string_view& value) {
    if (IsComment(line)) return false;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return !key.empty();
}

std::string OneLine(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

}  // namespace

WIniFile WIniFile::Parse(std::string_view text) {
    WIniFile ini;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        ini.m_bom = true;
        text.remove_prefix(3);
    }
    const size_t firstBreak = text.find('\n');
    ini.m_crlf =
        firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r';
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        // Every carriage return before the break goes: a "\r\r\n" line would otherwise keep
        // one and read differently once written back.
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ini.m_lines.emplace_back(line);
        start = end + 1;
    }
    return ini;
}

WIniFile WIniFile::Load(const std::string& fileName) {
    const WUniqueFd fd = OpenForReading(fileName);
    if (!fd.IsOpen()) {
        if (errno == ENOENT) return WIniFile();
        throw EFileError(fileName);
    }
    std::string text;
    char buffer[8192];
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ReadAt(fd.Get(), buffer, sizeof buffer, offset);
        if (got < 0) throw EFileError(fileName);
        text.append(buffer, static_cast<size_t>(got));
        offset += got;
        if (got < static_cast<ssize_t>(sizeof buffer)) break;
    }
    return Parse(text);
}

long WIniFile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = SectionOf(m_lines[i]);
        if (name && SameName(*name, section)) return static_cast<long>(i);
    }
    return -1;
}

std::optional<std::string> WIniFile::Get(std::string_view section, std::string_view key) const {
    const long head = FindSection(section);
    if (head < 0) return std::nullopt;
    for (size_t i = static_cast<size_t>(head) + 1; i < m_lines.size(); ++i) {
        if (SectionOf(m_lines[i])) break;
        std::string_view k, v;
        if (SplitKey(m_lines[i], k, v) && SameName(k, key)) return std::string(v);
    }
    return std::nullopt;
}

void WIniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string newLine = std::string(key) + "=" + OneLine(value);
    const long head = FindSection(section);
    if (head < 0) {
        if (!m_lines.empty() && !Trim(m_lines.back()).empty()) m_lines.emplace_back();
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(newLine);
        return;
    }
    // Insert after the last non-blank line of the section, so blank separators stay between
    // sections.
    size_t insertAt = static_cast<size_t>(head) + 1;
    for (size_t i = static_cast<size_t>(head) + 1; i < m_lines.size(); ++i) {
        if (SectionOf(m_lines[i])) break;
        std::string_view k, v;
        if (SplitKey(m_lines[i], k, v) && SameName(k, key)) {
            m_lines[i] = std::string(k) + "=" + OneLine(value);
            return;
        }
        if (!Trim(m_lines[i]).empty()) insertAt = i + 1;
    }
    m_lines.insert(m_lines.begin() + static_cast<long>(insertAt), newLine);
}

std::string WIniFile::ToText() const {
    std::string text = m_bom ? "\xEF\xBB\xBF" : "";
    const char* eol = m_crlf ? "\r\n" : "\n";
    for (const std::string& line : m_lines) {
        text += line;
        text += eol;
    }
    return text;
}

void WIniFile::SaveAtomically(const std::string& fileName) const {
    std::error_code ec;
    const std::filesystem::path target(fileName);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    if (ec) throw EFileError(fileName);
    try {
        WAtomicOutput output(fileName);
        const std::string text = ToText();
        output.Write(text.data(), text.size());
        output.Commit();
    } catch (const EOutputError&) {
        throw EFileError(fileName);
    }
}

}  // namespace kindrel
