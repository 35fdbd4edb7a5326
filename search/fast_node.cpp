#include "search/fast_searches.h"

#include "search/fast_engine.h"
#include "search/node_divider_scan.h"

// The node-voltage searches over the fast engine (search/fast_engine.h);
// the searches themselves are shared with the plain functions
// (search/node_divider_scan.h). Without a cache the plain functions run.

namespace ohmtrim::fast {

SearchStatus FindNodeDivider3Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3, double& out1,
                                  double& out2, double& out3, const SearchContext& ctx) {
    // Two lookups of the nearest value per candidate: nothing for the fast
    // path to gain.
    const SearchStatus status =
        ohmtrim::FindNodeDivider3Both(in, t1, n1, t2, n2, t3, n3, out1, out2, out3, ctx);
    if (status != SearchStatus::Aborted)
        ctx.ReportProgress(1.0);
    return status;
}

SearchStatus FindNodeDivider3U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindNodeDivider3U3(in, t1, n1, t2, n2, t3, n3, out1, out2, out3, ctx);
    FastEngine engine(ctx);
    return detail::NodeDivider3U3(engine, in, t1, n1, t2, n2, t3, n3, {&out1, &out2, &out3});
}

SearchStatus FindNodeDivider3U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindNodeDivider3U2(in, t1, n1, t2, n2, t3, n3, out1, out2, out3, ctx);
    FastEngine engine(ctx);
    return detail::NodeDivider3U2(engine, in, t1, n1, t2, n2, t3, n3, {&out1, &out2, &out3});
}

SearchStatus FindNodeDivider4Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3,
                                  const double* t4, int n4, double& out1, double& out2,
                                  double& out3, double& out4, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindNodeDivider4Both(in, t1, n1, t2, n2, t3, n3, t4, n4, out1, out2, out3,
                                             out4, ctx);
    FastEngine engine(ctx);
    return detail::NodeDivider4Both(engine, in, t1, n1, t2, n2, t3, n3, t4, n4,
                                    {&out1, &out2, &out3, &out4});
}

SearchStatus FindNodeDivider4U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindNodeDivider4U3(in, t1, n1, t2, n2, t3, n3, t4, n4, out1, out2, out3,
                                           out4, ctx);
    FastEngine engine(ctx);
    return detail::NodeDivider4U3(engine, in, t1, n1, t2, n2, t3, n3, t4, n4,
                                  {&out1, &out2, &out3, &out4});
}

SearchStatus FindNodeDivider4U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindNodeDivider4U2(in, t1, n1, t2, n2, t3, n3, t4, n4, out1, out2, out3,
                                           out4, ctx);
    FastEngine engine(ctx);
    return detail::NodeDivider4U2(engine, in, t1, n1, t2, n2, t3, n3, t4, n4,
                                  {&out1, &out2, &out3, &out4});
}

SearchStatus FindNodeDivider5(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, double& out1, double& out2,
                              double& out3, double& out4, double& out5, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindNodeDivider5(in, t1, n1, t2, n2, t3, n3, t4, n4, t5, n5, out1, out2,
                                         out3, out4, out5, ctx);
    FastEngine engine(ctx);
    return detail::NodeDivider5(engine, in, t1, n1, t2, n2, t3, n3, t4, n4, t5, n5,
                                {&out1, &out2, &out3, &out4, &out5});
}

SearchStatus FindNodeDivider6(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, const double* t6, int n6,
                              double& out1, double& out2, double& out3, double& out4, double& out5,
                              double& out6, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindNodeDivider6(in, t1, n1, t2, n2, t3, n3, t4, n4, t5, n5, t6, n6, out1,
                                         out2, out3, out4, out5, out6, ctx);
    FastEngine engine(ctx);
    return detail::NodeDivider6(engine, in, t1, n1, t2, n2, t3, n3, t4, n4, t5, n5, t6, n6,
                                {&out1, &out2, &out3, &out4, &out5, &out6});
}

} // namespace ohmtrim::fast
