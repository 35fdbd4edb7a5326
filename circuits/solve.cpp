#include "circuits/solve.h"

#include "circuits/solve_parts.h"
#include "valuesets/number.h"
#include "valuesets/resistor_set.h"

#include <cmath>
#include <limits>

namespace ohmtrim {

ValueTable TableOf(const ResistorSet& set) {
    return {set.values(), set.count(), set.hasShortCircuit(), set.hasOpenCircuit()};
}

double SolveOutcome::Result(std::string_view name) const {
    for (const auto& r : results)
        if (r.name == name)
            return r.value;
    return std::numeric_limits<double>::quiet_NaN();
}

bool SolveOutcome::HasResult(std::string_view name) const {
    for (const auto& r : results)
        if (r.name == name)
            return true;
    return false;
}

std::string_view StatusMessage(SearchStatus status) {
    switch (status) {
    case SearchStatus::Found:
        return {};
    case SearchStatus::InvalidInput:
        return "Invalid input data.";
    case SearchStatus::NoSolution:
        return "No solution found.";
    case SearchStatus::Aborted:
        return "Search aborted.";
    }
    return {};
}

namespace {

std::string_view TextOf(std::span<const InputText> texts, std::string_view name) {
    for (const auto& t : texts)
        if (t.name == name)
            return t.text;
    return {};
}

// A voltage: any number; an empty box counts as 0.
bool ParseVoltage(std::string_view text, double& out) {
    text = TrimBlanksAndControls(text);
    if (text.empty()) {
        out = 0;
        return true;
    }
    return ParseNumber(text, out) == NumberStatus::Number;
}

// A resistance bound handed to a search that checks the range itself:
// any number, but not empty.
bool ParseBound(std::string_view text, double& out) {
    return ParseNumber(text, out) == NumberStatus::Number;
}

} // namespace

bool ParseInputs(const CatalogueEntry& entry, std::span<const InputText> texts, SolveInputs& out) {
    switch (entry.input) {
    case InputKind::NearestValue:
    case InputKind::Resistance:
        return ParseResistance(TextOf(texts, "target"), out.target) == ResistanceStatus::Ok;
    case InputKind::DividerVoltages:
        return ParseVoltage(TextOf(texts, "u1"), out.u1) &&
               ParseVoltage(TextOf(texts, "u2"), out.u2) &&
               ParseVoltage(TextOf(texts, "u3"), out.u3) &&
               ParseBound(TextOf(texts, "rmax"), out.rmax) &&
               ParseBound(TextOf(texts, "rmin"), out.rmin);
    case InputKind::ColourCode:
    case InputKind::NodeVoltages:
    case InputKind::StarCases:
        break;
    }
    return false;
}

SolveOutcome Solve(const CatalogueEntry& entry, const SolveInputs& in,
                   std::span<const ValueTable> tables, const SearchContext& ctx) {
    if (static_cast<int>(tables.size()) != entry.resistors)
        return {};
    for (const auto& t : tables)
        if (t.values == nullptr || t.count < 1)
            return {};
    switch (entry.solver) {
    case SolverId::Nearest:
        return detail::SolveNearest(in, tables[0]);
    case SolverId::ParallelPair:
    case SolverId::SeriesPair:
    case SolverId::ParallelTriple:
    case SolverId::SeriesTriple:
    case SolverId::ParallelSeries:
    case SolverId::SeriesParallel:
        return detail::SolveResistance(entry, in, tables, ctx);
    case SolverId::DividerPair:
    case SolverId::DividerParallelPairTop:
    case SolverId::DividerParallelTripleTop:
    case SolverId::DividerParallelSeriesTop:
    case SolverId::DividerParallelPairs:
        return detail::SolveDivider(entry, in, tables, ctx);
    case SolverId::None:
    case SolverId::NodeDivider:
    case SolverId::Star:
        break;
    }
    return {};
}

} // namespace ohmtrim
