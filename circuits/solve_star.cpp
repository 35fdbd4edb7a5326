#include "circuits/solve_parts.h"

#include "search/fast_searches.h"
#include "search/star_network.h"

#include <array>
#include <cmath>
#include <limits>

namespace ohmtrim::detail {

namespace {

// The star circuit each catalogue search stands for.
struct StarRow {
    SolverId solver;
    StarCircuit circuit;
};

constexpr StarRow kCircuits[] = {
    {SolverId::Star, StarCircuit::Singles},
    {SolverId::StarSeriesFirst, StarCircuit::SeriesFirst},
    {SolverId::StarParallelFirst, StarCircuit::ParallelFirst},
    {SolverId::StarParallelPairs, StarCircuit::ParallelPairs},
    {SolverId::StarSeriesParallelPairs, StarCircuit::SeriesParallelPairs},
    {SolverId::StarSeriesPairs, StarCircuit::SeriesPairs},
    {SolverId::StarAllParallel, StarCircuit::AllParallel},
};

constexpr std::size_t kMaxResistors = 6;

} // namespace

// The star circuits: the search of the entry's circuit, then the star-point
// voltage the chosen network gives in each case with that case's U1, U2
// and U3 (the wanted U0 does not enter).
SolveOutcome SolveStar(const CatalogueEntry& entry, const SolveInputs& in,
                       std::span<const ValueTable> tables, const SearchContext& ctx) {
    const auto* star = std::get_if<StarInput>(&in);
    const auto* row = CircuitOf<StarRow>(kCircuits, entry.solver);
    if (star == nullptr || row == nullptr)
        return {};
    const auto n = static_cast<std::size_t>(StarResistorCount(row->circuit));
    if (n == 0 || n > kMaxResistors || tables.size() < n)
        return {};

    std::array<StarTable, kMaxResistors> t{};
    for (std::size_t m = 0; m < n; ++m)
        t[m] = {tables[m].values, tables[m].count};
    // A value the search did not write stays NaN: a scan that found nothing
    // writes 0.0 to every output, the early failures write nothing.
    std::array<double, kMaxResistors> r{};
    r.fill(std::numeric_limits<double>::quiet_NaN());
    SolveOutcome out;
    out.status =
        fast::FindStar(row->circuit, *star, std::span(t).first(n), std::span(r).first(n), ctx);
    if (!std::isnan(r[0]))
        out.values.assign(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(n));
    if (out.status != SearchStatus::Found)
        return out;
    DeriveStar(entry, in, out.values, out);
    return out;
}

void DeriveStar(const CatalogueEntry& entry, const SolveInputs& in, std::span<const double> values,
                SolveOutcome& out) {
    const auto* star = std::get_if<StarInput>(&in);
    const auto* row = CircuitOf<StarRow>(kCircuits, entry.solver);
    if (star == nullptr || row == nullptr ||
        values.size() != static_cast<std::size_t>(StarResistorCount(row->circuit)))
        return;
    const StarNetwork net = StarNetworkOf(row->circuit, values);
    out.Add(ResultId::U0Case1, StarPointVoltage(net, star->U1Case1, star->U2Case1, star->U3Case1));
    out.Add(ResultId::U0Case2, StarPointVoltage(net, star->U1Case2, star->U2Case2, star->U3Case2));
}

} // namespace ohmtrim::detail
