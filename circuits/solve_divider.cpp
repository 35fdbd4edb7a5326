#include "circuits/solve_parts.h"

#include "circuits/networks.h"
#include "search/fast_searches.h"

#include <array>

namespace ohmtrim::detail {

namespace {

using Tables = std::span<const ValueTable>;

// One divider calculator: its search on the tables in resistor order, and
// the upper and lower branch of the chosen values.
struct DividerCircuit {
    SolverId solver;
    SearchStatus (*search)(const DividerInput& d, Tables t, double* r, const SearchContext& ctx);
    double (*upper)(const double* r);
    double (*lower)(const double* r);
};

// clang-format off
constexpr DividerCircuit kCircuits[] = {
    {SolverId::DividerPair,
     [](const DividerInput& d, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindDividerPair(d.u1, d.u2, d.u3, d.rmin, d.rmax, t[0].values, t[0].count,
                                      t[1].values, t[1].count, r[0], r[1], ctx);
     },
     [](const double* r) { return r[0]; },
     [](const double* r) { return r[1]; }},
    {SolverId::DividerParallelPairTop,
     [](const DividerInput& d, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindDividerParallelPairTop(d.u1, d.u2, d.u3, d.rmin, d.rmax, t[0].values,
                                                 t[0].count, t[1].values, t[1].count, t[2].values,
                                                 t[2].count, r[0], r[1], r[2], ctx);
     },
     [](const double* r) { return network::Parallel(r[0], r[1]); },
     [](const double* r) { return r[2]; }},
    {SolverId::DividerParallelTripleTop,
     [](const DividerInput& d, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindDividerParallelTripleTop(d.u1, d.u2, d.u3, d.rmin, d.rmax, t[0].values,
                                                   t[0].count, t[1].values, t[1].count, t[2].values,
                                                   t[2].count, t[3].values, t[3].count, r[0], r[1],
                                                   r[2], r[3], ctx);
     },
     [](const double* r) { return network::Parallel(r[0], r[1], r[2]); },
     [](const double* r) { return r[3]; }},
    {SolverId::DividerParallelSeriesTop,
     [](const DividerInput& d, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindDividerParallelSeriesTop(d.u1, d.u2, d.u3, d.rmin, d.rmax, t[0].values,
                                                   t[0].count, t[1].values, t[1].count, t[2].values,
                                                   t[2].count, t[3].values, t[3].count, r[0], r[1],
                                                   r[2], r[3], ctx);
     },
     [](const double* r) { return network::ParallelWithSeries(r[0], r[1], r[2]); },
     [](const double* r) { return r[3]; }},
    {SolverId::DividerParallelPairs,
     [](const DividerInput& d, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindDividerParallelPairs(d.u1, d.u2, d.u3, d.rmin, d.rmax, t[0].values,
                                               t[0].count, t[1].values, t[1].count, t[2].values,
                                               t[2].count, t[3].values, t[3].count, r[0], r[1],
                                               r[2], r[3], ctx);
     },
     [](const double* r) { return network::Parallel(r[0], r[1]); },
     [](const double* r) { return network::Parallel(r[2], r[3]); }},
};
// clang-format on

} // namespace

// The voltage-divider calculators (two to four resistors). The windows show
// the chosen values, the total resistance and the output voltage those
// values give; the user compares the latter with the wanted U2.
SolveOutcome SolveDivider(const CatalogueEntry& entry, const SolveInputs& in, Tables tables,
                          const SearchContext& ctx) {
    const auto* d = std::get_if<DividerInput>(&in);
    const auto* circuit = CircuitOf<DividerCircuit>(kCircuits, entry.solver);
    if (d == nullptr || circuit == nullptr)
        return {};

    std::array<double, 4> r{};
    SolveOutcome out;
    out.status = circuit->search(*d, tables, r.data(), ctx);
    if (out.status != SearchStatus::Found)
        return out;
    out.values.assign(r.begin(), r.begin() + entry.resistors);
    DeriveDivider(entry, in, out.values, out);
    return out;
}

void DeriveDivider(const CatalogueEntry& entry, const SolveInputs& in,
                   std::span<const double> values, SolveOutcome& out) {
    const auto* d = std::get_if<DividerInput>(&in);
    const auto* circuit = CircuitOf<DividerCircuit>(kCircuits, entry.solver);
    if (d == nullptr || circuit == nullptr ||
        values.size() != static_cast<std::size_t>(entry.resistors))
        return;
    const double rUp = circuit->upper(values.data());
    const double rLow = circuit->lower(values.data());
    out.Add(ResultId::Resistance, rUp + rLow);
    out.Add(ResultId::U2, d->u3 + (d->u1 - d->u3) * rLow / (rUp + rLow));
}

} // namespace ohmtrim::detail
