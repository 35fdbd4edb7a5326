// Time to rank the 20 best combinations of all (--top 20) for the resistance
// entries 2 to 7 on E192 tables (1 ohm to 10 Mohm, 1345 values), pair table
// build included: one array for every resistor (the same value set chosen
// throughout, a pair table of one table with itself), three separate copies
// (three value sets, a full pair table), and with the program's pair-table
// cache already holding the table (entry 4 builds its table of reciprocals
// every time). Counter: relErr, the relative error of the best one.

#include "bench/eseries.h"
#include "circuits/alternatives.h"
#include "search/pair_table_cache.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace ohmtrim;
using ohmtrim::bench::ESeries;

enum class Tables { OneArray, ThreeArrays, Cached };

const char* NameOf(Tables t) {
    switch (t) {
    case Tables::OneArray:
        return "one_array";
    case Tables::ThreeArrays:
        return "three_arrays";
    case Tables::Cached:
        return "cached";
    }
    return "";
}

void Run(benchmark::State& state, int entryIndex, Tables kind, double target) {
    const CatalogueEntry& entry = CatalogueAt(entryIndex);
    static const std::vector<double> copies[3] = {bench::OneOhmToTenMegohm(ESeries::E192),
                                                  bench::OneOhmToTenMegohm(ESeries::E192),
                                                  bench::OneOhmToTenMegohm(ESeries::E192)};
    std::vector<ValueTable> tables;
    for (int k = 0; k < entry.resistors; ++k) {
        const std::vector<double>& t = kind == Tables::ThreeArrays ? copies[k] : copies[0];
        tables.push_back({t.data(), static_cast<int>(t.size()), false, false});
    }
    PairTableCache cache;
    SearchContext ctx;
    if (kind == Tables::Cached)
        ctx.tables = &cache;
    const SolveInputs in = ResistanceInput{target};
    std::vector<Alternative> out;
    if (kind == Tables::Cached)
        RankAlternatives(entry, in, tables, 20, ctx, out);
    for (auto _ : state) {
        const AlternativesStatus status = RankAlternatives(entry, in, tables, 20, ctx, out);
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["relErr"] = out.empty() ? -1 : std::fabs(out[0].errorPercent) / 100;
}

int Register() {
    for (const int entry : {2, 3, 4, 5, 6, 7})
        for (const Tables kind : {Tables::OneArray, Tables::ThreeArrays, Tables::Cached})
            for (const double target : {47.35, 12345.0, 3.21e6}) {
                const std::string name = "RankAlternatives20/entry" + std::to_string(entry) + "/" +
                                         NameOf(kind) + "/" + std::to_string(target);
                benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& st) {
                    Run(st, entry, kind, target);
                })->Unit(benchmark::kMillisecond);
            }
    return 0;
}

const int kRegistered = Register();

} // namespace
