#include "tests/core/cli_run.h"
#include "tests/core/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace ohmtrim {
namespace {

using testing::TempDir;
using testing::ValueSetText;

using testing::CliRun;

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        m_dir.Write("t.val", ValueSetText("T", {"10", "9.1", "8.2"}));
        m_dir.Write("so.val", ValueSetText("TSO", {"10", "22", "47", "100"},
                                           "ShortCircuitResistanceLevel=0.001\n"
                                           "OpenCircuitResistanceLevel=1e9\n"));
        m_dir.Write("e.val", ValueSetText("E", {"10", "22", "47", "100"}));
        m_dir.Write("bad.val", ValueSetText("BAD", {"1k"}));
        m_dir.Write("omtr.ini", "[Setup]\nRelTol=0.001\nLabel=TSO\n");
    }

    CliRun Run(std::vector<std::string> args) {
        return testing::RunTool(std::move(args), m_dir.path());
    }

    TempDir m_dir;
};

TEST_F(CliTest, SetsAsJson) {
    const CliRun r = Run({"--json", "sets"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "{\"sets\":["
              "{\"label\":\"E\",\"count\":4,\"hasShortCircuit\":false,\"hasOpenCircuit\":false,"
              "\"file\":\"e.val\"},"
              "{\"label\":\"T\",\"count\":3,\"hasShortCircuit\":false,\"hasOpenCircuit\":false,"
              "\"file\":\"t.val\"},"
              "{\"label\":\"TSO\",\"count\":6,\"hasShortCircuit\":true,\"hasOpenCircuit\":true,"
              "\"file\":\"so.val\"}],"
              "\"failures\":[{\"file\":\"bad.val\",\"error\":\"Input error: R1\"}],"
              "\"skipped\":0,\"preselected\":\"TSO\",\"relTol\":0.001,"
              "\"directories\":[\"" +
                  m_dir.path().string() + "\"],\"settingsFile\":\"" +
                  (m_dir / "omtr.ini").string() + "\"}\n");
}

TEST_F(CliTest, SetsForPeople) {
    const CliRun r = Run({"--reltol", "0.5", "sets"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("  TSO   6 values    short open  so.val\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  bad.val: Input error: R1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Preselected: TSO\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Relative tolerance: 0.05\n"), std::string::npos)
        << "--reltol is clamped like the setting\n"
        << r.out;
}

TEST_F(CliTest, ValuesOfASet) {
    const CliRun r = Run({"--json", "values", "tso"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "{\"label\":\"TSO\",\"values\":[0.001,10,22,47,100,1e+09]}\n");
}

TEST_F(CliTest, NearestAsJson) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {"between 9.1 and 10",
         {"--json", "nearest", "T", "9.5"},
         0,
         "{\"status\":0,\"nearest\":9.1,\"smaller\":8.2,\"bigger\":10,"
         "\"errorPercent\":-4.210526315789477}\n",
         ""},
        {"no bigger value, open circuit never shown",
         {"--json", "nearest", "TSO", "500"},
         0,
         "{\"status\":0,\"nearest\":100,\"smaller\":47,\"bigger\":null,\"errorPercent\":-80}\n",
         ""},
        {"unit letter",
         {"--json", "nearest", "T", "4k7"},
         1,
         "{\"status\":1,\"message\":\"Invalid input data.\"}\n",
         "Invalid input data.\n"},
        {"above the range",
         {"--json", "nearest", "T", "1.1e15"},
         1,
         "{\"status\":1,\"message\":\"Invalid input data.\"}\n",
         "Invalid input data.\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
    }
}

TEST_F(CliTest, NearestForPeople) {
    const CliRun r = Run({"nearest", "T", "9.5"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Nearest value  9.1\n"
                     "Smaller value  8.2\n"
                     "Bigger value   10\n"
                     "Error %        -4.21\n");
}

TEST_F(CliTest, UsageErrors) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        const char* firstLine;
    } cases[] = {
        {"unknown command", {"frobnicate"}, "ohmtrim-cli: unknown command 'frobnicate'"},
        {"unknown option", {"--verbose", "sets"}, "ohmtrim-cli: unknown option --verbose"},
        {"unknown set", {"nearest", "E7", "10"}, "ohmtrim-cli: unknown value set 'E7'"},
        {"missing argument", {"nearest", "T"}, "ohmtrim-cli: nearest takes two arguments: LABEL R"},
        {"bad reltol", {"--reltol", "x", "sets"}, "ohmtrim-cli: --reltol needs a number, not 'x'"},
        {"entry out of range",
         {"solve", "24", "--sets", "T", "--target", "1"},
         "ohmtrim-cli: no catalogue entry '24' (0 to 23)"},
        {"wrong number of sets",
         {"solve", "3", "--sets", "T", "--target", "1"},
         "ohmtrim-cli: entry 3 needs 2 value sets, one per resistor"},
        {"missing required input",
         {"solve", "8", "--sets", "T,T", "--rmax", "1000"},
         "ohmtrim-cli: entry 8 needs --rmin"},
        {"input of another kind",
         {"solve", "3", "--sets", "T,T", "--u1", "1"},
         "ohmtrim-cli: entry 3 takes no option --u1"},
        {"no command", {}, "ohmtrim-cli: no command given"},
    };
    for (const auto& c : cases) {
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.status, 64) << c.name;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.firstLine) << c.name;
        EXPECT_EQ(r.out, "") << c.name;
    }
}

// What the argument parser accepts beyond "--option value", and how it
// answers help requests and mistakes: help on standard output with status
// 0; a mistake as one line saying what is wrong, at most one line of hint,
// status 64.
TEST_F(CliTest, ParserForms) {
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* outHas; // a part of standard output
        const char* error;  // first line of standard error; "" for none
    } cases[] = {
        {"values after =",
         {"solve", "3", "--sets=T,T", "--target=19.1"},
         0,
         "R1             9.1\nR2             10\n",
         ""},
        {"negative voltages, separate and after =",
         {"solve", "8", "--sets", "T,T", "--u1", "-2", "--u2=-5", "--u3", "-10", "--rmin", "1",
          "--rmax", "100"},
         0,
         "U2             -",
         ""},
        {"tool options after the command",
         {"nearest", "T", "9.5", "--json"},
         0,
         "{\"status\":0,\"nearest\":9.1,",
         ""},
        {"help of the tool", {"--help"}, 0, "Usage: ohmtrim-cli [OPTIONS] SUBCOMMAND", ""},
        {"help of solve lists the entries with their inputs",
         {"solve", "--help"},
         0,
         "   3  two resistors in series, R1+R2\n      --sets L1,L2 --target R\n",
         ""},
        {"the colour code is not a search",
         {"solve", "0", "--sets", "T"},
         64,
         "",
         "ohmtrim-cli: entry 0 (resistor with colour bands) is served by 'ohmtrim-cli colour', "
         "not by solve"},
        {"option without its value",
         {"solve", "3", "--sets", "T,T", "--target"},
         64,
         "",
         "ohmtrim-cli: option --target needs a value"},
        {"one argument too many",
         {"nearest", "T", "9.5", "10"},
         64,
         "",
         "ohmtrim-cli: nearest takes two arguments: LABEL R"},
        {"option of no command",
         {"solve", "3", "--sets", "T,T", "--target", "1", "--frequency", "50"},
         64,
         "",
         "ohmtrim-cli: unknown option --frequency"},
    };
    for (const auto& c : cases) {
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_NE(r.out.find(c.outHas), std::string::npos) << c.name << "\n" << r.out;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.error) << c.name;
        if (c.status == 64) {
            EXPECT_EQ(r.out, "") << c.name;
            EXPECT_LE(std::count(r.err.begin(), r.err.end(), '\n'), 2) << c.name << "\n" << r.err;
        }
    }
}

TEST(CliAmbiguity, LabelsDifferingOnlyInCase) {
    TempDir dir;
    dir.Write("a.val", ValueSetText("Ab", {"1"}));
    dir.Write("b.val", ValueSetText("AB", {"2"}));
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--dir", dir.path().string(), "values", "AB"}, out, err), 0)
        << "an exact match wins";
    EXPECT_EQ(out.str(), "2\n");
    std::ostringstream out2, err2;
    EXPECT_EQ(RunCli({"--dir", dir.path().string(), "values", "ab"}, out2, err2), 64);
    EXPECT_EQ(err2.str().substr(0, err2.str().find('\n')),
              "ohmtrim-cli: value set 'ab' is ambiguous");
}

} // namespace
} // namespace ohmtrim

namespace ohmtrim {
namespace {

TEST(CliShippedData, SetsInListOrder) {
    std::ostringstream out, err;
    ASSERT_EQ(RunCli({"--dir", OHMTRIM_SOURCE_DIR "/data", "--json", "sets"}, out, err), 0);
    const std::string json = out.str();
    // Each shipped set with its count, in list order: shorter labels first,
    // then by text, so the variants follow the series of the same length.
    const std::pair<const char*, int> expected[] = {
        {"E3", 22},   {"E6", 43},     {"E12", 85},   {"E24", 169},   {"E48", 337},
        {"E96", 673}, {"E192", 1345}, {"E12SO", 87}, {"E24SO", 171}, {"E96SO", 675},
    };
    std::size_t at = 0;
    for (const auto& [label, count] : expected) {
        const std::string item =
            std::string("{\"label\":\"") + label + "\",\"count\":" + std::to_string(count) + ",";
        const std::size_t found = json.find(item, at);
        ASSERT_NE(found, std::string::npos) << label << " missing or out of order in " << json;
        at = found + item.size();
    }
    EXPECT_NE(json.find("\"failures\":[],\"skipped\":0,\"preselected\":\"E24\""), std::string::npos)
        << json;
}

} // namespace
} // namespace ohmtrim
