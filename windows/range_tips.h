#pragma once

// Tooltips on a calculator's derived-result boxes with the range of the
// result when the chosen resistors have a tolerance of 1, 2 or 5 per cent.
// The boxes have no room for this; the windows look as before.

#include "circuits/solve.h"

#include <span>

class QLineEdit;
class QWidget;

namespace ohmtrim {

// Gives the box the range tooltip of result id for the chosen values, or
// none when the result does not follow from them.
void SetRangeTip(QLineEdit& box, const CatalogueEntry& entry, const SolveInputs& in,
                 std::span<const double> values, ResultId id);
// Takes the range tooltips off every box of the window, as its results go.
void ClearRangeTips(QWidget& window);

} // namespace ohmtrim
