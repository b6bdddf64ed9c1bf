// Writes a file generated from the command table: the manual pages and the
// bash completion, made at build time so they never fall behind the programs.
// Usage: tarvosen-generate man-cli|man-desktop|bash-completion FILE

#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/bash_completion.h"
#include "cli/manual_pages.h"

int main(int argc, char** argv) {
    const std::string what = argc == 3 ? argv[1] : "";
    std::string text;
    if (what == "man-cli") {
        text = tarvosen::CliManualPage();
    } else if (what == "man-desktop") {
        text = tarvosen::DesktopManualPage();
    } else if (what == "bash-completion") {
        text = tarvosen::CliBashCompletion();
    } else {
        std::cerr << "usage: tarvosen-generate man-cli|man-desktop|bash-completion FILE\n";
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "error: Cannot write " << argv[2] << ": " << std::strerror(errno) << '\n';
        return 3;
    }
    return 0;
}
