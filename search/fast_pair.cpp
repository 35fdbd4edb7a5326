#include "search/fast_pair.h"

#include "search/pair_searches.h"
#include "valuesets/lookups.h"

#include <cmath>
#include <cstdint>

namespace ohmtrim::fast {

namespace {

using PairResult = ScanResult<2>;

// The first rows are always scanned plainly: a loose tolerance usually ends
// the scan there, before a walk over the table would pay off.
constexpr int kPlainFirstRows = 2;

// A walk that visits more entries than this (per row still to scan) gives
// way to the plain scan of the remaining rows: a wide tolerance window, or
// many pairs of rows that cannot be candidates, would make it dearer.
constexpr std::size_t kWalkEntriesPerRow = 8;
constexpr std::size_t kWalkEntriesExtra = 64;

// Visits the entries of table in order of their computed distance
// |target - value| from target, nearest first, until visit(entry, distance)
// returns false. fl(target - v) never decreases as v moves away from target
// on either side (rounding is monotone), so merging the two sides gives
// non-decreasing distances.
template <typename Visit> void WalkOutwards(const PairTable& table, double target, Visit visit) {
    const std::size_t n = table.Size();
    std::size_t right = table.Locate(target);
    std::size_t left = right; // entries [0, left) are still to the left
    for (;;) {
        const double dl = left > 0 ? std::fabs(target - table.Value(left - 1)) : kInfinity;
        const double dr = right < n ? std::fabs(target - table.Value(right)) : kInfinity;
        std::size_t k = 0;
        double d = 0;
        if (left > 0 && !(dr < dl)) {
            k = --left;
            d = dl;
        } else if (right < n) {
            k = right++;
            d = dr;
        } else {
            return;
        }
        if (!visit(k, d))
            return;
    }
}

// Evaluates, walking the table outwards from target, the rows of the
// entries met (an entry of a symmetric table stands for both its rows),
// each row once, while within(distance) holds and wanted(row) says the row
// still counts. Should the walk meet more than cap entries, it gives way to
// the plain scan of the wanted rows from first on not evaluated yet
// (wanted turns false past the last row that counts).
template <typename Rows, typename Within, typename Wanted>
void WalkRows(const PairTable& table, double target, std::size_t cap, int first, const Rows& rows,
              ScanResult<2>& result, RowMarks& marks, Within within, Wanted wanted) {
    auto evaluate = [&](int row) {
        if (wanted(row) && !marks.TestAndMark(row))
            rows.Evaluate(row, result);
    };
    std::size_t visited = 0;
    bool complete = true;
    WalkOutwards(table, target, [&](std::size_t k, double d) {
        if (!within(d))
            return false;
        if (++visited > cap) {
            complete = false;
            return false;
        }
        evaluate(table.Row(k));
        if (table.Symmetric())
            evaluate(table.Column(k));
        return true;
    });
    if (!complete)
        for (int q = first; wanted(q); ++q)
            evaluate(q);
}

// ---- FindParallelPair ---------------------------------------------------------------

// The set-up of the plain scan: its shortcuts, its first row and its seed.
struct ParallelPairStart {
    bool settled = false; // a shortcut decided the result
    double outA = 0;
    double outB = 0;
    int i0 = 0;
    double pLast = 0;
};

ParallelPairStart StartParallelPair(double target, const double* a, int na, const double* b,
                                    int nb) {
    ParallelPairStart s;
    const double pFirst = a[0] * b[0] / (a[0] + b[0]);
    if (target <= pFirst) {
        s.settled = true;
        s.outA = a[0];
        s.outB = b[0];
        return s;
    }
    const double aLast = a[na - 1];
    const double bLast = b[nb - 1];
    s.pLast = aLast * bLast / (aLast + bLast);
    s.i0 = target >= s.pLast ? -1 : CeilingIndex(target + 1e-15, a, na);
    if (s.i0 < 0) {
        s.settled = true;
        s.outA = aLast;
        s.outB = bLast;
    }
    return s;
}

// One row of the scan: R1 = a[r] with the two entries of b around the
// partner that would hit the target, the lower one first.
class ParallelPairRows {
public:
    ParallelPairRows(double target, const double* a, const double* b, int nb)
        : m_target(target), m_g(1 / target), m_a(a), m_b(b), m_nb(nb) {}

    // Offers the row's candidates to result; true when one ends the scan.
    template <typename Result> bool Evaluate(int r, Result& result) const {
        const double ai = m_a[r];
        // An ai equal to the target needs an open circuit, even when
        // ai*g - 1 rounds to a tiny negative number.
        const double d = ai * m_g - 1;
        const double x = d <= 0 ? kInfinity : ai / d;
        int lo = 0;
        int hi = 0;
        BracketIndices(x, m_b, m_nb, lo, hi);
        const double bl = m_b[lo];
        if (result.Offer(std::fabs(m_target - ai * bl / (ai + bl)), 2 * std::int64_t{r}, {ai, bl}))
            return true;
        if (hi == lo)
            return false;
        const double bh = m_b[hi];
        return result.Offer(std::fabs(m_target - ai * bh / (ai + bh)), 2 * std::int64_t{r} + 1,
                            {ai, bh});
    }

private:
    double m_target;
    double m_g;
    const double* m_a;
    const double* m_b;
    int m_nb;
};

template <typename Result>
Result ParallelSeed(double target, double relTol, const double* a, int na, const double* b, int nb,
                    double pLast) {
    return Result(relTol * target, std::fabs(target - pLast), {a[na - 1], b[nb - 1]});
}

// ---- FindSeriesPair -------------------------------------------------------------------

class SeriesPairRows {
public:
    SeriesPairRows(double target, const double* a, const double* b, int nb)
        : m_target(target), m_a(a), m_b(b), m_nb(nb) {}

    template <typename Result> bool Evaluate(int r, Result& result) const {
        const double ai = m_a[r];
        const int j = NearestIndex(m_target - ai, m_b, m_nb);
        return result.Offer(std::fabs(m_target - ai - m_b[j]), r, {ai, m_b[j]});
    }

private:
    double m_target;
    const double* m_a;
    const double* m_b;
    int m_nb;
};

template <typename Result>
Result SeriesSeed(double target, double relTol, const double* a, const double* b, int nb) {
    const int j = NearestIndex(target - a[0], b, nb);
    return Result(relTol * target, std::fabs(target - a[0] - b[j]), {a[0], b[j]});
}

// How far from the target the table entry of a series candidate can lie
// when the candidate's computed error is at most limit. A row's error is
// fl|fl(t - a) - b| while the entry's distance is fl|t - fl(a + b)|; with
// 0 <= a <= t both are within a few roundings of |t - a - b|: working it
// through gives distance <= limit (1 + 3.01u) + 2.01u t. The limit below
// adds 8u (t + limit), twice that, which also covers its own rounding.
double SeriesWalkLimit(double target, double limit) {
    return limit + 8 * kUnitRoundoff * (target + limit);
}

// Writes the result of a finished scan.
template <typename Result> void Write(const Result& result, double& outA, double& outB) {
    outA = result.Result()[0];
    outB = result.Result()[1];
}

} // namespace

void ParallelPairOverTable(double target, double relTol, const PairTable& table, RowMarks& marks,
                           double& outA, double& outB) {
    const double* a = table.A();
    const int na = table.CountA();
    const double* b = table.B();
    const int nb = table.CountB();
    const ParallelPairStart start = StartParallelPair(target, a, na, b, nb);
    if (start.settled) {
        outA = start.outA;
        outB = start.outB;
        return;
    }
    PairResult result = ParallelSeed<PairResult>(target, relTol, a, na, b, nb, start.pLast);
    const ParallelPairRows rows(target, a, b, nb);
    marks.Reset(na);
    int r = start.i0;
    for (; r < na && r < start.i0 + kPlainFirstRows; ++r) {
        marks.TestAndMark(r);
        rows.Evaluate(r, result);
        if (result.HasExit()) {
            Write(result, outA, outB);
            return;
        }
    }
    // Every candidate (r, j) is a table entry whose computed distance from
    // the target is bit for bit the candidate's computed error. So walking
    // the table outwards reaches every candidate that could end the scan
    // or tie with the best before the distance passes that limit.
    const int i0 = start.i0;
    if (r < na)
        WalkRows(
            table, target,
            kWalkEntriesPerRow * static_cast<std::size_t>(na - r) + kWalkEntriesExtra, i0, rows,
            result, marks,
            [&](double d) {
                return result.HasExit() ? result.CouldExit(d) : d <= result.BestError();
            },
            [&](int row) {
                return row >= i0 && row < na &&
                       (!result.HasExit() || 2 * std::int64_t{row} < result.ExitPosition());
            });
    Write(result, outA, outB);
}

void SeriesPairOverTable(double target, double relTol, const PairTable& table, RowMarks& marks,
                         double& outA, double& outB) {
    const double* a = table.A();
    const int na = table.CountA();
    const double* b = table.B();
    const int nb = table.CountB();
    if (a[0] + b[0] >= target) {
        outA = a[0];
        outB = b[0];
        return;
    }
    // The margin argument needs a finite target; the rest is rare enough
    // for the plain scan.
    if (!std::isfinite(target)) {
        FindSeriesPair(target, relTol, a, na, b, nb, outA, outB);
        return;
    }
    PairResult result = SeriesSeed<PairResult>(target, relTol, a, b, nb);
    const SeriesPairRows rows(target, a, b, nb);
    // The scan stops at the first R1 above the target; a[0] is below it.
    const int last = LastIndexAtOrBelow(target, a, na);
    marks.Reset(na);
    int r = 1;
    for (; r <= last && r < 1 + kPlainFirstRows; ++r) {
        marks.TestAndMark(r);
        rows.Evaluate(r, result);
        if (result.HasExit()) {
            Write(result, outA, outB);
            return;
        }
    }
    const double threshold = relTol * target;
    if (r <= last)
        // A candidate that could end the scan has an error below the
        // threshold and below the seed's error; once one is found only
        // earlier rows still count. Without one, the best error bounds every
        // candidate that still counts (it is at or above the exit limits, or
        // the best is an exit).
        WalkRows(
            table, target,
            kWalkEntriesPerRow * static_cast<std::size_t>(last - r + 1) + kWalkEntriesExtra, 1,
            rows, result, marks,
            [&](double d) {
                return result.HasExit() ? d <= SeriesWalkLimit(target, threshold) &&
                                              d <= SeriesWalkLimit(target, result.SeedError())
                                        : d <= SeriesWalkLimit(target, result.BestError());
            },
            [&](int row) {
                return row >= 1 && row <= last &&
                       (!result.HasExit() || row < result.ExitPosition());
            });
    Write(result, outA, outB);
}

namespace {

// The plain scan's loop: rows from first on while more(row), one unit of
// budget a row, going on from place when it holds where a former call
// stopped (see PairScanPlace).
template <typename Rows, typename More>
bool CountedRows(const Rows& rows, int first, More more, PlainBest<2> best, WorkBudget& budget,
                 PairScanPlace* place, double& outA, double& outB) {
    for (int r = first; more(r); ++r) {
        if (!budget.Spend()) {
            if (place != nullptr) {
                place->row = r;
                place->best = best;
            }
            return false;
        }
        if (rows.Evaluate(r, best))
            break;
    }
    if (place != nullptr)
        place->row = -1;
    Write(best, outA, outB);
    return true;
}

} // namespace

bool ParallelPairCounted(double target, double relTol, const double* a, int na, const double* b,
                         int nb, WorkBudget& budget, double& outA, double& outB,
                         PairScanPlace* place) {
    const ParallelPairStart start = StartParallelPair(target, a, na, b, nb);
    if (start.settled) {
        outA = start.outA;
        outB = start.outB;
        return true; // a shortcut never leaves a place behind
    }
    const bool goOn = place != nullptr && place->row >= 0;
    return CountedRows(
        ParallelPairRows(target, a, b, nb), goOn ? place->row : start.i0,
        [&](int r) { return r < na; },
        goOn ? *place->best : ParallelSeed<PlainBest<2>>(target, relTol, a, na, b, nb, start.pLast),
        budget, place, outA, outB);
}

bool SeriesPairCounted(double target, double relTol, const double* a, int na, const double* b,
                       int nb, WorkBudget& budget, double& outA, double& outB,
                       PairScanPlace* place) {
    if (a[0] + b[0] >= target) {
        outA = a[0];
        outB = b[0];
        return true;
    }
    const bool goOn = place != nullptr && place->row >= 0;
    // An R1 equal to the target is still tried (its partner is b[0]).
    return CountedRows(
        SeriesPairRows(target, a, b, nb), goOn ? place->row : 1,
        [&](int r) { return r < na && !(a[r] > target); },
        goOn ? *place->best : SeriesSeed<PlainBest<2>>(target, relTol, a, b, nb), budget, place,
        outA, outB);
}

} // namespace ohmtrim::fast
