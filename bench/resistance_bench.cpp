// Time per search of the six resistance searches on dense E96 and E192 tables
// (1 ohm to 10 Mohm, 673 and 1345 values), at the default relative tolerance
// 1e-6 and at 0 (no early exit: the full scan), for a few realistic targets.
// The counter relErr is the relative error of the combination found.

#include "bench/eseries.h"
#include "search/pair_searches.h"
#include "search/triple_searches.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace ohmtrim;
using ohmtrim::bench::ESeries;

const std::vector<double>& Table(ESeries s) {
    return bench::OneOhmToTenMegohm(s);
}

struct Search {
    const char* name;
    int (*pair)(double, double, const double*, int, const double*, int, double&, double&);
    int (*triple)(double, double, const double*, int, const double*, int, const double*, int,
                  double&, double&, double&);
    double (*value)(double, double, double);
};

const Search kSearches[] = {
    {"FindSeriesPair", FindSeriesPair, nullptr, [](double a, double b, double) { return a + b; }},
    {"FindParallelPair", FindParallelPair, nullptr,
     [](double a, double b, double) { return a * b / (a + b); }},
    {"FindSeriesTriple", nullptr, FindSeriesTriple,
     [](double a, double b, double c) { return a + b + c; }},
    {"FindParallelTriple", nullptr, FindParallelTriple,
     [](double a, double b, double c) { return 1 / (1 / a + 1 / b + 1 / c); }},
    {"FindParallelSeries", nullptr, FindParallelSeries,
     [](double a, double b, double c) { return 1 / (1 / (b + c) + 1 / a); }},
    {"FindSeriesParallel", nullptr, FindSeriesParallel,
     [](double a, double b, double c) { return a + b * c / (b + c); }},
};

// Values a user would type: none of them lies in the tables.
const double kTargets[] = {47.35, 12345, 3.21e6};

void Run(benchmark::State& state, const Search& s, ESeries series, double relTol, double target) {
    const std::vector<double>& t = Table(series);
    const double* v = t.data();
    const int n = static_cast<int>(t.size());
    double a = 0;
    double b = 0;
    double c = 0;
    for (auto _ : state) {
        if (s.pair != nullptr)
            s.pair(target, relTol, v, n, v, n, a, b);
        else
            s.triple(target, relTol, v, n, v, n, v, n, a, b, c);
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(c);
    }
    state.counters["relErr"] = std::fabs(s.value(a, b, c) - target) / target;
}

int Register() {
    for (const Search& s : kSearches)
        for (const ESeries series : {ESeries::E96, ESeries::E192})
            for (const double relTol : {1e-6, 0.0})
                for (const double target : kTargets) {
                    const std::string name =
                        std::string(s.name) + "/" + (series == ESeries::E96 ? "E96" : "E192") +
                        (relTol == 0 ? "/tol0/" : "/tol1e-6/") + std::to_string(target);
                    benchmark::RegisterBenchmark(name.c_str(), [=, &s](benchmark::State& st) {
                        Run(st, s, series, relTol, target);
                    })->Unit(benchmark::kMicrosecond);
                }
    return 0;
}

const int kRegistered = Register();

} // namespace
