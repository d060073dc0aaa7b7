#include "analysis/list_columns.h"

#include "analysis/collection_iterator.h"
#include "analysis/sort_keys.h"
#include "containers/errors.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "services/ini_file.h"
#include "services/options.h"

#include <string_view>

namespace kindrel {

namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    const size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

// The code an item names: 1 to 68, else 0 (not a decimal number, or out of range).
int ItemCode(std::string_view item) {
    if (item.empty() || item.size() > 3) return 0;
    int code = 0;
    for (const char c : item) {
        if (c < '0' || c > '9') return 0;
        code = code * 10 + (c - '0');
    }
    return ColumnInfo(code) != nullptr ? code : 0;
}

}  // namespace

WListColumns::WListColumns(WABSCollection* collection, std::string section, WOptions* options)
    : m_collection(collection), m_section(std::move(section)), m_options(options) {
    m_widths[0] = kErrorColumnWidth;
    WIniFile ini;
    if (m_options != nullptr) {
        try {
            ini = WIniFile::Load(m_options->FileName());
        } catch (const KindrelError&) {
            // An unreadable settings file leaves the catalogue widths.
        }
    }
    for (int code = kFirstColumnCode; code <= kLastColumnCode; ++code) {
        int width = ColumnInfo(code)->width;
        if (const auto text = ini.Get(m_section, std::to_string(code))) {
            width = SettingToInt(*text);
        }
        m_widths[static_cast<size_t>(code)] = width;
    }
}

WListColumns::~WListColumns() {
    try {
        if (!WriteWidths()) {
            ShowWarning("The column widths of the list \"" + m_section + "\" could not be saved.");
        }
    } catch (...) {
        // A destructor must not throw; the widths are simply not saved.
    }
}

bool WListColumns::WriteWidths() const {
    if (m_options == nullptr || m_attributes.empty()) return true;
    try {
        WIniFile ini = WIniFile::Load(m_options->FileName());
        for (int i = 1; i <= ColumnCount(); ++i) {
            const int code = ColumnCode(i);
            if (code == 0) continue;
            ini.Set(m_section, std::to_string(code),
                    std::to_string(m_widths[static_cast<size_t>(code)]));
        }
        ini.SaveAtomically(m_options->FileName());
        return true;
    } catch (const KindrelError&) {
        return false;
    }
}

void WListColumns::SetColumns(const std::string& columns) {
    if (columns == m_columns) return;
    m_columns = columns;
    m_attributes.clear();
    m_sortColumn = -1;
    const std::string_view text = m_columns;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) comma = text.size();
        const std::string_view item = Trimmed(text.substr(start, comma - start));
        start = comma + 1;
        if (item.empty()) continue;
        if (ColumnCount() >= kMaxColumns) break;
        std::unique_ptr<WAttrib> attribute = CreateAttrib(ItemCode(item), m_collection);
        if (attribute) attribute->SetReference(m_reference);
        m_attributes.push_back(std::move(attribute));
    }
}

void WListColumns::SetCollection(WABSCollection* collection) {
    if (collection == m_collection) return;
    m_collection = collection;
    m_sortColumn = -1;
    m_reference = 0;
    for (const std::unique_ptr<WAttrib>& attribute : m_attributes) {
        if (!attribute) continue;
        attribute->SetCollection(collection);
        attribute->SetReference(0);
    }
}

void WListColumns::SetReference(int32_t individual) {
    m_reference = individual;
    for (const std::unique_ptr<WAttrib>& attribute : m_attributes) {
        if (attribute) attribute->SetReference(individual);
    }
}

WAttrib* WListColumns::Attribute(int i) const {
    if (i < 1 || i > ColumnCount()) return nullptr;
    return m_attributes[static_cast<size_t>(i - 1)].get();
}

int WListColumns::ColumnCode(int i) const {
    const WAttrib* attribute = Attribute(i);
    return attribute != nullptr ? attribute->Code() : 0;
}

std::string WListColumns::HeaderText(int i, bool longHeader, int& sortState) const {
    sortState = kHeaderUnsorted;
    if (i < 1 || i > ColumnCount()) return {};
    const WAttrib* attribute = Attribute(i);
    if (attribute == nullptr) return kErrorText;
    if (i == m_sortColumn && m_iterator != nullptr) {
        sortState = m_iterator->IsAscending() ? kHeaderAscending : kHeaderDescending;
    }
    return CodeHeaderText(attribute->Code(), longHeader);
}

std::string WListColumns::CodeHeaderText(int code, bool longHeader) const {
    const WColumnInfo* info = ColumnInfo(code);
    if (info == nullptr) return {};
    if (code == 2 && m_collection != nullptr && m_collection->Kind() == kKindGedcom) return "REF";
    return longHeader ? info->longHeader : info->shortHeader;
}

std::string WListColumns::CellText(int i, int32_t n, int occurrence) const {
    if (i < 1 || i > ColumnCount()) return {};
    WAttrib* attribute = Attribute(i);
    if (attribute == nullptr) return kErrorText;
    return attribute->ValueText(n, occurrence);
}

bool WListColumns::CellReady(int i, int32_t n) const {
    WAttrib* attribute = i >= 1 && i <= ColumnCount() ? Attribute(i) : nullptr;
    return attribute == nullptr || attribute->ValueReady(n);
}

int WListColumns::Width(int i) const {
    if (i < 1 || i > ColumnCount()) return 0;
    return m_widths[static_cast<size_t>(ColumnCode(i))];
}

void WListColumns::SetWidth(int i, int width) {
    if (i < 1 || i > ColumnCount()) return;
    m_widths[static_cast<size_t>(ColumnCode(i))] = width;
}

const WTabStops* WListColumns::TabStops(int i) const {
    const WAttrib* attribute = Attribute(i);
    if (attribute == nullptr || attribute->TabStops().count == 0) return nullptr;
    return &attribute->TabStops();
}

void WListColumns::AttachIterator(WColSortIterator* iterator) {
    if (iterator == m_iterator) return;
    m_iterator = iterator;
    if (m_iterator == nullptr) return;
    m_iterator->SetAscending(m_ascending);
    Resort();
}

bool WListColumns::SortByColumn(int i) {
    const int previous = m_sortColumn;
    m_sortColumn = i;
    if (Sort(true)) return true;
    m_sortColumn = previous;
    return false;
}

bool WListColumns::Resort() {
    return Sort(false);
}

bool WListColumns::Sort(bool toggle) {
    if (m_iterator == nullptr || m_sortColumn < 1) return true;
    WAttrib* attribute = Attribute(m_sortColumn);
    if (attribute == nullptr) return true;
    ReportProgress(kSortingMessage, 0, 0);
    m_iterator->SortBy(attribute, toggle);
    if (m_iterator->LastSortCancelled()) return false;
    m_ascending = m_iterator->IsAscending();
    return true;
}

int WListColumns::CodeAtDisplayPosition(int p) {
    return CodeAtChooserPosition(p);
}

int WListColumns::DisplayPositionOfCode(int code) {
    return ChooserPositionOfCode(code);
}

std::string WListColumns::ColumnsText() const {
    std::string text;
    for (int i = 1; i <= ColumnCount(); ++i) {
        if (i > 1) text += "\r\n";
        int state = 0;
        text += "Column " + std::to_string(i) + ": " + HeaderText(i, true, state);
    }
    return text;
}

}  // namespace kindrel
