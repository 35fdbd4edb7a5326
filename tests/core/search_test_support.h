#pragma once

// Helpers shared by the search tests: tables of the worked examples, a
// counting Escape poll and a literal table lookup to check against.

#include "search/search_context.h"

#include <climits>
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

} // namespace ohmtrim::testing
