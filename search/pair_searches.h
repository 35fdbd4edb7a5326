#pragma once

namespace ohmtrim {

// Two-resistor searches. R1 comes from table a (count na), R2 from table b.
// Both always write both outputs and return 0.

// R1 + R2 closest to target.
int FindSeriesPair(double target, double relTol, const double* a, int na, const double* b, int nb,
                   double& outA, double& outB);
// R1 // R2 = R1*R2 / (R1 + R2) closest to target.
int FindParallelPair(double target, double relTol, const double* a, int na, const double* b, int nb,
                     double& outA, double& outB);

} // namespace ohmtrim
