// Time per search of the eight node-voltage divider searches on dense E96
// and E192 tables (1 ohm to 10 Mohm, 673 and 1345 values), one table for
// every resistor as the windows pass it when the user keeps the main value
// set. The chain runs 12 V, 7.5 V, 3.3 V, 0 V; the one-node searches are
// given only their node. Cases: a realistic one (total 1k..100k, the default
// relative tolerance 1e-6) and the worst case, tolerance 0 over the whole
// range of the tables (total 1..10M), where nothing ends the scans early.
// Counters: u2err and u3err, how far the chosen values put the inner nodes
// from the wanted voltages (for a node that was not given, from where the
// full chain would want it); found, 1 when the search found a chain.

#include "bench/eseries.h"
#include "search/node_dividers.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace ohmtrim;
using ohmtrim::bench::ESeries;

constexpr double kU1 = 12, kU2 = 7.5, kU3 = 3.3, kU4 = 0;

struct Case {
    const char* name;
    double rmin, rmax, relTol;
};

const Case kCases[] = {
    {"1k-100k/tol1e-6", 1e3, 1e5, 1e-6},
    {"1-10M/tol0", 1, 1e7, 0},
};

enum class Node { Both3, U3_3, U2_3, Both4, U3_4, U2_4, Five, Six };

const struct {
    Node node;
    const char* name;
    bool hasU2, hasU3;
    bool heavyWhenExhaustive; // seconds per search: run once
} kSearches[] = {
    {Node::Both3, "FindNodeDivider3Both", true, true, false},
    {Node::U3_3, "FindNodeDivider3U3", false, true, false},
    {Node::U2_3, "FindNodeDivider3U2", true, false, false},
    {Node::Both4, "FindNodeDivider4Both", true, true, false},
    {Node::U3_4, "FindNodeDivider4U3", false, true, true},
    {Node::U2_4, "FindNodeDivider4U2", true, false, true},
    {Node::Five, "FindNodeDivider5", true, true, false},
    {Node::Six, "FindNodeDivider6", true, true, true},
};

double Parallel(double x, double y) {
    return x * y / (x + y);
}

// One search; r holds the chosen values; a, b, c get the sections of the chain.
SearchStatus Search(Node node, const NodeVoltageInput& in, const double* v, int n,
                    const SearchContext& ctx, double (&r)[6], double& a, double& b, double& c) {
    SearchStatus st = SearchStatus::InvalidInput;
    switch (node) {
    case Node::Both3:
        st = FindNodeDivider3Both(in, v, n, v, n, v, n, r[0], r[1], r[2], ctx);
        break;
    case Node::U3_3:
        st = FindNodeDivider3U3(in, v, n, v, n, v, n, r[0], r[1], r[2], ctx);
        break;
    case Node::U2_3:
        st = FindNodeDivider3U2(in, v, n, v, n, v, n, r[0], r[1], r[2], ctx);
        break;
    case Node::Both4:
        st = FindNodeDivider4Both(in, v, n, v, n, v, n, v, n, r[0], r[1], r[2], r[3], ctx);
        break;
    case Node::U3_4:
        st = FindNodeDivider4U3(in, v, n, v, n, v, n, v, n, r[0], r[1], r[2], r[3], ctx);
        break;
    case Node::U2_4:
        st = FindNodeDivider4U2(in, v, n, v, n, v, n, v, n, r[0], r[1], r[2], r[3], ctx);
        break;
    case Node::Five:
        st = FindNodeDivider5(in, v, n, v, n, v, n, v, n, v, n, r[0], r[1], r[2], r[3], r[4], ctx);
        break;
    case Node::Six:
        st = FindNodeDivider6(in, v, n, v, n, v, n, v, n, v, n, v, n, r[0], r[1], r[2], r[3], r[4],
                              r[5], ctx);
        break;
    }
    switch (node) {
    case Node::Both3:
    case Node::U3_3:
    case Node::U2_3:
        a = r[0], b = r[1], c = r[2];
        break;
    case Node::Both4:
    case Node::U3_4:
    case Node::U2_4:
        a = r[0], b = r[1], c = Parallel(r[2], r[3]);
        break;
    case Node::Five:
        a = r[0], b = Parallel(r[1], r[2]), c = Parallel(r[3], r[4]);
        break;
    case Node::Six:
        a = Parallel(r[0], r[1]), b = Parallel(r[2], r[3]), c = Parallel(r[4], r[5]);
        break;
    }
    return st;
}

void Run(benchmark::State& state, Node node, bool hasU2, bool hasU3, ESeries series,
         const Case& c) {
    const std::vector<double>& t = bench::OneOhmToTenMegohm(series);
    NodeVoltageInput in;
    in.U1 = kU1;
    in.U2 = hasU2 ? kU2 : 0.0;
    in.U3 = hasU3 ? kU3 : 0.0;
    in.U4 = kU4;
    in.HasU2 = hasU2 ? 1 : 0;
    in.HasU3 = hasU3 ? 1 : 0;
    in.RMin = c.rmin;
    in.RMax = c.rmax;
    SearchContext ctx;
    ctx.relTol = c.relTol;
    double r[6] = {0, 0, 0, 0, 0, 0};
    double a = 0, b = 0, sc = 0;
    SearchStatus st = SearchStatus::InvalidInput;
    for (auto _ : state) {
        st = Search(node, in, t.data(), static_cast<int>(t.size()), ctx, r, a, b, sc);
        benchmark::DoNotOptimize(r);
    }
    const ChainNodeVoltages got = NodeVoltagesOfChain(kU1, kU4, a, b, sc);
    state.counters["found"] = st == SearchStatus::Found ? 1 : 0;
    state.counters["u2err"] = std::fabs(got.u2 - kU2);
    state.counters["u3err"] = std::fabs(got.u3 - kU3);
}

int Register() {
    for (const auto& s : kSearches)
        for (const ESeries series : {ESeries::E96, ESeries::E192})
            for (const Case& c : kCases) {
                const std::string name = std::string(s.name) + "/" +
                                         (series == ESeries::E96 ? "E96" : "E192") + "/" + c.name;
                auto* b = benchmark::RegisterBenchmark(
                    name.c_str(), [node = s.node, u2 = s.hasU2, u3 = s.hasU3, series,
                                   &c](benchmark::State& st) { Run(st, node, u2, u3, series, c); });
                b->Unit(benchmark::kMillisecond);
                if (s.heavyWhenExhaustive && c.relTol == 0)
                    b->Iterations(1);
            }
    return 0;
}

const int kRegistered = Register();

} // namespace
