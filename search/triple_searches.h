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

} // namespace ohmtrim
