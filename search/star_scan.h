#pragma once

// The star-circuit searches, each written once over the engine that runs
// its scan (search/scan_rules.h): the plain functions run them with the
// plain engine, the fast ones with the fast engine. Only the search files
// include this.

#include "search/scan_rules.h"
#include "search/star_searches.h"
#include "valuesets/lookups.h"
#include "valuesets/number.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <span>

namespace ohmtrim::detail {

// The determinants below are products of two voltage differences; under
// this the two cases are (nearly) proportional and fix no ratio.
inline constexpr double kSingularDeterminant = 1e-15;

// A candidate whose summed ratio error lies below this multiple of the
// relative tolerance ends the search.
inline constexpr double kStopFactor = 2;

// Is the branch-1 range usable? Written so that a NaN fails.
inline bool StarRangeValid(const StarInput& in) {
    return in.RMin >= kMinResistance && in.RMax <= kMaxResistance && in.RMin < in.RMax;
}

// A wanted ratio the scan can work with. A ratio of 0 (U2 = U0 in both
// cases, say) would make every candidate's error infinite or NaN, and an
// infinite or NaN one (voltages so large that their products overflow)
// likewise; no candidate could ever be chosen, so the scan is not run.
inline bool UsableRatio(double k) {
    return k > 0 && std::isfinite(k);
}

// The wanted B2 / B1 (k2) and B3 / B1 (k3): the solution of the current law
// at the star point, a1/B1 + a2/B2 + a3/B3 = 0 and b1/B1 + b2/B2 + b3/B3 = 0
// with am, bm the voltage across branch m in case 1 and 2. False when the
// cases admit no star of positive resistances.
inline bool WantedRatios(const StarInput& in, double& k2, double& k3) {
    const double a1 = in.U0Case1 - in.U1Case1;
    const double a2 = in.U0Case1 - in.U2Case1;
    const double a3 = in.U0Case1 - in.U3Case1;
    const double b1 = in.U0Case2 - in.U1Case2;
    const double b2 = in.U0Case2 - in.U2Case2;
    const double b3 = in.U0Case2 - in.U3Case2;
    const double d1 = a1 * b3 - b1 * a3;
    if (std::fabs(d1) < kSingularDeterminant)
        return false;
    k2 = (b2 * a3 - a2 * b3) / d1;
    if (!UsableRatio(k2))
        return false;
    const double d2 = a1 * b2 - b1 * a2;
    if (std::fabs(d2) < kSingularDeterminant)
        return false;
    k3 = (a2 * b3 - b2 * a3) / d2;
    return UsableRatio(k3);
}

// The summed relative error of the two ratios a candidate makes.
inline double StarError(double b1, double b2, double b3, double k2, double k3) {
    return std::fabs((b2 / b1 - k2) / k2) + std::fabs((b3 / b1 - k3) / k3);
}

// The last index a series scan needs: the first value not below Rmax (a
// larger one only adds to a sum that is already too large), or the last.
inline int SeriesScanEnd(double rmax, const double* t, int n) {
    const int end = CeilingIndex(rmax, t, n);
    return end == -1 ? n - 1 : end;
}

// ---- branches 2 and 3 ------------------------------------------------------------
//
// A single resistor is the value nearest to the wanted one; a pair is what
// its pair search gives for it, the first table's value first. Make writes
// the branch's values to v and its resistance to value; false when the
// search must end.

template <StarBranch B> struct BranchOf;
template <> struct BranchOf<StarBranch::Single> {
    static constexpr std::size_t kResistors = 1;
    static NearestIn Inner(const StarTable* t) { return {t[0].values, t[0].count}; }
    template <typename Searcher>
    static bool Make(Searcher& s, double target, double, double* v, double& value) {
        v[0] = s(target);
        value = v[0];
        return true;
    }
};
template <PairOp Op> struct PairBranch {
    static constexpr std::size_t kResistors = 2;
    static PairOf<Op> Inner(const StarTable* t) {
        return {t[0].values, t[0].count, t[1].values, t[1].count};
    }
    template <typename Searcher>
    static bool Make(Searcher& s, double target, double tol, double* v, double& value) {
        if (!s(target, tol, v[0], v[1]))
            return false;
        value = PairValue(Op, v[0], v[1]);
        return true;
    }
};
template <> struct BranchOf<StarBranch::Series> : PairBranch<PairOp::Series> {};
template <> struct BranchOf<StarBranch::Parallel> : PairBranch<PairOp::Parallel> {};

// The common search: input checks, then every branch-1 candidate completed
// with the branches 2 and 3 its ratios ask for. The smallest summed ratio
// error wins (the earliest of equal ones), and the first candidate below
// the stop threshold ends the search. There is no seed: a scan that finds
// nothing in range leaves every output 0.0. tables and outs hold one entry
// per resistor, branch 1 first.
template <StarBranch First, StarBranch Second, StarBranch Third, typename Engine>
SearchStatus
StarSearch(Engine& engine, const StarInput& in, const StarTable* tables,
           const std::array<double*, BranchOf<First>::kResistors + BranchOf<Second>::kResistors +
                                         BranchOf<Third>::kResistors>& outs) {
    using B2 = BranchOf<Second>;
    using B3 = BranchOf<Third>;
    constexpr std::size_t at2 = BranchOf<First>::kResistors;
    constexpr std::size_t at3 = at2 + B2::kResistors;
    constexpr std::size_t N = at3 + B3::kResistors;
    const SearchContext& ctx = engine.Context();
    if (!StarRangeValid(in))
        return SearchStatus::InvalidInput;
    double k2 = 0;
    double k3 = 0;
    if (!WantedRatios(in, k2, k3))
        return SearchStatus::NoSolution;
    const double stopBelow = kStopFactor * ctx.relTol;
    const double branchTol = kInnerToleranceFactor * ctx.relTol;

    // Branch 1 is B1; its values are in v already.
    auto complete = [&](auto& second, auto& third, double b1, std::array<double, N>& v) {
        double b2 = 0;
        double b3 = 0;
        if (!B2::Make(second, k2 * b1, branchTol, &v[at2], b2) ||
            !B3::Make(third, k3 * b1, branchTol, &v[at3], b3))
            return Candidate::Aborted();
        return Candidate{b1, StarError(b1, b2, b3, k2, k3)};
    };
    const auto inner2 = B2::Inner(tables + at2);
    const auto inner3 = B3::Inner(tables + at3);
    // Only pair branches 2 and 3 come from pair tables, which the fast
    // engine can bound.
    constexpr bool bounded = Second != StarBranch::Single && Third != StarBranch::Single;
    const auto bound = [&] {
        if constexpr (bounded)
            return StarBoundOf{k2, k3};
        else
            return NoBound{};
    }();
    // Every candidate's B1 lies within the range by the scan's own tests.
    const double any = kNoLimit;
    const StarTable& t1 = tables[0];

    if constexpr (First == StarBranch::Single) {
        // Upwards from the first value not below Rmin; the first value above
        // Rmax ends the scan.
        const int s = CeilingIndex(in.RMin, t1.values, t1.count);
        if (s == -1)
            return SearchStatus::InvalidInput;
        const bool beforeFirst = Second == StarBranch::Single && Third == StarBranch::Single;
        return engine.OneTable(
            t1.values, t1.count,
            {s, in.RMax, -any, any, false, stopBelow,
             beforeFirst ? EscapePoll::First::BeforeFirst : EscapePoll::First::BeforeTwentieth},
            outs, bound,
            [&](auto& second, auto& third, double b1, std::array<double, N>& v) {
                v[0] = b1;
                return complete(second, third, b1, v);
            },
            inner2, inner3);
    } else if constexpr (First == StarBranch::Parallel) {
        // R1 // R2, both downwards: larger values first. R1 below Rmin
        // cannot give a pair that reaches it.
        const StarTable& t2 = tables[1];
        const int s = CeilingIndex(in.RMin, t1.values, t1.count);
        if (s == -1)
            return SearchStatus::InvalidInput;
        return engine.ParallelPairs(
            ParallelPairScan{t1.values, t1.count, t2.values, t2.count, s, in.RMin, in.RMax, -any,
                             any, stopBelow},
            outs, bound,
            [&](auto& second, auto& third, double x, double y, double p, std::array<double, N>& v) {
                v[0] = x;
                v[1] = y;
                return complete(second, third, p, v);
            },
            inner2, inner3);
    } else {
        // R1 + R2, both upwards over every ordered pair; a sum can reach any
        // Rmin.
        const StarTable& t2 = tables[1];
        return engine.SeriesPairs(
            SeriesPairScan{t1.values, SeriesScanEnd(in.RMax, t1.values, t1.count), t2.values,
                           SeriesScanEnd(in.RMax, t2.values, t2.count), in.RMin, in.RMax, -any, any,
                           stopBelow},
            outs, bound,
            [&](auto& second, auto& third, double x, double y, double s, std::array<double, N>& v) {
                v[0] = x;
                v[1] = y;
                return complete(second, third, s, v);
            },
            inner2, inner3);
    }
}

// Runs the search of a circuit with one table and one output per resistor,
// in resistor order (see FindStar).
template <typename Engine>
SearchStatus RunStar(Engine& engine, StarCircuit circuit, const StarInput& in,
                     std::span<const StarTable> tables, std::span<double> out) {
    const auto n = static_cast<std::size_t>(StarResistorCount(circuit));
    if (n == 0 || tables.size() < n || out.size() < n)
        return SearchStatus::InvalidInput;
    for (std::size_t m = 0; m < n; ++m)
        if (tables[m].values == nullptr || tables[m].count < 1)
            return SearchStatus::InvalidInput; // the searches read a table's first value
    using enum StarBranch;
    const StarTable* t = tables.data();
    double* o = out.data();
    switch (circuit) {
    case StarCircuit::Singles:
        return StarSearch<Single, Single, Single>(engine, in, t, {o, o + 1, o + 2});
    case StarCircuit::SeriesFirst:
        return StarSearch<Series, Single, Single>(engine, in, t, {o, o + 1, o + 2, o + 3});
    case StarCircuit::ParallelFirst:
        return StarSearch<Parallel, Single, Single>(engine, in, t, {o, o + 1, o + 2, o + 3});
    case StarCircuit::ParallelPairs:
        return StarSearch<Single, Parallel, Parallel>(engine, in, t,
                                                      {o, o + 1, o + 2, o + 3, o + 4});
    case StarCircuit::SeriesParallelPairs:
        return StarSearch<Single, Series, Parallel>(engine, in, t, {o, o + 1, o + 2, o + 3, o + 4});
    case StarCircuit::SeriesPairs:
        return StarSearch<Single, Series, Series>(engine, in, t, {o, o + 1, o + 2, o + 3, o + 4});
    case StarCircuit::AllParallel:
        return StarSearch<Parallel, Parallel, Parallel>(engine, in, t,
                                                        {o, o + 1, o + 2, o + 3, o + 4, o + 5});
    }
    return SearchStatus::InvalidInput;
}

} // namespace ohmtrim::detail
