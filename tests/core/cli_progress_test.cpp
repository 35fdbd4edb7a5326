#include "cli/cli.h"
#include "cli/progress_line.h"
#include "cli/session.h"
#include "tests/core/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <sstream>
#include <string>

namespace ohmtrim {
namespace {

using namespace std::chrono_literals;
using cli::ProgressLine;

// A stream the line's thread writes to while the test waits for a text.
class WatchedBuf : public std::stringbuf {
public:
    // True once the text has been written, false after the timeout.
    bool WaitFor(const std::string& text) {
        std::unique_lock lock(m_mutex);
        return m_written.wait_for(lock, 10s, [&] { return str().find(text) != std::string::npos; });
    }
    std::string Text() {
        std::lock_guard lock(m_mutex);
        return str();
    }

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::lock_guard lock(m_mutex);
        const std::streamsize written = std::stringbuf::xsputn(s, n);
        m_written.notify_all();
        return written;
    }
    int_type overflow(int_type c) override {
        std::lock_guard lock(m_mutex);
        const int_type r = std::stringbuf::overflow(c);
        m_written.notify_all();
        return r;
    }

private:
    // The base class's xsputn calls overflow: the lock is taken twice.
    std::recursive_mutex m_mutex;
    std::condition_variable_any m_written;
};

// What a terminal shows on the line after the output: a carriage return
// goes back to the first column, later characters overwrite earlier ones.
std::string ShownLine(const std::string& output) {
    std::string line;
    std::size_t column = 0;
    for (const char c : output) {
        if (c == '\r') {
            column = 0;
            continue;
        }
        if (column < line.size())
            line[column] = c;
        else
            line.push_back(c);
        ++column;
    }
    return line;
}

TEST(ProgressLine, OnATerminalFollowsTheSearchAndIsWipedAtTheEnd) {
    WatchedBuf buf;
    std::ostream out(&buf);
    std::atomic<double> fraction{0.25};
    {
        ProgressLine line(out, true, fraction, 0ms, 1ms);
        ASSERT_TRUE(buf.WaitFor(ProgressLine::Text(0.25)));
        // A shorter text later must not leave the end of the longer one.
        fraction = 0.031;
        ASSERT_TRUE(buf.WaitFor(ProgressLine::Text(0.031)));
    }
    const std::string output = buf.Text();
    EXPECT_EQ(output.front(), '\r');
    EXPECT_EQ(output.find('\n'), std::string::npos);
    EXPECT_EQ(ShownLine(output).find_first_not_of(' '), std::string::npos) << output;
}

TEST(ProgressLine, WritesNothingOffATerminalOrBeforeTheDelay) {
    for (const bool terminal : {false, true}) {
        std::ostringstream out;
        std::atomic<double> fraction{0.5};
        { ProgressLine line(out, terminal, fraction, terminal ? 1h : 0ms, 1ms); }
        EXPECT_EQ(out.str(), "") << terminal;
    }
}

TEST(CliInterrupt, CtrlCAtTheStartOfAnExhaustiveSearchAbortsIt) {
    testing::TempDir dir;
    std::filesystem::copy_file(OHMTRIM_SOURCE_DIR "/data/E192.val", dir / "E192.val");
    // Ctrl-C as the search starts: with its tables the search ends in
    // milliseconds, too soon to be hit reliably from another thread.
    cli::SetSearchStartHook([] { std::raise(SIGINT); });
    std::ostringstream out, err;
    const int status = RunCli({"--dir",    dir.path().string(),
                               "--reltol", "0",
                               "solve",    "16",
                               "--sets",   "E192,E192,E192,E192,E192,E192",
                               "--u1",     "10",
                               "--u2",     "7.1234",
                               "--u3",     "3.14159",
                               "--u4",     "0",
                               "--rmin",   "1",
                               "--rmax",   "1e7"},
                              out, err);
    cli::SetSearchStartHook(nullptr);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Search aborted.\n");
}

} // namespace
} // namespace ohmtrim
