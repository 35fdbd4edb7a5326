#pragma once

namespace ohmtrim {

// Three-resistor searches: R1 from a, R2 from b, R3 from c. All write all
// three outputs and return 0.

// R1 + R2 + R3.
int FindSeriesTriple(double target, double relTol, const double* a, int na, const double* b, int nb,
                     const double* c, int nc, double& outA, double& outB, double& outC);
// R1 // R2 // R3.
int FindParallelTriple(double target, double relTol, const double* a, int na, const double* b,
                       int nb, const double* c, int nc, double& outA, double& outB, double& outC);
// R1 // (R2 + R3).
int FindParallelSeries(double target, double relTol, const double* a, int na, const double* b,
                       int nb, const double* c, int nc, double& outA, double& outB, double& outC);
// R1 + R2 // R3.
int FindSeriesParallel(double target, double relTol, const double* a, int na, const double* b,
                       int nb, const double* c, int nc, double& outA, double& outB, double& outC);

// The four searches, by name.
enum class TripleKind {
    Series,         // FindSeriesTriple: R1 + R2 + R3
    Parallel,       // FindParallelTriple: R1 // R2 // R3
    ParallelSeries, // FindParallelSeries: R1 // (R2 + R3)
    SeriesParallel, // FindSeriesParallel: R1 + R2 // R3
};

// Runs the search of kind.
inline int FindTriple(TripleKind kind, double target, double relTol, const double* a, int na,
                      const double* b, int nb, const double* c, int nc, double& outA, double& outB,
                      double& outC) {
    switch (kind) {
    case TripleKind::Series:
        return FindSeriesTriple(target, relTol, a, na, b, nb, c, nc, outA, outB, outC);
    case TripleKind::Parallel:
        return FindParallelTriple(target, relTol, a, na, b, nb, c, nc, outA, outB, outC);
    case TripleKind::ParallelSeries:
        return FindParallelSeries(target, relTol, a, na, b, nb, c, nc, outA, outB, outC);
    case TripleKind::SeriesParallel:
        break;
    }
    return FindSeriesParallel(target, relTol, a, na, b, nb, c, nc, outA, outB, outC);
}

} // namespace ohmtrim
