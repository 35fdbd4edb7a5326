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

bool ParseField(InputRule rule, std::string_view text, double& out) {
    switch (rule) {
    case InputRule::Resistance:
        return ParseResistance(text, out) == ResistanceStatus::Ok;
    case InputRule::Voltage:
        if (TrimBlanksAndControls(text).empty()) {
            out = 0;
            return true;
        }
        return ParseNumber(text, out) == NumberStatus::Number;
    case InputRule::Bound:
        return ParseNumber(text, out) == NumberStatus::Number;
    }
    return false;
}

constexpr InputField kResistanceFields[] = {
    {"target", InputRule::Resistance, &SolveInputs::target},
};

constexpr InputField kDividerFields[] = {
    {"u1", InputRule::Voltage, &SolveInputs::u1},   {"u2", InputRule::Voltage, &SolveInputs::u2},
    {"u3", InputRule::Voltage, &SolveInputs::u3},   {"rmax", InputRule::Bound, &SolveInputs::rmax},
    {"rmin", InputRule::Bound, &SolveInputs::rmin},
};

} // namespace

std::span<const InputField> InputFields(InputKind kind) {
    switch (kind) {
    case InputKind::NearestValue:
    case InputKind::Resistance:
        return kResistanceFields;
    case InputKind::DividerVoltages:
        return kDividerFields;
    case InputKind::ColourCode:
    case InputKind::NodeVoltages:
    case InputKind::StarCases:
        break;
    }
    return {};
}

bool ParseInputs(const CatalogueEntry& entry, std::span<const InputText> texts, SolveInputs& out) {
    const auto fields = InputFields(entry.input);
    if (fields.empty())
        return false;
    // The first input that fails ends the reading, as in the windows.
    for (const auto& field : fields)
        if (!ParseField(field.rule, TextOf(texts, field.name), out.*field.member))
            return false;
    return true;
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
