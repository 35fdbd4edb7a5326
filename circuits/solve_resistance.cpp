#include "circuits/solve_parts.h"

namespace ohmtrim::detail {

SolveOutcome SolveResistance(const CatalogueEntry&, const SolveInputs&, std::span<const ValueTable>,
                             const SearchContext&) {
    return {}; // not built yet
}

} // namespace ohmtrim::detail
