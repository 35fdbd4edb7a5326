#pragma once

// Internal to the searches: the input tests the searches that validate their
// input start with. Each test is written so that a NaN fails it.

#include "search/search_constants.h"
#include "valuesets/number.h"

#include <cmath>
#include <cstddef>
#include <span>

namespace ohmtrim::detail {

// kMinResistance <= rmin < rmax <= kMaxResistance.
inline bool ResistanceRangeValid(double rmin, double rmax) {
    return rmin >= kMinResistance && rmax <= kMaxResistance && rmin < rmax;
}

// The voltages fall strictly from each one to the next, or rise strictly,
// by more than kVoltageMargin at every step.
inline bool StrictlyMonotonic(std::span<const double> u) {
    bool falling = true;
    bool rising = true;
    for (std::size_t i = 1; i < u.size(); ++i) {
        falling = falling && u[i] + kVoltageMargin < u[i - 1];
        rising = rising && u[i - 1] + kVoltageMargin < u[i];
    }
    return falling || rising;
}

// The divider searches' test: the range of total resistance, then U2
// strictly between U1 and U3. Voltages whose span overflows (or is
// infinite) are refused too, since the wanted fraction could not be formed
// from them.
inline bool DividerInputValid(double u1, double u2, double u3, double rmin, double rmax) {
    const double u[] = {u1, u2, u3};
    return ResistanceRangeValid(rmin, rmax) && StrictlyMonotonic(u) && std::isfinite(u1 - u3);
}

} // namespace ohmtrim::detail
