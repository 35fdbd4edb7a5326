#include "cli/cli.h"

#include "cli/command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>

namespace ohmtrim {

namespace {

using cli::Command;
using cli::InputError;
using cli::Session;
using cli::UsageError;

// The commands, in the order the help lists them.
std::unique_ptr<Command> (*const kCommands[])() = {
    &cli::MakeSetsCommand,  &cli::MakeValuesCommand, &cli::MakeNearestCommand,
    &cli::MakeSolveCommand, &cli::MakeColourCommand,
};

struct ParsedCommand {
    CLI::App* app;
    Command* command;
};

// The one line that says what is wrong with the command line, for the
// mistakes the parser finds.
std::string ParseErrorMessage(const CLI::App& tool, const CLI::ParseError& error,
                              const std::vector<ParsedCommand>& commands) {
    const auto selected = tool.get_subcommands();
    const ParsedCommand* parsed = nullptr;
    for (const auto& c : commands)
        if (!selected.empty() && c.app == selected.front())
            parsed = &c;
    // Arguments nobody took: options first, then a command or argument.
    std::vector<std::string> extras = tool.remaining();
    if (parsed != nullptr) {
        const auto more = parsed->app->remaining();
        extras.insert(extras.end(), more.begin(), more.end());
    }
    const auto option = std::find_if(extras.begin(), extras.end(),
                                     [](const std::string& a) { return a.starts_with("-"); });
    if (option != extras.end())
        return "unknown option " + *option;
    if (parsed == nullptr)
        return extras.empty() ? "no command given" : "unknown command '" + extras.front() + "'";
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr || !extras.empty())
        return std::string(parsed->command->ArgumentsError());
    // "--rmin: 1 required TEXT missing": the option comes first.
    const std::string what = error.what();
    const std::size_t colon = what.find(':');
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr && what.starts_with("--") &&
        colon != std::string::npos)
        return "option " + what.substr(0, colon) + " needs a value";
    return what;
}

// "run 'ohmtrim-cli solve --help' for the usage", for the command or the tool.
std::string HintFor(const CLI::App* command) {
    std::string hint = std::string("run '") + kToolName;
    if (command != nullptr)
        hint += " " + command->get_name();
    return hint + " --help' for the usage";
}

// Parses args and runs the command they name; returns the exit status.
int RunCommand(Session& session, const std::vector<std::string>& args) {
    CLI::App tool("Ohmtrim's lookups and searches on the value sets of a directory.", kToolName);
    tool.add_option("--dir", session.dir,
                    "directory with the value sets and omtr.ini (default: the program's)")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    tool.add_option("--reltol", session.relTol, "relative tolerance, clamped to 0..0.05")
        ->type_name("X")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    tool.add_flag("--json", session.json, "one JSON object, numbers in shortest round-trip form");
    tool.require_subcommand(1);
    // Options of the tool may also follow the command.
    tool.fallthrough();
    tool.footer("Exit status: 0 found, 1 invalid input, 2 no solution, 3 aborted with Ctrl-C, "
                "64 usage error, 66 directory cannot be read, 74 output cannot be written.");

    std::vector<std::unique_ptr<Command>> owned;
    std::vector<ParsedCommand> commands;
    for (const auto make : kCommands) {
        owned.push_back(make());
        commands.push_back({&owned.back()->Define(tool), owned.back().get()});
    }

    // The parser takes the arguments last to first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    std::string hint = HintFor(nullptr);
    try {
        tool.parse(reversed);
        for (const auto& c : commands) {
            if (!c.app->parsed())
                continue;
            hint = HintFor(c.app);
            session.CheckOptions();
            return c.command->Run(session);
        }
        throw UsageError{"no command given"};
    } catch (const CLI::CallForHelp&) {
        session.text() << tool.help();
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        for (const auto& c : commands)
            if (c.app->parsed())
                hint = HintFor(c.app);
        session.err() << kToolName << ": " << ParseErrorMessage(tool, e, commands) << "\n"
                      << hint << "\n";
        return kExitUsage;
    } catch (const UsageError& e) {
        session.err() << kToolName << ": " << e.message << "\n" << hint << "\n";
        return kExitUsage;
    } catch (const InputError& e) {
        session.err() << kToolName << ": " << e.message << "\n";
        return kExitNoInput;
    }
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Session session(out, err);
    return session.Finish(RunCommand(session, args));
}

} // namespace ohmtrim
