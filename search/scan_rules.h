#pragma once

// What the scans of the divider, node-voltage and star searches share: the
// Escape poll, the record of the best candidate, the row code that tests and
// takes one candidate, and the three scans (the values of one table
// upwards, the pairs of a parallel section downwards, the pairs of a series
// section upwards).
//
// Each of those searches is written once, as a template over an engine that
// runs its scan, and completes a candidate with the inner searches the
// engine hands it. The plain engine below runs the scans as they stand with
// the plain inner searches; the fast engine (search/fast_engine.h) runs the
// same row code over its own loops, with exact fast inner searches. So the
// formulas of a search exist once. Only the search files include this.

#include "search/pair_searches.h"
#include "search/search_constants.h"
#include "search/search_context.h"
#include "search/triple_searches.h"
#include "valuesets/lookups.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <tuple>

namespace ohmtrim::detail {

// Counts candidates and looks at Escape every kEscapePollStride of them:
// before the 1st, 21st, 41st ... candidate, or (counting first) before the
// 20th, 40th ...
class EscapePoll {
public:
    enum class First { BeforeFirst, BeforeTwentieth };

    EscapePoll(const SearchContext& ctx, First first)
        : m_ctx(ctx), m_count(first == First::BeforeFirst ? -1 : 0) {}

    // Counts one candidate; true when a poll falls before it.
    bool Due() { return ++m_count % kEscapePollStride == 0; }
    // Called once before each candidate; true when the search must end.
    bool Aborted() { return Due() && m_ctx.EscapeDown(); }
    // The count so far, in the poll's own reckoning (see First).
    std::int64_t Count() const { return m_count; }

private:
    const SearchContext& m_ctx;
    std::int64_t m_count; // pair scans can exceed the range of int
};

// The best candidate so far. The first candidate whose error is below the
// best one (1e300 at the start, so every finite error) is taken; a tie keeps
// the earlier one and a NaN never wins. A taken candidate whose error lies
// below stopBelow ends the search. Nothing taken: the outputs get 0.0 and
// the status NoSolution.
template <std::size_t N> class ScanBest {
public:
    using Values = std::array<double, N>;

    explicit ScanBest(double stopBelow, double bestError = 1e300)
        : m_stopBelow(stopBelow), m_bestError(bestError) {}

    // True when the candidate is taken and ends the search.
    bool Offer(double error, const Values& values) {
        if (!(error < m_bestError))
            return false;
        CopyOneByOne(values);
        m_found = true;
        if (error < m_stopBelow)
            return true;
        m_bestError = error;
        return false;
    }

    SearchStatus Write(const std::array<double*, N>& outs) const {
        for (std::size_t m = 0; m < N; ++m)
            *outs[m] = m_values[m];
        return m_found ? SearchStatus::Found : SearchStatus::NoSolution;
    }

    double StopBelow() const { return m_stopBelow; }
    double BestError() const { return m_bestError; }
    bool Found() const { return m_found; }
    const Values& Recorded() const { return m_values; }

private:
    // A candidate's values one at a time. The inner searches have just
    // stored them through references, eight bytes each; copied as the
    // compiler likes, in sixteen-byte loads, each load has to wait until
    // those stores are done (no store forwarding), which cost the searches
    // that end within a few candidates up to half their time. The empty asm
    // keeps each value a value of its own.
    void CopyOneByOne(const Values& values) {
#if defined(__x86_64__) || defined(__i386__)
        for (std::size_t m = 0; m < N; ++m) {
            double v = values[m];
            asm("" : "+x"(v));
            m_values[m] = v;
        }
#else
        m_values = values;
#endif
    }

    double m_stopBelow;
    double m_bestError;
    bool m_found = false;
    Values m_values{};
};

// A candidate as the search completed it: its total resistance (what the
// range test looks at) and its error.
struct Candidate {
    double total;
    double error;
    // A fast inner search saw Escape while it built its table.
    bool aborted = false;

    static Candidate Aborted() { return {0, 0, true}; }
};

// What the row code says of one candidate.
enum class RowEnd {
    Next,    // go on with the next candidate
    Stop,    // the scan ends (a bound of the scan, or a total above RMax)
    Exit,    // the candidate is taken and ends the search
    Aborted, // Escape
};

inline constexpr double kNoLimit = std::numeric_limits<double>::infinity();

// ---- the values of one table, upwards ---------------------------------------------

struct OneTableScan {
    int start;               // first index of the scanned table
    double valueLimit;       // a scanned value above this ends the scan
    double rmin;             // a total below this is passed over
    double rmax;             // a total above this ends the scan or is passed over:
    bool totalAboveRMaxEnds; // which of the two
    double stopBelow;        // an error below this ends the search
    EscapePoll::First firstPoll;
};

// The row code of one scanned value: complete(value, values) puts the
// values of the candidate into values and returns it.
template <std::size_t N, typename Complete>
[[gnu::always_inline]] inline RowEnd OneTableRow(const OneTableScan& rule, double value,
                                                 ScanBest<N>& best, std::array<double, N>& values,
                                                 Complete& complete) {
    if (value > rule.valueLimit)
        return RowEnd::Stop;
    const Candidate c = complete(value, values);
    if (c.aborted)
        return RowEnd::Aborted;
    if (c.total < rule.rmin)
        return RowEnd::Next;
    if (c.total > rule.rmax)
        return rule.totalAboveRMaxEnds ? RowEnd::Stop : RowEnd::Next;
    return best.Offer(c.error, values) ? RowEnd::Exit : RowEnd::Next;
}

template <std::size_t N, typename Complete>
SearchStatus ScanOneTable(const double* t, int n, const OneTableScan& rule,
                          const SearchContext& ctx, Complete complete,
                          const std::array<double*, N>& outs) {
    EscapePoll poll(ctx, rule.firstPoll);
    ScanBest<N> best(rule.stopBelow);
    std::array<double, N> values{};
    for (int i = rule.start; i < n; ++i) {
        if (poll.Aborted())
            return SearchStatus::Aborted;
        const RowEnd end = OneTableRow(rule, t[i], best, values, complete);
        if (end == RowEnd::Aborted)
            return SearchStatus::Aborted;
        if (end != RowEnd::Next)
            break;
    }
    return best.Write(outs);
}

// ---- the pairs of a section, as one candidate each --------------------------------

// The row code of a pair (x, y) whose section value v passed the scan's own
// tests: complete(x, y, v, values) fills values in; a total outside
// rmin..rmax is passed over.
template <std::size_t N, typename Complete>
[[gnu::always_inline]] inline RowEnd PairRow(double rmin, double rmax, double x, double y, double v,
                                             ScanBest<N>& best, std::array<double, N>& values,
                                             Complete& complete) {
    const Candidate c = complete(x, y, v, values);
    if (c.aborted)
        return RowEnd::Aborted;
    if (c.total < rmin || c.total > rmax)
        return RowEnd::Next;
    return best.Offer(c.error, values) ? RowEnd::Exit : RowEnd::Next;
}

// The pairs of a parallel section x // y: x = tx[j] for j from the top of tx
// down to start, y = ty[i] for i from the top of ty down to j when both come
// from one table (each unordered pair once, y >= x, since a//b = b//a) or
// down to 0. The section value p = x*y/(x+y) falls with y, so a p above pMax
// is passed over and one below pMin ends the row, both before the inner
// searches. The Escape poll counts pairs and looks before the 20th, 40th ...
struct ParallelPairScan {
    const double* tx;
    int nx;
    const double* ty;
    int ny;
    int start;
    double pMin;
    double pMax;
    double rmin; // range of the candidates' totals
    double rmax;
    double stopBelow;

    bool SameTable() const { return tx == ty && nx == ny; }
};

template <std::size_t N, typename Complete>
SearchStatus ScanParallelPairs(const ParallelPairScan& rule, const SearchContext& ctx,
                               Complete complete, const std::array<double*, N>& outs) {
    const bool sameTable = rule.SameTable();
    EscapePoll poll(ctx, EscapePoll::First::BeforeTwentieth);
    ScanBest<N> best(rule.stopBelow);
    std::array<double, N> values{};
    for (int j = rule.nx - 1; j >= rule.start; --j) {
        const int iLast = sameTable ? j : 0;
        for (int i = rule.ny - 1; i >= iLast; --i) {
            if (poll.Aborted())
                return SearchStatus::Aborted;
            const double x = rule.tx[j];
            const double y = rule.ty[i];
            const double p = x * y / (x + y);
            if (p > rule.pMax)
                continue;
            if (p < rule.pMin)
                break;
            const RowEnd end = PairRow(rule.rmin, rule.rmax, x, y, p, best, values, complete);
            if (end == RowEnd::Aborted)
                return SearchStatus::Aborted;
            if (end != RowEnd::Next)
                return best.Write(outs);
        }
    }
    return best.Write(outs);
}

// The pairs of a series section x + y: every ordered pair, x = t1[i] for i
// from 0 to iEnd, y = t2[j] for j from 0 to jEnd. The sum grows with y, so a
// sum below sMin is passed over and one above sMax ends the row. The poll
// counts pairs and looks before the 20th, 40th ...
struct SeriesPairScan {
    const double* tx;
    int iEnd;
    const double* ty;
    int jEnd;
    double sMin;
    double sMax;
    double rmin; // range of the candidates' totals
    double rmax;
    double stopBelow;
};

template <std::size_t N, typename Complete>
SearchStatus ScanSeriesPairs(const SeriesPairScan& rule, const SearchContext& ctx,
                             Complete complete, const std::array<double*, N>& outs) {
    EscapePoll poll(ctx, EscapePoll::First::BeforeTwentieth);
    ScanBest<N> best(rule.stopBelow);
    std::array<double, N> values{};
    for (int i = 0; i <= rule.iEnd; ++i) {
        for (int j = 0; j <= rule.jEnd; ++j) {
            if (poll.Aborted())
                return SearchStatus::Aborted;
            const double x = rule.tx[i];
            const double y = rule.ty[j];
            const double s = x + y;
            if (s < rule.sMin)
                continue;
            if (s > rule.sMax)
                break;
            const RowEnd end = PairRow(rule.rmin, rule.rmax, x, y, s, best, values, complete);
            if (end == RowEnd::Aborted)
                return SearchStatus::Aborted;
            if (end != RowEnd::Next)
                return best.Write(outs);
        }
    }
    return best.Write(outs);
}

// ---- inner searches ---------------------------------------------------------------------
//
// A search names the inner searches of a candidate by these, and the engine
// hands its row code a searcher for each: called as pair(target, tol, a, b),
// triple(target, tol, a, b, c) or nearest(x), the pair and triple searchers
// return false when the search must end (Escape during a fast table build).

// FindSeriesPair or FindParallelPair over tables a and b.
template <PairOp Op> struct PairOf {
    const double* a;
    int na;
    const double* b;
    int nb;
};
// The three-resistor search of a kind over tables a, b, c.
template <TripleKind K> struct TripleOf {
    const double* a;
    int na;
    const double* b;
    int nb;
    const double* c;
    int nc;
};
// The value of table t nearest to x (NearestIndex).
struct NearestIn {
    const double* t;
    int n;
};

template <PairOp Op> struct PlainPair {
    PairOf<Op> of;
    bool operator()(double target, double tol, double& outA, double& outB) const {
        if constexpr (Op == PairOp::Series)
            FindSeriesPair(target, tol, of.a, of.na, of.b, of.nb, outA, outB);
        else
            FindParallelPair(target, tol, of.a, of.na, of.b, of.nb, outA, outB);
        return true;
    }
};

template <TripleKind K> struct PlainTriple {
    TripleOf<K> of;
    bool operator()(double target, double tol, double& outA, double& outB, double& outC) const {
        FindTriple(K, target, tol, of.a, of.na, of.b, of.nb, of.c, of.nc, outA, outB, outC);
        return true;
    }
};

struct PlainNearest {
    NearestIn of;
    double operator()(double x) const { return of.t[NearestIndex(x, of.t, of.n)]; }
};

template <PairOp Op> PlainPair<Op> PlainSearcher(const PairOf<Op>& of) {
    return {of};
}
template <TripleKind K> PlainTriple<K> PlainSearcher(const TripleOf<K>& of) {
    return {of};
}
inline PlainNearest PlainSearcher(const NearestIn& of) {
    return {of};
}

// ---- what the fast engine may bound -----------------------------------------------------
//
// A search tells its engine how the error of a candidate depends on the
// values its inner pair searches return, so that the fast engine can bound
// it from the pair tables (search/fast_bounds.h). The plain engine ignores
// these.

// None: every candidate is evaluated.
struct NoBound {};

// The error is |w - R/(V + R)|, R the value of the first inner pair and V
// the candidate's section value; the ideal R is about V * idealPerValue.
struct FractionBoundOf {
    double w;
    double idealPerValue;
};

// The error is the two-node error of a chain with sections A (the
// candidate's value), B (the first inner pair) and C (the second); see
// TwoNodeError. The ideal B is k2 A, the ideal C k3 A.
struct TwoNodeBoundOf {
    double f2;
    double f3;
    double k2;
    double k3;
};

// The error is |(B2/B1 - k2)/k2| + |(B3/B1 - k3)/k3| with B1 the candidate's
// value and B2, B3 the values of the first and the second inner pair.
struct StarBoundOf {
    double k2;
    double k3;
};

// Runs the scans as they stand, with the plain inner searches. Every search
// of the families is a template over its engine; complete(searchers...,
// candidate..., values) is its row code, the searchers in the order of the
// inner searches named. The bound is the fast engine's business.
class PlainEngine {
public:
    explicit PlainEngine(const SearchContext& ctx) : m_ctx(ctx) {}

    const SearchContext& Context() const { return m_ctx; }

    template <std::size_t N, typename Bound, typename Complete, typename... Inner>
    SearchStatus OneTable(const double* t, int n, const OneTableScan& rule,
                          const std::array<double*, N>& outs, const Bound&, Complete complete,
                          const Inner&... inner) {
        auto searchers = std::make_tuple(PlainSearcher(inner)...);
        return ScanOneTable<N>(
            t, n, rule, m_ctx,
            [&](double value, std::array<double, N>& v) {
                return std::apply([&](auto&... s) { return complete(s..., value, v); }, searchers);
            },
            outs);
    }

    template <std::size_t N, typename Bound, typename Complete, typename... Inner>
    SearchStatus ParallelPairs(const ParallelPairScan& rule, const std::array<double*, N>& outs,
                               const Bound&, Complete complete, const Inner&... inner) {
        auto searchers = std::make_tuple(PlainSearcher(inner)...);
        return ScanParallelPairs<N>(
            rule, m_ctx,
            [&](double x, double y, double p, std::array<double, N>& v) {
                return std::apply([&](auto&... s) { return complete(s..., x, y, p, v); },
                                  searchers);
            },
            outs);
    }

    template <std::size_t N, typename Bound, typename Complete, typename... Inner>
    SearchStatus SeriesPairs(const SeriesPairScan& rule, const std::array<double*, N>& outs,
                             const Bound&, Complete complete, const Inner&... inner) {
        auto searchers = std::make_tuple(PlainSearcher(inner)...);
        return ScanSeriesPairs<N>(
            rule, m_ctx,
            [&](double x, double y, double s, std::array<double, N>& v) {
                return std::apply([&](auto&... sr) { return complete(sr..., x, y, s, v); },
                                  searchers);
            },
            outs);
    }

private:
    const SearchContext& m_ctx;
};

} // namespace ohmtrim::detail
