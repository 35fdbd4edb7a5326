#include "app/table_prebuild.h"

#include "search/pair_table_cache.h"

#include <memory>

namespace ohmtrim {

void PrebuildPairTables(PairTableCache& cache, const double* values, int count,
                        const SearchContext& ctx) {
    // The keys are those the searches ask for: the very table (its address
    // and count) on both sides. A table the fast searches do not take is
    // refused by the cache at once.
    for (const PairOp op : {PairOp::Series, PairOp::Parallel}) {
        std::shared_ptr<const PairTable> table;
        if (cache.Obtain(op, values, count, values, count, ctx, table) ==
            PairTable::Outcome::Aborted)
            return;
    }
}

TablePrebuild::TablePrebuild(PairTableCache& cache, const double* values, int count) {
    m_thread = std::thread([this, &cache, values, count] {
        SearchContext ctx;
        ctx.escape = &m_stop;
        PrebuildPairTables(cache, values, count, ctx);
    });
}

void TablePrebuild::Stop() {
    m_stop.store(true, std::memory_order_relaxed);
    Wait();
}

void TablePrebuild::Wait() {
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace ohmtrim
