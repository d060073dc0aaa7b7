// Rules that relate individuals to a reference individual R: ancestors and descendants within
// a generation limit, blood relations, parents, spouses, siblings and children of R, and the
// longest ancestor or descendant line from R. All but the blood relation compute their whole
// answer set in Prepare; their walks keep their work on the heap, so depth costs no stack.
#pragma once

#include "highlight/highlighter.h"

#include <memory>
#include <string>

namespace kindrel {

class WRelCalc;

// 21: ancestors of R within g generations. Parameter "R^g"; g = 0 means no limit.
class WHLAncestor final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    // Throws KindrelError for a non-empty parameter without "^" or with a part that is not a
    // number.
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 22: descendants of R within g generations. Parameter "R^g"; g = 0 means no limit.
class WHLDescendents final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    // Throws KindrelError as WHLAncestor does.
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 23: shares an ancestor with R (or is R). Parameter: R.
class WHLRelation final : public WABSHLInd {
  public:
    WHLRelation(WABSCollection* collection, int code);
    ~WHLRelation() override;
    // Throws KindrelError when the parameter is not a number.
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;

  private:
    std::unique_ptr<WRelCalc> m_calculator;
};

// 60 to 63: a child, spouse, sibling or parent of R (parameter R); 64: no family link.
class WHLRelationIs final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    // Throws KindrelError (60 to 63) when a non-empty parameter is not a number.
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

// 95, 96: on the longest ancestor or descendant line from R. Parameter: R.
class WHLPaths final : public WABSHLInd {
  public:
    using WABSHLInd::WABSHLInd;
    // Throws KindrelError when the parameter is not a number.
    void Prepare() override;
    void Evaluate(int32_t individual) override;
    std::string Describe() override;
};

}  // namespace kindrel
