#pragma once
// Runs commands of the command-line program on fuzzer input, the way a user
// would: the bytes become the INPUT file, results go to a scratch folder.
// Any exit status is fine; a crash, hang or sanitizer report is the finding.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/cli_runner.h"

namespace tarvosen::fuzz {

inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("tarvosen-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return folder;
}

inline void RunCommandsOn(const std::uint8_t* data, std::size_t size,
                          std::initializer_list<std::vector<std::string>> commands) {
    const auto input = ScratchFolder() / "input.txt";
    {
        std::ofstream out(input, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const auto output = (ScratchFolder() / "output").string();
    for (auto args : commands) {
        args.push_back(input.string());
        args.push_back("-o");
        args.push_back(output);
        std::ostringstream out, err;
        (void)RunCli(args, out, err);
    }
}

}  // namespace tarvosen::fuzz
