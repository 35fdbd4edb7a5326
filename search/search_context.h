#pragma once

#include <atomic>

namespace ohmtrim {

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
struct SearchContext {
    double relTol = 1e-6;
    // Escape state kept by the caller's key monitor; null means never down.
    const std::atomic<bool>* escape = nullptr;
    // Optional poll that replaces the flag (tests count the polls with it).
    bool (*poll)(void* data) = nullptr;
    void* pollData = nullptr;

    // Is Escape down at this moment? Cheap enough to call inside a scan.
    bool EscapeDown() const {
        if (poll != nullptr)
            return poll(pollData);
        return escape != nullptr && escape->load(std::memory_order_relaxed);
    }
};

} // namespace ohmtrim
