#include "cli/cli.h"
#include "tests/core/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <sstream>
#include <thread>
#include <tuple>

namespace ohmtrim {
namespace {

using testing::TempDir;
using testing::ValueSetText;

struct SolveCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
};

class CliSolveTest : public ::testing::Test {
protected:
    CliSolveTest() {
        m_dir.Write("a.val", ValueSetText("A", {"10", "22", "47", "100"}));
        m_dir.Write("k.val", ValueSetText("K", {"1000"}));
        m_dir.Write("b.val",
                    ValueSetText("B", {"100", "220", "470", "1000", "2200", "4700", "10000"}));
        m_dir.Write("e12.val",
                    ValueSetText("E12", {"100",   "120",   "150",   "180",   "220",   "270",
                                         "330",   "390",   "470",   "560",   "680",   "820",
                                         "1000",  "1200",  "1500",  "1800",  "2200",  "2700",
                                         "3300",  "3900",  "4700",  "5600",  "6800",  "8200",
                                         "10000", "12000", "15000", "18000", "22000", "27000",
                                         "33000", "39000", "47000", "56000", "68000", "82000"}));
    }

    void Check(const SolveCase& c) {
        std::vector<std::string> args{"--dir", m_dir.path().string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::ostringstream out, err;
        EXPECT_EQ(RunCli(args, out, err), c.status) << c.name;
        EXPECT_EQ(out.str(), c.out) << c.name;
        EXPECT_EQ(err.str(), c.err) << c.name;
    }

    TempDir m_dir;
};

TEST_F(CliSolveTest, ResistanceEntries) {
    const SolveCase cases[] = {
        {"series pair exact",
         {"--json", "solve", "3", "--sets", "A,A", "--target", "69"},
         0,
         "{\"entry\":3,\"status\":0,\"message\":null,\"values\":[22,47],"
         "\"results\":{\"resistance\":69,\"errorPercent\":0}}\n",
         ""},
        {"parallel pair as the window shows it",
         {"solve", "2", "--sets", "A,a", "--target", "15"},
         0,
         "R1             22\n"
         "R2             47\n"
         "R              14.9855\n"
         "Error %        -0.0966\n",
         ""},
        {"single resistor through solve",
         {"--json", "solve", "1", "--sets", "A", "--target", "5"},
         0,
         "{\"entry\":1,\"status\":0,\"message\":null,\"values\":[10],"
         "\"results\":{\"nearest\":10,\"smaller\":null,\"bigger\":22,\"errorPercent\":100}}\n",
         ""},
        {"target with a unit letter",
         {"--json", "solve", "5", "--sets", "A,A,A", "--target", "1k"},
         1,
         "{\"entry\":5,\"status\":1,\"message\":\"Invalid input data.\",\"values\":null,"
         "\"results\":null}\n",
         "Invalid input data.\n"},
        {"empty target",
         {"solve", "4", "--sets", "A,A,A", "--target", ""},
         1,
         "",
         "Invalid input data.\n"},
        {"hundreds of characters",
         {"solve", "7", "--sets", "A,A,A", "--target", std::string(500, '1')},
         1,
         "",
         "Invalid input data.\n"},
    };
    for (const auto& c : cases)
        Check(c);
}

TEST_F(CliSolveTest, DividerEntries) {
    const SolveCase cases[] = {
        {"E12 divider 12 V to 5 V",
         {"--json", "solve", "8", "--sets", "E12,E12", "--u1", "12", "--u2", "5", "--u3", "0",
          "--rmin", "1000", "--rmax", "20000"},
         0,
         "{\"entry\":8,\"status\":0,\"message\":null,\"values\":[4700,3300],"
         "\"results\":{\"resistance\":8000,\"u2\":4.95}}\n",
         ""},
        {"omitted U3 counts as 0, rising voltages",
         {"solve", "8", "--sets", "B,B", "--u1", "0", "--u2", "5", "--u3", "10", "--rmin", "1000",
          "--rmax", "100000"},
         0,
         "R1             1000\n"
         "R2             1000\n"
         "R              2000\n"
         "U2             5\n",
         ""},
        {"R max below every total",
         {"--json", "solve", "8", "--sets", "B,B", "--u1", "10", "--u2", "5", "--rmin", "1",
          "--rmax", "150"},
         2,
         "{\"entry\":8,\"status\":2,\"message\":\"No solution found.\",\"values\":null,"
         "\"results\":null}\n",
         "No solution found.\n"},
        {"all voltages omitted",
         {"solve", "9", "--sets", "B,B,B", "--rmin", "1000", "--rmax", "2000"},
         1,
         "",
         "Invalid input data.\n"},
        {"R min equal to R max",
         {"solve", "12", "--sets", "B,B,B,B", "--u1", "10", "--u2", "5", "--rmin", "1000", "--rmax",
          "1000"},
         1,
         "",
         "Invalid input data.\n"},
    };
    for (const auto& c : cases)
        Check(c);
}

// One value of 1000 ohms for every resistor leaves each chain one choice,
// whose node voltages follow from its sections.
TEST_F(CliSolveTest, NodeChainEntries) {
    const std::vector<std::string> both = {"--u1", "9", "--u2", "6", "--u3", "3", "--u4", "0"};
    const auto args = [](std::vector<std::string> head, const std::vector<std::string>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const std::string usage = "run 'ohmtrim-cli solve --help' for the usage\n";
    const SolveCase cases[] = {
        {"three equal resistors",
         args({"--json", "solve", "13", "--sets", "K,K,K", "--rmin", "100", "--rmax", "1e5"}, both),
         0,
         "{\"entry\":13,\"status\":0,\"message\":null,\"values\":[1000,1000,1000],"
         "\"results\":{\"u2\":6,\"u3\":3}}\n",
         ""},
        {"U3 alone, rising, both node voltages shown",
         {"solve", "13", "--sets", "K,K,K", "--u1", "0", "--u3", " 6 ", "--u4", "9", "--rmin",
          "100", "--rmax", "1e5"},
         0,
         "R1             1000\nR2             1000\n"
         "R3             1000\nU2             3\n"
         "U3             6\n",
         ""},
        {"an empty U2 is not given",
         {"--json", "solve", "14", "--sets", "K,K,K,K", "--u1", "10", "--u2", "", "--u3", "2",
          "--u4", "0", "--rmin", "100", "--rmax", "1e5"},
         0,
         "{\"entry\":14,\"status\":0,\"message\":null,\"values\":[1000,1000,1000,1000],"
         "\"results\":{\"u2\":6,\"u3\":2}}\n",
         ""},
        {"every total below R min: the outputs are cleared",
         args({"--json", "solve", "13", "--sets", "K,K,K", "--rmin", "5000", "--rmax", "1e5"},
              both),
         2,
         "{\"entry\":13,\"status\":2,\"message\":\"No solution found.\",\"values\":[0,0,0],"
         "\"results\":null}\n",
         "No solution found.\n"},
        {"R min x f3 above every R3: nothing written",
         {"--json", "solve", "13", "--sets", "K,K,K", "--u1", "9", "--u3", "3", "--u4", "0",
          "--rmin", "1e4", "--rmax", "1e5"},
         2,
         "{\"entry\":13,\"status\":2,\"message\":\"No solution found.\",\"values\":null,"
         "\"results\":null}\n",
         "No solution found.\n"},
        {"not a number",
         args({"solve", "13", "--sets", "K,K,K", "--rmin", "100", "--rmax", "12abc"}, both), 64, "",
         "ohmtrim-cli: option --rmax needs a number\n" + usage},
        {"no U4",
         {"solve", "14", "--sets", "K,K,K,K", "--u1", "9", "--u2", "6", "--rmin", "100", "--rmax",
          "1e5"},
         64,
         "",
         "ohmtrim-cli: entry 14 needs --u4\n" + usage},
        {"no inner node",
         {"solve", "13", "--sets", "K,K,K", "--u1", "9", "--u2", " ", "--u4", "0", "--rmin", "100",
          "--rmax", "1e5"},
         64,
         "",
         "ohmtrim-cli: entry 13 needs --u2 or --u3\n" + usage},
        {"one inner node where both are needed",
         {"solve", "15", "--sets", "K,K,K,K,K", "--u1", "9", "--u3", "3", "--u4", "0", "--rmin",
          "100", "--rmax", "1e5"},
         64,
         "",
         "ohmtrim-cli: entry 15 needs --u2\n" + usage},
    };
    for (const auto& c : cases)
        Check(c);
}

// The star of 1000, 1000 and 2000 ohms gives U0 = 4 with 10, 0, 0 at the
// far ends and U0 = 2 with 0, 0, 10; STAR holds those values exactly.
TEST_F(CliSolveTest, StarEntries) {
    m_dir.Write("star.val", ValueSetText("STAR", {"500", "1000", "2000", "4000"}));
    const auto star = [](std::string entry, std::string sets, std::string case1, std::string case2,
                         std::string rmin, std::string rmax) {
        return std::vector<std::string>{"solve",   entry, "--sets", sets, "--case1", case1,
                                        "--case2", case2, "--rmin", rmin, "--rmax",  rmax};
    };
    const auto json = [](std::vector<std::string> args) {
        args.insert(args.begin(), "--json");
        return args;
    };
    const char* wrong = "There is something wrong with\nthe combination of input values.\n";
    const SolveCase cases[] = {
        {"three single resistors",
         json(star("17", "STAR,STAR,STAR", "4,10,0,0", "2,0,0,10", "900", "1100")), 0,
         "{\"entry\":17,\"status\":0,\"message\":null,\"values\":[1000,1000,2000],"
         "\"results\":{\"u0Case1\":4,\"u0Case2\":2}}\n",
         ""},
        // Conductances 8, 1 and 8 (in 1/2000 ohm): U0 = (12 - 96) / 17 and (40 - 24) / 17.
        {"negative voltages, six resistors",
         star("23", "STAR,STAR,STAR,STAR,STAR,STAR", "-5,0,12,-12", "1,5,0,-3", "100", "5000"), 0,
         "R1             500\n"
         "R2             500\n"
         "R3             4000\n"
         "R4             4000\n"
         "R5             500\n"
         "R6             500\n"
         "U0 case 1      -4.94118\n"
         "U0 case 2      0.941176\n",
         ""},
        {"range upside down",
         json(star("20", "STAR,STAR,STAR,STAR,STAR", "4,10,0,0", "2,0,0,10", "1100", "900")), 1,
         "{\"entry\":20,\"status\":1,\"message\":\"Invalid resistance range.\","
         "\"values\":null,\"results\":null}\n",
         "Invalid resistance range.\n"},
        {"proportional cases write nothing",
         json(star("21", "STAR,STAR,STAR,STAR,STAR", "4,10,0,0", "8,20,0,0", "900", "1100")), 2,
         "{\"entry\":21,\"status\":2,\"message\":\"There is something wrong with\\nthe "
         "combination of input values.\",\"values\":null,\"results\":null}\n",
         wrong},
        {"no sum of a series branch 1 in range writes zeros",
         json(star("18", "STAR,STAR,STAR,STAR", "4,10,0,0", "2,0,0,10", "1e5", "2e5")), 2,
         "{\"entry\":18,\"status\":2,\"message\":\"There is something wrong with\\nthe "
         "combination of input values.\",\"values\":[0,0,0,0],\"results\":null}\n",
         wrong},
        {"R1 table below R min",
         star("19", "STAR,STAR,STAR,STAR", "4,10,0,0", "2,0,0,10", "1e5", "2e5"), 1, "",
         "Invalid resistance range.\n"},
    };
    for (const auto& c : cases)
        Check(c);

    const char* hint = "run 'ohmtrim-cli solve --help' for the usage\n";
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string error;
    } mistakes[] = {
        {"three numbers", star("17", "STAR,STAR,STAR", "4,10,0", "2,0,0,10", "900", "1100"),
         "option --case1 needs 4 numbers separated by commas (U0,U1,U2,U3)"},
        {"five numbers", star("17", "STAR,STAR,STAR", "4,10,0,0", "2,0,0,10,1", "900", "1100"),
         "option --case2 needs 4 numbers separated by commas (U0,U1,U2,U3)"},
        {"a unit", star("22", "STAR,STAR,STAR,STAR,STAR", "4,10,0,0", "2,0,0,10", "900", "5V"),
         "option --rmax needs a number"},
        {"empty R min", star("17", "STAR,STAR,STAR", "4,10,0,0", "2,0,0,10", "", "1100"),
         "option --rmin needs a number"},
        {"missing case 2",
         {"solve", "17", "--sets", "STAR,STAR,STAR", "--case1", "4,10,0,0", "--rmin", "900",
          "--rmax", "1100"},
         "entry 17 needs --case2"},
        {"an option of the dividers",
         {"solve", "17", "--sets", "STAR,STAR,STAR", "--u1", "10"},
         "entry 17 takes no option --u1"},
    };
    for (const auto& m : mistakes) {
        const std::string err = "ohmtrim-cli: " + m.error + "\n" + hint;
        Check({m.name, m.args, 64, "", err.c_str()});
    }
}

// The options of both families whose inputs come from a dialog take a
// number as the dialogs do: whole or not at all, never cut to 63 characters.
TEST_F(CliSolveTest, DialogFamiliesReadTheirNumbersAsTheDialogsDo) {
    m_dir.Write("star.val", ValueSetText("STAR", {"500", "1000", "2000", "4000"}));
    const std::string zeros61(61, '0');
    const struct {
        const char* name;
        std::vector<std::string> head; // ending in the option under test
        const char* option;
    } families[] = {
        {"node chain",
         {"--json", "solve", "13", "--sets", "K,K,K", "--u1", "9", "--u2", "6", "--u4", "0",
          "--rmax", "1e5", "--rmin"},
         "--rmin"},
        {"star",
         {"--json", "solve", "17", "--sets", "STAR,STAR,STAR", "--case1", "4,10,0,0", "--case2",
          "2,0,0,10", "--rmax", "1100", "--rmin"},
         "--rmin"},
    };
    const struct {
        const char* name;
        std::string text;
        const char* same; // read as this shorter text; null: refused
    } texts[] = {
        {"63 characters", "9." + zeros61, "9"},
        {"blanks beyond 63 characters", std::string(40, ' ') + "900" + std::string(40, ' '), "900"},
        {"a step of 64 characters", "0." + zeros61 + "1", nullptr},
        {"64 characters", "9." + zeros61 + "5", nullptr},
        {"too large for a double", "1e400", nullptr},
        {"a unit", "900R", nullptr},
    };
    const std::string hint = "run 'ohmtrim-cli solve --help' for the usage\n";
    for (const auto& f : families) {
        const auto run = [&](const std::string& text) {
            std::vector<std::string> args{"--dir", m_dir.path().string()};
            args.insert(args.end(), f.head.begin(), f.head.end());
            args.push_back(text);
            std::ostringstream out, err;
            const int status = RunCli(args, out, err);
            return std::tuple(status, out.str(), err.str());
        };
        for (const auto& t : texts) {
            const auto [status, out, err] = run(t.text);
            if (t.same != nullptr) {
                EXPECT_EQ(std::tuple(status, out, err), run(t.same)) << f.name << ": " << t.name;
                EXPECT_NE(status, 64) << f.name << ": " << t.name;
            } else {
                EXPECT_EQ(status, 64) << f.name << ": " << t.name;
                EXPECT_EQ(err, "ohmtrim-cli: option " + std::string(f.option) +
                                   " needs a number\n" + hint)
                    << f.name << ": " << t.name;
            }
        }
    }
}

std::atomic<int> g_ignoredInterrupts{0};
extern "C" void IgnoreInterrupt(int) {
    g_ignoredInterrupts.fetch_add(1);
}

TEST(CliInterrupt, CtrlCAbortsALongSearch) {
    TempDir dir;
    std::filesystem::copy_file(OHMTRIM_SOURCE_DIR "/data/E192.val", dir / "E192.val");
    // Signals that arrive before the tool has installed its own handler land
    // here instead of ending the test program.
    const auto previous = std::signal(SIGINT, IgnoreInterrupt);
    std::atomic<bool> done{false};
    std::thread interrupter([&] {
        while (!done.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (!done.load())
                std::raise(SIGINT);
        }
    });
    std::ostringstream out, err;
    // Relative tolerance 0 over the whole table takes seconds without Ctrl-C.
    const int status =
        RunCli({"--dir", dir.path().string(), "--reltol", "0", "--json", "solve", "12", "--sets",
                "E192,E192,E192,E192", "--u1", "10", "--u2", "3", "--rmin", "1", "--rmax", "1e7"},
               out, err);
    done = true;
    interrupter.join();
    // The tool puts back the handler it found.
    EXPECT_EQ(std::signal(SIGINT, previous), &IgnoreInterrupt);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(out.str(), "{\"entry\":12,\"status\":3,\"message\":\"Search aborted.\","
                         "\"values\":null,\"results\":null}\n");
    EXPECT_EQ(err.str(), "Search aborted.\n");
}

// The ranges over the tolerance corners and the ranked alternatives. The
// values of A are 10, 22, 47 and 100. The corners are products in double:
// 10 * (1 + 10/100) rounds up to 11.000000000000002, hence the upper ends
// of 10 + 100 in JSON.
TEST_F(CliSolveTest, ToleranceAndAlternatives) {
    const std::string hint = "run 'ohmtrim-cli solve --help' for the usage\n";
    const std::vector<std::string> pair{"solve", "3", "--sets", "A,A", "--target", "69"};
    const auto usage = [&](std::vector<std::string> more, const std::string& message) {
        std::vector<std::string> args = pair;
        args.insert(args.end(), more.begin(), more.end());
        return SolveCase{"usage", args, 64, "", "ohmtrim-cli: " + message + "\n" + hint};
    };
    const std::string percentage = "--tolerance needs a percentage above 0 and at most 20, not ";
    const std::string whole = "--top needs a whole number from 1 to 100, not ";
    const SolveCase cases[] = {
        {"series pair with its range and the four best sums",
         {"solve", "3", "--sets", "A,A", "--target", "69", "--tolerance", "10", "--top", "4"},
         0,
         "R1             22\n"
         "R2             47\n"
         "R              69             (62.1 .. 75.9 at \u00b110 %)\n"
         "Error %        0              (-10 .. 10 at \u00b110 %)\n"
         "Alternatives   R1             R2             R              Error %\n"
         "1              22             47             69             0\n"
         "2              10             47             57             -17.4\n"
         // 44 and 94 are 25 away from 69 either way: R1 decides.
         "3              22             22             44             -36.2\n"
         "4              47             47             94             36.2\n",
         ""},
        {"JSON blocks",
         {"--json", "solve", "3", "--sets", "A,A", "--target", "110", "--tolerance", "10", "--top",
          "2"},
         0,
         "{\"entry\":3,\"status\":0,\"message\":null,\"values\":[10,100],"
         "\"results\":{\"resistance\":110,\"errorPercent\":0},"
         "\"tolerance\":{\"percent\":10,\"results\":{\"resistance\":{\"min\":99,\"max\":121."
         "00000000000001},\"errorPercent\":{\"min\":-10,\"max\":10.000000000000012}}},"
         "\"alternatives\":[{\"values\":[10,100],\"resistance\":110,\"errorPercent\":0},"
         "{\"values\":[22,100],\"resistance\":122,\"errorPercent\":10.909090909090908}]}\n",
         ""},
        {"no block without a solution",
         {"--json", "solve", "8", "--sets", "B,B", "--u1", "10", "--u2", "5", "--rmin", "1",
          "--rmax", "150", "--tolerance", "1"},
         2,
         "{\"entry\":8,\"status\":2,\"message\":\"No solution found.\",\"values\":null,"
         "\"results\":null}\n",
         "No solution found.\n"},
        usage({"--tolerance", "0"}, percentage + "'0'"),
        usage({"--tolerance", "nan"}, percentage + "'nan'"),
        usage({"--top", "0"}, whole + "'0'"),
        usage({"--top", "1.5"}, whole + "'1.5'"),
        {"top for a divider",
         {"solve", "8", "--sets", "B,B", "--u1", "10", "--u2", "5", "--rmin", "1000", "--rmax",
          "2000", "--top", "3"},
         64,
         "",
         "ohmtrim-cli: entry 8 takes no option --top (entries 2 to 7 do)\n" + hint},
    };
    for (const auto& c : cases)
        Check(c);
}

} // namespace
} // namespace ohmtrim
