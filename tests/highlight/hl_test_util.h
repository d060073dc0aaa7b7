// Helpers of the highlighting tests: run a condition string over a collection and read back
// the individuals it marks, and check a rule's plain and negated forms together.
#pragma once

#include "highlight/hl_group.h"
#include "model/collection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kindrel::hltest {

// The individuals (in number order) that a fresh group over conditions highlights.
inline std::vector<int32_t> Marked(WABSCollection& collection, std::string_view conditions) {
    WHLGroup group(&collection);
    group.SetConditions(conditions);
    group.Recalculate();
    std::vector<int32_t> marked;
    const int32_t count = collection.IndividualCount();
    for (int32_t n = 1; n <= count; ++n) {
        if (group.IsHighlighted(n)) marked.push_back(n);
    }
    return marked;
}

// The description of a fresh, recalculated group over conditions.
inline std::string Described(WABSCollection& collection, std::string_view conditions) {
    WHLGroup group(&collection);
    group.SetConditions(conditions);
    group.Recalculate();
    return group.Describe();
}

// Every individual of the collection not in marked.
inline std::vector<int32_t> Complement(WABSCollection& collection,
                                       const std::vector<int32_t>& marked) {
    std::vector<int32_t> rest;
    const int32_t count = collection.IndividualCount();
    for (int32_t n = 1; n <= count; ++n) {
        bool found = false;
        for (const int32_t m : marked) found = found || m == n;
        if (!found) rest.push_back(n);
    }
    return rest;
}

// Checks condition code with parameter: the plain form marks exactly expected and is
// described as plainText, the negated form marks everybody else and is described as
// negatedText.
inline void ExpectRule(WABSCollection& collection, int code, const std::string& parameter,
                       const std::vector<int32_t>& expected, const std::string& plainText,
                       const std::string& negatedText) {
    const std::string tail = std::to_string(code) + (parameter.empty() ? "" : ":" + parameter);
    SCOPED_TRACE("condition " + tail);
    EXPECT_EQ(Marked(collection, "+" + tail), expected);
    EXPECT_EQ(Marked(collection, "-" + tail), Complement(collection, expected));
    EXPECT_EQ(Described(collection, "+" + tail), plainText);
    EXPECT_EQ(Described(collection, "-" + tail), negatedText);
}

using Numbers = std::vector<int32_t>;

}  // namespace kindrel::hltest
