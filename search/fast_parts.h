#pragma once

// Runs a long enumeration in contiguous parts on more than one thread and
// merges the parts so that the result is the one scan in order would give.
//
// Every part runs the plain scan rules on its own stretch, starting from
// the best error of what came before the parts (the candidates before are
// all earlier). A part reports whether it ended by an early exit, and
// otherwise the earliest smallest error it accepted. The scan in order
// returns the first exit of all, which is the exit of the first part that
// has one; otherwise the earliest smallest error, which is the smallest
// part best, the earliest part on ties (parts are contiguous and in order).
//
// Parts may share their best errors to skip more: a candidate whose bound
// lies strictly above an error accepted anywhere cannot be the final best,
// and when its bound is also at or above the threshold it cannot end the
// scan either. Within a part the part's own best may be used with "at or
// above", since it comes from an earlier position.
//
// Only the calling thread polls Escape; the others see its verdict through
// a flag. Parts are handed out in order, and a part after one that has
// exited stops early: its result cannot matter.

#include "search/fast_scan.h"
#include "search/search_context.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace ohmtrim::fast {

template <std::size_t N> struct PartResult {
    bool stopped = false; // aborted by Escape, or cut short after an earlier exit
    bool exit = false;    // ended by an early exit; values are that candidate
    bool found = false;   // accepted a candidate
    double bestError = 0;
    std::array<double, N> values{};
};

// What a running part sees of the others.
class PartControl {
public:
    PartControl(const SearchContext& ctx, double startBest) : m_ctx(ctx), m_sharedBest(startBest) {}

    // Polled by a part about every 20 candidates: true when it must stop.
    // Thread 0 is the calling thread, the one that polls Escape.
    bool MustStop(int part, int thread) {
        if (thread == 0 && !m_aborted.load(std::memory_order_relaxed) && m_ctx.EscapeDown())
            m_aborted.store(true, std::memory_order_relaxed);
        return m_aborted.load(std::memory_order_relaxed) ||
               m_exitPart.load(std::memory_order_relaxed) < part;
    }
    void Exited(int part) {
        int seen = m_exitPart.load(std::memory_order_relaxed);
        while (part < seen && !m_exitPart.compare_exchange_weak(seen, part))
            ;
    }
    double SharedBest() const { return m_sharedBest.load(std::memory_order_relaxed); }
    void Accepted(double error) {
        double seen = m_sharedBest.load(std::memory_order_relaxed);
        while (error < seen && !m_sharedBest.compare_exchange_weak(seen, error))
            ;
    }
    bool Aborted() const { return m_aborted.load(std::memory_order_relaxed); }
    void PollWhileWaiting() {
        if (!m_aborted.load(std::memory_order_relaxed) && m_ctx.EscapeDown())
            m_aborted.store(true, std::memory_order_relaxed);
    }

private:
    const SearchContext& m_ctx;
    std::atomic<bool> m_aborted{false};
    std::atomic<int> m_exitPart{INT_MAX};
    std::atomic<double> m_sharedBest;
};

// Result of the whole run, merged in scan order.
template <std::size_t N> struct MergedParts {
    bool aborted = false;
    bool exit = false;
    bool found = false;
    double bestError = 0;
    std::array<double, N> values{};
};

// Runs parts 0 .. parts-1 on up to `threads` threads, numbered from 0, the
// calling thread. run(part, control, thread) scans one part; it must not
// throw (a part's scratch belongs to its thread and is made beforehand).
// weights[k] is the share of part k in the whole scan and progressBase the
// share done before the parts, for the progress report.
template <std::size_t N, typename Run>
MergedParts<N> RunParts(int parts, int threads, double startBest,
                        const std::vector<double>& weights, double progressBase,
                        const SearchContext& ctx, Run run) {
    PartControl control(ctx, startBest);
    std::vector<PartResult<N>> results(static_cast<std::size_t>(parts));
    std::atomic<int> next{0};
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    int done = 0;
    double doneWeight = 0;

    auto work = [&](int thread) {
        for (;;) {
            const int k = next.fetch_add(1);
            if (k >= parts)
                return;
            results[static_cast<std::size_t>(k)] = run(k, control, thread);
            const std::lock_guard<std::mutex> lock(doneMutex);
            ++done;
            doneWeight += weights[static_cast<std::size_t>(k)];
            doneSignal.notify_all();
        }
    };

    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(work, t);
        } catch (const std::exception&) {
            break; // no thread to be had: the calling thread does it all
        }
    }
    work(0);
    {
        std::unique_lock<std::mutex> lock(doneMutex);
        while (done < parts) {
            ctx.ReportProgress(progressBase + doneWeight);
            lock.unlock();
            control.PollWhileWaiting();
            lock.lock();
            doneSignal.wait_for(lock, std::chrono::milliseconds(1), [&] { return done >= parts; });
        }
    }
    for (std::thread& h : helpers)
        h.join();

    MergedParts<N> merged;
    if (control.Aborted()) {
        merged.aborted = true;
        return merged;
    }
    for (const PartResult<N>& r : results) {
        if (r.exit) {
            merged.exit = true;
            merged.found = true;
            merged.values = r.values;
            return merged;
        }
        if (r.found && (!merged.found || r.bestError < merged.bestError)) {
            merged.found = true;
            merged.bestError = r.bestError;
            merged.values = r.values;
        }
    }
    return merged;
}

// Splits positions 0 .. count-1 with the given weights into about `parts`
// contiguous parts of similar weight; returns the first position of each
// part followed by count.
inline std::vector<int> SplitByWeight(const std::vector<double>& weights, int parts) {
    double total = 0;
    for (double w : weights)
        total += w;
    std::vector<int> starts{0};
    double sum = 0;
    const int count = static_cast<int>(weights.size());
    for (int p = 0; p < count; ++p) {
        sum += weights[static_cast<std::size_t>(p)];
        const double wanted = total * static_cast<double>(starts.size()) / parts;
        if (sum >= wanted && p + 1 < count)
            starts.push_back(p + 1);
    }
    starts.push_back(count);
    return starts;
}

} // namespace ohmtrim::fast
