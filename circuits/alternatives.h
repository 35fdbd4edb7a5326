#pragma once

// Ranked alternatives of the resistance calculators of two and three
// resistors: not just the one combination the search settles on, but the
// best few of all combinations of the chosen tables, for a designer who
// would rather trade a little accuracy for fewer distinct values.

#include "circuits/solve.h"

#include <span>
#include <vector>

namespace ohmtrim {

inline constexpr int kMaxAlternatives = 100;

struct Alternative {
    std::vector<double> values; // R1 first
    // As the entry's calculator shows them for these values, bit for bit.
    double resistance;
    double errorPercent;
};

// Whether the entry ranks alternatives: the resistance combinations of two
// and three resistors.
bool RanksAlternatives(const CatalogueEntry& entry);

enum class AlternativesStatus {
    Found,        // out holds the alternatives
    InvalidInput, // no such entry, a target its search refuses, unfit tables
    Aborted,      // Escape went down while a pair table was built
    TooLarge,     // the tables have too many pairs to sort in memory
};

// The count (1 to kMaxAlternatives) combinations of values of the tables
// (table k for resistor k) whose resistance lies closest to the target, by
// the absolute error in percent; equal errors in the order of R1, then R2,
// then R3. A combination is a list of values: two that differ only by a
// swap of two resistors of one kind (both in parallel, both in series) with
// the same table count once, in the place of the first of them. The
// relative tolerance does not apply: this is exact over every combination.
// Fewer than count only when the tables do not hold more.
AlternativesStatus RankAlternatives(const CatalogueEntry& entry, const SolveInputs& in,
                                    std::span<const ValueTable> tables, int count,
                                    const SearchContext& ctx, std::vector<Alternative>& out);

} // namespace ohmtrim
