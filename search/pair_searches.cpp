#include "search/pair_searches.h"

#include "search/best_candidate.h"
#include "valuesets/lookups.h"

#include <cmath>
#include <limits>

// The best candidate follows the rules of detail::BestCandidate. The
// arithmetic is plain IEEE: a zero divisor gives an infinity, whose error is
// never the smallest. The formulas are written out exactly as each step
// needs them: a*b/(a+b) and 1/(1/a+1/b) differ in the last bit, and that bit
// decides close races.

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
    detail::BestCandidate<2> best{{a[0], b[j]}, std::fabs(target - a[0] - b[j]), threshold};

    for (int i = 1; i < na; ++i) {
        // An R1 equal to the target is still tried (its partner is b[0]).
        if (a[i] > target)
            break;
        j = NearestIndex(target - a[i], b, nb);
        if (best.Offer({a[i], b[j]}, std::fabs(target - a[i] - b[j])))
            break;
    }
    outA = best.values[0];
    outB = best.values[1];
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
    detail::BestCandidate<2> best{{aLast, bLast}, std::fabs(target - pLast), relTol * target};
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
        if (best.Offer({ai, bl}, std::fabs(target - ai * bl / (ai + bl))))
            break;
        if (hi != lo) {
            const double bh = b[hi];
            if (best.Offer({ai, bh}, std::fabs(target - ai * bh / (ai + bh))))
                break;
        }
    }
    outA = best.values[0];
    outB = best.values[1];
    return 0;
}

} // namespace ohmtrim
