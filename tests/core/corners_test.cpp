// The range of each result over the tolerance corners of the chosen
// values: worked examples, and every corner checked against the range.
#include "circuits/corners.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

struct CornerCase {
    const char* name;
    int entry;
    SolveInputs in;
    std::vector<double> values;
    double percent;
    ResultId id;
    // Worked out by hand as exact fractions.
    double min;
    double max;
};

DividerInput Divider(double u1, double u3) {
    DividerInput d;
    d.u1 = u1;
    d.u3 = u3;
    return d;
}

NodeVoltageInput Chain(double u1, double u4) {
    NodeVoltageInput n{};
    n.U1 = u1;
    n.U4 = u4;
    return n;
}

StarInput Star(double u1, double u2, double u3) {
    StarInput s{};
    s.U1Case1 = u1;
    s.U2Case1 = u2;
    s.U3Case1 = u3;
    s.U1Case2 = u1;
    s.U2Case2 = u2;
    s.U3Case2 = u3;
    return s;
}

TEST(ToleranceCorners, WorkedExamples) {
    const CornerCase cases[] = {
        {"nearest value", 1, ResistanceInput{100}, {100}, 5, ResultId::Nearest, 95, 105},
        {"error of the nearest value",
         1,
         ResistanceInput{100},
         {100},
         5,
         ResultId::ErrorPercent,
         -5,
         5},
        {"series pair", 3, ResistanceInput{320}, {100, 220}, 1, ResultId::Resistance, 316.8, 323.2},
        {"error of a series pair",
         3,
         ResistanceInput{320},
         {100, 220},
         1,
         ResultId::ErrorPercent,
         -1,
         1},
        // 1k // 1k at 10 %: 900 // 900 up to 1100 // 1100.
        {"parallel pair",
         2,
         ResistanceInput{500},
         {1000, 1000},
         10,
         ResultId::Resistance,
         450,
         550},
        // 1k + 1k // 1k: all low 1350, all high 1650.
        {"series / parallel",
         7,
         ResistanceInput{1500},
         {1000, 1000, 1000},
         10,
         ResultId::Resistance,
         1350,
         1650},
        // U2 lowest with the upper branch high and the lower low: 10 * 900 / 2000.
        {"divider output", 8, Divider(10, 0), {1000, 1000}, 10, ResultId::U2, 4.5, 5.5},
        {"divider total", 8, Divider(10, 0), {1000, 1000}, 10, ResultId::Resistance, 1800, 2200},
        // From a foot of 2 V: 2 + 8 * 900 / 2000 and 2 + 8 * 1100 / 2000.
        {"divider above a foot", 8, Divider(10, 2), {1000, 1000}, 10, ResultId::U2, 5.6, 6.4},
        // U2 = 12 (b + c) / (a + b + c): 12 * 1800 / 2900 up to 12 * 2200 / 3100.
        {"node chain U2",
         13,
         Chain(12, 0),
         {1000, 1000, 1000},
         10,
         ResultId::U2,
         12.0 * 1800 / 2900,
         12.0 * 2200 / 3100},
        // U3 = 12 c / (a + b + c): 12 * 900 / 3100 up to 12 * 1100 / 2900.
        {"node chain U3",
         13,
         Chain(12, 0),
         {1000, 1000, 1000},
         10,
         ResultId::U3,
         12.0 * 900 / 3100,
         12.0 * 1100 / 2900},
        // U0 = (10 / R1) / (1 / R1 + 1 / R2 + 1 / R3): 10 * 900 / 3100 with R1
        // high and the others low, 10 * 1100 / 2900 the other way round.
        {"star point",
         17,
         Star(10, 0, 0),
         {1000, 1000, 1000},
         10,
         ResultId::U0Case1,
         10.0 * 900 / 3100,
         10.0 * 1100 / 2900},
    };
    for (const CornerCase& c : cases) {
        const auto ranges = ToleranceCorners(CatalogueAt(c.entry), c.in, c.values, c.percent);
        const ResultRange* range = FindRange(ranges, c.id);
        ASSERT_NE(range, nullptr) << c.name;
        EXPECT_NEAR(range->min, c.min, 1e-12 * std::fabs(c.min) + 1e-12) << c.name;
        EXPECT_NEAR(range->max, c.max, 1e-12 * std::fabs(c.max) + 1e-12) << c.name;
    }
}

// Inputs of the entry's family with random numbers: the arithmetic of the
// derived results takes any.
SolveInputs RandomInputs(const CatalogueEntry& entry, std::mt19937& gen) {
    std::uniform_real_distribution<double> u(-20, 20);
    switch (entry.family) {
    case Family::NearestValue:
    case Family::Resistance:
        return ResistanceInput{std::uniform_real_distribution<double>(1, 1e5)(gen)};
    case Family::Divider:
        return Divider(u(gen), u(gen));
    case Family::NodeChain:
        return Chain(u(gen), u(gen));
    case Family::Star: {
        StarInput s = Star(u(gen), u(gen), u(gen));
        s.U1Case2 = u(gen);
        return s;
    }
    case Family::ColourCode:
        break;
    }
    return {};
}

TEST(ToleranceCorners, EveryCornerLiesInTheRangeAndBothEndsAreReached) {
    std::mt19937 gen(15);
    std::uniform_real_distribution<double> value(1, 1e5);
    std::uniform_real_distribution<double> percent(0.01, 20);
    for (int round = 0; round < 300; ++round) {
        const CatalogueEntry& entry = CatalogueAt(1 + static_cast<int>(gen() % 23));
        const SolveInputs in = RandomInputs(entry, gen);
        std::vector<double> values(static_cast<std::size_t>(entry.resistors));
        for (double& v : values)
            v = value(gen);
        const double p = round % 10 == 0 ? 20 : percent(gen);
        const auto ranges = ToleranceCorners(entry, in, values, p);
        ASSERT_FALSE(ranges.empty()) << entry.index;

        // Each corner written out here as a list of low or high ends, the
        // first value changing fastest.
        const double ends[2] = {1 - p / 100, 1 + p / 100};
        std::vector<int> high(values.size(), 0);
        std::vector<bool> minReached(ranges.size()), maxReached(ranges.size());
        for (;;) {
            std::vector<double> corner(values.size());
            for (std::size_t k = 0; k < values.size(); ++k)
                corner[k] = values[k] * ends[high[k]];
            SolveOutcome out;
            FamilyOf(entry).derive(entry, in, corner, out);
            ASSERT_EQ(out.results.size(), ranges.size()) << entry.index;
            for (std::size_t i = 0; i < ranges.size(); ++i) {
                const double v = out.results[i].value;
                ASSERT_EQ(out.results[i].id, ranges[i].id);
                EXPECT_LE(ranges[i].min, v) << entry.index << " " << Info(ranges[i].id).key;
                EXPECT_GE(ranges[i].max, v) << entry.index << " " << Info(ranges[i].id).key;
                minReached[i] = minReached[i] || v == ranges[i].min;
                maxReached[i] = maxReached[i] || v == ranges[i].max;
            }
            std::size_t k = 0;
            while (k < high.size() && high[k] == 1)
                high[k++] = 0;
            if (k == high.size())
                break;
            high[k] = 1;
        }
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            EXPECT_TRUE(minReached[i]) << entry.index << " " << Info(ranges[i].id).key;
            EXPECT_TRUE(maxReached[i]) << entry.index << " " << Info(ranges[i].id).key;
        }
    }
}

TEST(ToleranceCorners, OnlyTolerancesAboveZeroUpToTwentyPercent) {
    const std::vector<double> values{100, 220};
    const CatalogueEntry& entry = CatalogueAt(3);
    for (const double p : {0.0, -1.0, 20.000001, std::nan("")}) {
        EXPECT_FALSE(TolerancePercentValid(p)) << p;
        EXPECT_TRUE(ToleranceCorners(entry, ResistanceInput{300}, values, p).empty()) << p;
    }
    for (const double p : {1e-9, 1.0, 20.0})
        EXPECT_TRUE(TolerancePercentValid(p)) << p;
}

TEST(ToleranceCorners, TextsOfARange) {
    const CatalogueEntry& entry = CatalogueAt(3);
    const std::vector<double> values{100, 220};
    const auto ranges = ToleranceCorners(entry, ResistanceInput{320}, values, 1);
    ASSERT_EQ(ranges.size(), 2U);
    EXPECT_EQ(RangeText(*FindRange(ranges, ResultId::Resistance), 1),
              "316.8 .. 323.2 at \u00b11 %");
    EXPECT_EQ(RangeText(*FindRange(ranges, ResultId::ErrorPercent), 1), "-1 .. 1 at \u00b11 %");
    EXPECT_EQ(RangeTooltip(entry, ResistanceInput{320}, values, ResultId::Resistance),
              "316.8 .. 323.2 at \u00b11 %\n313.6 .. 326.4 at \u00b12 %\n304 .. 336 at \u00b15 %");
    // The neighbours of a single value are no result of the chosen value.
    const std::vector<double> one{100};
    EXPECT_EQ(RangeTooltip(CatalogueAt(1), ResistanceInput{100}, one, ResultId::Smaller), "");
}

} // namespace
} // namespace ohmtrim
