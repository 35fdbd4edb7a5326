// Time per search of the five voltage-divider searches on dense E96 and E192
// tables (1 ohm to 10 Mohm, 673 and 1345 values), one table for every
// resistor as the windows pass it when the user keeps the main value set.
// Cases: a realistic divider (12 V to 5 V, total 1k..100k) at the default
// relative tolerance 1e-6 and at 0, and the worst case, tolerance 0 over the
// whole range of the tables (total 1..10M), where nothing ends the scans
// early. Counters: u2err, the error of the output fraction the chosen values
// give, |R_low / R_total - wanted|; found, 1 when the search found a divider.

#include "bench/eseries.h"
#include "search/divider_searches.h"

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

struct Case {
    const char* name;
    double u1, u2, u3, rmin, rmax, relTol;
    bool heavy; // one iteration is enough (and all the machine can spare)
};

const Case kCases[] = {
    {"12V-5V/1k-100k/tol1e-6", 12, 5, 0, 1e3, 1e5, 1e-6, false},
    {"12V-5V/1k-100k/tol0", 12, 5, 0, 1e3, 1e5, 0, false},
    {"12V-5V/1-10M/tol0", 12, 5, 0, 1, 1e7, 0, true},
};

enum class Divider { Pair, PairTop, TripleTop, SeriesTop, Pairs };

const struct {
    Divider divider;
    const char* name;
} kDividers[] = {
    {Divider::Pair, "FindDividerPair"},
    {Divider::PairTop, "FindDividerParallelPairTop"},
    {Divider::TripleTop, "FindDividerParallelTripleTop"},
    {Divider::SeriesTop, "FindDividerParallelSeriesTop"},
    {Divider::Pairs, "FindDividerParallelPairs"},
};

// One search; r holds the chosen values, the function returns R_low / R_total.
SearchStatus Search(Divider d, const Case& c, const double* v, int n, const SearchContext& ctx,
                    double (&r)[4], double& fraction) {
    SearchStatus st = SearchStatus::InvalidInput;
    double up = 0, low = 0;
    switch (d) {
    case Divider::Pair:
        st = FindDividerPair(c.u1, c.u2, c.u3, c.rmin, c.rmax, v, n, v, n, r[0], r[1], ctx);
        up = r[0];
        low = r[1];
        break;
    case Divider::PairTop:
        st = FindDividerParallelPairTop(c.u1, c.u2, c.u3, c.rmin, c.rmax, v, n, v, n, v, n, r[0],
                                        r[1], r[2], ctx);
        up = r[0] * r[1] / (r[0] + r[1]);
        low = r[2];
        break;
    case Divider::TripleTop:
        st = FindDividerParallelTripleTop(c.u1, c.u2, c.u3, c.rmin, c.rmax, v, n, v, n, v, n, v, n,
                                          r[0], r[1], r[2], r[3], ctx);
        up = 1 / (1 / r[0] + 1 / r[1] + 1 / r[2]);
        low = r[3];
        break;
    case Divider::SeriesTop:
        st = FindDividerParallelSeriesTop(c.u1, c.u2, c.u3, c.rmin, c.rmax, v, n, v, n, v, n, v, n,
                                          r[0], r[1], r[2], r[3], ctx);
        up = 1 / (1 / (r[1] + r[2]) + 1 / r[0]);
        low = r[3];
        break;
    case Divider::Pairs:
        st = FindDividerParallelPairs(c.u1, c.u2, c.u3, c.rmin, c.rmax, v, n, v, n, v, n, v, n,
                                      r[0], r[1], r[2], r[3], ctx);
        up = r[0] * r[1] / (r[0] + r[1]);
        low = r[2] * r[3] / (r[2] + r[3]);
        break;
    }
    fraction = low / (up + low);
    return st;
}

void Run(benchmark::State& state, Divider d, ESeries series, const Case& c) {
    const std::vector<double>& t = Table(series);
    SearchContext ctx;
    ctx.relTol = c.relTol;
    double r[4] = {0, 0, 0, 0};
    double fraction = 0;
    SearchStatus st = SearchStatus::InvalidInput;
    for (auto _ : state) {
        st = Search(d, c, t.data(), static_cast<int>(t.size()), ctx, r, fraction);
        benchmark::DoNotOptimize(r);
    }
    const double wanted = (c.u2 - c.u3) / (c.u1 - c.u3);
    state.counters["found"] = st == SearchStatus::Found ? 1 : 0;
    state.counters["u2err"] = std::fabs(fraction - wanted);
}

int Register() {
    for (const auto& d : kDividers)
        for (const ESeries series : {ESeries::E96, ESeries::E192})
            for (const Case& c : kCases) {
                const std::string name = std::string(d.name) + "/" +
                                         (series == ESeries::E96 ? "E96" : "E192") + "/" + c.name;
                auto* b = benchmark::RegisterBenchmark(
                    name.c_str(),
                    [d = d.divider, series, &c](benchmark::State& st) { Run(st, d, series, c); });
                b->Unit(benchmark::kMillisecond);
                if (c.heavy)
                    b->Iterations(1);
            }
    return 0;
}

const int kRegistered = Register();

} // namespace
