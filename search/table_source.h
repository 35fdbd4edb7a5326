#pragma once

// How a fast search comes by its pair table without ever being much slower
// than its plain function. It scans plainly first, for a few microseconds'
// worth of rows: most searches with a tolerance end there and pay nothing
// for the fast path. Then it looks for the table in the cache. If the table
// is not there, the plain scan goes on with a budget of about one table
// build, and only when that runs out is the table built (and kept). Either
// way the search goes on from where its plain scan stopped, so no work is
// lost; a search that cannot have the table (unsuitable values, too large,
// out of memory) simply scans on plainly. A search that knows it still has
// at least half a build's worth of plain work to do for sure (no early exit
// can cut it short) has the table built at once; one whose plain scan looks
// nearly done when the budget runs out (by how far it has come) goes on
// plainly a little longer instead.

#include "search/fast_scan.h"
#include "search/pair_table.h"
#include "search/pair_table_cache.h"
#include "search/search_context.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace ohmtrim::fast {

// Plain rows between two Escape polls while the plain scan goes on without
// a table: a few milliseconds.
inline constexpr std::int64_t kPlainRowsPerPoll = std::int64_t{1} << 16;

class TableSource {
public:
    enum class Next {
        Fast,    // the table is at hand: go on over it
        Plain,   // go on plainly with the renewed budget
        Aborted, // Escape was down (during the build, or between plain stretches)
    };

    // The table of (a, b) for op, from ctx's cache (which must be set).
    // mayBuild false: only a cached table is used (a single pair search
    // never pays for a build).
    TableSource(const SearchContext& ctx, PairOp op, const double* a, int na, const double* b,
                int nb, bool mayBuild = true)
        : m_ctx(ctx), m_op(op), m_a(a), m_na(na), m_b(b), m_nb(nb), m_mayBuild(mayBuild),
          m_budget(ctx.tables->GetOptions().startRows),
          m_granted(ctx.tables->GetOptions().startRows) {}
    // A value table the fast path also reads (the row table of a triple
    // search, the enumerated tables of a divider): it must be suitable too.
    void AlsoNeeds(const double* v, int n) {
        const int k = m_also[0] == nullptr ? 0 : 1;
        m_also[k] = v;
        m_alsoCount[k] = n;
    }

    // Where the search keeps how far it has come, 0 to 1, if it knows.
    void SetProgress(const double* done) { m_done = done; }

    // The budget of the plain scan now.
    WorkBudget& Budget() { return m_budget; }
    // The table, once Advance has said Fast.
    const PairTable* Table() const { return m_table.get(); }
    // No table is to be had: the search runs plainly to its end.
    bool PlainOnly() const { return m_stage == Stage::PlainOnly; }
    // The plain scan has spent its budget: what next? Without a table to be
    // had the plain scan goes on in stretches, with an Escape poll between
    // them. certainRows(limit), when given, counts (up to limit) the plain
    // rows the search has still to do for sure.
    using CertainRows = std::function<std::int64_t(std::int64_t limit)>;
    Next Advance(const CertainRows& certainRows = nullptr);

private:
    enum class Stage { Start, Building, Fast, PlainOnly };
    void Grant(std::int64_t rows);
    void GrantStretch();
    bool AlsoSuitable() const;

    const SearchContext& m_ctx;
    PairOp m_op;
    const double* m_a;
    int m_na;
    const double* m_b;
    int m_nb;
    bool m_mayBuild;
    const double* m_also[2] = {nullptr, nullptr};
    int m_alsoCount[2] = {0, 0};
    Stage m_stage = Stage::Start;
    WorkBudget m_budget;
    std::int64_t m_granted;             // plain rows granted so far
    std::int64_t m_buildBudgetLeft = 0; // of the budget before a build
    bool m_extended = false;
    bool m_certain = false; // the work ahead called for the build at once
    const double* m_done = nullptr;
    std::shared_ptr<const PairTable> m_table;
};

} // namespace ohmtrim::fast
