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
#include "tests/levelling/dini_lines.h"

namespace tarvosen {
namespace {

constexpr int kStations = 10'000;

// One line of kStations set-ups with varying readings and distances, a few
// of them beyond the 一等 limits, and an intermediate sight every 50 stations.
const std::vector<std::string>& LongLine() {
    static const std::vector<std::string> lines = [] {
        test::DiniLines d;
        d.start("1");
        double z = 100;
        d.height("P0", z);
        for (int i = 0; i < kStations; ++i) {
            const double b = 1.2 + (i % 37) * 0.013, f = 1.3 + (i % 23) * 0.011;
            const double db = 18 + (i % 13) * 0.9, df = db + ((i % 7) - 3) * 0.2;
            z += b - f;
            const std::string back = "P" + std::to_string(i), fore = "P" + std::to_string(i + 1);
            d.station(back, fore, b, b + ((i % 5) - 2) * 1e-5, f, f + ((i % 3) - 1) * 1e-5, db,
                      db + 0.01, df, df - 0.01, z);
            if (i % 50 == 0) d.sight("Rz", "Z" + std::to_string(i), 1.1, 9);
        }
        d.end();
        return d.lines;
    }();
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
