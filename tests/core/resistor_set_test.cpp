#include "valuesets/resistor_set.h"

#include "tests/core/temp_dir.h"
#include "valuesets/number.h"
#include "valuesets/profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

// A valid header the failure cases below start from.
const std::string kHead = "[Resistors]\nLabel=T\nMinIndex=1\nMaxIndex=20\n";

struct FailureCase {
    const char* name;
    std::string text;
    const char* message;
};

const FailureCase kFailureCases[] = {
    // Index checks come before everything else.
    {"no MinIndex and no Label", "[Resistors]\nMaxIndex=5\nR1=1\n", "MinIndex < 1"},
    {"empty file", "", "MinIndex < 1"},
    {"section missing", "[Other]\nLabel=T\nMinIndex=1\nMaxIndex=2\nR1=1\n", "MinIndex < 1"},
    {"MinIndex 0", "[Resistors]\nLabel=T\nMinIndex=0\nMaxIndex=5\nR1=1\n", "MinIndex < 1"},
    {"negative MinIndex reads as 0", "[Resistors]\nLabel=T\nMinIndex=-3\nMaxIndex=5\n",
     "MinIndex < 1"},
    {"MinIndex without digits", "[Resistors]\nLabel=T\nMinIndex=one\nMaxIndex=5\n", "MinIndex < 1"},
    {"MaxIndex missing", "[Resistors]\nLabel=T\nMinIndex=1\nR1=1\n", "MaxIndex < 1"},
    {"MaxIndex 0", "[Resistors]\nMinIndex=1\nMaxIndex=0\n", "MaxIndex < 1"},
    {"MinIndex above MaxIndex", "[Resistors]\nLabel=T\nMinIndex=3\nMaxIndex=2\nR3=1\n",
     "MinIndex > MaxIndex"},
    {"huge MinIndex saturates above MaxIndex",
     "[Resistors]\nLabel=T\nMinIndex=99999999999999\nMaxIndex=2147483646\n", "MinIndex > MaxIndex"},
    {"Label missing", "[Resistors]\nMinIndex=1\nMaxIndex=2\nR1=1\n", "Missing: \"Label=\""},
    {"Label empty", "[Resistors]\nLabel=\nMinIndex=1\nMaxIndex=2\nR1=1\n", "Missing: \"Label=\""},
    {"Label only blanks", "[Resistors]\nLabel= \t \nMinIndex=1\nMaxIndex=2\nR1=1\n",
     "Missing: \"Label=\""},
    {"Label of six", "[Resistors]\nLabel=ABCDEF\nMinIndex=1\nMaxIndex=2\nR1=1\n",
     "Label is too long (max 5 characters)"},
    {"Label beyond the read limit",
     "[Resistors]\nLabel=ABCDEFGHIJKLMNOPQRSTUVWXYZ\nMinIndex=1\nMaxIndex=2\nR1=1\n",
     "Label is too long (max 5 characters)"},
    {"short-circuit text", kHead + "ShortCircuitResistanceLevel=small\nR1=1\n",
     "Error: ShortCircuitResistanceLevel"},
    {"short-circuit with unit", kHead + "ShortCircuitResistanceLevel=1m\nR1=1\n",
     "Error: ShortCircuitResistanceLevel"},
    {"short-circuit zero", kHead + "ShortCircuitResistanceLevel=0\nR1=1\n",
     "Error: ShortCircuitResistanceLevel out of range."},
    {"short-circuit overflow", kHead + "ShortCircuitResistanceLevel=1e999\nR1=1\n",
     "Error: ShortCircuitResistanceLevel out of range."},
    {"short-circuit checked before open-circuit",
     kHead + "OpenCircuitResistanceLevel=x\nShortCircuitResistanceLevel=y\nR1=1\n",
     "Error: ShortCircuitResistanceLevel"},
    {"open-circuit text", kHead + "OpenCircuitResistanceLevel=1k\nR1=1\n",
     "Error: OpenCircuitResistanceLevel"},
    {"open-circuit too large", kHead + "OpenCircuitResistanceLevel=2e15\nR1=1\n",
     "Error: OpenCircuitResistanceLevel out of range."},
    {"open-circuit negative", kHead + "OpenCircuitResistanceLevel=-1e12\nR1=1\n",
     "Error: OpenCircuitResistanceLevel out of range."},
    {"value with unit letter", kHead + "R1=1\nR2=2\nR3=1.5k\n", "Input error: R3"},
    {"value below range", kHead + "R3=1e-16\n", "Error: R3 out of range."},
    {"value zero", kHead + "R7=0\n", "Error: R7 out of range."},
    {"value above range", kHead + "R3=1.1e15\n", "Error: R3 out of range."},
    {"value overflow", kHead + "R3=1e400\n", "Error: R3 out of range."},
    {"key in lower case named as R", kHead + "r12=abc\n", "Input error: R12"},
    {"first bad key by number, not by line", kHead + "R9=bad\nR4=worse\n", "Input error: R4"},
    {"range error before a later input error", kHead + "R2=0\nR3=x\n", "Error: R2 out of range."},
    // A value is the text the profile reader returns; nothing more is
    // stripped from it, not even what the length cut leaves at its end.
    {"control character after a value", kHead + "R1=47\v\n", "Input error: R1"},
    {"control character before a value",
     kHead + "R1=\x7f"
             "10\n",
     "Input error: R1"},
    {"blanks the cut leaves at the end", kHead + "R1=47" + std::string(21, ' ') + "more text\n",
     "Input error: R1"},
    {"level with blanks the cut leaves at the end",
     kHead + "ShortCircuitResistanceLevel=0.001" + std::string(14, ' ') + "x\nR1=1\n",
     "Error: ShortCircuitResistanceLevel"},
    {"no values", kHead, "No resistors found."},
    {"only empty values", kHead + "R1=\nR2= \n", "No resistors found."},
    {"values outside the index range only", kHead + "R0=1\nR21=2\n", "No resistors found."},
    {"levels but no values",
     kHead + "ShortCircuitResistanceLevel=0.001\nOpenCircuitResistanceLevel=1e12\n",
     "No resistors found."},
    {"short-circuit just too high", kHead + "ShortCircuitResistanceLevel=0.5\nR1=49\nR2=100\n",
     "ShortCircuitResistanceLevel is too high."},
    {"short-circuit above a value sorts into the table",
     kHead + "ShortCircuitResistanceLevel=1\nR1=0.001\nR2=1000\n",
     "ShortCircuitResistanceLevel is too high."},
    {"open-circuit just too low", kHead + "OpenCircuitResistanceLevel=1e12\nR1=2e10\nR2=1\n",
     "OpenCircuitResistanceLevel is too low."},
    {"open-circuit below a value sorts into the table",
     kHead + "OpenCircuitResistanceLevel=1e6\nR1=1\nR2=1e9\n",
     "OpenCircuitResistanceLevel is too low."},
    {"short-circuit checked before open-circuit level",
     kHead + "ShortCircuitResistanceLevel=1\nOpenCircuitResistanceLevel=2\nR1=1.5\n",
     "ShortCircuitResistanceLevel is too high."},
};

TEST(ResistorSetLoad, Messages) {
    for (const auto& c : kFailureCases) {
        ResistorSet set;
        EXPECT_FALSE(set.LoadFromText(c.text)) << c.name;
        EXPECT_EQ(set.errorText(), c.message) << c.name;
        // A failed load leaves an empty record behind.
        EXPECT_FALSE(set.IsLoaded()) << c.name;
        EXPECT_EQ(set.count(), 0) << c.name;
        EXPECT_EQ(set.values(), nullptr) << c.name;
        EXPECT_EQ(set.label(), "") << c.name;
        EXPECT_FALSE(set.hasShortCircuit()) << c.name;
        EXPECT_FALSE(set.hasOpenCircuit()) << c.name;
        EXPECT_EQ(set.minIndex(), 0) << c.name;
        EXPECT_EQ(set.maxIndex(), 0) << c.name;
    }
}

struct LoadCase {
    const char* name;
    std::string text;
    std::string label;
    std::vector<double> values;
    bool shortCircuit;
    bool openCircuit;
};

const LoadCase kLoadCases[] = {
    {"label of three",
     "[Resistors]\nLabel=E12\nMinIndex=1\nMaxIndex=1\nR1=4.7\n",
     "E12",
     {4.7},
     false,
     false},
    {"label of five",
     "[Resistors]\nLabel=ABCDE\nMinIndex=1\nMaxIndex=1\nR1=4.7\n",
     "ABCDE",
     {4.7},
     false,
     false},
    {"label trimmed",
     "[Resistors]\nLabel=  E6\t\nMinIndex=1\nMaxIndex=1\nR1=1\n",
     "E6",
     {1},
     false,
     false},
    {"gap skipped and R0 ignored", kHead + "R0=7\nR4=4\nR6=6\n", "T", {4, 6}, false, false},
    {"keys beyond MaxIndex ignored",
     kHead + "R20=20\nR21=bad\nR200=bad\n",
     "T",
     {20},
     false,
     false},
    {"keys below MinIndex ignored",
     "[Resistors]\nLabel=T\nMinIndex=5\nMaxIndex=9\nR4=bad\nR5=5\nR9=9\nR10=bad\n",
     "T",
     {5, 9},
     false,
     false},
    {"leading zeros are another key", kHead + "R01=bad\nR1=1\n", "T", {1}, false, false},
    {"descending values come out ascending",
     kHead + "R1=30\nR2=20\nR3=10\n",
     "T",
     {10, 20, 30},
     false,
     false},
    {"duplicates stay", kHead + "R1=10\nR2=10\nR3=5\n", "T", {5, 10, 10}, false, false},
    {"value of exactly 1e15", kHead + "R3=1e15\n", "T", {1e15}, false, false},
    {"value of exactly 1e-15", kHead + "R3=1e-15\n", "T", {1e-15}, false, false},
    {"short-circuit exactly 100 times below",
     kHead + "ShortCircuitResistanceLevel=0.5\nR1=50\n",
     "T",
     {0.5, 50},
     true,
     false},
    {"open-circuit well above",
     kHead + "OpenCircuitResistanceLevel=1e12\nR1=1e10\nR2=1\n",
     "T",
     {1, 1e10, 1e12},
     false,
     true},
    {"open-circuit exactly 100 times above",
     kHead + "OpenCircuitResistanceLevel=1000\nR1=10\n",
     "T",
     {10, 1000},
     false,
     true},
    {"both levels",
     kHead + "ShortCircuitResistanceLevel=0.001\nOpenCircuitResistanceLevel=1e12\nR2=47\nR1=10\n",
     "T",
     {0.001, 10, 47, 1e12},
     true,
     true},
    {"empty levels mean none",
     kHead + "ShortCircuitResistanceLevel=\nOpenCircuitResistanceLevel= \nR1=1\n",
     "T",
     {1},
     false,
     false},
    {"value cut to 23 characters before the check",
     kHead + "R1=1000.000000000000000000x\n",
     "T",
     {1000},
     false,
     false},
    {"level cut to 19 characters before the check",
     kHead + "ShortCircuitResistanceLevel=0.00100000000000000junk\nR1=1\n",
     "T",
     {0.001, 1},
     true,
     false},
    {"blanks around a value", kHead + "R1 =  \t2.2  \n", "T", {2.2}, false, false},
    {"case-insensitive names",
     "[resistors]\nlabel=lc\nMININDEX=1\nmaxindex=3\nr1=1\nR2=2\nshortcircuitresistancelevel="
     "0.001\n",
     "lc",
     {0.001, 1, 2},
     true,
     false},
    {"first occurrence of a key wins", kHead + "R1=1\nr1=bad\nR1=3\n", "T", {1}, false, false},
    {"first occurrence of the section wins",
     kHead + "R1=1\n[Other]\nR2=bad\n[RESISTORS]\nR3=bad\nLabel=XXXXXXX\n",
     "T",
     {1},
     false,
     false},
    {"CRLF line ends",
     "[Resistors]\r\nLabel=E3\r\nMinIndex=1\r\nMaxIndex=2\r\nR1=1\r\nR2=2.2\r\n",
     "E3",
     {1, 2.2},
     false,
     false},
    {"byte-order mark",
     "\xEF\xBB\xBF[Resistors]\nLabel=B\nMinIndex=1\nMaxIndex=1\nR1=3\n",
     "B",
     {3},
     false,
     false},
    {"comments ignored",
     "; value set\n[Resistors]\n;R1=bad\nLabel=C\n  ; indented comment\nMinIndex=1\nMaxIndex=2\n"
     "R2=8\n",
     "C",
     {8},
     false,
     false},
    {"no final line end",
     "[Resistors]\nLabel=N\nMinIndex=1\nMaxIndex=1\nR1=5",
     "N",
     {5},
     false,
     false},
};

TEST(ResistorSetLoad, Loads) {
    for (const auto& c : kLoadCases) {
        ResistorSet set;
        ASSERT_TRUE(set.LoadFromText(c.text)) << c.name << ": " << set.errorText();
        EXPECT_TRUE(set.IsLoaded()) << c.name;
        EXPECT_EQ(set.errorText(), "") << c.name;
        EXPECT_EQ(set.label(), c.label) << c.name;
        EXPECT_EQ(std::vector<double>(set.values(), set.values() + set.count()), c.values)
            << c.name;
        EXPECT_EQ(set.hasShortCircuit(), c.shortCircuit) << c.name;
        EXPECT_EQ(set.hasOpenCircuit(), c.openCircuit) << c.name;
    }
}

TEST(ResistorSetLoad, KeepsIndicesAsRead) {
    ResistorSet set;
    ASSERT_TRUE(set.LoadFromText("[Resistors]\nLabel=T\nMinIndex=3\nMaxIndex=9x\nR3=1\n"));
    EXPECT_EQ(set.minIndex(), 3);
    EXPECT_EQ(set.maxIndex(), 9);
}

TEST(ResistorSetLoad, OneHundredFiftyValues) {
    std::string text = "[Resistors]\nLabel=N150\nMinIndex=1\nMaxIndex=150\n";
    for (int n = 150; n >= 1; --n) // descending, to see the sort too
        text.append("R")
            .append(std::to_string(n))
            .append("=")
            .append(std::to_string(n))
            .append("\n");
    ResistorSet set;
    ASSERT_TRUE(set.LoadFromText(text)) << set.errorText();
    ASSERT_EQ(set.count(), 150);
    for (int i = 0; i < 150; ++i)
        EXPECT_EQ(set.values()[i], i + 1);
}

TEST(ResistorSetLoad, HugeIndexRangeWithThreeKeys) {
    const std::string text = "[Resistors]\nLabel=Big\nMinIndex=1\nMaxIndex=2000000000\n"
                             "R2000000000=3.3\nR1=1\nR1000000=2.2\n";
    ResistorSet set;
    ASSERT_TRUE(set.LoadFromText(text)) << set.errorText();
    EXPECT_EQ(std::vector<double>(set.values(), set.values() + set.count()),
              (std::vector<double>{1, 2.2, 3.3}));
    EXPECT_EQ(set.maxIndex(), 2000000000);
}

TEST(ResistorSetLoad, HugeIndexRangeNamesTheFailingKey) {
    const std::string text = "[Resistors]\nLabel=Big\nMinIndex=1\nMaxIndex=2147483647\n"
                             "R2147483647=x\nR2147483646=0\nR1=1\n";
    ResistorSet set;
    EXPECT_FALSE(set.LoadFromText(text));
    EXPECT_EQ(set.errorText(), "Error: R2147483646 out of range.");
}

TEST(ResistorSetLoad, ReloadReplacesEverything) {
    ResistorSet set;
    ASSERT_TRUE(set.LoadFromText(kHead + "ShortCircuitResistanceLevel=0.001\nR1=1\nR2=2\n"));
    ASSERT_TRUE(set.LoadFromText("[Resistors]\nLabel=U\nMinIndex=1\nMaxIndex=1\nR1=5\n"));
    EXPECT_EQ(set.count(), 1);
    EXPECT_FALSE(set.hasShortCircuit());
    EXPECT_EQ(set.label(), "U");
    EXPECT_FALSE(set.LoadFromText(kHead));
    EXPECT_EQ(set.errorText(), "No resistors found.");
    EXPECT_EQ(set.count(), 0);
}

TEST(ResistorSetLoad, ClearKeepsTheMessage) {
    ResistorSet set;
    EXPECT_FALSE(set.LoadFromText(kHead + "R1=x\n"));
    set.Clear();
    EXPECT_EQ(set.errorText(), "Input error: R1");
    ASSERT_TRUE(set.LoadFromText(kHead + "R1=1\n"));
    set.Clear();
    EXPECT_FALSE(set.IsLoaded());
    EXPECT_EQ(set.count(), 0);
    EXPECT_EQ(set.values(), nullptr);
    EXPECT_EQ(set.label(), "");
}

// The loader visits only the R<n> keys the file has. A literal reference that
// tries every n of MinIndex..MaxIndex must reach the same outcome.
struct ProbeOutcome {
    bool ok = false;
    std::string message;
    std::vector<double> values;
};

ProbeOutcome ProbeEveryIndex(const std::string& text) {
    const ProfileFile p = ProfileFile::FromText(text);
    const int minIndex = p.GetInt("Resistors", "MinIndex", 0);
    const int maxIndex = p.GetInt("Resistors", "MaxIndex", 0);
    ProbeOutcome out;
    for (int n = minIndex; n <= maxIndex; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, "R%u", static_cast<unsigned>(n));
        const std::string value = p.GetString("Resistors", key, "", 23);
        if (value.empty())
            continue;
        double v = 0;
        const ResistanceStatus status = ParseResistance(value, v);
        if (status == ResistanceStatus::NotANumber) {
            out.message = std::string("Input error: ") + key;
            return out;
        }
        if (status == ResistanceStatus::OutOfRange) {
            out.message = std::string("Error: ") + key + " out of range.";
            return out;
        }
        out.values.push_back(v);
    }
    if (out.values.empty()) {
        out.message = "No resistors found.";
        return out;
    }
    std::sort(out.values.begin(), out.values.end());
    out.ok = true;
    return out;
}

TEST(ResistorSetLoad, SameOutcomeAsProbingEveryIndex) {
    std::mt19937 rng(20240611);
    const char* spellings[] = {"R", "r"};
    const char* values[] = {"1", "2.2", "47", "", " ", "x", "0", "1e16", "3.3e3", "1k"};
    for (int round = 0; round < 500; ++round) {
        const int minIndex = 1 + static_cast<int>(rng() % 6);
        const int maxIndex = minIndex + static_cast<int>(rng() % 12);
        std::string text = "[Resistors]\nLabel=T\nMinIndex=" + std::to_string(minIndex) +
                           "\nMaxIndex=" + std::to_string(maxIndex) + "\n";
        const int keys = static_cast<int>(rng() % 12);
        for (int k = 0; k < keys; ++k) {
            const int n = static_cast<int>(rng() % 22);
            std::string name = spellings[rng() % 2];
            if (rng() % 8 == 0)
                name += "0"; // a leading zero: a different key
            name += std::to_string(n);
            // Most values are good so that some files load.
            const char* value = values[rng() % 8 == 0 ? rng() % 10 : rng() % 3];
            text += name + "=" + value + "\n";
        }
        const ProbeOutcome expected = ProbeEveryIndex(text);
        ResistorSet set;
        const bool ok = set.LoadFromText(text);
        ASSERT_EQ(ok, expected.ok) << text;
        if (ok) {
            EXPECT_EQ(std::vector<double>(set.values(), set.values() + set.count()),
                      expected.values)
                << text;
        } else {
            EXPECT_EQ(set.errorText(), expected.message) << text;
        }
    }
}

TEST(ResistorSetLoad, FromFile) {
    testing::TempDir dir;
    testing::WriteFile(dir / "a.val", "[Resistors]\r\nLabel=F\r\nMinIndex=1\r\nMaxIndex=2\r\n"
                                      "R1=10\r\nR2=1\r\n");
    ResistorSet set;
    ASSERT_TRUE(set.Load(dir / "a.val")) << set.errorText();
    EXPECT_EQ(set.label(), "F");
    EXPECT_EQ(set.count(), 2);
    EXPECT_EQ(set.values()[0], 1);
}

TEST(ResistorSetLoad, FileProblems) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir / "dir.val");
    testing::WriteFile(dir / "huge.val",
                       std::string(static_cast<std::size_t>(kMaxProfileFileSize) + 1, 'x'));
    const struct {
        const char* file;
        const char* message;
    } cases[] = {
        {"missing.val", "Cannot read the file."},
        {"dir.val", "Cannot read the file."},
        {"huge.val", "File is too large."},
    };
    for (const auto& c : cases) {
        ResistorSet set;
        EXPECT_FALSE(set.Load(dir / c.file)) << c.file;
        EXPECT_EQ(set.errorText(), c.message) << c.file;
        EXPECT_FALSE(set.IsLoaded()) << c.file;
    }
}

TEST(ResistorSetLoad, BinaryGarbageDoesNotLoad) {
    std::string text;
    std::mt19937 rng(7);
    for (int i = 0; i < 100000; ++i)
        text += static_cast<char>(rng() & 0xff);
    ResistorSet set;
    EXPECT_FALSE(set.LoadFromText(text));
    EXPECT_FALSE(set.errorText().empty());
}

// ---- lookups on a loaded set -------------------------------------------------

ResistorSet LoadValues(const std::string& extra) {
    ResistorSet set;
    EXPECT_TRUE(set.LoadFromText(kHead + extra)) << set.errorText();
    return set;
}

struct NearestCase {
    const char* name;
    std::string file;
    double x;
    int index;
};

TEST(ResistorSetLookups, NearestValueIndex) {
    const std::string framed =
        "ShortCircuitResistanceLevel=0.001\nOpenCircuitResistanceLevel=1e12\n";
    const NearestCase cases[] = {
        {"tiny x skips the short-circuit entry", framed + "R1=1\nR2=2\nR3=3\n", 1e-12, 1},
        {"huge x skips the open-circuit entry", framed + "R1=1\nR2=2\nR3=3\n", 1e14, 3},
        {"two entries tie to the smaller", "R1=1\nR2=2\n", 1.5, 0},
        {"two entries nearer the bigger", "R1=1\nR2=2\n", 1.6, 1},
        {"three entries tie to the smaller", "R1=1\nR2=2\nR3=3\n", 2.5, 1},
        {"three entries nearer the bigger", "R1=1\nR2=2\nR3=3\n", 2.6, 2},
        {"one real entry", framed + "R1=10\n", 1e11, 1},
        {"exact hit", "R1=1\nR2=2\nR3=4\nR4=8\nR5=16\n", 8, 3},
        {"with short-circuit entry, tie", "ShortCircuitResistanceLevel=0.01\nR1=1\nR2=2\nR3=3\n",
         1.5, 1},
    };
    for (const auto& c : cases) {
        const ResistorSet set = LoadValues(c.file);
        EXPECT_EQ(set.NearestValueIndex(c.x), c.index) << c.name;
    }
}

TEST(ResistorSetLookups, NeighbourIndices) {
    const ResistorSet framed = LoadValues(
        "ShortCircuitResistanceLevel=0.001\nOpenCircuitResistanceLevel=1e12\nR1=1\nR2=2\nR3=3\n");
    const ResistorSet bare = LoadValues("R1=1\nR2=2\n");
    const struct {
        const char* name;
        const ResistorSet& set;
        int i;
        int smaller;
        int bigger;
    } cases[] = {
        {"framed first real", framed, 1, -1, 2}, {"framed middle", framed, 2, 1, 3},
        {"framed last real", framed, 3, 2, -1},  {"bare first", bare, 0, -1, 1},
        {"bare last", bare, 1, 0, -1},           {"far outside", bare, 1000, -1, -1},
        {"far below", bare, -1000, -1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.set.SmallerIndex(c.i), c.smaller) << c.name;
        EXPECT_EQ(c.set.BiggerIndex(c.i), c.bigger) << c.name;
    }
}

TEST(ResistorSetLookups, NeighboursNeverOverflow) {
    EXPECT_EQ(SmallerRealIndex(INT_MIN, 5, false, false), -1);
    EXPECT_EQ(BiggerRealIndex(INT_MAX, 5, false, false), -1);
    EXPECT_EQ(SmallerRealIndex(INT_MAX, 5, false, false), -1);
    EXPECT_EQ(SmallerRealIndex(INT_MAX, INT_MAX, false, false), INT_MAX - 1);
    EXPECT_EQ(BiggerRealIndex(INT_MIN, 5, false, false), -1);
}

TEST(ResistorSetLookups, NearestOnTableWithoutRealEntries) {
    EXPECT_EQ(NearestRealIndex(1, nullptr, 0, false, false), -1);
    const double framesOnly[] = {0.001, 1e12};
    EXPECT_EQ(NearestRealIndex(1, framesOnly, 2, true, true), -1);
}

// Nearest real entry by a straight scan: smallest distance, the smaller
// value (earlier index) on a tie.
int ScanNearest(double x, const std::vector<double>& v, int first, int last) {
    int best = first;
    for (int i = first + 1; i <= last; ++i)
        if (std::fabs(x - v[static_cast<std::size_t>(i)]) <
            std::fabs(x - v[static_cast<std::size_t>(best)]))
            best = i;
    return best;
}

TEST(ResistorSetLookups, NearestAgreesWithScan) {
    std::mt19937 rng(99);
    for (int round = 0; round < 2000; ++round) {
        const bool sc = rng() % 2 != 0;
        const bool oc = rng() % 2 != 0;
        const int real = 1 + static_cast<int>(rng() % 12);
        std::vector<double> v;
        if (sc)
            v.push_back(0.001);
        std::vector<double> r;
        for (int i = 0; i < real; ++i)
            r.push_back(1 + static_cast<double>(rng() % 20)); // small integers: many ties
        std::sort(r.begin(), r.end());
        v.insert(v.end(), r.begin(), r.end());
        if (oc)
            v.push_back(1e12);
        const int count = static_cast<int>(v.size());
        const int first = sc ? 1 : 0;
        const int last = count - 1 - (oc ? 1 : 0);
        const double x = static_cast<double>(rng() % 46) / 2; // 0, 0.5, ..., 22.5
        const int expected = ScanNearest(x, v, first, last);
        const int got = NearestRealIndex(x, v.data(), count, sc, oc);
        // Among equal values any index is the same value.
        EXPECT_EQ(v[static_cast<std::size_t>(got)], v[static_cast<std::size_t>(expected)])
            << "x=" << x << " round " << round;
        EXPECT_GE(got, first);
        EXPECT_LE(got, last);
    }
}

} // namespace
} // namespace ohmtrim
