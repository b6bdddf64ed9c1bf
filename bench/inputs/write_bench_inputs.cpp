// Writes the benchmarks' large inputs as files into the folder given, for
// bench/compare to run other programs on: r5-1m.r5 (1,000,000 R5 lines) and
// levelling-10k.m5 (one levelling line of 10,000 stations).
#include <filesystem>
#include <fstream>
#include <iostream>

#include "bench/inputs/bench_inputs.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tarvosen_bench_inputs FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    tarvosen::bench::WriteLargeR5Job(folder / "r5-1m.r5", 1'000'000);
    std::ofstream m5(folder / "levelling-10k.m5", std::ios::binary);
    for (const auto& line : tarvosen::bench::LongLevellingLine(10'000)) m5 << line << "\r\n";
    return m5 ? 0 : 1;
}
