#pragma once

#include <atomic>
#include <thread>

namespace ohmtrim {

class PairTableCache;

// Builds, on a thread of its own, the pair tables the searches look up when
// every resistor takes its values from one value table: the series and the
// parallel table of the table with itself. The windows start with the main
// value set, so a first exhaustive search finds its tables ready. Ending
// early (the program closes) stops the build within a millisecond or so
// and waits for the thread; the values and the cache must outlive it.
class TablePrebuild {
public:
    TablePrebuild(PairTableCache& cache, const double* values, int count);
    ~TablePrebuild() { Stop(); }
    TablePrebuild(const TablePrebuild&) = delete;
    TablePrebuild& operator=(const TablePrebuild&) = delete;

    // Stops the build where it is and waits for the thread.
    void Stop();
    // Waits for the build to end on its own.
    void Wait();

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace ohmtrim
