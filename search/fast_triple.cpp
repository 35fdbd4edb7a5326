#include "search/fast_triple.h"

#include "search/fast_bounds.h"
#include "search/fast_pair.h"
#include "valuesets/lookups.h"

#include <algorithm>
#include <cmath>
#include <limits>

// Each triple search scans the rows R1 = A[i] and completes each with a
// nested pair search. The plain scan evaluates every row in order. The fast
// scan evaluates in scan order every row that could end the scan (its lower
// bound is below the exit limits) and the rows whose nested search is a
// shortcut; if none ends it, it evaluates the remaining rows in order of
// their bounds while a bound could still beat or tie the best. The rows'
// expressions below are the plain functions' own.

namespace ohmtrim::fast {

PairOp NestedOp(TripleKind kind) {
    return kind == TripleKind::Parallel || kind == TripleKind::SeriesParallel ? PairOp::Parallel
                                                                              : PairOp::Series;
}

namespace {

bool ByBoundThenRow(const TripleScratch::Pending& p, const TripleScratch::Pending& q) {
    const double bp = Floor0(p.bound);
    const double bq = Floor0(q.bound);
    return bp < bq || (bp == bq && p.row < q.row);
}

} // namespace

TripleSearch::TripleSearch(TripleKind kind, double target, double relTol, const double* a, int na,
                           const double* b, int nb, const double* c, int nc)
    : m_kind(kind), m_target(target), m_relTol(relTol),
      m_nestedTol(kind == TripleKind::Parallel ? relTol : 0.1 * relTol), m_a(a), m_na(na), m_b(b),
      m_nb(nb), m_c(c), m_nc(nc) {
    const double aLast = a[na - 1];
    const double bLast = b[nb - 1];
    const double cLast = c[nc - 1];
    const Values first{a[0], b[0], c[0]};
    switch (kind) {
    case TripleKind::Series:
        if (a[0] + b[0] + c[0] >= target) {
            Finish(first);
            return;
        }
        // The seed needs a nested search: StartSeed runs it.
        m_pairFirst = b[0] + c[0];
        m_positionBase = 1;
        m_rows = na - 1; // A[1] on, up to the first above the target
        return;
    case TripleKind::Parallel: {
        if (target <= 1 / (1 / a[0] + 1 / b[0] + 1 / c[0])) {
            Finish(first);
            return;
        }
        if (target >= 1 / (1 / aLast + 1 / bLast + 1 / cLast)) {
            Finish({aLast, bLast, cLast});
            return;
        }
        const double sa = na > 1 ? a[1] : a[0];
        const double sb = nb > 1 ? b[1] : b[0];
        const double sc = nc > 1 ? c[1] : c[0];
        m_result.emplace(relTol * target, std::fabs(target - 1 / (1 / sa + 1 / sb + 1 / sc)),
                         Values{sa, sb, sc});
        m_g = 1 / target;
        m_i0 = CeilingIndex(target + 1e-15, a, na);
        if (m_i0 < 0) {
            Finish({aLast, bLast, cLast});
            return;
        }
        if (m_i0 > 0) {
            const double ap = a[m_i0 - 1];
            m_result->Offer(std::fabs(target - 1 / (1 / ap + 1 / bLast + 1 / cLast)), 0,
                            {ap, bLast, cLast});
            if (m_result->HasExit()) {
                Finish(m_result->Result());
                return;
            }
        }
        m_pairFirst = b[0] * c[0] / (b[0] + c[0]);
        m_pairLast = bLast * cLast / (bLast + cLast);
        m_positionBase = 1;
        m_rows = na - m_i0;
        return;
    }
    case TripleKind::ParallelSeries:
        if (target < 1 / (1 / (b[0] + c[0]) + 1 / a[0])) {
            Finish(first);
            return;
        }
        m_result.emplace(relTol * target,
                         std::fabs(target - (bLast + cLast) * aLast / (aLast + bLast + cLast)),
                         Values{aLast, bLast, cLast});
        m_g = 1 / target;
        m_pairFirst = b[0] + c[0];
        m_rows = na - 1; // A[na-2] down to A[0]
        if (m_rows == 0)
            Finish(m_result->Result());
        return;
    case TripleKind::SeriesParallel:
        if (target < a[0] + 1 / (1 / b[0] + 1 / c[0])) {
            Finish(first);
            return;
        }
        m_result.emplace(relTol * target, std::fabs(target - (1 / (1 / b[0] + 1 / c[0]) + a[0])),
                         first);
        m_pairFirst = b[0] * c[0] / (b[0] + c[0]);
        m_pairLast = bLast * cLast / (bLast + cLast);
        m_rows = na;
        return;
    }
}

void TripleSearch::Finish(const Values& values) {
    m_final = values;
    m_finished = true;
}

const TripleSearch::Values& TripleSearch::Result() const {
    return m_final;
}

double TripleSearch::DoneFraction() const {
    return m_finished || m_rows == 0 ? 1.0 : static_cast<double>(m_next) / m_rows;
}

template <TripleKind K> TripleSearch::RowInfo TripleSearch::Info(int row) const {
    RowInfo info;
    if constexpr (K == TripleKind::Series) {
        info.index = row + 1;
        info.beyond = m_a[info.index] > m_target;
        info.x = m_target - m_a[info.index];
        info.cheap = !(info.x > m_pairFirst);
    } else if constexpr (K == TripleKind::Parallel) {
        info.index = m_i0 + row;
        const double ai = m_a[info.index];
        // An ai equal to the target needs an open circuit, even when ai*g - 1
        // rounds to a tiny negative number.
        const double d = ai * m_g - 1;
        info.x = d <= 0 ? kInfinity : ai / d;
        info.cheap = !(info.x > m_pairFirst && info.x < m_pairLast);
    } else if constexpr (K == TripleKind::ParallelSeries) {
        info.index = m_na - 2 - row;
        const double ai = m_a[info.index];
        // Once R1 alone is at or below the target, this row is the last.
        info.last = !(ai > m_target);
        info.cheap = info.last;
        if (!info.last) {
            info.x = 1 / (m_g - 1 / ai); // m_g is 1 / target
            info.cheap = !(info.x > m_pairFirst);
        }
    } else {
        info.index = row;
        const double ai = m_a[row];
        // Once R1 alone reaches the target, this row is the last.
        info.last = ai >= m_target;
        info.cheap = info.last;
        if (!info.last) {
            info.x = m_target - ai;
            info.cheap = !(info.x > m_pairFirst && info.x < m_pairLast);
        }
    }
    return info;
}

template <TripleKind K>
bool TripleSearch::NestedPair(double x, WorkBudget* budget, const PairTable* table, RowMarks* marks,
                              double& pb, double& pc) const {
    constexpr bool parallel = K == TripleKind::Parallel || K == TripleKind::SeriesParallel;
    // The pair searches' own first tests, here so that the many rows that
    // end there cost no call.
    if constexpr (parallel) {
        if (x <= m_pairFirst || x >= m_pairLast) {
            const bool low = x <= m_pairFirst;
            pb = low ? m_b[0] : m_b[m_nb - 1];
            pc = low ? m_c[0] : m_c[m_nc - 1];
            return true;
        }
    } else {
        if (m_pairFirst >= x) {
            pb = m_b[0];
            pc = m_c[0];
            return true;
        }
    }
    if (table != nullptr) {
        if constexpr (parallel)
            ParallelPairOverTable(x, m_nestedTol, *table, *marks, pb, pc);
        else
            SeriesPairOverTable(x, m_nestedTol, *table, *marks, pb, pc);
        return true;
    }
    if constexpr (parallel)
        return ParallelPairCounted(x, m_nestedTol, m_b, m_nb, m_c, m_nc, *budget, pb, pc,
                                   &m_nestedPlace);
    else
        return SeriesPairCounted(x, m_nestedTol, m_b, m_nb, m_c, m_nc, *budget, pb, pc,
                                 &m_nestedPlace);
}

bool TripleSearch::StartSeed(WorkBudget* budget, const PairTable* table, RowMarks* marks) {
    // Only the series triple seeds with a nested search.
    double pb = 0;
    double pc = 0;
    const double a0 = m_a[0];
    if (!NestedPair<TripleKind::Series>(m_target - a0, budget, table, marks, pb, pc))
        return false;
    m_result.emplace(m_relTol * m_target, std::fabs(m_target - a0 - pb - pc), Values{a0, pb, pc});
    if (m_rows == 0)
        Finish(m_result->Result());
    return true;
}

template <TripleKind K>
[[gnu::always_inline]] inline bool TripleSearch::Evaluate(const RowInfo& info, WorkBudget* budget,
                                                          const PairTable* table, RowMarks* marks,
                                                          double& error, Values& values) const {
    const double ai = m_a[info.index];
    const double t = m_target;
    double pb = 0;
    double pc = 0;
    if constexpr (K == TripleKind::Series) {
        if (!NestedPair<K>(info.x, budget, table, marks, pb, pc))
            return false;
        error = std::fabs(t - (ai + pb + pc));
    } else if constexpr (K == TripleKind::Parallel) {
        if (!NestedPair<K>(info.x, budget, table, marks, pb, pc))
            return false;
        error = std::fabs(t - 1 / (1 / ai + 1 / pb + 1 / pc));
    } else if constexpr (K == TripleKind::ParallelSeries) {
        // The last row takes the largest R2 and R3 (open circuits when the
        // sets have them).
        pb = m_b[m_nb - 1];
        pc = m_c[m_nc - 1];
        if (!info.last && !NestedPair<K>(info.x, budget, table, marks, pb, pc))
            return false;
        error = std::fabs(t - (pb + pc) * ai / (ai + pb + pc));
    } else {
        // The last row takes the smallest R2 and R3 (links when the sets
        // have them).
        pb = m_b[0];
        pc = m_c[0];
        if (!info.last && !NestedPair<K>(info.x, budget, table, marks, pb, pc))
            return false;
        error = std::fabs(t - (1 / (1 / pb + 1 / pc) + ai));
    }
    values = {ai, pb, pc};
    return true;
}

bool TripleSearch::ScanPlain(WorkBudget& budget) {
    if (m_finished)
        return true;
    if (!m_result.has_value()) {
        if (!StartSeed(&budget, nullptr, nullptr))
            return false;
        if (m_finished)
            return true;
    }
    switch (m_kind) {
    case TripleKind::Series:
        return ScanPlainAs<TripleKind::Series>(budget);
    case TripleKind::Parallel:
        return ScanPlainAs<TripleKind::Parallel>(budget);
    case TripleKind::ParallelSeries:
        return ScanPlainAs<TripleKind::ParallelSeries>(budget);
    case TripleKind::SeriesParallel:
        break;
    }
    return ScanPlainAs<TripleKind::SeriesParallel>(budget);
}

template <TripleKind K> bool TripleSearch::ScanPlainAs(WorkBudget& budget) {
    ScanResult<3>& result = *m_result;
    for (; m_next < m_rows; ++m_next) {
        const RowInfo info = Info<K>(m_next);
        if (info.beyond)
            break;
        double error = 0;
        Values values{};
        if (!Evaluate<K>(info, &budget, nullptr, nullptr, error, values))
            return false;
        if (result.OfferInOrder(error, Position(m_next), values) || info.last)
            break;
    }
    m_next = m_rows;
    Finish(result.Result());
    return true;
}

std::int64_t TripleSearch::CertainRows(std::int64_t limit) const {
    if (m_finished || m_relTol > 0 || !m_result.has_value())
        return 0;
    switch (m_kind) {
    case TripleKind::Series:
        return CertainRowsAs<TripleKind::Series>(limit);
    case TripleKind::Parallel:
        return CertainRowsAs<TripleKind::Parallel>(limit);
    case TripleKind::ParallelSeries:
        return CertainRowsAs<TripleKind::ParallelSeries>(limit);
    case TripleKind::SeriesParallel:
        break;
    }
    return CertainRowsAs<TripleKind::SeriesParallel>(limit);
}

template <TripleKind K> std::int64_t TripleSearch::CertainRowsAs(std::int64_t limit) const {
    constexpr bool parallel = K == TripleKind::Parallel || K == TripleKind::SeriesParallel;
    std::int64_t rows = 0;
    for (int row = m_next; row < m_rows && rows < limit; ++row) {
        const RowInfo info = Info<K>(row);
        if (info.beyond)
            break;
        const double x = info.x;
        if (!info.last && x == x) { // a NaN target ends in a shortcut
            // The rows the nested pair search runs through, as it counts them.
            if constexpr (parallel) {
                if (x > m_pairFirst && x < m_pairLast) {
                    const int i0 = CeilingIndex(x + 1e-15, m_b, m_nb);
                    rows += i0 < 0 ? 0 : m_nb - i0;
                }
            } else {
                if (x > m_pairFirst)
                    rows += LastIndexAtOrBelow(x, m_b, m_nb);
            }
        }
        if (info.last)
            break;
    }
    return rows;
}

void TripleSearch::ScanFast(const PairTable& table, TripleScratch& scratch) {
    if (m_finished)
        return;
    if (!m_result.has_value()) {
        StartSeed(nullptr, &table, &scratch.marks);
        if (m_finished)
            return;
    }
    switch (m_kind) {
    case TripleKind::Series:
        return ScanFastAs<TripleKind::Series>(table, scratch);
    case TripleKind::Parallel:
        return ScanFastAs<TripleKind::Parallel>(table, scratch);
    case TripleKind::ParallelSeries:
        return ScanFastAs<TripleKind::ParallelSeries>(table, scratch);
    case TripleKind::SeriesParallel:
        break;
    }
    ScanFastAs<TripleKind::SeriesParallel>(table, scratch);
}

template <TripleKind K>
void TripleSearch::ScanFastAs(const PairTable& table, TripleScratch& scratch) {
    ScanResult<3>& result = *m_result;
    auto evaluate = [&](int row, const RowInfo& info) {
        double error = 0;
        Values values{};
        Evaluate<K>(info, nullptr, &table, &scratch.marks, error, values);
        result.Offer(error, Position(row), values);
    };

    constexpr RowForm kForm = K == TripleKind::Parallel || K == TripleKind::ParallelSeries
                                  ? RowForm::Parallel
                                  : RowForm::Series;

    // In scan order: every row that could end the scan is evaluated, so the
    // first one that does is the answer. The rows are looked up in the table
    // a batch at a time.
    std::vector<TripleScratch::Pending>& pending = scratch.pending;
    pending.clear();
    constexpr int kBatch = PairTable::kLocateBatch;
    RowInfo info[kBatch];
    double x[kBatch];
    std::size_t at[kBatch];
    bool scanned = false;
    for (int row = m_next; row < m_rows && !scanned;) {
        int count = 0;
        while (count < kBatch && row + count < m_rows) {
            RowInfo& i = info[count++];
            i = Info<K>(row + count - 1);
            x[count - 1] = i.cheap || i.beyond ? std::numeric_limits<double>::quiet_NaN() : i.x;
            if (i.last || i.beyond)
                break;
        }
        table.LocateMany(x, at, count);
        for (int m = 0; m < count && !scanned; ++m) {
            const int r = row + m;
            if (info[m].beyond)
                break;
            if (!info[m].cheap) {
                const double bound =
                    RowLowerBound(kForm, m_a[info[m].index], m_target, at[m], table);
                if (!result.CouldExit(bound)) {
                    pending.push_back({bound, r});
                    scanned = info[m].last;
                    continue;
                }
            }
            evaluate(r, info[m]);
            scanned = result.HasExit() || info[m].last;
        }
        if (count > 0 && info[count - 1].beyond)
            scanned = true;
        row += count;
    }
    m_next = m_rows;
    if (result.HasExit() || pending.empty()) {
        Finish(result.Result());
        return;
    }

    // Nothing ends the scan: the earliest smallest error wins. The row with
    // the smallest bound usually sets a best error that rules out nearly all
    // others; the rest are evaluated in order of bound while one could
    // still beat the best, or tie with it from an earlier position.
    const auto first = std::min_element(pending.begin(), pending.end(), ByBoundThenRow);
    evaluate(first->row, Info<K>(first->row));
    first->bound = kInfinity;
    const auto open = std::remove_if(pending.begin(), pending.end(), [&](const auto& p) {
        return !result.CouldBeBest(p.bound, Position(p.row));
    });
    pending.erase(open, pending.end());
    std::sort(pending.begin(), pending.end(), ByBoundThenRow);
    for (const auto& p : pending) {
        if (Floor0(p.bound) > result.BestError())
            break;
        if (result.CouldBeBest(p.bound, Position(p.row)))
            evaluate(p.row, Info<K>(p.row));
    }
    Finish(result.Result());
}

} // namespace ohmtrim::fast
