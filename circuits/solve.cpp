#include "circuits/solve.h"

#include "valuesets/number.h"
#include "valuesets/resistor_set.h"

#include <algorithm>
#include <array>
#include <thread>

namespace ohmtrim {

ValueTable TableOf(const ResistorSet& set) {
    return {set.values(), set.count(), set.hasShortCircuit(), set.hasOpenCircuit()};
}

int SearchThreads() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 2u));
}

std::optional<double> SolveOutcome::Result(ResultId id) const {
    for (const auto& r : results)
        if (r.id == id)
            return r.value;
    return std::nullopt;
}

namespace {

std::string_view TextOf(std::span<const InputText> texts, InputId id) {
    for (const auto& t : texts)
        if (t.id == id)
            return t.text;
    return {};
}

// One number of an input; empty text is handled by the caller. A number
// typed into a dialog also keeps to the dialogs' length.
bool ReadNumber(InputRule rule, bool fromDialog, std::string_view text, double& out) {
    if (fromDialog && TrimBlanksAndControls(text).size() > kDialogNumberLength)
        return false;
    if (rule == InputRule::Resistance)
        return ParseResistance(text, out) == ResistanceStatus::Ok;
    return ParseNumber(text, out) == NumberStatus::Number;
}

// The numbers of one input: as many as the input holds, separated by commas.
bool ReadInput(const InputField& field, bool fromDialog, std::string_view text,
               std::span<double> numbers, bool& given) {
    given = !TrimBlanksAndControls(text).empty();
    if (!given) {
        for (double& n : numbers)
            n = 0;
        return field.rule == InputRule::NumberOrEmpty;
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t comma = i + 1 < numbers.size() ? text.find(',') : text.npos;
        if (i + 1 < numbers.size() && comma == text.npos)
            return false; // too few numbers
        if (!ReadNumber(field.rule, fromDialog, text.substr(0, comma), numbers[i]))
            return false;
        text = comma == text.npos ? std::string_view{} : text.substr(comma + 1);
    }
    return true;
}

using NumberRoom = std::array<double, kMaxNumbersPerInput>;

// The part of room that the numbers of one input take.
std::span<double> NumbersOf(const InputField& field, NumberRoom& room) {
    return std::span(room).first(static_cast<std::size_t>(Info(field.id).numbers));
}

// Every resistor has a table, and the searches read at least the first
// entry of each.
bool TablesFit(const CatalogueEntry& entry, std::span<const ValueTable> tables) {
    if (static_cast<int>(tables.size()) != entry.resistors)
        return false;
    for (const auto& t : tables)
        if (t.values == nullptr || t.count < 1)
            return false;
    return true;
}

} // namespace

bool ReadDialogNumber(std::string_view text, double& out) {
    return ReadNumber(InputRule::Number, true, text, out);
}

bool InputTextValid(const FamilyDescription& family, const InputField& field,
                    std::string_view text) {
    NumberRoom room{};
    bool given = false;
    return ReadInput(field, family.inputsFromDialog, text, NumbersOf(field, room), given);
}

int InputsGiven(std::span<const InputId> ids, std::span<const InputText> texts) {
    int given = 0;
    for (const InputId id : ids)
        given += TrimBlanksAndControls(TextOf(texts, id)).empty() ? 0 : 1;
    return given;
}

bool ParseInputs(const CatalogueEntry& entry, std::span<const InputText> texts, SolveInputs& out) {
    const FamilyDescription& family = FamilyOf(entry);
    if (family.inputs.empty())
        return false;
    const InputChoice& choice = family.choice;
    if (!choice.inputs.empty() && InputsGiven(choice.inputs, texts) < choice.needed(entry))
        return false;
    SolveInputs in;
    // The first input that fails ends the reading, as in the windows.
    for (const auto& field : family.inputs) {
        NumberRoom room{};
        const std::span<double> numbers = NumbersOf(field, room);
        bool given = false;
        if (!ReadInput(field, family.inputsFromDialog, TextOf(texts, field.id), numbers, given))
            return false;
        field.store(in, numbers, given);
    }
    out = in;
    return true;
}

SolveOutcome Solve(const CatalogueEntry& entry, const SolveInputs& in,
                   std::span<const ValueTable> tables, const SearchContext& ctx) {
    const SolveFunction solve = FamilyOf(entry).solve;
    if (solve == nullptr || !TablesFit(entry, tables))
        return {};
    return solve(entry, in, tables, ctx);
}

} // namespace ohmtrim
