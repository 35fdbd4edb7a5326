#pragma once

// The voltage dividers of three and four resistors, each written once over
// the engine that runs its scan (search/scan_rules.h): the plain functions
// run them with the plain engine, the fast ones with the fast engine. Only
// the search files include this.

#include "search/input_checks.h"
#include "search/scan_rules.h"
#include "search/search_constants.h"
#include "valuesets/lookups.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace ohmtrim::detail {

// The dividers whose lower branch is one resistor q: q is scanned upwards
// from the smallest value that can still reach Rmin, and the inner search
// builds the upper branch for the resistance k * q that the wanted ratio
// asks for; upperValue gives the resistance of the values it chose. outs
// holds the N upper-branch outputs followed by the output of q. A tie keeps
// the smaller q.
template <std::size_t N, typename Engine, typename UpperValue, typename Upper>
SearchStatus DividerLowerResistor(Engine& engine, double u1, double u2, double u3, double rmin,
                                  double rmax, const double* tq, int nq, bool stopAboveRatioLimit,
                                  const std::array<double*, N + 1>& outs, UpperValue upperValue,
                                  const Upper& upper) {
    const SearchContext& ctx = engine.Context();
    if (!DividerInputValid(u1, u2, u3, rmin, rmax))
        return SearchStatus::InvalidInput;
    const double k = (u1 - u2) / (u2 - u3); // wanted R_up / R_low
    const double u = (u2 - u3) / (u1 - u3); // wanted R_low / R_total
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    // q / R_total = u is wanted, so no q below Rmin * u can make a total of
    // at least Rmin with the right ratio.
    const int s = CeilingIndex(rmin * u, tq, nq);
    if (s == -1)
        return SearchStatus::NoSolution;
    const OneTableScan rule{s,
                            stopAboveRatioLimit ? rmax * u : kNoLimit,
                            rmin,
                            rmax,
                            true,
                            ctx.relTol * k,
                            EscapePoll::First::BeforeFirst};
    return engine.OneTable(
        tq, nq, rule, outs, NoBound{},
        [&](auto& search, double q, std::array<double, N + 1>& v) {
            bool found = false;
            if constexpr (N == 2)
                found = search(k * q, innerTol, v[0], v[1]);
            else
                found = search(k * q, innerTol, v[0], v[1], v[2]);
            if (!found)
                return Candidate::Aborted();
            const double rUp = upperValue(v);
            v[N] = q;
            const double total = q + rUp;
            return Candidate{total, std::fabs(k - rUp / q)};
        },
        upper);
}

// R1 // R2 above R3. No early stop on q alone here: the total test does
// that job.
template <typename Engine>
SearchStatus DividerParallelPairTop(Engine& engine, double u1, double u2, double u3, double rmin,
                                    double rmax, const double* t1, int n1, const double* t2, int n2,
                                    const double* t3, int n3, const std::array<double*, 3>& outs) {
    return DividerLowerResistor<2>(
        engine, u1, u2, u3, rmin, rmax, t3, n3, false, outs,
        [](const std::array<double, 3>& v) { return v[0] * v[1] / (v[0] + v[1]); },
        PairOf<PairOp::Parallel>{t1, n1, t2, n2});
}

// R1 // R2 // R3 above R4.
template <typename Engine>
SearchStatus DividerParallelTripleTop(Engine& engine, double u1, double u2, double u3, double rmin,
                                      double rmax, const double* t1, int n1, const double* t2,
                                      int n2, const double* t3, int n3, const double* t4, int n4,
                                      const std::array<double*, 4>& outs) {
    return DividerLowerResistor<3>(
        engine, u1, u2, u3, rmin, rmax, t4, n4, true, outs,
        [](const std::array<double, 4>& v) { return 1 / (1 / v[0] + 1 / v[1] + 1 / v[2]); },
        TripleOf<TripleKind::Parallel>{t1, n1, t2, n2, t3, n3});
}

// R1 // (R2 + R3) above R4.
template <typename Engine>
SearchStatus DividerParallelSeriesTop(Engine& engine, double u1, double u2, double u3, double rmin,
                                      double rmax, const double* t1, int n1, const double* t2,
                                      int n2, const double* t3, int n3, const double* t4, int n4,
                                      const std::array<double*, 4>& outs) {
    return DividerLowerResistor<3>(
        engine, u1, u2, u3, rmin, rmax, t4, n4, true, outs,
        [](const std::array<double, 4>& v) { return 1 / (1 / (v[1] + v[2]) + 1 / v[0]); },
        TripleOf<TripleKind::ParallelSeries>{t1, n1, t2, n2, t3, n3});
}

// R1 // R2 above R3 // R4. R1 // R2 stays below R1, so an R1 under pMin
// cannot serve. A tie keeps the larger R1, then the larger R2.
template <typename Engine>
SearchStatus DividerParallelPairs(Engine& engine, double u1, double u2, double u3, double rmin,
                                  double rmax, const double* t1, int n1, const double* t2, int n2,
                                  const double* t3, int n3, const double* t4, int n4,
                                  const std::array<double*, 4>& outs) {
    const SearchContext& ctx = engine.Context();
    if (!DividerInputValid(u1, u2, u3, rmin, rmax))
        return SearchStatus::InvalidInput;
    const double u = (u2 - u3) / (u1 - u3); // wanted R_low / R_total
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const double pMin = rmin * (1 - u);
    const double pMax = rmax * (1 - u);
    const int s = CeilingIndex(pMin, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    return engine.ParallelPairs(
        ParallelPairScan{t1, n1, t2, n2, s, pMin, pMax, rmin, rmax, ctx.relTol * u}, outs,
        FractionBoundOf{u, u / (1 - u)},
        [&](auto& lower, double a, double b, double p, std::array<double, 4>& v) {
            double c = 0.0;
            double d = 0.0;
            if (!lower(p * u / (1 - u), innerTol, c, d))
                return Candidate::Aborted();
            const double rLow = c * d / (c + d);
            const double total = p + rLow;
            v = {a, b, c, d};
            return Candidate{total, std::fabs(u - rLow / total)};
        },
        PairOf<PairOp::Parallel>{t3, n3, t4, n4});
}

} // namespace ohmtrim::detail
