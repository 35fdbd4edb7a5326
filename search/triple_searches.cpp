#include "search/triple_searches.h"

#include "search/best_candidate.h"
#include "search/pair_searches.h"
#include "search/search_constants.h"
#include "valuesets/lookups.h"

#include <cmath>
#include <limits>

// Each search scans the R1 table and completes R2 and R3 with a pair search.
// The nested pair searches get a tenfold tighter tolerance than the outer
// scan (except in the all-parallel search), so that they keep looking for a
// closer fit before they stop early.

namespace ohmtrim {

namespace {

using Best = detail::BestCandidate<3>;

void WriteThree(double va, double vb, double vc, double& outA, double& outB, double& outC) {
    outA = va;
    outB = vb;
    outC = vc;
}

void WriteThree(const Best& best, double& outA, double& outB, double& outC) {
    WriteThree(best.values[0], best.values[1], best.values[2], outA, outB, outC);
}

} // namespace

int FindSeriesTriple(double target, double relTol, const double* a, int na, const double* b, int nb,
                     const double* c, int nc, double& outA, double& outB, double& outC) {
    if (a[0] + b[0] + c[0] >= target) {
        WriteThree(a[0], b[0], c[0], outA, outB, outC);
        return 0;
    }
    const double nestedTol = kInnerToleranceFactor * relTol;
    double pb = 0;
    double pc = 0;
    FindSeriesPair(target - a[0], nestedTol, b, nb, c, nc, pb, pc);
    Best best{{a[0], pb, pc}, std::fabs(target - a[0] - pb - pc), relTol * target};

    for (int i = 1; i < na; ++i) {
        const double ai = a[i];
        if (ai > target)
            break;
        // An ai equal to the target leaves 0 for the pair, which answers with
        // its first entries.
        FindSeriesPair(target - ai, nestedTol, b, nb, c, nc, pb, pc);
        if (best.Offer({ai, pb, pc}, std::fabs(target - (ai + pb + pc))))
            break;
    }
    WriteThree(best, outA, outB, outC);
    return 0;
}

int FindParallelTriple(double target, double relTol, const double* a, int na, const double* b,
                       int nb, const double* c, int nc, double& outA, double& outB, double& outC) {
    if (target <= 1 / (1 / a[0] + 1 / b[0] + 1 / c[0])) {
        WriteThree(a[0], b[0], c[0], outA, outB, outC);
        return 0;
    }
    const double aLast = a[na - 1];
    const double bLast = b[nb - 1];
    const double cLast = c[nc - 1];
    if (target >= 1 / (1 / aLast + 1 / bLast + 1 / cLast)) {
        WriteThree(aLast, bLast, cLast, outA, outB, outC);
        return 0;
    }
    // The seed is the second entry of each table: past a short-circuit entry
    // when the value set has one.
    const double sa = na > 1 ? a[1] : a[0];
    const double sb = nb > 1 ? b[1] : b[0];
    const double sc = nc > 1 ? c[1] : c[0];
    Best best{{sa, sb, sc}, std::fabs(target - 1 / (1 / sa + 1 / sb + 1 / sc)), relTol * target};

    const double g = 1 / target;
    const int i0 = CeilingIndex(target + 1e-15, a, na);
    if (i0 < 0) {
        WriteThree(aLast, bLast, cLast, outA, outB, outC);
        return 0;
    }
    // The largest R1 that cannot be completed by a finite R2 // R3: try it
    // with the largest R2 and R3 (open circuits when the sets have them).
    if (i0 > 0) {
        const double ap = a[i0 - 1];
        if (best.Offer({ap, bLast, cLast},
                       std::fabs(target - 1 / (1 / ap + 1 / bLast + 1 / cLast)))) {
            WriteThree(best, outA, outB, outC);
            return 0;
        }
    }
    double pb = 0;
    double pc = 0;
    for (int i = i0; i < na; ++i) {
        const double ai = a[i];
        // What R2 // R3 would need; an ai equal to the target needs an open
        // circuit, even when ai*g - 1 rounds to a tiny negative number.
        const double d = ai * g - 1;
        const double x = d <= 0 ? std::numeric_limits<double>::infinity() : ai / d;
        FindParallelPair(x, relTol, b, nb, c, nc, pb, pc);
        if (best.Offer({ai, pb, pc}, std::fabs(target - 1 / (1 / ai + 1 / pb + 1 / pc))))
            break;
    }
    WriteThree(best, outA, outB, outC);
    return 0;
}

int FindParallelSeries(double target, double relTol, const double* a, int na, const double* b,
                       int nb, const double* c, int nc, double& outA, double& outB, double& outC) {
    // A target equal to the value of the first entries goes on to the scan.
    if (target < 1 / (1 / (b[0] + c[0]) + 1 / a[0])) {
        WriteThree(a[0], b[0], c[0], outA, outB, outC);
        return 0;
    }
    const double nestedTol = kInnerToleranceFactor * relTol;
    const double aLast = a[na - 1];
    const double bLast = b[nb - 1];
    const double cLast = c[nc - 1];
    Best best{{aLast, bLast, cLast},
              std::fabs(target - (bLast + cLast) * aLast / (aLast + bLast + cLast)),
              relTol * target};

    // Descending from the second largest R1: the largest is only the seed.
    for (int i = na - 2; i >= 0; --i) {
        const double ai = a[i];
        double pb = bLast;
        double pc = cLast;
        // Once R1 alone is at or below the target, R2 + R3 can only pull the
        // value further down: try the largest R2 and R3 (open circuits when
        // the sets have them) and stop.
        const bool last = !(ai > target);
        if (!last) {
            const double x = 1 / (1 / target - 1 / ai);
            FindSeriesPair(x, nestedTol, b, nb, c, nc, pb, pc);
        }
        if (best.Offer({ai, pb, pc}, std::fabs(target - (pb + pc) * ai / (ai + pb + pc))) || last)
            break;
    }
    WriteThree(best, outA, outB, outC);
    return 0;
}

int FindSeriesParallel(double target, double relTol, const double* a, int na, const double* b,
                       int nb, const double* c, int nc, double& outA, double& outB, double& outC) {
    // A target equal to the value of the first entries goes on to the scan.
    if (target < a[0] + 1 / (1 / b[0] + 1 / c[0])) {
        WriteThree(a[0], b[0], c[0], outA, outB, outC);
        return 0;
    }
    const double nestedTol = kInnerToleranceFactor * relTol;
    Best best{{a[0], b[0], c[0]},
              std::fabs(target - (1 / (1 / b[0] + 1 / c[0]) + a[0])),
              relTol * target};

    for (int i = 0; i < na; ++i) {
        const double ai = a[i];
        double pb = b[0];
        double pc = c[0];
        // Once R1 alone reaches the target, R2 // R3 can only add to it: try
        // the smallest R2 and R3 (links when the sets have them) and stop.
        const bool last = ai >= target;
        if (!last)
            FindParallelPair(target - ai, nestedTol, b, nb, c, nc, pb, pc);
        if (best.Offer({ai, pb, pc}, std::fabs(target - (1 / (1 / pb + 1 / pc) + ai))) || last)
            break;
    }
    WriteThree(best, outA, outB, outC);
    return 0;
}

} // namespace ohmtrim
