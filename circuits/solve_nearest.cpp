#include "circuits/solve_parts.h"

#include "valuesets/resistor_set.h"

namespace ohmtrim::detail {

// The single-resistor calculator: nearest real value, its neighbours in the
// table and the error of the nearest value. No search is involved.
SolveOutcome SolveNearest(const SolveInputs& in, const ValueTable& t) {
    SolveOutcome out;
    const double x = in.target;
    const int i = NearestRealIndex(x, t.values, t.count, t.hasShortCircuit, t.hasOpenCircuit);
    out.status = SearchStatus::Found;
    out.values = {t.values[i]};
    out.results.push_back({"nearest", t.values[i]});
    out.results.push_back({"errorPercent", ErrorPercent(t.values[i], x)});
    const int j = SmallerRealIndex(i, t.count, t.hasShortCircuit, t.hasOpenCircuit);
    if (j >= 0)
        out.results.push_back({"smaller", t.values[j]});
    const int k = BiggerRealIndex(i, t.count, t.hasShortCircuit, t.hasOpenCircuit);
    if (k >= 0)
        out.results.push_back({"bigger", t.values[k]});
    return out;
}

} // namespace ohmtrim::detail
