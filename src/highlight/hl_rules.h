// The rules of the catalogue that answer one individual at a time: missing data, sex, notes,
// sources, LDS ordinances, dates, counts, surnames and names. Create them through WHLGroup
// (or CreateHLRule); each reads its parameter in Prepare and answers on demand.
#pragma once

#include "highlight/highlighter.h"
#include "model/date.h"

#include <string>

namespace kindrel {

// The vital event kinds in the order the catalogue names them: birth, christening, death,
// burial (kinds 1, 3, 2, 4).
inline constexpr int kHLVitalKinds[4] = {1, 3, 2, 4};

// 2, 4, 6, 8: no set date on the first birth, christening, death or burial event; 10: no
// spouse family with a marriage date.
class WHLNoDate final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 3, 5, 7, 9: no place on the first birth, christening, death or burial event; 11: no spouse
// family with a marriage place; 12: none of the four places.
class WHLNoPlace final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 13: no surname.
class WHLNoSurname final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 14: no given names.
class WHLNoGivenName final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 15: no father.
class WHLNoFather final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 16: no mother.
class WHLNoMother final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 17: the sex letter equals the parameter's first character ("M" when empty).
class WHLSex final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;

  private:
    char m_sex = 'M';
};

// 18: any note; 52: an age from 0 up to below the limit (parameter, default 110).
class WHLHas final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;

  private:
    int32_t m_limit = 110;
};

// 20: an AFN.
class WHLAFN final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 31 to 34: an LDS ordinance; 79 to 82: its date; 83 to 86: its temple or place.
class WHLHasLDS final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 35: any LDS ordinance or spouse sealing.
class WHLLDS final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 36: a spouse family without the other partner.
class WHLMarriedNoSpouse final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 37: two or more spouse families, and two of the spouses have equal names. Every spouse is
// examined, however many there are.
class WHLMarriedSameName final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 38: two children (over all spouse families) with equal names; the other parents of the
// first such pair are marked too. Every child is examined, however many there are.
class WHLChildSameName final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 39 to 42: the date of the first birth, christening, death or burial event compared with the
// parameter ("BEF ", "ABT ", "AFT " or nothing, then a date).
class WHLDate final : public WABSHLInd {
  public:
    WHLDate(WABSCollection* collection, int code);
    // Throws KindrelError when the parameter's date is empty or cannot be read.
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;

  private:
    WDate m_date;
    int m_qualifier = 0;
};

// 44 to 51, 78: a count (age, marriages, parents, children, sons, daughters, ancestors,
// descendants, families) compared with a value: comparison digit 1 to 5, then the value.
class WHLInt final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;

  private:
    int m_comparison = 1;
    int32_t m_value = -1;
};

// 53 to 56: surname against the father's, the parents', the mother's or a spouse's.
class WHLWarning final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 65: living under an age limit (parameter, default 110).
class WHLALive final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;

  private:
    int32_t m_limit = 110;
};

// 66 to 71, 99: a source anywhere, on the name, on a vital event or on a family.
class WHLHasSource final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 72 to 77, 100: a note on the name, on a vital event, anywhere or on a family.
class WHLHasNote final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 87 to 90: the date of an LDS ordinance (or of the first spouse sealing) is a clean date
// (status 1) or the status word of the chosen position (2 and above).
class WHLLDSDate final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;

  private:
    int32_t m_status = 1;
    std::string m_statusWord;
};

// The parameter read as a decimal number, or fallback when it is empty or not one.
int32_t HLIntOr(std::string_view text, int32_t fallback);

}  // namespace kindrel
