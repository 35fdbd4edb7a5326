#include "search/fast_searches.h"

#include "search/divider_searches.h"
#include "search/fast_bounds.h"
#include "search/fast_pair.h"
#include "search/fast_parts.h"
#include "search/fast_triple.h"
#include "search/input_checks.h"
#include "search/table_source.h"
#include "search/search_constants.h"
#include "valuesets/lookups.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

// The dividers keep their plain outer scans, written out below exactly as
// the plain functions have them (ranges, stops, ties, Escape polls), and
// only the inner search and the skipping of hopeless candidates differ.

namespace ohmtrim::fast {

namespace {

// ---- inner searches -------------------------------------------------------------------

// FindParallelPair(target, tol) over the tables of source, plainly while it
// has no table; false when Escape aborted. A plain pair search whose budget
// runs out goes on from where it stopped, or begins again over the table.
// certain counts the plain work still to do for sure.
template <typename Certain>
[[gnu::always_inline]] inline bool
ParallelPairThrough(TableSource& source, double target, double tol, const double* a, int na,
                    const double* b, int nb, RowMarks& marks, double& outA, double& outB,
                    Certain certain) {
    PairScanPlace place; // where a plain scan stopped, to go on from there
    for (;;) {
        if (const PairTable* table = source.Table()) {
            ParallelPairOverTable(target, tol, *table, marks, outA, outB);
            return true;
        }
        if (source.PlainOnly()) {
            WorkBudget unlimited = WorkBudget::Unlimited();
            return ParallelPairCounted(target, tol, a, na, b, nb, unlimited, outA, outB, &place);
        }
        if (ParallelPairCounted(target, tol, a, na, b, nb, source.Budget(), outA, outB, &place))
            return true;
        if (source.Advance(TableSource::CertainRows(certain)) == TableSource::Next::Aborted)
            return false;
    }
}

// The upper branch R1 // R2 by FindParallelPair over the (R1, R2) table.
class UpperPair {
public:
    static constexpr std::size_t kValues = 2;
    using Values = std::array<double, 2>;

    UpperPair(const double* t1, int n1, const double* t2, int n2, const SearchContext& ctx)
        : m_t1(t1), m_n1(n1), m_t2(t2), m_n2(n2), m_source(ctx, PairOp::Parallel, t1, n1, t2, n2) {}

    // False when Escape aborted.
    bool Find(double target, double tol, Values& v) {
        return ParallelPairThrough(m_source, target, tol, m_t1, m_n1, m_t2, m_n2, m_marks, v[0],
                                   v[1], [](std::int64_t) { return std::int64_t{0}; });
    }
    static double Value(const Values& v) { return v[0] * v[1] / (v[0] + v[1]); }
    void SetProgress(const double* done) { m_source.SetProgress(done); }

private:
    const double* m_t1;
    int m_n1;
    const double* m_t2;
    int m_n2;
    TableSource m_source;
    RowMarks m_marks;
};

// The upper branch of three resistors by a triple search over the tables
// of R1, R2, R3, with the pair table of (R2, R3).
class UpperTriple {
public:
    static constexpr std::size_t kValues = 3;
    using Values = std::array<double, 3>;

    UpperTriple(TripleKind kind, const double* t1, int n1, const double* t2, int n2,
                const double* t3, int n3, const SearchContext& ctx)
        : m_kind(kind), m_t1(t1), m_n1(n1), m_t2(t2), m_n2(n2), m_t3(t3), m_n3(n3),
          m_source(ctx, NestedOp(kind), t2, n2, t3, n3) {
        m_source.AlsoNeeds(t1, n1);
    }

    bool Find(double target, double tol, Values& v) {
        TripleSearch search(m_kind, target, tol, m_t1, m_n1, m_t2, m_n2, m_t3, m_n3);
        // A search whose budget runs out goes on from where it was.
        while (m_source.Table() == nullptr && !search.ScanPlain(m_source.Budget())) {
            if (m_source.Advance([&](std::int64_t limit) { return search.CertainRows(limit); }) ==
                TableSource::Next::Aborted)
                return false;
        }
        if (!search.Finished())
            search.ScanFast(*m_source.Table(), m_scratch);
        v = search.Result();
        return true;
    }
    void SetProgress(const double* done) { m_source.SetProgress(done); }
    // The plain functions' expressions of the upper branch.
    double Value(const Values& v) const {
        return m_kind == TripleKind::Parallel ? 1 / (1 / v[0] + 1 / v[1] + 1 / v[2])
                                              : 1 / (1 / (v[1] + v[2]) + 1 / v[0]);
    }

private:
    TripleKind m_kind;
    const double* m_t1;
    int m_n1;
    const double* m_t2;
    int m_n2;
    const double* m_t3;
    int m_n3;
    TableSource m_source;
    TripleScratch m_scratch;
};

// Progress of a scan over positions first .. end-1 at position i.
double Fraction(int i, int first, int end) {
    return end > first ? static_cast<double>(i - first) / (end - first) : 1.0;
}

// The scan of the dividers whose lower branch is one resistor q, as the
// plain functions run it, with the fast inner search. Every q up to the stop
// needs its inner result, since the stop depends on it; the inner search is
// exact, so the whole is.
template <typename Upper>
SearchStatus ScanLowerResistor(double u1, double u2, double u3, double rmin, double rmax,
                               const double* tq, int nq, bool stopAboveRatioLimit, Upper& upper,
                               const std::array<double*, Upper::kValues + 1>& outs,
                               const SearchContext& ctx) {
    constexpr std::size_t N = Upper::kValues;
    if (!ohmtrim::detail::DividerInputValid(u1, u2, u3, rmin, rmax))
        return SearchStatus::InvalidInput;
    const double k = (u1 - u2) / (u2 - u3);
    const double u = (u2 - u3) / (u1 - u3);
    const double innerTol = 0.1 * ctx.relTol;
    const int s = CeilingIndex(rmin * u, tq, nq);
    if (s == -1)
        return SearchStatus::NoSolution;

    double bestError = 1e300;
    SearchStatus status = SearchStatus::NoSolution;
    typename Upper::Values values{};
    double done = 0;
    upper.SetProgress(&done);
    std::array<double, N + 1> recorded{};
    for (int i = s, c = 0; i < nq; ++i, ++c) {
        done = Fraction(i, s, nq);
        if (c % kEscapePollStride == 0) {
            ctx.ReportProgress(done);
            if (ctx.EscapeDown())
                return SearchStatus::Aborted;
        }
        const double q = tq[i];
        if (stopAboveRatioLimit && q > rmax * u)
            break;
        if (!upper.Find(k * q, innerTol, values))
            return SearchStatus::Aborted;
        const double rUp = upper.Value(values);
        const double total = q + rUp;
        if (total < rmin)
            continue;
        if (total > rmax)
            break;
        const double e = std::fabs(k - rUp / q);
        if (!(e < bestError))
            continue;
        for (std::size_t m = 0; m < N; ++m)
            recorded[m] = values[m];
        recorded[N] = q;
        status = SearchStatus::Found;
        if (e < ctx.relTol * k)
            break;
        bestError = e;
    }
    for (std::size_t m = 0; m <= N; ++m)
        *outs[m] = recorded[m];
    ctx.ReportProgress(1.0);
    return status;
}

// ---- FindDividerParallelPairs ---------------------------------------------------------

// The fixed quantities of one FindDividerParallelPairs call.
struct PairsSetup {
    double rmin;
    double rmax;
    double u; // wanted R_low / R_total
    double innerTol;
    double relTol;
    double pMin;
    double pMax;
    int s; // lowest R1 index
    bool sameTable;
    const double* t1;
    int n1;
    const double* t2;
    int n2;
    const double* t3;
    int n3;
    const double* t4;
    int n4;
};

// The scan's state over a stretch of it.
struct PairsState {
    double bestError = 1e300;
    bool found = false;
    std::array<double, 4> recorded{};
};

enum class Step { Next, Exit, Aborted };

// The lower pair search, plain with a budget until the table is at hand.
class LowerPair {
public:
    LowerPair(const PairsSetup& s, const SearchContext& ctx)
        : m_s(s), m_source(ctx, PairOp::Parallel, s.t3, s.n3, s.t4, s.n4) {
        m_source.AlsoNeeds(s.t1, s.n1);
        m_source.AlsoNeeds(s.t2, s.n2);
    }

    const PairTable* Table() const { return m_source.Table(); }
    // Where the plain scan is: the candidate (R1 index j, R2 index i).
    void At(int j, int i) {
        m_j = j;
        m_i = i;
    }

    // FindParallelPair for z over (R3, R4); false when Escape aborted.
    bool Find(double z, RowMarks& marks, double& c, double& d) {
        return ParallelPairThrough(m_source, z, m_s.innerTol, m_s.t3, m_s.n3, m_s.t4, m_s.n4, marks,
                                   c, d, [&](std::int64_t limit) { return CertainRows(limit); });
    }

private:
    // Rows of lower pair searches the plain scan has still to do for sure
    // from the current candidate on, counted up to limit over a few thousand
    // candidates at most. With a relative tolerance of 0 (or below) the scan
    // neither exits nor stops early: every pair within P_min..P_max gets its
    // lower pair search, and each runs its full course.
    std::int64_t CertainRows(std::int64_t limit) const {
        if (m_s.relTol > 0)
            return 0;
        constexpr int kPairsLooked = 4096;
        const double pFirst = m_s.t3[0] * m_s.t4[0] / (m_s.t3[0] + m_s.t4[0]);
        const double c = m_s.t3[m_s.n3 - 1];
        const double d = m_s.t4[m_s.n4 - 1];
        const double pLast = c * d / (c + d);
        std::int64_t rows = 0;
        int looked = 0;
        for (int j = m_j; j >= m_s.s && rows < limit && looked < kPairsLooked; --j) {
            const double a = m_s.t1[j];
            const int iLast = m_s.sameTable ? j : 0;
            for (int i = j == m_j ? m_i : m_s.n2 - 1; i >= iLast && looked < kPairsLooked; --i) {
                ++looked;
                const double b = m_s.t2[i];
                const double p = a * b / (a + b);
                if (p < m_s.pMin)
                    break;
                if (p > m_s.pMax)
                    continue;
                const double z = p * m_s.u / (1 - m_s.u);
                if (z > pFirst && z < pLast) {
                    const int i0 = CeilingIndex(z + 1e-15, m_s.t3, m_s.n3);
                    rows += i0 < 0 ? 0 : m_s.n3 - i0;
                }
            }
        }
        return rows;
    }

    const PairsSetup& m_s;
    TableSource m_source;
    int m_j = 0;
    int m_i = 0;
};

// One candidate upper pair (a, b) with P = a // b inside P_min .. P_max, as
// the plain scan treats it; at is the place in the table where the lower
// pair's ideal value would go (or kUnknown). With the table at hand, a
// candidate whose bound shows it cannot be accepted is skipped: the plain
// scan would not have taken it either (its error is at or above the best so
// far), and without the inner result its range test does not matter.
// shared, when given, is the best error accepted by any part (see
// fast_parts.h).
constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

[[gnu::always_inline]] inline Step Candidate(const PairsSetup& s, LowerPair& lower, RowMarks& marks,
                                             double a, double b, double p, std::size_t at,
                                             PairsState& st, PartControl* shared) {
    const double z = p * s.u / (1 - s.u); // the lower pair's ideal value
    if (const PairTable* table = lower.Table()) {
        const std::size_t k = at != kUnknown ? at : table->Locate(z);
        const double bound = Floor0(FractionLowerBound(s.u, p, k, *table));
        if (bound >= st.bestError)
            return Step::Next;
        if (shared != nullptr && bound > shared->SharedBest() && !(bound < s.relTol * s.u))
            return Step::Next;
    }
    double c = 0.0;
    double d = 0.0;
    if (!lower.Find(z, marks, c, d))
        return Step::Aborted;
    const double rLow = c * d / (c + d);
    const double total = p + rLow;
    if (total < s.rmin || total > s.rmax)
        return Step::Next;
    const double e = std::fabs(s.u - rLow / total);
    if (!(e < st.bestError))
        return Step::Next; // a tie keeps the larger R1, then the larger R2
    st.recorded = {a, b, c, d};
    st.found = true;
    if (e < s.relTol * s.u)
        return Step::Exit;
    st.bestError = e;
    if (shared != nullptr)
        shared->Accepted(e);
    return Step::Next;
}

// Counts the enumerated pairs as the plain scan does and polls Escape at
// every 20th; poll() returns true to abort.
template <typename Poll> class PairCounter {
public:
    explicit PairCounter(Poll poll) : m_poll(poll) {}
    bool Count() { return ++m_pairs % kEscapePollStride == 0 && m_poll(); }
    // Counts n pairs at once, with the polls the plain scan makes among them.
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
    std::int64_t m_pairs = 0;
};

// First index of the pairs at the top of row j (R1 = a) that the plain scan
// passes over for P > P_max with certainty; iLast..n2-1 are the row's
// indices. A computed P above P_max (1 + 8u) means an exact a // b above
// P_max (1 + 3.9u) (three roundings); a // b grows with b, so every larger b
// gives an exact value at least that and a computed one above P_max. The
// bisection may meet rounding noise near the boundary; any index it settles
// on passes the test, which is all the argument needs.
int FirstCertainlyAboveMax(const PairsSetup& s, double a, int iLast) {
    const double limit = s.pMax * (1 + 8 * kUnitRoundoff);
    auto above = [&](int i) {
        const double b = s.t2[i];
        return a * b / (a + b) > limit;
    };
    int hi = s.n2 - 1;
    if (hi < iLast || !above(hi))
        return s.n2;
    int lo = iLast - 1; // above(hi) holds; lo is below the range or fails
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (above(mid))
            hi = mid;
        else
            lo = mid;
    }
    return hi;
}

// Row j of the enumeration: R1 = t1[j] with R2 from the top of its table
// down, as the plain scan runs it. With the table at hand, or when told to
// (the upper tables are known suitable), the pairs above P_max at the top
// are passed over at once; with the table at hand the pairs' values and
// lower-pair targets are computed a batch ahead, so that their places in
// the table are looked up together.
template <typename Counter>
Step ScanPairsRow(const PairsSetup& s, LowerPair& lower, RowMarks& marks, int j, PairsState& st,
                  PartControl* shared, Counter& counter, bool skipAboveMax) {
    const int iLast = s.sameTable ? j : 0;
    const double a = s.t1[j];
    int i = s.n2 - 1;
    if (skipAboveMax || lower.Table() != nullptr) {
        const int first = FirstCertainlyAboveMax(s, a, iLast);
        if (counter.CountMany(s.n2 - first))
            return Step::Aborted;
        i = first - 1;
    }
    // Plainly, pair by pair, until the table is at hand.
    for (; i >= iLast && lower.Table() == nullptr; --i) {
        if (counter.Count())
            return Step::Aborted;
        const double b = s.t2[i];
        const double p = a * b / (a + b);
        if (p < s.pMin)
            return Step::Next; // smaller R2 only lowers P further
        if (p > s.pMax)
            continue;
        lower.At(j, i);
        const Step step = Candidate(s, lower, marks, a, b, p, kUnknown, st, shared);
        if (step != Step::Next)
            return step;
    }
    if (i < iLast)
        return Step::Next;
    const PairTable& table = *lower.Table();
    constexpr int kBatch = PairTable::kLocateBatch;
    double p[kBatch];
    double z[kBatch];
    const double zPerP = s.u / (1 - s.u);
    std::size_t at[kBatch];
    int batch = 1; // grows: a scan that ends at its first candidates computes little ahead
    while (i >= iLast) {
        const int count = std::min(batch, i - iLast + 1);
        batch = std::min(2 * batch, kBatch);
        for (int m = 0; m < count; ++m) {
            const double b = s.t2[i - m];
            p[m] = a * b / (a + b);
            // Any place splits the table validly for the bound: a product is
            // near enough to the ideal value and cheaper than its quotient.
            z[m] = p[m] < s.pMin || p[m] > s.pMax ? std::numeric_limits<double>::quiet_NaN()
                                                  : p[m] * zPerP;
        }
        table.LocateMany(z, at, count);
        for (int m = 0; m < count; ++m) {
            if (counter.Count())
                return Step::Aborted;
            if (p[m] < s.pMin)
                return Step::Next;
            if (p[m] > s.pMax)
                continue;
            const Step step = Candidate(s, lower, marks, a, s.t2[i - m], p[m], at[m], st, shared);
            if (step != Step::Next)
                return step;
        }
        i -= count;
    }
    return Step::Next;
}

// Nominal pairs of row j (before the P tests cut it short).
double RowPairs(const PairsSetup& s, int j) {
    return static_cast<double>(s.n2 - (s.sameTable ? j : 0));
}

// Parts per thread: enough for an even load when the rows' work differs.
constexpr int kPartsPerThread = 16;

SearchStatus WritePairs(const std::array<double, 4>& v, bool found, double& out1, double& out2,
                        double& out3, double& out4) {
    out1 = v[0];
    out2 = v[1];
    out3 = v[2];
    out4 = v[3];
    return found ? SearchStatus::Found : SearchStatus::NoSolution;
}

// Rows jFirst down to jLast of one part, on its own state.
PartResult<4> RunPairsPart(const PairsSetup& s, LowerPair& lower, int jFirst, int jLast,
                           double startBest, int part, PartControl& control, int thread,
                           RowMarks& marks) {
    PartResult<4> result;
    PairsState st;
    st.bestError = startBest;
    PairCounter counter([&] { return control.MustStop(part, thread); });
    // The table is at hand before the parts start: no build here.
    for (int j = jFirst; j >= jLast; --j) {
        switch (ScanPairsRow(s, lower, marks, j, st, &control, counter, true)) {
        case Step::Next:
            break;
        case Step::Aborted:
            result.stopped = true;
            return result;
        case Step::Exit:
            control.Exited(part);
            result.exit = true;
            result.found = true;
            result.values = st.recorded;
            return result;
        }
    }
    result.found = st.found;
    result.bestError = st.bestError;
    result.values = st.recorded;
    return result;
}

using PlainFourResistors = SearchStatus (*)(double, double, double, double, double, const double*,
                                            int, const double*, int, const double*, int,
                                            const double*, int, double&, double&, double&, double&,
                                            const SearchContext&);

// The dividers whose upper branch is a triple search.
SearchStatus TripleTop(TripleKind kind, PlainFourResistors plain, double u1, double u2, double u3,
                       double rmin, double rmax, const double* t1, int n1, const double* t2, int n2,
                       const double* t3, int n3, const double* t4, int n4, double& out1,
                       double& out2, double& out3, double& out4, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return plain(u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3, t4, n4, out1, out2, out3, out4,
                     ctx);
    UpperTriple upper(kind, t1, n1, t2, n2, t3, n3, ctx);
    return ScanLowerResistor(u1, u2, u3, rmin, rmax, t4, n4, true, upper,
                             {&out1, &out2, &out3, &out4}, ctx);
}

} // namespace

SearchStatus FindDividerPair(double u1, double u2, double u3, double rmin, double rmax,
                             const double* t1, int n1, const double* t2, int n2, double& out1,
                             double& out2, const SearchContext& ctx) {
    const SearchStatus status =
        ohmtrim::FindDividerPair(u1, u2, u3, rmin, rmax, t1, n1, t2, n2, out1, out2, ctx);
    if (status != SearchStatus::Aborted)
        ctx.ReportProgress(1.0);
    return status;
}

SearchStatus FindDividerParallelPairTop(double u1, double u2, double u3, double rmin, double rmax,
                                        const double* t1, int n1, const double* t2, int n2,
                                        const double* t3, int n3, double& out1, double& out2,
                                        double& out3, const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindDividerParallelPairTop(u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3,
                                                   out1, out2, out3, ctx);
    UpperPair upper(t1, n1, t2, n2, ctx);
    // No stop on q alone here: the total test does that job.
    return ScanLowerResistor(u1, u2, u3, rmin, rmax, t3, n3, false, upper, {&out1, &out2, &out3},
                             ctx);
}

SearchStatus FindDividerParallelTripleTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx) {
    return TripleTop(TripleKind::Parallel, &ohmtrim::FindDividerParallelTripleTop, u1, u2, u3, rmin,
                     rmax, t1, n1, t2, n2, t3, n3, t4, n4, out1, out2, out3, out4, ctx);
}

SearchStatus FindDividerParallelSeriesTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx) {
    return TripleTop(TripleKind::ParallelSeries, &ohmtrim::FindDividerParallelSeriesTop, u1, u2, u3,
                     rmin, rmax, t1, n1, t2, n2, t3, n3, t4, n4, out1, out2, out3, out4, ctx);
}

SearchStatus FindDividerParallelPairs(double u1, double u2, double u3, double rmin, double rmax,
                                      const double* t1, int n1, const double* t2, int n2,
                                      const double* t3, int n3, const double* t4, int n4,
                                      double& out1, double& out2, double& out3, double& out4,
                                      const SearchContext& ctx) {
    if (ctx.tables == nullptr)
        return ohmtrim::FindDividerParallelPairs(u1, u2, u3, rmin, rmax, t1, n1, t2, n2, t3, n3, t4,
                                                 n4, out1, out2, out3, out4, ctx);
    if (!ohmtrim::detail::DividerInputValid(u1, u2, u3, rmin, rmax))
        return SearchStatus::InvalidInput;
    PairsSetup s{};
    s.rmin = rmin;
    s.rmax = rmax;
    s.u = (u2 - u3) / (u1 - u3);
    s.innerTol = 0.1 * ctx.relTol;
    s.relTol = ctx.relTol;
    s.pMin = rmin * (1 - s.u);
    s.pMax = rmax * (1 - s.u);
    s.s = CeilingIndex(s.pMin, t1, n1);
    if (s.s == -1)
        return SearchStatus::NoSolution;
    s.sameTable = t1 == t2 && n1 == n2;
    s.t1 = t1;
    s.n1 = n1;
    s.t2 = t2;
    s.n2 = n2;
    s.t3 = t3;
    s.n3 = n3;
    s.t4 = t4;
    s.n4 = n4;

    const double rows = n1 - s.s;
    const double total = s.sameTable ? rows * (rows + 1) / 2 : rows * n2;
    const double pairsBeforeThreads = ctx.tables->GetOptions().pairsForThreads;

    // The scan in order, polling where the plain function polls. With more
    // threads allowed it hands the rest over to the parts at the start of a
    // row, once it has run some way with the table at hand: starting threads
    // costs more than a search that ends early takes.
    LowerPair lower(s, ctx);
    RowMarks marks;
    PairsState st;
    double doneNominal = 0;
    PairCounter counter([&] {
        ctx.ReportProgress(doneNominal / total);
        return ctx.EscapeDown();
    });
    bool skipAboveMax = false;
    std::int64_t pairsWithTable = -1; // the pair count when the table came
    int j = n1 - 1;
    for (; j >= s.s; --j) {
        if (ctx.threads > 1 && lower.Table() != nullptr) {
            if (pairsWithTable < 0)
                pairsWithTable = counter.Pairs();
            if (static_cast<double>(counter.Pairs() - pairsWithTable) >= pairsBeforeThreads)
                break;
        }
        // From the second row on, the pairs above P_max at the top of a row
        // are passed over at once (the first row pays no check for it).
        if (j == n1 - 2)
            skipAboveMax = ctx.tables->Suitable(t1, n1) && ctx.tables->Suitable(t2, n2);
        switch (ScanPairsRow(s, lower, marks, j, st, nullptr, counter, skipAboveMax)) {
        case Step::Next:
            break;
        case Step::Exit:
            ctx.ReportProgress(1.0);
            return WritePairs(st.recorded, true, out1, out2, out3, out4);
        case Step::Aborted:
            return SearchStatus::Aborted;
        }
        doneNominal += RowPairs(s, j);
    }
    if (j < s.s) {
        ctx.ReportProgress(1.0);
        return WritePairs(st.recorded, st.found, out1, out2, out3, out4);
    }

    // Rows j down to s in parts, on top of what the rows before accepted.
    std::vector<double> weights;
    for (int r = j; r >= s.s; --r)
        weights.push_back(RowPairs(s, r) / total);
    const std::vector<int> starts = SplitByWeight(weights, kPartsPerThread * ctx.threads);
    const int parts = static_cast<int>(starts.size()) - 1;
    std::vector<double> partWeights;
    for (int k = 0; k < parts; ++k) {
        double w = 0;
        for (int r = starts[k]; r < starts[k + 1]; ++r)
            w += weights[static_cast<std::size_t>(r)];
        partWeights.push_back(w);
    }
    const double startBest = st.bestError;
    // Each thread's scratch, made here: nothing is allocated on the others.
    std::vector<RowMarks> threadMarks(static_cast<std::size_t>(ctx.threads));
    for (RowMarks& m : threadMarks)
        m.Reset(n3);
    const MergedParts<4> merged = RunParts<4>(
        parts, ctx.threads, startBest, partWeights, doneNominal / total, ctx,
        [&](int k, PartControl& control, int thread) {
            return RunPairsPart(s, lower, j - starts[k], j - (starts[k + 1] - 1), startBest, k,
                                control, thread, threadMarks[static_cast<std::size_t>(thread)]);
        });
    if (merged.aborted)
        return SearchStatus::Aborted;
    ctx.ReportProgress(1.0);
    // The parts only take errors below the best of the rows before them,
    // which were earlier and would win a tie.
    if (merged.exit || merged.found)
        return WritePairs(merged.values, true, out1, out2, out3, out4);
    return WritePairs(st.recorded, st.found, out1, out2, out3, out4);
}

} // namespace ohmtrim::fast
