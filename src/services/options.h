// The settings store: 134 numbered settings with their sections, keys and defaults, cached
// per setting and written back to the settings file "KDSE.ini" only when changed.
#pragma once

#include "services/ini_file.h"

#include <array>
#include <optional>
#include <string>

namespace kindrel {

// Setting numbers 1 to 134, in table order. The SelfExtract keys carry the prefix SE.
enum class Opt : int {
    UseLDS = 1,
    FirstTime107,
    MailingList,
    GEDAssoc,
    Ped_Single,
    List_Grey,
    List_Divider,
    List_HL,
    HL_Grey,
    HL_Divider,
    Island_Grey,
    Island_Divider,
    FindDlg,
    FindInList,
    Finddir,
    YearRange,
    UseYear,
    MatchAll,
    SrcCol1,
    SrcCol2,
    SrcCol3,
    SrcCol4,
    SrcCol5,
    SrcCol6,
    SrcCol7,
    SrcCol8,
    File1,
    File2,
    File3,
    File4,
    File5,
    File6,
    File7,
    File8,
    File9,
    File10,
    OpenLastFile,
    LastTab,
    LastID,
    LastPanel,
    LastPanelWidth,
    LastPanelState,
    LastDrive,
    LastDir,
    HLManual,
    SEName,
    SEEmail,
    SEAddr1,
    SEAddr2,
    SEAddr3,
    SEBNRadio,
    SESendMsg,
    SETitle,
    SEPhone,
    SEAllowExtract,
    SEDir,
    SEWeb,
    FamCol1,
    FamCol2,
    FamCol3,
    FamCol4,
    FamCol5,
    FamCol6,
    FontSize,
    GridHeight,
    HLText,
    FHCOpen,
    AutoSearch,
    DesColumns,
    DesNameCol,
    DesGenLimit,
    DesShowLines,
    DesRepDups,
    DesIndent,
    DesColW,
    DesPC,
    DesDLines,
    CheckUpdates,
    LastUpdate,
    UpdatePeriod,
    AgeCalcCB,
    ShowHlPanel,
    ShowIndHint,
    LoadLastFile,
    LEGCacheNames,
    SortFirstColumn,
    SaveToFileDir,
    IslandColumns,
    FNValueFlag,
    FNValue,
    IndNotes,
    OpenDir,
    ViewSaved,
    DispInitHelp,
    IH1,
    IH2,
    IH3,
    IH4,
    IH5,
    IH6,
    IH7,
    IH8,
    IH9,
    IH10,
    IH11,
    IH12,
    IH13,
    IH14,
    IH15,
    IH16,
    IH17,
    IH18,
    IH19,
    IH20,
    IH21,
    IH22,
    IH23,
    IH24,
    IH25,
    CalcIslands,
    HLCol,
    HLTCol,
    NameSlash,
    NameUpper,
    PreSuf,
    TMGTagSent,
    TMGEngage,
    Chrono,
    IslandWit,
    SrcCol9,
    SrcCol10,
    SrcCol11,
    IndMod,
    QFind
};

// Number of settings in the table.
inline constexpr int kOptionCount = 134;
static_assert(static_cast<int>(Opt::QFind) == kOptionCount);

// The setting number of id (1 to 134).
constexpr int OptNumber(Opt id) {
    return static_cast<int>(id);
}
// File1 to File10 by index 1 to 10.
constexpr Opt FileOpt(int index) {
    return static_cast<Opt>(OptNumber(Opt::File1) + index - 1);
}
// IH1 to IH25 by index 1 to 25.
constexpr Opt HelpOpt(int index) {
    return static_cast<Opt>(OptNumber(Opt::IH1) + index - 1);
}

// Where a setting lives and what it reads as when the file does not have it.
struct OptionDefinition {
    const char* section;
    const char* key;
    const char* defaultText;
};

// The definition of setting number (1 to 134); throws EIndexError for other numbers.
const OptionDefinition& OptionDefinitionOf(int number);
// The definition of id.
inline const OptionDefinition& OptionDefinitionOf(Opt id) {
    return OptionDefinitionOf(OptNumber(id));
}

// The saved main-window placement; MinX or MinY of -1 means no minimised position.
struct WindowPlacement {
    int showCmd = 3;  // 3 = maximised
    int minX = -1;
    int minY = -1;
    int maxX = 0;
    int maxY = 0;
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    // True when the placement carries a minimised position (neither MinX nor MinY is -1).
    bool HasMinimizedPosition() const { return minX != -1 && minY != -1; }
};

// The settings store. Construct it on a file name (tests) or use Options() (the program).
class WOptions {
  public:
    // A store over fileName; nothing is read until the first access.
    explicit WOptions(std::string fileName);

    // The settings file of this user: $XDG_CONFIG_HOME/KDSE.ini, else ~/.config/KDSE.ini.
    static std::string DefaultFileName();

    // The file this store reads and writes.
    const std::string& FileName() const { return m_fileName; }

    // The text of a setting (cached after the first read).
    std::string ReadText(Opt id) { return ReadText(OptNumber(id)); }
    std::string ReadText(int number);
    // True exactly when the setting's text is "T".
    bool ReadBool(Opt id) { return ReadBool(OptNumber(id)); }
    bool ReadBool(int number);
    // The setting as a decimal integer; 0 for an empty or non-numeric text.
    int ReadInt(Opt id) { return ReadInt(OptNumber(id)); }
    int ReadInt(int number);

    // Replaces a setting's text and marks it changed; written by the next Flush.
    void WriteText(Opt id, const std::string& value) { WriteText(OptNumber(id), value); }
    void WriteText(int number, const std::string& value);
    // Writes "T" or "F".
    void WriteBool(Opt id, bool value) { WriteBool(OptNumber(id), value); }
    void WriteBool(int number, bool value);
    // Writes the decimal text of value.
    void WriteInt(Opt id, int value) { WriteInt(OptNumber(id), value); }
    void WriteInt(int number, int value);

    // Makes a setting read as value (std::nullopt: as stored again) without writing or marking
    // it; WScopedOverride is the way to use it.
    void SetOverride(Opt id, std::optional<std::string> value);

    // True once the setting was read from the file or written.
    bool IsLoaded(Opt id) const { return m_entries[Slot(OptNumber(id))].loaded; }
    // True when the setting was written since the last Flush.
    bool IsChanged(Opt id) const { return m_entries[Slot(OptNumber(id))].changed; }
    // True when any setting waits to be written.
    bool AnyChanged() const;

    // Writes every changed setting into the file, keeping all its other lines, and clears
    // the changed flags. Does nothing when nothing changed. Throws EFileError on failure
    // (the changed flags then stay set).
    void Flush();

    // Forgets every cached value and flag; the next reads come from the file again.
    void ClearCache();

    // Reads a key outside the table straight from the file (not cached).
    std::string ReadDirect(const std::string& section, const std::string& key,
                           const std::string& defaultText) const;
    // Writes a key outside the table straight into the file. Throws EFileError.
    void WriteDirect(const std::string& section, const std::string& key, const std::string& value);

    // The List tab's column set (section "List", key "String").
    std::string ReadListColumns() const;
    // Stores the List tab's column set.
    void WriteListColumns(const std::string& columns);

    // The saved window placement; the defaults derive from the screen size in pixels.
    WindowPlacement ReadWindowPlacement(int screenWidth, int screenHeight) const;
    // Stores the window placement (section "General"). Throws EFileError.
    void WriteWindowPlacement(const WindowPlacement& placement);

    // The folder of the running executable, recorded at program start.
    const std::string& ExeDir() const { return m_exeDir; }
    // Records the folder of the running executable (/proc/self/exe) and returns it.
    const std::string& RecordExecutableDirectory();
    // Records dir as the executable's folder.
    void SetExeDir(std::string dir) { m_exeDir = std::move(dir); }

  private:
    struct Entry {
        std::string value;
        std::optional<std::string> override;  // what reads answer while set
        bool loaded = false;
        bool changed = false;
    };

    static size_t Slot(int number);
    // The file as last read, read on first use after construction or ClearCache.
    const WIniFile& Snapshot();

    std::string m_fileName;
    std::string m_exeDir;
    std::array<Entry, kOptionCount> m_entries;
    WIniFile m_snapshot;
    bool m_haveSnapshot = false;
};

// A setting that reads as another value while this lives (a rendering that needs a setting
// off); the stored value and its changed flag stay as they were, whatever happens meanwhile.
class WScopedOverride {
  public:
    WScopedOverride(WOptions& options, Opt id, std::string value) : m_options(options), m_id(id) {
        m_options.SetOverride(m_id, std::move(value));
    }
    WScopedOverride(const WScopedOverride&) = delete;
    WScopedOverride& operator=(const WScopedOverride&) = delete;
    ~WScopedOverride() { m_options.SetOverride(m_id, std::nullopt); }

  private:
    WOptions& m_options;
    Opt m_id;
};

// The process-wide settings store over WOptions::DefaultFileName(), created on first use.
WOptions& Options();

// The text read as an integer the way settings are: optional spaces and sign, decimal
// digits; anything else (or a value outside int) gives 0.
int SettingToInt(const std::string& text);

// Parses text as SettingToInt does; false (value untouched) when it is not a number.
bool ParseSettingInt(const std::string& text, int& value);

}  // namespace kindrel
