#pragma once

// Runs the command-line tool in this process and keeps what it printed.

#include "cli/cli.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace ohmtrim::testing {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// args as typed after the tool's name; with a directory, "--dir DIR" comes
// first.
inline CliRun RunTool(std::vector<std::string> args, const std::filesystem::path& dir = {}) {
    if (!dir.empty())
        args.insert(args.begin(), {"--dir", dir.string()});
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace ohmtrim::testing
