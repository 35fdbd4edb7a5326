#include "circuits/node_chain.h"
#include "circuits/solve_parts.h"

#include "circuits/networks.h"
#include "search/fast_searches.h"

#include <array>
#include <cmath>
#include <limits>

namespace ohmtrim {

namespace {

using Tables = std::span<const ValueTable>;
using Search = SearchStatus (*)(const NodeVoltageInput& in, Tables t, double* r,
                                const SearchContext& ctx);

struct Sections {
    double a, b, c;
};

// One chain: its search for both inner nodes, for U3 alone and for U2 alone
// (null where the chain has none), on the tables in resistor order, and the
// sections A, B, C of the chosen values.
struct NodeChainCircuit {
    SolverId solver;
    Search both;
    Search u3Only;
    Search u2Only;
    Sections (*sections)(const double* r);
};

// clang-format off
constexpr NodeChainCircuit kCircuits[] = {
    {SolverId::NodeDivider3,
     [](const NodeVoltageInput& in, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindNodeDivider3Both(in, t[0].values, t[0].count, t[1].values, t[1].count,
                                           t[2].values, t[2].count, r[0], r[1], r[2], ctx);
     },
     [](const NodeVoltageInput& in, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindNodeDivider3U3(in, t[0].values, t[0].count, t[1].values, t[1].count,
                                         t[2].values, t[2].count, r[0], r[1], r[2], ctx);
     },
     [](const NodeVoltageInput& in, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindNodeDivider3U2(in, t[0].values, t[0].count, t[1].values, t[1].count,
                                         t[2].values, t[2].count, r[0], r[1], r[2], ctx);
     },
     [](const double* r) { return Sections{r[0], r[1], r[2]}; }},
    {SolverId::NodeDivider4,
     [](const NodeVoltageInput& in, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindNodeDivider4Both(in, t[0].values, t[0].count, t[1].values, t[1].count,
                                           t[2].values, t[2].count, t[3].values, t[3].count, r[0],
                                           r[1], r[2], r[3], ctx);
     },
     [](const NodeVoltageInput& in, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindNodeDivider4U3(in, t[0].values, t[0].count, t[1].values, t[1].count,
                                         t[2].values, t[2].count, t[3].values, t[3].count, r[0],
                                         r[1], r[2], r[3], ctx);
     },
     [](const NodeVoltageInput& in, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindNodeDivider4U2(in, t[0].values, t[0].count, t[1].values, t[1].count,
                                         t[2].values, t[2].count, t[3].values, t[3].count, r[0],
                                         r[1], r[2], r[3], ctx);
     },
     [](const double* r) { return Sections{r[0], r[1], network::Parallel(r[2], r[3])}; }},
    {SolverId::NodeDivider5,
     [](const NodeVoltageInput& in, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindNodeDivider5(in, t[0].values, t[0].count, t[1].values, t[1].count,
                                       t[2].values, t[2].count, t[3].values, t[3].count,
                                       t[4].values, t[4].count, r[0], r[1], r[2], r[3], r[4], ctx);
     },
     nullptr, nullptr,
     [](const double* r) {
         return Sections{r[0], network::Parallel(r[1], r[2]), network::Parallel(r[3], r[4])};
     }},
    {SolverId::NodeDivider6,
     [](const NodeVoltageInput& in, Tables t, double* r, const SearchContext& ctx) {
         return fast::FindNodeDivider6(in, t[0].values, t[0].count, t[1].values, t[1].count,
                                       t[2].values, t[2].count, t[3].values, t[3].count,
                                       t[4].values, t[4].count, t[5].values, t[5].count, r[0], r[1],
                                       r[2], r[3], r[4], r[5], ctx);
     },
     nullptr, nullptr,
     [](const double* r) {
         return Sections{network::Parallel(r[0], r[1]), network::Parallel(r[2], r[3]),
                         network::Parallel(r[4], r[5])};
     }},
};
// clang-format on

const NodeChainCircuit* CircuitOfEntry(const CatalogueEntry& entry) {
    return detail::CircuitOf<NodeChainCircuit>(kCircuits, entry.solver);
}

// The search for the inner nodes the record gives, as the windows choose
// it; null when the chain cannot run on them (no node given, or one where
// the chain needs both).
Search SearchFor(const NodeChainCircuit& circuit, const NodeVoltageInput& in) {
    if (in.HasU2 != 0 && in.HasU3 != 0)
        return circuit.both;
    if (in.HasU3 != 0)
        return circuit.u3Only;
    if (in.HasU2 != 0)
        return circuit.u2Only;
    return nullptr;
}

} // namespace

int InnerNodesNeeded(const CatalogueEntry& entry) {
    const NodeChainCircuit* circuit = CircuitOfEntry(entry);
    return circuit != nullptr && circuit->u2Only != nullptr && circuit->u3Only != nullptr ? 1 : 2;
}

namespace detail {

// The node-voltage chains. The windows show the chosen values and both
// inner node voltages those values give, also the one that was not given.
SolveOutcome SolveNodeChain(const CatalogueEntry& entry, const SolveInputs& in, Tables tables,
                            const SearchContext& ctx) {
    const auto* record = std::get_if<NodeVoltageInput>(&in);
    const NodeChainCircuit* circuit = CircuitOfEntry(entry);
    if (record == nullptr || circuit == nullptr)
        return {};
    const Search search = SearchFor(*circuit, *record);
    if (search == nullptr)
        return {};

    // A search that ends without a chain in range writes 0.0 to every
    // output, unless it found nothing to scan at all; NaN tells the two apart.
    std::array<double, 6> r;
    r.fill(std::numeric_limits<double>::quiet_NaN());
    SolveOutcome out;
    out.status = search(*record, tables, r.data(), ctx);
    const bool written = out.status == SearchStatus::Found ||
                         (out.status == SearchStatus::NoSolution && !std::isnan(r[0]));
    if (written)
        out.values.assign(r.begin(), r.begin() + entry.resistors);
    if (out.status != SearchStatus::Found)
        return out;
    DeriveNodeChain(entry, in, out.values, out);
    return out;
}

void DeriveNodeChain(const CatalogueEntry& entry, const SolveInputs& in,
                     std::span<const double> values, SolveOutcome& out) {
    const auto* record = std::get_if<NodeVoltageInput>(&in);
    const NodeChainCircuit* circuit = CircuitOfEntry(entry);
    if (record == nullptr || circuit == nullptr ||
        values.size() != static_cast<std::size_t>(entry.resistors))
        return;
    const Sections s = circuit->sections(values.data());
    const ChainNodeVoltages u = NodeVoltagesOfChain(record->U1, record->U4, s.a, s.b, s.c);
    out.Add(ResultId::U2, u.u2);
    out.Add(ResultId::U3, u.u3);
}

} // namespace detail

} // namespace ohmtrim
