#include "settings/discovery.h"
#include "settings/settings.h"
#include "tests/core/temp_dir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace ohmtrim {
namespace {

using testing::TempDir;
using testing::ValueSetText;

TEST(Settings, RelTolText) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"", 1e-6},
        {"0.1", 0.05},
        {"-1", 0},
        {"0.001", 0.001},
        {"0.01x", 0.01},
        {"letters", 0},
        {"  0.002", 0.002},
        {"5e-3", 0.005},
        {"1e999", 0.05},
        {"1e-999", 0},
        {"0.05", 0.05},
        {".5e-2", 0.005},
        {"+0.003 ;c", 0.003},
        {"1e", 0.05},
        {"2e+", 0.05},
        {"-1e999", 0},
        {"0.004e-x", 0.004},
        {"0,01", 0},
        // The leading number as the C library reads it in the C locale:
        // infinities clamp, hexadecimal gives its value, NaN the default.
        {"inf", 0.05},
        {"-Infinity", 0},
        {"0x1p-10", 0x1p-10},
        {"0X.1", 0.05},
        {"0x1p-20x", 0x1p-20},
        {"0x", 0},
        {"nan", 1e-6},
        {"-NaN(1)", 1e-6},
        {"\v\f0.003", 0.003},
        {"+-1", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseRelTol(c.text), c.expected) << "'" << c.text << "'";
    EXPECT_FALSE(std::signbit(ParseRelTol("-0"))) << "-0 reads as 0";
    EXPECT_FALSE(std::signbit(ClampRelTol(-0.0)));
}

TEST(Settings, RelTolIgnoresTheLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) == nullptr)
            continue;
        EXPECT_EQ(ParseRelTol("0.001"), 0.001) << name;
        EXPECT_EQ(ParseRelTol("0,001"), 0) << name;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Settings, ReadsRelTolAndLabelWithDefaults) {
    TempDir dir;
    EXPECT_EQ(ReadSettings(dir.path() / "omtr.ini").relTol, 1e-6) << "missing file";
    dir.Write("omtr.ini", "[setup]\nrelTol = 0.01\nLABEL=E12TOOLONG\n");
    const Settings s = ReadSettings(dir.path() / "omtr.ini");
    EXPECT_EQ(s.relTol, 0.01);
    EXPECT_EQ(s.preferredLabel, "E12TOOL") << "cut to 7 characters";
}

TEST(Settings, SaveLabelKeepsOtherLines) {
    TempDir dir;
    const std::string before =
        "; my settings\r\n[Other]\r\nLabel=keep\r\n[Setup]\r\nRelTol=0.001\r\n"
        "Label=E12\r\n; trailing comment\r\n";
    dir.Write("omtr.ini", before);
    ASSERT_TRUE(SaveLabel(dir.path() / "omtr.ini", "E96"));
    const Settings s = ReadSettings(dir.path() / "omtr.ini");
    EXPECT_EQ(s.preferredLabel, "E96");
    EXPECT_EQ(s.relTol, 0.001);
    const std::string after = dir.Read("omtr.ini");
    for (const char* kept :
         {"; my settings", "[Other]", "Label=keep", "RelTol=0.001", "; trailing comment"})
        EXPECT_NE(after.find(kept), std::string::npos) << kept;
    EXPECT_EQ(after.find("Label=E12"), std::string::npos);
}

TEST(Settings, SaveLabelCreatesFile) {
    TempDir dir;
    ASSERT_TRUE(SaveLabel(dir.path() / "omtr.ini", "E6"));
    EXPECT_EQ(ReadSettings(dir.path() / "omtr.ini").preferredLabel, "E6");
}

TEST(Settings, ProgramDirectoryHoldsTheTestExecutable) {
    const auto dir = ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(std::filesystem::exists(dir / "ohmtrim_core_tests"));
}

TEST(Discovery, OrderAndFailures) {
    TempDir dir;
    // Written in an order unlike the expected one; names differ in case.
    dir.Write("zz.VAL", ValueSetText("E192", {"1"}));
    dir.Write("b.val", ValueSetText("b", {"1"}));
    dir.Write("A.val", ValueSetText("A", {"1"}));
    dir.Write("e12.val", ValueSetText("E12", {"1", "2"}));
    dir.Write("E3.val", ValueSetText("E3", {"1"}));
    dir.Write("broken.val", "[Resistors]\nLabel=X\n");
    dir.Write("notes.txt", ValueSetText("TXT", {"1"}));
    dir.Write("second.val", ValueSetText("e12", {"3"}));
    const ValueSetList list = DiscoverValueSets(dir.path());
    std::vector<std::string> labels;
    for (int i = 0; i < list.size(); ++i)
        labels.push_back(list.at(i).label());
    // Length first, then text without regard to case; e12 and E12 compare
    // equal and keep the order of their file names (e12.val before second.val).
    EXPECT_EQ(labels, (std::vector<std::string>{"A", "b", "E3", "E12", "e12", "E192"}));
    ASSERT_EQ(list.failures.size(), 1u);
    EXPECT_EQ(list.failures[0].file, "broken.val");
    EXPECT_EQ(list.failures[0].error, "MinIndex < 1");
}

TEST(Discovery, StopsAfterTheLimit) {
    TempDir dir;
    for (int i = 0; i < 5; ++i)
        dir.Write(std::string("s") + std::to_string(i) + ".val",
                  ValueSetText(std::string("S") + std::to_string(i), {"1"}));
    const ValueSetList list = DiscoverValueSets(dir.path(), 3);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.skipped, 2u);
    EXPECT_EQ(list.at(0).label(), "S0");
    EXPECT_EQ(list.at(2).label(), "S2");
}

TEST(Discovery, PreselectsLastExactMatch) {
    TempDir dir;
    dir.Write("a.val", ValueSetText("E12", {"1"}));
    dir.Write("b.val", ValueSetText("E12", {"2"}));
    dir.Write("c.val", ValueSetText("E6", {"1"}));
    const ValueSetList list = DiscoverValueSets(dir.path());
    const struct {
        const char* preferred;
        int expected;
    } cases[] = {{"E12", 2}, {"e12", 0}, {"E6", 0}, {"", 0}, {"E24", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(PreselectIndex(list, c.preferred), c.expected) << c.preferred;
    EXPECT_EQ(list.at(2).values()[0], 2) << "the last E12 is b.val's";
    EXPECT_EQ(PreselectIndex(ValueSetList{}, "E12"), -1);
}

TEST(Discovery, MissingDirectoryGivesEmptyList) {
    const ValueSetList list = DiscoverValueSets("/nonexistent/ohmtrim/dir");
    EXPECT_EQ(list.size(), 0);
    EXPECT_TRUE(list.failures.empty());
}

} // namespace
} // namespace ohmtrim
