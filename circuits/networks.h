#pragma once

// The resistance of a branch as the windows and the command line show it,
// from the chosen values. These are the shown formulas, written out in the
// order they are evaluated: they need not match the arithmetic a search
// used internally in the last bit.

namespace ohmtrim::network {

// a // b.
inline double Parallel(double a, double b) {
    return a * b / (a + b);
}
// a // b // c, as the sum of the conductances.
inline double Parallel(double a, double b, double c) {
    return 1 / (1 / a + 1 / b + 1 / c);
}
// a // (b + c).
inline double ParallelWithSeries(double a, double b, double c) {
    return 1 / (1 / (b + c) + 1 / a);
}

} // namespace ohmtrim::network
