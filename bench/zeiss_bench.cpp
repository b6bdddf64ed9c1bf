// Zeiss conversions over a large generated R5 job: 1,000,000 lines, half of
// them polar observations computed under Mem/1, run through the command-line
// program's path (load, convert, save) as a user would run them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "cli/cli_runner.h"
#include "bench/inputs/bench_inputs.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 1'000'000;

// Writes the job once per process.
const fs::path& LargeR5Job() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / "tarvosen-bench-1m.r5";
        tarvosen::bench::WriteLargeR5Job(p, kLines);
        return p;
    }();
    return path;
}

void RunCommand(benchmark::State& state, const char* command, const char* outName) {
    const fs::path& input = LargeR5Job();
    const fs::path output = fs::temp_directory_path() / outName;
    const auto size = static_cast<std::int64_t>(fs::file_size(input));
    for (auto _ : state) {
        std::ostringstream out, err;
        const int status =
            tarvosen::RunCli({command, input.string(), "-o", output.string()}, out, err);
        if (status != 0) state.SkipWithError(err.str().c_str());
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.SetLabel(std::to_string(kLines) + " R5 lines, " + std::to_string(size / 1000000) + " MB");
    fs::remove(output);
}

void BM_R5ToPoints(benchmark::State& state) {
    RunCommand(state, "r5-to-points", "bench-points.txt");
}
void BM_R5ToM5(benchmark::State& state) {
    RunCommand(state, "r5-to-m5", "bench-job.m5");
}

BENCHMARK(BM_R5ToPoints)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_R5ToM5)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
