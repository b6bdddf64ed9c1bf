// The three levelling record books over one levelling line of 10,000
// stations measured back-fore-fore-back, each through its whole command:
// staging the workspace, reading the DINI lines, building the workbook with
// its formulas and checks, and saving it as .xlsx.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/command_context.h"
#include "bench/bench_user.h"
#include "i18n/message_catalogue.h"
#include "levelling/levelling_commands.h"
#include "bench/inputs/bench_inputs.h"

namespace tarvosen {
namespace {

constexpr int kStations = 10'000;

const std::vector<std::string>& LongLine() {
    static const std::vector<std::string> lines = bench::LongLevellingLine(kStations);
    return lines;
}

void RunBook(benchmark::State& state, CommandHandler command) {
    const auto dir = std::filesystem::temp_directory_path() / "tarvosen-levelling-bench";
    std::filesystem::create_directories(dir);
    Workspace workspace;
    AppState app;
    app.startDirectory = dir;
    bench::BenchUser user(dir / "book.xlsx");
    OptionsStore options;
    MessageCatalogue catalogue;
    SubsystemStore subsystems;
    CommandContext ctx{workspace, app, user, options, catalogue, subsystems};

    for (auto _ : state) {
        state.PauseTiming();
        workspace.replaceAll(LongLine());
        state.ResumeTiming();
        if (command(ctx) != CommandStatus::Done) state.SkipWithError("the command stopped");
    }
    state.SetLabel(std::to_string(kStations) + " stations, " + std::to_string(LongLine().size()) +
                   " lines");
    std::filesystem::remove_all(dir);
}

void BM_DiniBook(benchmark::State& s) {
    RunBook(s, DiniBookCommand);
}
void BM_DiniBookChecked(benchmark::State& s) {
    RunBook(s, DiniBookCheckedCommand);
}
void BM_DiniBookGeo(benchmark::State& s) {
    RunBook(s, DiniBookGeoCommand);
}

BENCHMARK(BM_DiniBook)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DiniBookChecked)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DiniBookGeo)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tarvosen
