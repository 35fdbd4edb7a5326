#include "search/node_dividers.h"

#include "search/input_checks.h"
#include "search/node_divider_scan.h"
#include "valuesets/lookups.h"

#include <cmath>
#include <span>

namespace ohmtrim {

namespace detail {

// The range first, then the voltages, in the order the user should hear
// about problems. A span U1 - U4 that overflows is refused too: every wanted
// share is a fraction of it, and with an infinite span they would all read
// as 0 and the search would aim at the wrong place.
bool NodeInputValid(const NodeVoltageInput& in, InnerNodes nodes) {
    if (!ResistanceRangeValid(in.RMin, in.RMax))
        return false;
    // A node that was not given is not looked at.
    const double both[] = {in.U1, in.U2, in.U3, in.U4};
    const double upper[] = {in.U1, in.U2, in.U4};
    const double lower[] = {in.U1, in.U3, in.U4};
    std::span<const double> used = both;
    if (nodes == InnerNodes::U2Only)
        used = upper;
    else if (nodes == InnerNodes::U3Only)
        used = lower;
    return StrictlyMonotonic(used) && std::isfinite(in.U1 - in.U4);
}

} // namespace detail

ChainNodeVoltages NodeVoltagesOfChain(double u1, double u4, double a, double b, double c) {
    const double t = a + b + c;
    return {u4 + (u1 - u4) * (b + c) / t, u4 + (u1 - u4) * c / t};
}

// The searches themselves are in search/node_divider_scan.h, shared with
// their fast versions.

SearchStatus FindNodeDivider3Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3, double& out1,
                                  double& out2, double& out3, const SearchContext& ctx) {
    detail::PlainEngine engine(ctx);
    return detail::NodeDivider3Both(engine, in, t1, n1, t2, n2, t3, n3, {&out1, &out2, &out3});
}

SearchStatus FindNodeDivider3U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx) {
    detail::PlainEngine engine(ctx);
    return detail::NodeDivider3U3(engine, in, t1, n1, t2, n2, t3, n3, {&out1, &out2, &out3});
}

SearchStatus FindNodeDivider3U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx) {
    detail::PlainEngine engine(ctx);
    return detail::NodeDivider3U2(engine, in, t1, n1, t2, n2, t3, n3, {&out1, &out2, &out3});
}

} // namespace ohmtrim
