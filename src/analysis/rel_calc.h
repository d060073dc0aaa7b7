// The relationship calculator: how a second individual is related by blood to a reference
// individual through their nearest common ancestor ("Sister", "G Great Uncle", "2C1R"), and
// the name of that common ancestor. Only parent links are followed; spouses are not kin.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kindrel {

class WABSCollection;
class WIntArray;
class WBoolArray;

class WRelCalc {
  public:
    // A calculator over a collection (not owned; may be null, then every answer is empty).
    explicit WRelCalc(WABSCollection* collection);
    ~WRelCalc();
    WRelCalc(const WRelCalc&) = delete;
    WRelCalc& operator=(const WRelCalc&) = delete;

    // The relation of `other` as seen from `reference` ("Father": other is the reference's
    // father); empty when there is no common ancestor. Sets the result for
    // CommonAncestorName and the counts.
    std::string Relationship(int32_t reference, int32_t other);
    // The common ancestor found by the last Relationship call for the same pair: its display
    // name (displayForm) or "Surname, Given names"; empty when none was found or when it is
    // reference or other itself (a direct line).
    std::string CommonAncestorName(int32_t reference, int32_t other, bool displayForm);
    // The kinship text for a reference-side count a, an other-side count b and the sex
    // letter of the individual named ('M', 'F', anything else).
    std::string RelationName(int32_t a, int32_t b, char sex) const;

    // "" for 0, "G", "GG", "GGG", then "4G", "5G", ...
    static std::string GenerationPrefix(int32_t n);
    // min(a, b) - 1, "C", then |a - b| and "R" when they differ: (3, 2) gives "1C1R".
    static std::string CousinCode(int32_t a, int32_t b);

    // Result of the last Relationship query: the common ancestor (0 = none) and the
    // generations from the reference and from the other individual up to it (65535 = none).
    int32_t CommonAncestor() const { return m_commonAncestor; }
    int32_t ReferenceCount() const { return m_referenceCount; }
    int32_t OtherCount() const { return m_otherCount; }

  private:
    // Creates the maps on the first query (and anew should the individual count change).
    void Prepare();
    // Fills the ancestor depth map for a new reference.
    void MapAncestors(int32_t reference);
    // Walks up from `other` to the nearest ancestor of the reference.
    void Search(int32_t other);
    // Appends the parents of x (husband, then wife of each parent family in stored order).
    void Parents(int32_t x, std::vector<int32_t>& out);

    WABSCollection* m_collection;
    const std::string m_siblingWords[3] = {"Brother", "Sister", "Brother or Sister"};
    const std::string m_nephewWords[3] = {"Nephew", "Neice", "Nephew or Neice"};
    const std::string m_childWords[3] = {"Son", "Daughter", "Son or Daughter"};
    const std::string m_parentWords[3] = {"Father", "Mother", "Parent"};
    const std::string m_uncleWords[3] = {"Uncle", "Aunt", "Uncle or Aunt"};
    int32_t m_cachedReference = 0;
    int32_t m_size = 0;  // individuals covered by the maps
    int32_t m_familyCount = 0;
    std::unique_ptr<WIntArray> m_depth;
    std::unique_ptr<WBoolArray> m_visited;
    // The entries set in the maps, so that resetting costs what the walk touched.
    std::vector<int32_t> m_depthTouched;
    std::vector<int32_t> m_visitedTouched;
    int32_t m_lastReference = 0;  // the pair of the last query
    int32_t m_lastOther = 0;
    int32_t m_commonAncestor = 0;
    int32_t m_referenceCount = 65535;
    int32_t m_otherCount = 65535;
};

}  // namespace kindrel
