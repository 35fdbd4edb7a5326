// The fast searches side by side with their plain functions, one named case
// per benchmark: every search on E96 and E192 from 1 ohm to 10 Mohm, one
// table for every resistor as the windows pass the main value set, relative
// tolerance 0 (exhaustive) and 1e-6 (the default); realistic targets,
// voltages and ranges, the widest range, and exact ratios whose many equal
// errors test the ties.
//
// Each case runs the plain function, the fast one cold (a fresh cache: the
// plain scan with its budget, the table build and the rest) and warm (the
// table cached), checks that all three agree bit for bit, and reports the
// times in ms (thread CPU time; the median of several runs where a run is
// short) and the speed-ups. The searches that enumerate pairs also run warm
// on two threads (wall time, against one thread's wall time in the same
// run).
// Fast/Summary, the last benchmark, adds up the goals and writes a Markdown
// table to the file named by OHMTRIM_FAST_TABLE, if set.

#include "bench/eseries.h"
#include "tests/core/fast_test_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <functional>
#include <thread>
#include <string>
#include <vector>

namespace {

using namespace ohmtrim;
using ohmtrim::bench::ESeries;
using testing::Inputs;
using testing::Outcome;
using testing::Search;
using testing::Table;

struct Case {
    std::string name;
    Search search;
    ESeries series;
    double relTol;
    Inputs in;
};

struct Row {
    std::string name;
    bool exhaustive;
    double plainMs, coldMs, warmMs, buildMs;
    double oneThreadMs = 0, twoThreadsMs = 0; // wall time, pair enumerations only
    bool same;
};

std::vector<Row>& Rows() {
    static std::vector<Row> rows;
    return rows;
}

double ThreadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Times several runs side by side, in ms: the median over rounds, each
// round timing every run once in turn, so that a change of load on the
// shared machine hits all of them alike. A run over 0.2 s is timed once;
// shorter runs are timed in batches of about a millisecond (the clock itself
// costs a fraction of a microsecond), for about 0.2 s in all (at least 5,
// at most 41 rounds).
template <typename Clock>
std::vector<double> SideBySideMs(Clock clock, const std::vector<std::function<void()>>& runs) {
    const std::size_t n = runs.size();
    std::vector<double> first(n);
    std::vector<int> batch(n);
    bool long_ = false;
    for (std::size_t r = 0; r < n; ++r) {
        const double start = clock();
        runs[r]();
        first[r] = clock() - start;
        long_ = long_ || first[r] > 0.2;
        batch[r] = first[r] >= 1e-3 ? 1 : static_cast<int>(1e-3 / std::max(first[r], 1e-8)) + 1;
    }
    std::vector<double> result(n);
    if (long_) {
        for (std::size_t r = 0; r < n; ++r)
            result[r] = first[r] * 1e3;
        return result;
    }
    std::vector<std::vector<double>> times(n);
    double spent = 0;
    for (int round = 0; round < 41 && (round < 5 || spent < 0.2); ++round) {
        for (std::size_t r = 0; r < n; ++r) {
            const double start = clock();
            for (int k = 0; k < batch[r]; ++k)
                runs[r]();
            const double t = clock() - start;
            times[r].push_back(t / batch[r]);
            spent += t;
        }
    }
    for (std::size_t r = 0; r < n; ++r) {
        std::sort(times[r].begin(), times[r].end());
        result[r] = times[r][times[r].size() / 2] * 1e3;
    }
    return result;
}

std::vector<const Table*> Tables(const Case& c) {
    static const Table e96 = bench::OneOhmToTenMegohm(ESeries::E96);
    static const Table e192 = bench::OneOhmToTenMegohm(ESeries::E192);
    const Table* t = c.series == ESeries::E96 ? &e96 : &e192;
    return std::vector<const Table*>(static_cast<std::size_t>(testing::ResistorsOf(c.search)), t);
}

void RunCase(benchmark::State& state, const Case& c) {
    const std::vector<const Table*> t = Tables(c);
    SearchContext plainCtx;
    plainCtx.relTol = c.relTol;
    Outcome plain;
    Outcome cold;
    Outcome warm;
    Outcome two;
    Row row{c.name, c.relTol == 0, 0, 0, 0, 0, 0, 0, true};
    for (auto _ : state) {
        PairTableCache cache;
        const double start = ThreadSeconds();
        testing::Prebuild(cache, c.search, t);
        row.buildMs = (ThreadSeconds() - start) * 1e3;
        SearchContext ctx = plainCtx;
        ctx.tables = &cache;
        const std::vector<double> ms = SideBySideMs(
            ThreadSeconds, {[&] { plain = testing::Run(c.search, false, c.in, t, plainCtx); },
                            [&] {
                                PairTableCache fresh;
                                SearchContext coldCtx = plainCtx;
                                coldCtx.tables = &fresh;
                                cold = testing::Run(c.search, true, c.in, t, coldCtx);
                            },
                            [&] { warm = testing::Run(c.search, true, c.in, t, ctx); }});
        row.plainMs = ms[0];
        row.coldMs = ms[1];
        row.warmMs = ms[2];
        row.same = testing::SameBits(plain, cold) && testing::SameBits(plain, warm);
        if (testing::EnumeratesPairs(c.search)) {
            SearchContext ctx2 = ctx;
            ctx2.threads = 2;
            const std::vector<double> wall = SideBySideMs(
                WallSeconds, {[&] { warm = testing::Run(c.search, true, c.in, t, ctx); },
                              [&] { two = testing::Run(c.search, true, c.in, t, ctx2); }});
            row.oneThreadMs = wall[0];
            row.twoThreadsMs = wall[1];
            row.same = row.same && testing::SameBits(plain, two);
        }
        state.SetIterationTime(row.warmMs * 1e-3);
    }
    state.counters["plain_ms"] = row.plainMs;
    state.counters["cold_ms"] = row.coldMs;
    state.counters["warm_ms"] = row.warmMs;
    state.counters["build_ms"] = row.buildMs;
    state.counters["x_cold"] = row.plainMs / row.coldMs;
    state.counters["x_warm"] = row.plainMs / row.warmMs;
    if (row.twoThreadsMs > 0)
        state.counters["x_2threads"] = row.oneThreadMs / row.twoThreadsMs;
    state.counters["same"] = row.same ? 1 : 0;
    if (!row.same)
        state.SkipWithError("fast and plain results differ");
    Rows().push_back(row);
}

// Two threads on a loop that shares nothing, against one thread: what the
// machine gives two threads at this moment, to judge the searches' figure by.
double& ParallelReference() {
    static double ratio = 0;
    return ratio;
}

void ParallelReferenceLoop(benchmark::State& state) {
    constexpr std::int64_t kSteps = std::int64_t{1} << 24;
    auto loop = [](std::int64_t from, std::int64_t to) {
        double x = 0;
        for (std::int64_t k = from; k < to; ++k)
            x += std::sqrt(static_cast<double>(k));
        benchmark::DoNotOptimize(x);
    };
    for (auto _ : state) {
        const std::vector<double> wall =
            SideBySideMs(WallSeconds, {[&] { loop(0, kSteps); },
                                       [&] {
                                           std::thread other(loop, kSteps / 2, kSteps);
                                           loop(0, kSteps / 2);
                                           other.join();
                                       }});
        ParallelReference() = wall[0] / wall[1];
        state.SetIterationTime(wall[1] * 1e-3);
    }
    state.counters["x_2threads"] = ParallelReference();
}

double GeoMean(const std::vector<double>& v) {
    double s = 0;
    for (double x : v)
        s += std::log(x);
    return v.empty() ? 0 : std::exp(s / static_cast<double>(v.size()));
}

std::string LoadAverage() {
    std::ifstream f("/proc/loadavg");
    std::string one, five, fifteen;
    f >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void Summary(benchmark::State& state) {
    for (auto _ : state) {
    }
    const std::vector<Row>& rows = Rows();
    std::vector<double> heavyCold, heavyWarm, threads;
    double slowestCold = 0;
    std::string slowestName;
    double worstWarm = 0;
    std::string worstWarmName;
    int differing = 0;
    for (const Row& r : rows) {
        if (r.exhaustive && r.plainMs >= 100) {
            heavyCold.push_back(r.plainMs / r.coldMs);
            heavyWarm.push_back(r.plainMs / r.warmMs);
        }
        if (r.coldMs > slowestCold) {
            slowestCold = r.coldMs;
            slowestName = r.name;
        }
        if (r.warmMs / r.plainMs > worstWarm) {
            worstWarm = r.warmMs / r.plainMs;
            worstWarmName = r.name;
        }
        if (r.twoThreadsMs > 0 && r.oneThreadMs > 5)
            threads.push_back(r.oneThreadMs / r.twoThreadsMs);
        differing += r.same ? 0 : 1;
    }
    state.counters["cases"] = static_cast<double>(rows.size());
    state.counters["differing"] = differing;
    state.counters["heavy_cases"] = static_cast<double>(heavyCold.size());
    state.counters["heavy_geo_x_cold"] = GeoMean(heavyCold);
    state.counters["heavy_geo_x_warm"] = GeoMean(heavyWarm);
    state.counters["slowest_cold_ms"] = slowestCold;
    state.counters["worst_warm_over_plain"] = worstWarm;
    state.counters["geo_x_2threads"] = GeoMean(threads);
    state.counters["reference_x_2threads"] = ParallelReference();

    const char* path = std::getenv("OHMTRIM_FAST_TABLE");
    if (path == nullptr)
        return;
    std::ofstream out(path);
    out << "# Fast searches against their plain functions\n\n"
        << "Load average at the end: " << LoadAverage() << ". Thread CPU time in ms; "
        << "two-thread figures are wall times.\n\n"
        << "| Case | Plain | Fast cold | Fast warm | Build | Cold x | Warm x | 2 threads x | "
           "Same |\n|---|---|---|---|---|---|---|---|---|\n";
    char line[512];
    for (const Row& r : rows) {
        char threadsText[32] = "";
        if (r.twoThreadsMs > 0)
            std::snprintf(threadsText, sizeof threadsText, "%.2f", r.oneThreadMs / r.twoThreadsMs);
        std::snprintf(
            line, sizeof line, "| %s | %.4g | %.4g | %.4g | %.3g | %.3g | %.3g | %s | %s |\n",
            r.name.c_str(), r.plainMs, r.coldMs, r.warmMs, r.buildMs, r.plainMs / r.coldMs,
            r.plainMs / r.warmMs, threadsText, r.same ? "yes" : "NO");
        out << line;
    }
    std::snprintf(line, sizeof line,
                  "\n- Exhaustive cases whose plain search takes at least 100 ms: %zu; geometric "
                  "mean speed-up %.0fx cold, %.0fx warm.\n- Slowest fast search cold: %.1f ms "
                  "(%s).\n- Largest warm time over plain time: %.2f (%s).\n- Two threads on "
                  "the pair enumerations over 5 ms: geometric mean %.2fx (a loop that shares "
                  "nothing: %.2fx).\n- Cases whose results differ: %d of %zu.\n",
                  heavyCold.size(), GeoMean(heavyCold), GeoMean(heavyWarm), slowestCold,
                  slowestName.c_str(), worstWarm, worstWarmName.c_str(), GeoMean(threads),
                  ParallelReference(), differing, rows.size());
    out << line;
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    const std::pair<ESeries, const char*> series[] = {{ESeries::E96, "E96"},
                                                      {ESeries::E192, "E192"}};
    const std::pair<double, const char*> tolerances[] = {{0, "tol0"}, {1e-6, "tol1e-6"}};
    // Values a user would type, and one in the tables, which many
    // combinations hit exactly.
    const std::pair<double, const char*> targets[] = {
        {47.35, "47.35"}, {1000, "1000"}, {12345, "12345"}, {3.21e6, "3.21e6"}};
    for (Search s : testing::kResistanceSearches)
        for (const auto& [se, seName] : series)
            for (const auto& [tol, tolName] : tolerances)
                for (const auto& [target, targetName] : targets) {
                    Inputs in;
                    in.target = target;
                    cases.push_back({std::string("Fast/") + testing::NameOf(s) + "/" + seName +
                                         "/" + tolName + "/" + targetName,
                                     s, se, tol, in});
                }
    struct Divider {
        const char* name;
        double u1, u2, u3, rmin, rmax;
    };
    const Divider dividers[] = {
        {"12V-5V/1k-100k", 12, 5, 0, 1e3, 1e5},
        {"12V-5V/1-10M", 12, 5, 0, 1, 1e7},
        {"10V-5V/1-10M", 10, 5, 0, 1, 1e7}, // ratio 1: exact hits and ties everywhere
    };
    for (Search s : testing::kDividerSearches)
        for (const auto& [se, seName] : series)
            for (const auto& [tol, tolName] : tolerances)
                for (const Divider& d : dividers) {
                    Inputs in;
                    in.u1 = d.u1;
                    in.u2 = d.u2;
                    in.u3 = d.u3;
                    in.rmin = d.rmin;
                    in.rmax = d.rmax;
                    cases.push_back({std::string("Fast/") + testing::NameOf(s) + "/" + seName +
                                         "/" + tolName + "/" + d.name,
                                     s, se, tol, in});
                }
    struct Node {
        const char* name;
        double u1, u2, u3, u4, rmin, rmax;
    };
    const Node nodes[] = {
        {"12-7.5-3.3-0V/1k-100k", 12, 7.5, 3.3, 0, 1e3, 1e5},
        {"12-7.5-3.3-0V/1-10M", 12, 7.5, 3.3, 0, 1, 1e7},
        {"12-8-4-0V/1-10M", 12, 8, 4, 0, 1, 1e7}, // exact shares: ties everywhere
    };
    for (Search s : testing::kNodeSearches)
        for (const auto& [se, seName] : series)
            for (const auto& [tol, tolName] : tolerances)
                for (const Node& d : nodes) {
                    Inputs in;
                    const char used = testing::NodesOf(s);
                    in.node = {d.u1,
                               used == '3' ? 0.0 : d.u2,
                               used == '2' ? 0.0 : d.u3,
                               d.u4,
                               used == '3' ? std::uint8_t{0} : std::uint8_t{1},
                               used == '2' ? std::uint8_t{0} : std::uint8_t{1},
                               d.rmin,
                               d.rmax};
                    cases.push_back({std::string("Fast/") + testing::NameOf(s) + "/" + seName +
                                         "/" + tolName + "/" + d.name,
                                     s, se, tol, in});
                }
    struct Star {
        const char* name;
        StarInput in;
    };
    const Star stars[] = {
        // About 1k, 2.7k and 5.6k ohms, the star-point voltages typed to four digits.
        {"typed/1k-10k", {8.324, 12, 0, 5, 2.173, 0, 3.3, 12, 1e3, 1e4}},
        {"typed/1-10M", {8.324, 12, 0, 5, 2.173, 0, 3.3, 12, 1, 1e7}},
        // 1000, 1000 and 2000 ohms: exact ratios 1 and 2, ties everywhere.
        {"1-1-2/1k-10k", {4, 10, 0, 0, 2, 0, 0, 10, 1e3, 1e4}},
    };
    for (Search s : testing::kStarSearches)
        for (const auto& [se, seName] : series)
            for (const auto& [tol, tolName] : tolerances)
                for (const Star& d : stars) {
                    Inputs in;
                    in.star = d.in;
                    cases.push_back({std::string("Fast/") + testing::NameOf(s) + "/" + seName +
                                         "/" + tolName + "/" + d.name,
                                     s, se, tol, in});
                }
    return cases;
}

int Register() {
    static const std::vector<Case> cases = Cases();
    for (const Case& c : cases)
        benchmark::RegisterBenchmark(c.name.c_str(), [&c](benchmark::State& st) { RunCase(st, c); })
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Fast/ParallelReference", ParallelReferenceLoop)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Fast/Summary", Summary)->Iterations(1);
    return 0;
}

const int kRegistered = Register();

} // namespace
