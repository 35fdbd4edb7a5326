#include "cli/progress_line.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace ohmtrim::cli {

ProgressLine::ProgressLine(std::ostream& out, bool terminal, const std::atomic<double>& fraction,
                           std::chrono::milliseconds delay, std::chrono::milliseconds every)
    : m_out(out), m_fraction(fraction) {
    if (terminal)
        m_thread = std::thread([this, delay, every] { Show(delay, every); });
}

ProgressLine::~ProgressLine() {
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

std::string ProgressLine::Text(double fraction) {
    const double f = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    // Rounded down: 100% only once the search has really ended.
    const auto percent = static_cast<int>(std::floor(f * 100));
    return "Searching\u2026 " + std::to_string(percent) + "% (Ctrl-C cancels)";
}

void ProgressLine::Show(std::chrono::milliseconds delay, std::chrono::milliseconds every) {
    std::unique_lock lock(m_mutex);
    if (m_wake.wait_for(lock, delay, [this] { return m_done; }))
        return;
    std::size_t width = 0;
    do {
        std::string line = Text(m_fraction.load(std::memory_order_relaxed));
        width = std::max(width, line.size());
        line.resize(width, ' ');
        m_out << '\r' << line << std::flush;
    } while (!m_wake.wait_for(lock, every, [this] { return m_done; }));
    m_out << '\r' << std::string(width, ' ') << '\r' << std::flush;
}

} // namespace ohmtrim::cli
