#include "tests/core/search_test_support.h"
#include "search/triple_searches.h"

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

// The literal pair-search references and the random tables live beside the
// pair-search tests.
namespace testref {
void SeriesPairRef(double target, double tol, const Table& a, const Table& b, double& ra,
                   double& rb);
void ParallelPairRef(double target, double tol, const Table& a, const Table& b, double& ra,
                     double& rb);
Table RandomTable(std::mt19937& rng);
} // namespace testref

namespace {

// ---- literal reference of the three-resistor searches ---------------------------------
// Same shape as the pair references: the visited candidates in scan order,
// each with the error formula of its step, and the result chosen from the
// whole list by the selection rule.

using testing::Cand;
using testing::Choose;
using testing::Shortcut;
using testing::Trace;

Trace SeriesTripleTrace(double target, double tol, const Table& a, const Table& b, const Table& c) {
    if (a[0] + b[0] + c[0] >= target)
        return Shortcut(a[0], b[0], c[0]);
    Trace t;
    double pb = 0;
    double pc = 0;
    testref::SeriesPairRef(target - a[0], 0.1 * tol, b, c, pb, pc);
    t.seed = {{a[0], pb, pc}, std::fabs(target - a[0] - pb - pc)};
    for (std::size_t i = 1; i < a.size() && !(a[i] > target); ++i) {
        testref::SeriesPairRef(target - a[i], 0.1 * tol, b, c, pb, pc);
        t.visited.push_back({{a[i], pb, pc}, std::fabs(target - (a[i] + pb + pc))});
    }
    t.result = Choose(t.seed, t.visited, tol * target);
    return t;
}

double ParallelOfThree(double a, double b, double c) {
    return 1 / (1 / a + 1 / b + 1 / c);
}

Trace ParallelTripleTrace(double target, double tol, const Table& a, const Table& b,
                          const Table& c) {
    if (target <= ParallelOfThree(a[0], b[0], c[0]))
        return Shortcut(a[0], b[0], c[0]);
    if (target >= ParallelOfThree(a.back(), b.back(), c.back()))
        return Shortcut(a.back(), b.back(), c.back());
    const double sa = a.size() > 1 ? a[1] : a[0];
    const double sb = b.size() > 1 ? b[1] : b[0];
    const double sc = c.size() > 1 ? c[1] : c[0];
    Trace t;
    t.seed = {{sa, sb, sc}, std::fabs(target - ParallelOfThree(sa, sb, sc))};
    const double g = 1 / target;
    const int i0 = CeilingRef(target + 1e-15, a);
    if (i0 < 0)
        return Shortcut(a.back(), b.back(), c.back());
    if (i0 > 0) {
        const double ap = a[static_cast<std::size_t>(i0 - 1)];
        t.visited.push_back({{ap, b.back(), c.back()},
                             std::fabs(target - ParallelOfThree(ap, b.back(), c.back()))});
    }
    for (std::size_t i = static_cast<std::size_t>(i0); i < a.size(); ++i) {
        const double d = a[i] * g - 1;
        const double x = d <= 0 ? std::numeric_limits<double>::infinity() : a[i] / d;
        double pb = 0;
        double pc = 0;
        testref::ParallelPairRef(x, tol, b, c, pb, pc);
        t.visited.push_back({{a[i], pb, pc}, std::fabs(target - ParallelOfThree(a[i], pb, pc))});
    }
    t.result = Choose(t.seed, t.visited, tol * target);
    return t;
}

Trace ParallelSeriesTrace(double target, double tol, const Table& a, const Table& b,
                          const Table& c) {
    if (target < 1 / (1 / (b[0] + c[0]) + 1 / a[0]))
        return Shortcut(a[0], b[0], c[0]);
    const double aL = a.back();
    const double bL = b.back();
    const double cL = c.back();
    Trace t;
    t.seed = {{aL, bL, cL}, std::fabs(target - (bL + cL) * aL / (aL + bL + cL))};
    for (int i = static_cast<int>(a.size()) - 2; i >= 0; --i) {
        const double ai = a[static_cast<std::size_t>(i)];
        double pb = bL;
        double pc = cL;
        if (ai > target)
            testref::SeriesPairRef(1 / (1 / target - 1 / ai), 0.1 * tol, b, c, pb, pc);
        t.visited.push_back({{ai, pb, pc}, std::fabs(target - (pb + pc) * ai / (ai + pb + pc))});
        if (!(ai > target))
            break;
    }
    t.result = Choose(t.seed, t.visited, tol * target);
    return t;
}

Trace SeriesParallelTrace(double target, double tol, const Table& a, const Table& b,
                          const Table& c) {
    if (target < a[0] + 1 / (1 / b[0] + 1 / c[0]))
        return Shortcut(a[0], b[0], c[0]);
    Trace t;
    t.seed = {{a[0], b[0], c[0]}, std::fabs(target - (1 / (1 / b[0] + 1 / c[0]) + a[0]))};
    for (const double ai : a) {
        double pb = b[0];
        double pc = c[0];
        if (!(ai >= target))
            testref::ParallelPairRef(target - ai, 0.1 * tol, b, c, pb, pc);
        t.visited.push_back({{ai, pb, pc}, std::fabs(target - (1 / (1 / pb + 1 / pc) + ai))});
        if (ai >= target)
            break;
    }
    t.result = Choose(t.seed, t.visited, tol * target);
    return t;
}

// Is r one of the visited candidates (seed included) of least error?
bool IsLeastErrorCandidate(const Trace& t, const double* r) {
    double least = t.seed.err;
    for (const auto& c : t.visited)
        least = std::min(least, c.err);
    auto same = [&](const Cand& c) {
        return c.r[0] == r[0] && c.r[1] == r[1] && c.r[2] == r[2] && c.err == least;
    };
    return same(t.seed) || std::any_of(t.visited.begin(), t.visited.end(), same);
}

using testing::Bits;

bool InTable(double x, const Table& t) {
    return std::find(t.begin(), t.end(), x) != t.end();
}

using TripleFn = int (*)(double, double, const double*, int, const double*, int, const double*, int,
                         double&, double&, double&);

struct TripleCase {
    const char* name;
    TripleFn search;
    Table a;
    Table b;
    Table c;
    double target;
    double expect[3];
};

const Table kFour{10, 22, 47, 100};
const Table kBounded{0.001, 10, 22, 47, 100, 1e9};

// All at relative tolerance 1e-6.
TEST(TripleSearches, WorkedExamples) {
    const TripleCase cases[] = {
        {"series: below first entries", FindSeriesTriple, kFour, kFour, kFour, 25, {10, 10, 10}},
        {"series: at first entries", FindSeriesTriple, kFour, kFour, kFour, 30, {10, 10, 10}},
        {"series: exact from the seed's R1",
         FindSeriesTriple,
         kFour,
         kFour,
         kFour,
         79,
         {10, 22, 47}},
        {"series: exact later", FindSeriesTriple, kFour, kFour, kFour, 180, {22, 47, 100}},
        {"series: R1 equal to target leaves 0 for the pair",
         FindSeriesTriple,
         {1, 22},
         {1, 100},
         {1, 100},
         22,
         {22, 1, 1}},
        {"parallel: at or below first entries",
         FindParallelTriple,
         kFour,
         kFour,
         kFour,
         3.3,
         {10, 10, 10}},
        {"parallel: above last entries",
         FindParallelTriple,
         kFour,
         kFour,
         kFour,
         40,
         {100, 100, 100}},
        {"parallel: 8 from three different tables",
         FindParallelTriple,
         kFour,
         {15, 33, 68, 150},
         {12, 27, 56, 120},
         8,
         {47, 15, 27}},
        {"parallel: 12 from three different tables",
         FindParallelTriple,
         kFour,
         {15, 33, 68, 150},
         {12, 27, 56, 120},
         12,
         {22, 33, 120}},
        // 49 * (1/49) - 1 rounds below zero: R1 = 49 still needs open circuits.
        {"parallel: R1 equal to target pairs with open circuits",
         FindParallelTriple,
         {10, 49, 100},
         {0.001, 10, 100, 1e9},
         {0.001, 10, 100, 1e9},
         49,
         {49, 1e9, 1e9}},
        {"parallel/series: below first entries",
         FindParallelSeries,
         kFour,
         kFour,
         kFour,
         5,
         {10, 10, 10}},
        {"parallel/series: descending scan ends at first R1 below",
         FindParallelSeries,
         kFour,
         kFour,
         kFour,
         30,
         {47, 47, 47}},
        {"parallel/series: seed of last entries",
         FindParallelSeries,
         kFour,
         kFour,
         kFour,
         60,
         {100, 100, 100}},
        {"parallel/series: R1 alone with open circuits",
         FindParallelSeries,
         kBounded,
         kBounded,
         kBounded,
         22,
         {22, 1e9, 1e9}},
        {"series/parallel: below first entries",
         FindSeriesParallel,
         kFour,
         kFour,
         kFour,
         10,
         {10, 10, 10}},
        {"series/parallel: 30", FindSeriesParallel, kFour, kFour, kFour, 30, {22, 10, 47}},
        {"series/parallel: every R1 below target",
         FindSeriesParallel,
         kFour,
         kFour,
         kFour,
         200,
         {100, 100, 100}},
        {"series/parallel: R1 meeting target ends the scan",
         FindSeriesParallel,
         {10, 47, 100},
         kFour,
         kFour,
         47,
         {47, 10, 10}},
        {"series/parallel: R1 alone with links",
         FindSeriesParallel,
         kBounded,
         kBounded,
         kBounded,
         22,
         {22, 0.001, 0.001}},
        {"series: one entry each", FindSeriesTriple, {5}, {6}, {7}, 100, {5, 6, 7}},
        {"parallel: one entry each", FindParallelTriple, {5}, {6}, {7}, 1, {5, 6, 7}},
        {"parallel/series: one entry each", FindParallelSeries, {5}, {6}, {7}, 100, {5, 6, 7}},
        {"series/parallel: one entry each", FindSeriesParallel, {5}, {6}, {7}, 100, {5, 6, 7}},
    };
    for (const auto& c : cases) {
        double r[3];
        std::fill(r, r + 3, std::numeric_limits<double>::quiet_NaN());
        EXPECT_EQ(c.search(c.target, 1e-6, c.a.data(), static_cast<int>(c.a.size()), c.b.data(),
                           static_cast<int>(c.b.size()), c.c.data(), static_cast<int>(c.c.size()),
                           r[0], r[1], r[2]),
                  0)
            << c.name;
        EXPECT_EQ(r[0], c.expect[0]) << c.name;
        EXPECT_EQ(r[1], c.expect[1]) << c.name;
        EXPECT_EQ(r[2], c.expect[2]) << c.name;
    }
}

// The circuit value the search was after, for drawing targets near real
// combinations.
double RandomTarget(std::mt19937& rng, const Table& a, const Table& b, const Table& c) {
    const double x = a[rng() % a.size()];
    const double y = b[rng() % b.size()];
    const double z = c[rng() % c.size()];
    switch (rng() % 7) {
    case 0:
        return x;
    case 1:
        return x + y + z;
    case 2:
        return ParallelOfThree(x, y, z);
    case 3:
        return 1 / (1 / (y + z) + 1 / x);
    case 4:
        return x + 1 / (1 / y + 1 / z);
    case 5:
        return x * (0.5 + std::uniform_real_distribution<double>(0, 1)(rng));
    default:
        return std::exp(std::uniform_real_distribution<double>(-8, 22)(rng));
    }
}

struct TripleSearchUnderTest {
    const char* name;
    TripleFn search;
    Trace (*reference)(double, double, const Table&, const Table&, const Table&);
};

TEST(TripleSearches, MatchLiteralReferenceOnRandomTables) {
    const TripleSearchUnderTest searches[] = {
        {"FindSeriesTriple", FindSeriesTriple, SeriesTripleTrace},
        {"FindParallelTriple", FindParallelTriple, ParallelTripleTrace},
        {"FindParallelSeries", FindParallelSeries, ParallelSeriesTrace},
        {"FindSeriesParallel", FindSeriesParallel, SeriesParallelTrace},
    };
    const double tolerances[] = {0, 1e-6, 0.01, 0.05, 0.5};
    std::mt19937 rng(777);
    for (int round = 0; round < 12000; ++round) {
        const Table a = testref::RandomTable(rng);
        const Table b = testref::RandomTable(rng);
        const Table c = testref::RandomTable(rng);
        const double target = RandomTarget(rng, a, b, c);
        for (const double tol : tolerances) {
            for (const auto& s : searches) {
                double r[3];
                std::fill(r, r + 3, std::numeric_limits<double>::quiet_NaN());
                s.search(target, tol, a.data(), static_cast<int>(a.size()), b.data(),
                         static_cast<int>(b.size()), c.data(), static_cast<int>(c.size()), r[0],
                         r[1], r[2]);
                const Trace t = s.reference(target, tol, a, b, c);
                SCOPED_TRACE(::testing::Message() << s.name << " round " << round << " target "
                                                  << target << " tol " << tol);
                ASSERT_TRUE(InTable(r[0], a) && InTable(r[1], b) && InTable(r[2], c));
                for (int k = 0; k < 3; ++k)
                    EXPECT_EQ(Bits(r[k]), Bits(t.result.r[k])) << "R" << k + 1;
                if (tol == 0 && !t.shortcut) {
                    EXPECT_TRUE(IsLeastErrorCandidate(t, r));
                }
            }
        }
    }
}

} // namespace
} // namespace ohmtrim
