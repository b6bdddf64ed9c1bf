// Leica GSI: a levelling download of 1,000,000 lines (BFFB stations, lines of
// 200 stations) read into the levelling model and made into the high-order
// record book, and a total-station job of 1,000,000 lines turned into a point
// list through its command.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "app/command_context.h"
#include "bench/bench_user.h"
#include "i18n/message_catalogue.h"
#include "leica/gsi_levelling.h"
#include "leica/leica_commands.h"
#include "levelling/levelling_commands.h"

namespace tarvosen {
namespace {

constexpr std::size_t kLines = 1'000'000;

std::string Word(const char* head, long long value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%c%016lld ", head, value < 0 ? '-' : '+', value < 0 ? -value : value);
    return buf;
}
std::string Id(long address, const char* wi, long point) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "*%s%04ld+%016ld ", wi, address % 10000, point);
    return buf;
}

const Workspace& LevellingDownload() {
    static const Workspace lines = [] {
        Workspace w;
        long address = 0, point = 1;
        long long height = 10000000;
        while (w.lineCount() < kLines) {
            w.append(Id(++address, "41", 0).substr(0, 8) + "00000000?......2 ");
            w.append(Id(++address, "11", point) + Word("83..08", height));
            for (int s = 0; s < 200 && w.lineCount() + 5 <= kLines; ++s) {
                const long long b = 150000 + s % 7, f = 140000 + s % 5;
                w.append(Id(++address, "11", point) + Word("32...8", 2500000) + Word("331.08", b));
                w.append(Id(++address, "11", point + 1) + Word("32...8", 2500100) + Word("332.08", f));
                w.append(Id(++address, "11", point + 1) + Word("32...8", 2500100) + Word("336.08", f));
                w.append(Id(++address, "11", point) + Word("32...8", 2500000) + Word("335.08", b));
                height += b - f;
                ++point;
                w.append(Id(++address, "11", point) + Word("571.08", 0) + Word("572.08", 0) +
                         Word("573..8", -100) + Word("574..8", 5000100) + Word("83..08", height));
            }
        }
        return w;
    }();
    return lines;
}

const Workspace& Job() {
    static const Workspace lines = [] {
        Workspace w;
        w.append("*110001+0000000000000001 84..10+0000000001000000 85..10+0000000002000000 "
                 "86..10+0000000000100000 88..10+0000000000001500 ");
        for (long i = 2; w.lineCount() < kLines; ++i)
            w.append(Id(i, "11", i) + Word("21.002", 100000 * (i % 400)) +
                     Word("22.002", 9000000 + i % 2000000) + Word("31..00", 10000 + i % 90000) +
                     Word("87..10", 1500));
        return w;
    }();
    return lines;
}

class NullSink : public levelling::LevellingSink {
  public:
    void startLine(const levelling::LineStart&) override { ++lines; }
    void observation(const levelling::LevelObservation&) override { ++observations; }
    void finish() override {}
    std::size_t lines = 0, observations = 0;
};

struct Context {
    explicit Context(const std::filesystem::path& out) : user(out) {}
    Workspace workspace;
    AppState app;
    bench::BenchUser user;
    OptionsStore options;
    MessageCatalogue catalogue;
    SubsystemStore subsystems;
    CommandContext ctx{workspace, app, user, options, catalogue, subsystems};
};

void BM_GsiLevellingRead(benchmark::State& state) {
    Context c({});
    const Workspace& lines = LevellingDownload();
    for (auto _ : state) {
        NullSink sink;
        LineAccount account("bench.gsi");
        if (leica::ReadGsiLevelling(c.ctx, lines, sink, account) != levelling::ReadOutcome::Read)
            state.SkipWithError("the reader stopped");
        benchmark::DoNotOptimize(sink.observations);
    }
    state.SetLabel(std::to_string(lines.lineCount()) + " lines");
}

void BM_GsiJobToPoints(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "tarvosen-gsi-bench";
    std::filesystem::create_directories(dir);
    Context c(dir / "points.txt");
    const std::vector<std::string> lines = Job().lines();
    for (auto _ : state) {
        state.PauseTiming();
        c.workspace.replaceAll(lines);
        state.ResumeTiming();
        if (GsiToPointsCommand(c.ctx) != CommandStatus::Done) state.SkipWithError("the command stopped");
    }
    state.SetLabel(std::to_string(lines.size()) + " lines");
    std::filesystem::remove_all(dir);
}

void BM_GsiBookChecked(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "tarvosen-gsi-book-bench";
    std::filesystem::create_directories(dir);
    Context c(dir / "book.xlsx");
    const std::vector<std::string> lines = LevellingDownload().lines();
    for (auto _ : state) {
        state.PauseTiming();
        c.workspace.replaceAll(lines);
        state.ResumeTiming();
        if (DiniBookCheckedCommand(c.ctx) != CommandStatus::Done) state.SkipWithError("the command stopped");
    }
    state.SetLabel(std::to_string(lines.size()) + " lines");
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_GsiLevellingRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GsiJobToPoints)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GsiBookChecked)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace tarvosen
