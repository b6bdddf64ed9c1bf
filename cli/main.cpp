#include <iostream>

#include "cli/cli_runner.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return tarvosen::RunCli(args, std::cout, std::cerr);
}
