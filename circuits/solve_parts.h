#pragma once

// The solve functions of each family of calculators; Solve() dispatches to them.

#include "circuits/solve.h"

namespace ohmtrim::detail {

SolveOutcome SolveNearest(const SolveInputs& in, const ValueTable& table);
SolveOutcome SolveResistance(const CatalogueEntry& entry, const SolveInputs& in,
                             std::span<const ValueTable> tables, const SearchContext& ctx);
SolveOutcome SolveDivider(const CatalogueEntry& entry, const SolveInputs& in,
                          std::span<const ValueTable> tables, const SearchContext& ctx);

} // namespace ohmtrim::detail
