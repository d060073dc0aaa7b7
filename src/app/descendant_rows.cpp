#include "app/descendant_rows.h"

#include "model/collection.h"

namespace kindrel {

namespace {

std::string NameOf(WABSCollection& collection, int32_t n) {
    if (n <= 0 || n > collection.IndividualCount()) return {};
    return collection.DisplayNameOf(n);
}

}  // namespace

DescendantRow BuildDescendantRow(WABSCollection& collection, const WDesRecord& record) {
    DescendantRow row;
    row.generation = record.generation;
    row.individual = record.individual;
    row.duplicate = record.duplicate != 0;
    row.lead = std::to_string(record.generation + 1) + " - ";
    row.name = NameOf(collection, record.individual);
    if (row.duplicate) return row;
    row.spouse = record.spouse;
    row.spouseName = NameOf(collection, record.spouse);
    if (record.marriageCount > 1)
        row.marriage = " [" + std::to_string(record.marriageIndex) + " of " +
                       std::to_string(record.marriageCount) + "]";
    return row;
}

std::string DescendantRowText(const DescendantRow& row) {
    std::string text = row.lead + row.name;
    if (row.duplicate) return text + " " + kDuplicatedText;
    if (row.spouse != 0) text += " + " + row.spouseName;
    return text + row.marriage;
}

}  // namespace kindrel
