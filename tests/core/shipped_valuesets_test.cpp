#include "valuesets/profile.h"
#include "valuesets/resistor_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

std::string DataFile(const std::string& name) {
    return std::string(OHMTRIM_SOURCE_DIR) + "/data/" + name;
}

ResistorSet LoadShipped(const std::string& name) {
    ResistorSet set;
    EXPECT_TRUE(set.Load(DataFile(name))) << name << ": " << set.errorText();
    return set;
}

// The real entries of a set, framing entries left out.
std::vector<double> RealValues(const ResistorSet& set) {
    const int first = set.hasShortCircuit() ? 1 : 0;
    const int end = set.count() - (set.hasOpenCircuit() ? 1 : 0);
    return std::vector<double>(set.values() + first, set.values() + end);
}

struct ShippedCase {
    const char* file;
    const char* label;
    int realCount; // 7 decades of the series, then 10 Mohm
    double second; // the second value of the first decade
    bool framed;
};

const ShippedCase kShipped[] = {
    {"E3.val", "E3", 22, 2.2, false},        {"E6.val", "E6", 43, 1.5, false},
    {"E12.val", "E12", 85, 1.2, false},      {"E24.val", "E24", 169, 1.1, false},
    {"E48.val", "E48", 337, 1.05, false},    {"E96.val", "E96", 673, 1.02, false},
    {"E192.val", "E192", 1345, 1.01, false}, {"E12SO.val", "E12SO", 85, 1.2, true},
    {"E24SO.val", "E24SO", 169, 1.1, true},  {"E96SO.val", "E96SO", 673, 1.02, true},
};

TEST(ShippedValueSets, LoadWithTheirShape) {
    for (const auto& c : kShipped) {
        const ResistorSet set = LoadShipped(c.file);
        ASSERT_TRUE(set.IsLoaded()) << c.file;
        EXPECT_EQ(set.label(), c.label) << c.file;
        EXPECT_EQ(set.hasShortCircuit(), c.framed) << c.file;
        EXPECT_EQ(set.hasOpenCircuit(), c.framed) << c.file;
        EXPECT_EQ(set.count(), c.realCount + (c.framed ? 2 : 0)) << c.file;
        const std::vector<double> v = RealValues(set);
        ASSERT_EQ(static_cast<int>(v.size()), c.realCount) << c.file;
        EXPECT_EQ(v.front(), 1) << c.file;
        EXPECT_EQ(v[1], c.second) << c.file;
        EXPECT_EQ(v.back(), 1e7) << c.file;
        EXPECT_TRUE(std::adjacent_find(v.begin(), v.end(), std::greater_equal<>()) == v.end())
            << c.file << " is not strictly ascending";
        if (c.framed) {
            EXPECT_EQ(set.values()[0], 0.001) << c.file;
            EXPECT_EQ(set.values()[set.count() - 1], 1e12) << c.file;
        }
    }
}

// Every decade repeats the first: value i + n is ten times value i, exactly
// as the decimal text gives it.
TEST(ShippedValueSets, DecadesRepeat) {
    const struct {
        const char* file;
        int perDecade;
    } cases[] = {{"E3.val", 3},   {"E6.val", 6},   {"E12.val", 12},  {"E24.val", 24},
                 {"E48.val", 48}, {"E96.val", 96}, {"E192.val", 192}};
    for (const auto& c : cases) {
        const std::vector<double> v = RealValues(LoadShipped(c.file));
        for (std::size_t i = 0; i + static_cast<std::size_t>(c.perDecade) < v.size(); ++i) {
            const double ratio = v[i + static_cast<std::size_t>(c.perDecade)] / v[i];
            EXPECT_NEAR(ratio, 10, 1e-12) << c.file << " index " << i;
        }
    }
}

TEST(ShippedValueSets, E12AndE24FirstDecades) {
    const std::vector<double> e12{1, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2};
    const std::vector<double> e24{1,   1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2,   2.2, 2.4, 2.7, 3,
                                  3.3, 3.6, 3.9, 4.3, 4.7, 5.1, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1};
    const std::vector<double> v12 = RealValues(LoadShipped("E12.val"));
    const std::vector<double> v24 = RealValues(LoadShipped("E24.val"));
    EXPECT_EQ(std::vector<double>(v12.begin(), v12.begin() + 12), e12);
    EXPECT_EQ(std::vector<double>(v24.begin(), v24.begin() + 24), e24);
}

TEST(ShippedValueSets, E24HasTheIrregularValuesInEveryDecade) {
    const std::vector<double> v = RealValues(LoadShipped("E24.val"));
    const double irregular[] = {2.7, 3.0, 3.3, 3.6, 3.9, 4.3, 4.7, 8.2};
    const double decades[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    for (const double m : irregular)
        for (const double d : decades) {
            const double x = m * d;
            const bool found = std::any_of(v.begin(), v.end(),
                                           [x](double e) { return std::fabs(e - x) < 1e-9 * x; });
            EXPECT_TRUE(found) << x;
        }
}

TEST(ShippedValueSets, E192HasNinePointTwo) {
    const std::vector<double> v = RealValues(LoadShipped("E192.val"));
    EXPECT_TRUE(std::find(v.begin(), v.end(), 9.2) != v.end());
    EXPECT_TRUE(std::find(v.begin(), v.end(), 9.19) == v.end());
}

// E48 is every fourth and E96 every second value of E192, decade by decade.
TEST(ShippedValueSets, E48AndE96AreSubsetsOfE192) {
    const std::vector<double> e192 = RealValues(LoadShipped("E192.val"));
    const struct {
        const char* file;
        std::size_t step;
    } cases[] = {{"E48.val", 4}, {"E96.val", 2}};
    for (const auto& c : cases) {
        const std::vector<double> v = RealValues(LoadShipped(c.file));
        ASSERT_EQ((e192.size() - 1) / c.step + 1, v.size()) << c.file;
        for (std::size_t i = 0; i < v.size(); ++i)
            EXPECT_EQ(v[i], e192[i * c.step]) << c.file << " index " << i;
    }
}

TEST(ShippedValueSets, FramedVariantsHaveTheSameRealValues) {
    const struct {
        const char* plain;
        const char* framed;
    } cases[] = {{"E12.val", "E12SO.val"}, {"E24.val", "E24SO.val"}, {"E96.val", "E96SO.val"}};
    for (const auto& c : cases)
        EXPECT_EQ(RealValues(LoadShipped(c.plain)), RealValues(LoadShipped(c.framed))) << c.framed;
}

TEST(ShippedSettings, Defaults) {
    const auto p = ProfileFile::Read(DataFile("omtr.ini"));
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->GetString("Setup", "RelTol", "", 23), "1e-6");
    EXPECT_EQ(p->GetString("Setup", "Label", "", 7), "E24");
}

} // namespace
} // namespace ohmtrim
