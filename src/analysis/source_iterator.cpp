#include "analysis/source_iterator.h"

#include "analysis/sort_keys.h"
#include "containers/ui_hooks.h"
#include "model/collection.h"
#include "model/records.h"

#include <cstring>
#include <memory>
#include <utility>

namespace kindrel {

namespace {

unsigned char FoldAsciiCase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// Letters a to z equal to A to Z, other bytes by their codes; a prefix sorts first.
int CompareNoCase(const std::string& a, const std::string& b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const unsigned char ca = FoldAsciiCase(a[i]);
        const unsigned char cb = FoldAsciiCase(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int32_t SourceOfRecord(const void* record) {
    int32_t n;
    std::memcpy(&n, record, sizeof n);
    return n;
}

}  // namespace

WSourceIterator::WSourceIterator(std::string fileName, WABSCollection* collection)
    : WABSIterator(std::move(fileName), 4, 0),
      m_collection(collection),
      m_sourceCount(collection != nullptr ? collection->SourceCount() : 0) {
    ResetRecords();
    SortBy(kSourceByNumber, true);
}

void WSourceIterator::ResetRecords() {
    Clear();
    for (int32_t n = 1; n <= m_sourceCount; ++n) Add(&n);
}

std::string WSourceIterator::KeyText(int32_t source) const {
    if (m_collection == nullptr) return {};
    const std::unique_ptr<WABSSource> record = m_collection->GetSource(source);
    if (!record) return {};
    switch (m_keyType) {
        case kSourceByNote:
            return record->HasNoteFlag() ? "Y" : " ";
        case kSourceByText:
            return record->HasSourceText() ? "Y" : " ";
        case kSourceByRepository:
            return record->HasRepository() ? "Y" : " ";
        case kSourceByTitle:
            return record->TitleText();
        case kSourceByAbbreviation:
            return record->AbbreviationText();
        case kSourceByAuthor:
            return record->AuthorText();
        case kSourceByPublication:
            return record->PublicationText();
        case kSourceByCallNumber:
            return record->CallNumberText();
        default:
            return {};
    }
}

void WSourceIterator::SortBy(int keyType, bool ascending) {
    if (m_sourceCount < 1 || m_sortRunning) return;
    if (keyType == m_keyType) {
        m_viewAscending = !m_viewAscending;
        return;
    }
    m_keyType = keyType;
    m_compareAscending = ascending;
    m_viewAscending = true;
    if (keyType == kSourceByNumber) {
        ResetRecords();
        return;
    }
    m_sortRunning = true;
    struct RunningGuard {
        bool& flag;
        ~RunningGuard() { flag = false; }
    } guard{m_sortRunning};

    // Every key is read once, instead of once per comparison.
    ReportProgress(kSortingMessage, 0, m_sourceCount);
    std::vector<std::string> keys(static_cast<size_t>(m_sourceCount) + 1);
    for (int32_t n = 1; n <= m_sourceCount; ++n) keys[static_cast<size_t>(n)] = KeyText(n);
    const auto keyOf = [&keys](int32_t n) -> const std::string& {
        static const std::string kNone;
        return (n >= 1 && static_cast<size_t>(n) < keys.size()) ? keys[static_cast<size_t>(n)]
                                                                : kNone;
    };
    const bool descending = !m_compareAscending;
    Touch();  // the records may be sorted by the previous key type
    WABSArrayIndex::SortBy([&](const void* a, const void* b) {
        const int result = CompareNoCase(keyOf(SourceOfRecord(a)), keyOf(SourceOfRecord(b)));
        return descending ? -result : result;
    });
    ReportProgress(kSortingMessage, m_sourceCount, m_sourceCount);
}

int32_t WSourceIterator::SourceAt(int i) const {
    if (!IsValidIndex(i)) return 0;
    const int position = m_viewAscending ? i : RecordCount() - i + 1;
    return SourceOfRecord(Item(position));
}

}  // namespace kindrel
