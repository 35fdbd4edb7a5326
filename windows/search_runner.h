#pragma once

#include "search/search_context.h"
#include "windows/search_progress.h"

#include <functional>

namespace ohmtrim {

class PairTableCache;
class Platform;

// Runs a search on a worker thread while the caller waits in a local event
// loop: the windows keep painting, every user input but Escape is swallowed,
// close requests are refused, and Escape sets the flag the search polls.
// When Run returns the caller goes on exactly as if the search had run
// inline. The work must not touch any widget; it hands its results back
// through what it captures.
//
// The search gets the program's pair tables, two threads where the machine
// has them, and somewhere to report its progress: a search that runs longer
// than kProgressDelayMs shows a SearchProgress panel over the window's
// progress area until it ends.
class SearchRunner {
public:
    using Work = std::function<void(const SearchContext& ctx)>;

    static constexpr int kProgressDelayMs = 300;

    explicit SearchRunner(Platform& platform) : m_platform(platform) {}
    SearchRunner(const SearchRunner&) = delete;
    SearchRunner& operator=(const SearchRunner&) = delete;

    // The cache the searches keep their pair tables in; null (the default)
    // runs the plain searches. It must outlive every search.
    void UsePairTables(PairTableCache* tables) { m_tables = tables; }

    // Runs work(ctx) with ctx.relTol = relTol, ctx.escape = the platform's
    // Escape flag and the tables, threads and progress above, and returns
    // true once it has ended. Returns false at once, without running
    // anything, while another search is running: the nested event loop still
    // delivers timers and queued calls, which must not start a second
    // search. Without a window in area no progress is shown.
    bool Run(double relTol, const Work& work, const ProgressArea& area = {});

    bool busy() const { return m_busy; }

private:
    Platform& m_platform;
    PairTableCache* m_tables = nullptr;
    bool m_busy = false;
};

} // namespace ohmtrim
