#pragma once

// Exact fast versions of the two pair searches, the building block of every
// search that completes a branch with a pair. Each returns bit for bit what
// FindParallelPair or FindSeriesPair returns for the same arguments.

#include "search/fast_scan.h"
#include "search/pair_table.h"

#include <optional>

namespace ohmtrim::fast {

// FindParallelPair(target, relTol, A, nA, B, nB) where table is the
// parallel table of (A, B). marks is scratch of the calling thread.
void ParallelPairOverTable(double target, double relTol, const PairTable& table, RowMarks& marks,
                           double& outA, double& outB);
// FindSeriesPair likewise, over the series table of (A, B).
void SeriesPairOverTable(double target, double relTol, const PairTable& table, RowMarks& marks,
                         double& outA, double& outB);

// Where a plain pair scan stopped when its budget ran out, so that it can
// go on from there.
struct PairScanPlace {
    int row = -1; // the row to go on with; -1: from the start
    std::optional<PlainBest<2>> best;
};

// The plain scans of the two searches, spending one unit of budget per row.
// They return false, with the outputs untouched, when the budget runs out
// before the scan ends; given a place, they note where they stopped there
// and go on from it when called again with it.
bool ParallelPairCounted(double target, double relTol, const double* a, int na, const double* b,
                         int nb, WorkBudget& budget, double& outA, double& outB,
                         PairScanPlace* place = nullptr);
bool SeriesPairCounted(double target, double relTol, const double* a, int na, const double* b,
                       int nb, WorkBudget& budget, double& outA, double& outB,
                       PairScanPlace* place = nullptr);

} // namespace ohmtrim::fast
