#include "app/table_prebuild.h"

#include "search/pair_table_cache.h"
#include "search/search_context.h"

namespace ohmtrim {

TablePrebuild::TablePrebuild(PairTableCache& cache, const double* values, int count) {
    m_thread = std::thread([this, &cache, values, count] {
        SearchContext ctx;
        ctx.escape = &m_stop;
        cache.Prebuild(values, count, ctx);
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
