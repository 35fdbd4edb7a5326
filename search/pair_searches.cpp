#include "search/pair_searches.h"

#include "valuesets/lookups.h"

#include <cmath>
#include <limits>

// Shared rules of the resistance searches:
// - the seed is the first best and is never tested against the early exit;
// - a candidate only replaces the best when its error is strictly smaller, so
//   among equal errors the first one scanned wins;
// - a new best whose error is strictly below relTol * target ends the search;
// - the arithmetic is plain IEEE: a zero divisor gives an infinity, and a NaN
//   error never compares smaller, so such a candidate is simply never chosen.
// The formulas are written out exactly as each step needs them: a*b/(a+b) and
// 1/(1/a+1/b) differ in the last bit, and that bit decides close races.

namespace ohmtrim {

int FindSeriesPair(double target, double relTol, const double* a, int na, const double* b, int nb,
                   double& outA, double& outB) {
    // Nothing can be smaller than the two smallest values together.
    if (a[0] + b[0] >= target) {
        outA = a[0];
        outB = b[0];
        return 0;
    }
    const double threshold = relTol * target;

    int j = NearestIndex(target - a[0], b, nb);
    double bestA = a[0];
    double bestB = b[j];
    double bestErr = std::fabs(target - a[0] - b[j]);

    for (int i = 1; i < na; ++i) {
        // An R1 equal to the target is still tried (its partner is b[0]).
        if (a[i] > target)
            break;
        j = NearestIndex(target - a[i], b, nb);
        const double err = std::fabs(target - a[i] - b[j]);
        if (err < bestErr) {
            bestA = a[i];
            bestB = b[j];
            bestErr = err;
            if (err < threshold)
                break;
        }
    }
    outA = bestA;
    outB = bestB;
    return 0;
}

int FindParallelPair(double target, double relTol, const double* a, int na, const double* b, int nb,
                     double& outA, double& outB) {
    const double pFirst = a[0] * b[0] / (a[0] + b[0]);
    if (target <= pFirst) {
        outA = a[0];
        outB = b[0];
        return 0;
    }
    const double aLast = a[na - 1];
    const double bLast = b[nb - 1];
    const double pLast = aLast * bLast / (aLast + bLast);
    if (target >= pLast) {
        outA = aLast;
        outB = bLast;
        return 0;
    }
    // An R1 at or below the target admits no parallel partner. A NaN target
    // gets -1 here and ends with the last entries.
    const int i0 = CeilingIndex(target + 1e-15, a, na);
    if (i0 < 0) {
        outA = aLast;
        outB = bLast;
        return 0;
    }
    const double threshold = relTol * target;
    double bestA = aLast;
    double bestB = bLast;
    double bestErr = std::fabs(target - pLast);
    const double g = 1 / target;

    for (int i = i0; i < na; ++i) {
        const double ai = a[i];
        // The partner that would make ai // x hit the target. For an ai equal
        // to the target, ai*g - 1 should be 0 but may round to a tiny negative
        // number (49 * (1/49) - 1 is -1.1e-16); that must still mean "no finite
        // partner", not a huge negative one, or the open-circuit entry of b is
        // never tried.
        const double d = ai * g - 1;
        const double x = d <= 0 ? std::numeric_limits<double>::infinity() : ai / d;
        int lo = 0;
        int hi = 0;
        BracketIndices(x, b, nb, lo, hi);

        const double bl = b[lo];
        double err = std::fabs(target - ai * bl / (ai + bl));
        if (err < bestErr) {
            bestA = ai;
            bestB = bl;
            bestErr = err;
            if (err < threshold)
                break;
        }
        if (hi != lo) {
            const double bh = b[hi];
            err = std::fabs(target - ai * bh / (ai + bh));
            if (err < bestErr) {
                bestA = ai;
                bestB = bh;
                bestErr = err;
                if (err < threshold)
                    break;
            }
        }
    }
    outA = bestA;
    outB = bestB;
    return 0;
}

} // namespace ohmtrim
