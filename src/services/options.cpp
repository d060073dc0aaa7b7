#include "services/options.h"

#include "containers/errors.h"
#include "containers/ui_hooks.h"

#include <pwd.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace kindrel {

namespace {

// The settings file as it is, or no settings when it cannot be read: settings never stop the
// program. A name that is not a regular file (a named pipe) is worth one warning.
WIniFile LoadOrDefaults(const std::string& fileName) {
    try {
        return WIniFile::Load(fileName);
    } catch (const ENotRegularFile& error) {
        // Once, and only once somebody shows it (reads come before the window's hooks).
        static bool warned = false;
        if (!warned && Hooks().warning) {
            warned = true;
            ShowWarning(error.what());
        }
    } catch (const KindrelError&) {
    }
    return WIniFile();
}

constexpr const char* kGeneral = "General";
constexpr const char* kPrinting = "Printing";
constexpr const char* kInternet = "Internet";
constexpr const char* kSelfExtract = "SelfExtract";
constexpr const char* kHelp = "Help";
constexpr const char* kTmg = "TMG";

// Settings 1 to 134 in number order.
// clang-format off
constexpr OptionDefinition kOptions[kOptionCount] = {
    {kGeneral, "UseLDS", "F"},
    {kGeneral, "FirstTime107", "T"},
    {kGeneral, "MailingList", "T"},
    {kGeneral, "GEDAssoc", "T"},
    {kPrinting, "Ped_Single", "T"},
    {kPrinting, "List_Grey", "F"},
    {kPrinting, "List_Divider", "F"},
    {kPrinting, "List_HL", "F"},
    {kPrinting, "HL_Grey", "F"},
    {kPrinting, "HL_Divider", "F"},
    {kPrinting, "Island_Grey", "F"},
    {kPrinting, "Island_Divider", "F"},
    {kGeneral, "FindDlg", "3"},
    {kGeneral, "FindInList", "F"},
    {kGeneral, "Finddir", ""},
    {kInternet, "YearRange", "0"},
    {kInternet, "UseYear", "T"},
    {kInternet, "MatchAll", "T"},
    {kGeneral, "SrcCol1", "40"},
    {kGeneral, "SrcCol2", "12"},
    {kGeneral, "SrcCol3", "12"},
    {kGeneral, "SrcCol4", "12"},
    {kGeneral, "SrcCol5", "150"},
    {kGeneral, "SrcCol6", "150"},
    {kGeneral, "SrcCol7", "150"},
    {kGeneral, "SrcCol8", "150"},
    {kGeneral, "File1", ""},
    {kGeneral, "File2", ""},
    {kGeneral, "File3", ""},
    {kGeneral, "File4", ""},
    {kGeneral, "File5", ""},
    {kGeneral, "File6", ""},
    {kGeneral, "File7", ""},
    {kGeneral, "File8", ""},
    {kGeneral, "File9", ""},
    {kGeneral, "File10", ""},
    {kGeneral, "OpenLastFile", "T"},
    {kGeneral, "LastTab", "0"},
    {kGeneral, "LastID", "1"},
    {kGeneral, "LastPanel", "0"},
    {kGeneral, "LastPanelWidth", "150"},
    {kGeneral, "LastPanelState", "T"},
    {kGeneral, "LastDrive", ""},
    {kGeneral, "LastDir", ""},
    {kGeneral, "HLManual", "F"},
    {kSelfExtract, "Name", ""},
    {kSelfExtract, "Email", ""},
    {kSelfExtract, "Addr1", ""},
    {kSelfExtract, "Addr2", ""},
    {kSelfExtract, "Addr3", ""},
    {kSelfExtract, "BNRadio", "0"},
    {kSelfExtract, "sendmsg", "sendmsg.txt"},
    {kSelfExtract, "Title", ""},
    {kSelfExtract, "Phone", ""},
    {kSelfExtract, "AllowExtract", "F"},
    {kSelfExtract, "Dir", ""},
    {kSelfExtract, "Web", ""},
    {kGeneral, "FamCol1", "10"},
    {kGeneral, "FamCol2", "200"},
    {kGeneral, "FamCol3", "25"},
    {kGeneral, "FamCol4", "75"},
    {kGeneral, "FamCol5", "75"},
    {kGeneral, "FamCol6", "200"},
    {kGeneral, "FontSize", "8"},
    {kGeneral, "GridHeight", "14"},
    {kGeneral, "HLText", "T"},
    {kGeneral, "FHCOpen", "T"},
    {kGeneral, "AutoSearch", "T"},
    {kGeneral, "DesColumns", "65,67,19,59,60"},
    {kGeneral, "DesNameCol", "400"},
    {kGeneral, "DesGenLimit", "32"},
    {kGeneral, "DesShowLines", "T"},
    {kGeneral, "DesRepDups", "F"},
    {kGeneral, "DesIndent", "8"},
    {kPrinting, "DesColW", "36"},
    {kPrinting, "DesPC", "T"},
    {kPrinting, "DesDLines", "F"},
    {kGeneral, "CheckUpdates", "T"},
    {kGeneral, "LastUpdate", ""},
    {kGeneral, "UpdatePeriod", "30"},
    {kGeneral, "AgeCalcCB", "T"},
    {kGeneral, "ShowHlPanel", "T"},
    {kGeneral, "ShowIndHint", "T"},
    {kGeneral, "LoadLastFile", "T"},
    {kGeneral, "LEGCacheNames", "F"},
    {kGeneral, "SortFirstColumn", "T"},
    {kPrinting, "SaveToFileDir", ""},
    {kGeneral, "IslandColumns", "1,2,7,65,67,19,18,54,55"},
    {kGeneral, "FNValueFlag", "T"},
    {kGeneral, "FNValue", "1"},
    {kPrinting, "IndNotes", "T"},
    {kGeneral, "OpenDir", ""},
    {kPrinting, "ViewSaved", "T"},
    {kHelp, "DispInitHelp", "T"},
    {kHelp, "IH1", "T"},
    {kHelp, "IH2", "T"},
    {kHelp, "IH3", "T"},
    {kHelp, "IH4", "T"},
    {kHelp, "IH5", "T"},
    {kHelp, "IH6", "T"},
    {kHelp, "IH7", "T"},
    {kHelp, "IH8", "T"},
    {kHelp, "IH9", "T"},
    {kHelp, "IH10", "T"},
    {kHelp, "IH11", "T"},
    {kHelp, "IH12", "T"},
    {kHelp, "IH13", "T"},
    {kHelp, "IH14", "T"},
    {kHelp, "IH15", "T"},
    {kHelp, "IH16", "T"},
    {kHelp, "IH17", "T"},
    {kHelp, "IH18", "T"},
    {kHelp, "IH19", "T"},
    {kHelp, "IH20", "T"},
    {kHelp, "IH21", "T"},
    {kHelp, "IH22", "T"},
    {kHelp, "IH23", "T"},
    {kHelp, "IH24", "T"},
    {kHelp, "IH25", "T"},
    {kGeneral, "CalcIslands", "T"},
    {kGeneral, "HLCol", "65535"},
    {kGeneral, "HLTCol", "0"},
    {kGeneral, "NameSlash", "T"},
    {kGeneral, "NameUpper", "F"},
    {kGeneral, "PreSuf", "T"},
    {kTmg, "TMGTagSent", "T"},
    {kTmg, "TMGEngage", "F"},
    {kGeneral, "Chrono", "T"},
    {kGeneral, "IslandWit", "T"},
    {kGeneral, "SrcCol9", "150"},
    {kGeneral, "SrcCol10", "150"},
    {kGeneral, "SrcCol11", "150"},
    {kGeneral, "IndMod", "T"},
    {kGeneral, "QFind", "1"},
};
// clang-format on

constexpr const char* kListSection = "List";
constexpr const char* kListKey = "String";
constexpr const char* kListDefault = "1,2,7,65,67,19,18";

// A placement value: the default when absent or not a number.
int PlacementInt(const WIniFile& ini, const char* key, int defaultValue) {
    const auto text = ini.Get(kGeneral, key);
    if (!text) return defaultValue;
    int value = 0;
    return ParseSettingInt(*text, value) ? value : defaultValue;
}

}  // namespace

bool ParseSettingInt(const std::string& text, int& value) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t digitsStart = i;
    long long number = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number = number * 10 + (text[i] - '0');
        if (number > static_cast<long long>(INT_MAX) + 1) return false;
        ++i;
    }
    if (i == digitsStart) return false;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i != text.size()) return false;
    if (negative) number = -number;
    if (number > INT_MAX || number < INT_MIN) return false;
    value = static_cast<int>(number);
    return true;
}

int SettingToInt(const std::string& text) {
    int value = 0;
    return ParseSettingInt(text, value) ? value : 0;
}

const OptionDefinition& OptionDefinitionOf(int number) {
    if (number < 1 || number > kOptionCount) throw EIndexError(number);
    return kOptions[number - 1];
}

WOptions::WOptions(std::string fileName) : m_fileName(std::move(fileName)) {}

std::string WOptions::DefaultFileName() {
    namespace fs = std::filesystem;
    // A relative XDG_CONFIG_HOME is to be ignored.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return (fs::path(xdg) / "KDSE.ini").string();
    std::string home;
    if (const char* env = std::getenv("HOME"); env && env[0]) {
        home = env;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    } else {
        home = ".";
    }
    return (fs::path(home) / ".config" / "KDSE.ini").string();
}

size_t WOptions::Slot(int number) {
    if (number < 1 || number > kOptionCount) throw EIndexError(number);
    return static_cast<size_t>(number - 1);
}

const WIniFile& WOptions::Snapshot() {
    if (!m_haveSnapshot) {
        m_snapshot = LoadOrDefaults(m_fileName);
        m_haveSnapshot = true;
    }
    return m_snapshot;
}

std::string WOptions::ReadText(int number) {
    Entry& entry = m_entries[Slot(number)];
    if (entry.override) return *entry.override;
    if (!entry.loaded) {
        const OptionDefinition& def = kOptions[number - 1];
        entry.value = Snapshot().Get(def.section, def.key).value_or(def.defaultText);
        entry.loaded = true;
    }
    return entry.value;
}

bool WOptions::ReadBool(int number) {
    return ReadText(number) == "T";
}

int WOptions::ReadInt(int number) {
    return SettingToInt(ReadText(number));
}

void WOptions::WriteText(int number, const std::string& value) {
    Entry& entry = m_entries[Slot(number)];
    entry.value = value;
    entry.loaded = true;
    entry.changed = true;
}

void WOptions::SetOverride(Opt id, std::optional<std::string> value) {
    m_entries[Slot(OptNumber(id))].override = std::move(value);
}

void WOptions::WriteBool(int number, bool value) {
    WriteText(number, value ? "T" : "F");
}

void WOptions::WriteInt(int number, int value) {
    WriteText(number, std::to_string(value));
}

bool WOptions::AnyChanged() const {
    for (const Entry& entry : m_entries)
        if (entry.changed) return true;
    return false;
}

void WOptions::Flush() {
    if (!AnyChanged()) return;
    // Start from the file as it is now, so keys written meanwhile by another instance or
    // by hand survive; only our changed settings replace theirs.
    WIniFile ini = WIniFile::Load(m_fileName);
    for (int n = 1; n <= kOptionCount; ++n) {
        const Entry& entry = m_entries[n - 1];
        if (entry.changed) ini.Set(kOptions[n - 1].section, kOptions[n - 1].key, entry.value);
    }
    ini.SaveAtomically(m_fileName);
    for (Entry& entry : m_entries) entry.changed = false;
    m_snapshot = std::move(ini);
    m_haveSnapshot = true;
}

void WOptions::ClearCache() {
    for (Entry& entry : m_entries) {
        std::optional<std::string> kept = std::move(entry.override);  // scoped, not cached
        entry = Entry{};
        entry.override = std::move(kept);
    }
    m_haveSnapshot = false;
    m_snapshot = WIniFile();
}

std::string WOptions::ReadDirect(const std::string& section, const std::string& key,
                                 const std::string& defaultText) const {
    return LoadOrDefaults(m_fileName).Get(section, key).value_or(defaultText);
}

void WOptions::WriteDirect(const std::string& section, const std::string& key,
                           const std::string& value) {
    WIniFile ini = WIniFile::Load(m_fileName);
    ini.Set(section, key, value);
    ini.SaveAtomically(m_fileName);
}

std::string WOptions::ReadListColumns() const {
    return ReadDirect(kListSection, kListKey, kListDefault);
}

void WOptions::WriteListColumns(const std::string& columns) {
    WriteDirect(kListSection, kListKey, columns);
}

WindowPlacement WOptions::ReadWindowPlacement(int screenWidth, int screenHeight) const {
    const WIniFile ini = LoadOrDefaults(m_fileName);
    WindowPlacement p;
    p.showCmd = PlacementInt(ini, "ShowCmd", 3);
    p.minX = PlacementInt(ini, "MinX", -1);
    p.minY = PlacementInt(ini, "MinY", -1);
    p.maxX = PlacementInt(ini, "MaxX", 0);
    p.maxY = PlacementInt(ini, "MaxY", 0);
    p.top = PlacementInt(ini, "Top", screenHeight / 8);
    p.left = PlacementInt(ini, "Left", screenWidth / 8);
    // Defaults from stored edges, computed wide so that huge stored values cannot overflow.
    const auto seven = [](int edge) {
        const long long value = 7LL * edge;
        return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
    };
    p.bottom = PlacementInt(ini, "Bottom", seven(p.top));
    p.right = PlacementInt(ini, "Right", seven(p.left));
    return p;
}

void WOptions::WriteWindowPlacement(const WindowPlacement& p) {
    WIniFile ini = WIniFile::Load(m_fileName);
    const std::pair<const char*, int> values[] = {
        {"ShowCmd", p.showCmd}, {"MinX", p.minX},     {"MinY", p.minY},
        {"MaxX", p.maxX},       {"MaxY", p.maxY},     {"Top", p.top},
        {"Left", p.left},       {"Bottom", p.bottom}, {"Right", p.right}};
    for (const auto& [key, value] : values) ini.Set(kGeneral, key, std::to_string(value));
    ini.SaveAtomically(m_fileName);
}

const std::string& WOptions::RecordExecutableDirectory() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    m_exeDir = ec ? std::filesystem::current_path(ec).string() : exe.parent_path().string();
    return m_exeDir;
}

WOptions& Options() {
    static WOptions options(WOptions::DefaultFileName());
    return options;
}

}  // namespace kindrel
