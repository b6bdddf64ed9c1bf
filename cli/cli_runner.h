#pragma once
// The command-line program: tarvosen-cli COMMAND [OPTIONS] [INPUT] [-o OUTPUT].

#include <iosfwd>
#include <string>
#include <vector>

namespace tarvosen {

// Exit statuses of the command-line program.
enum CliExit : int { kExitDone = 0, kExitStopped = 1, kExitUsage = 2, kExitFailure = 3,
                   kExitFound = 4 };

// Runs the program on the arguments (without the program name). Results that
// go to standard output are written to `out`, messages to `err`.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tarvosen
