// The commands that read the value sets: sets, values, nearest.
#include "circuits/format.h"
#include "cli/cli.h"
#include "cli/command.h"
#include "cli/json.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace ohmtrim::cli {

namespace {

class SetsCommand final : public Command {
public:
    CLI::App& Define(CLI::App& tool) override {
        return *tool.add_subcommand("sets", "list the loaded value sets");
    }
    std::string_view ArgumentsError() const override { return "sets takes no arguments"; }
    int Run(Session& session) override;

private:
    static void PrintJson(std::ostream& out, const ProgramState& state);
    static void PrintHuman(std::ostream& out, const ProgramState& state);
    static std::string DirectoriesRead(const ProgramState& state);
    static std::string FileShown(const ProgramState& state, const LoadedSet& set);
};

int SetsCommand::Run(Session& session) {
    const ProgramState& state = session.Load();
    if (session.json)
        PrintJson(session.out(), state);
    else
        PrintHuman(session.out(), state);
    return kExitOk;
}

void SetsCommand::PrintJson(std::ostream& out, const ProgramState& state) {
    const auto& list = state.valueSets;
    std::ostringstream o;
    o << "{\"sets\":[";
    for (int i = 0; i < list.size(); ++i) {
        const auto& s = list.at(i);
        o << (i ? "," : "") << "{\"label\":" << json::String(s.label())
          << ",\"count\":" << s.count()
          << ",\"hasShortCircuit\":" << (s.hasShortCircuit() ? "true" : "false")
          << ",\"hasOpenCircuit\":" << (s.hasOpenCircuit() ? "true" : "false")
          << ",\"file\":" << json::String(list.sets[static_cast<std::size_t>(i)].file) << "}";
    }
    o << "],\"failures\":[";
    for (std::size_t i = 0; i < list.failures.size(); ++i)
        o << (i ? "," : "") << "{\"file\":" << json::String(list.failures[i].file)
          << ",\"error\":" << json::String(list.failures[i].error) << "}";
    o << "],\"skipped\":" << list.skipped << ",\"preselected\":"
      << (state.preselected >= 0 ? json::String(list.at(state.preselected).label()) : "null")
      << ",\"relTol\":" << json::Number(state.settings.relTol) << ",\"directories\":[";
    for (std::size_t i = 0; i < list.directories.size(); ++i)
        o << (i ? "," : "") << json::String(list.directories[i].string());
    o << "],\"settingsFile\":" << json::String(state.files.settingsFile.string()) << "}\n";
    out << o.str();
}

void SetsCommand::PrintHuman(std::ostream& out, const ProgramState& state) {
    const auto& list = state.valueSets;
    out << "Value sets in " << DirectoriesRead(state) << " (list order):\n";
    for (int i = 0; i < list.size(); ++i) {
        const auto& s = list.at(i);
        std::string extras;
        if (s.hasShortCircuit())
            extras += " short";
        if (s.hasOpenCircuit())
            extras += " open";
        out << "  " << Pad(s.label(), 6) << Pad(std::to_string(s.count()) + " values", 12)
            << Pad(extras.empty() ? "" : extras.substr(1), 12)
            << FileShown(state, list.sets[static_cast<std::size_t>(i)]) << "\n";
    }
    if (list.size() == 0)
        out << "  (none)\n";
    if (list.skipped > 0)
        out << list.skipped << (list.skipped == 1 ? " value-set file" : " value-set files")
            << " skipped: at most " << kMaxValueSets << " are loaded\n";
    if (!list.failures.empty()) {
        out << "Files that failed to load:\n";
        for (const auto& f : list.failures)
            out << "  " << f.file << ": " << f.error << "\n";
    }
    out << "Preselected: "
        << (state.preselected >= 0 ? list.at(state.preselected).label() : "(none)") << "\n";
    out << "Relative tolerance: " << FormatValue(state.settings.relTol) << "\n";
    const auto read = state.files.SettingsToRead();
    out << "Settings file: " << state.files.settingsFile.string();
    if (read != state.files.settingsFile)
        out << " (not written yet; " << read.string() << " is read)";
    out << "\n";
}

std::string SetsCommand::DirectoriesRead(const ProgramState& state) {
    const auto& dirs = state.valueSets.directories;
    if (dirs.empty())
        return state.directory.string();
    std::string text;
    for (std::size_t i = 0; i < dirs.size(); ++i)
        text += (i == 0 ? "" : i + 1 == dirs.size() ? " and " : ", ") + dirs[i].string();
    return text;
}

// A file of the program directory by its name; a user's file, which may take
// the place of a shipped one, by its whole path.
std::string SetsCommand::FileShown(const ProgramState& state, const LoadedSet& set) {
    return set.directory == state.directory ? set.file : (set.directory / set.file).string();
}

class ValuesCommand final : public Command {
public:
    CLI::App& Define(CLI::App& tool) override {
        auto& app = *tool.add_subcommand("values", "print a value set's table");
        app.add_option("LABEL", m_label, "label of the value set")->required();
        return app;
    }
    std::string_view ArgumentsError() const override { return "values takes one argument: LABEL"; }
    int Run(Session& session) override {
        const ProgramState& state = session.Load();
        const auto& set = state.valueSets.at(session.FindSet(m_label));
        if (session.json) {
            std::ostringstream o;
            o << "{\"label\":" << json::String(set.label()) << ",\"values\":[";
            for (int i = 0; i < set.count(); ++i)
                o << (i ? "," : "") << json::Number(set.values()[i]);
            o << "]}\n";
            session.out() << o.str();
            return kExitOk;
        }
        for (int i = 0; i < set.count(); ++i)
            session.out() << FormatValue(set.values()[i]) << "\n";
        return kExitOk;
    }

private:
    std::string m_label;
};

class NearestCommand final : public Command {
public:
    CLI::App& Define(CLI::App& tool) override {
        auto& app = *tool.add_subcommand(
            "nearest", "nearest standard value to R, its neighbours and the error in percent");
        app.add_option("LABEL", m_label, "label of the value set")->required();
        app.add_option("R", m_resistance, "wanted resistance in ohms")->required();
        return app;
    }
    std::string_view ArgumentsError() const override {
        return "nearest takes two arguments: LABEL R";
    }
    int Run(Session& session) override {
        session.Load();
        const int set = session.FindSet(m_label);
        return session.RunEntry(CatalogueAt(1), {set}, {{InputId::Target, m_resistance}}, false);
    }

private:
    std::string m_label;
    std::string m_resistance;
};

} // namespace

std::unique_ptr<Command> MakeSetsCommand() {
    return std::make_unique<SetsCommand>();
}

std::unique_ptr<Command> MakeValuesCommand() {
    return std::make_unique<ValuesCommand>();
}

std::unique_ptr<Command> MakeNearestCommand() {
    return std::make_unique<NearestCommand>();
}

} // namespace ohmtrim::cli
