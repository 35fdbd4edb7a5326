#include "circuits/solve_parts.h"

#include "search/divider_searches.h"

#include <cstddef>

namespace ohmtrim::detail {

namespace {

// Resistors of each divider calculator; 0 for any other solver.
std::size_t ResistorsOf(SolverId solver) {
    switch (solver) {
    case SolverId::DividerPair:
        return 2;
    case SolverId::DividerParallelPairTop:
        return 3;
    case SolverId::DividerParallelTripleTop:
    case SolverId::DividerParallelSeriesTop:
    case SolverId::DividerParallelPairs:
        return 4;
    default:
        return 0;
    }
}

} // namespace

// The voltage-divider calculators (two to four resistors). The windows show
// the chosen values, the total resistance and the output voltage those
// values give; the user compares the latter with the wanted U2.
SolveOutcome SolveDivider(const CatalogueEntry& entry, const SolveInputs& in,
                          std::span<const ValueTable> tables, const SearchContext& ctx) {
    SolveOutcome out;
    const std::size_t n = ResistorsOf(entry.solver);
    if (n == 0 || tables.size() != n)
        return out; // not a divider calculator, or the wrong number of tables
    for (const auto& table : tables)
        if (table.values == nullptr || table.count < 1)
            return out; // the searches read the first entry of every table
    double r[4] = {0.0, 0.0, 0.0, 0.0};
    const double u1 = in.u1, u2 = in.u2, u3 = in.u3, rmin = in.rmin, rmax = in.rmax;
    const auto& t = tables;
    // Upper and lower branch of the chosen values, per circuit.
    double rUp = 0.0, rLow = 0.0;
    switch (entry.solver) {
    case SolverId::DividerPair:
        out.status = FindDividerPair(u1, u2, u3, rmin, rmax, t[0].values, t[0].count, t[1].values,
                                     t[1].count, r[0], r[1], ctx);
        rUp = r[0];
        rLow = r[1];
        break;
    case SolverId::DividerParallelPairTop:
        out.status =
            FindDividerParallelPairTop(u1, u2, u3, rmin, rmax, t[0].values, t[0].count, t[1].values,
                                       t[1].count, t[2].values, t[2].count, r[0], r[1], r[2], ctx);
        rUp = r[0] * r[1] / (r[0] + r[1]);
        rLow = r[2];
        break;
    case SolverId::DividerParallelTripleTop:
        out.status = FindDividerParallelTripleTop(
            u1, u2, u3, rmin, rmax, t[0].values, t[0].count, t[1].values, t[1].count, t[2].values,
            t[2].count, t[3].values, t[3].count, r[0], r[1], r[2], r[3], ctx);
        rUp = 1 / (1 / r[0] + 1 / r[1] + 1 / r[2]);
        rLow = r[3];
        break;
    case SolverId::DividerParallelSeriesTop:
        out.status = FindDividerParallelSeriesTop(
            u1, u2, u3, rmin, rmax, t[0].values, t[0].count, t[1].values, t[1].count, t[2].values,
            t[2].count, t[3].values, t[3].count, r[0], r[1], r[2], r[3], ctx);
        rUp = 1 / (1 / (r[1] + r[2]) + 1 / r[0]);
        rLow = r[3];
        break;
    case SolverId::DividerParallelPairs:
        out.status = FindDividerParallelPairs(u1, u2, u3, rmin, rmax, t[0].values, t[0].count,
                                              t[1].values, t[1].count, t[2].values, t[2].count,
                                              t[3].values, t[3].count, r[0], r[1], r[2], r[3], ctx);
        rUp = r[0] * r[1] / (r[0] + r[1]);
        rLow = r[2] * r[3] / (r[2] + r[3]);
        break;
    default:
        return out;
    }
    if (out.status != SearchStatus::Found)
        return out;

    out.values.assign(r, r + n);
    out.results.push_back({"resistance", rUp + rLow});
    out.results.push_back({"u2", u3 + (u1 - u3) * rLow / (rUp + rLow)});
    return out;
}

} // namespace ohmtrim::detail
