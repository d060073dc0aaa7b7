// The highlighter base: one answer byte per individual (0 not yet evaluated, 1 false, 2 true),
// computed on first demand, and the colours a view draws an individual in. Every rule of the
// catalogue and the group that combines them derive from it.
#pragma once

#include "containers/array_index.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kindrel {

class WABSCollection;
class WABSIndividual;
class WOptions;

// Answer states of the records.
enum HLState : char { kHLUnknown = 0, kHLFalse = 1, kHLTrue = 2 };

class WABSHighLighter : public WABSArrayIndex {
  public:
    // White, the background of an individual that is not highlighted.
    static constexpr uint32_t kWhite = 16777215;
    // The defaults of the settings "HLCol" (yellow) and "HLTCol" (black).
    static constexpr uint32_t kDefaultHighlightColour = 65535;
    static constexpr uint32_t kDefaultHighlightTextColour = 0;

    // One unevaluated answer per individual of the collection (not owned; may be null).
    explicit WABSHighLighter(WABSCollection* collection);
    ~WABSHighLighter() override;

    // The raw answer (state 2), evaluating first when the state is 0; false out of range.
    virtual bool IsTrue(int32_t individual);
    // Computes the answer of one individual and stores it with SetResult.
    virtual void Evaluate(int32_t individual) = 0;
    // Reads the parameter into the rule's fields and resets the answers.
    virtual void Prepare();
    // The description shown to the user.
    virtual std::string Describe() = 0;
    // Stores the parameter text; Prepare (through Recalculate) reads it.
    virtual void SetParameter(std::string_view parameter);
    // The answer as the group asks it: evaluates when the state is 0, then true for state 1
    // of a negated rule or state 2 of a plain one. False out of range.
    virtual bool IsHighlighted(int32_t individual);
    // Stores 2 for true and 1 for false; ignored for individuals out of range.
    virtual void SetResult(int32_t individual, bool value);
    // Sets every answer to a state (0 forgets every answer).
    virtual void FillResults(HLState state);

    // Forgets every answer and reads the parameter again (Prepare).
    void Recalculate() { Prepare(); }
    // Inverts the answer that IsHighlighted gives.
    void SetNegated(bool negated) { m_negated = negated; }
    // True for a negated rule.
    bool IsNegated() const { return m_negated; }
    // The parameter text as given.
    const std::string& Parameter() const { return m_parameter; }
    // The stored state of an individual (kHLUnknown out of range); does not evaluate.
    HLState State(int32_t individual) const;
    // The collection the answers belong to (may be null).
    WABSCollection* Collection() const { return m_collection; }

    // The settings store the colours come from; null (the default) gives the defaults.
    void SetOptions(WOptions* options) { m_options = options; }
    // The background of an individual: "HLCol" when highlighted, else the normal background.
    uint32_t BackgroundColour(int32_t individual);
    // The text colour of an individual: "HLTCol" when highlighted, else black.
    uint32_t TextColour(int32_t individual);
    // The setting "HLCol" itself (legends, printing).
    uint32_t HighlightColour() const;
    // The setting "HLTCol" itself.
    uint32_t HighlightTextColour() const;
    // Sets the background of individuals that are not highlighted (white by default).
    void SetNormalBackground(uint32_t colour) { m_normalBackground = colour; }

  protected:
    // The record object of an individual, or null (0, out of range, missing).
    std::unique_ptr<WABSIndividual> Individual(int32_t individual) const;

    WABSCollection* m_collection;
    bool m_negated = false;
    uint32_t m_normalBackground = kWhite;
    std::string m_parameter;
    WOptions* m_options = nullptr;
};

// The base of every rule: a reference individual and a generation count for the rules that
// name an individual.
class WABSHLInd : public WABSHighLighter {
  public:
    // A rule over a collection (not owned) for one condition code.
    WABSHLInd(WABSCollection* collection, int code);

    // The condition code this rule answers (2 to 100).
    int Code() const { return m_code; }
    // The reference individual read by Prepare (0 = none).
    int32_t ReferenceIndividual() const { return m_individual; }
    // The generation count read by Prepare.
    int32_t Generations() const { return m_generations; }

    // Reads "individual^generations": an empty part takes its default (individual 1,
    // generations 0). Throws KindrelError for a text without "^" and for a part that is not
    // a decimal number.
    static void SplitIndividualGenerations(std::string_view text, int32_t& individual,
                                           int32_t& generations);

    // The surname as recorded (no slashes or upper-casing from the display settings), so that
    // the answers do not change with how names are shown.
    static std::string PlainSurname(WABSIndividual& person);

  protected:
    // True when n names an individual of the collection.
    bool Exists(int32_t n) const;
    // The full name (with prefix and suffix) of the reference individual; empty when it is 0
    // or missing.
    std::string ReferenceName() const;

    int m_code;
    int32_t m_individual = 0;
    int32_t m_generations = 1;
};

// Reads a whole text as a decimal number (optional sign, digits, nothing else); false when
// it is not one or does not fit 32 bits.
bool ParseHLInt(std::string_view text, int32_t& value);

// Reads a strict decimal parameter; throws KindrelError naming the rule's code and the text
// when it is not a number.
int32_t StrictHLInt(std::string_view text, int code);

}  // namespace kindrel
