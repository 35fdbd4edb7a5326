// Time per search of the seven star-circuit searches on dense E96 and E192
// tables (1 ohm to 10 Mohm, 673 and 1345 values), one table for every
// resistor as the windows pass it when the user keeps the main value set.
// The cases are those of a star of about 1k, 2.7k and 5.6k ohms (case 1:
// 12 V, 0 V, 5 V at the far ends; case 2: 0 V, 3.3 V, 12 V; the star-point
// voltages typed to four digits), branch 1 within 1k..10k, at the default
// relative tolerance 1e-6 and at 0, where nothing ends the scan early.
// Counters: found, 1 when the search found a star; u0err, the largest
// deviation of the star-point voltage the chosen values give from the
// typed one.

#include "bench/eseries.h"
#include "search/star_network.h"
#include "search/star_searches.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace ohmtrim;
using ohmtrim::bench::ESeries;

constexpr StarInput kCase{8.324, 12, 0, 5, 2.173, 0, 3.3, 12, 1e3, 1e4};

const struct {
    double relTol;
    const char* name;
} kTolerances[] = {{1e-6, "1k-10k/tol1e-6"}, {0, "1k-10k/tol0"}};

const struct {
    StarCircuit circuit;
    const char* name;
    bool pairFirst; // branch 1 is a pair: the scan visits pairs of values
} kSearches[] = {
    {StarCircuit::Singles, "FindStarSingles", false},
    {StarCircuit::SeriesFirst, "FindStarSeriesFirst", true},
    {StarCircuit::ParallelFirst, "FindStarParallelFirst", true},
    {StarCircuit::ParallelPairs, "FindStarParallelPairs", false},
    {StarCircuit::SeriesParallelPairs, "FindStarSeriesParallelPairs", false},
    {StarCircuit::SeriesPairs, "FindStarSeriesPairs", false},
    {StarCircuit::AllParallel, "FindStarAllParallel", true},
};

void Run(benchmark::State& state, StarCircuit c, ESeries series, double relTol) {
    const std::vector<double>& t = bench::OneOhmToTenMegohm(series);
    SearchContext ctx;
    ctx.relTol = relTol;
    const std::size_t count = static_cast<std::size_t>(StarResistorCount(c));
    const std::vector<StarTable> tables(count, StarTable{t.data(), static_cast<int>(t.size())});
    std::vector<double> r(count);
    SearchStatus st = SearchStatus::InvalidInput;
    for (auto _ : state) {
        st = FindStar(c, kCase, tables, r, ctx);
        benchmark::DoNotOptimize(r.data());
    }
    state.counters["found"] = st == SearchStatus::Found ? 1 : 0;
    const StarNetwork net = StarNetworkOf(c, r);
    const double u0Case1 = StarPointVoltage(net, kCase.U1Case1, kCase.U2Case1, kCase.U3Case1);
    const double u0Case2 = StarPointVoltage(net, kCase.U1Case2, kCase.U2Case2, kCase.U3Case2);
    state.counters["u0err"] =
        std::max(std::fabs(u0Case1 - kCase.U0Case1), std::fabs(u0Case2 - kCase.U0Case2));
}

int Register() {
    for (const auto& s : kSearches)
        for (const ESeries series : {ESeries::E96, ESeries::E192})
            for (const auto& tol : kTolerances) {
                const std::string name = std::string(s.name) + "/" +
                                         (series == ESeries::E96 ? "E96" : "E192") + "/" + tol.name;
                auto* b = benchmark::RegisterBenchmark(
                    name.c_str(), [c = s.circuit, series, relTol = tol.relTol](
                                      benchmark::State& st) { Run(st, c, series, relTol); });
                b->Unit(benchmark::kMillisecond);
                // The exhaustive pair scans take up to seconds: once is enough.
                if (s.pairFirst && tol.relTol == 0)
                    b->Iterations(1);
            }
    return 0;
}

const int kRegistered = Register();

} // namespace
