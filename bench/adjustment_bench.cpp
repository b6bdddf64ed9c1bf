// The Nikon raw exports on a generated traverse, run through the
// command-line program's path (load, convert, save) as a user runs them:
// the COSA observation file of 50,000 stations (250,000 raw lines) and the
// adjustment text with the record book of 2,000 stations.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"

namespace {

namespace fs = std::filesystem;

// A traverse of `stations` set-ups, each with backsight and foresight in two faces.
fs::path RawFile(int stations) {
    const fs::path path = fs::temp_directory_path() /
                          ("tarvosen_bench_traverse_" + std::to_string(stations) + ".raw");
    if (fs::exists(path)) return path;
    std::ofstream out(path, std::ios::binary);
    out << "CO,Nikon RAW data format V2.00\r\n";
    char line[160];
    for (int k = 0; k < stations; ++k) {
        std::snprintf(line, sizeof line, "ST,S%d,,S%d,,1.%03d,,0.0000\r\n", k, k - 1,
                      400 + k % 200);
        out << line;
        for (int target = 0; target < 2; ++target) {
            const int ha = (k * 37 + target * 131) % 180, m = k % 60, s = (k * 7) % 58;
            for (int face = 0; face < 2; ++face) {
                std::snprintf(line, sizeof line,
                              "SS,S%d,1.500,%d.%03d,%d.%02d%02d,%s,12:00:00,T\r\n",
                              k + (target ? 1 : -1), 100 + k % 200, k % 1000, ha + 180 * face, m,
                              s + 2 * face, face ? "270.0016" : "89.5950");
                out << line;
            }
        }
    }
    return path;
}

void Run(benchmark::State& state, const std::vector<std::string>& args, const fs::path& input) {
    for (auto _ : state) {
        std::ostringstream out, err;
        std::vector<std::string> all = args;
        all.push_back(input.string());
        if (tarvosen::RunCli(all, out, err) != 0) state.SkipWithError(err.str().c_str());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(input)));
}

void BM_NikonToCosa(benchmark::State& state) {
    const fs::path out = fs::temp_directory_path() / "tarvosen_bench_cosa.in2";
    Run(state, {"nikon-to-cosa", "-o", out.string()}, RawFile(50'000));
    fs::remove(out);
}
BENCHMARK(BM_NikonToCosa)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_NikonToTraverseWithBook(benchmark::State& state) {
    const fs::path text = fs::temp_directory_path() / "tarvosen_bench_traverse.txt";
    const fs::path book = fs::temp_directory_path() / "tarvosen_bench_traverse.xlsx";
    Run(state, {"nikon-to-traverse", "--book", book.string(), "-o", text.string()}, RawFile(2'000));
    fs::remove(text);
    fs::remove(book);
}
BENCHMARK(BM_NikonToTraverseWithBook)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
