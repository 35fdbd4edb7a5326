#include "circuits/solve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

using Table = std::vector<double>;

const Table kFour{10, 22, 47, 100};
const Table kE12{10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82, 100};

std::vector<ValueTable> Tables(const std::vector<const Table*>& ts) {
    std::vector<ValueTable> out;
    for (const Table* t : ts)
        out.push_back({t->data(), static_cast<int>(t->size()), false, false});
    return out;
}

std::string Format(const char* format, double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, x);
    return buf;
}

// A result of an outcome (NaN when absent).
double ResultOf(const SolveOutcome& out, ResultId id) {
    return out.Result(id).value_or(std::nan(""));
}

struct SolveCase {
    const char* name;
    int entry;
    std::vector<const Table*> tables;
    double target;
    double relTol;
    std::vector<double> values;
    // Worked out by hand as exact fractions.
    double resistance;
    double errorPercent;
};

TEST(SolveResistance, ChosenValuesResistanceAndError) {
    const Table b{15, 33, 68, 150};
    const Table c{12, 27, 56, 120};
    const std::vector<const Table*> four2{&kFour, &kFour};
    const std::vector<const Table*> four3{&kFour, &kFour, &kFour};
    const std::vector<const Table*> e12{&kE12, &kE12};
    const SolveCase cases[] = {
        {"parallel pair", 2, four2, 15, 1e-6, {22, 47}, 1034.0 / 69, -100.0 / 1035},
        {"series pair, exact", 3, four2, 69, 1e-6, {22, 47}, 69, 0},
        {"series pair, context tolerance ends early", 3, e12, 40, 0.05, {12, 27}, 39, -2.5},
        {"series pair, tolerance 0 scans on", 3, e12, 40, 0, {18, 22}, 40, 0},
        {"parallel triple",
         4,
         {&kFour, &b, &c},
         8,
         1e-6,
         {47, 15, 27},
         19035.0 / 2379,
         37.5 / 2379},
        {"series triple", 5, four3, 180, 1e-6, {22, 47, 100}, 169, -55.0 / 9},
        {"parallel / series", 6, four3, 30, 1e-6, {47, 47, 47}, 94.0 / 3, 40.0 / 9},
        {"series / parallel", 7, four3, 30, 1e-6, {22, 10, 47}, 22 + 470.0 / 57, 140.0 / 171},
    };
    for (const auto& c : cases) {
        const ResistanceInput in{c.target};
        SearchContext ctx;
        ctx.relTol = c.relTol;
        const auto tables = Tables(c.tables);
        const SolveOutcome out = Solve(CatalogueAt(c.entry), in, tables, ctx);
        ASSERT_EQ(out.status, SearchStatus::Found) << c.name;
        EXPECT_EQ(out.values, c.values) << c.name;
        EXPECT_DOUBLE_EQ(ResultOf(out, ResultId::Resistance), c.resistance) << c.name;
        // The difference to the target cancels leading digits, so the error
        // keeps fewer correct bits than the resistance.
        EXPECT_NEAR(ResultOf(out, ResultId::ErrorPercent), c.errorPercent, 1e-12) << c.name;
    }
}

// What the two windows show for their worked examples.
TEST(SolveResistance, ShownTexts) {
    const struct {
        const char* name;
        int entry;
        double target;
        const char* resistance;
        const char* error;
    } cases[] = {
        {"parallel 15", 2, 15, "14.9855        ", "-0.0966        "},
        {"series 69", 3, 69, "69             ", "0              "},
    };
    for (const auto& c : cases) {
        const ResistanceInput in{c.target};
        const auto tables = Tables({&kFour, &kFour});
        const SolveOutcome out = Solve(CatalogueAt(c.entry), in, tables, SearchContext{});
        EXPECT_EQ(Format("%-15.6G", ResultOf(out, ResultId::Resistance)), c.resistance) << c.name;
        EXPECT_EQ(Format("%-15.3G", ResultOf(out, ResultId::ErrorPercent)), c.error) << c.name;
    }
}

TEST(SolveResistance, RefusesWhatNoWindowCouldPass) {
    const struct {
        const char* name;
        int entry;
        int tableCount;
        double target;
    } cases[] = {
        {"target below 1e-15", 3, 2, 1e-16},
        {"target 0", 2, 2, 0},
        {"target above 1e15", 4, 3, 1.1e15},
        {"target NaN", 5, 3, std::nan("")},
        {"too few tables", 4, 2, 100},
        {"too many tables", 2, 3, 100},
        {"entry without a resistance search", 8, 2, 100},
    };
    for (const auto& c : cases) {
        const ResistanceInput in{c.target};
        const auto tables = Tables(std::vector<const Table*>(c.tableCount, &kFour));
        const SolveOutcome out = Solve(CatalogueAt(c.entry), in, tables, SearchContext{});
        EXPECT_EQ(out.status, SearchStatus::InvalidInput) << c.name;
        EXPECT_TRUE(out.values.empty() && out.results.empty()) << c.name;
    }
}

} // namespace
} // namespace ohmtrim
