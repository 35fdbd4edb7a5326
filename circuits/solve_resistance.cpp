#include "circuits/solve_parts.h"

#include "search/pair_searches.h"
#include "search/triple_searches.h"

namespace ohmtrim::detail {

namespace {

using PairSearch = int (*)(double, double, const double*, int, const double*, int, double&,
                           double&);
using TripleSearch = int (*)(double, double, const double*, int, const double*, int, const double*,
                             int, double&, double&, double&);

// The resistance the chosen values give, as the window shows it. These are
// the window's own formulas, which need not match the arithmetic the search
// used internally in the last bit.
double ParallelPairValue(const double* r) {
    return r[0] * r[1] / (r[0] + r[1]);
}
double SeriesPairValue(const double* r) {
    return r[0] + r[1];
}
double ParallelTripleValue(const double* r) {
    return 1 / (1 / r[0] + 1 / r[1] + 1 / r[2]);
}
double SeriesTripleValue(const double* r) {
    return r[0] + r[1] + r[2];
}
double ParallelSeriesValue(const double* r) {
    return 1 / (1 / (r[1] + r[2]) + 1 / r[0]);
}
double SeriesParallelValue(const double* r) {
    return r[0] + r[1] * r[2] / (r[1] + r[2]);
}

struct ResistanceCalculator {
    SolverId solver;
    PairSearch pair;     // set for two resistors
    TripleSearch triple; // set for three resistors
    double (*value)(const double* r);
};

constexpr ResistanceCalculator kCalculators[] = {
    {SolverId::ParallelPair, FindParallelPair, nullptr, ParallelPairValue},
    {SolverId::SeriesPair, FindSeriesPair, nullptr, SeriesPairValue},
    {SolverId::ParallelTriple, nullptr, FindParallelTriple, ParallelTripleValue},
    {SolverId::SeriesTriple, nullptr, FindSeriesTriple, SeriesTripleValue},
    {SolverId::ParallelSeries, nullptr, FindParallelSeries, ParallelSeriesValue},
    {SolverId::SeriesParallel, nullptr, FindSeriesParallel, SeriesParallelValue},
};

bool Usable(std::span<const ValueTable> tables, std::size_t n) {
    if (tables.size() != n)
        return false;
    for (const auto& t : tables)
        if (t.values == nullptr || t.count < 1)
            return false;
    return true;
}

} // namespace

SolveOutcome SolveResistance(const CatalogueEntry& entry, const SolveInputs& in,
                             std::span<const ValueTable> tables, const SearchContext& ctx) {
    const ResistanceCalculator* calc = nullptr;
    for (const auto& c : kCalculators)
        if (c.solver == entry.solver)
            calc = &c;
    // The searches trust their inputs; anything a window could not have
    // passed is refused here rather than searched.
    const double target = in.target;
    if (calc == nullptr || !(target >= 1e-15 && target <= 1e15) ||
        !Usable(tables, calc->pair != nullptr ? 2 : 3))
        return {};

    double r[3] = {0, 0, 0};
    if (calc->pair != nullptr)
        calc->pair(target, ctx.relTol, tables[0].values, tables[0].count, tables[1].values,
                   tables[1].count, r[0], r[1]);
    else
        calc->triple(target, ctx.relTol, tables[0].values, tables[0].count, tables[1].values,
                     tables[1].count, tables[2].values, tables[2].count, r[0], r[1], r[2]);

    const double v = calc->value(r);
    SolveOutcome out;
    out.status = SearchStatus::Found;
    out.values.assign(r, r + (calc->pair != nullptr ? 2 : 3));
    out.results.push_back({"resistance", v});
    out.results.push_back({"errorPercent", ErrorPercent(v, target)});
    return out;
}

} // namespace ohmtrim::detail
