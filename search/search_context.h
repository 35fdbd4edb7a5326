#pragma once

#include <atomic>

namespace ohmtrim {

class PairTableCache;

// Outcome of the searches that validate their input and can be aborted.
enum class SearchStatus : int {
    Found = 0,
    InvalidInput = 1,
    NoSolution = 2,
    Aborted = 3,
};

// What a long search needs from its caller: the relative tolerance of the
// early exit and the Escape poll. The poll reads a flag that the caller's
// key monitor (the desktop program's event filter, the command line's
// Ctrl-C handler, a test) keeps up to date; no globals are involved, so the
// same search can run on any thread.
//
// The default context runs the plain scans. A caller that wants the fast
// searches (search/fast_searches.h) hands in the program's pair-table cache;
// it may also allow a second thread and ask for progress.
struct SearchContext {
    double relTol = 1e-6;
    // Escape state kept by the caller's key monitor; null means never down.
    const std::atomic<bool>* escape = nullptr;
    // Optional poll that replaces the flag (tests count the polls with it).
    bool (*poll)(void* data) = nullptr;
    void* pollData = nullptr;
    // Pair tables of the fast searches, kept for the program's lifetime;
    // null means the fast searches run the plain scans.
    PairTableCache* tables = nullptr;
    // Threads a fast search may use for a long enumeration of pairs (1 or 2).
    // Only the calling thread polls Escape.
    int threads = 1;
    // Where a fast search reports how far its outer scan has come, 0 to 1;
    // null means nobody is watching.
    std::atomic<double>* progress = nullptr;

    // Is Escape down at this moment? Cheap enough to call inside a scan.
    bool EscapeDown() const {
        if (poll != nullptr)
            return poll(pollData);
        return escape != nullptr && escape->load(std::memory_order_relaxed);
    }

    void ReportProgress(double fraction) const {
        if (progress != nullptr)
            progress->store(fraction, std::memory_order_relaxed);
    }
};

} // namespace ohmtrim
