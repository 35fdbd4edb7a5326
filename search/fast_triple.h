#pragma once

// Exact fast versions of the four three-resistor searches, also used as the
// inner search of the dividers. A search runs the plain scan while it has no
// pair table (spending a work budget) and can go on with the table from the
// row where the budget ran out; either way it returns bit for bit what the
// plain function returns.

#include "search/fast_pair.h"
#include "search/fast_scan.h"
#include "search/pair_table.h"
#include "search/triple_searches.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace ohmtrim::fast {

// The pair table a triple search completes its rows with: over (B, C).
PairOp NestedOp(TripleKind kind);

// Scratch of the triple searches on one thread, reused from call to call.
struct TripleScratch {
    RowMarks marks; // rows of the nested pair searches
    struct Pending {
        double bound;
        int row;
    };
    std::vector<Pending> pending;
};

class TripleSearch {
public:
    using Values = std::array<double, 3>;

    // Sets the search up as the plain function does (shortcuts, seed); the
    // tables must stay alive while it runs. The plain scan takes any tables
    // the plain function takes; the fast one needs suitable tables.
    TripleSearch(TripleKind kind, double target, double relTol, const double* a, int na,
                 const double* b, int nb, const double* c, int nc);

    // Goes on with the plain scan, spending one unit of budget per row of a
    // nested pair search. True when the search is finished; false when the
    // budget ran out (the search can then go on either way).
    bool ScanPlain(WorkBudget& budget);
    // Finishes the search with the nested pair table (NestedOp over (B, C)).
    // The row table A must be TableSuitable.
    void ScanFast(const PairTable& table, TripleScratch& scratch);

    bool Finished() const { return m_finished; }
    // Rows of nested pair searches the plain scan has still to do for sure,
    // counted up to limit: with a relative tolerance of 0 (or below) nothing
    // ends a scan early, and every row's nested search runs its full course.
    // 0 when a tolerance could cut the scan short.
    std::int64_t CertainRows(std::int64_t limit) const;
    // The three values; only when finished.
    const Values& Result() const;
    // The rows the scan has done or decided (a rough progress measure).
    double DoneFraction() const;

private:
    struct RowInfo {
        int index = 0;       // into A
        double x = 0;        // target of the nested pair search
        bool cheap = false;  // the nested search ends in one of its shortcuts
        bool last = false;   // the scan ends after this row
        bool beyond = false; // the scan ended before this row
    };
    // The rows, written once per kind so that the scans carry no switch.
    template <TripleKind K> RowInfo Info(int row) const;
    std::int64_t Position(int row) const { return m_positionBase + row; }
    // Evaluates a row exactly; false when the budget ran out (plain mode).
    template <TripleKind K>
    bool Evaluate(const RowInfo& info, WorkBudget* budget, const PairTable* table, RowMarks* marks,
                  double& error, Values& values) const;
    template <TripleKind K>
    bool NestedPair(double x, WorkBudget* budget, const PairTable* table, RowMarks* marks,
                    double& pb, double& pc) const;
    template <TripleKind K> bool ScanPlainAs(WorkBudget& budget);
    template <TripleKind K> void ScanFastAs(const PairTable& table, TripleScratch& scratch);
    template <TripleKind K> std::int64_t CertainRowsAs(std::int64_t limit) const;
    bool StartSeed(WorkBudget* budget, const PairTable* table, RowMarks* marks);
    void Finish(const Values& values);

    TripleKind m_kind;
    double m_target;
    double m_relTol;
    double m_nestedTol;
    const double* m_a;
    int m_na;
    const double* m_b;
    int m_nb;
    const double* m_c;
    int m_nc;
    int m_rows = 0;                        // rows of the scan (the last may end it sooner)
    std::int64_t m_positionBase = 0;       // scan position of row 0
    int m_i0 = 0;                          // FindParallelTriple: first R1 index scanned
    double m_g = 0;                        // FindParallelTriple: 1 / target
    double m_pairFirst = 0;                // value of the first entries of B and C
    double m_pairLast = 0;                 // value of the last entries of B and C
    std::optional<ScanResult<3>> m_result; // once the seed is known
    // Where the nested plain pair search of row m_next (or of the seed)
    // stopped when the budget ran out, to go on from there.
    mutable PairScanPlace m_nestedPlace;
    int m_next = 0; // first row not yet scanned
    bool m_finished = false;
    Values m_final{};
};

} // namespace ohmtrim::fast
