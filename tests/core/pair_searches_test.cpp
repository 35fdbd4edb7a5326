#include "tests/core/search_test_support.h"
#include "search/pair_searches.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace ohmtrim {

using testing::CeilingRef;
using testing::Context;
using testing::E12From100To82000;
using testing::kSmallDividerTable;
using testing::PollCounter;
using testing::Table;

// ---- literal reference, shared with the triple-search tests ------------------------
// The pair-search traces (see search_test_support.h for the selection rule).
namespace testref {

using testing::Cand;
using testing::Choose;
using testing::Shortcut;
using testing::Trace;

int Nearest(double x, const Table& v) {
    const int n = static_cast<int>(v.size());
    if (n < 2 || x <= v[0])
        return 0;
    if (x >= v[n - 1])
        return n - 1;
    int lo = 0;
    while (v[lo + 1] <= x)
        ++lo;
    return std::fabs(v[lo + 1] - x) > std::fabs(x - v[lo]) ? lo : lo + 1;
}

void Bracket(double x, const Table& v, int& lo, int& hi) {
    const int n = static_cast<int>(v.size());
    if (n < 2 || x <= v[0]) {
        lo = hi = 0;
    } else if (x >= v[n - 1]) {
        lo = hi = n - 1;
    } else {
        lo = 0;
        while (v[lo + 1] <= x)
            ++lo;
        hi = lo + 1;
    }
}

Trace SeriesPairTrace(double target, double tol, const Table& a, const Table& b) {
    if (a[0] + b[0] >= target)
        return Shortcut(a[0], b[0]);
    Trace t;
    int j = Nearest(target - a[0], b);
    t.seed = {{a[0], b[j], 0}, std::fabs(target - a[0] - b[j])};
    for (std::size_t i = 1; i < a.size() && !(a[i] > target); ++i) {
        j = Nearest(target - a[i], b);
        t.visited.push_back({{a[i], b[j], 0}, std::fabs(target - a[i] - b[j])});
    }
    t.result = Choose(t.seed, t.visited, tol * target);
    return t;
}

Trace ParallelPairTrace(double target, double tol, const Table& a, const Table& b) {
    const double pFirst = a[0] * b[0] / (a[0] + b[0]);
    if (target <= pFirst)
        return Shortcut(a[0], b[0]);
    const double aLast = a.back();
    const double bLast = b.back();
    const double pLast = aLast * bLast / (aLast + bLast);
    if (target >= pLast)
        return Shortcut(aLast, bLast);
    const int i0 = CeilingRef(target + 1e-15, a);
    if (i0 < 0)
        return Shortcut(aLast, bLast);
    Trace t;
    t.seed = {{aLast, bLast, 0}, std::fabs(target - pLast)};
    const double g = 1 / target;
    for (std::size_t i = static_cast<std::size_t>(i0); i < a.size(); ++i) {
        const double ai = a[i];
        const double d = ai * g - 1;
        const double x = d <= 0 ? std::numeric_limits<double>::infinity() : ai / d;
        int lo = 0;
        int hi = 0;
        Bracket(x, b, lo, hi);
        t.visited.push_back({{ai, b[lo], 0}, std::fabs(target - ai * b[lo] / (ai + b[lo]))});
        if (hi != lo)
            t.visited.push_back({{ai, b[hi], 0}, std::fabs(target - ai * b[hi] / (ai + b[hi]))});
    }
    t.result = Choose(t.seed, t.visited, tol * target);
    return t;
}

void SeriesPairRef(double target, double tol, const Table& a, const Table& b, double& ra,
                   double& rb) {
    const Trace t = SeriesPairTrace(target, tol, a, b);
    ra = t.result.r[0];
    rb = t.result.r[1];
}

void ParallelPairRef(double target, double tol, const Table& a, const Table& b, double& ra,
                     double& rb) {
    const Trace t = ParallelPairTrace(target, tol, a, b);
    ra = t.result.r[0];
    rb = t.result.r[1];
}

// A small ascending table: a few standard values over four decades, drawn
// with repeats, sometimes from a tiny pool so that exact sums and ties are
// common, sometimes with a short-circuit and an open-circuit entry.
Table RandomTable(std::mt19937& rng) {
    // 9.1 and 6800 are values whose reciprocal times themselves rounds below 1.
    static const double kWide[] = {1,  1.5, 2.2, 3.3, 4.7, 6.8, 9.1, 10,   15,   22,   33,
                                   47, 68,  100, 150, 220, 330, 470, 1000, 2200, 4700, 6800};
    static const double kTiny[] = {10, 20, 30, 40};
    const bool tiny = rng() % 3 == 0;
    const int n = 1 + static_cast<int>(rng() % 7);
    Table t;
    for (int i = 0; i < n; ++i)
        t.push_back(tiny ? kTiny[rng() % 4] : kWide[rng() % 22]);
    std::sort(t.begin(), t.end());
    const unsigned boundary = rng() % 4;
    if (boundary & 1)
        t.insert(t.begin(), 0.001);
    if (boundary & 2)
        t.push_back(1e9);
    return t;
}

// Targets that hit the interesting places: table entries, sums and parallel
// values of entries (exact hits and ties), and arbitrary values in between.
double RandomTarget(std::mt19937& rng, const Table& a, const Table& b) {
    const double x = a[rng() % a.size()];
    const double y = b[rng() % b.size()];
    switch (rng() % 5) {
    case 0:
        return x;
    case 1:
        return x + y;
    case 2:
        return x * y / (x + y);
    case 3:
        return x * (0.5 + std::uniform_real_distribution<double>(0, 1)(rng));
    default:
        return std::exp(std::uniform_real_distribution<double>(-7, 22)(rng));
    }
}

const double kTolerances[] = {0, 1e-6, 0.01, 0.05, 0.5};

} // namespace testref

namespace {

using testing::Bits;
using testref::Trace;

bool InTable(double x, const Table& t) {
    return std::find(t.begin(), t.end(), x) != t.end();
}

// Is (ra, rb) one of the visited candidates (seed included) of least error?
bool IsLeastErrorCandidate(const Trace& t, double ra, double rb) {
    double least = t.seed.err;
    for (const auto& c : t.visited)
        least = std::min(least, c.err);
    if (t.seed.r[0] == ra && t.seed.r[1] == rb && t.seed.err == least)
        return true;
    for (const auto& c : t.visited)
        if (c.r[0] == ra && c.r[1] == rb && c.err == least)
            return true;
    return false;
}

using PairFn = int (*)(double, double, const double*, int, const double*, int, double&, double&);

struct PairCase {
    const char* name;
    PairFn search;
    Table a;
    Table b;
    double target;
    double relTol;
    double expectA;
    double expectB;
};

const Table kFour{10, 22, 47, 100};
const Table kE12{10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82, 100};

TEST(PairSearches, WorkedExamples) {
    const PairCase cases[] = {
        {"series: sum of first entries not below target",
         FindSeriesPair,
         {10, 22, 47},
         {10, 22, 47},
         5,
         1e-6,
         10,
         10},
        {"series: exact pair found after the seed",
         FindSeriesPair,
         {10, 22, 47},
         {10, 22, 47},
         69,
         1e-6,
         22,
         47},
        {"series: exact seed kept against a later exact pair",
         FindSeriesPair,
         {10, 20},
         {10, 20},
         30,
         1e-6,
         10,
         20},
        {"series: seed partner tie goes to the larger", FindSeriesPair, {10}, kE12, 40, 0, 10, 33},
        {"series: early exit within 5 %", FindSeriesPair, kE12, kE12, 40, 0.05, 12, 27},
        {"series: tolerance 0 scans on to the best", FindSeriesPair, kE12, kE12, 40, 0, 18, 22},
        {"series: entry equal to target tried with first partner",
         FindSeriesPair,
         {1, 50},
         {1, 100},
         50,
         0,
         50,
         1},
        {"series: one entry each", FindSeriesPair, {5}, {7}, 100, 0, 5, 7},
        {"parallel: equal later error does not replace", FindParallelPair, kFour, kFour, 15, 1e-6,
         22, 47},
        {"parallel: early exit within 5 %", FindParallelPair, kE12, kE12, 9, 0.05, 10, 82},
        {"parallel: tolerance 0 scans on to the best", FindParallelPair, kE12, kE12, 9, 0, 18, 18},
        {"parallel: at value of last entries", FindParallelPair, kFour, kFour, 50, 1e-6, 100, 100},
        {"parallel: above value of last entries", FindParallelPair, kFour, kFour, 60, 1e-6, 100,
         100},
        {"parallel: at value of first entries", FindParallelPair, kFour, kFour, 5, 1e-6, 10, 10},
        {"parallel: below value of first entries", FindParallelPair, kFour, kFour, 3, 1e-6, 10, 10},
        {"parallel: open-circuit R1 leaves R2 alone",
         FindParallelPair,
         {10, 22, 47, 1e9},
         kFour,
         21.5,
         0,
         1e9,
         22},
        {"parallel: one entry each", FindParallelPair, {5}, {7}, 3, 0, 5, 7},
        // 49 * (1/49) - 1 rounds to -1.1e-16 instead of 0: the R1 equal to the
        // target must still be paired with the open circuit.
        {"parallel: R1 equal to target, rounding below zero",
         FindParallelPair,
         {10, 49, 100, 1e9},
         {0.001, 10, 100, 1e9},
         49,
         0,
         49,
         1e9},
        {"parallel: R1 equal to target, rounding to zero",
         FindParallelPair,
         {10, 47, 100, 1e9},
         {0.001, 10, 100, 1e9},
         47,
         0,
         47,
         1e9},
    };
    for (const auto& c : cases) {
        double ra = std::numeric_limits<double>::quiet_NaN();
        double rb = ra;
        EXPECT_EQ(c.search(c.target, c.relTol, c.a.data(), static_cast<int>(c.a.size()), c.b.data(),
                           static_cast<int>(c.b.size()), ra, rb),
                  0)
            << c.name;
        EXPECT_EQ(ra, c.expectA) << c.name;
        EXPECT_EQ(rb, c.expectB) << c.name;
    }
}

struct PairSearchUnderTest {
    const char* name;
    PairFn search;
    Trace (*reference)(double, double, const Table&, const Table&);
};

// Both searches against the reference on random small tables: the same values
// bit for bit, always entries of their tables, and with tolerance 0 the
// smallest error of everything the scan visits.
TEST(PairSearches, MatchLiteralReferenceOnRandomTables) {
    const PairSearchUnderTest searches[] = {
        {"FindSeriesPair", FindSeriesPair, testref::SeriesPairTrace},
        {"FindParallelPair", FindParallelPair, testref::ParallelPairTrace},
    };
    std::mt19937 rng(20240611);
    for (int round = 0; round < 10000; ++round) {
        const Table a = testref::RandomTable(rng);
        const Table b = testref::RandomTable(rng);
        const double target = testref::RandomTarget(rng, a, b);
        for (const double tol : testref::kTolerances) {
            for (const auto& s : searches) {
                double ra = std::numeric_limits<double>::quiet_NaN();
                double rb = ra;
                s.search(target, tol, a.data(), static_cast<int>(a.size()), b.data(),
                         static_cast<int>(b.size()), ra, rb);
                const Trace t = s.reference(target, tol, a, b);
                SCOPED_TRACE(::testing::Message() << s.name << " round " << round << " target "
                                                  << target << " tol " << tol);
                ASSERT_TRUE(InTable(ra, a) && InTable(rb, b));
                EXPECT_EQ(Bits(ra), Bits(t.result.r[0]));
                EXPECT_EQ(Bits(rb), Bits(t.result.r[1]));
                if (tol == 0 && !t.shortcut) {
                    EXPECT_TRUE(IsLeastErrorCandidate(t, ra, rb));
                }
            }
        }
    }
}

} // namespace
} // namespace ohmtrim
