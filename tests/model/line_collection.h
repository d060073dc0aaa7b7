// A generated line of people for tests of deep walks: each person the only child of the
// previous one, made on request so that a million generations cost no storage.
#pragma once

#include "fake_collection.h"

#include <memory>

namespace kindrel::fake {

// A line of n people, each the only child of the previous one: person k's parent family is
// k - 1 (husband k - 1), person k's spouse family is k (child k + 1). With ring set, person 1
// is the child of family n, whose husband is person n, so the line closes into a loop.
// Records are made on request, so a million generations cost no storage.
class LineCollection : public FakeCollection {
  public:
    LineCollection(int32_t n, bool ring) : m_n(n), m_ring(ring) {}

    std::unique_ptr<WABSIndividual> GetIndividual(int32_t k) override {
        ++individualRequests;
        if (k < 1 || k > m_n) return nullptr;
        auto person = std::make_unique<FakePerson>();
        person->sex = 'M';
        if (k > 1) person->parentFamilies.push_back(k - 1);
        if (k == 1 && m_ring) person->parentFamilies.push_back(m_n);
        if (k < m_n || m_ring) person->spouseFamilies.push_back(k);
        return std::make_unique<fake::FakeIndividual>(k, std::move(person));
    }
    std::unique_ptr<WABSMarriage> GetMarriage(int32_t f) override {
        ++marriageRequests;
        if (f < 1 || f > FamilyCount()) return nullptr;
        auto family = std::make_unique<FakeFamily>();
        family->husband = f;
        family->children.push_back(f == m_n ? 1 : f + 1);
        return std::make_unique<fake::FakeMarriage>(f, std::move(family));
    }
    int32_t IndividualCount() override { return m_n; }
    int32_t FamilyCount() override { return m_ring ? m_n : m_n - 1; }

  private:
    int32_t m_n;
    bool m_ring;
};

}  // namespace kindrel::fake
