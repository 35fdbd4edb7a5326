#pragma once

// The solve functions of the families, which their description rows name.

#include "circuits/solve.h"

#include <span>

namespace ohmtrim::detail {

// The row of a family's table of circuits (each row with a member solver)
// that runs the given search; null when the table has none.
template <class Row> const Row* CircuitOf(std::span<const Row> rows, SolverId solver) {
    for (const Row& row : rows)
        if (row.solver == solver)
            return &row;
    return nullptr;
}

SolveOutcome SolveNearest(const CatalogueEntry& entry, const SolveInputs& in,
                          std::span<const ValueTable> tables, const SearchContext& ctx);
SolveOutcome SolveResistance(const CatalogueEntry& entry, const SolveInputs& in,
                             std::span<const ValueTable> tables, const SearchContext& ctx);
SolveOutcome SolveDivider(const CatalogueEntry& entry, const SolveInputs& in,
                          std::span<const ValueTable> tables, const SearchContext& ctx);
SolveOutcome SolveNodeChain(const CatalogueEntry& entry, const SolveInputs& in,
                            std::span<const ValueTable> tables, const SearchContext& ctx);
SolveOutcome SolveStar(const CatalogueEntry& entry, const SolveInputs& in,
                       std::span<const ValueTable> tables, const SearchContext& ctx);

// The derived results of each family from chosen values (DeriveFunction).
void DeriveNearest(const CatalogueEntry& entry, const SolveInputs& in,
                   std::span<const double> values, SolveOutcome& out);
void DeriveResistance(const CatalogueEntry& entry, const SolveInputs& in,
                      std::span<const double> values, SolveOutcome& out);
void DeriveDivider(const CatalogueEntry& entry, const SolveInputs& in,
                   std::span<const double> values, SolveOutcome& out);
void DeriveNodeChain(const CatalogueEntry& entry, const SolveInputs& in,
                     std::span<const double> values, SolveOutcome& out);
void DeriveStar(const CatalogueEntry& entry, const SolveInputs& in, std::span<const double> values,
                SolveOutcome& out);

} // namespace ohmtrim::detail
