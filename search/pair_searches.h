#pragma once

#include <cstdint>

namespace ohmtrim {

// Two-resistor searches. R1 comes from table a (count na), R2 from table b.
// Both always write both outputs and return 0.

// R1 + R2 closest to target.
int FindSeriesPair(double target, double relTol, const double* a, int na, const double* b, int nb,
                   double& outA, double& outB);
// R1 // R2 = R1*R2 / (R1 + R2) closest to target.
int FindParallelPair(double target, double relTol, const double* a, int na, const double* b, int nb,
                     double& outA, double& outB);

// How the two resistors of a pair are joined.
enum class PairOp : std::uint8_t { Series, Parallel };

// The value of the pair (a, b) exactly as the searches write it.
inline double PairValue(PairOp op, double a, double b) {
    return op == PairOp::Series ? a + b : a * b / (a + b);
}

} // namespace ohmtrim
