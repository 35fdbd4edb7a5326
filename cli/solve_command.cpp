// ohmtrim-cli solve ENTRY --sets L1,L2,... INPUTS: the calculator of one
// catalogue entry. Its input options come from the family descriptions.
#include "cli/command.h"

#include "valuesets/text.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <span>
#include <sstream>

namespace ohmtrim::cli {

namespace {

std::string OptionOf(InputId id) {
    return "--" + std::string(Info(id).name);
}

bool MayBeLeftOut(InputRule rule) {
    return rule == InputRule::NumberOrEmpty;
}

// "--u2 or --u3".
std::string ChoiceText(std::span<const InputId> ids, std::string_view separator) {
    std::string text;
    for (const InputId id : ids)
        text += (text.empty() ? "" : std::string(separator)) + OptionOf(id);
    return text;
}

// How an entry is called, for the help: "--sets L1,L2 --target R".
std::string EntryUsage(const CatalogueEntry& entry) {
    const FamilyDescription& family = FamilyOf(entry);
    if (family.solve == nullptr || family.inputs.empty())
        return family.command.empty()
                   ? std::string("(not from the command line)")
                   : "see 'ohmtrim-cli " + std::string(family.command) + " --help'";
    std::string usage = "--sets L1";
    for (int k = 2; k <= entry.resistors; ++k)
        usage += ",L" + std::to_string(k);
    const InputChoice& choice = family.choice;
    const bool allChosenNeeded =
        !choice.inputs.empty() && choice.needed(entry) == static_cast<int>(choice.inputs.size());
    for (const InputField& field : family.inputs) {
        const std::string option = OptionOf(field.id) + " " + std::string(Info(field.id).valueName);
        const bool chosen =
            std::find(choice.inputs.begin(), choice.inputs.end(), field.id) != choice.inputs.end();
        const bool optional = MayBeLeftOut(field.rule) && !(chosen && allChosenNeeded);
        usage += optional ? " [" + option + "]" : " " + option;
    }
    if (!choice.inputs.empty() && !allChosenNeeded)
        usage += " (at least one of " + ChoiceText(choice.inputs, ", ") + ")";
    return usage;
}

// What an option of a dialog's input needs: "option --rmin needs a
// number" or "option --case1 needs 4 numbers separated by commas
// (U0,U1,U2,U3)".
std::string NeedsNumbers(InputId id) {
    const InputInfo& info = Info(id);
    if (info.numbers == 1)
        return "option " + OptionOf(id) + " needs a number";
    return "option " + OptionOf(id) + " needs " + std::to_string(info.numbers) +
           " numbers separated by commas (" + std::string(info.valueName) + ")";
}

std::string EntriesHelp() {
    std::ostringstream o;
    o << "Catalogue entries (an input in brackets may be left out; an omitted divider voltage "
         "counts as 0, an omitted node voltage as not given):\n";
    for (const CatalogueEntry& entry : Catalogue())
        o << Pad((entry.index < 10 ? "   " : "  ") + std::to_string(entry.index), 6)
          << entry.circuit << "\n      " << EntryUsage(entry) << "\n";
    return o.str();
}

class SolveCommand final : public Command {
public:
    CLI::App& Define(CLI::App& tool) override;
    std::string_view ArgumentsError() const override { return "solve needs a catalogue entry"; }
    int Run(Session& session) override;

private:
    const CatalogueEntry& Entry() const;
    std::vector<InputText> Inputs(const CatalogueEntry& entry) const;
    std::vector<int> Sets(Session& session, const CatalogueEntry& entry) const;

    SolveExtras Extras(const CatalogueEntry& entry) const;

    std::string m_entry;
    std::string m_sets;
    std::optional<std::string> m_tolerance;
    std::optional<std::string> m_top;
    // One option per named input of any family, in InputId order.
    std::vector<std::pair<InputId, CLI::Option*>> m_inputs;
};

CLI::App& SolveCommand::Define(CLI::App& tool) {
    auto& app = *tool.add_subcommand("solve", "run the search of a catalogue entry");
    app.add_option("ENTRY", m_entry, "catalogue entry, 0 to 23 (listed below)")->required();
    app.add_option("--sets", m_sets, "value set of each resistor, R1 first")
        ->type_name("L1,L2,...");
    // Every input that some family reads from an option; each entry takes
    // those of its family.
    for (const InputInfo& info : AllInputs()) {
        const bool used = std::any_of(Catalogue().begin(), Catalogue().end(), [&](const auto& e) {
            const auto& fields = FamilyOf(e).inputs;
            return std::any_of(fields.begin(), fields.end(),
                               [&](const InputField& f) { return f.id == info.id; });
        });
        if (!used)
            continue;
        // Texts, not numbers: a bad number is invalid input (exit status 1),
        // read by the same rules as in the windows.
        auto* option = app.add_option(OptionOf(info.id))
                           ->description(std::string(info.help))
                           ->type_name(std::string(info.valueName))
                           ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        m_inputs.emplace_back(info.id, option);
    }
    app.add_option("--tolerance", m_tolerance,
                   "also the range of each result when every chosen resistor may be off by P "
                   "percent either way (0 < P <= 20)")
        ->type_name("P")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--top", m_top,
                   "entries 2 to 7: also the N best combinations of all, by error "
                   "(1 <= N <= 100; the relative tolerance does not apply)")
        ->type_name("N")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.footer(EntriesHelp());
    return app;
}

const CatalogueEntry& SolveCommand::Entry() const {
    const auto index = m_entry.size() <= 3 ? DigitsValue(m_entry) : std::nullopt;
    if (!index || *index >= kCatalogueSize)
        throw UsageError{"no catalogue entry '" + m_entry + "' (0 to 23)"};
    return CatalogueAt(static_cast<int>(*index));
}

// The texts of the entry's inputs; only those its family reads may be given.
std::vector<InputText> SolveCommand::Inputs(const CatalogueEntry& entry) const {
    const auto& fields = FamilyOf(entry).inputs;
    const std::string name = "entry " + std::to_string(entry.index);
    std::vector<InputText> texts;
    for (const auto& [id, option] : m_inputs) {
        if (option->count() == 0)
            continue;
        const bool read = std::any_of(fields.begin(), fields.end(),
                                      [id = id](const InputField& f) { return f.id == id; });
        if (!read)
            throw UsageError{name + " takes no option " + OptionOf(id)};
        if (option->count() > 1)
            throw UsageError{"option " + OptionOf(id) + " given twice"};
    }
    const FamilyDescription& family = FamilyOf(entry);
    for (const InputField& field : fields) {
        const auto it = std::find_if(m_inputs.begin(), m_inputs.end(),
                                     [&](const auto& input) { return input.first == field.id; });
        if (it == m_inputs.end() || it->second->count() == 0) {
            if (!MayBeLeftOut(field.rule))
                throw UsageError{name + " needs " + OptionOf(field.id)};
            continue;
        }
        const std::string& text = it->second->results().front();
        // What an input dialog refuses with a beep is a mistake in the
        // command: nothing is searched.
        if (family.inputsFromDialog && !InputTextValid(family, field, text))
            throw UsageError{NeedsNumbers(field.id)};
        texts.push_back({field.id, text});
    }
    const InputChoice& choice = family.choice;
    if (!choice.inputs.empty() && InputsGiven(choice.inputs, texts) < choice.needed(entry)) {
        if (choice.needed(entry) < static_cast<int>(choice.inputs.size()))
            throw UsageError{name + " needs " + ChoiceText(choice.inputs, " or ")};
        std::vector<InputId> missing;
        for (const InputId id : choice.inputs)
            if (InputsGiven(std::span(&id, 1), texts) == 0)
                missing.push_back(id);
        throw UsageError{name + " needs " + ChoiceText(missing, " and ")};
    }
    return texts;
}

SolveExtras SolveCommand::Extras(const CatalogueEntry& entry) const {
    SolveExtras extras;
    if (m_tolerance)
        extras.tolerance = ReadTolerance(*m_tolerance);
    if (m_top) {
        extras.top = ReadTop(*m_top);
        if (!RanksAlternatives(entry))
            throw UsageError{"entry " + std::to_string(entry.index) +
                             " takes no option --top (entries 2 to 7 do)"};
    }
    return extras;
}

std::vector<int> SolveCommand::Sets(Session& session, const CatalogueEntry& entry) const {
    std::vector<int> sets;
    std::string_view rest = m_sets;
    for (;;) {
        const std::size_t comma = rest.find(',');
        sets.push_back(session.FindSet(rest.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (static_cast<int>(sets.size()) != entry.resistors)
        throw UsageError{"entry " + std::to_string(entry.index) + " needs " +
                         std::to_string(entry.resistors) + " value sets, one per resistor"};
    return sets;
}

int SolveCommand::Run(Session& session) {
    const CatalogueEntry& entry = Entry();
    const FamilyDescription& family = FamilyOf(entry);
    if (family.solve == nullptr || family.inputs.empty())
        throw UsageError{
            "entry " + std::to_string(entry.index) + " (" + std::string(entry.circuit) + ") " +
            (family.command.empty()
                 ? std::string("cannot be solved from the command line")
                 : "is served by 'ohmtrim-cli " + std::string(family.command) + "', not by solve")};
    // The texts live in the options, which outlive the run.
    const std::vector<InputText> texts = Inputs(entry);
    const SolveExtras extras = Extras(entry);
    if (m_sets.empty())
        throw UsageError{"solve needs --sets with one value set per resistor"};
    session.Load();
    return session.RunEntry(entry, Sets(session, entry), texts, true, extras);
}

} // namespace

std::unique_ptr<Command> MakeSolveCommand() {
    return std::make_unique<SolveCommand>();
}

} // namespace ohmtrim::cli
