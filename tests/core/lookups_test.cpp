#include "valuesets/lookups.h"

#include <gtest/gtest.h>

#include <vector>

namespace ohmtrim {
namespace {

struct LookupCase {
    const char* name;
    std::vector<double> table;
    double x;
    int expected;
};

TEST(Lookups, NearestIndex) {
    const LookupCase cases[] = {
        {"single entry", {5}, 100, 0},
        {"below first", {1, 2, 4}, 0.5, 0},
        {"above last", {1, 2, 4}, 9, 2},
        {"tie goes to larger", {1, 2, 4}, 3, 2},
        {"just below midpoint", {1, 2, 4}, 2.9, 1},
        {"exact inner hit", {1, 2, 4}, 2, 1},
        {"two entries tie", {1, 2}, 1.5, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NearestIndex(c.x, c.table.data(), static_cast<int>(c.table.size())), c.expected)
            << c.name;
    EXPECT_EQ(NearestIndex(1.0, nullptr, 0), 0) << "empty table";
}

TEST(Lookups, BracketIndices) {
    const std::vector<double> v{1, 2, 4};
    const struct {
        double x;
        int lo, hi;
    } cases[] = {{0.5, 0, 0}, {1, 0, 0}, {1.5, 0, 1}, {2, 1, 2}, {3, 1, 2}, {4, 2, 2}, {5, 2, 2}};
    for (const auto& c : cases) {
        int lo = -7, hi = -7;
        BracketIndices(c.x, v.data(), 3, lo, hi);
        EXPECT_EQ(lo, c.lo) << "x=" << c.x;
        EXPECT_EQ(hi, c.hi) << "x=" << c.x;
    }
    int lo = -7, hi = -7;
    const double one[] = {5};
    BracketIndices(9, one, 1, lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 0);
}

TEST(Lookups, CeilingIndex) {
    const LookupCase cases[] = {
        {"below first", {1, 2, 2, 4}, 0.5, 0},
        {"first", {1, 2, 2, 4}, 1, 0},
        {"between", {1, 2, 2, 4}, 1.5, 1},
        {"first of equal entries", {1, 2, 2, 4}, 2, 1},
        {"gap", {1, 2, 2, 4}, 3, 3},
        {"last", {1, 2, 2, 4}, 4, 3},
        {"above last", {1, 2, 2, 4}, 4.5, -1},
        {"exact hit on last takes last", {1, 3, 3}, 3, 2},
        {"equal inner entries", {1, 3, 3, 4}, 3, 1},
        {"one entry hit", {5}, 5, 0},
        {"one entry above", {5}, 6, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CeilingIndex(c.x, c.table.data(), static_cast<int>(c.table.size())), c.expected)
            << c.name;
    EXPECT_EQ(CeilingIndex(1.0, nullptr, 0), -1) << "empty table";
}

TEST(Lookups, CeilingIndexAgreesWithLinearScanOnLongTables) {
    std::vector<double> v;
    for (int i = 0; i < 37; ++i)
        v.push_back(static_cast<double>((i * 7) / 3)); // ascending with repeats
    const int n = static_cast<int>(v.size());
    for (double x = -1; x <= v.back() + 1; x += 0.5) {
        int expected = -1;
        for (int i = 0; i < n; ++i)
            if (v[i] >= x) {
                expected = i;
                break;
            }
        if (x == v.back())
            expected = n - 1;
        EXPECT_EQ(CeilingIndex(x, v.data(), n), expected) << "x=" << x;
    }
}

} // namespace
} // namespace ohmtrim
