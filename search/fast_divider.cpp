#include "search/fast_searches.h"

#include "search/divider_scan.h"
#include "search/divider_searches.h"
#include "search/fast_engine.h"

// The dividers over the fast engine (search/fast_engine.h); the searches
// themselves are shared with the plain functions (search/divider_scan.h).
// Without a cache the plain functions run.

namespace ohmtrim::fast {

SearchStatus FindDividerPair(double u1, double u2, double u3, double rmin, double rmax,
                             const double* t1, int n1, const double* t2, int n2, double& out1,
                             double& out2, const SearchContext& ctx) {
    const SearchStatus status =
        ohmtrim::FindDividerPair(u1, u2, u3, rmin, rmax, t1, n1, t2, n2, out1, out2, ctx);
    if (status != SearchStatus::Aborted)
        ctx.ReportProgress(1.0);
    return status;
}

SearchStatus FindDividerParallelPairTop(double u1, double u2, double u3, double rmin, double rmax,
                                        const double* t1, int n1, const double* t2, int n2,
                                        const double* t3, int n3, double& out1, double& out2,
                                        double& out3, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindDividerParallelPairTop(u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3,
                                                   out1, out2, out3, ctx);
    FastEngine engine(ctx);
    return detail::DividerParallelPairTop(engine, u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3,
                                          {&out1, &out2, &out3});
}

SearchStatus FindDividerParallelTripleTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindDividerParallelTripleTop(u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3,
                                                     t4, n4, out1, out2, out3, out4, ctx);
    FastEngine engine(ctx);
    return detail::DividerParallelTripleTop(engine, u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3,
                                            t4, n4, {&out1, &out2, &out3, &out4});
}

SearchStatus FindDividerParallelSeriesTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindDividerParallelSeriesTop(u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3,
                                                     t4, n4, out1, out2, out3, out4, ctx);
    FastEngine engine(ctx);
    return detail::DividerParallelSeriesTop(engine, u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3,
                                            t4, n4, {&out1, &out2, &out3, &out4});
}

SearchStatus FindDividerParallelPairs(double u1, double u2, double u3, double rmin, double rmax,
                                      const double* t1, int n1, const double* t2, int n2,
                                      const double* t3, int n3, const double* t4, int n4,
                                      double& out1, double& out2, double& out3, double& out4,
                                      const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindDividerParallelPairs(u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3, t4,
                                                 n4, out1, out2, out3, out4, ctx);
    FastEngine engine(ctx);
    return detail::DividerParallelPairs(engine, u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3, t4,
                                        n4, {&out1, &out2, &out3, &out4});
}

} // namespace ohmtrim::fast
