#pragma once

// Numbers the searches share. The resistance range lives with the number
// rules in valuesets/number.h (kMinResistance, kMaxResistance), since the
// value-set files and the input boxes check it too.

namespace ohmtrim {

// The long searches look at the Escape key once every this many candidates.
inline constexpr int kEscapePollStride = 20;

// A search that calls a pair or triple search for one branch passes it this
// fraction of its own relative tolerance, so the branch is built finer than
// the whole circuit has to be.
inline constexpr double kInnerToleranceFactor = 0.1;

// Two node voltages count as different only when they differ by more than
// this.
inline constexpr double kVoltageMargin = 1e-15;

} // namespace ohmtrim
