// Exports of a 1,000,000-point list and the Nikon 300/400 raw conversion of
// as many records, each through its whole command: staging the workspace,
// reading it back, converting and appending the result.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/command_context.h"
#include "bench/bench_user.h"
#include "i18n/message_catalogue.h"
#include "points/point_commands.h"

namespace tarvosen {
namespace {

constexpr int kPoints = 1'000'000;

// Point lines as the R5 conversion writes them, with codes on every other point.
std::vector<std::string> PointList() {
    std::vector<std::string> lines;
    lines.reserve(kPoints);
    char buf[128];
    for (int i = 0; i < kPoints; ++i) {
        std::snprintf(buf, sizeof buf, "P%d,%.3f,%.3f,%.3f,%s", i + 1, 3512000.0 + i * 0.731,
                      498000.0 + (i % 9973) * 1.117, 40.0 + (i % 613) * 0.013, i % 2 ? "KERB" : "");
        lines.emplace_back(buf);
    }
    return lines;
}

std::vector<std::string> Nikon300Raw() {
    std::vector<std::string> lines{"2,9,DTM-352,NS002,BENCH,"};
    lines.reserve(kPoints + 1);
    char buf[160];
    for (int i = 0; i < kPoints; ++i) {
        std::snprintf(buf, sizeof buf, "1,%d,MD,%d,KERB,%.3f,%.3f,%.3f,1.500,", i % 4 == 0 ? 0 : 1,
                      i + 1, 3512000.0 + i * 0.731, 498000.0 + (i % 9973) * 1.117,
                      40.0 + (i % 613) * 0.013);
        lines.emplace_back(buf);
    }
    return lines;
}

void RunCommand(benchmark::State& state, CommandHandler command,
                const std::vector<std::string>& input) {
    const auto dir = std::filesystem::temp_directory_path() / "tarvosen-points-bench";
    std::filesystem::create_directories(dir);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);

    Workspace workspace;
    AppState app;
    app.startDirectory = dir;
    bench::BenchUser user;
    OptionsStore options;
    MessageCatalogue catalogue;
    SubsystemStore subsystems;
    CommandContext ctx{workspace, app, user, options, catalogue, subsystems};

    std::size_t bytes = 0;
    for (const auto& l : input) bytes += l.size() + 2;
    for (auto _ : state) {
        state.PauseTiming();
        workspace.replaceAll(input);
        state.ResumeTiming();
        if (command(ctx) != CommandStatus::Done) state.SkipWithError("the command stopped");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.SetLabel(std::to_string(input.size()) + " lines, " + std::to_string(bytes / 1000000) +
                   " MB");
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
}

const std::vector<std::string>& Points() {
    static const auto lines = PointList();
    return lines;
}

void BM_PointsToDxf(benchmark::State& s) {
    RunCommand(s, PointsToDxfCommand, Points());
}
void BM_PointsToR5(benchmark::State& s) {
    RunCommand(s, PointsToR5Command, Points());
}
void BM_PointsToCor(benchmark::State& s) {
    RunCommand(s, PointsToCorCommand, Points());
}
void BM_PointsToOrg(benchmark::State& s) {
    RunCommand(s, PointsToOrgCommand, Points());
}
void BM_Nikon300ToPoints(benchmark::State& s) {
    static const auto raw = Nikon300Raw();
    RunCommand(s, Nikon300ToPointsCommand, raw);
}

BENCHMARK(BM_PointsToDxf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PointsToR5)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PointsToCor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PointsToOrg)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Nikon300ToPoints)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tarvosen
