#pragma once

// What a calculator reads: one small record per family, the named inputs
// the windows' boxes and the command line's options fill, and the rules by
// which their texts are read.

#include "search/node_dividers.h"
#include "search/star_searches.h"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>
#include <variant>

namespace ohmtrim {

// ---- the records ------------------------------------------------------------

// The single-resistor and resistance calculators.
struct ResistanceInput {
    double target = 0; // wanted resistance, ohms
};

// The voltage dividers: U1 over the upper branch to the output U2, over the
// lower branch to the foot U3; Rmin..Rmax bounds the total resistance.
struct DividerInput {
    double u1 = 0;
    double u2 = 0;
    double u3 = 0;
    double rmin = 0;
    double rmax = 0;
};

// The node-voltage dividers read a NodeVoltageInput (search/node_dividers.h).
// The star circuits read StarInput (search/star_searches.h): two operating
// cases U0..U3 and the range of branch 1.

// The inputs of any calculator, already read; monostate before anything is.
using SolveInputs =
    std::variant<std::monostate, ResistanceInput, DividerInput, NodeVoltageInput, StarInput>;

// ---- the named inputs -----------------------------------------------------------

enum class InputId {
    Target,
    U1,
    U2,
    U3,
    RMax,
    RMin,
    U4,
    Case1, // U0, U1, U2, U3 of the first operating case of a star
    Case2, // ... and of the second
};

// What an input is called: the command line's option is "--" + name.
struct InputInfo {
    InputId id;
    std::string_view name;      // "u1"
    std::string_view valueName; // what the value is, for usage texts: "U", "R"
    std::string_view help;      // one line for the option's help
    int numbers;                // numbers in its text, separated by commas
};

// The most numbers one input holds.
inline constexpr int kMaxNumbersPerInput = 4;

const InputInfo& Info(InputId id);
// Every named input, in InputId order.
std::span<const InputInfo> AllInputs();

// How the text of an input is read: each number by the whole-text rule.
enum class InputRule {
    Resistance,    // a resistance in kMinResistance..kMaxResistance; empty is invalid
    Number,        // any number; empty is invalid (the range is left to the search)
    NumberOrEmpty, // any number; empty reads as 0 and "not given"
};

// The longest number an input dialog reads, after trimming: a longer text is
// refused like any other that is no number, never cut to fit, since a cut
// can leave a different number ("0.00...01" cut to "0.00...0"). Every
// double can be written exactly in far fewer characters (at most 24).
inline constexpr std::size_t kDialogNumberLength = 63;

// Stores the numbers read for one input into the family's record (given is
// false for an empty NumberOrEmpty input).
using InputStore = void (*)(SolveInputs& in, std::span<const double> numbers, bool given);

// One input of a family, with its reading rule and where it goes.
struct InputField {
    InputId id;
    InputRule rule;
    InputStore store;
};

// ---- stores for the field tables ----------------------------------------------

namespace input_store {

template <class> struct MemberOf;
template <class C, class T> struct MemberOf<T C::*> { using Record = C; };
template <auto Member> using RecordOf = typename MemberOf<decltype(Member)>::Record;

template <class Record> Record& Hold(SolveInputs& in) {
    if (!std::holds_alternative<Record>(in))
        in.emplace<Record>();
    return std::get<Record>(in);
}

// The numbers of an input into the members of one record, in order:
// Numbers<&DividerInput::u1>, or for a list Numbers<&R::a, &R::b, &R::c>.
template <auto First, auto... More>
void Numbers(SolveInputs& in, std::span<const double> numbers, bool) {
    auto& record = Hold<RecordOf<First>>(in);
    std::size_t i = 0;
    record.*First = numbers[i++];
    ((record.*More = numbers[i++]), ...);
}

// One number and whether it was given, into a value and a flag member.
template <auto Value, auto Flag>
void NumberAndFlag(SolveInputs& in, std::span<const double> numbers, bool given) {
    auto& record = Hold<RecordOf<Value>>(in);
    record.*Value = numbers[0];
    using FlagType = std::remove_reference_t<decltype(record.*Flag)>;
    record.*Flag = static_cast<FlagType>(given ? 1 : 0);
}

} // namespace input_store

} // namespace ohmtrim
