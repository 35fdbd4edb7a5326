#include "circuits/format.h"

#include <gtest/gtest.h>

namespace ohmtrim {
namespace {

struct FormatCase {
    const char* name;
    double value;
    NumberFormat format;
    const char* expected;
};

TEST(NumberFormat, CLibraryFormatsPaddedTo15) {
    using F = NumberFormat;
    const FormatCase cases[] = {
        {"small value in exponent form", 0.000047, F::Value, "4.7E-05        "},
        {"thousand plain", 1000, F::Value, "1000           "},
        {"million in exponent form", 1e6, F::Value, "1E+06          "},
        {"six significant digits", 22.0 * 47.0 / 69.0, F::Value, "14.9855        "},
        {"just below a million", 999999, F::Value, "999999         "},
        {"limit of the range", 1e15, F::Value, "1E+15          "},
        {"error three digits", -4.2105263, F::Percent, "-4.21          "},
        {"error of exact result", 0, F::Percent, "0              "},
        {"error one percent below", -1, F::Percent, "-1             "},
        {"error half percent above", 0.5, F::Percent, "0.5            "},
        {"error from 1000 in exponent form", 1234, F::Percent, "1.23E+03       "},
        {"small error", (22.0 * 47.0 / 69.0 - 15) * 100 / 15, F::Percent, "-0.0966        "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.format), c.expected) << c.name;
}

TEST(NumberFormat, ExtremeValuesFitTheBuffer) {
    EXPECT_EQ(FormatNumber(-1.7976931348623157e308, NumberFormat::Value), "-1.79769E+308  ");
    EXPECT_EQ(FormatNumber(-4.9e-324, NumberFormat::Percent), "-4.94E-324     ");
}

} // namespace
} // namespace ohmtrim
