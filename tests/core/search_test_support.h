#pragma once

// Helpers shared by the search tests: tables of the worked examples, a
// counting Escape poll and a literal table lookup to check against.

#include "search/search_context.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace ohmtrim::testing {

using Table = std::vector<double>;

// The small table of the two-resistor divider examples.
inline const Table kSmallDividerTable{100, 220, 470, 1000, 2200, 4700, 10000};

// The E12 values from 100 to 82000 ohms.
inline Table E12From100To82000() {
    const double base[] = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
    Table t;
    for (double decade : {10.0, 100.0, 1000.0})
        for (double b : base)
            t.push_back(b * decade);
    return t;
}

// Counts the Escape polls; Escape reads as down from poll number downFrom on.
struct PollCounter {
    int polls = 0;
    int downFrom = INT_MAX;
    static bool Poll(void* data) {
        auto* p = static_cast<PollCounter*>(data);
        ++p->polls;
        return p->polls >= p->downFrom;
    }
};

inline SearchContext Context(double relTol, PollCounter& counter) {
    SearchContext ctx;
    ctx.relTol = relTol;
    ctx.poll = &PollCounter::Poll;
    ctx.pollData = &counter;
    return ctx;
}

// The first index whose value is >= x, by a plain scan; an x equal to the
// last entry gives the last index.
inline int CeilingRef(double x, const Table& v) {
    const int n = static_cast<int>(v.size());
    if (n == 1)
        return x <= v[0] ? 0 : -1;
    if (x <= v[0])
        return 0;
    if (x > v[n - 1])
        return -1;
    if (x == v[n - 1])
        return n - 1;
    for (int i = 0; i < n; ++i)
        if (v[i] >= x)
            return i;
    return -1;
}

// An ascending table of 1 to maxCount distinct values: small integers up to
// denseTop (so exact ratios and equal errors are common) or values spread up
// to spreadTop in steps of 0.1.
inline Table RandomDistinctTable(std::mt19937& gen, bool dense, int maxCount, int denseTop,
                                 int spreadTop) {
    const int n = 1 + static_cast<int>(gen() % static_cast<unsigned>(maxCount));
    Table t;
    for (int i = 0; i < n; ++i)
        t.push_back(dense ? 1 + static_cast<double>(gen() % static_cast<unsigned>(denseTop))
                          : 1 + static_cast<double>(gen() % static_cast<unsigned>(spreadTop * 10)) /
                                    10.0);
    std::sort(t.begin(), t.end());
    t.erase(std::unique(t.begin(), t.end()), t.end());
    return t;
}

// ---- literal references of the resistance searches --------------------------------
//
// A reference enumerates the candidates a search visits, in scan order, with
// the error formula of each step, and then picks the result from the whole
// list by the selection rule stated as a property: the first candidate whose
// error is below both the early-exit threshold and the seed's error, or else
// the smallest error, the seed winning ties and then the earliest candidate.

struct Cand {
    double r[3];
    double err;
};

struct Trace {
    bool shortcut = false; // returned by an end shortcut, no scan
    Cand result{};
    Cand seed{};
    std::vector<Cand> visited;
};

inline Cand Choose(const Cand& seed, const std::vector<Cand>& visited, double threshold) {
    for (const auto& c : visited)
        if (c.err < threshold && c.err < seed.err)
            return c;
    Cand best = seed;
    for (const auto& c : visited)
        if (c.err < best.err)
            best = c;
    return best;
}

// The trace of a search that answered from one of its end shortcuts.
inline Trace Shortcut(double a, double b, double c = 0) {
    Trace t;
    t.shortcut = true;
    t.result = {{a, b, c}, 0};
    return t;
}

// The bits of a double, to compare results exactly (and NaN with NaN).
inline std::uint64_t Bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

} // namespace ohmtrim::testing
