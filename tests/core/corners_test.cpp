// The range of each result over the tolerance corners of the chosen
// values: worked examples, and every corner checked against the range.
#include "circuits/corners.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace ohmtrim {
namespace {

DividerInput Divider(double u1, double u3) {
    return {u1, 0, u3, 0, 0};
}

NodeVoltageInput Chain(double u1, double u4) {
    NodeVoltageInput n{};
    n.U1 = u1;
    n.U4 = u4;
    return n;
}

StarInput Star(double u1, double u2, double u3) {
    StarInput s{};
    s.U1Case1 = s.U1Case2 = u1;
    s.U2Case1 = s.U2Case2 = u2;
    s.U3Case1 = s.U3Case2 = u3;
    return s;
}

TEST(ToleranceCorners, WorkedExamples) {
    const std::vector<double> k3{1000, 1000, 1000};
    const struct {
        const char* name;
        int entry;
        SolveInputs in;
        std::vector<double> values;
        double percent;
        ResultId id;
        double min, max; // worked out by hand as exact fractions
    } cases[] = {
        {"series pair", 3, ResistanceInput{320}, {100, 220}, 1, ResultId::Resistance, 316.8, 323.2},
        {"series pair error",
         3,
         ResistanceInput{320},
         {100, 220},
         1,
         ResultId::ErrorPercent,
         -1,
         1},
        // 2 V + 8 V * 900 / 2000 up to 2 V + 8 V * 1100 / 2000.
        {"divider output", 8, Divider(10, 2), {1000, 1000}, 10, ResultId::U2, 5.6, 6.4},
        // U2 = 12 (b + c) / (a + b + c), U3 = 12 c / (a + b + c).
        {"node chain U2", 13, Chain(12, 0), k3, 10, ResultId::U2, 12.0 * 1800 / 2900,
         12.0 * 2200 / 3100},
        {"node chain U3", 13, Chain(12, 0), k3, 10, ResultId::U3, 12.0 * 900 / 3100,
         12.0 * 1100 / 2900},
        // U0 = (10 / R1) / (1 / R1 + 1 / R2 + 1 / R3).
        {"star point", 17, Star(10, 0, 0), k3, 10, ResultId::U0Case1, 10.0 * 900 / 3100,
         10.0 * 1100 / 2900},
    };
    for (const auto& c : cases) {
        const auto ranges = ToleranceCorners(CatalogueAt(c.entry), c.in, c.values, c.percent);
        const ResultRange* range = FindRange(ranges, c.id);
        ASSERT_NE(range, nullptr) << c.name;
        EXPECT_NEAR(range->min, c.min, 1e-12 * std::fabs(c.min) + 1e-12) << c.name;
        EXPECT_NEAR(range->max, c.max, 1e-12 * std::fabs(c.max) + 1e-12) << c.name;
    }
}

TEST(ToleranceCorners, EveryCornerLiesInTheRangeAndBothEndsAreReached) {
    std::mt19937 gen(15);
    std::uniform_real_distribution<double> value(1, 1e5), u(-20, 20), percent(0.01, 20);
    for (int round = 0; round < 300; ++round) {
        const CatalogueEntry& entry = CatalogueAt(1 + static_cast<int>(gen() % 23));
        // The arithmetic of the results takes any numbers.
        const SolveInputs inputs[] = {{},
                                      ResistanceInput{value(gen)},
                                      ResistanceInput{value(gen)},
                                      Divider(u(gen), u(gen)),
                                      Chain(u(gen), u(gen)),
                                      Star(u(gen), u(gen), u(gen))};
        const SolveInputs& in = inputs[static_cast<int>(entry.family)];
        std::vector<double> values(static_cast<std::size_t>(entry.resistors));
        for (double& v : values)
            v = value(gen);
        const double p = round % 10 == 0 ? 20 : percent(gen);
        const auto ranges = ToleranceCorners(entry, in, values, p);
        ASSERT_FALSE(ranges.empty()) << entry.index;

        // The corners counted through here as low/high ends, R1 fastest.
        std::vector<int> high(values.size(), 0);
        std::vector<bool> minReached(ranges.size()), maxReached(ranges.size());
        for (std::size_t k = 0; k < high.size();) {
            std::vector<double> corner(values.size());
            for (std::size_t i = 0; i < values.size(); ++i)
                corner[i] = values[i] * (high[i] ? 1 + p / 100 : 1 - p / 100);
            SolveOutcome out;
            FamilyOf(entry).derive(entry, in, corner, out);
            ASSERT_EQ(out.results.size(), ranges.size()) << entry.index;
            for (std::size_t i = 0; i < ranges.size(); ++i) {
                const double v = out.results[i].value;
                EXPECT_LE(ranges[i].min, v) << entry.index << " " << Info(ranges[i].id).key;
                EXPECT_GE(ranges[i].max, v) << entry.index << " " << Info(ranges[i].id).key;
                minReached[i] = minReached[i] || v == ranges[i].min;
                maxReached[i] = maxReached[i] || v == ranges[i].max;
            }
            for (k = 0; k < high.size() && high[k] == 1; ++k)
                high[k] = 0;
            if (k < high.size())
                high[k] = 1;
        }
        for (std::size_t i = 0; i < ranges.size(); ++i)
            EXPECT_TRUE(minReached[i] && maxReached[i]) << entry.index << " " << i;
    }
}

} // namespace
} // namespace ohmtrim
