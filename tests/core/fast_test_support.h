#pragma once

// Helpers of the fast-search tests: nasty random value tables and targets,
// one call interface over every search in its plain and its fast version,
// and the bit comparison of two outcomes.

#include "tests/core/search_test_support.h"

#include "search/divider_searches.h"
#include "search/fast_searches.h"
#include "search/node_dividers.h"
#include "search/pair_searches.h"
#include "search/pair_table_cache.h"
#include "search/star_searches.h"
#include "search/triple_searches.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace ohmtrim::testing {

// Longer runs by hand: OHMTRIM_SOAK=<factor> multiplies the random cases.
inline int SoakFactor() {
    const char* soak = std::getenv("OHMTRIM_SOAK");
    const int factor = soak != nullptr ? std::atoi(soak) : 1;
    return factor > 1 ? factor : 1;
}

inline double LogUniform(std::mt19937& gen, double lo, double hi) {
    std::uniform_real_distribution<double> d(std::log(lo), std::log(hi));
    return std::exp(d(gen));
}

// An ascending table of 1 to 12 values of one of several nasty kinds:
// standard values with repeats, a tiny pool (exact sums and ties), values
// anywhere from 1e-15 to 1e15, neighbouring doubles, E12 decades; sometimes
// with a short-circuit (0.001) or open-circuit (1e12) entry, and rarely with
// a value the fast searches leave to the plain ones (0, 1e200).
inline Table NastyTable(std::mt19937& gen) {
    static const double kStandard[] = {1,  1.5, 2.2, 3.3, 4.7, 6.8, 9.1, 10,  15,   22,
                                       33, 47,  49,  68,  100, 150, 220, 470, 1000, 6800};
    static const double kTiny[] = {10, 20, 30, 40, 60};
    static const double kE12[] = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
    const int n = 1 + static_cast<int>(gen() % 12);
    Table t;
    switch (gen() % 5) {
    case 0:
        for (int i = 0; i < n; ++i)
            t.push_back(kStandard[gen() % std::size(kStandard)]);
        break;
    case 1:
        for (int i = 0; i < n; ++i)
            t.push_back(kTiny[gen() % std::size(kTiny)]);
        break;
    case 2:
        for (int i = 0; i < n; ++i)
            t.push_back(LogUniform(gen, 1e-15, 1e15));
        break;
    case 3: {
        // x and its neighbours: sums and quotients that differ in the last bits.
        double x = LogUniform(gen, 0.1, 1e4);
        for (int i = 0; i < n; ++i) {
            t.push_back(x);
            x = gen() % 2 == 0 ? std::nextafter(x, 1e300)
                               : x * (1 + static_cast<double>(gen() % 3));
        }
        break;
    }
    default: {
        const double decade = std::pow(10.0, static_cast<double>(gen() % 4));
        for (int i = 0; i < n; ++i)
            t.push_back(kE12[static_cast<std::size_t>(i) % 12] * (i >= 12 ? 10 * decade : decade));
        break;
    }
    }
    const unsigned extra = gen() % 16;
    if (extra == 1 || extra == 3)
        t.push_back(0.001);
    if (extra == 2 || extra == 3)
        t.push_back(1e12);
    if (extra == 4) {
        t.push_back(1);
        t.push_back(1 + 0x1p-52);
    }
    if (extra == 5 && gen() % 8 == 0)
        t.push_back(gen() % 2 == 0 ? 0.0 : 1e200);
    std::sort(t.begin(), t.end());
    return t;
}

inline double Pick(std::mt19937& gen, const Table& t) {
    return t[gen() % t.size()];
}

// A target near the interesting places: exact values of combinations of
// table entries (computed as the searches compute them, so exact hits and
// ties are common), those values one or two ulps off, table values, and
// anything from 1e-16 to 1e16; rarely 0, NaN or infinity.
inline double NastyTarget(std::mt19937& gen, const Table& a, const Table& b, const Table& c) {
    const double x = Pick(gen, a);
    const double y = Pick(gen, b);
    const double z = Pick(gen, c);
    double t = 0;
    switch (gen() % 10) {
    case 0:
        t = x + y;
        break;
    case 1:
        t = x * y / (x + y);
        break;
    case 2:
        t = x + y + z;
        break;
    case 3:
        t = 1 / (1 / x + 1 / y + 1 / z);
        break;
    case 4:
        t = 1 / (1 / (y + z) + 1 / x);
        break;
    case 5:
        t = 1 / (1 / y + 1 / z) + x;
        break;
    case 6:
        t = x;
        break;
    case 7:
        return LogUniform(gen, 1e-16, 1e16);
    case 8: {
        static const double kOdd[] = {0, std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity(), 1e-300, 1e300};
        return kOdd[gen() % std::size(kOdd)];
    }
    default:
        t = x * (0.5 + std::uniform_real_distribution<double>(0, 1)(gen));
        break;
    }
    switch (gen() % 4) {
    case 0:
        return std::nextafter(t, 1e300);
    case 1:
        return std::nextafter(std::nextafter(t, 0.0), 0.0);
    default:
        return t;
    }
}

// The relative tolerances of the tests: exhaustive, the default and its
// neighbours, and the largest the settings allow.
inline const double kToleranceClasses[] = {0, 1e-7, 1e-6, 1e-3, 0.05};

// Every search of the fast set, in one list.
enum class Search {
    SeriesPair,
    ParallelPair,
    SeriesTriple,
    ParallelTriple,
    ParallelSeries,
    SeriesParallel,
    DividerPair,
    DividerPairTop,
    DividerTripleTop,
    DividerSeriesTop,
    DividerPairs,
    Node3Both,
    Node3U3,
    Node3U2,
    Node4Both,
    Node4U3,
    Node4U2,
    Node5,
    Node6,
    StarSingles,
    StarSeriesFirst,
    StarParallelFirst,
    StarParallelPairs,
    StarSeriesParallelPairs,
    StarSeriesPairs,
    StarAllParallel,
};

inline const Search kResistanceSearches[] = {Search::SeriesPair,     Search::ParallelPair,
                                             Search::SeriesTriple,   Search::ParallelTriple,
                                             Search::ParallelSeries, Search::SeriesParallel};
inline const Search kDividerSearches[] = {Search::DividerPair, Search::DividerPairTop,
                                          Search::DividerTripleTop, Search::DividerSeriesTop,
                                          Search::DividerPairs};
inline const Search kNodeSearches[] = {Search::Node3Both, Search::Node3U3, Search::Node3U2,
                                       Search::Node4Both, Search::Node4U3, Search::Node4U2,
                                       Search::Node5,     Search::Node6};
inline const Search kStarSearches[] = {
    Search::StarSingles,       Search::StarSeriesFirst,         Search::StarParallelFirst,
    Search::StarParallelPairs, Search::StarSeriesParallelPairs, Search::StarSeriesPairs,
    Search::StarAllParallel};

enum class Family { Resistance, Divider, Node, Star };

inline Family FamilyOf(Search s) {
    if (s < Search::DividerPair)
        return Family::Resistance;
    if (s < Search::Node3Both)
        return Family::Divider;
    if (s < Search::StarSingles)
        return Family::Node;
    return Family::Star;
}

inline bool IsDivider(Search s) {
    return FamilyOf(s) == Family::Divider;
}

inline StarCircuit CircuitOf(Search s) {
    return static_cast<StarCircuit>(static_cast<int>(s) - static_cast<int>(Search::StarSingles));
}

// The searches that enumerate pairs, and may use a second thread.
inline bool EnumeratesPairs(Search s) {
    return s == Search::DividerPairs || s == Search::Node4U3 || s == Search::Node6 ||
           s == Search::StarSeriesFirst || s == Search::StarParallelFirst ||
           s == Search::StarAllParallel;
}

inline const char* NameOf(Search s) {
    static const char* const kNames[] = {"FindSeriesPair",
                                         "FindParallelPair",
                                         "FindSeriesTriple",
                                         "FindParallelTriple",
                                         "FindParallelSeries",
                                         "FindSeriesParallel",
                                         "FindDividerPair",
                                         "FindDividerParallelPairTop",
                                         "FindDividerParallelTripleTop",
                                         "FindDividerParallelSeriesTop",
                                         "FindDividerParallelPairs",
                                         "FindNodeDivider3Both",
                                         "FindNodeDivider3U3",
                                         "FindNodeDivider3U2",
                                         "FindNodeDivider4Both",
                                         "FindNodeDivider4U3",
                                         "FindNodeDivider4U2",
                                         "FindNodeDivider5",
                                         "FindNodeDivider6",
                                         "FindStarSingles",
                                         "FindStarSeriesFirst",
                                         "FindStarParallelFirst",
                                         "FindStarParallelPairs",
                                         "FindStarSeriesParallelPairs",
                                         "FindStarSeriesPairs",
                                         "FindStarAllParallel"};
    return kNames[static_cast<std::size_t>(s)];
}

inline int ResistorsOf(Search s) {
    switch (s) {
    case Search::SeriesPair:
    case Search::ParallelPair:
    case Search::DividerPair:
        return 2;
    case Search::SeriesTriple:
    case Search::ParallelTriple:
    case Search::ParallelSeries:
    case Search::SeriesParallel:
    case Search::DividerPairTop:
    case Search::Node3Both:
    case Search::Node3U3:
    case Search::Node3U2:
        return 3;
    case Search::DividerTripleTop:
    case Search::DividerSeriesTop:
    case Search::DividerPairs:
    case Search::Node4Both:
    case Search::Node4U3:
    case Search::Node4U2:
        return 4;
    case Search::Node5:
        return 5;
    case Search::Node6:
        return 6;
    default:
        return StarResistorCount(CircuitOf(s));
    }
}

// Which inner nodes a node-voltage search uses: 'B' both, '3' U3 only, '2'
// U2 only.
inline char NodesOf(Search s) {
    switch (s) {
    case Search::Node3U3:
    case Search::Node4U3:
        return '3';
    case Search::Node3U2:
    case Search::Node4U2:
        return '2';
    default:
        return 'B';
    }
}

// The pair tables a fast search works over: their operation and the
// indices of their two value tables among the search's tables.
struct NestedTable {
    PairOp op;
    int first;
    int second;
};

inline std::vector<NestedTable> NestedTablesOf(Search s) {
    using enum PairOp;
    switch (s) {
    case Search::SeriesPair:
    case Search::Node3U3:
    case Search::Node4U3:
        return {{Series, 0, 1}};
    case Search::ParallelPair:
    case Search::DividerPairTop:
        return {{Parallel, 0, 1}};
    case Search::SeriesTriple:
    case Search::ParallelSeries:
    case Search::DividerSeriesTop:
    case Search::Node3U2:
        return {{Series, 1, 2}};
    case Search::ParallelTriple:
    case Search::SeriesParallel:
    case Search::DividerTripleTop:
        return {{Parallel, 1, 2}};
    case Search::DividerPairs:
    case Search::Node4Both:
    case Search::Node4U2:
        return {{Parallel, 2, 3}};
    case Search::Node5:
    case Search::StarParallelPairs:
        return {{Parallel, 1, 2}, {Parallel, 3, 4}};
    case Search::Node6:
    case Search::StarAllParallel:
        return {{Parallel, 2, 3}, {Parallel, 4, 5}};
    case Search::StarSeriesParallelPairs:
        return {{Series, 1, 2}, {Parallel, 3, 4}};
    case Search::StarSeriesPairs:
        return {{Series, 1, 2}, {Series, 3, 4}};
    default:
        return {};
    }
}

// Inputs of one call: the target of a resistance search, the divider's
// voltages and range, the node voltages or the star's cases.
struct Inputs {
    double target = 0;
    double u1 = 0, u2 = 0, u3 = 0, rmin = 0, rmax = 0;
    NodeVoltageInput node;
    StarInput star;
};

// Status and outputs of one call; outputs start as -7 so that an output a
// search must not write is seen untouched.
struct Outcome {
    SearchStatus status = SearchStatus::InvalidInput;
    std::array<double, 6> out{-7.0, -7.0, -7.0, -7.0, -7.0, -7.0};
};

inline bool SameBits(const Outcome& x, const Outcome& y) {
    if (x.status != y.status)
        return false;
    for (std::size_t m = 0; m < x.out.size(); ++m)
        if (Bits(x.out[m]) != Bits(y.out[m]))
            return false;
    return true;
}

inline std::string Describe(const Outcome& o) {
    std::string s = "status " + std::to_string(static_cast<int>(o.status)) + ":";
    char buf[40];
    for (double v : o.out) {
        std::snprintf(buf, sizeof buf, " %.17g", v);
        s += buf;
    }
    return s;
}

inline std::string Describe(Search s, const Inputs& in) {
    char buf[400];
    switch (FamilyOf(s)) {
    case Family::Resistance:
        std::snprintf(buf, sizeof buf, "target %.17g", in.target);
        break;
    case Family::Divider:
        std::snprintf(buf, sizeof buf, "voltages %.17g %.17g %.17g, range %.17g %.17g", in.u1,
                      in.u2, in.u3, in.rmin, in.rmax);
        break;
    case Family::Node:
        std::snprintf(buf, sizeof buf, "nodes %.17g %.17g %.17g %.17g (%d%d), range %.17g %.17g",
                      in.node.U1, in.node.U2, in.node.U3, in.node.U4, in.node.HasU2, in.node.HasU3,
                      in.node.RMin, in.node.RMax);
        break;
    case Family::Star:
        std::snprintf(buf, sizeof buf,
                      "case 1 %.17g %.17g %.17g %.17g, case 2 %.17g %.17g %.17g %.17g, range "
                      "%.17g %.17g",
                      in.star.U0Case1, in.star.U1Case1, in.star.U2Case1, in.star.U3Case1,
                      in.star.U0Case2, in.star.U1Case2, in.star.U2Case2, in.star.U3Case2,
                      in.star.RMin, in.star.RMax);
        break;
    }
    return buf;
}

// One call. The plain version (fast == false) gets ctx.relTol as its
// tolerance; tables in resistor order (one Table object passed twice is one
// table to the search).
inline Outcome Run(Search s, bool fast, const Inputs& in, const std::vector<const Table*>& t,
                   const SearchContext& ctx) {
    const double* p[6] = {};
    int n[6] = {};
    for (std::size_t m = 0; m < t.size() && m < 6; ++m) {
        p[m] = t[m]->data();
        n[m] = static_cast<int>(t[m]->size());
    }
    Outcome o;
    double* r = o.out.data();
    const double tol = ctx.relTol;
    const NodeVoltageInput& nv = in.node;
    // clang-format off
    switch (s) {
    case Search::SeriesPair:
        o.status = fast ? fast::FindSeriesPair(in.target, p[0], n[0], p[1], n[1], r[0], r[1], ctx)
                        : static_cast<SearchStatus>(FindSeriesPair(in.target, tol, p[0], n[0], p[1], n[1], r[0], r[1]));
        break;
    case Search::ParallelPair:
        o.status = fast ? fast::FindParallelPair(in.target, p[0], n[0], p[1], n[1], r[0], r[1], ctx)
                        : static_cast<SearchStatus>(FindParallelPair(in.target, tol, p[0], n[0], p[1], n[1], r[0], r[1]));
        break;
    case Search::SeriesTriple:
        o.status = fast ? fast::FindSeriesTriple(in.target, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2], ctx)
                        : static_cast<SearchStatus>(FindSeriesTriple(in.target, tol, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2]));
        break;
    case Search::ParallelTriple:
        o.status = fast ? fast::FindParallelTriple(in.target, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2], ctx)
                        : static_cast<SearchStatus>(FindParallelTriple(in.target, tol, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2]));
        break;
    case Search::ParallelSeries:
        o.status = fast ? fast::FindParallelSeries(in.target, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2], ctx)
                        : static_cast<SearchStatus>(FindParallelSeries(in.target, tol, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2]));
        break;
    case Search::SeriesParallel:
        o.status = fast ? fast::FindSeriesParallel(in.target, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2], ctx)
                        : static_cast<SearchStatus>(FindSeriesParallel(in.target, tol, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2]));
        break;
    case Search::DividerPair:
        o.status = (fast ? fast::FindDividerPair : FindDividerPair)(in.u1, in.u2, in.u3, in.rmin, in.rmax, p[0], n[0], p[1], n[1], r[0], r[1], ctx);
        break;
    case Search::DividerPairTop:
        o.status = (fast ? fast::FindDividerParallelPairTop : FindDividerParallelPairTop)(in.u1, in.u2, in.u3, in.rmin, in.rmax, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2], ctx);
        break;
    case Search::DividerTripleTop:
        o.status = (fast ? fast::FindDividerParallelTripleTop : FindDividerParallelTripleTop)(in.u1, in.u2, in.u3, in.rmin, in.rmax, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], r[0], r[1], r[2], r[3], ctx);
        break;
    case Search::DividerSeriesTop:
        o.status = (fast ? fast::FindDividerParallelSeriesTop : FindDividerParallelSeriesTop)(in.u1, in.u2, in.u3, in.rmin, in.rmax, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], r[0], r[1], r[2], r[3], ctx);
        break;
    case Search::DividerPairs:
        o.status = (fast ? fast::FindDividerParallelPairs : FindDividerParallelPairs)(in.u1, in.u2, in.u3, in.rmin, in.rmax, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], r[0], r[1], r[2], r[3], ctx);
        break;
    case Search::Node3Both:
        o.status = (fast ? fast::FindNodeDivider3Both : FindNodeDivider3Both)(nv, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2], ctx);
        break;
    case Search::Node3U3:
        o.status = (fast ? fast::FindNodeDivider3U3 : FindNodeDivider3U3)(nv, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2], ctx);
        break;
    case Search::Node3U2:
        o.status = (fast ? fast::FindNodeDivider3U2 : FindNodeDivider3U2)(nv, p[0], n[0], p[1], n[1], p[2], n[2], r[0], r[1], r[2], ctx);
        break;
    case Search::Node4Both:
        o.status = (fast ? fast::FindNodeDivider4Both : FindNodeDivider4Both)(nv, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], r[0], r[1], r[2], r[3], ctx);
        break;
    case Search::Node4U3:
        o.status = (fast ? fast::FindNodeDivider4U3 : FindNodeDivider4U3)(nv, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], r[0], r[1], r[2], r[3], ctx);
        break;
    case Search::Node4U2:
        o.status = (fast ? fast::FindNodeDivider4U2 : FindNodeDivider4U2)(nv, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], r[0], r[1], r[2], r[3], ctx);
        break;
    case Search::Node5:
        o.status = (fast ? fast::FindNodeDivider5 : FindNodeDivider5)(nv, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], p[4], n[4], r[0], r[1], r[2], r[3], r[4], ctx);
        break;
    case Search::Node6:
        o.status = (fast ? fast::FindNodeDivider6 : FindNodeDivider6)(nv, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], p[4], n[4], p[5], n[5], r[0], r[1], r[2], r[3], r[4], r[5], ctx);
        break;
    default: {
        std::vector<StarTable> tables;
        for (std::size_t m = 0; m < t.size(); ++m)
            tables.push_back({p[m], n[m]});
        o.status = (fast ? fast::FindStar : FindStar)(CircuitOf(s), in.star, tables, o.out, ctx);
        break;
    }
    }
    // clang-format on
    return o;
}

// Builds the pair tables a fast search works over into cache, so that the
// search finds them warm.
inline void Prebuild(PairTableCache& cache, Search s, const std::vector<const Table*>& t) {
    for (const NestedTable& nt : NestedTablesOf(s)) {
        const Table& a = *t[static_cast<std::size_t>(nt.first)];
        const Table& b = *t[static_cast<std::size_t>(nt.second)];
        std::shared_ptr<const PairTable> table;
        cache.Obtain(nt.op, a.data(), static_cast<int>(a.size()), b.data(),
                     static_cast<int>(b.size()), SearchContext{}, table);
    }
}

inline Outcome RunPlain(Search s, const Inputs& in, const std::vector<const Table*>& t,
                        double relTol) {
    SearchContext ctx;
    ctx.relTol = relTol;
    return Run(s, false, in, t, ctx);
}

// The fast search on a fresh cache with these options, with its pair table
// cached before the call when prebuilt, on up to `threads` threads.
inline Outcome RunFast(Search s, const Inputs& in, const std::vector<const Table*>& t,
                       double relTol, const PairTableCache::Options& options, bool prebuilt,
                       int threads = 1) {
    PairTableCache cache(options);
    if (prebuilt)
        Prebuild(cache, s, t);
    SearchContext ctx;
    ctx.relTol = relTol;
    ctx.tables = &cache;
    ctx.threads = threads;
    return Run(s, true, in, t, ctx);
}

} // namespace ohmtrim::testing
