#pragma once

// Where the results of a found combination can end up when every chosen
// resistor lies anywhere within its tolerance: each derived result over
// the corners of the tolerance box, computed with the family's own
// arithmetic (FamilyDescription::derive).

#include "circuits/family.h"

#include <span>
#include <string>
#include <vector>

namespace ohmtrim {

// Tolerances a user may ask for, in percent: above 0, at most this.
inline constexpr double kMaxTolerancePercent = 20;
// Whether percent lies in 0 < percent <= kMaxTolerancePercent (NaN does not).
bool TolerancePercentValid(double percent);

// The tolerances a result box's tooltip shows, in percent.
inline constexpr double kTooltipTolerances[] = {1, 2, 5};

struct ResultRange {
    ResultId id;
    double min;
    double max;
};

// Each result the family derives from the chosen values, over the 2^n
// corners where chosen value k takes values[k] * (1 - percent/100) or
// values[k] * (1 + percent/100); in the order the family derives them.
// A result that is NaN at some corner has NaN for both ends. Empty when
// the family derives nothing from chosen values or percent is not valid.
std::vector<ResultRange> ToleranceCorners(const CatalogueEntry& entry, const SolveInputs& in,
                                          std::span<const double> values, double percent);

// The range of one result, if ranges has it.
const ResultRange* FindRange(std::span<const ResultRange> ranges, ResultId id);

// "4.9 .. 5.1 at ±1 %": both ends in the result's format, without blanks.
std::string RangeText(const ResultRange& range, double percent);

// The tooltip of a result box: the RangeText of each tolerance of
// kTooltipTolerances, one a line. Empty when the result has no range (it
// does not follow from the chosen values).
std::string RangeTooltip(const CatalogueEntry& entry, const SolveInputs& in,
                         std::span<const double> values, ResultId id);

} // namespace ohmtrim
