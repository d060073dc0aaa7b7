// Fuzz target for the settings file: the input is a KDSE.ini. It is parsed, written back and
// parsed again (which must change nothing more), every setting of the table is read through
// the typed reads of the settings store, and a setting chosen by the input is written and
// read back, in the document and through the store's file.
#include "containers/errors.h"
#include "services/ini_file.h"
#include "services/options.h"

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

using namespace kindrel;

// Stops at a broken promise, saying which one.
void CheckAt(bool condition, int line) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_settings: check at line %d failed\n", line);
    __builtin_trap();
}
#define Check(condition) CheckAt((condition), __LINE__)

// A private folder for this process's files, removed at exit. The path lives on the heap
// and is never destroyed, so the exit handler can still read it.
const std::filesystem::path& WorkDir() {
    static const std::filesystem::path* const dir = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kindrel-fuzz-settings-XXXXXX").string();
        Check(::mkdtemp(pattern.data()) != nullptr);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(WorkDir(), ignored);
        });
        return new std::filesystem::path(pattern);
    }();
    return *dir;
}

void WriteFile(const std::string& path, std::string_view text) {
    std::filesystem::remove(path);
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    Check(out.good());
}

// What Get answers for a value Set stored: line breaks as spaces, outer blanks trimmed.
std::string StoredForm(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    size_t begin = 0, end = out.size();
    while (begin < end && blank(out[begin])) ++begin;
    while (end > begin && blank(out[end - 1])) --end;
    return out.substr(begin, end - begin);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string path = (WorkDir() / "KDSE.ini").string();
    const std::string copy = (WorkDir() / "copy.ini").string();

    // Parsing is tolerant and writing back is stable.
    const WIniFile parsed = WIniFile::Parse(text);
    const std::string once = parsed.ToText();
    Check(WIniFile::Parse(once).ToText() == once);

    // Every setting reads the same through the document and through the typed reads.
    WriteFile(path, text);
    WOptions options(path);
    for (int n = 1; n <= kOptionCount; ++n) {
        const OptionDefinition& def = OptionDefinitionOf(n);
        const std::string value = options.ReadText(n);
        Check(value == parsed.Get(def.section, def.key).value_or(def.defaultText));
        Check(options.ReadInt(n) == SettingToInt(value));
        Check(options.ReadBool(n) == (value == "T"));
        int parsedInt = 12345;
        if (ParseSettingInt(value, parsedInt)) Check(parsedInt == SettingToInt(value));
    }
    const WindowPlacement placement = options.ReadWindowPlacement(1024, 768);
    (void)placement;
    (void)options.ReadListColumns();
    (void)options.ReadDirect("List", "String", "");

    // A setting chosen by the first byte takes a value cut from the input.
    if (size >= 1) {
        const int number = 1 + data[0] % kOptionCount;
        const OptionDefinition& def = OptionDefinitionOf(number);
        const std::string_view value = text.substr(1, 64);
        WIniFile edited = parsed;
        edited.Set(def.section, def.key, value);
        Check(edited.Get(def.section, def.key) == StoredForm(value));
        // Atomic save and load give the document back.
        edited.SaveAtomically(copy);
        Check(WIniFile::Load(copy).ToText() == edited.ToText());

        options.WriteText(number, std::string(value));
        try {
            options.Flush();
        } catch (const EFileError&) {
            Check(false);  // the private folder is always writable
        }
        WOptions reread(path);
        Check(reread.ReadText(number) == StoredForm(value));
    }
    return 0;
}
