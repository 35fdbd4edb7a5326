#include "tests/core/cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

using ColourRun = testing::CliRun;

// The converter needs no value sets, so no directory is given.
ColourRun Colour(std::vector<std::string> args) {
    args.insert(args.begin(), "colour");
    return testing::RunTool(std::move(args));
}

TEST(CliColour, JsonInBothDirections) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* json;
    } cases[] = {
        {"four bands",
         {"--bands", "yellow,violet,red,gold"},
         0,
         R"({"mode":4,"status":0,"message":null,"bands":["yellow","violet","red","gold"],)"
         R"("resistance":4700,"tolerancePercent":5,"maximum":4935,"minimum":4465})"},
        {"five bands, names without regard to case and blanks around them",
         {"--five", "--bands", "Brown, BLACK,black ,brown,Brown"},
         0,
         R"({"mode":5,"status":0,"message":null,"bands":["brown","black","black","brown","brown"],)"
         R"("resistance":1000,"tolerancePercent":1,"maximum":1010,"minimum":990})"},
        {"an unknown band leaves the resistance null",
         {"--bands", "yellow,not known,red,no band"},
         0,
         R"({"mode":4,"status":0,"message":null,"bands":["yellow","not known","red","no band"],)"
         R"("resistance":null,"tolerancePercent":20,"maximum":null,"minimum":null})"},
        {"numbers as the boxes show them, not the product's last bits",
         {"--resistance", " 0.47\t", "--tolerance", "4.8"},
         0,
         R"({"mode":4,"status":0,"message":null,"bands":["yellow","violet","silver","gold"],)"
         R"("resistance":0.47,"tolerancePercent":5,"maximum":0.4935,"minimum":0.4465})"},
        {"1e8 in five bands",
         {"--five", "--resistance", "1e8", "--tolerance", "0.05"},
         0,
         R"({"mode":5,"status":0,"message":null,"bands":["brown","black","black","blue","gray"],)"
         R"("resistance":1e+08,"tolerancePercent":0.05,"maximum":100050000,)"
         R"("minimum":99950000})"},
        {"not a number: value bands unknown, tolerance still read",
         {"--resistance", "4k7", "--tolerance", "5"},
         1,
         R"({"mode":4,"status":1,"message":"the resistance is not a number",)"
         R"("bands":["not known","not known","not known","gold"],)"
         R"("resistance":null,"tolerancePercent":5,"maximum":null,"minimum":null})"},
        {"out of the four-band range",
         {"--resistance", "1e8", "--tolerance", "50"},
         1,
         R"({"mode":4,"status":1,"message":"the resistance is out of range: four bands show )"
         R"(0.1 to below 100000000 ohms","bands":["not known","not known","not known",)"
         R"("not known"],"resistance":null,"tolerancePercent":null,"maximum":null,)"
         R"("minimum":null})"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), "--json");
        const ColourRun r = Colour(args);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.out, std::string(c.json) + "\n") << c.name;
        // The reason of a failure also goes to standard error, on one line.
        if (c.status == 0) {
            EXPECT_EQ(r.err, "") << c.name;
        } else {
            ASSERT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.name;
            EXPECT_NE(r.out.find("\"message\":\"" + r.err.substr(0, r.err.size() - 1) + "\""),
                      std::string::npos)
                << c.name;
        }
    }
}

TEST(CliColour, HumanOutputAsTheWindowShowsIt) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* out;
    } cases[] = {
        {"four bands",
         {"--bands", "yellow,violet,red,gold"},
         0,
         "Band 1          yellow\n"
         "Band 2          violet\n"
         "Band 3          red\n"
         "Band 4          gold\n"
         "R               4700\n"
         "Tol.            5\n"
         "Max.            4935\n"
         "Min.            4465\n"},
        {"five bands from a resistance, empty boxes stay empty",
         {"--five", "--resistance", "9.96", "--tolerance", "x"},
         0,
         "Band 1          white\n"
         "Band 2          white\n"
         "Band 3          blue\n"
         "Band 4          silver\n"
         "Band 5          not known\n"
         "R               9.96\n"
         "Tol.\n"
         "Max.\n"
         "Min.\n"},
    };
    for (const auto& c : cases) {
        const ColourRun r = Colour(c.args);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
    }
}

TEST(CliColour, UsageErrors) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        const char* firstLine;
    } cases[] = {
        {"three bands for four",
         {"--bands", "yellow,violet,red"},
         "ohmtrim-cli: a four-band code has 4 bands (digit, digit, multiplier, tolerance), not 3"},
        {"four bands for five",
         {"--five", "--bands", "yellow,violet,red,gold"},
         "ohmtrim-cli: a five-band code has 5 bands (digit, digit, digit, multiplier, "
         "tolerance), not 4"},
        {"a colour its list does not hold",
         {"--bands", "black,violet,red,gold"},
         "ohmtrim-cli: band 1 (digit) has no colour 'black'; it is one of not known, brown, red, "
         "orange, yellow, green, blue, violet, gray, white"},
        {"an empty name",
         {"--bands", "yellow,,red,gold"},
         "ohmtrim-cli: band 2 (digit) has no colour ''; it is one of not known, black, brown, red, "
         "orange, yellow, green, blue, violet, gray, white"},
        {"both directions",
         {"--bands", "yellow,violet,red,gold", "--resistance", "47"},
         "ohmtrim-cli: colour takes --bands or --resistance, not both"},
        {"neither direction", {}, "ohmtrim-cli: colour needs --bands or --resistance"},
        {"a tolerance alone",
         {"--tolerance", "5"},
         "ohmtrim-cli: --tolerance goes with --resistance"},
        {"a tolerance with bands",
         {"--bands", "yellow,violet,red,gold", "--tolerance", "5"},
         "ohmtrim-cli: --tolerance goes with --resistance"},
        {"an argument",
         {"4700"},
         "ohmtrim-cli: colour takes no arguments: give --bands or --resistance"},
        {"an option twice",
         {"--resistance", "47", "--resistance", "48"},
         "ohmtrim-cli: option --resistance given twice"},
        {"an option without its value",
         {"--resistance"},
         "ohmtrim-cli: option --resistance needs a value"},
    };
    for (const auto& c : cases) {
        const ColourRun r = Colour(c.args);
        EXPECT_EQ(r.status, 64) << c.name;
        EXPECT_EQ(r.out, "") << c.name;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.firstLine) << c.name;
    }
}

} // namespace
} // namespace ohmtrim
