#pragma once

// The rule that keeps a cold cache from making a search slower: the plain
// scan runs first with a budget of about one table build; only when it runs
// out is the table built, and the search goes on over it from where it was.

#include "search/fast_scan.h"
#include "search/pair_table.h"
#include "search/pair_table_cache.h"
#include "search/search_context.h"

#include <cstddef>
#include <memory>

namespace ohmtrim::fast {

// Rows of a nested pair search (one table lookup each) that cost about as
// much as building one pair entry (measured by the fast benchmark: a build
// takes about 15 ns per entry, a plain row about 20 ns on E192).
inline constexpr double kPlainRowsPerEntry = 0.75;

inline WorkBudget BudgetForBuilding(std::size_t entries) {
    return WorkBudget(static_cast<std::int64_t>(static_cast<double>(entries) * kPlainRowsPerEntry));
}

enum class TableOutcome {
    Ready,       // the table is at hand
    Aborted,     // Escape was down during the build
    Unavailable, // no table (unsuitable values, too large, out of memory): go on plainly
};

inline TableOutcome ObtainTable(PairTableCache& cache, PairOp op, const double* a, int na,
                                const double* b, int nb, const SearchContext& ctx,
                                std::shared_ptr<const PairTable>& table) {
    switch (cache.Obtain(op, a, na, b, nb, ctx, table)) {
    case PairTable::Outcome::Built:
        return TableOutcome::Ready;
    case PairTable::Outcome::Aborted:
        return TableOutcome::Aborted;
    case PairTable::Outcome::Unsuitable:
    case PairTable::Outcome::OutOfMemory:
        break;
    }
    return TableOutcome::Unavailable;
}

} // namespace ohmtrim::fast
