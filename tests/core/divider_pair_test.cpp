#include "tests/core/search_test_support.h"
#include "search/divider_searches.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
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

constexpr double kUntouched = -7.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct PairCase {
    const char* name;
    double u1, u2, u3, rmin, rmax;
    Table table;
    double relTol;
    SearchStatus status;
    double r1, r2;
};

TEST(FindDividerPair, Examples) {
    const Table e12 = E12From100To82000();
    const auto F = SearchStatus::Found;
    const auto N = SearchStatus::NoSolution;
    const auto I = SearchStatus::InvalidInput;
    const double U = kUntouched;
    const PairCase cases[] = {
        // Totals 200, 440, 940 lie below Rmin; (1000, 1000) is exact.
        {"exact pair after totals below Rmin", 10, 5, 0, 1000, 100000, kSmallDividerTable, 1e-6, F,
         1000, 1000},
        {"rising voltages, same pair", 0, 5, 10, 1000, 100000, kSmallDividerTable, 1e-6, F, 1000,
         1000},
        {"E12, 12 V to 5 V", 12, 5, 0, 1000, 20000, e12, 1e-6, F, 4700, 3300},
        {"E12, rising 0 V to 7 V of 12 V", 0, 7, 12, 1000, 20000, e12, 1e-6, F, 4700, 3300},
        // k = 5/12; 680 with 470 misses by 0.00797 < 0.05 k and ends the scan.
        {"E12, first pair within 5 % wins", 12, 5, 0, 1000, 20000, e12, 0.05, F, 680, 470},
        {"E12, tolerance 0 scans to the best", 12, 5, 0, 1000, 20000, e12, 0, F, 4700, 3300},
        {"total equal to Rmin accepted", 10, 5, 0, 2000, 100000, kSmallDividerTable, 1e-6, F, 1000,
         1000},
        {"total equal to Rmax accepted", 10, 5, 0, 1000, 2000, kSmallDividerTable, 1e-6, F, 1000,
         1000},
        {"Rmax at the limit accepted", 10, 5, 0, 1000, 1e15, kSmallDividerTable, 1e-6, F, 1000,
         1000},
        {"first total above Rmax stops", 10, 5, 0, 1000, 1999, kSmallDividerTable, 1e-6, N, 0, 0},
        {"Rmax below every total", 10, 5, 0, 1, 150, kSmallDividerTable, 1e-6, N, 0, 0},
        {"every total below Rmin", 10, 5, 0, 30000, 100000, kSmallDividerTable, 1e-6, N, 0, 0},
        {"Rmin 0", 10, 5, 0, 0, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"Rmin negative", 10, 5, 0, -5, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"Rmin just below 1e-15", 10, 5, 0, 0.9e-15, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"Rmax above 1e15", 10, 5, 0, 1000, 2e15, kSmallDividerTable, 1e-6, I, U, U},
        {"Rmin equal to Rmax", 10, 5, 0, 1000, 1000, kSmallDividerTable, 1e-6, I, U, U},
        {"Rmin above Rmax", 10, 5, 0, 2000, 1000, kSmallDividerTable, 1e-6, I, U, U},
        {"U2 equal to U1", 10, 10, 0, 1000, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"U2 equal to U3", 10, 0, 0, 1000, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"U2 above both", 10, 12, 0, 1000, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"U2 below both, rising", 0, -1, 10, 1000, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"U2 within 1e-15 of U1", 1, 1 - 5e-16, 0, 1000, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"U2 within 1e-15 of U3", 1, 5e-16, 0, 1000, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"all voltages 0", 0, 0, 0, 1000, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"Rmin not a number", 10, 5, 0, kNaN, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"Rmax not a number", 10, 5, 0, 1000, kNaN, kSmallDividerTable, 1e-6, I, U, U},
        {"U1 infinite", kInf, 5, 0, 1000, 100000, kSmallDividerTable, 1e-6, I, U, U},
        {"voltage span overflows", 1e308, 0, -1e308, 1000, 100000, kSmallDividerTable, 1e-6, I, U,
         U},
    };
    for (const auto& c : cases) {
        PollCounter counter;
        double r1 = kUntouched, r2 = kUntouched;
        const int n = static_cast<int>(c.table.size());
        const SearchStatus status =
            FindDividerPair(c.u1, c.u2, c.u3, c.rmin, c.rmax, c.table.data(), n, c.table.data(), n,
                            r1, r2, Context(c.relTol, counter));
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(r1, c.r1) << c.name;
        EXPECT_EQ(r2, c.r2) << c.name;
    }
}

TEST(FindDividerPair, TablesOfOneEntryEach) {
    const double a[] = {3000};
    const double b[] = {1000};
    PollCounter counter;
    double r1 = kUntouched, r2 = kUntouched;
    EXPECT_EQ(FindDividerPair(12, 5, 0, 100, 1e6, a, 1, b, 1, r1, r2, Context(1e-6, counter)),
              SearchStatus::Found);
    EXPECT_EQ(r1, 3000);
    EXPECT_EQ(r2, 1000);
}

// Escape is polled before the 1st, 21st, 41st ... entry of R1's table.
TEST(FindDividerPair, PollsEscapeBeforeEveryTwentiethEntry) {
    const struct {
        int entries;
        int downFrom;
        SearchStatus status;
        int polls;
    } cases[] = {
        {1, INT_MAX, SearchStatus::Found, 1},  {20, INT_MAX, SearchStatus::Found, 1},
        {21, INT_MAX, SearchStatus::Found, 2}, {40, INT_MAX, SearchStatus::Found, 2},
        {41, INT_MAX, SearchStatus::Found, 3}, {41, 1, SearchStatus::Aborted, 1},
        {41, 2, SearchStatus::Aborted, 2},     {41, 3, SearchStatus::Aborted, 3},
        {40, 3, SearchStatus::Found, 2},
    };
    for (const auto& c : cases) {
        Table t;
        for (int i = 1; i <= c.entries; ++i)
            t.push_back(i * 10.0);
        PollCounter counter;
        counter.downFrom = c.downFrom;
        double r1 = kUntouched, r2 = kUntouched;
        // Tolerance 0 and a wide range: the scan runs over the whole table.
        const SearchStatus status =
            FindDividerPair(10, 5, 0, 1e-3, 1e15, t.data(), c.entries, t.data(), c.entries, r1, r2,
                            Context(0, counter));
        const auto label = ::testing::Message()
                           << c.entries << " entries, down from poll " << c.downFrom;
        EXPECT_EQ(status, c.status) << label;
        EXPECT_EQ(counter.polls, c.polls) << label;
        if (status == SearchStatus::Aborted) {
            EXPECT_EQ(r1, kUntouched) << label;
            EXPECT_EQ(r2, kUntouched) << label;
        }
    }
}

TEST(FindDividerPair, DefaultContextReadsTheEscapeFlag) {
    std::atomic<bool> escape{true};
    SearchContext ctx;
    ctx.escape = &escape;
    double r1 = kUntouched, r2 = kUntouched;
    EXPECT_EQ(FindDividerPair(10, 5, 0, 1000, 100000, kSmallDividerTable.data(), 7,
                              kSmallDividerTable.data(), 7, r1, r2, ctx),
              SearchStatus::Aborted);
    EXPECT_EQ(r1, kUntouched);
    escape = false;
    EXPECT_EQ(FindDividerPair(10, 5, 0, 1000, 100000, kSmallDividerTable.data(), 7,
                              kSmallDividerTable.data(), 7, r1, r2, ctx),
              SearchStatus::Found);
    EXPECT_EQ(r1, 1000);
}

// ---- property test: tolerance 0 against a literal reference ----------------

// Nearest entry by a linear walk; equal distances go to the larger entry.
double NearestByWalk(double x, const Table& t) {
    double best = t[0];
    for (double v : t)
        if (std::fabs(v - x) <= std::fabs(best - x))
            best = v;
    return best;
}

// Every R1 in order, its nearest R2; the totals grow with R1, so keeping the
// candidates inside the range is the same as stopping at the first above it.
// The smallest error wins, the earliest on ties.
SearchStatus ReferenceDividerPair(double u1, double u2, double u3, double rmin, double rmax,
                                  const Table& t1, const Table& t2, double& out1, double& out2) {
    const double k = (u2 - u3) / (u1 - u3);
    bool found = false;
    double bestError = 0, b1 = 0.0, b2 = 0.0;
    for (double r1 : t1) {
        const double r2 = NearestByWalk((u2 - u3) * r1 / (u1 - u2), t2);
        const double total = r1 + r2;
        if (total < rmin || total > rmax)
            continue;
        const double e = std::fabs(k - r2 / total);
        if (!found || e < bestError) {
            found = true;
            bestError = e;
            b1 = r1;
            b2 = r2;
        }
    }
    out1 = b1;
    out2 = b2;
    return found ? SearchStatus::Found : SearchStatus::NoSolution;
}

TEST(FindDividerPair, ToleranceZeroMatchesReferenceOnRandomTables) {
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        std::mt19937 gen(seed);
        const bool dense = seed % 2 == 0;
        const Table t1 = testing::RandomDistinctTable(gen, dense, 40, 60, 100000);
        const Table t2 = testing::RandomDistinctTable(gen, dense, 40, 60, 100000);
        // Dense tables get whole voltages and a range to match.
        const double step = dense ? 1.0 : 0.01;
        const double lowU = static_cast<double>(gen() % 10) * step * 100 - 3;
        const double midU = lowU + step * static_cast<double>(1 + gen() % 10);
        const double highU = midU + step * static_cast<double>(1 + gen() % 10);
        const bool rising = gen() % 2 == 0;
        const double u1 = rising ? lowU : highU;
        const double u3 = rising ? highU : lowU;
        const std::uint32_t span = dense ? 60 : 20000;
        const double rmin = 1 + static_cast<double>(gen() % span);
        const double rmax = rmin + 1 + static_cast<double>(gen() % (5 * span));

        PollCounter counter;
        double r1 = kUntouched, r2 = kUntouched, e1 = kUntouched, e2 = kUntouched;
        const SearchStatus status =
            FindDividerPair(u1, midU, u3, rmin, rmax, t1.data(), static_cast<int>(t1.size()),
                            t2.data(), static_cast<int>(t2.size()), r1, r2, Context(0, counter));
        const SearchStatus expected =
            ReferenceDividerPair(u1, midU, u3, rmin, rmax, t1, t2, e1, e2);
        EXPECT_EQ(status, expected) << "seed " << seed;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(r1), std::bit_cast<std::uint64_t>(e1))
            << "seed " << seed;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(r2), std::bit_cast<std::uint64_t>(e2))
            << "seed " << seed;
    }
}

} // namespace
} // namespace ohmtrim
