#pragma once

// The node-voltage searches, each written once over the engine that runs
// its scan (search/scan_rules.h): the plain functions run them with the
// plain engine, the fast ones with the fast engine. Only the search files
// include this.

#include "search/node_dividers.h"
#include "search/scan_rules.h"
#include "search/search_constants.h"
#include "valuesets/lookups.h"

#include <array>
#include <cmath>

namespace ohmtrim::detail {

// Wanted shares of the total resistance T and ratios between sections.
struct NodeTargets {
    double f1; // section A / T
    double f2; // (B + C) / T, the position of U2
    double f3; // C / T, the position of U3
    double k2; // B / A
    double k3; // C / A
};

// The values of a node that was not given come out as nonsense here; the
// searches that do not use that node never read them.
inline NodeTargets WantedShares(const NodeVoltageInput& in) {
    return {(in.U1 - in.U2) / (in.U1 - in.U4), (in.U2 - in.U4) / (in.U1 - in.U4),
            (in.U3 - in.U4) / (in.U1 - in.U4), (in.U2 - in.U3) / (in.U1 - in.U2),
            (in.U3 - in.U4) / (in.U1 - in.U2)};
}

// Both inner nodes: the sum of the relative errors of the two node
// positions, for sections B and C of a chain with total t.
inline double TwoNodeError(const NodeTargets& w, double b, double c, double t) {
    return std::fabs((w.f2 - (b + c) / t) / w.f2) + std::fabs((w.f3 - c / t) / w.f3);
}

inline TwoNodeBoundOf TwoNodeBound(const NodeTargets& w) {
    return {w.f2, w.f3, w.k2, w.k3};
}

inline double ParallelOf(double x, double y) {
    return x * y / (x + y);
}

template <std::size_t N> using Outs = std::array<double*, N>;

using First = EscapePoll::First;

// The three-resistor chains look at Escape before their first candidate,
// and a total above RMax ends their scan: the other resistors grow with the
// scanned one, and so does the total. The chains with groups look first
// before the 20th candidate.

// R1 / R2 / R3, both inner nodes. R2 and R3 are each the value nearest to
// what R1 asks for, so every R1 is tried, from the smallest.
template <typename Engine>
SearchStatus NodeDivider3Both(Engine& engine, const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3,
                              const Outs<3>& outs) {
    const SearchContext& ctx = engine.Context();
    if (!NodeInputValid(in, InnerNodes::Both))
        return SearchStatus::InvalidInput;
    const NodeTargets w = WantedShares(in);
    return engine.OneTable(
        t1, n1, {0, kNoLimit, in.RMin, in.RMax, true, 2 * ctx.relTol, First::BeforeFirst}, outs,
        NoBound{},
        [&](auto& nearest2, auto& nearest3, double r1, std::array<double, 3>& v) {
            v[0] = r1;
            v[1] = nearest2(w.k2 * r1);
            v[2] = nearest3(w.k3 * r1);
            const double total = v[0] + v[1] + v[2];
            return Candidate{total, TwoNodeError(w, v[1], v[2], total)};
        },
        NearestIn{t2, n2}, NearestIn{t3, n3});
}

// R1 + R2 above U3, R3 below it; U3 only. R3 / T = f3 is wanted, so no R3
// below RMin * f3 can reach RMin.
template <typename Engine>
SearchStatus NodeDivider3U3(Engine& engine, const NodeVoltageInput& in, const double* t1, int n1,
                            const double* t2, int n2, const double* t3, int n3,
                            const Outs<3>& outs) {
    const SearchContext& ctx = engine.Context();
    if (!NodeInputValid(in, InnerNodes::U3Only))
        return SearchStatus::InvalidInput;
    const NodeTargets w = WantedShares(in);
    const double kU = (in.U1 - in.U3) / (in.U3 - in.U4); // wanted (R1 + R2) / R3
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const int s = CeilingIndex(in.RMin * w.f3, t3, n3);
    if (s == -1)
        return SearchStatus::NoSolution;
    return engine.OneTable(
        t3, n3, {s, kNoLimit, in.RMin, in.RMax, true, ctx.relTol * w.f3, First::BeforeFirst}, outs,
        NoBound{},
        [&](auto& upper, double r3, std::array<double, 3>& v) {
            if (!upper(kU * r3, innerTol, v[0], v[1]))
                return Candidate::Aborted();
            v[2] = r3;
            const double total = v[0] + v[1] + v[2];
            return Candidate{total, std::fabs(w.f3 - r3 / total)};
        },
        PairOf<PairOp::Series>{t1, n1, t2, n2});
}

// R1 above U2, R2 + R3 below it; U2 only.
template <typename Engine>
SearchStatus NodeDivider3U2(Engine& engine, const NodeVoltageInput& in, const double* t1, int n1,
                            const double* t2, int n2, const double* t3, int n3,
                            const Outs<3>& outs) {
    const SearchContext& ctx = engine.Context();
    if (!NodeInputValid(in, InnerNodes::U2Only))
        return SearchStatus::InvalidInput;
    const NodeTargets w = WantedShares(in);
    const double kL = (in.U2 - in.U4) / (in.U1 - in.U2); // wanted (R2 + R3) / R1
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const int s = CeilingIndex(in.RMin * w.f1, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    return engine.OneTable(
        t1, n1, {s, kNoLimit, in.RMin, in.RMax, true, ctx.relTol * w.f1, First::BeforeFirst}, outs,
        NoBound{},
        [&](auto& lower, double r1, std::array<double, 3>& v) {
            v[0] = r1;
            if (!lower(kL * r1, innerTol, v[1], v[2]))
                return Candidate::Aborted();
            const double total = v[0] + v[1] + v[2];
            return Candidate{total, std::fabs(w.f1 - r1 / total)};
        },
        PairOf<PairOp::Series>{t2, n2, t3, n3});
}

// R1 / R2 / R3 // R4, both inner nodes. R2 and the lower pair follow R1
// upwards, so the first total above RMax ends the scan.
template <typename Engine>
SearchStatus NodeDivider4Both(Engine& engine, const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const Outs<4>& outs) {
    const SearchContext& ctx = engine.Context();
    if (!NodeInputValid(in, InnerNodes::Both))
        return SearchStatus::InvalidInput;
    const NodeTargets w = WantedShares(in);
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const int s = CeilingIndex(in.RMin * w.f1, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    return engine.OneTable(
        t1, n1, {s, kNoLimit, in.RMin, in.RMax, true, 2 * ctx.relTol, First::BeforeTwentieth}, outs,
        NoBound{},
        [&](auto& nearest2, auto& lower, double r1, std::array<double, 4>& v) {
            v[0] = r1;
            v[1] = nearest2(w.k2 * r1);
            if (!lower(w.k3 * r1, innerTol, v[2], v[3]))
                return Candidate::Aborted();
            const double c = ParallelOf(v[2], v[3]);
            const double total = r1 + v[1] + c;
            return Candidate{total, TwoNodeError(w, v[1], c, total)};
        },
        NearestIn{t2, n2}, PairOf<PairOp::Parallel>{t3, n3, t4, n4});
}

// R1 + R2 above U3, R3 // R4 below it; U3 only. The pair below U3 must make
// f3 of a total within RMin..RMax; R3 // R4 stays below R3, so an R3 under
// that cannot serve.
template <typename Engine>
SearchStatus NodeDivider4U3(Engine& engine, const NodeVoltageInput& in, const double* t1, int n1,
                            const double* t2, int n2, const double* t3, int n3, const double* t4,
                            int n4, const Outs<4>& outs) {
    const SearchContext& ctx = engine.Context();
    if (!NodeInputValid(in, InnerNodes::U3Only))
        return SearchStatus::InvalidInput;
    const NodeTargets w = WantedShares(in);
    const double fU = (in.U1 - in.U3) / (in.U1 - in.U4); // wanted (R1 + R2) / T
    const double kU = (in.U1 - in.U3) / (in.U3 - in.U4); // wanted (R1 + R2) / (R3 // R4)
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const double pMin = w.f3 * in.RMin;
    const double pMax = w.f3 * in.RMax;
    const int s = CeilingIndex(pMin, t3, n3);
    if (s == -1)
        return SearchStatus::NoSolution;
    return engine.ParallelPairs(
        ParallelPairScan{t3, n3, t4, n4, s, pMin, pMax, in.RMin, in.RMax, ctx.relTol * fU}, outs,
        FractionBoundOf{fU, kU},
        [&](auto& upper, double r3, double r4, double p, std::array<double, 4>& v) {
            if (!upper(kU * p, innerTol, v[0], v[1]))
                return Candidate::Aborted();
            v[2] = r3;
            v[3] = r4;
            const double sum = v[0] + v[1];
            const double total = sum + p;
            return Candidate{total, std::fabs(fU - sum / total)};
        },
        PairOf<PairOp::Series>{t1, n1, t2, n2});
}

// R1 above U2, R2 + R3 // R4 below it; U2 only. An R1 above f1 * RMax would
// need a total above RMax.
template <typename Engine>
SearchStatus NodeDivider4U2(Engine& engine, const NodeVoltageInput& in, const double* t1, int n1,
                            const double* t2, int n2, const double* t3, int n3, const double* t4,
                            int n4, const Outs<4>& outs) {
    const SearchContext& ctx = engine.Context();
    if (!NodeInputValid(in, InnerNodes::U2Only))
        return SearchStatus::InvalidInput;
    const NodeTargets w = WantedShares(in);
    const double fL = w.f2;                              // wanted (R2 + R3 // R4) / T
    const double kL = (in.U2 - in.U4) / (in.U1 - in.U2); // wanted (R2 + R3 // R4) / R1
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const int s = CeilingIndex(w.f1 * in.RMin, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    return engine.OneTable(
        t1, n1,
        {s, w.f1 * in.RMax, in.RMin, in.RMax, false, ctx.relTol * fL, First::BeforeTwentieth}, outs,
        NoBound{},
        [&](auto& lower, double r1, std::array<double, 4>& v) {
            v[0] = r1;
            if (!lower(kL * r1, innerTol, v[1], v[2], v[3]))
                return Candidate::Aborted();
            const double sum = v[1] + ParallelOf(v[2], v[3]);
            const double total = r1 + sum;
            return Candidate{total, std::fabs(fL - sum / total)};
        },
        TripleOf<TripleKind::SeriesParallel>{t2, n2, t3, n3, t4, n4});
}

// R1 / R2 // R3 / R4 // R5, both inner nodes.
template <typename Engine>
SearchStatus NodeDivider5(Engine& engine, const NodeVoltageInput& in, const double* t1, int n1,
                          const double* t2, int n2, const double* t3, int n3, const double* t4,
                          int n4, const double* t5, int n5, const Outs<5>& outs) {
    const SearchContext& ctx = engine.Context();
    if (!NodeInputValid(in, InnerNodes::Both))
        return SearchStatus::InvalidInput;
    const NodeTargets w = WantedShares(in);
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const int s = CeilingIndex(w.f1 * in.RMin, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    return engine.OneTable(
        t1, n1,
        {s, w.f1 * in.RMax, in.RMin, in.RMax, false, 2 * ctx.relTol, First::BeforeTwentieth}, outs,
        TwoNodeBound(w),
        [&](auto& middle, auto& lower, double r1, std::array<double, 5>& v) {
            v[0] = r1;
            if (!middle(w.k2 * r1, innerTol, v[1], v[2]))
                return Candidate::Aborted();
            const double b = ParallelOf(v[1], v[2]);
            if (!lower(w.k3 * r1, innerTol, v[3], v[4]))
                return Candidate::Aborted();
            const double c = ParallelOf(v[3], v[4]);
            const double total = r1 + b + c;
            return Candidate{total, TwoNodeError(w, b, c, total)};
        },
        PairOf<PairOp::Parallel>{t2, n2, t3, n3}, PairOf<PairOp::Parallel>{t4, n4, t5, n5});
}

// R1 // R2 / R3 // R4 / R5 // R6, both inner nodes. The upper pair must make
// f1 of a total within RMin..RMax.
template <typename Engine>
SearchStatus NodeDivider6(Engine& engine, const NodeVoltageInput& in, const double* t1, int n1,
                          const double* t2, int n2, const double* t3, int n3, const double* t4,
                          int n4, const double* t5, int n5, const double* t6, int n6,
                          const Outs<6>& outs) {
    const SearchContext& ctx = engine.Context();
    if (!NodeInputValid(in, InnerNodes::Both))
        return SearchStatus::InvalidInput;
    const NodeTargets w = WantedShares(in);
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const double pMin = w.f1 * in.RMin;
    const double pMax = w.f1 * in.RMax;
    const int s = CeilingIndex(pMin, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    return engine.ParallelPairs(
        ParallelPairScan{t1, n1, t2, n2, s, pMin, pMax, in.RMin, in.RMax, 2 * ctx.relTol}, outs,
        TwoNodeBound(w),
        [&](auto& middle, auto& lower, double r1, double r2, double a, std::array<double, 6>& v) {
            v[0] = r1;
            v[1] = r2;
            if (!middle(w.k2 * a, innerTol, v[2], v[3]))
                return Candidate::Aborted();
            const double b = ParallelOf(v[2], v[3]);
            if (!lower(w.k3 * a, innerTol, v[4], v[5]))
                return Candidate::Aborted();
            const double c = ParallelOf(v[4], v[5]);
            const double total = a + b + c;
            return Candidate{total, TwoNodeError(w, b, c, total)};
        },
        PairOf<PairOp::Parallel>{t3, n3, t4, n4}, PairOf<PairOp::Parallel>{t5, n5, t6, n6});
}

} // namespace ohmtrim::detail
