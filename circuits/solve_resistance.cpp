#include "circuits/solve_parts.h"

#include "circuits/networks.h"
#include "search/fast_searches.h"
#include "valuesets/number.h"

#include <array>

namespace ohmtrim::detail {

namespace {

using Tables = std::span<const ValueTable>;

// One resistance calculator: its search on the tables in resistor order,
// and the resistance the chosen values give as the window shows it.
struct ResistanceCircuit {
    SolverId solver;
    SearchStatus (*search)(double target, Tables t, double* r, const SearchContext& ctx);
    double (*value)(const double* r);
};

// clang-format off
constexpr ResistanceCircuit kCircuits[] = {
    {SolverId::ParallelPair,
     [](double x, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindParallelPair(x, t[0].values, t[0].count, t[1].values, t[1].count, r[0],
                                       r[1], ctx);
     },
     [](const double* r) { return network::Parallel(r[0], r[1]); }},
    {SolverId::SeriesPair,
     [](double x, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindSeriesPair(x, t[0].values, t[0].count, t[1].values, t[1].count, r[0],
                                     r[1], ctx);
     },
     [](const double* r) { return r[0] + r[1]; }},
    {SolverId::ParallelTriple,
     [](double x, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindParallelTriple(x, t[0].values, t[0].count, t[1].values, t[1].count,
                                         t[2].values, t[2].count, r[0], r[1], r[2], ctx);
     },
     [](const double* r) { return network::Parallel(r[0], r[1], r[2]); }},
    {SolverId::SeriesTriple,
     [](double x, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindSeriesTriple(x, t[0].values, t[0].count, t[1].values, t[1].count,
                                       t[2].values, t[2].count, r[0], r[1], r[2], ctx);
     },
     [](const double* r) { return r[0] + r[1] + r[2]; }},
    {SolverId::ParallelSeries,
     [](double x, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindParallelSeries(x, t[0].values, t[0].count, t[1].values, t[1].count,
                                         t[2].values, t[2].count, r[0], r[1], r[2], ctx);
     },
     [](const double* r) { return network::ParallelWithSeries(r[0], r[1], r[2]); }},
    {SolverId::SeriesParallel,
     [](double x, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindSeriesParallel(x, t[0].values, t[0].count, t[1].values, t[1].count,
                                         t[2].values, t[2].count, r[0], r[1], r[2], ctx);
     },
     [](const double* r) { return r[0] + network::Parallel(r[1], r[2]); }},
};
// clang-format on

} // namespace

// The windows that build one wanted resistance out of two or three values.
SolveOutcome SolveResistance(const CatalogueEntry& entry, const SolveInputs& in, Tables tables,
                             const SearchContext& ctx) {
    const auto* input = std::get_if<ResistanceInput>(&in);
    const auto* circuit = CircuitOf<ResistanceCircuit>(kCircuits, entry.solver);
    // The searches trust their inputs; anything a window could not have
    // passed is refused here rather than searched.
    if (input == nullptr || circuit == nullptr || !IsResistanceInRange(input->target))
        return {};

    std::array<double, 3> r{};
    SolveOutcome out;
    // Escape can stop a long search; it then writes no value.
    out.status = circuit->search(input->target, tables, r.data(), ctx);
    if (out.status != SearchStatus::Found)
        return out;
    out.values.assign(r.begin(), r.begin() + entry.resistors);
    DeriveResistance(entry, in, out.values, out);
    return out;
}

void DeriveResistance(const CatalogueEntry& entry, const SolveInputs& in,
                      std::span<const double> values, SolveOutcome& out) {
    const auto* input = std::get_if<ResistanceInput>(&in);
    const auto* circuit = CircuitOf<ResistanceCircuit>(kCircuits, entry.solver);
    if (input == nullptr || circuit == nullptr ||
        values.size() != static_cast<std::size_t>(entry.resistors))
        return;
    const double v = circuit->value(values.data());
    out.Add(ResultId::Resistance, v);
    out.Add(ResultId::ErrorPercent, ErrorPercent(v, input->target));
}

} // namespace ohmtrim::detail
