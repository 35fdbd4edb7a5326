#include "tests/core/search_test_support.h"
#include "search/divider_searches.h"

#include "search/pair_searches.h"
#include "search/triple_searches.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Bits;
using testing::CeilingRef;
using testing::Context;
using testing::E12From100To82000;
using testing::kSmallDividerTable;
using testing::PollCounter;
using testing::Table;
using Outs = std::array<double, 4>;

constexpr double U = -7.0; // an output the search must not touch

enum class Routine { PairTop, TripleTop, SeriesTop, Pairs };

const char* NameOf(Routine r) {
    switch (r) {
    case Routine::PairTop:
        return "ParallelPairTop";
    case Routine::TripleTop:
        return "ParallelTripleTop";
    case Routine::SeriesTop:
        return "ParallelSeriesTop";
    case Routine::Pairs:
        return "ParallelPairs";
    }
    return "";
}

int Resistors(Routine r) {
    return r == Routine::PairTop ? 3 : 4;
}

struct Inputs {
    double u1, u2, u3, rmin, rmax;
};

// Runs one routine; tables in resistor order (the same Table object passed
// twice is the same table to the search). Unused outputs stay untouched.
SearchStatus RunRoutine(Routine r, const Inputs& in, const std::vector<const Table*>& t, Outs& o,
                        const SearchContext& ctx) {
    auto p = [&](int m) { return t[m]->data(); };
    auto n = [&](int m) { return static_cast<int>(t[m]->size()); };
    switch (r) {
    case Routine::PairTop:
        return FindDividerParallelPairTop(in.u1, in.u2, in.u3, in.rmin, in.rmax, p(0), n(0), p(1),
                                          n(1), p(2), n(2), o[0], o[1], o[2], ctx);
    case Routine::TripleTop:
        return FindDividerParallelTripleTop(in.u1, in.u2, in.u3, in.rmin, in.rmax, p(0), n(0), p(1),
                                            n(1), p(2), n(2), p(3), n(3), o[0], o[1], o[2], o[3],
                                            ctx);
    case Routine::SeriesTop:
        return FindDividerParallelSeriesTop(in.u1, in.u2, in.u3, in.rmin, in.rmax, p(0), n(0), p(1),
                                            n(1), p(2), n(2), p(3), n(3), o[0], o[1], o[2], o[3],
                                            ctx);
    case Routine::Pairs:
        return FindDividerParallelPairs(in.u1, in.u2, in.u3, in.rmin, in.rmax, p(0), n(0), p(1),
                                        n(1), p(2), n(2), p(3), n(3), o[0], o[1], o[2], o[3], ctx);
    }
    return SearchStatus::InvalidInput;
}

const Routine kAll[] = {Routine::PairTop, Routine::TripleTop, Routine::SeriesTop, Routine::Pairs};

// ---- worked examples ---------------------------------------------------------------

struct Example {
    const char* name;
    Routine routine;
    Inputs in;
    std::vector<Table> tables; // one per resistor
    double relTol;
    SearchStatus status;
    Outs expected;
};

TEST(DividerMulti, Examples) {
    const auto F = SearchStatus::Found;
    const auto N = SearchStatus::NoSolution;
    const Example cases[] = {
        // k = 1: q = 1000 wants 1000 above it, 2000 // 2000.
        {"pair top, exact",
         Routine::PairTop,
         {10, 5, 0, 100, 10000},
         {{1000, 2000}, {1000, 2000}, {1000}},
         1e-6,
         F,
         {2000, 2000, 1000, U}},
        // k = 2/3, u = 0.6: 400 // 400 = 200 over 300.
        {"pair top, rising voltages",
         Routine::PairTop,
         {0, 2, 5, 100, 1000},
         {{400}, {400}, {300}},
         1e-6,
         F,
         {400, 400, 300, U}},
        // The upper branch is always 1000: q = 100 misses by 9, q = 1000 is exact.
        {"pair top, later q is better",
         Routine::PairTop,
         {10, 5, 0, 100, 100000},
         {{2000}, {2000}, {100, 1000, 10000}},
         1e-6,
         F,
         {2000, 2000, 1000, U}},
        // Both q are exact: 200 // 200 over 100, 400 // 400 over 200.
        {"pair top, tolerance 0 keeps the smaller of equal errors",
         Routine::PairTop,
         {10, 5, 0, 1, 100000},
         {{200, 400}, {200, 400}, {100, 200}},
         0,
         F,
         {200, 200, 100, U}},
        // The upper branch is always 500: q = 450 misses by 0.11, q = 500 is exact.
        {"pair top, first q within tolerance ends the scan",
         Routine::PairTop,
         {10, 5, 0, 1, 100000},
         {{1000}, {1000}, {450, 500}},
         0.2,
         F,
         {1000, 1000, 450, U}},
        {"pair top, tolerance 0 goes on to the exact q",
         Routine::PairTop,
         {10, 5, 0, 1, 100000},
         {{1000}, {1000}, {450, 500}},
         0,
         F,
         {1000, 1000, 500, U}},
        // Rmin * u = 1500 lies above every q although 100 + 25000 would fit.
        {"pair top, Rmin * u above the lower table",
         Routine::PairTop,
         {10, 5, 0, 3000, 100000},
         {{50000}, {50000}, {100, 1000}},
         1e-6,
         N,
         {U, U, U, U}},
        // q = 2000 exceeds Rmax * u = 1500, but 500 + 2000 lies within Rmax.
        {"pair top has no q limit",
         Routine::PairTop,
         {10, 5, 0, 100, 3000},
         {{1000}, {1000}, {2000}},
         1e-6,
         F,
         {1000, 1000, 2000, U}},
        {"triple top stops at q above Rmax * u",
         Routine::TripleTop,
         {10, 5, 0, 100, 3000},
         {{1500}, {1500}, {1500}, {2000}},
         1e-6,
         N,
         {0, 0, 0, 0}},
        {"triple top, q equal to Rmax * u",
         Routine::TripleTop,
         {10, 5, 0, 100, 4000},
         {{1500}, {1500}, {1500}, {2000}},
         1e-6,
         F,
         {1500, 1500, 1500, 2000}},
        {"series top stops at q above Rmax * u",
         Routine::SeriesTop,
         {10, 5, 0, 100, 3000},
         {{1000}, {500}, {500}, {2000}},
         1e-6,
         N,
         {0, 0, 0, 0}},
        {"triple top, 300 // 300 // 300 over 100",
         Routine::TripleTop,
         {10, 5, 0, 100, 1000},
         {{300}, {300}, {300}, {100}},
         1e-6,
         F,
         {300, 300, 300, 100}},
        {"series top, 200 // (100 + 100) over 100",
         Routine::SeriesTop,
         {10, 5, 0, 100, 1000},
         {{200}, {100}, {100}, {100}},
         1e-6,
         F,
         {200, 100, 100, 100}},
        {"series top, rising voltages",
         Routine::SeriesTop,
         {0, 5, 10, 100, 1000},
         {{200}, {100}, {100}, {100}},
         1e-6,
         F,
         {200, 100, 100, 100}},
        // Total 2000 ends above Rmax: nothing recorded, outputs cleared.
        {"pair top, every total above Rmax",
         Routine::PairTop,
         {10, 5, 0, 100, 1500},
         {{2000}, {2000}, {1000}},
         1e-6,
         N,
         {0, 0, 0, U}},
        // 400 // 400 = 200 over 400 // 200 misses u by 0.1; 400 // 200 over
        // 400 // 200 is exact.
        {"pairs, separate tables",
         Routine::Pairs,
         {10, 5, 0, 1, 100000},
         {{100, 200, 400}, {100, 200, 400}, {400}, {200}},
         1e-6,
         F,
         {400, 200, 400, 200}},
        {"pairs, rising voltages",
         Routine::Pairs,
         {0, 5, 10, 1, 100000},
         {{100, 200, 400}, {100, 200, 400}, {400}, {200}},
         1e-6,
         F,
         {400, 200, 400, 200}},
        // 400 // 400 over 400 // 200 misses u by 0.1 < 0.3 u: returned at once.
        {"pairs, first pair within tolerance returns",
         Routine::Pairs,
         {10, 5, 0, 1, 100000},
         {{100, 200, 400}, {100, 200, 400}, {400}, {200}},
         0.3,
         F,
         {400, 400, 400, 200}},
        // 400 // 200 and later 200 // 400 are both exact.
        {"pairs, tolerance 0 keeps the earlier of equal errors",
         Routine::Pairs,
         {10, 5, 0, 1, 100000},
         {{100, 200, 400}, {100, 200, 400}, {400}, {200}},
         0,
         F,
         {400, 200, 400, 200}},
        // P_min = 1000 lies above every R1.
        {"pairs, P_min above the R1 table",
         Routine::Pairs,
         {10, 5, 0, 2000, 100000},
         {{100, 200, 400}, {100, 200, 400}, {400}, {200}},
         1e-6,
         N,
         {U, U, U, U}},
        // P = 200 lies above P_max = 150 although 200 + 50 would fit Rmax.
        {"pairs, P above P_max is skipped",
         Routine::Pairs,
         {10, 5, 0, 1, 300},
         {{400}, {400}, {100}, {100}},
         1e-6,
         N,
         {0, 0, 0, 0}},
        {"pairs, P equal to P_max",
         Routine::Pairs,
         {10, 5, 0, 1, 400},
         {{400}, {400}, {100}, {100}},
         1e-6,
         F,
         {400, 400, 100, 100}},
        // P_min = 100, P_max = 400: 1000 // 1000 is too large, 1000 // 10 too
        // small; the scan goes on with R1 = 150, where 150 // 1000 fits.
        {"pairs, P below P_min moves on to the next R1",
         Routine::Pairs,
         {10, 5, 0, 200, 800},
         {{150, 1000}, {10, 1000}, {1000}, {1000}},
         1e-6,
         F,
         {150, 1000, 1000, 1000}},
        {"pairs, P below P_min",
         Routine::Pairs,
         {10, 5, 0, 200, 800},
         {{100}, {100}, {1000}, {1000}},
         1e-6,
         N,
         {0, 0, 0, 0}},
        // P = 200 fits P_min = 150 .. P_max = 250, but 200 + 500 exceeds Rmax.
        {"pairs, total above Rmax skipped",
         Routine::Pairs,
         {10, 5, 0, 300, 500},
         {{400}, {400}, {1000}, {1000}},
         1e-6,
         N,
         {0, 0, 0, 0}},
        // The upper branch is always 10: 300 + 10 lies below Rmin and is
        // skipped although its ratio is closer than that of 1000.
        {"pair top, total below Rmin skipped",
         Routine::PairTop,
         {10, 5, 0, 500, 100000},
         {{20}, {20}, {300, 1000}},
         1e-6,
         F,
         {20, 20, 1000, U}},
    };
    for (const auto& c : cases) {
        std::vector<const Table*> t;
        for (const auto& table : c.tables)
            t.push_back(&table);
        PollCounter counter;
        Outs o{U, U, U, U};
        EXPECT_EQ(RunRoutine(c.routine, c.in, t, o, Context(c.relTol, counter)), c.status)
            << c.name;
        EXPECT_EQ(o, c.expected) << c.name;
    }
}

// One value set for R1 and R2: each unordered pair is tried once, R1 <= R2.
TEST(DividerMulti, ParallelPairsWithOneTableForBothUpperResistors) {
    const Table upper{100, 200, 400};
    const Table copy = upper;
    const Table lower3{400}, lower4{200};
    const struct {
        const char* name;
        const Table* r2;
        Outs expected;
    } cases[] = {
        {"same table", &upper, {200, 400, 400, 200}},
        {"equal copy", &copy, {400, 200, 400, 200}},
    };
    for (const auto& c : cases) {
        PollCounter counter;
        Outs o{U, U, U, U};
        EXPECT_EQ(RunRoutine(Routine::Pairs, {10, 5, 0, 1, 100000},
                             {&upper, c.r2, &lower3, &lower4}, o, Context(1e-6, counter)),
                  SearchStatus::Found)
            << c.name;
        EXPECT_EQ(o, c.expected) << c.name;
    }
}

TEST(DividerMulti, InvalidInputLeavesOutputsUntouched) {
    const Inputs cases[] = {
        {10, 5, 0, 0, 1000},      {10, 5, 0, -1, 1000},   {10, 5, 0, 1000, 2e15},
        {10, 5, 0, 1000, 1000},   {10, 5, 0, 2000, 1000}, {10, 10, 0, 100, 1000},
        {10, 0, 0, 100, 1000},    {0, 0, 0, 100, 1000},   {10, 11, 0, 100, 1000},
        {1, 1 - 5e-16, 0, 1, 10}, {0, 5e-16, 1, 1, 10},
    };
    const Table t{100, 200};
    for (Routine r : kAll)
        for (const auto& in : cases) {
            PollCounter counter;
            Outs o{U, U, U, U};
            EXPECT_EQ(RunRoutine(r, in, {&t, &t, &t, &t}, o, Context(1e-6, counter)),
                      SearchStatus::InvalidInput)
                << NameOf(r) << " U " << in.u1 << "/" << in.u2 << "/" << in.u3 << " R " << in.rmin
                << ".." << in.rmax;
            EXPECT_EQ(o, (Outs{U, U, U, U})) << NameOf(r);
            EXPECT_EQ(counter.polls, 0) << NameOf(r);
        }
}

// ---- Escape polls ------------------------------------------------------------------

Table Ascending(int n, double first) {
    Table t;
    for (int i = 0; i < n; ++i)
        t.push_back(first * (i + 1));
    return t;
}

// The lower-branch routines poll before the 1st, 21st, 41st ... q they try,
// counting from the start index.
TEST(DividerMulti, LowerBranchRoutinesPollEveryTwentiethCandidate) {
    const struct {
        int entries;
        double rmin;
        int downFrom;
        SearchStatus status;
        int polls;
    } cases[] = {
        {20, 1, INT_MAX, SearchStatus::Found, 1},
        {21, 1, INT_MAX, SearchStatus::Found, 2},
        {40, 1, INT_MAX, SearchStatus::Found, 2},
        {41, 1, INT_MAX, SearchStatus::Found, 3},
        // Rmin * u = 50 starts the scan at the 5th entry (50): the step
        // counter starts there.
        {24, 100, INT_MAX, SearchStatus::Found, 1},
        {25, 100, INT_MAX, SearchStatus::Found, 2},
        // Escape held from the start: aborted before the first candidate.
        {41, 1, 1, SearchStatus::Aborted, 1},
        {41, 1, 3, SearchStatus::Aborted, 3},
    };
    const Table upper = Ascending(5, 10);
    for (Routine r : {Routine::PairTop, Routine::TripleTop, Routine::SeriesTop})
        for (const auto& c : cases) {
            const Table lower = Ascending(c.entries, 10);
            std::vector<const Table*> t(static_cast<std::size_t>(Resistors(r)) - 1, &upper);
            t.push_back(&lower);
            PollCounter counter;
            counter.downFrom = c.downFrom;
            Outs o{U, U, U, U};
            // Tolerance 0 and a wide range: the whole table from the start index.
            const SearchStatus status =
                RunRoutine(r, {10, 5, 0, c.rmin, 1e15}, t, o, Context(0, counter));
            const auto label = ::testing::Message()
                               << NameOf(r) << ", " << c.entries << " entries, Rmin " << c.rmin
                               << ", down from poll " << c.downFrom;
            EXPECT_EQ(status, c.status) << label;
            EXPECT_EQ(counter.polls, c.polls) << label;
            if (status == SearchStatus::Aborted) {
                EXPECT_EQ(o, (Outs{U, U, U, U})) << label;
            }
        }
}

// FindDividerParallelPairs polls when its pair counter reaches 20, 40, ...
TEST(DividerMulti, ParallelPairsPollsEveryTwentiethPair) {
    const auto F = SearchStatus::Found;
    const auto A = SearchStatus::Aborted;
    const int never = INT_MAX;
    const struct {
        const char* name;
        double r1First; // R1 = r1First, 2 r1First, ...; R2 = 10, 20, ...
        int r1Entries, r2Entries;
        bool sameTable;
        double rmin;
        int downFrom;
        SearchStatus status;
        int polls;
    } cases[] = {
        {"19 pairs, no poll", 10, 1, 19, false, 1e-3, never, F, 0},
        {"19 pairs with Escape held: completes", 10, 1, 19, false, 1e-3, 1, F, 0},
        {"20 pairs, one poll", 10, 1, 20, false, 1e-3, never, F, 1},
        {"20 pairs with Escape held: aborted at the 20th", 10, 1, 20, false, 1e-3, 1, A, 1},
        {"39 pairs", 10, 3, 13, false, 1e-3, never, F, 1},
        {"40 pairs", 10, 4, 10, false, 1e-3, never, F, 2},
        {"same table of 6: 21 pairs", 10, 6, 6, true, 1e-3, never, F, 1},
        {"same table of 8: 36 pairs", 10, 8, 8, true, 1e-3, never, F, 1},
        {"same table of 9: 45 pairs", 10, 9, 9, true, 1e-3, never, F, 2},
        {"same table of 9, Escape from the 2nd poll", 10, 9, 9, true, 1e-3, 2, A, 2},
        // P_min = 200: 1000 // 240 is the 17th pair and the last one counted.
        {"P below P_min leaves the R2 loop", 1000, 1, 40, false, 400, never,
         SearchStatus::NoSolution, 0},
    };
    const Table lower = Ascending(4, 10);
    for (const auto& c : cases) {
        const Table r1 = Ascending(c.r1Entries, c.r1First);
        const Table r2 = Ascending(c.r2Entries, 10);
        PollCounter counter;
        counter.downFrom = c.downFrom;
        Outs o{U, U, U, U};
        const SearchStatus status =
            RunRoutine(Routine::Pairs, {10, 5, 0, c.rmin, 1e15},
                       {&r1, c.sameTable ? &r1 : &r2, &lower, &lower}, o, Context(0, counter));
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(counter.polls, c.polls) << c.name;
        if (status == SearchStatus::Aborted) {
            EXPECT_EQ(o, (Outs{U, U, U, U})) << c.name;
        }
    }
}

// One array with two counts is two tables: every pair is tried.
TEST(DividerMulti, ParallelPairsSameArrayWithAnotherCountIsAnotherTable) {
    const double values[] = {100, 200, 400};
    const double lower3[] = {400};
    const double lower4[] = {200};
    PollCounter counter;
    Outs o{U, U, U, U};
    // R2 from {100, 200}: 400 // 200 over 400 // 200 is exact, and it needs
    // R1 above R2.
    EXPECT_EQ(FindDividerParallelPairs(10, 5, 0, 1, 100000, values, 3, values, 2, lower3, 1, lower4,
                                       1, o[0], o[1], o[2], o[3], Context(1e-6, counter)),
              SearchStatus::Found);
    EXPECT_EQ(o, (Outs{400, 200, 400, 200}));
}

Table E12From10To100() {
    return {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82, 100};
}

// The inner search runs with a tenth of the relative tolerance. With both
// tables E12 10..100, the parallel pair for 9 is (10, 82) at 0.05 (the
// first within 5 %), so a divider at 0.5 that needs 9 from a pair gets it.
TEST(DividerMulti, InnerSearchGetsATenthOfTheTolerance) {
    const Table e12 = E12From10To100();
    const Table nine{9}, eighteen{18};
    const struct {
        const char* name;
        Routine routine;
        std::vector<const Table*> tables;
        Outs expected;
    } cases[] = {
        // k = 1 and q = 9: the upper pair must make 9.
        {"pair top", Routine::PairTop, {&e12, &e12, &nine}, {10, 82, 9, U}},
        // u = 0.5 and P = 18 // 18 = 9: the lower pair must make 9.
        {"pairs", Routine::Pairs, {&eighteen, &eighteen, &e12, &e12}, {18, 18, 10, 82}},
    };
    for (const auto& c : cases) {
        PollCounter counter;
        Outs o{U, U, U, U};
        EXPECT_EQ(RunRoutine(c.routine, {10, 5, 0, 1, 1000}, c.tables, o, Context(0.5, counter)),
                  SearchStatus::Found)
            << c.name;
        EXPECT_EQ(o, c.expected) << c.name;
    }
}

// The same for the three-resistor upper branches, against the inner search
// called directly; the row only counts where the full tolerance would give
// another answer.
TEST(DividerMulti, TripleUpperBranchesGetATenthOfTheTolerance) {
    const Table e12 = E12From10To100();
    for (Routine r : {Routine::TripleTop, Routine::SeriesTop}) {
        int counted = 0;
        for (double q : {5.0, 6.0, 7.0, 8.0, 9.0, 11.0, 13.0, 17.0}) {
            const Table lower{q};
            const std::vector<const Table*> t{&e12, &e12, &e12, &lower};
            Outs tenth{U, U, U, U}, full{U, U, U, U};
            const int n = static_cast<int>(e12.size());
            const double* v = e12.data();
            if (r == Routine::TripleTop) {
                FindParallelTriple(q, 0.05, v, n, v, n, v, n, tenth[0], tenth[1], tenth[2]);
                FindParallelTriple(q, 0.5, v, n, v, n, v, n, full[0], full[1], full[2]);
            } else {
                FindParallelSeries(q, 0.05, v, n, v, n, v, n, tenth[0], tenth[1], tenth[2]);
                FindParallelSeries(q, 0.5, v, n, v, n, v, n, full[0], full[1], full[2]);
            }
            if (tenth == full)
                continue;
            ++counted;
            tenth[3] = q;
            PollCounter counter;
            Outs o{U, U, U, U};
            const SearchStatus status =
                RunRoutine(r, {10, 5, 0, 1, 1000}, t, o, Context(0.5, counter));
            EXPECT_EQ(status, SearchStatus::Found) << NameOf(r) << ", q " << q;
            EXPECT_EQ(o, tenth) << NameOf(r) << ", q " << q;
        }
        EXPECT_GT(counted, 0) << NameOf(r);
    }
}

// ---- property tests: tolerance 0 against a literal reference ----------------

// Upper branch by the inner search of each routine; values written to v.
double ReferenceUpper(Routine r, double target, const std::vector<const Table*>& t, Outs& v) {
    auto p = [&](int m) { return t[m]->data(); };
    auto n = [&](int m) { return static_cast<int>(t[m]->size()); };
    switch (r) {
    case Routine::PairTop:
        FindParallelPair(target, 0, p(0), n(0), p(1), n(1), v[0], v[1]);
        return v[0] * v[1] / (v[0] + v[1]);
    case Routine::TripleTop:
        FindParallelTriple(target, 0, p(0), n(0), p(1), n(1), p(2), n(2), v[0], v[1], v[2]);
        return 1 / (1 / v[0] + 1 / v[1] + 1 / v[2]);
    case Routine::SeriesTop:
        FindParallelSeries(target, 0, p(0), n(0), p(1), n(1), p(2), n(2), v[0], v[1], v[2]);
        return 1 / (1 / (v[1] + v[2]) + 1 / v[0]);
    case Routine::Pairs:
        break;
    }
    return 0;
}

// The lower resistor q from the first entry not below Rmin * u upwards; the
// triple and series routines end at the first q above Rmax * u, all end at
// the first total above Rmax. The smallest ratio error wins, the earliest on
// ties.
SearchStatus ReferenceLowerBranch(Routine r, const Inputs& in, const std::vector<const Table*>& t,
                                  Outs& o) {
    const double k = (in.u1 - in.u2) / (in.u2 - in.u3);
    const double u = (in.u2 - in.u3) / (in.u1 - in.u3);
    const int last = Resistors(r) - 1;
    const Table& lower = *t[static_cast<std::size_t>(last)];
    std::size_t s = 0;
    while (s < lower.size() && lower[s] < in.rmin * u)
        ++s;
    if (s == lower.size())
        return SearchStatus::NoSolution;
    bool found = false;
    double bestError = 0;
    Outs best{0.0, 0.0, 0.0, 0.0};
    for (std::size_t i = s; i < lower.size(); ++i) {
        const double q = lower[i];
        if (r != Routine::PairTop && q > in.rmax * u)
            break;
        Outs v{0.0, 0.0, 0.0, 0.0};
        const double up = ReferenceUpper(r, k * q, t, v);
        const double total = q + up;
        if (total > in.rmax)
            break;
        if (total < in.rmin)
            continue;
        const double e = std::fabs(k - up / q);
        if (!found || e < bestError) {
            found = true;
            bestError = e;
            best = v;
            best[static_cast<std::size_t>(last)] = q;
        }
    }
    for (int m = 0; m <= last; ++m)
        o[static_cast<std::size_t>(m)] = best[static_cast<std::size_t>(m)];
    return found ? SearchStatus::Found : SearchStatus::NoSolution;
}

// Every upper pair, R1 from the top of its table down, R2 likewise (only
// R2 >= R1 by index when both come from one table); pairs whose P lies
// outside P_min..P_max and totals outside Rmin..Rmax are left out. The
// smallest fraction error wins, the earliest on ties.
SearchStatus ReferencePairs(const Inputs& in, const std::vector<const Table*>& t, Outs& o) {
    const double u = (in.u2 - in.u3) / (in.u1 - in.u3);
    const double pMin = in.rmin * (1 - u);
    const double pMax = in.rmax * (1 - u);
    const Table& t1 = *t[0];
    const Table& t2 = *t[1];
    if (t1.back() < pMin)
        return SearchStatus::NoSolution;
    const bool same = t[0] == t[1];
    bool found = false;
    double bestError = 0;
    Outs best{0.0, 0.0, 0.0, 0.0};
    for (int j = static_cast<int>(t1.size()) - 1; j >= 0; --j) {
        if (t1[static_cast<std::size_t>(j)] < pMin)
            break;
        for (int i = static_cast<int>(t2.size()) - 1; i >= (same ? j : 0); --i) {
            const double a = t1[static_cast<std::size_t>(j)];
            const double b = t2[static_cast<std::size_t>(i)];
            const double p = a * b / (a + b);
            if (p < pMin || p > pMax)
                continue;
            double c = 0, d = 0;
            FindParallelPair(p * u / (1 - u), 0, t[2]->data(), static_cast<int>(t[2]->size()),
                             t[3]->data(), static_cast<int>(t[3]->size()), c, d);
            const double low = c * d / (c + d);
            const double total = p + low;
            if (total < in.rmin || total > in.rmax)
                continue;
            const double e = std::fabs(u - low / total);
            if (!found || e < bestError) {
                found = true;
                bestError = e;
                best = {a, b, c, d};
            }
        }
    }
    o = best;
    return found ? SearchStatus::Found : SearchStatus::NoSolution;
}

TEST(DividerMulti, ToleranceZeroMatchesReferenceOnRandomTables) {
    int found = 0;
    for (Routine r : kAll)
        for (std::uint32_t seed = 1; seed <= 150; ++seed) {
            std::mt19937 gen(seed * 7919u + static_cast<std::uint32_t>(r));
            const bool dense = seed % 2 == 0;
            std::vector<Table> tables;
            for (int m = 0; m < Resistors(r); ++m)
                tables.push_back(testing::RandomDistinctTable(gen, dense, 9, 30, 10000));
            std::vector<const Table*> t;
            for (const auto& table : tables)
                t.push_back(&table);
            // Every third case of the pair divider shares one table for R1 and R2.
            if (r == Routine::Pairs && seed % 3 == 0)
                t[1] = t[0];

            const double step = dense ? 1.0 : 0.01;
            const double lowU = static_cast<double>(gen() % 10) * step * 100 - 3;
            const double midU = lowU + step * static_cast<double>(1 + gen() % 10);
            const double highU = midU + step * static_cast<double>(1 + gen() % 10);
            const bool rising = gen() % 2 == 0;
            const std::uint32_t span = dense ? 40 : 10000;
            const double rmin = 1 + static_cast<double>(gen() % span);
            const Inputs in{rising ? lowU : highU, midU, rising ? highU : lowU, rmin,
                            rmin + 1 + static_cast<double>(gen() % (3 * span))};

            PollCounter counter;
            Outs got{U, U, U, U};
            Outs want{U, U, U, U};
            const SearchStatus status = RunRoutine(r, in, t, got, Context(0, counter));
            const SearchStatus expected = r == Routine::Pairs
                                              ? ReferencePairs(in, t, want)
                                              : ReferenceLowerBranch(r, in, t, want);
            const auto label = ::testing::Message() << NameOf(r) << ", seed " << seed;
            EXPECT_EQ(status, expected) << label;
            for (std::size_t m = 0; m < 4; ++m)
                EXPECT_EQ(Bits(got[m]), Bits(want[m])) << label << ", R" << m + 1;
            found += status == SearchStatus::Found ? 1 : 0;
        }
    // Most cases must find something, or the comparison says little.
    EXPECT_GT(found, 300);
}

} // namespace
} // namespace ohmtrim
