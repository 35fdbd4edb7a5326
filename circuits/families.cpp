#include "circuits/family.h"

#include "circuits/node_chain.h"
#include "circuits/solve_parts.h"

#include <array>
#include <cstddef>

namespace ohmtrim {

namespace {

using R = InputRule;
namespace store = input_store;

// ---- named inputs and results, one row each, in enum order --------------------

// clang-format off
// The same name means the same quantity in every family that reads it.
constexpr InputInfo kInputs[] = {
    // id            name      value  help                                      numbers
    {InputId::Target, "target", "R",   "wanted resistance in ohms",                 1},
    {InputId::U1,     "u1",     "U",   "voltage of node U1 (see the circuit)",      1},
    {InputId::U2,     "u2",     "U",   "voltage of node U2",                        1},
    {InputId::U3,     "u3",     "U",   "voltage of node U3",                        1},
    {InputId::RMax,   "rmax",   "R",   "largest admissible resistance in ohms",    1},
    {InputId::RMin,   "rmin",   "R",   "smallest admissible resistance in ohms",   1},
    {InputId::U4,     "u4",     "U",   "voltage of node U4",                        1},
    {InputId::Case1,  "case1",  "U0,U1,U2,U3", "star point and far ends of the branches, case 1", 4},
    {InputId::Case2,  "case2",  "U0,U1,U2,U3", "star point and far ends of the branches, case 2", 4},
};

constexpr ResultInfo kResults[] = {
    // id                    key             label            format
    {ResultId::Nearest,      "nearest",      "Nearest value", NumberFormat::Value},
    {ResultId::Smaller,      "smaller",      "Smaller value", NumberFormat::Value},
    {ResultId::Bigger,       "bigger",       "Bigger value",  NumberFormat::Value},
    {ResultId::Resistance,   "resistance",   "R",             NumberFormat::Value},
    {ResultId::ErrorPercent, "errorPercent", "Error %",       NumberFormat::Percent},
    {ResultId::U2,           "u2",           "U2",            NumberFormat::Value},
    {ResultId::U3,           "u3",           "U3",            NumberFormat::Value},
    {ResultId::U0Case1,      "u0Case1",      "U0 case 1",     NumberFormat::Value},
    {ResultId::U0Case2,      "u0Case2",      "U0 case 2",     NumberFormat::Value},
};
// clang-format on

// ---- the families -----------------------------------------------------------------

constexpr InputField kResistanceInputs[] = {
    {InputId::Target, R::Resistance, &store::Numbers<&ResistanceInput::target>},
};

// An empty voltage box counts as 0 V; the range boxes must be filled, but
// their range is left to the search.
constexpr InputField kDividerInputs[] = {
    {InputId::U1, R::NumberOrEmpty, &store::Numbers<&DividerInput::u1>},
    {InputId::U2, R::NumberOrEmpty, &store::Numbers<&DividerInput::u2>},
    {InputId::U3, R::NumberOrEmpty, &store::Numbers<&DividerInput::u3>},
    {InputId::RMax, R::Number, &store::Numbers<&DividerInput::rmax>},
    {InputId::RMin, R::Number, &store::Numbers<&DividerInput::rmin>},
};

// The dialog's boxes in the order its "&Ok" reads them. An empty inner node
// is "not given"; the others must hold numbers, whose order and range the
// search judges.
constexpr InputField kNodeChainInputs[] = {
    {InputId::U1, R::Number, &store::Numbers<&NodeVoltageInput::U1>},
    {InputId::U2, R::NumberOrEmpty,
     &store::NumberAndFlag<&NodeVoltageInput::U2, &NodeVoltageInput::HasU2>},
    {InputId::U3, R::NumberOrEmpty,
     &store::NumberAndFlag<&NodeVoltageInput::U3, &NodeVoltageInput::HasU3>},
    {InputId::U4, R::Number, &store::Numbers<&NodeVoltageInput::U4>},
    {InputId::RMax, R::Number, &store::Numbers<&NodeVoltageInput::RMax>},
    {InputId::RMin, R::Number, &store::Numbers<&NodeVoltageInput::RMin>},
};
constexpr InputId kInnerNodes[] = {InputId::U2, InputId::U3};

// The star windows take these from their input dialog, box by box; the
// command line reads them in this order, the two cases first. Every number
// must be given; the range is left to the search.
constexpr InputField kStarInputs[] = {
    {InputId::Case1, R::Number,
     &store::Numbers<&StarInput::U0Case1, &StarInput::U1Case1, &StarInput::U2Case1,
                     &StarInput::U3Case1>},
    {InputId::Case2, R::Number,
     &store::Numbers<&StarInput::U0Case2, &StarInput::U1Case2, &StarInput::U2Case2,
                     &StarInput::U3Case2>},
    {InputId::RMin, R::Number, &store::Numbers<&StarInput::RMin>},
    {InputId::RMax, R::Number, &store::Numbers<&StarInput::RMax>},
};

constexpr ResultId kNearestResults[] = {ResultId::Nearest, ResultId::Smaller, ResultId::Bigger,
                                        ResultId::ErrorPercent};
constexpr ResultId kResistanceResults[] = {ResultId::Resistance, ResultId::ErrorPercent};
constexpr ResultId kDividerResults[] = {ResultId::Resistance, ResultId::U2};
constexpr ResultId kNodeChainResults[] = {ResultId::U2, ResultId::U3};
constexpr ResultId kStarResults[] = {ResultId::U0Case1, ResultId::U0Case2};

constexpr StatusText kInvalidInputData{"Invalid input data.", " Error"};
constexpr StatusText kNoSolutionFound{"No solution found.", " Error"};

constexpr FamilyDescription kFamilies[] = {
    {Family::ColourCode, {}, nullptr, nullptr, false, {}, {}, {}, false, {}, "colour"},
    {Family::NearestValue, kResistanceInputs, &detail::SolveNearest, &detail::DeriveNearest, false,
     kNearestResults, kInvalidInputData, kNoSolutionFound},
    {Family::Resistance, kResistanceInputs, &detail::SolveResistance, &detail::DeriveResistance,
     true, kResistanceResults, kInvalidInputData, kNoSolutionFound},
    {Family::Divider, kDividerInputs, &detail::SolveDivider, &detail::DeriveDivider, true,
     kDividerResults, kInvalidInputData, kNoSolutionFound},
    {Family::NodeChain,
     kNodeChainInputs,
     &detail::SolveNodeChain,
     &detail::DeriveNodeChain,
     true,
     kNodeChainResults,
     kInvalidInputData,
     kNoSolutionFound,
     true,
     {kInnerNodes, &InnerNodesNeeded}},
    {Family::Star,
     kStarInputs,
     &detail::SolveStar,
     &detail::DeriveStar,
     true,
     kStarResults,
     {"Invalid resistance range.", " Error"},
     {"There is something wrong with\nthe combination of input values.", " No Solution"},
     true},
};

// Each table is indexed by its enum: row i must describe value i.
template <class Row, std::size_t N> constexpr bool InEnumOrder(const Row (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(rows[i].id) != i)
            return false;
    return true;
}
static_assert(InEnumOrder(kInputs) && InEnumOrder(kResults));
static_assert([] {
    for (std::size_t i = 0; i < std::size(kFamilies); ++i)
        if (static_cast<std::size_t>(kFamilies[i].family) != i)
            return false;
    return static_cast<std::size_t>(Family::Star) + 1 == std::size(kFamilies);
}());

} // namespace

const InputInfo& Info(InputId id) {
    return kInputs[static_cast<std::size_t>(id)];
}

std::span<const InputInfo> AllInputs() {
    return kInputs;
}

const ResultInfo& Info(ResultId id) {
    return kResults[static_cast<std::size_t>(id)];
}

const FamilyDescription& Describe(Family family) {
    return kFamilies[static_cast<std::size_t>(family)];
}

StatusText FailureText(const FamilyDescription& family, SearchStatus status) {
    switch (status) {
    case SearchStatus::Found:
        break;
    case SearchStatus::InvalidInput:
        return family.invalidInput;
    case SearchStatus::NoSolution:
        return family.noSolution;
    case SearchStatus::Aborted:
        return {kAbortedText, {}};
    }
    return {};
}

} // namespace ohmtrim
