// What the command-line tool promises about its exit statuses and its
// output, whatever the directory, the files and the terminal hold.
#include "tests/core/cli_run.h"
#include "tests/core/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace ohmtrim {
namespace {

using testing::TempDir;
using testing::ValueSetText;

using testing::CliRun;

CliRun RunIn(const std::filesystem::path& dir, std::vector<std::string> args) {
    return testing::RunTool(std::move(args), dir);
}

TEST(CliDirectory, ThatCannotBeReadEndsWithStatus66) {
    TempDir dir;
    dir.Write("file.val", ValueSetText("T", {"1"}));
    const struct {
        std::filesystem::path dir;
        const char* reason;
    } cases[] = {
        {dir / "missing", "No such file or directory"},
        {dir / "file.val", "Not a directory"},
    };
    for (const auto& c : cases) {
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"sets"},
              {"--json", "values", "T"},
              {"nearest", "T", "1"},
              {"solve", "3", "--sets", "T,T", "--target", "2"}}) {
            const CliRun r = RunIn(c.dir, command);
            EXPECT_EQ(r.status, 66) << c.dir << " " << command.front();
            EXPECT_EQ(r.out, "") << c.dir;
            EXPECT_EQ(r.err, "ohmtrim-cli: cannot read the directory " + c.dir.string() + ": " +
                                 c.reason + "\n");
        }
    }
}

TEST(CliDirectory, SetsCountsTheFilesBeyondTheLimit) {
    TempDir dir;
    for (int i = 0; i < 1003; ++i)
        dir.Write(std::to_string(i) + ".val", ValueSetText("S", {"1"}));
    const CliRun human = RunIn(dir.path(), {"sets"});
    EXPECT_EQ(human.status, 0);
    EXPECT_NE(human.out.find("\n3 value-set files skipped: at most 1000 are loaded\n"),
              std::string::npos)
        << human.out.substr(human.out.size() - 200);
    const CliRun json = RunIn(dir.path(), {"--json", "sets"});
    EXPECT_NE(json.out.find("],\"skipped\":3,\"preselected\":"), std::string::npos);
}

TEST(CliDirectory, ASharedLabelNamesTheSetTaken) {
    TempDir dir;
    dir.Write("b.val", ValueSetText("T", {"20"}));
    dir.Write("a.val", ValueSetText("T", {"10"}));
    dir.Write("c.val", ValueSetText("t", {"30"}));
    const char* note = "ohmtrim-cli: 2 value sets are labelled 'T'; using the one in a.val\n";
    const struct {
        std::vector<std::string> args;
        const char* out;
        const char* err;
    } cases[] = {
        {{"values", "T"}, "10\n", note},
        {{"nearest", "T", "12"},
         "Nearest value  10\nSmaller value\nBigger value\nError %        -16.7\n",
         note},
        {{"--json", "solve", "3", "--sets", "T,T", "--target", "20"},
         "{\"entry\":3,\"status\":0,\"message\":null,\"values\":[10,10],"
         "\"results\":{\"resistance\":20,\"errorPercent\":0}}\n",
         note},
        {{"values", "t"}, "30\n", ""},
    };
    for (const auto& c : cases) {
        const CliRun r = RunIn(dir.path(), c.args);
        EXPECT_EQ(r.status, 0) << c.args.front();
        EXPECT_EQ(r.out, c.out) << c.args.front();
        EXPECT_EQ(r.err, c.err) << c.args.front();
    }
}

// Labels and file names are bytes from the disk: JSON gets valid UTF-8 with
// U+FFFD for what is not, and a terminal gets no control character.
TEST(CliOutput, UnsafeBytesAreEscaped) {
    TempDir dir;
    dir.Write("clear.val", ValueSetText("\x1b[2J", {"1"}));
    dir.Write("bad\xff.val", ValueSetText("\xc3(", {"2"}));
    dir.Write("c1.val", ValueSetText("\xc2\x9b"
                                     "1m",
                                     {"3"}));
    dir.Write("ok.val", ValueSetText("\xc3\xa9", {"4"}));
    const CliRun json = RunIn(dir.path(), {"--json", "sets"});
    EXPECT_NE(json.out.find("{\"label\":\"\\u001b[2J\","), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("{\"label\":\"\\ufffd(\","), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"file\":\"bad\\ufffd.val\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("{\"label\":\"\\u009b1m\","), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("{\"label\":\"\xc3\xa9\","), std::string::npos) << json.out;

    const CliRun human = RunIn(dir.path(), {"sets"});
    for (const char* shown :
         {"  \\x1b[2J ", "  \\xc3( ", "bad\\xff.val\n", "  \\u009b1m ", "  \xc3\xa9 "})
        EXPECT_NE(human.out.find(shown), std::string::npos) << shown << "\n" << human.out;
    const CliRun unknown = RunIn(dir.path(), {"values", "\x1b[2J\x07"});
    EXPECT_EQ(unknown.err.substr(0, unknown.err.find('\n')),
              "ohmtrim-cli: unknown value set '\\x1b[2J\\x07'");
    for (const std::string* text : {&human.out, &human.err, &unknown.err})
        EXPECT_TRUE(std::none_of(text->begin(), text->end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return (u < 0x20 && c != '\n') || u == 0x7f;
        })) << *text;
}

TEST(CliOptions, RelTolBeyondADoubleIsClamped) {
    TempDir dir;
    dir.Write("t.val", ValueSetText("T", {"1"}));
    const struct {
        const char* relTol;
        const char* shown;
    } cases[] = {{"1e999", "0.05"}, {"-1e999", "0"}, {"-0", "0"}};
    for (const auto& c : cases) {
        const CliRun r = RunIn(dir.path(), {"--reltol", c.relTol, "sets"});
        EXPECT_EQ(r.status, 0) << c.relTol << ": " << r.err;
        EXPECT_NE(r.out.find(std::string("\nRelative tolerance: ") + c.shown + "\n"),
                  std::string::npos)
            << c.relTol << "\n"
            << r.out;
    }
}

// Standard output on a full device and closed.
TEST(CliOutput, TheProgramReportsAFullOrClosedOutput) {
    TempDir dir;
    const std::string cli = OHMTRIM_BIN_DIR "/ohmtrim-cli --dir " OHMTRIM_SOURCE_DIR "/data sets";
    const struct {
        const char* redirect;
        const char* reason;
    } cases[] = {{">/dev/full", "No space left on device"}, {">&-", "Bad file descriptor"}};
    for (const auto& c : cases) {
        const std::string command = cli + " " + c.redirect + " 2>" + (dir / "err.txt").string();
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), 74) << command;
        EXPECT_EQ(dir.Read("err.txt"),
                  std::string("ohmtrim-cli: cannot write the output: ") + c.reason + "\n");
    }
}

} // namespace
} // namespace ohmtrim
