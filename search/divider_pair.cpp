#include "search/divider_searches.h"

#include "search/input_checks.h"
#include "search/search_constants.h"
#include "valuesets/lookups.h"

#include <cmath>

namespace ohmtrim {

SearchStatus FindDividerPair(double u1, double u2, double u3, double rmin, double rmax,
                             const double* t1, int n1, const double* t2, int n2, double& out1,
                             double& out2, const SearchContext& ctx) {
    if (!detail::DividerInputValid(u1, u2, u3, rmin, rmax))
        return SearchStatus::InvalidInput;

    // Wanted R2 / (R1 + R2), strictly between 0 and 1 whichever way the
    // voltages run.
    const double k = (u2 - u3) / (u1 - u3);
    double bestError = 1e300;
    SearchStatus status = SearchStatus::NoSolution;
    double rec1 = 0.0;
    double rec2 = 0.0;

    for (int i = 0; i < n1; ++i) {
        if (i % kEscapePollStride == 0 && ctx.EscapeDown())
            return SearchStatus::Aborted;
        const double r1 = t1[i];
        // The R2 that would give the wanted fraction exactly with this R1.
        const double x = (u2 - u3) * r1 / (u1 - u2);
        const double r2 = t2[NearestIndex(x, t2, n2)];
        const double total = r1 + r2;
        if (total < rmin)
            continue;
        if (total > rmax)
            break; // R1 only grows from here, and so does the total
        const double e = std::fabs(k - r2 / total);
        if (!(e < bestError))
            continue; // a tie keeps the pair with the smaller R1
        rec1 = r1;
        rec2 = r2;
        status = SearchStatus::Found;
        if (e < ctx.relTol * k)
            break;
        bestError = e;
    }
    out1 = rec1;
    out2 = rec2;
    return status;
}

} // namespace ohmtrim
