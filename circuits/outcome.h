#pragma once

// What a solve function works on and hands back: the value tables of the
// chosen value sets in, the status, the chosen values and the derived
// results out.

#include "circuits/format.h"
#include "search/search_context.h"

#include <optional>
#include <span>
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

// What a calculator shows besides the chosen values.
enum class ResultId {
    Nearest,      // the nearest real value of a value set
    Smaller,      // its smaller neighbour
    Bigger,       // its bigger neighbour
    Resistance,   // the resistance the chosen values give
    ErrorPercent, // its error against the target, in percent
    U2,           // the output voltage (node U2) the chosen values give
    U3,           // the voltage of node U3 the chosen values give
    U0Case1,      // the star-point voltage the chosen values give in case 1
    U0Case2,      // ... and in case 2
};

struct ResultInfo {
    ResultId id;
    std::string_view key;   // JSON key: "errorPercent"
    std::string_view label; // the command line's label: "Error %"
    NumberFormat format;
};

const ResultInfo& Info(ResultId id);

struct ResultValue {
    ResultId id;
    double value;
};

struct SolveOutcome {
    SearchStatus status = SearchStatus::InvalidInput;
    // The values the search wrote, R1 first: the chosen ones when Found;
    // empty where the search writes none (the node chains, and a star scan
    // that found nothing, write 0.0 for every resistor).
    std::vector<double> values;
    std::vector<ResultValue> results; // derived results; empty unless Found
    // The result, when the outcome has it (a single resistor at the top of
    // its table has no bigger neighbour).
    std::optional<double> Result(ResultId id) const;
    void Add(ResultId id, double value) { results.push_back({id, value}); }
};

} // namespace ohmtrim
