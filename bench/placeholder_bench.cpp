#include "valuesets/lookups.h"

#include <benchmark/benchmark.h>

#include <vector>

static void BM_CeilingIndex(benchmark::State& state) {
    std::vector<double> v;
    for (int i = 1; i <= 1000; ++i)
        v.push_back(i);
    double x = 0;
    for (auto _ : state) {
        x = x > 1000 ? 0 : x + 0.7;
        benchmark::DoNotOptimize(ohmtrim::CeilingIndex(x, v.data(), static_cast<int>(v.size())));
    }
}
BENCHMARK(BM_CeilingIndex);
