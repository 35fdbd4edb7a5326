#pragma once

// The fast engine: runs the scans of the divider, node-voltage and star
// searches (search/scan_rules.h) with exact fast inner searches, and skips
// the candidates that a certified lower bound on their error shows cannot
// be taken. It returns bit for bit what the plain engine returns: the scans
// run in their own order with their own tests and Escape polls, and a
// candidate is skipped only when the bound is at or above the best error so
// far, which it could not have beaten (the plain scan takes a candidate only
// when its error is strictly smaller). Every such skip leaves the scan's
// state as it was, so nothing after it changes either.
//
// Before anything of the fast path is set up, the first candidate (a few
// with a tolerance) is evaluated plainly inline: many searches with a
// tolerance end right there, and pay nothing for the engine. (Not where an
// inner search is a triple search: one plain triple search can take longer
// than the whole rest.) A scan whose inner searches are all lookups of the
// nearest value runs plainly throughout.
//
// An enumeration of pairs goes on in contiguous parts on more threads where
// the context allows them (search/fast_parts.h); only the calling thread
// polls Escape.

#include "search/fast_bounds.h"
#include "search/fast_parts.h"
#include "search/fast_scan.h"
#include "search/fast_searchers.h"
#include "search/pair_table.h"
#include "search/pair_table_cache.h"
#include "search/scan_rules.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <tuple>
#include <type_traits>
#include <vector>

namespace ohmtrim::fast {

namespace engine {

using detail::Candidate;
using detail::RowEnd;
using detail::ScanBest;

// ---- bounds ---------------------------------------------------------------------------
//
// What a search says of its error (scan_rules.h), as lookups in the pair
// tables of its inner pair searches and a bound from their places. Target
// gives where lookup l splits its table for a candidate of value v (any
// place is valid; the ideal one makes the bound tight).

template <typename Of> struct BoundFor;

template <> struct BoundFor<detail::NoBound> {
    static constexpr int kLocates = 0;
    explicit BoundFor(const detail::NoBound&) {}
    double Target(int, double) const { return 0; }
    double Bound(double, const std::size_t*, const PairTable* const*) const { return 0; }
};

template <> struct BoundFor<detail::FractionBoundOf> {
    static constexpr int kLocates = 1;
    detail::FractionBoundOf of;
    double Target(int, double v) const { return v * of.idealPerValue; }
    double Bound(double v, const std::size_t* at, const PairTable* const* tables) const {
        return FractionLowerBound(of.w, v, at[0], *tables[0]);
    }
};

template <> struct BoundFor<detail::TwoNodeBoundOf> {
    static constexpr int kLocates = 2;
    detail::TwoNodeBoundOf of;
    double Target(int l, double v) const { return (l == 0 ? of.k2 : of.k3) * v; }
    double Bound(double v, const std::size_t* at, const PairTable* const* tables) const {
        return TwoNodeLowerBound(of, v, *tables[0], at[0], *tables[1], at[1]);
    }
};

template <> struct BoundFor<detail::StarBoundOf> {
    static constexpr int kLocates = 2;
    detail::StarBoundOf of;
    double Target(int l, double v) const { return (l == 0 ? of.k2 : of.k3) * v; }
    double Bound(double v, const std::size_t* at, const PairTable* const* tables) const {
        return StarLowerBound(of, v, *tables[0], at[0], *tables[1], at[1]);
    }
};

// ---- the searchers of one thread -------------------------------------------------------

template <typename Of> struct IsTriple : std::false_type {};
template <TripleKind K> struct IsTriple<detail::TripleOf<K>> : std::true_type {};

// A plain start is worth it unless an inner search is a triple search.
template <typename... Inner> inline constexpr bool kPlainStart = !(IsTriple<Inner>::value || ...);

// Searches whose inner searches are all lookups of the nearest value have
// nothing to gain from the fast path: no pair table, no bound.
template <typename... Inner>
inline constexpr bool kOnlyLookups = (std::is_same_v<Inner, detail::NearestIn> && ...);

// Candidates a search with a tolerance evaluates plainly before anything of
// the fast path is set up. Many such searches end within a few candidates;
// setting up the fast path would cost them more than the plain scan does.
// Without a tolerance nothing ends a scan early, and one candidate is enough
// to pay for the setup.
constexpr int kPlainStartCandidates = 32;

template <typename... S> class Searchers {
public:
    explicit Searchers(S&&... s) : m_s(std::move(s)...) {}

    // The row code with these searchers.
    template <typename Complete, typename... Args> Candidate Run(Complete& complete, Args&&... a) {
        return std::apply([&](auto&... s) { return complete(s..., a...); }, m_s);
    }
    bool AtHand() const {
        return std::apply([](const auto&... s) { return (fast::AtHand(s) && ...); }, m_s);
    }
    std::array<const PairTable*, sizeof...(S)> Tables() const {
        return std::apply([](const auto&... s) { return std::array{TableOf(s)...}; }, m_s);
    }
    void SetProgress(const double* done) {
        std::apply([&](auto&... s) { (SetProgressOf(s, done), ...); }, m_s);
    }
    template <typename Certain> void SetCertainRows(const Certain& certain) {
        std::apply([&](auto&... s) { (SetCertainOf(s, certain), ...); }, m_s);
    }
    // The searchers of a part on another thread, once AtHand.
    Searchers Part() const {
        return std::apply([](const auto&... s) { return Searchers(PartSearcher(s)...); }, m_s);
    }

private:
    template <typename T> static void SetProgressOf(T& s, const double* done) {
        if constexpr (!std::is_same_v<T, NearestWalk>)
            s.SetProgress(done);
    }
    template <typename T, typename Certain> static void SetCertainOf(T& s, const Certain& c) {
        if constexpr (requires { s.SetCertainRows(c); })
            s.SetCertainRows(c);
    }

    std::tuple<S...> m_s;
};

template <typename... Inner> auto MainSearchers(const SearchContext& ctx, const Inner&... inner) {
    return Searchers<decltype(FastSearcher(ctx, inner))...>(FastSearcher(ctx, inner)...);
}

// Progress of position i of a scan over first .. end-1.
inline double Fraction(std::int64_t i, std::int64_t first, std::int64_t end) {
    return end > first ? static_cast<double>(i - first) / static_cast<double>(end - first) : 1.0;
}

// ---- the values of one table ---------------------------------------------------------

template <std::size_t N, typename Bound, typename Complete, typename... Inner>
[[gnu::noinline]] SearchStatus
OneTableFast(const SearchContext& ctx, const double* t, int n, const detail::OneTableScan& rule,
             const std::array<double*, N>& outs, const Bound& boundOf, Complete& complete,
             detail::EscapePoll& poll, ScanBest<N>& best, std::array<double, N>& values, int i,
             const Inner&... inner) {
    auto searchers = MainSearchers(ctx, inner...);
    double done = Fraction(i, rule.start, n);
    searchers.SetProgress(&done);
    const BoundFor<Bound> bound{boundOf};
    constexpr int L = BoundFor<Bound>::kLocates;
    // A candidate may be skipped only when its total does not matter: a
    // total above RMax that ends the scan does.
    const bool bounded = L > 0 && !rule.totalAboveRMaxEnds && ctx.tables->Suitable(t, n);
    auto fastComplete = [&](double value, std::array<double, N>& v) {
        return searchers.Run(complete, value, v);
    };
    for (; i < n; ++i) {
        if (poll.Due()) {
            done = Fraction(i, rule.start, n);
            ctx.ReportProgress(done);
            if (ctx.EscapeDown())
                return SearchStatus::Aborted;
        }
        const double value = t[i];
        if constexpr (L > 0) {
            if (bounded && value <= rule.valueLimit && searchers.AtHand()) {
                const auto tables = searchers.Tables();
                std::size_t at[L];
                for (int l = 0; l < L; ++l)
                    at[l] = tables[static_cast<std::size_t>(l)]->Locate(bound.Target(l, value));
                if (Floor0(bound.Bound(value, at, tables.data())) >= best.BestError())
                    continue;
            }
        }
        const RowEnd end = detail::OneTableRow(rule, value, best, values, fastComplete);
        if (end == RowEnd::Aborted)
            return SearchStatus::Aborted;
        if (end != RowEnd::Next)
            break;
    }
    ctx.ReportProgress(1.0);
    return best.Write(outs);
}

// ---- the pairs of a section ------------------------------------------------------------
//
// Both pair scans seen as rows of positions: row r (0 first in scan order),
// position k (0 first visited). A position's section value is passed over
// (PassOver), ends its row (EndsRow) or is a candidate. A row may begin
// with positions that are passed over for certain, found by bisection
// (CertainPrefix): the scan counts them for its Escape polls and moves on.

struct ParallelShape {
    const detail::ParallelPairScan& rule;
    bool same;

    int Rows() const { return rule.nx - rule.start; }
    int Length(int r) const { return rule.ny - (same ? rule.nx - 1 - r : 0); }
    // Positions of rows 0 .. r-1.
    double Before(int r) const {
        const double rows = r;
        return same ? rows * (rule.ny - rule.nx + 1) + rows * (rows - 1) / 2 : rows * rule.ny;
    }
    double X(int r) const { return rule.tx[rule.nx - 1 - r]; }
    double Y(int, int k) const { return rule.ty[rule.ny - 1 - k]; }
    static double Value(double x, double y) { return x * y / (x + y); }
    bool PassOver(double p) const { return p > rule.pMax; }
    bool EndsRow(double p) const { return p < rule.pMin; }

    // The pairs at the top of a row whose computed P is above P_max for
    // certain. A computed P above P_max (1 + 8u) means an exact x // y above
    // P_max (1 + 3.9u) (three roundings); x // y grows with y, so every
    // larger y gives an exact value at least that and a computed one above
    // P_max. The bisection may meet rounding noise near the boundary; any
    // index it settles on passes the test, which is all the argument needs.
    int CertainPrefix(int r) const {
        const double x = X(r);
        const double limit = rule.pMax * (1 + 8 * kUnitRoundoff);
        auto above = [&](int i) {
            const double y = rule.ty[i];
            return x * y / (x + y) > limit;
        };
        const int iLast = rule.ny - Length(r);
        int hi = rule.ny - 1;
        if (hi < iLast || !above(hi))
            return 0;
        int lo = iLast - 1; // above(hi) holds; lo is below the range or fails
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            if (above(mid))
                hi = mid;
            else
                lo = mid;
        }
        return rule.ny - hi;
    }
};

struct SeriesShape {
    const detail::SeriesPairScan& rule;

    int Rows() const { return rule.iEnd + 1; }
    int Length(int) const { return rule.jEnd + 1; }
    double Before(int r) const { return static_cast<double>(r) * (rule.jEnd + 1); }
    double X(int r) const { return rule.tx[r]; }
    double Y(int, int k) const { return rule.ty[k]; }
    static double Value(double x, double y) { return x + y; }
    bool PassOver(double s) const { return s < rule.sMin; }
    bool EndsRow(double s) const { return s > rule.sMax; }

    // The sums at the start of a row below S_min: exactly a prefix, since a
    // rounded sum never decreases as one term grows.
    int CertainPrefix(int r) const {
        const double x = X(r);
        int lo = 0;
        int hi = Length(r);
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (x + rule.ty[mid] < rule.sMin)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }
};

template <typename Rule> struct ShapeOf;
template <> struct ShapeOf<detail::ParallelPairScan> {
    static ParallelShape Make(const detail::ParallelPairScan& r) { return {r, r.SameTable()}; }
    static bool Suitable(PairTableCache& c, const detail::ParallelPairScan& r) {
        return c.Suitable(r.tx, r.nx) && c.Suitable(r.ty, r.ny);
    }
};
template <> struct ShapeOf<detail::SeriesPairScan> {
    static SeriesShape Make(const detail::SeriesPairScan& r) { return {r}; }
    static bool Suitable(PairTableCache& c, const detail::SeriesPairScan& r) {
        return c.Suitable(r.tx, r.iEnd + 1) && c.Suitable(r.ty, r.jEnd + 1);
    }
};

enum class Step { Next, Exit, Aborted };

// Counts the positions a scan visits as the plain scan does and polls at
// every 20th; poll() returns true to abort.
template <typename Poll> class PairCounter {
public:
    PairCounter(Poll poll, std::int64_t count) : m_poll(poll), m_pairs(count) {}
    bool Count() { return ++m_pairs % kEscapePollStride == 0 && m_poll(); }
    // Counts n positions at once, with the polls the plain scan makes among them.
    bool CountMany(std::int64_t n) {
        const std::int64_t before = m_pairs;
        m_pairs += n;
        for (std::int64_t k = (before / kEscapePollStride + 1) * kEscapePollStride; k <= m_pairs;
             k += kEscapePollStride)
            if (m_poll())
                return true;
        return false;
    }
    std::int64_t Pairs() const { return m_pairs; }

private:
    Poll m_poll;
    std::int64_t m_pairs;
};

// Row r from position k on, with a thread's searchers: plainly (every
// candidate evaluated) while their tables are not at hand, then a batch at
// a time with the lookups of the bound started together (a table larger
// than the processor's cache makes each lookup wait for memory; started
// together, the waits overlap). shared, when given, is what the parts see
// of each other (fast_parts.h).
template <std::size_t N, typename Shape, typename Bound, typename Complete, typename Searchers,
          typename Counter, typename At>
Step ScanRow(const Shape& shape, double rmin, double rmax, int r, int k, bool skipPrefix,
             const BoundFor<Bound>& bound, Complete& complete, Searchers& searchers,
             ScanBest<N>& best, std::array<double, N>& values, Counter& counter,
             PartControl* shared, At at) {
    constexpr int L = BoundFor<Bound>::kLocates;
    const int len = shape.Length(r);
    const double x = shape.X(r);
    auto fastComplete = [&](double cx, double cy, double v, std::array<double, N>& out) {
        return searchers.Run(complete, cx, cy, v, out);
    };
    auto take = [&](double y, double v) {
        const double before = best.BestError();
        switch (detail::PairRow(rmin, rmax, x, y, v, best, values, fastComplete)) {
        case RowEnd::Next:
        case RowEnd::Stop:
            break;
        case RowEnd::Exit:
            return Step::Exit;
        case RowEnd::Aborted:
            return Step::Aborted;
        }
        if (shared != nullptr && best.BestError() < before)
            shared->Accepted(best.BestError());
        return Step::Next;
    };
    if (k == 0 && skipPrefix) {
        k = shape.CertainPrefix(r);
        if (counter.CountMany(k))
            return Step::Aborted;
    }
    for (; k < len && !searchers.AtHand(); ++k) {
        if (counter.Count())
            return Step::Aborted;
        const double y = shape.Y(r, k);
        const double v = Shape::Value(x, y);
        if (shape.PassOver(v))
            continue;
        if (shape.EndsRow(v))
            return Step::Next;
        at(r, k);
        const Step step = take(y, v);
        if (step != Step::Next)
            return step;
    }
    const auto tables = searchers.Tables();
    constexpr int kBatch = PairTable::kLocateBatch;
    double y[kBatch];
    double v[kBatch];
    double z[L > 0 ? L : 1][kBatch];
    std::size_t place[L > 0 ? L : 1][kBatch];
    int batch = 1; // grows: a scan that ends at its first candidates computes little ahead
    while (k < len) {
        const int count = std::min(batch, len - k);
        batch = std::min(2 * batch, kBatch);
        for (int m = 0; m < count; ++m) {
            y[m] = shape.Y(r, k + m);
            v[m] = Shape::Value(x, y[m]);
            for (int l = 0; l < L; ++l)
                z[l][m] = shape.PassOver(v[m]) || shape.EndsRow(v[m])
                              ? std::numeric_limits<double>::quiet_NaN()
                              : bound.Target(l, v[m]);
        }
        for (int l = 0; l < L; ++l)
            tables[static_cast<std::size_t>(l)]->LocateMany(z[l], place[l], count);
        for (int m = 0; m < count; ++m) {
            if (counter.Count())
                return Step::Aborted;
            if (shape.PassOver(v[m]))
                continue;
            if (shape.EndsRow(v[m]))
                return Step::Next;
            if constexpr (L > 0) {
                std::size_t where[L];
                for (int l = 0; l < L; ++l)
                    where[l] = place[l][m];
                const double lower = Floor0(bound.Bound(v[m], where, tables.data()));
                if (lower >= best.BestError())
                    continue;
                // A candidate whose bound lies above an error accepted by
                // another part cannot be the final best, and at or above the
                // stop threshold it cannot end the scan either.
                if (shared != nullptr && lower > shared->SharedBest() &&
                    !(lower < best.StopBelow()))
                    continue;
            }
            const Step step = take(y[m], v[m]);
            if (step != Step::Next)
                return step;
        }
        k += count;
    }
    return Step::Next;
}

// Parts per thread: enough for an even load when the rows' work differs.
constexpr int kPartsPerThread = 16;

// Rows of plain inner searches a candidate runs at a relative tolerance of
// 0, its inner pair searches aimed at z[0], z[1] ...: a lower bound of its
// work while the tables are not at hand.
template <PairOp Op> std::int64_t PlainRowsOf(const detail::PairOf<Op>& of, double z) {
    return FastPair<Op>::PlainRows(of, z);
}
template <typename Of> std::int64_t PlainRowsOf(const Of&, double) {
    return 0;
}
template <typename... Inner>
std::int64_t PlainRowsAll(const double* z, int count, const Inner&... inner) {
    std::int64_t rows = 0;
    int l = 0;
    ((rows += l < count ? PlainRowsOf(inner, z[l]) : 0, ++l), ...);
    return rows;
}

// The scan of the pairs from row r, position k on, after the plain start.
template <std::size_t N, typename Rule, typename Bound, typename Complete, typename... Inner>
[[gnu::noinline]] SearchStatus
PairsFast(const SearchContext& ctx, const Rule& rule, const std::array<double*, N>& outs,
          const Bound& boundOf, Complete& complete, std::int64_t counted, ScanBest<N>& best,
          std::array<double, N>& values, int r, int k, const Inner&... inner) {
    const auto shape = ShapeOf<Rule>::Make(rule);
    using Shape = std::remove_const_t<decltype(shape)>;
    const BoundFor<Bound> bound{boundOf};
    constexpr int L = BoundFor<Bound>::kLocates;
    auto main = MainSearchers(ctx, inner...);
    const int rows = shape.Rows();
    const double total = shape.Before(rows);
    double doneNominal = shape.Before(r);
    double done = doneNominal / total;
    main.SetProgress(&done);

    const bool suitable = ShapeOf<Rule>::Suitable(*ctx.tables, rule);
    // While the tables are not at hand, a search without tolerance tells
    // its sources how much plain work lies ahead for sure: nothing ends it
    // early, so every candidate runs its inner searches in full.
    int atRow = r;
    int atPosition = k;
    if constexpr (L > 0) {
        if (ctx.relTol <= 0) {
            main.SetCertainRows([&](std::int64_t limit) {
                // A few thousand candidates ahead say enough; the pairs a row
                // passes over at its start are passed over at once.
                constexpr int kCandidatesLooked = 4096;
                std::int64_t ahead = 0;
                int looked = 0;
                for (int q = atRow; q < rows && ahead < limit && looked < kCandidatesLooked; ++q) {
                    const double x = shape.X(q);
                    int p = q == atRow ? atPosition : 0;
                    if (p == 0 && suitable)
                        p = shape.CertainPrefix(q);
                    for (; p < shape.Length(q) && looked < kCandidatesLooked; ++p) {
                        const double v = Shape::Value(x, shape.Y(q, p));
                        if (shape.PassOver(v))
                            continue;
                        if (shape.EndsRow(v))
                            break;
                        ++looked;
                        double z[L];
                        for (int l = 0; l < L; ++l)
                            z[l] = bound.Target(l, v);
                        ahead += PlainRowsAll(z, L, inner...);
                    }
                }
                return ahead;
            });
        }
    }

    PairCounter counter(
        [&] {
            ctx.ReportProgress(done);
            return ctx.EscapeDown();
        },
        counted);
    // With more threads allowed the scan hands the rest over to the parts at
    // the start of a row, once it has run some way with the tables at hand:
    // starting threads costs more than a search that ends early takes.
    const double pairsBeforeThreads = ctx.tables->GetOptions().pairsForThreads;
    std::int64_t pairsAtHand = -1; // the count when the tables came
    for (; r < rows; ++r, k = 0) {
        if (k == 0 && ctx.threads > 1 && main.AtHand()) {
            if (pairsAtHand < 0)
                pairsAtHand = counter.Pairs();
            if (static_cast<double>(counter.Pairs() - pairsAtHand) >= pairsBeforeThreads)
                break;
        }
        const Step step = ScanRow<N>(shape, rule.rmin, rule.rmax, r, k, suitable, bound, complete,
                                     main, best, values, counter, nullptr, [&](int q, int p) {
                                         atRow = q;
                                         atPosition = p;
                                     });
        if (step == Step::Aborted)
            return SearchStatus::Aborted;
        if (step == Step::Exit) {
            ctx.ReportProgress(1.0);
            return best.Write(outs);
        }
        doneNominal += shape.Length(r);
        done = doneNominal / total;
    }
    if (r >= rows) {
        ctx.ReportProgress(1.0);
        return best.Write(outs);
    }

    // Rows r .. rows-1 in parts, on top of what the rows before accepted.
    std::vector<double> weights;
    for (int q = r; q < rows; ++q)
        weights.push_back(shape.Length(q) / total);
    const std::vector<int> starts = SplitByWeight(weights, kPartsPerThread * ctx.threads);
    const int parts = static_cast<int>(starts.size()) - 1;
    std::vector<double> partWeights;
    for (int p = 0; p < parts; ++p) {
        double w = 0;
        for (int q = starts[static_cast<std::size_t>(p)];
             q < starts[static_cast<std::size_t>(p) + 1]; ++q)
            w += weights[static_cast<std::size_t>(q)];
        partWeights.push_back(w);
    }
    const double startBest = best.BestError();
    // Each thread's searchers, made here: nothing is allocated on the others.
    std::vector<decltype(main)> others;
    for (int t = 1; t < ctx.threads; ++t)
        others.push_back(main.Part());
    const MergedParts<N> merged =
        RunParts<N>(parts, ctx.threads, startBest, partWeights, doneNominal / total, ctx,
                    [&](int part, PartControl& control, int thread) {
                        auto& searchers =
                            thread == 0 ? main : others[static_cast<std::size_t>(thread - 1)];
                        PartResult<N> result;
                        ScanBest<N> partBest(best.StopBelow(), startBest);
                        std::array<double, N> partValues{};
                        PairCounter partCounter([&] { return control.MustStop(part, thread); }, 0);
                        const int first = r + starts[static_cast<std::size_t>(part)];
                        const int end = r + starts[static_cast<std::size_t>(part) + 1];
                        for (int q = first; q < end; ++q) {
                            switch (ScanRow<N>(shape, rule.rmin, rule.rmax, q, 0, suitable, bound,
                                               complete, searchers, partBest, partValues,
                                               partCounter, &control, [](int, int) {})) {
                            case Step::Next:
                                break;
                            case Step::Aborted:
                                result.stopped = true;
                                return result;
                            case Step::Exit:
                                control.Exited(part);
                                result.exit = true;
                                result.found = true;
                                result.values = partBest.Recorded();
                                return result;
                            }
                        }
                        result.found = partBest.Found();
                        result.bestError = partBest.BestError();
                        result.values = partBest.Recorded();
                        return result;
                    });
    if (merged.aborted)
        return SearchStatus::Aborted;
    ctx.ReportProgress(1.0);
    // The parts only take errors below the best of the rows before them,
    // which were earlier and would win a tie.
    if (!merged.exit && !merged.found)
        return best.Write(outs);
    for (std::size_t m = 0; m < N; ++m)
        *outs[m] = merged.values[m];
    return SearchStatus::Found;
}

} // namespace engine

// Runs the scans of the searches over the fast path; see the top of this
// file. The context must hold the program's pair-table cache.
class FastEngine {
public:
    explicit FastEngine(const SearchContext& ctx) : m_ctx(ctx) {}

    const SearchContext& Context() const { return m_ctx; }

    template <std::size_t N, typename Bound, typename Complete, typename... Inner>
    SearchStatus OneTable(const double* t, int n, const detail::OneTableScan& rule,
                          const std::array<double*, N>& outs, const Bound& bound, Complete complete,
                          const Inner&... inner) {
        if constexpr (engine::kOnlyLookups<Inner...>) {
            const SearchStatus status =
                detail::PlainEngine(m_ctx).OneTable(t, n, rule, outs, bound, complete, inner...);
            if (status != SearchStatus::Aborted)
                m_ctx.ReportProgress(1.0);
            return status;
        }
        detail::EscapePoll poll(m_ctx, rule.firstPoll);
        engine::ScanBest<N> best(rule.stopBelow);
        std::array<double, N> values{};
        int i = rule.start;
        if constexpr (engine::kPlainStart<Inner...>) {
            auto plain = std::make_tuple(detail::PlainSearcher(inner)...);
            auto plainComplete = [&](double value, std::array<double, N>& v) {
                return std::apply([&](auto&... s) { return complete(s..., value, v); }, plain);
            };
            const int count = m_ctx.relTol > 0 ? engine::kPlainStartCandidates : 1;
            const int plainEnd = n - i > count ? i + count : n;
            while (i < plainEnd) {
                if (poll.Aborted())
                    return SearchStatus::Aborted;
                const detail::RowEnd end =
                    detail::OneTableRow(rule, t[i], best, values, plainComplete);
                ++i;
                if (end == detail::RowEnd::Aborted)
                    return SearchStatus::Aborted;
                if (end != detail::RowEnd::Next) {
                    i = n;
                    break;
                }
            }
        }
        if (i >= n) {
            m_ctx.ReportProgress(1.0);
            return best.Write(outs);
        }
        return engine::OneTableFast<N>(m_ctx, t, n, rule, outs, bound, complete, poll, best, values,
                                       i, inner...);
    }

    template <std::size_t N, typename Bound, typename Complete, typename... Inner>
    SearchStatus ParallelPairs(const detail::ParallelPairScan& rule,
                               const std::array<double*, N>& outs, const Bound& bound,
                               Complete complete, const Inner&... inner) {
        return Pairs<N>(rule, outs, bound, complete, inner...);
    }

    template <std::size_t N, typename Bound, typename Complete, typename... Inner>
    SearchStatus SeriesPairs(const detail::SeriesPairScan& rule, const std::array<double*, N>& outs,
                             const Bound& bound, Complete complete, const Inner&... inner) {
        return Pairs<N>(rule, outs, bound, complete, inner...);
    }

private:
    // The first row plainly up to its first candidate, then the fast scan.
    template <std::size_t N, typename Rule, typename Bound, typename Complete, typename... Inner>
    SearchStatus Pairs(const Rule& rule, const std::array<double*, N>& outs, const Bound& bound,
                       Complete& complete, const Inner&... inner) {
        const auto shape = engine::ShapeOf<Rule>::Make(rule);
        detail::EscapePoll poll(m_ctx, detail::EscapePoll::First::BeforeTwentieth);
        engine::ScanBest<N> best(rule.stopBelow);
        std::array<double, N> values{};
        const int rows = shape.Rows();
        int r = 0;
        int k = 0;
        if (rows > 0) {
            auto plain = std::make_tuple(detail::PlainSearcher(inner)...);
            auto plainComplete = [&](double x, double y, double v, std::array<double, N>& out) {
                return std::apply([&](auto&... s) { return complete(s..., x, y, v, out); }, plain);
            };
            const int len = shape.Length(0);
            const double x = shape.X(0);
            for (; k < len; ++k) {
                if (poll.Aborted())
                    return SearchStatus::Aborted;
                const double y = shape.Y(0, k);
                const double v = decltype(shape)::Value(x, y);
                if (shape.PassOver(v))
                    continue;
                if (shape.EndsRow(v)) {
                    k = len;
                    break;
                }
                const detail::RowEnd end =
                    detail::PairRow(rule.rmin, rule.rmax, x, y, v, best, values, plainComplete);
                ++k;
                if (end != detail::RowEnd::Next)
                    r = rows;
                break;
            }
            if (r < rows && k >= len) {
                r = 1;
                k = 0;
            }
        }
        if (r >= rows) {
            m_ctx.ReportProgress(1.0);
            return best.Write(outs);
        }
        return engine::PairsFast<N>(m_ctx, rule, outs, bound, complete, poll.Count(), best, values,
                                    r, k, inner...);
    }

    const SearchContext& m_ctx;
};

} // namespace ohmtrim::fast
