#include "search/pair_table.h"
#include "search/pair_table_cache.h"

#include "tests/core/fast_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Bits;
using testing::Table;

std::unique_ptr<PairTable> Build(PairOp op, const Table& a, const Table& b) {
    std::unique_ptr<PairTable> table;
    EXPECT_EQ(PairTable::Build(op, a.data(), static_cast<int>(a.size()), b.data(),
                               static_cast<int>(b.size()), SearchContext{}, table),
              PairTable::Outcome::Built);
    return table;
}

// Every pair of the two tables is in the table exactly once (a swapped pair
// counts as the same when both are one table), with the bits of the
// searches' own expression, in ascending order; Locate and LocateMany find
// the first entry not below any value.
TEST(PairTable, HoldsEveryPairSortedAndLocatesLikeLowerBound) {
    std::mt19937 gen(11);
    for (int k = 0; k < 300; ++k) {
        Table a = testing::NastyTable(gen);
        Table b = testing::NastyTable(gen);
        std::erase_if(a, [](double v) { return !(v >= 1e-100 && v <= 1e100); });
        std::erase_if(b, [](double v) { return !(v >= 1e-100 && v <= 1e100); });
        if (a.empty() || b.empty())
            continue;
        const bool same = k % 3 == 0;
        const Table& second = same ? a : b;
        const PairOp op = k % 2 == 0 ? PairOp::Series : PairOp::Parallel;
        const std::unique_ptr<PairTable> t = Build(op, a, second);
        ASSERT_NE(t, nullptr);

        std::map<std::pair<int, int>, int> seen;
        std::vector<double> values;
        for (std::size_t e = 0; e < t->Size(); ++e) {
            int i = t->Row(e);
            int j = t->Column(e);
            ASSERT_EQ(Bits(t->Value(e)), Bits(PairValue(op, a[i], second[j]))) << "entry " << e;
            if (e > 0) {
                ASSERT_LE(t->Value(e - 1), t->Value(e)) << "entry " << e;
            }
            if (same && i > j)
                std::swap(i, j);
            ++seen[{i, j}];
            values.push_back(t->Value(e));
        }
        const std::size_t na = a.size();
        const std::size_t expected = same ? na * (na + 1) / 2 : na * second.size();
        EXPECT_EQ(t->Size(), expected);
        EXPECT_EQ(seen.size(), expected) << "a pair is missing or repeated";

        std::vector<double> probes{0, 1e-300, 1e300, std::numeric_limits<double>::quiet_NaN()};
        for (double v : values) {
            probes.push_back(v);
            probes.push_back(std::nextafter(v, 0.0));
            probes.push_back(std::nextafter(v, 1e300));
        }
        for (std::size_t p = 0; p < probes.size(); p += PairTable::kLocateBatch) {
            const int count =
                static_cast<int>(std::min<std::size_t>(PairTable::kLocateBatch, probes.size() - p));
            std::size_t many[PairTable::kLocateBatch];
            t->LocateMany(&probes[p], many, count);
            for (int m = 0; m < count; ++m) {
                const double x = probes[p + static_cast<std::size_t>(m)];
                const std::size_t want =
                    std::isnan(x)
                        ? values.size()
                        : static_cast<std::size_t>(
                              std::lower_bound(values.begin(), values.end(), x) - values.begin());
                EXPECT_EQ(t->Locate(x), want) << "x " << x;
                EXPECT_EQ(many[m], want) << "x " << x;
            }
        }
    }
}

TEST(PairTable, RefusesTablesOutsideTheFastRange) {
    const struct {
        const char* name;
        Table values;
    } cases[] = {
        {"zero", {0, 1, 2}},
        {"huge", {1, 2, 1e200}},
        {"tiny", {1e-200, 1}},
        {"descending", {2, 1}},
        {"NaN", {1, std::numeric_limits<double>::quiet_NaN()}},
    };
    const Table fine{1, 2, 3};
    for (const auto& c : cases) {
        std::unique_ptr<PairTable> table;
        EXPECT_EQ(PairTable::Build(PairOp::Series, c.values.data(),
                                   static_cast<int>(c.values.size()), fine.data(), 3,
                                   SearchContext{}, table),
                  PairTable::Outcome::Unsuitable)
            << c.name;
        EXPECT_FALSE(fast::TableSuitable(c.values.data(), static_cast<int>(c.values.size())))
            << c.name;
    }
    EXPECT_TRUE(fast::TableSuitable(fine.data(), 3));
    EXPECT_TRUE(fast::TableSuitable(testing::kSmallDividerTable.data(), 7));
}

// Escape stops a build within a few thousand pairs.
TEST(PairTable, BuildStopsWhenEscapeIsDown) {
    Table big;
    for (int i = 0; i < 600; ++i)
        big.push_back(1 + i);
    testing::PollCounter counter;
    counter.downFrom = 2;
    std::unique_ptr<PairTable> table;
    EXPECT_EQ(PairTable::Build(PairOp::Parallel, big.data(), 600, big.data(), 600,
                               testing::Context(0, counter), table),
              PairTable::Outcome::Aborted);
    EXPECT_EQ(table, nullptr);
    EXPECT_EQ(counter.polls, 2);
}

TEST(PairTableCache, KeepsTablesWithinItsMemoryLeastRecentlyUsedFirst) {
    Table x, y, z;
    for (int i = 1; i <= 100; ++i) {
        x.push_back(i);
        y.push_back(i + 0.5);
        z.push_back(i + 0.25);
    }
    const std::size_t one =
        PairTable::BytesFor(PairTable::EntriesFor(x.data(), 100, x.data(), 100));
    PairTableCache::Options options;
    options.byteLimit = 2 * one + one / 2; // room for two tables of one set
    PairTableCache cache(options);
    auto obtain = [&](const Table& t) {
        std::shared_ptr<const PairTable> table;
        EXPECT_EQ(
            cache.Obtain(PairOp::Parallel, t.data(), 100, t.data(), 100, SearchContext{}, table),
            PairTable::Outcome::Built);
        return table;
    };
    auto cached = [&](const Table& t) {
        return cache.Find(PairOp::Parallel, t.data(), 100, t.data(), 100) != nullptr;
    };
    const std::shared_ptr<const PairTable> kept = obtain(x);
    obtain(y);
    EXPECT_TRUE(cached(x)); // x is now the most recent
    obtain(z);              // evicts y
    EXPECT_TRUE(cached(x));
    EXPECT_FALSE(cached(y));
    EXPECT_TRUE(cached(z));
    EXPECT_EQ(cache.Count(), 2u);
    EXPECT_LE(cache.Bytes(), options.byteLimit);
    EXPECT_EQ(cache.Find(PairOp::Series, x.data(), 100, x.data(), 100), nullptr)
        << "another operation is another table";
    EXPECT_EQ(cache.Find(PairOp::Parallel, x.data(), 99, x.data(), 99), nullptr)
        << "another count is another table";

    // A table too large for the cache is not built at all.
    Table big(1000);
    for (int i = 0; i < 1000; ++i)
        big[static_cast<std::size_t>(i)] = i + 1;
    std::shared_ptr<const PairTable> none;
    EXPECT_EQ(
        cache.Obtain(PairOp::Series, big.data(), 1000, big.data(), 1000, SearchContext{}, none),
        PairTable::Outcome::Unsuitable);
    EXPECT_EQ(none, nullptr);
}

// An array whose contents changed (a freed table whose memory was reused)
// is not taken for the old one.
TEST(PairTableCache, NoticesChangedContents) {
    Table t{1, 2, 3, 4, 5};
    PairTableCache cache;
    std::shared_ptr<const PairTable> table;
    ASSERT_EQ(cache.Obtain(PairOp::Series, t.data(), 5, t.data(), 5, SearchContext{}, table),
              PairTable::Outcome::Built);
    EXPECT_TRUE(cache.Suitable(t.data(), 5));
    t[4] = 6;
    EXPECT_EQ(cache.Find(PairOp::Series, t.data(), 5, t.data(), 5), nullptr);
    t[2] = 0;
    EXPECT_FALSE(cache.Suitable(t.data(), 5));
}

} // namespace
} // namespace ohmtrim
