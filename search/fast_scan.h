#pragma once

// Pieces every fast search shares: what a scan with a seed, strict
// improvement and an early exit really returns, a work budget for the plain
// scan that runs while no pair table is at hand, and per-call scratch.
//
// The plain scans keep a best candidate, replace it only by a strictly
// smaller error, and end at once when a new best lies strictly below the
// threshold. Such a scan returns
//   - the first candidate in scan order whose error is below both the
//     threshold and the seed's error, if there is one (every earlier best
//     was the seed or had an error at or above the threshold, so that
//     candidate is taken, and nothing earlier could end the scan);
//   - otherwise the earliest candidate of smallest error, the seed counting
//     as position -1.
// A NaN error never compares smaller and so never counts. Hence the fast
// searches may look at candidates in any order, as long as every candidate
// that could end the scan, or tie with or beat the final best, is evaluated
// exactly; the others are skipped by a lower bound on their computed error.

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

namespace ohmtrim::fast {

// Every rounded double operation returns the exact result times (1 + d)
// with |d| <= kUnitRoundoff (no underflow or overflow in the ranges the fast
// searches accept).
inline constexpr double kUnitRoundoff = 0x1p-53;

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Errors are absolute values, so 0 bounds every one of them from below; a
// NaN bound says nothing and becomes 0 too.
inline double Floor0(double lowerBound) {
    return lowerBound > 0 ? lowerBound : 0.0;
}

// The result of a scan under the rule above. Positions are scan positions;
// the seed is -1.
template <std::size_t N> class ScanResult {
public:
    using Values = std::array<double, N>;

    ScanResult(double threshold, double seedError, const Values& seed)
        : m_threshold(threshold), m_seedError(seedError), m_bestError(seedError), m_best(seed) {}

    // Takes a candidate at a scan position. True when it ends the scan as
    // far as the positions seen so far go (it is the earliest exit yet).
    bool Offer(double error, std::int64_t position, const Values& values) {
        bool exit = false;
        if (error < m_threshold && error < m_seedError && position < m_exitPosition) {
            m_exitPosition = position;
            m_exit = values;
            exit = true;
        }
        if (error < m_bestError || (error == m_bestError && position < m_bestPosition)) {
            m_bestError = error;
            m_bestPosition = position;
            m_best = values;
        }
        return exit;
    }

    // Offer for a scan in order that has not ended yet: a later candidate
    // never wins a tie, and one that ends the scan always improves the best
    // (every earlier best was the seed or at or above the threshold).
    bool OfferInOrder(double error, std::int64_t position, const Values& values) {
        if (!(error < m_bestError))
            return false;
        m_bestError = error;
        m_bestPosition = position;
        m_best = values;
        if (!(error < m_threshold && error < m_seedError))
            return false;
        m_exitPosition = position;
        m_exit = values;
        return true;
    }

    // Could a candidate whose error is at least lowerBound end the scan?
    bool CouldExit(double lowerBound) const {
        const double b = Floor0(lowerBound);
        return b < m_threshold && b < m_seedError;
    }
    // Could a candidate at this position with an error of at least
    // lowerBound become the final best (when nothing ends the scan)?
    bool CouldBeBest(double lowerBound, std::int64_t position) const {
        const double b = Floor0(lowerBound);
        return b < m_bestError || (b == m_bestError && position < m_bestPosition);
    }

    double Threshold() const { return m_threshold; }
    double SeedError() const { return m_seedError; }
    bool HasExit() const { return m_exitPosition != kNoExit; }
    std::int64_t ExitPosition() const { return m_exitPosition; }
    double BestError() const { return m_bestError; }
    std::int64_t BestPosition() const { return m_bestPosition; }
    const Values& Result() const { return HasExit() ? m_exit : m_best; }

private:
    static constexpr std::int64_t kNoExit = std::numeric_limits<std::int64_t>::max();
    double m_threshold;
    double m_seedError;
    double m_bestError;
    std::int64_t m_bestPosition = -1;
    Values m_best;
    std::int64_t m_exitPosition = kNoExit;
    Values m_exit{};
};

// Index of the last entry of an ascending table that is <= x, for a table
// whose first entry is <= x.
inline int LastIndexAtOrBelow(double x, const double* v, int n) {
    int lo = 0;
    int hi = n;
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (v[mid] > x)
            hi = mid;
        else
            lo = mid;
    }
    return lo;
}

// The plain scan's own bookkeeping, for a scan that runs in order: a
// candidate replaces the best only with a strictly smaller error, and Offer
// says when it ends the scan.
template <std::size_t N> class PlainBest {
public:
    using Values = std::array<double, N>;

    PlainBest(double threshold, double seedError, const Values& seed)
        : m_threshold(threshold), m_bestError(seedError), m_best(seed) {}

    bool Offer(double error, std::int64_t /*position*/, const Values& values) {
        if (!(error < m_bestError))
            return false;
        m_bestError = error;
        m_best = values;
        return error < m_threshold;
    }
    const Values& Result() const { return m_best; }

private:
    double m_threshold;
    double m_bestError;
    Values m_best;
};

// Work allowed to the plain scan before a missing pair table is built
// instead, counted in rows of a nested pair search (one table lookup each).
class WorkBudget {
public:
    static WorkBudget Unlimited() { return WorkBudget(std::numeric_limits<std::int64_t>::max()); }
    explicit WorkBudget(std::int64_t rows) : m_left(rows) {}
    // Spends the work of one row; false once the budget is used up.
    bool Spend() { return --m_left >= 0; }
    bool Spent() const { return m_left < 0; }

private:
    std::int64_t m_left;
};

// Marks the rows a search has evaluated, cleared in O(1) per search.
class RowMarks {
public:
    void Reset(int rows) {
        if (m_marks.size() < static_cast<std::size_t>(rows))
            m_marks.assign(static_cast<std::size_t>(rows), 0);
        if (++m_epoch == 0) {
            std::fill(m_marks.begin(), m_marks.end(), 0);
            m_epoch = 1;
        }
    }
    // Marks row r; true when it was marked already.
    bool TestAndMark(int r) {
        std::uint32_t& m = m_marks[static_cast<std::size_t>(r)];
        if (m == m_epoch)
            return true;
        m = m_epoch;
        return false;
    }
    bool Marked(int r) const { return m_marks[static_cast<std::size_t>(r)] == m_epoch; }

private:
    std::vector<std::uint32_t> m_marks;
    std::uint32_t m_epoch = 0;
};

} // namespace ohmtrim::fast
