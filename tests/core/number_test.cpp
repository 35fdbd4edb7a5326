#include "valuesets/number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace ohmtrim {
namespace {

struct NumberCase {
    const char* name;
    std::string text;
    NumberStatus status;
    double value; // checked only for NumberStatus::Number
};

const NumberCase kNumberCases[] = {
    {"integer", "4700", NumberStatus::Number, 4700},
    {"decimal", "4.7", NumberStatus::Number, 4.7},
    {"trailing point", "1.", NumberStatus::Number, 1},
    {"leading point", ".5", NumberStatus::Number, 0.5},
    {"plus sign and exponent", "+1e3", NumberStatus::Number, 1000},
    {"minus sign", "-2.5", NumberStatus::Number, -2.5},
    {"capital E and negative exponent", "47E-2", NumberStatus::Number, 0.47},
    {"explicit plus exponent", "1.5e+2", NumberStatus::Number, 150},
    {"leading zeros", "007", NumberStatus::Number, 7},
    {"zero", "0", NumberStatus::Number, 0},
    {"surrounding blanks", " 12 ", NumberStatus::Number, 12},
    {"surrounding tabs and controls", "\t\r12\n", NumberStatus::Number, 12},
    {"largest double", "1.7976931348623157e308", NumberStatus::Number, 1.7976931348623157e308},
    {"smallest subnormal", "5e-324", NumberStatus::Number, 5e-324},
    {"underflow reads as zero", "1e-400", NumberStatus::Number, 0},
    {"zero with huge exponent", "0e999999999999999999", NumberStatus::Number, 0},
    {"empty", "", NumberStatus::NotANumber, 0},
    {"blanks only", "   ", NumberStatus::NotANumber, 0},
    {"sign only", "+", NumberStatus::NotANumber, 0},
    {"point only", ".", NumberStatus::NotANumber, 0},
    {"exponent without digits", "1e", NumberStatus::NotANumber, 0},
    {"exponent sign without digits", "1e+", NumberStatus::NotANumber, 0},
    {"exponent without mantissa", "e3", NumberStatus::NotANumber, 0},
    {"point and exponent without digits", ".e3", NumberStatus::NotANumber, 0},
    {"hexadecimal", "0x10", NumberStatus::NotANumber, 0},
    {"hexadecimal float", "0x1p3", NumberStatus::NotANumber, 0},
    {"inf", "inf", NumberStatus::NotANumber, 0},
    {"infinity", "-Infinity", NumberStatus::NotANumber, 0},
    {"nan", "nan", NumberStatus::NotANumber, 0},
    {"decimal comma", "4,7", NumberStatus::NotANumber, 0},
    {"unit letter", "1k", NumberStatus::NotANumber, 0},
    {"unit suffix", "4.7 Ohm", NumberStatus::NotANumber, 0},
    {"inner blank", "1 2", NumberStatus::NotANumber, 0},
    {"double sign", "--1", NumberStatus::NotANumber, 0},
    {"two points", "1.2.3", NumberStatus::NotANumber, 0},
    {"fractional exponent", "1e2.5", NumberStatus::NotANumber, 0},
    {"inner control character",
     "1\x01"
     "2",
     NumberStatus::NotANumber, 0},
    {"overflow", "1e400", NumberStatus::Overflow, 0},
    {"negative overflow", "-1e400", NumberStatus::Overflow, 0},
    {"just above the largest double", "1.7976931348623159e308", NumberStatus::Overflow, 0},
    {"overflow by huge exponent", "1e99999999999999999999", NumberStatus::Overflow, 0},
    {"overflow hidden behind leading zeros", "0000.00012e313", NumberStatus::Overflow, 0},
    {"small despite big exponent", "0.0000001e310", NumberStatus::Number, 1e303},
};

TEST(ParseNumber, WholeTextRule) {
    for (const auto& c : kNumberCases) {
        double value = -12345;
        const NumberStatus status = ParseNumber(c.text, value);
        EXPECT_EQ(status, c.status) << c.name;
        if (status == NumberStatus::Number && c.status == NumberStatus::Number) {
            EXPECT_EQ(value, c.value) << c.name;
        }
    }
}

TEST(ParseNumber, NegativeUnderflowKeepsItsSign) {
    double value = 1;
    ASSERT_EQ(ParseNumber("-1e-400", value), NumberStatus::Number);
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(std::signbit(value));
}

TEST(ParseNumber, FailureLeavesValueAlone) {
    double value = 3.25;
    EXPECT_EQ(ParseNumber("abc", value), NumberStatus::NotANumber);
    EXPECT_EQ(ParseNumber("1e400", value), NumberStatus::Overflow);
    EXPECT_EQ(value, 3.25);
}

// Texts far longer than any buffer a number usually needs.
struct LongCase {
    const char* name;
    std::string text;
    NumberStatus status;
    double value;
};

TEST(ParseNumber, VeryLongTexts) {
    const std::string zeros(5000, '0');
    const LongCase cases[] = {
        {"leading zeros", zeros + "47", NumberStatus::Number, 47},
        {"trailing fraction zeros", "4.7" + zeros, NumberStatus::Number, 4.7},
        {"many digits scaled back", "1" + zeros + "e-5000", NumberStatus::Number, 1},
        {"tiny fraction scaled up", "0." + zeros + "1e5001", NumberStatus::Number, 1},
        {"many integer digits overflow", "1" + zeros, NumberStatus::Overflow, 0},
        {"many fraction zeros underflow", "0." + zeros + "1", NumberStatus::Number, 0},
        // 2^53 + 1 lies halfway between two doubles: the digit far behind
        // decides that it rounds up, not to even.
        {"far digit breaks a tie", "9007199254740993." + zeros + "1", NumberStatus::Number,
         9007199254740994.0},
        {"exact tie rounds to even", "9007199254740993." + zeros, NumberStatus::Number,
         9007199254740992.0},
        {"long exponent", "1e" + zeros + "3", NumberStatus::Number, 1000},
        {"long text with a bad tail", zeros + "1x", NumberStatus::NotANumber, 0},
    };
    for (const auto& c : cases) {
        double value = -1;
        const NumberStatus status = ParseNumber(c.text, value);
        EXPECT_EQ(status, c.status) << c.name;
        if (status == NumberStatus::Number && c.status == NumberStatus::Number) {
            EXPECT_EQ(value, c.value) << c.name;
        }
    }
}

TEST(ParseNumber, IgnoresTheLocale) {
    // A locale with a decimal comma must not change what a number is; the
    // test runs wherever such a locale is installed.
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : names) {
        if (std::setlocale(LC_NUMERIC, name) == nullptr)
            continue;
        double value = 0;
        EXPECT_EQ(ParseNumber("4.7", value), NumberStatus::Number) << name;
        EXPECT_EQ(value, 4.7) << name;
        EXPECT_EQ(ParseNumber("4,7", value), NumberStatus::NotANumber) << name;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

struct ResistanceCase {
    const char* text;
    ResistanceStatus status;
};

TEST(ParseResistance, RangeEnds) {
    const ResistanceCase cases[] = {
        {"1e15", ResistanceStatus::Ok},
        {"1000000000000000", ResistanceStatus::Ok},
        {"1e-15", ResistanceStatus::Ok},
        {"0.000000000000001", ResistanceStatus::Ok},
        {"4700", ResistanceStatus::Ok},
        {"1.1e15", ResistanceStatus::OutOfRange},
        {"1000000000000001", ResistanceStatus::OutOfRange},
        {"1e-16", ResistanceStatus::OutOfRange},
        {"0", ResistanceStatus::OutOfRange},
        {"-5", ResistanceStatus::OutOfRange},
        {"1e400", ResistanceStatus::OutOfRange},
        {"1e-400", ResistanceStatus::OutOfRange},
        {"1.5k", ResistanceStatus::NotANumber},
        {"", ResistanceStatus::NotANumber},
    };
    for (const auto& c : cases) {
        double value = 0;
        EXPECT_EQ(ParseResistance(c.text, value), c.status) << c.text;
    }
}

TEST(ParseResistance, GivesTheValue) {
    double value = 0;
    ASSERT_EQ(ParseResistance(" 1e15\t", value), ResistanceStatus::Ok);
    EXPECT_EQ(value, 1e15);
}

struct TrimCase {
    const char* name;
    std::string text;
    std::string tabsTrimmed;
    std::string controlsTrimmed;
};

TEST(Trim, BlanksTabsAndControls) {
    const TrimCase cases[] = {
        {"nothing to trim", "a b", "a b", "a b"},
        {"blanks and tabs", " \ta b\t ", "a b", "a b"},
        {"carriage return stays for the profile trim", "\ra\r", "\ra\r", "a"},
        {"nul and delete", std::string("\0a\x7f", 3), std::string("\0a\x7f", 3), "a"},
        {"all blank", " \t ", "", ""},
        {"empty", "", "", ""},
        {"non-ASCII bytes stay", "\xC2\xB5", "\xC2\xB5", "\xC2\xB5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimBlanksAndTabs(c.text), c.tabsTrimmed) << c.name;
        EXPECT_EQ(TrimBlanksAndControls(c.text), c.controlsTrimmed) << c.name;
    }
}

// A result longer than any of the program's formats gives comes out whole.
TEST(FormatDouble, LongResultsAreNotCut) {
    const std::string text = FormatDouble("%.100f", 0.5);
    EXPECT_EQ(text, "0.5" + std::string(99, '0'));
    EXPECT_EQ(FormatDouble(" %-15.10G", 4935), " 4935           ");
}

} // namespace
} // namespace ohmtrim
