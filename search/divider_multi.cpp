#include "search/divider_searches.h"

#include "search/input_checks.h"
#include "search/pair_searches.h"
#include "search/search_constants.h"
#include "search/triple_searches.h"
#include "valuesets/lookups.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace ohmtrim {

namespace {

// The dividers whose lower branch is one resistor q: q is scanned upwards
// from the smallest value that can still reach Rmin, and the inner search
// builds the upper branch for the resistance k * q that the wanted ratio
// asks for. Inner is called as inner(target, tolerance, values) and returns
// the resistance of the upper branch made of the values it chose.
// outs holds the N upper-branch outputs followed by the output of q.
template <std::size_t N, typename Inner>
SearchStatus ScanLowerResistor(double u1, double u2, double u3, double rmin, double rmax,
                               const double* tq, int nq, bool stopAboveRatioLimit, Inner inner,
                               const std::array<double*, N + 1>& outs, const SearchContext& ctx) {
    if (!detail::DividerInputValid(u1, u2, u3, rmin, rmax))
        return SearchStatus::InvalidInput;

    const double k = (u1 - u2) / (u2 - u3); // wanted R_up / R_low
    const double u = (u2 - u3) / (u1 - u3); // wanted R_low / R_total
    const double innerTol = kInnerToleranceFactor * ctx.relTol;

    // q / R_total = u is wanted, so no q below Rmin * u can make a total of
    // at least Rmin with the right ratio.
    const int s = CeilingIndex(rmin * u, tq, nq);
    if (s == -1)
        return SearchStatus::NoSolution;

    double bestError = 1e300;
    SearchStatus status = SearchStatus::NoSolution;
    std::array<double, N> values{};
    std::array<double, N + 1> recorded{};
    for (int i = s, c = 0; i < nq; ++i, ++c) {
        if (c % kEscapePollStride == 0 && ctx.EscapeDown())
            return SearchStatus::Aborted;
        const double q = tq[i];
        if (stopAboveRatioLimit && q > rmax * u)
            break;
        const double rUp = inner(k * q, innerTol, values);
        const double total = q + rUp;
        if (total < rmin)
            continue;
        if (total > rmax)
            break;
        const double e = std::fabs(k - rUp / q);
        if (!(e < bestError))
            continue; // a tie keeps the smaller q
        for (std::size_t m = 0; m < N; ++m)
            recorded[m] = values[m];
        recorded[N] = q;
        status = SearchStatus::Found;
        if (e < ctx.relTol * k)
            break;
        bestError = e;
    }
    for (std::size_t m = 0; m <= N; ++m)
        *outs[m] = recorded[m];
    return status;
}

} // namespace

SearchStatus FindDividerParallelPairTop(double u1, double u2, double u3, double rmin, double rmax,
                                        const double* t1, int n1, const double* t2, int n2,
                                        const double* t3, int n3, double& out1, double& out2,
                                        double& out3, const SearchContext& ctx) {
    auto upper = [&](double target, double tol, std::array<double, 2>& v) {
        FindParallelPair(target, tol, t1, n1, t2, n2, v[0], v[1]);
        return v[0] * v[1] / (v[0] + v[1]);
    };
    // No early stop on q alone here: the total test does that job.
    return ScanLowerResistor<2>(u1, u2, u3, rmin, rmax, t3, n3, false, upper, {&out1, &out2, &out3},
                                ctx);
}

SearchStatus FindDividerParallelTripleTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx) {
    auto upper = [&](double target, double tol, std::array<double, 3>& v) {
        FindParallelTriple(target, tol, t1, n1, t2, n2, t3, n3, v[0], v[1], v[2]);
        return 1 / (1 / v[0] + 1 / v[1] + 1 / v[2]);
    };
    return ScanLowerResistor<3>(u1, u2, u3, rmin, rmax, t4, n4, true, upper,
                                {&out1, &out2, &out3, &out4}, ctx);
}

SearchStatus FindDividerParallelSeriesTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx) {
    auto upper = [&](double target, double tol, std::array<double, 3>& v) {
        FindParallelSeries(target, tol, t1, n1, t2, n2, t3, n3, v[0], v[1], v[2]);
        return 1 / (1 / (v[1] + v[2]) + 1 / v[0]);
    };
    return ScanLowerResistor<3>(u1, u2, u3, rmin, rmax, t4, n4, true, upper,
                                {&out1, &out2, &out3, &out4}, ctx);
}

SearchStatus FindDividerParallelPairs(double u1, double u2, double u3, double rmin, double rmax,
                                      const double* t1, int n1, const double* t2, int n2,
                                      const double* t3, int n3, const double* t4, int n4,
                                      double& out1, double& out2, double& out3, double& out4,
                                      const SearchContext& ctx) {
    if (!detail::DividerInputValid(u1, u2, u3, rmin, rmax))
        return SearchStatus::InvalidInput;

    const double u = (u2 - u3) / (u1 - u3); // wanted R_low / R_total
    const double innerTol = kInnerToleranceFactor * ctx.relTol;
    const double pMin = rmin * (1 - u);
    const double pMax = rmax * (1 - u);

    // R1 // R2 stays below R1, so an R1 under pMin cannot serve.
    const int s = CeilingIndex(pMin, t1, n1);
    if (s == -1)
        return SearchStatus::NoSolution;
    // One value set for both upper resistors: (x, y) and (y, x) are the same
    // branch, so only pairs with R2 at or above R1 are tried.
    const bool sameTable = t1 == t2 && n1 == n2;

    double bestError = 1e300;
    SearchStatus status = SearchStatus::NoSolution;
    double rec1 = 0.0, rec2 = 0.0, rec3 = 0.0, rec4 = 0.0;
    std::int64_t pairs = 0;
    for (int j = n1 - 1; j >= s; --j) {
        const int iLast = sameTable ? j : 0;
        for (int i = n2 - 1; i >= iLast; --i) {
            ++pairs;
            if (pairs % kEscapePollStride == 0 && ctx.EscapeDown())
                return SearchStatus::Aborted;
            const double a = t1[j];
            const double b = t2[i];
            const double p = a * b / (a + b);
            if (p < pMin)
                break; // smaller R2 only lowers P further
            if (p > pMax)
                continue;
            double c = 0.0, d = 0.0;
            FindParallelPair(p * u / (1 - u), innerTol, t3, n3, t4, n4, c, d);
            const double rLow = c * d / (c + d);
            const double total = p + rLow;
            if (total < rmin || total > rmax)
                continue;
            const double e = std::fabs(u - rLow / total);
            if (!(e < bestError))
                continue; // a tie keeps the larger R1, then the larger R2
            rec1 = a;
            rec2 = b;
            rec3 = c;
            rec4 = d;
            status = SearchStatus::Found;
            if (e < ctx.relTol * u) {
                out1 = rec1;
                out2 = rec2;
                out3 = rec3;
                out4 = rec4;
                return status;
            }
            bestError = e;
        }
    }
    out1 = rec1;
    out2 = rec2;
    out3 = rec3;
    out4 = rec4;
    return status;
}

} // namespace ohmtrim
