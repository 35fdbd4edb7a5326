#pragma once

#include "cli/session.h"

#include <memory>
#include <string_view>

namespace CLI {
class App;
}

namespace ohmtrim::cli {

// One command of the tool (ohmtrim-cli COMMAND ...): its subcommand with
// arguments and options, and what it does.
class Command {
public:
    virtual ~Command() = default;
    // Adds the subcommand to the tool's parser and binds its arguments.
    virtual CLI::App& Define(CLI::App& tool) = 0;
    // What a wrong number of arguments is told ("values takes one argument:
    // LABEL").
    virtual std::string_view ArgumentsError() const = 0;
    // Runs the command after a successful parse; returns the exit status
    // (UsageError for a mistake the parser could not see).
    virtual int Run(Session& session) = 0;
};

std::unique_ptr<Command> MakeSetsCommand();
std::unique_ptr<Command> MakeValuesCommand();
std::unique_ptr<Command> MakeNearestCommand();
std::unique_ptr<Command> MakeSolveCommand();
std::unique_ptr<Command> MakeColourCommand();

} // namespace ohmtrim::cli
