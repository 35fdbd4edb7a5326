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
// its rule and the whole-text rule, and for a family whose inputs come from
// a dialog by the dialogs' rule as well (ReadDialogNumber). False on the
// first failure (the windows then show the family's invalid-input text),
// when fewer of the family's choice of inputs are given than the entry
// needs, and for a family without named inputs.
bool ParseInputs(const CatalogueEntry& entry, std::span<const InputText> texts, SolveInputs& out);

// Whether the text of one input of the family reads as ParseInputs reads
// it: the command line names the input that does not.
bool InputTextValid(const FamilyDescription& family, const InputField& field,
                    std::string_view text);

// How many of the inputs hold more than blanks.
int InputsGiven(std::span<const InputId> ids, std::span<const InputText> texts);

// One number typed into a box of an input dialog: the trimmed text is not
// empty, at most kDialogNumberLength characters long and a number by the
// whole-text rule. The dialogs read every box by this, and ParseInputs
// every number of a family whose inputs come from a dialog.
bool ReadDialogNumber(std::string_view text, double& out);

// Runs the entry's search on one table per resistor (in resistor order)
// through its family's solve function. Invalid input when the number of
// tables is not the entry's number of resistors or a table is empty.
SolveOutcome Solve(const CatalogueEntry& entry, const SolveInputs& in,
                   std::span<const ValueTable> tables, const SearchContext& ctx);

// Threads a search the user started may take (SearchContext::threads): two
// where the machine has them. The results do not depend on it.
int SearchThreads();

// Error in percent of an achieved value against a target, signed:
// (achieved - target) * 100 / target.
inline double ErrorPercent(double achieved, double target) {
    return (achieved - target) * 100 / target;
}

} // namespace ohmtrim
