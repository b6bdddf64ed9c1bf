#pragma once
// Runs the command-line program in the test's process and keeps what it wrote.

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"

namespace tarvosen::test {

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun RunTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace tarvosen::test
