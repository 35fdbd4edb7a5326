#pragma once

#include "circuits/catalogue.h"
#include "search/search_context.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ohmtrim {

class ResistorSet;

// A value table as the searches see it: the whole table of one value set,
// short-circuit and open-circuit entries included.
struct ValueTable {
    const double* values = nullptr;
    int count = 0;
    bool hasShortCircuit = false;
    bool hasOpenCircuit = false;
};

ValueTable TableOf(const ResistorSet& set);

// Typed inputs of a calculator, already parsed. Which fields count depends
// on the entry's InputKind.
struct SolveInputs {
    double target = 0; // NearestValue, Resistance: wanted resistance
    double u1 = 0;     // DividerVoltages
    double u2 = 0;
    double u3 = 0;
    double rmin = 0;
    double rmax = 0;
};

// The texts a user typed, by input name ("target", "u1", "u2", "u3",
// "rmax", "rmin"). Absent names read as empty boxes.
struct InputText {
    std::string_view name;
    std::string_view text;
};

// How one typed input is read.
enum class InputRule {
    Resistance, // a resistance in 1e-15..1e15; empty is invalid
    Voltage,    // any number; an empty box counts as 0
    Bound,      // any number, range left to the search; empty is invalid
};

struct InputField {
    std::string_view name; // "target", "u1", ...
    InputRule rule;
    double SolveInputs::*member;
};

// The inputs of a kind of entry, in the order its window reads them; empty
// for the kinds that take their inputs from elsewhere.
std::span<const InputField> InputFields(InputKind kind);

struct NamedResult {
    std::string_view name; // "resistance", "errorPercent", "u2", "nearest", ...
    double value;
};

struct SolveOutcome {
    SearchStatus status = SearchStatus::InvalidInput;
    std::vector<double> values;       // chosen values, R1 first; empty unless Found
    std::vector<NamedResult> results; // derived results; empty unless Found
    // The named result, or NaN when the outcome has none of that name.
    double Result(std::string_view name) const;
    bool HasResult(std::string_view name) const;
};

// The text shown for a failed outcome: "Invalid input data.", "No solution
// found.", "Search aborted."; empty for Found.
std::string_view StatusMessage(SearchStatus status);

// Parses the typed inputs of an entry in the order its window reads them,
// each by the whole-text rule; resistance targets must lie in 1e-15..1e15,
// voltages may be empty (0), R max and R min must not be empty. False on
// the first failure (the window then shows "Invalid input data.").
bool ParseInputs(const CatalogueEntry& entry, std::span<const InputText> texts, SolveInputs& out);

// Runs the entry's search on one table per resistor (in resistor order) and
// derives what the window shows from the chosen values. tables.size() must
// equal entry.resistors.
SolveOutcome Solve(const CatalogueEntry& entry, const SolveInputs& in,
                   std::span<const ValueTable> tables, const SearchContext& ctx);

// Error in percent of an achieved value against a target, signed:
// (achieved - target) * 100 / target.
inline double ErrorPercent(double achieved, double target) {
    return (achieved - target) * 100 / target;
}

} // namespace ohmtrim
