#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <thread>

namespace ohmtrim::cli {

// While a search runs, a line on the terminal that says how far it has come:
// written once the search has run for `delay`, then rewritten in place
// (carriage return) every `every`, and wiped when the search ends, so that
// the output around it stays as it would be without it. Off the terminal it
// writes nothing at all: pass terminal false.
class ProgressLine {
public:
    ProgressLine(std::ostream& out, bool terminal, const std::atomic<double>& fraction,
                 std::chrono::milliseconds delay = std::chrono::seconds(1),
                 std::chrono::milliseconds every = std::chrono::milliseconds(200));
    // Ends the line (wiping it if it was written) and its thread.
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // The line for a fraction: "Searching… 42% (Ctrl-C cancels)".
    static std::string Text(double fraction);

private:
    void Show(std::chrono::milliseconds delay, std::chrono::milliseconds every);

    std::ostream& m_out;
    const std::atomic<double>& m_fraction;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};

} // namespace ohmtrim::cli
