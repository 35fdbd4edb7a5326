#pragma once

#include "circuits/family.h"

#include <span>
#include <string_view>

namespace ohmtrim {

// The text typed for a named input; absent inputs read as empty boxes.
struct InputText {
    InputId id;
    std::string_view text;
};

// Reads the inputs of an entry in the order its family lists them, each by
// its rule and the whole-text rule. False on the first failure (the windows
// then show the family's invalid-input text), when fewer of the family's
// choice of inputs are given than the entry needs, and for a family
// without named inputs.
bool ParseInputs(const CatalogueEntry& entry, std::span<const InputText> texts, SolveInputs& out);

// Whether the text of one input is read by its rule, as ParseInputs reads
// it: the command line names the input that fails.
bool InputTextValid(const InputField& field, std::string_view text);

// One number of an input dialog by the rule InputRule::DialogNumber: the
// trimmed text is not empty, not longer than kDialogNumberLength and a
// number by the whole-text rule.
bool ReadDialogNumber(std::string_view text, double& out);

// The reading part of ParseInputs for any list of fields: each text by its
// field's rule, in order, into out; false on the first failure. (The input
// dialogs read their boxes with this, and the command line checks one
// option at a time.)
bool ReadInputFields(std::span<const InputField> fields, std::span<const InputText> texts,
                     SolveInputs& out);

// How many of the inputs hold more than blanks.
int InputsGiven(std::span<const InputId> ids, std::span<const InputText> texts);

// Runs the entry's search on one table per resistor (in resistor order)
// through its family's solve function. Invalid input when the number of
// tables is not the entry's number of resistors or a table is empty.
SolveOutcome Solve(const CatalogueEntry& entry, const SolveInputs& in,
                   std::span<const ValueTable> tables, const SearchContext& ctx);

// Error in percent of an achieved value against a target, signed:
// (achieved - target) * 100 / target.
inline double ErrorPercent(double achieved, double target) {
    return (achieved - target) * 100 / target;
}

} // namespace ohmtrim
