#include "search/fast_searches.h"

#include "search/fast_engine.h"
#include "search/star_scan.h"

// The star searches over the fast engine (search/fast_engine.h); the
// searches themselves are shared with the plain functions
// (search/star_scan.h). Without a cache the plain functions run.

namespace ohmtrim::fast {

SearchStatus FindStar(StarCircuit circuit, const StarInput& in, std::span<const StarTable> tables,
                      std::span<double> out, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindStar(circuit, in, tables, out, ctx);
    FastEngine engine(ctx);
    return detail::RunStar(engine, circuit, in, tables, out);
}

} // namespace ohmtrim::fast
