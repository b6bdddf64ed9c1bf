// Zeiss conversions over a large generated R5 job: 1,000,000 lines, half of
// them polar observations computed under Mem/1, run through the command-line
// program's path (load, convert, save) as a user would run them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "zeiss/r5_line.h"

namespace {

namespace fs = std::filesystem;
using namespace tarvosen::zeiss;

constexpr int kLines = 1'000'000;

std::string Number(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// Writes the job once per process: a station with heights and orientation,
// then known points and polar observations in turn. Addresses wrap at 9999 as
// they do on the instrument.
const fs::path& LargeR5Job() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / "tarvosen-bench-1m.r5";
        std::ofstream out(p, std::ios::binary);
        const RecordFields none{};
        auto addr = [](int i) { return static_cast<long>(i % 10000); };
        out << FormatR5CoordinateLine(addr(0), "S  ", "1", "1000.000", "2000.000", "50.000")
            << "\r\n"
            << FormatR5TextLine(addr(1), "INPUT",
                                {{{"th", "1.500", "m   "}, {"ih", "1.550", "m   "}, {"", "", ""}}})
            << "\r\n"
            << FormatR5TextLine(addr(2), "",
                                {{{"", "", ""}, {"Om", "0.0000", "DMS "}, {"", "", ""}}})
            << "\r\n";
        for (int i = 3; i < kLines; ++i) {
            const std::string number = std::to_string(i % 10000);
            if (i % 2) {
                const RecordFields polar{{{"SD", Number(10 + i % 500 * 0.37, 3), "m   "},
                                          {"Hz", Number(i % 360 + 0.3012, 4), "DMS "},
                                          {"V1", Number(85 + i % 10 + 0.1545, 4), "DMS "}}};
                out << FormatR5PointLine(addr(i), "TRE", number, polar) << "\r\n";
            } else {
                out << FormatR5CoordinateLine(
                           addr(i), "FEN", number, Number(900 + i % 977 * 0.1, 3),
                           Number(1900 + i % 733 * 0.2, 3), Number(48 + i % 11 * 0.3, 3))
                    << "\r\n";
            }
        }
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
