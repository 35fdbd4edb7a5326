#pragma once

// The inner searches of the fast engine, one for each kind the searches
// name (search/scan_rules.h): exact fast pair and triple searches over the
// cached pair tables, and a lookup of the nearest value that goes on from
// where the last one ended. Each returns bit for bit what its plain
// counterpart returns. A searcher belongs to one thread (it keeps scratch).

#include "search/fast_pair.h"
#include "search/fast_scan.h"
#include "search/fast_triple.h"
#include "search/pair_table.h"
#include "search/scan_rules.h"
#include "search/table_source.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace ohmtrim::fast {

// FindSeriesPair or FindParallelPair over the pair table of (a, b). The
// program's searcher takes the table through a TableSource: plainly with a
// budget while it is not at hand, going on from where a plain search stopped
// once it comes (see table_source.h). A part's searcher on another thread
// is given the table at hand.
template <PairOp Op> class FastPair {
public:
    FastPair(const SearchContext& ctx, const detail::PairOf<Op>& of)
        : m_of(of), m_source(std::in_place, ctx, Op, of.a, of.na, of.b, of.nb) {}
    FastPair(const detail::PairOf<Op>& of, const PairTable& table) : m_of(of), m_table(&table) {}

    // False when Escape was down during a table build.
    bool operator()(double target, double tol, double& outA, double& outB) {
        if (m_table != nullptr) {
            OverTable(target, tol, *m_table, outA, outB);
            return true;
        }
        PairScanPlace place; // where a plain search stopped, to go on from there
        for (;;) {
            if (const PairTable* table = m_source->Table()) {
                m_table = table;
                OverTable(target, tol, *table, outA, outB);
                return true;
            }
            if (m_source->PlainOnly()) {
                WorkBudget unlimited = WorkBudget::Unlimited();
                return Counted(target, tol, unlimited, outA, outB, place);
            }
            if (Counted(target, tol, m_source->Budget(), outA, outB, place))
                return true;
            if (m_source->Advance(m_certain) == TableSource::Next::Aborted)
                return false;
        }
    }

    // The table, once at hand.
    const PairTable* Table() const { return m_table; }
    const detail::PairOf<Op>& Of() const { return m_of; }
    // How far the scan has come (for the source's choice, see table_source.h).
    void SetProgress(const double* done) {
        if (m_source)
            m_source->SetProgress(done);
    }
    // Counts the rows of plain pair searches a scan has still to do for sure.
    void SetCertainRows(TableSource::CertainRows certain) { m_certain = std::move(certain); }
    // A value table the scan around this search also reads by the fast
    // path: the table is only used when that one is suitable too.
    void AlsoNeeds(const double* v, int n) {
        if (m_source)
            m_source->AlsoNeeds(v, n);
    }

    // Rows a plain search for target runs at a relative tolerance of 0
    // (nothing ends it early): a lower bound of its work.
    static std::int64_t PlainRows(const detail::PairOf<Op>& of, double target) {
        if constexpr (Op == PairOp::Parallel) {
            const double first = of.a[0] * of.b[0] / (of.a[0] + of.b[0]);
            const double aLast = of.a[of.na - 1];
            const double bLast = of.b[of.nb - 1];
            if (!(target > first && target < aLast * bLast / (aLast + bLast)))
                return 0;
            const int i0 = CeilingIndex(target + 1e-15, of.a, of.na);
            return i0 < 0 ? 0 : of.na - i0;
        } else {
            if (!(target > of.a[0] + of.b[0]) || !std::isfinite(target))
                return 0;
            return LastIndexAtOrBelow(target, of.a, of.na);
        }
    }

private:
    void OverTable(double target, double tol, const PairTable& table, double& outA, double& outB) {
        if constexpr (Op == PairOp::Parallel)
            ParallelPairOverTable(target, tol, table, m_marks, outA, outB);
        else
            SeriesPairOverTable(target, tol, table, m_marks, outA, outB);
    }
    bool Counted(double target, double tol, WorkBudget& budget, double& outA, double& outB,
                 PairScanPlace& place) const {
        if constexpr (Op == PairOp::Parallel)
            return ParallelPairCounted(target, tol, m_of.a, m_of.na, m_of.b, m_of.nb, budget, outA,
                                       outB, &place);
        else
            return SeriesPairCounted(target, tol, m_of.a, m_of.na, m_of.b, m_of.nb, budget, outA,
                                     outB, &place);
    }

    detail::PairOf<Op> m_of;
    std::optional<TableSource> m_source;
    const PairTable* m_table = nullptr;
    RowMarks m_marks;
    TableSource::CertainRows m_certain;
};

// A three-resistor search over tables a, b, c, with the pair table of
// (b, c) from a TableSource. A search whose plain budget runs out goes on
// from where it was.
template <TripleKind K> class FastTriple {
public:
    FastTriple(const SearchContext& ctx, const detail::TripleOf<K>& of)
        : m_of(of), m_source(ctx, NestedOp(K), of.b, of.nb, of.c, of.nc) {
        m_source.AlsoNeeds(of.a, of.na);
    }

    bool operator()(double target, double tol, double& outA, double& outB, double& outC) {
        TripleSearch search(K, target, tol, m_of.a, m_of.na, m_of.b, m_of.nb, m_of.c, m_of.nc);
        while (m_source.Table() == nullptr && !search.ScanPlain(m_source.Budget())) {
            if (m_source.Advance([&](std::int64_t limit) { return search.CertainRows(limit); }) ==
                TableSource::Next::Aborted)
                return false;
        }
        if (!search.Finished())
            search.ScanFast(*m_source.Table(), m_scratch);
        const TripleSearch::Values& v = search.Result();
        outA = v[0];
        outB = v[1];
        outC = v[2];
        return true;
    }

    const PairTable* Table() const { return m_source.Table(); }
    void SetProgress(const double* done) { m_source.SetProgress(done); }

private:
    detail::TripleOf<K> m_of;
    TableSource m_source;
    TripleScratch m_scratch;
};

// The value of table t nearest to x, by NearestIndex's own rule (the last
// entry at or below x against the next one above it, a tie to the larger),
// found by walking from where the last lookup ended: the lookups of a scan
// move by small steps.
class NearestWalk {
public:
    explicit NearestWalk(const detail::NearestIn& of) : m_t(of.t), m_n(of.n) {}

    double operator()(double x) { return m_t[Index(x)]; }

    int Index(double x) {
        const double* v = m_t;
        const int n = m_n;
        if (n < 2 || x <= v[0])
            return 0;
        if (x >= v[n - 1])
            return n - 1;
        if (x != x)
            return NearestIndex(x, v, n);
        // Now v[0] < x < v[n-1]: find lo, the last index with v[lo] <= x,
        // galloping from the last place, then bisecting.
        int lo = m_hint < n - 1 ? m_hint : n - 2;
        int hi = 0;
        if (v[lo] <= x) {
            int step = 1;
            hi = lo + 1;
            while (v[hi] <= x) {
                lo = hi;
                hi = lo + step < n - 1 ? lo + step : n - 1;
                step *= 2;
            }
        } else {
            int step = 1;
            hi = lo;
            lo = hi - 1;
            while (v[lo] > x) {
                hi = lo;
                lo = hi - step > 0 ? hi - step : 0;
                step *= 2;
            }
        }
        // v[lo] <= x < v[hi]
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            if (v[mid] <= x)
                lo = mid;
            else
                hi = mid;
        }
        m_hint = lo;
        return std::fabs(v[hi] - x) > std::fabs(x - v[lo]) ? lo : hi;
    }

private:
    const double* m_t;
    int m_n;
    int m_hint = 0;
};

// The fast searcher of each kind of inner search, for the calling thread.
template <PairOp Op>
FastPair<Op> FastSearcher(const SearchContext& ctx, const detail::PairOf<Op>& of) {
    return FastPair<Op>(ctx, of);
}
template <TripleKind K>
FastTriple<K> FastSearcher(const SearchContext& ctx, const detail::TripleOf<K>& of) {
    return FastTriple<K>(ctx, of);
}
inline NearestWalk FastSearcher(const SearchContext&, const detail::NearestIn& of) {
    return NearestWalk(of);
}

// The searcher of a part on another thread, made from the calling thread's
// once its table is at hand.
template <PairOp Op> FastPair<Op> PartSearcher(const FastPair<Op>& main) {
    return FastPair<Op>(main.Of(), *main.Table());
}
inline NearestWalk PartSearcher(const NearestWalk& main) {
    return main;
}

// The pair table of a searcher, null while not at hand (a lookup has none).
template <PairOp Op> const PairTable* TableOf(const FastPair<Op>& s) {
    return s.Table();
}
template <TripleKind K> const PairTable* TableOf(const FastTriple<K>& s) {
    return s.Table();
}
inline const PairTable* TableOf(const NearestWalk&) {
    return nullptr;
}
// Has the searcher what the bounds and the parts need?
template <PairOp Op> bool AtHand(const FastPair<Op>& s) {
    return s.Table() != nullptr;
}
template <TripleKind K> bool AtHand(const FastTriple<K>& s) {
    return s.Table() != nullptr;
}
inline bool AtHand(const NearestWalk&) {
    return true;
}

} // namespace ohmtrim::fast
