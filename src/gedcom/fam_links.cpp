#include "gedcom/fam_links.h"

#include "model/collection.h"
#include "model/date.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace kindrel {

WFamLinks::WFamLinks(int familyCount)
    : WABSArrayIndex("", false, sizeof(Record), familyCount < 0 ? 0 : familyCount),
      m_children(familyCount / 2 + 16) {
    SetCount(familyCount);
}

bool WFamLinks::Read(std::int32_t family, Record& record) const {
    const char* at = Item(family);
    if (at == nullptr) return false;
    std::memcpy(&record, at, sizeof record);
    return true;
}

void WFamLinks::Write(std::int32_t family, const Record& record) {
    char* at = Item(family);
    if (at != nullptr) std::memcpy(at, &record, sizeof record);
}

void WFamLinks::SetHusband(std::int32_t family, std::int32_t individual) {
    Record record;
    if (!Read(family, record)) return;
    record.husband = individual;
    Write(family, record);
}

void WFamLinks::SetWife(std::int32_t family, std::int32_t individual) {
    Record record;
    if (!Read(family, record)) return;
    record.wife = individual;
    Write(family, record);
}

void WFamLinks::AddChild(std::int32_t family, std::int32_t individual) {
    Record record;
    if (individual == 0 || !Read(family, record)) return;
    record.flags &= ~kBirthOrder;
    if (record.firstChunk == 0) {
        record.firstChunk = m_children.NewList(individual, 0, 0);
        record.childCount = 1;
    } else if (m_children.AppendLink(record.firstChunk, false, 0, 0, individual)) {
        ++record.childCount;
    }
    Write(family, record);
}

std::int32_t WFamLinks::Husband(std::int32_t family) const {
    Record record;
    return Read(family, record) ? record.husband : 0;
}

std::int32_t WFamLinks::Wife(std::int32_t family) const {
    Record record;
    return Read(family, record) ? record.wife : 0;
}

std::int32_t WFamLinks::ChildCount(std::int32_t family) const {
    Record record;
    return Read(family, record) ? record.childCount : 0;
}

std::int32_t WFamLinks::Child(std::int32_t family, std::int32_t i) const {
    Record record;
    if (!Read(family, record) || i < 1 || i > record.childCount || record.firstChunk == 0) {
        return 0;
    }
    return m_children.LinkAt(record.firstChunk, i);
}

bool WFamLinks::ChildrenInBirthOrder(std::int32_t family) const {
    Record record;
    return Read(family, record) && (record.flags & kBirthOrder) != 0;
}

void WFamLinks::SortChildren(std::int32_t family, WABSCollection& collection) {
    Record record;
    if (!Read(family, record) || record.childCount < 2 || (record.flags & kBirthOrder) != 0) {
        return;
    }
    struct Entry {
        std::int32_t child;
        std::unique_ptr<WDate> birth;  // null when there is no set birth date
    };
    std::vector<Entry> entries;
    entries.reserve(std::size_t(record.childCount));
    for (std::int32_t i = 1; i <= record.childCount; ++i) {
        Entry entry{m_children.LinkAt(record.firstChunk, i), nullptr};
        if (entry.child == 0) break;
        if (const std::unique_ptr<WABSIndividual> person = collection.GetIndividual(entry.child)) {
            if (const std::unique_ptr<WABSEvent> birth = person->Event(kEventBirth, 1)) {
                const WDate* date = birth->Date();
                if (date != nullptr && date->IsSet()) entry.birth = std::make_unique<WDate>(*date);
            }
        }
        entries.push_back(std::move(entry));
    }
    // Stable, so children born on the same date and those without a date keep their order;
    // every comparison is of two set dates, so the order is the dates' own.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (!a.birth || !b.birth) return a.birth != nullptr && b.birth == nullptr;
        return a.birth->Compare(*b.birth) < 0;
    });
    for (std::size_t k = 0; k < entries.size(); ++k) {
        m_children.SetLink(record.firstChunk, int(k + 1), entries[k].child, 0, 0);
    }
    record.flags |= kBirthOrder;
    Write(family, record);
}

}  // namespace kindrel
