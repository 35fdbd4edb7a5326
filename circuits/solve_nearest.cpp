#include "circuits/solve_parts.h"

#include "valuesets/resistor_set.h"

namespace ohmtrim::detail {

// The single-resistor calculator: nearest real value, its neighbours in the
// table and the error of the nearest value. No search is involved.
void DeriveNearest(const CatalogueEntry&, const SolveInputs& in, std::span<const double> values,
                   SolveOutcome& out) {
    const auto* input = std::get_if<ResistanceInput>(&in);
    if (input == nullptr || values.empty())
        return;
    out.Add(ResultId::Nearest, values[0]);
    out.Add(ResultId::ErrorPercent, ErrorPercent(values[0], input->target));
}

SolveOutcome SolveNearest(const CatalogueEntry& entry, const SolveInputs& in,
                          std::span<const ValueTable> tables, const SearchContext&) {
    const auto* input = std::get_if<ResistanceInput>(&in);
    if (input == nullptr)
        return {};
    const ValueTable& t = tables[0];
    const double x = input->target;
    const int i = NearestRealIndex(x, t.values, t.count, t.hasShortCircuit, t.hasOpenCircuit);
    if (i < 0)
        return {}; // a table of framing entries only has no real value
    SolveOutcome out;
    out.status = SearchStatus::Found;
    out.values = {t.values[i]};
    DeriveNearest(entry, in, out.values, out);
    const int j = SmallerRealIndex(i, t.count, t.hasShortCircuit, t.hasOpenCircuit);
    if (j >= 0)
        out.Add(ResultId::Smaller, t.values[j]);
    const int k = BiggerRealIndex(i, t.count, t.hasShortCircuit, t.hasOpenCircuit);
    if (k >= 0)
        out.Add(ResultId::Bigger, t.values[k]);
    return out;
}

} // namespace ohmtrim::detail
