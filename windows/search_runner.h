#pragma once

#include "search/search_context.h"

#include <functional>

namespace ohmtrim {

class Platform;

// Runs a search on a worker thread while the caller waits in a local event
// loop: the windows keep painting, every user input but Escape is swallowed,
// close requests are refused, and Escape sets the flag the search polls.
// When Run returns the caller goes on exactly as if the search had run
// inline. The work must not touch any widget; it hands its results back
// through what it captures.
class SearchRunner {
public:
    using Work = std::function<void(const SearchContext& ctx)>;

    explicit SearchRunner(Platform& platform) : m_platform(platform) {}
    SearchRunner(const SearchRunner&) = delete;
    SearchRunner& operator=(const SearchRunner&) = delete;

    // Runs work(ctx) with ctx.relTol = relTol and ctx.escape = the platform's
    // Escape flag, and returns true once it has ended. Returns false at once,
    // without running anything, while another search is running: the nested
    // event loop still delivers timers and queued calls, which must not start
    // a second search.
    bool Run(double relTol, const Work& work);

    bool busy() const { return m_busy; }

private:
    Platform& m_platform;
    bool m_busy = false;
};

} // namespace ohmtrim
