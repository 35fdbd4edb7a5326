#include "search/node_dividers.h"

#include "search/input_checks.h"
#include "search/node_divider_scan.h"
#include "search/pair_searches.h"
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

using detail::Chain;
using detail::EscapePoll;
using detail::InnerNodes;

// The three-resistor chains look at Escape before their first candidate,
// and a total above RMax ends their scan: the other resistors grow with the
// scanned one, and so does the total.

SearchStatus FindNodeDivider3Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3, double& out1,
                                  double& out2, double& out3, const SearchContext& ctx) {
    if (!detail::NodeInputValid(in, InnerNodes::Both))
        return SearchStatus::InvalidInput;
    const detail::NodeTargets w = detail::WantedShares(in);
    // R2 and R3 are each the value nearest to what R1 asks for, so every R1
    // is tried, from the smallest.
    auto complete = [&](double r1, std::array<double, 3>& v) {
        v[0] = r1;
        v[1] = t2[NearestIndex(w.k2 * r1, t2, n2)];
        v[2] = t3[NearestIndex(w.k3 * r1, t3, n3)];
        const double total = v[0] + v[1] + v[2];
        return Chain{total, detail::TwoNodeError(w, v[1], v[2], total)};
    };
    return detail::ScanOneResistor<3>(in, t1, n1,
                                      {.start = 0,
                                       .valueLimit = detail::kNoValueLimit,
                                       .totalAboveRMaxEnds = true,
                                       .stopBelow = 2 * ctx.relTol,
                                       .firstPoll = EscapePoll::First::BeforeFirst},
                                      ctx, complete, {&out1, &out2, &out3});
}

SearchStatus FindNodeDivider3U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx) {
    if (!detail::NodeInputValid(in, InnerNodes::U3Only))
        return SearchStatus::InvalidInput;
    const detail::NodeTargets w = detail::WantedShares(in);
    const double kU = (in.U1 - in.U3) / (in.U3 - in.U4); // wanted (R1 + R2) / R3
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    // R3 / T = f3 is wanted, so no R3 below RMin * f3 can reach RMin.
    const int s = CeilingIndex(in.RMin * w.f3, t3, n3);
    if (s == -1)
        return SearchStatus::NoSolution;
    auto complete = [&](double r3, std::array<double, 3>& v) {
        FindSeriesPair(kU * r3, innerTol, t1, n1, t2, n2, v[0], v[1]);
        v[2] = r3;
        const double total = v[0] + v[1] + v[2];
        return Chain{total, std::fabs(w.f3 - r3 / total)};
    };
    return detail::ScanOneResistor<3>(in, t3, n3,
                                      {.start = s,
                                       .valueLimit = detail::kNoValueLimit,
                                       .totalAboveRMaxEnds = true,
                                       .stopBelow = ctx.relTol * w.f3,
                                       .firstPoll = EscapePoll::First::BeforeFirst},
                                      ctx, complete, {&out1, &out2, &out3});
}

SearchStatus FindNodeDivider3U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx) {
    if (!detail::NodeInputValid(in, InnerNodes::U2Only))
        return SearchStatus::InvalidInput;
    const detail::NodeTargets w = detail::WantedShares(in);
    const double kL = (in.U2 - in.U4) / (in.U1 - in.U2); // wanted (R2 + R3) / R1
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const int s = CeilingIndex(in.RMin * w.f1, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    auto complete = [&](double r1, std::array<double, 3>& v) {
        v[0] = r1;
        FindSeriesPair(kL * r1, innerTol, t2, n2, t3, n3, v[1], v[2]);
        const double total = v[0] + v[1] + v[2];
        return Chain{total, std::fabs(w.f1 - r1 / total)};
    };
    return detail::ScanOneResistor<3>(in, t1, n1,
                                      {.start = s,
                                       .valueLimit = detail::kNoValueLimit,
                                       .totalAboveRMaxEnds = true,
                                       .stopBelow = ctx.relTol * w.f1,
                                       .firstPoll = EscapePoll::First::BeforeFirst},
                                      ctx, complete, {&out1, &out2, &out3});
}

} // namespace ohmtrim
