#pragma once

// One description per calculator family. Solve(), the windows' messages and
// the command line's options, usage, human and JSON output all read these
// rows; a new family adds its row (circuits/families.cpp), its solve
// function and its window, and changes no switch elsewhere.

#include "circuits/catalogue.h"
#include "circuits/inputs.h"
#include "circuits/outcome.h"

#include <span>
#include <string_view>

namespace ohmtrim {

// A message box: its text and its caption.
struct StatusText {
    std::string_view text;
    std::string_view caption;
};

// What the command line says of an aborted search; the windows show
// nothing then, since the user asked for it.
inline constexpr std::string_view kAbortedText = "Search aborted.";

// Runs the search of one entry of the family on one table per resistor (the
// caller has checked their number) and derives the results from the chosen
// values.
using SolveFunction = SolveOutcome (*)(const CatalogueEntry& entry, const SolveInputs& in,
                                       std::span<const ValueTable> tables,
                                       const SearchContext& ctx);

// Adds the family's derived results for the given chosen values (R1 first)
// to out, with the very arithmetic the solve function shows them with: the
// tolerance corners run it on every corner of the chosen values. Results
// that do not follow from the chosen values (a value's neighbours in its
// table) are left to the solve function.
using DeriveFunction = void (*)(const CatalogueEntry& entry, const SolveInputs& in,
                                std::span<const double> values, SolveOutcome& out);

// Inputs each of which may be left out, of which an entry needs some given
// all the same (the node chains: one or both inner node voltages).
struct InputChoice {
    std::span<const InputId> inputs; // empty: the family has no such rule
    int (*needed)(const CatalogueEntry& entry) = nullptr;
};

struct FamilyDescription {
    Family family;
    // The inputs in the order the windows read them; empty for a family
    // whose inputs do not come from named boxes or options.
    std::span<const InputField> inputs;
    SolveFunction solve; // null: nothing to solve (yet)
    DeriveFunction derive;
    // Whether the chosen values are shown as R1, R2, ... before the
    // results (the single resistor shows its value as a result).
    bool listsChosenValues;
    std::span<const ResultId> results; // in the order they are shown
    StatusText invalidInput;           // status 1
    StatusText noSolution;             // status 2
    // The inputs come from a dialog that only beeps: each number is read
    // by the dialogs' rule (at most kDialogNumberLength characters), and a
    // text that is not a number, or an input that is missing, never reaches
    // the search. The command line refuses such a call as a usage error
    // naming the option.
    bool inputsFromDialog = false;
    InputChoice choice = {};
    // The command-line command that serves a family without a search
    // ("colour"); empty for the families that solve runs.
    std::string_view command = {};
};

const FamilyDescription& Describe(Family family);
inline const FamilyDescription& FamilyOf(const CatalogueEntry& entry) {
    return Describe(entry.family);
}

// The text and caption for a status of the family: empty for Found, and a
// text without a caption for Aborted.
StatusText FailureText(const FamilyDescription& family, SearchStatus status);

} // namespace ohmtrim
