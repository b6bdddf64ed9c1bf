#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli/cli_runner.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = tarvosen::RunCli(args, std::cout, std::cerr);
    // A list or help text that could not be written is no success.
    std::cout.flush();
    if (!std::cout && status == tarvosen::kExitDone) {
        std::cerr << "error: Cannot write to standard output: " << std::strerror(errno) << '\n';
        return tarvosen::kExitFailure;
    }
    return status;
}
