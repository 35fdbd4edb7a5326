#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ohmtrim {

// Exit statuses of the command-line tool; a search ends it with its status
// (1 invalid input, 2 no solution, 3 aborted).
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 64;
inline constexpr int kExitNoInput = 66; // the directory cannot be read
inline constexpr int kExitIoError = 74; // standard output cannot be written

inline constexpr const char* kToolName = "ohmtrim-cli";

// Runs the command-line tool on args (without the program name), writing to
// out and err; returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace ohmtrim
