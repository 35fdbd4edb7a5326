// Escape and progress of every fast search on a whole value set, as the
// windows run them: cold (the plain scan with its budget, then the table
// build), warm, and warm on two threads where the search enumerates pairs.

#include "tests/core/fast_test_support.h"

#include "bench/eseries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Inputs;
using testing::Outcome;
using testing::Search;
using testing::Table;
using Clock = std::chrono::steady_clock;

// Inputs that keep each search busy: no tolerance, the widest range, a
// target or voltages no combination meets exactly.
Inputs LongInputs(Search s) {
    Inputs in;
    switch (testing::FamilyOf(s)) {
    case testing::Family::Resistance:
        in.target = 12345.678;
        break;
    case testing::Family::Divider:
        in.u1 = 12;
        in.u2 = 5.03;
        in.u3 = 0;
        in.rmin = 1;
        in.rmax = 1e7;
        break;
    case testing::Family::Node:
        in.node = {12, 7.5, 3.3, 0, 1, 1, 1, 1e7};
        if (testing::NodesOf(s) == '3')
            in.node.HasU2 = 0;
        if (testing::NodesOf(s) == '2')
            in.node.HasU3 = 0;
        break;
    case testing::Family::Star:
        in.star = {8.324, 12, 0, 5, 2.173, 0, 3.3, 12, 1, 1e7};
        break;
    }
    return in;
}

std::vector<Search> AllSearches() {
    std::vector<Search> all;
    for (int s = 0; s <= static_cast<int>(Search::StarAllParallel); ++s)
        all.push_back(static_cast<Search>(s));
    return all;
}

struct Way {
    const char* name;
    bool prebuilt;
    int threads;
    bool noRoom = false; // a cache too small for any table: plain scans in stretches
};
const Way kWays[] = {{"cold", false, 1}, {"warm", true, 1}, {"warm, two threads", true, 2}};
const Way kNoRoom = {"no table to be had", false, 1, true};

// Escape goes down at a moment from the start of the search: the search
// must end soon after, during a table build, a plain stretch or the fast
// scan, on one thread or two. The bound here is loose enough for a
// sanitizer build on a busy machine; the run prints the largest delay seen
// (a few milliseconds in an optimised build).
TEST(FastEscape, EverySearchEndsSoonAfterEscape) {
    const Table& e192 = bench::OneOhmToTenMegohm(bench::ESeries::E192);
    struct Timer {
        Clock::time_point deadline;
        static bool Poll(void* data) { return Clock::now() >= static_cast<Timer*>(data)->deadline; }
    };
    const double delaysMs[] = {0.3, 2, 7, 20};
    double worstMs = 0;
    std::string worstName;
    int aborted = 0;
    int runs = 0;
    for (Search s : AllSearches()) {
        const std::vector<const Table*> t(testing::ResistorsOf(s), &e192);
        const Inputs in = LongInputs(s);
        for (const Way& way : {kWays[0], kWays[1], kWays[2], kNoRoom}) {
            if (way.threads > 1 && !testing::EnumeratesPairs(s))
                continue;
            PairTableCache::Options options;
            if (way.noRoom)
                options.byteLimit = 1;
            PairTableCache cache(options);
            if (way.prebuilt)
                testing::Prebuild(cache, s, t);
            for (double delay : delaysMs) {
                if (!way.prebuilt)
                    cache.Clear();
                Timer timer;
                SearchContext ctx;
                ctx.relTol = 0;
                ctx.tables = &cache;
                ctx.threads = way.threads;
                ctx.poll = &Timer::Poll;
                ctx.pollData = &timer;
                const Clock::time_point start = Clock::now();
                timer.deadline = start + std::chrono::microseconds(static_cast<int>(delay * 1e3));
                const Outcome got = testing::Run(s, true, in, t, ctx);
                const double lateMs =
                    std::chrono::duration<double, std::milli>(Clock::now() - timer.deadline)
                        .count();
                ++runs;
                if (got.status == SearchStatus::Aborted) {
                    ++aborted;
                    EXPECT_EQ(got.out, Outcome{}.out) << testing::NameOf(s) << ", " << way.name;
                }
                if (lateMs > worstMs) {
                    worstMs = lateMs;
                    worstName = std::string(testing::NameOf(s)) + ", " + way.name;
                }
                EXPECT_LT(lateMs, 1000) << testing::NameOf(s) << ", " << way.name
                                        << ", Escape after " << delay << " ms";
            }
        }
    }
    // Most runs last long enough to be aborted: the test saw real aborts.
    EXPECT_GT(aborted, runs / 2) << "of " << runs;
    std::printf("largest delay after Escape: %.2f ms (%s); %d of %d runs aborted\n", worstMs,
                worstName.c_str(), aborted, runs);
}

// The progress a search reports never goes back, stays within 0 to 1 and
// ends at 1 (searches that find something or nothing alike).
TEST(FastEscape, EverySearchReportsProgressUpToTheEnd) {
    const Table e24 = bench::ESeriesValues(bench::ESeries::E24, 0, 7);
    struct Watch {
        std::atomic<double>* progress;
        double last = 0;
        int backwards = 0;
        int outside = 0;
        int moves = 0;
        static bool Poll(void* data) {
            auto* w = static_cast<Watch*>(data);
            const double p = w->progress->load();
            if (p == -1) // not reported yet
                return false;
            w->backwards += p < w->last;
            w->outside += !(p >= 0 && p <= 1);
            w->moves += p > w->last;
            w->last = p;
            return false;
        }
    };
    int moving = 0;
    for (Search s : AllSearches()) {
        const std::vector<const Table*> t(testing::ResistorsOf(s), &e24);
        const Inputs in = LongInputs(s);
        for (const Way& way : kWays) {
            if (way.threads > 1 && !testing::EnumeratesPairs(s))
                continue;
            PairTableCache::Options options;
            options.pairsForThreads = 0;
            PairTableCache cache(options);
            if (way.prebuilt)
                testing::Prebuild(cache, s, t);
            std::atomic<double> progress{-1};
            Watch watch{&progress};
            SearchContext ctx;
            ctx.relTol = 0;
            ctx.tables = &cache;
            ctx.threads = way.threads;
            ctx.progress = &progress;
            ctx.poll = &Watch::Poll;
            ctx.pollData = &watch;
            const Outcome got = testing::Run(s, true, in, t, ctx);
            ASSERT_NE(got.status, SearchStatus::Aborted);
            ASSERT_NE(got.status, SearchStatus::InvalidInput);
            EXPECT_EQ(progress.load(), 1.0) << testing::NameOf(s) << ", " << way.name;
            EXPECT_EQ(watch.backwards, 0) << testing::NameOf(s) << ", " << way.name;
            EXPECT_EQ(watch.outside, 0) << testing::NameOf(s) << ", " << way.name;
            moving += watch.moves > 1;
        }
    }
    // The long searches report along the way, not only at their end.
    EXPECT_GT(moving, 10);
}

} // namespace
} // namespace ohmtrim
