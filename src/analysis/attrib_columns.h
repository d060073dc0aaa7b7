// The concrete list attributes, one class per family of column codes (see CreateAttrib for the
// codes each serves). Every value is empty when the individual, the related individual or the
// record it needs does not exist, except that count columns show "0" and "Alive" shows "No".
#pragma once

#include "analysis/attrib.h"
#include "model/date.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kindrel {

class WABSName;
class WRelCalc;

// The surname as the lists show and sort it: the name's surname, upper-cased when the setting
// NameUpper is on, without the slashes of the full name.
std::string PlainSurname(WABSName& name);
// "Surname, Given names" of an individual; empty when it has no name record.
std::string SurnameFirstName(WABSIndividual& individual);

// 1: the individual number.
class WAttribIndex final : public WAttrib {
  public:
    explicit WAttribIndex(WABSCollection* collection);
    std::string ValueText(int32_t n, int occurrence) override;
    int32_t IntValue(int32_t n) override;
};

// 2 (REF/RIN), 3 (AFN), 48 (custom identifier, REFN). Sorted as integers (the identifier read
// as a number) for code 2 outside GEDCOM collections, else as text.
class WAttribID final : public WAttrib {
  public:
    WAttribID(WABSCollection* collection, int code);
    void SetCollection(WABSCollection* collection) override;
    std::string ValueText(int32_t n, int occurrence) override;
    // The identifier (IdText) read as a decimal number, 0 when it is not one.
    int32_t IntValue(int32_t n) override;

  private:
    void ApplySortType();
};

// 4 surname, 5 given names, 6 full name, 7 "Surname, Given", 46 and 47 Soundex codes.
class WAttribName final : public WAttrib {
  public:
    WAttribName(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;
};

// 8: the first line of the individual's own note.
class WAttribNote final : public WAttrib {
  public:
    explicit WAttribNote(WABSCollection* collection);
    std::string ValueText(int32_t n, int occurrence) override;
};

// 9: the sex letter.
class WAttribSex final : public WAttrib {
  public:
    explicit WAttribSex(WABSCollection* collection);
    std::string ValueText(int32_t n, int occurrence) override;
};

// Event and record dates: 10, 12, 14, 16 (birth, christening, death, burial), 42 (marriage),
// 54 (creation), 55 (change), 65 (birth or [christening]), 67 (death or [burial]).
class WAttribDate final : public WAttrib {
  public:
    WAttribDate(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;
    // The value without the brackets of 65 and 67.
    std::string SortText(int32_t n) override;

  private:
    // The date text and whether it is the stand-in (christening or burial) of 65 and 67.
    std::string DateOf(int32_t n, int occurrence, bool& standIn);
};

// Places: 11, 13, 15, 17 (birth, christening, death, burial), 41 (marriage), 66 (birth or
// [christening]), 68 (death or [burial]).
class WAttribPlace final : public WAttrib {
  public:
    WAttribPlace(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;
};

// Relatives' names: 18 and 53 father, "(M)-" mother or "(S)-" spouse; 43/49 father, 44/50
// mother, 45/51 spouse; 56 and 57 spouse, "(F)-" father or "(M)-" mother. 49-51, 53 and 57 in
// the surname-first form.
class WAttribFMS final : public WAttrib {
  public:
    WAttribFMS(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;

  private:
    // The name of individual r in this column's form; empty when r or its name is missing.
    std::string NameOf(int32_t r);
};

// Ages: 19 the individual's age, 20 age at the marriage, 59 and 60 the father's and mother's
// age at the individual's birth.
class WAttribAge final : public WAttrib {
  public:
    WAttribAge(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;

  private:
    WDateDiff m_diff;
};

// 21 has a note, 22 has a source, 23 has other events: "Yes" or "No".
class WAttribHas final : public WAttrib {
  public:
    WAttribHas(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;
};

// Base of the integer columns: ValueText is IntValue in decimal; "0" for a missing individual.
class WAttribCount : public WAttrib {
  public:
    WAttribCount(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;
};

// 24: the number of spouse families.
class WAttribNumMarriages final : public WAttribCount {
  public:
    explicit WAttribNumMarriages(WABSCollection* collection);
    int32_t IntValue(int32_t n) override;
};

// 25: the number of parents.
class WAttribNumParents final : public WAttribCount {
  public:
    explicit WAttribNumParents(WABSCollection* collection);
    int32_t IntValue(int32_t n) override;
};

// 26: the number of children over all spouse families.
class WAttribNumChildren final : public WAttribCount {
  public:
    explicit WAttribNumChildren(WABSCollection* collection);
    int32_t IntValue(int32_t n) override;
};

// 27: the number of ancestors; 61: the longest ancestor line in generations.
class WAttribNumAnc final : public WAttribCount {
  public:
    WAttribNumAnc(WABSCollection* collection, int code);
    int32_t IntValue(int32_t n) override;
    bool ValueReady(int32_t n) override;
};

// 28: the number of descendants; 62: the longest descendant line in generations.
class WAttribNumDes final : public WAttribCount {
  public:
    WAttribNumDes(WABSCollection* collection, int code);
    int32_t IntValue(int32_t n) override;
    bool ValueReady(int32_t n) override;
};

// 29: the LDS marks "B", "E", "P", "S" (or "-") separated by tabs, drawn at 8, 16, 24 pixels.
class WAttribLDS final : public WAttrib {
  public:
    explicit WAttribLDS(WABSCollection* collection);
    std::string ValueText(int32_t n, int occurrence) override;
};

// LDS dates: 30 baptism, 32 endowment, 34 sealing to parents, 36 sealing to spouse.
class WAttribLDSDate final : public WAttrib {
  public:
    WAttribLDSDate(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;
    std::string SortText(int32_t n) override;
};

// LDS temples: 31, 33, 35, 37 (the same ordinances), no temple required.
class WAttribLDSTemple final : public WAttrib {
  public:
    WAttribLDSTemple(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;
};

// 38 relationship to the reference individual; 39 and 52 the common ancestor found (display
// form, surname-first form). Owns a relationship calculator over the collection.
class WAttribRelation final : public WAttrib {
  public:
    WAttribRelation(WABSCollection* collection, int code);
    ~WAttribRelation() override;
    void SetCollection(WABSCollection* collection) override;
    std::string ValueText(int32_t n, int occurrence) override;

  private:
    std::unique_ptr<WRelCalc> m_calc;
};

// 40: "Yes" when the individual counts as living under the limit of 110 years, else "No".
class WAttribALive final : public WAttrib {
  public:
    explicit WAttribALive(WABSCollection* collection);
    std::string ValueText(int32_t n, int occurrence) override;
};

// 58: the island position of the individual (islands computed when a collection is attached).
class WAttribIsland final : public WAttribCount {
  public:
    explicit WAttribIsland(WABSCollection* collection);
    void SetCollection(WABSCollection* collection) override;
    int32_t IntValue(int32_t n) override;
};

// 63 and 64: the average ancestor and descendant generations, two decimals.
class WAttribAvgGens final : public WAttrib {
  public:
    WAttribAvgGens(WABSCollection* collection, int code);
    std::string ValueText(int32_t n, int occurrence) override;
    double FloatValue(int32_t n) override;
};

}  // namespace kindrel
