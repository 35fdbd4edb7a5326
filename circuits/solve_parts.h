#pragma once

// The solve functions of the families, which their description rows name.

#include "circuits/solve.h"

namespace ohmtrim::detail {

SolveOutcome SolveNearest(const CatalogueEntry& entry, const SolveInputs& in,
                          std::span<const ValueTable> tables, const SearchContext& ctx);
SolveOutcome SolveResistance(const CatalogueEntry& entry, const SolveInputs& in,
                             std::span<const ValueTable> tables, const SearchContext& ctx);
SolveOutcome SolveDivider(const CatalogueEntry& entry, const SolveInputs& in,
                          std::span<const ValueTable> tables, const SearchContext& ctx);

} // namespace ohmtrim::detail
