#include "search/node_dividers.h"

#include "search/node_divider_scan.h"
#include "search/pair_searches.h"
#include "search/triple_searches.h"
#include "valuesets/lookups.h"

#include <cmath>

// Chains whose sections hold parallel or series groups. Each search scans
// one section itself (a single resistor upwards, or the pairs of a parallel
// section downwards) and builds the others with a lookup or an inner
// search. All of them look at Escape first before the 20th candidate.

namespace ohmtrim {

using detail::Chain;
using detail::EscapePoll;
using detail::InnerNodes;

namespace {

double Parallel(double x, double y) {
    return x * y / (x + y);
}

} // namespace

SearchStatus FindNodeDivider4Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3,
                                  const double* t4, int n4, double& out1, double& out2,
                                  double& out3, double& out4, const SearchContext& ctx) {
    if (!detail::NodeInputValid(in, InnerNodes::Both))
        return SearchStatus::InvalidInput;
    const detail::NodeTargets w = detail::WantedShares(in);
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const int s = CeilingIndex(in.RMin * w.f1, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    auto complete = [&](double r1, std::array<double, 4>& v) {
        v[0] = r1;
        v[1] = t2[NearestIndex(w.k2 * r1, t2, n2)];
        FindParallelPair(w.k3 * r1, innerTol, t3, n3, t4, n4, v[2], v[3]);
        const double c = Parallel(v[2], v[3]);
        const double total = r1 + v[1] + c;
        return Chain{total, detail::TwoNodeError(w, v[1], c, total)};
    };
    // R2 and the lower pair follow R1 upwards, so the first total above
    // RMax ends the scan.
    return detail::ScanOneResistor<4>(in, t1, n1,
                                      {.start = s,
                                       .valueLimit = detail::kNoValueLimit,
                                       .totalAboveRMaxEnds = true,
                                       .stopBelow = 2 * ctx.relTol,
                                       .firstPoll = EscapePoll::First::BeforeTwentieth},
                                      ctx, complete, {&out1, &out2, &out3, &out4});
}

SearchStatus FindNodeDivider4U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx) {
    if (!detail::NodeInputValid(in, InnerNodes::U3Only))
        return SearchStatus::InvalidInput;
    const detail::NodeTargets w = detail::WantedShares(in);
    const double fU = (in.U1 - in.U3) / (in.U1 - in.U4); // wanted (R1 + R2) / T
    const double kU = (in.U1 - in.U3) / (in.U3 - in.U4); // wanted (R1 + R2) / (R3 // R4)
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    // The pair below U3 must make f3 of a total within RMin..RMax.
    const double pMin = w.f3 * in.RMin;
    const double pMax = w.f3 * in.RMax;
    // R3 // R4 stays below R3, so an R3 under pMin cannot serve.
    const int s = CeilingIndex(pMin, t3, n3);
    if (s == -1)
        return SearchStatus::NoSolution;
    auto complete = [&](double r3, double r4, double p, std::array<double, 4>& v) {
        FindSeriesPair(kU * p, innerTol, t1, n1, t2, n2, v[0], v[1]);
        v[2] = r3;
        v[3] = r4;
        const double upper = v[0] + v[1];
        const double total = upper + p;
        return Chain{total, std::fabs(fU - upper / total)};
    };
    return detail::ScanParallelPairs<4>(in, t3, n3, t4, n4, s, pMin, pMax, ctx.relTol * fU, ctx,
                                        complete, {&out1, &out2, &out3, &out4});
}

SearchStatus FindNodeDivider4U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx) {
    if (!detail::NodeInputValid(in, InnerNodes::U2Only))
        return SearchStatus::InvalidInput;
    const detail::NodeTargets w = detail::WantedShares(in);
    const double fL = w.f2;                              // wanted (R2 + R3 // R4) / T
    const double kL = (in.U2 - in.U4) / (in.U1 - in.U2); // wanted (R2 + R3 // R4) / R1
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const int s = CeilingIndex(w.f1 * in.RMin, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    auto complete = [&](double r1, std::array<double, 4>& v) {
        v[0] = r1;
        FindSeriesParallel(kL * r1, innerTol, t2, n2, t3, n3, t4, n4, v[1], v[2], v[3]);
        const double lower = v[1] + Parallel(v[2], v[3]);
        const double total = r1 + lower;
        return Chain{total, std::fabs(fL - lower / total)};
    };
    // An R1 above f1 * RMax would need a total above RMax.
    return detail::ScanOneResistor<4>(in, t1, n1,
                                      {.start = s,
                                       .valueLimit = w.f1 * in.RMax,
                                       .totalAboveRMaxEnds = false,
                                       .stopBelow = ctx.relTol * fL,
                                       .firstPoll = EscapePoll::First::BeforeTwentieth},
                                      ctx, complete, {&out1, &out2, &out3, &out4});
}

SearchStatus FindNodeDivider5(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, double& out1, double& out2,
                              double& out3, double& out4, double& out5, const SearchContext& ctx) {
    if (!detail::NodeInputValid(in, InnerNodes::Both))
        return SearchStatus::InvalidInput;
    const detail::NodeTargets w = detail::WantedShares(in);
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const int s = CeilingIndex(w.f1 * in.RMin, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    auto complete = [&](double r1, std::array<double, 5>& v) {
        v[0] = r1;
        FindParallelPair(w.k2 * r1, innerTol, t2, n2, t3, n3, v[1], v[2]);
        const double b = Parallel(v[1], v[2]);
        FindParallelPair(w.k3 * r1, innerTol, t4, n4, t5, n5, v[3], v[4]);
        const double c = Parallel(v[3], v[4]);
        const double total = r1 + b + c;
        return Chain{total, detail::TwoNodeError(w, b, c, total)};
    };
    return detail::ScanOneResistor<5>(in, t1, n1,
                                      {.start = s,
                                       .valueLimit = w.f1 * in.RMax,
                                       .totalAboveRMaxEnds = false,
                                       .stopBelow = 2 * ctx.relTol,
                                       .firstPoll = EscapePoll::First::BeforeTwentieth},
                                      ctx, complete, {&out1, &out2, &out3, &out4, &out5});
}

SearchStatus FindNodeDivider6(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, const double* t6, int n6,
                              double& out1, double& out2, double& out3, double& out4, double& out5,
                              double& out6, const SearchContext& ctx) {
    if (!detail::NodeInputValid(in, InnerNodes::Both))
        return SearchStatus::InvalidInput;
    const detail::NodeTargets w = detail::WantedShares(in);
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    // The upper pair must make f1 of a total within RMin..RMax.
    const double pMin = w.f1 * in.RMin;
    const double pMax = w.f1 * in.RMax;
    const int s = CeilingIndex(pMin, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    auto complete = [&](double r1, double r2, double a, std::array<double, 6>& v) {
        v[0] = r1;
        v[1] = r2;
        FindParallelPair(w.k2 * a, innerTol, t3, n3, t4, n4, v[2], v[3]);
        const double b = Parallel(v[2], v[3]);
        FindParallelPair(w.k3 * a, innerTol, t5, n5, t6, n6, v[4], v[5]);
        const double c = Parallel(v[4], v[5]);
        const double total = a + b + c;
        return Chain{total, detail::TwoNodeError(w, b, c, total)};
    };
    return detail::ScanParallelPairs<6>(in, t1, n1, t2, n2, s, pMin, pMax, 2 * ctx.relTol, ctx,
                                        complete, {&out1, &out2, &out3, &out4, &out5, &out6});
}

} // namespace ohmtrim
