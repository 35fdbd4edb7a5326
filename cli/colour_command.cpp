// ohmtrim-cli colour [--five] --bands B1,B2,... | --resistance R [--tolerance T]:
// the colour-code converter, in either direction, as its window shows it.
#include "cli/cli.h"
#include "cli/command.h"
#include "cli/json.h"
#include "colourcode/colour_code.h"
#include "valuesets/number.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace ohmtrim::cli {

namespace {

// What a list's band stands for, in the order of a code's bands.
std::string_view BandRole(BandList list) {
    switch (list) {
    case BandList::FirstDigit:
    case BandList::SecondDigit:
    case BandList::ThirdDigit:
        return "digit";
    case BandList::Multiplier:
        return "multiplier";
    case BandList::Tolerance:
        return "tolerance";
    }
    return {};
}

std::string ModeName(BandMode mode) {
    return mode == BandMode::Five ? "five-band" : "four-band";
}

// "digit, digit, multiplier, tolerance"
std::string BandRoles(BandMode mode) {
    std::string roles;
    for (BandList list : ModeBands(mode))
        roles += (roles.empty() ? "" : ", ") + std::string(BandRole(list));
    return roles;
}

// "not known, brown, red, ..."
std::string ItemNames(BandList list) {
    std::string names;
    for (std::size_t i = 0; i < BandItems(list).size(); ++i)
        names += (names.empty() ? "" : ", ") + std::string(BandItemName(list, static_cast<int>(i)));
    return names;
}

// A box's text as a JSON number: the value the box shows, so that 47 x 0.01
// comes out as 0.47, not as the product's last bits; null when empty.
std::string BoxNumber(std::string_view box) {
    double v = 0;
    if (ParseNumber(box, v) != NumberStatus::Number)
        return "null";
    return json::Number(v);
}

// A box's text as the human output shows it: the blanks the limit boxes
// carry on the right are left out.
std::string_view BoxText(std::string_view box) {
    return box.substr(0, box.find_last_not_of(' ') + 1);
}

class ColourCommand final : public Command {
public:
    CLI::App& Define(CLI::App& tool) override;
    std::string_view ArgumentsError() const override {
        return "colour takes no arguments: give --bands or --resistance";
    }
    int Run(Session& session) override;

private:
    const CLI::Option* Given(const CLI::Option* option) const;
    void SelectBands(ColourCodeState& state) const;
    static void PrintJson(std::ostream& out, const ColourCodeState& state,
                          std::string_view message);
    static void PrintHuman(std::ostream& out, const ColourCodeState& state);

    bool m_five = false;
    CLI::Option* m_bands = nullptr;
    CLI::Option* m_resistance = nullptr;
    CLI::Option* m_tolerance = nullptr;
};

CLI::App& ColourCommand::Define(CLI::App& tool) {
    auto& app = *tool.add_subcommand(
        "colour", "colour bands to resistance and tolerance, or a resistance to its bands");
    app.add_flag("--five", m_five, "five-band code (default: four bands)");
    // Texts, not numbers: R and T are read by the rules of the window's boxes.
    m_bands = app.add_option("--bands", "band colours from band 1 on, as the lists name them")
                  ->type_name("B1,B2,...")
                  ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    m_resistance =
        app.add_option("--resistance", "resistance in ohms, rounded to the code's digits")
            ->type_name("R")
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    m_tolerance = app.add_option("--tolerance", "tolerance in percent, moved to the nearest band")
                      ->type_name("T")
                      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.footer("Four bands are digit, digit, multiplier, tolerance; five bands digit, digit, "
               "digit, multiplier, tolerance.\nColours:\n"
               "  digit 1     " +
               ItemNames(BandList::FirstDigit) +
               "\n"
               "  digit 2, 3  " +
               ItemNames(BandList::SecondDigit) +
               "\n"
               "  multiplier  " +
               ItemNames(BandList::Multiplier) +
               "\n"
               "  tolerance   " +
               ItemNames(BandList::Tolerance) +
               "\n"
               "Exit status 1 when R cannot be shown in the code; the tolerance is still read.");
    return app;
}

// The option when it was given once; UsageError when given more often.
const CLI::Option* ColourCommand::Given(const CLI::Option* option) const {
    if (option->count() == 0)
        return nullptr;
    if (option->count() > 1)
        throw UsageError{"option " + option->get_name() + " given twice"};
    return option;
}

// Selects the named bands one by one, as a person would in the window.
void ColourCommand::SelectBands(ColourCodeState& state) const {
    const auto lists = ModeBands(state.mode);
    std::vector<std::string_view> names;
    std::string_view rest = m_bands->results().front();
    for (;;) {
        const std::size_t comma = rest.find(',');
        names.push_back(TrimBlanksAndTabs(rest.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (names.size() != lists.size())
        throw UsageError{"a " + ModeName(state.mode) + " code has " + std::to_string(lists.size()) +
                         " bands (" + BandRoles(state.mode) + "), not " +
                         std::to_string(names.size())};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const int item = FindBandItem(lists[i], names[i]);
        if (item < 0)
            throw UsageError{"band " + std::to_string(i + 1) + " (" +
                             std::string(BandRole(lists[i])) + ") has no colour '" +
                             std::string(names[i]) + "'; it is one of " + ItemNames(lists[i])};
        SelectBand(state, lists[i], item);
    }
}

int ColourCommand::Run(Session& session) {
    const CLI::Option* bands = Given(m_bands);
    const CLI::Option* resistance = Given(m_resistance);
    const CLI::Option* tolerance = Given(m_tolerance);
    if (bands != nullptr && resistance != nullptr)
        throw UsageError{"colour takes --bands or --resistance, not both"};
    if (tolerance != nullptr && resistance == nullptr)
        throw UsageError{"--tolerance goes with --resistance"};
    if (bands == nullptr && resistance == nullptr)
        throw UsageError{"colour needs --bands or --resistance"};

    ColourCodeState state;
    ResetColourCode(state, m_five ? BandMode::Five : BandMode::Four);
    ColourGoStatus status = ColourGoStatus::Converted;
    if (bands != nullptr) {
        SelectBands(state);
    } else {
        state.resistanceText = resistance->results().front();
        if (tolerance != nullptr)
            state.toleranceText = tolerance->results().front();
        status = PressColourGo(state);
    }
    const std::string_view message = ColourGoMessage(status, state.mode);
    if (session.json)
        PrintJson(session.out(), state, message);
    else
        PrintHuman(session.out(), state);
    if (!message.empty())
        session.err() << message << "\n";
    return status == ColourGoStatus::Converted ? kExitOk : 1;
}

void ColourCommand::PrintJson(std::ostream& out, const ColourCodeState& state,
                              std::string_view message) {
    std::ostringstream o;
    o << "{\"mode\":" << (state.mode == BandMode::Five ? 5 : 4)
      << ",\"status\":" << (message.empty() ? 0 : 1)
      << ",\"message\":" << (message.empty() ? "null" : json::String(message)) << ",\"bands\":[";
    const auto lists = ModeBands(state.mode);
    for (std::size_t i = 0; i < lists.size(); ++i)
        o << (i ? "," : "") << json::String(BandItemName(lists[i], state.Item(lists[i])));
    o << "],\"resistance\":" << (state.resistance > 0 ? BoxNumber(state.resistanceText) : "null")
      << ",\"tolerancePercent\":"
      << (state.tolerance > 0 ? json::Number(state.tolerance * 100) : "null")
      << ",\"maximum\":" << BoxNumber(state.maximumText)
      << ",\"minimum\":" << BoxNumber(state.minimumText) << "}\n";
    out << o.str();
}

void ColourCommand::PrintHuman(std::ostream& out, const ColourCodeState& state) {
    // The value column starts where the boxes' leading blank ends.
    constexpr std::size_t kLabelWidth = 15;
    std::ostringstream o;
    const auto lists = ModeBands(state.mode);
    for (std::size_t i = 0; i < lists.size(); ++i)
        o << Pad("Band " + std::to_string(i + 1), kLabelWidth + 1)
          << BandItemName(lists[i], state.Item(lists[i])) << "\n";
    const std::pair<const char*, const std::string&> boxes[] = {
        {"R", state.resistanceText},
        {"Tol.", state.toleranceText},
        {"Max.", state.maximumText},
        {"Min.", state.minimumText},
    };
    for (const auto& [label, text] : boxes) {
        const std::string_view shown = BoxText(text);
        o << (shown.empty() ? std::string(label) : Pad(label, kLabelWidth)) << shown << "\n";
    }
    out << o.str();
}

} // namespace

std::unique_ptr<Command> MakeColourCommand() {
    return std::make_unique<ColourCommand>();
}

} // namespace ohmtrim::cli
