// The DiNi consistency audit over a generated levelling line of 100,000
// M5 lines (20,000 stations measured back-fore-fore-back), alone and through
// the command-line program (read the file, digest it, audit it).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/command_context.h"
#include "bench/bench_user.h"
#include "cli/cli_runner.h"
#include "i18n/message_catalogue.h"
#include "levelling/dini_audit.h"
#include "tests/levelling/dini_lines.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;

constexpr int kStations = 20'000;

// The instrument's way: each height from the previous one and the means of
// the readings, so the audit finds nothing and checks every station fully.
const std::vector<std::string>& AuditedLines() {
    static const std::vector<std::string> lines = [] {
        test::DiniLines d;
        d.start("1");
        double z = 100;
        d.height("P0", z);
        for (int i = 0; i < kStations; ++i) {
            const double b = 1.2 + (i % 37) * 0.013, f = 1.3 + (i % 23) * 0.011;
            const double b2 = b + ((i % 5) - 2) * 1e-5, f2 = f + ((i % 3) - 1) * 1e-5;
            z = std::round((z + (b + b2) / 2 - (f + f2) / 2) * 1e5) / 1e5;
            const double db = 18 + (i % 13) * 0.9, df = db + ((i % 7) - 3) * 0.2;
            d.station("P" + std::to_string(i), "P" + std::to_string(i + 1), b, b2, f, f2, db, db,
                      df, df, z);
        }
        d.end();
        return d.lines;
    }();
    return lines;
}

void BM_DiniAudit(benchmark::State& state) {
    Workspace ws;
    ws.replaceAll(AuditedLines());
    const levelling::AuditLimits limits;
    AppState app;
    bench::BenchUser user(fs::temp_directory_path() / "tarvosen-bench-audit.unused");
    OptionsStore options;
    MessageCatalogue catalogue;
    SubsystemStore subsystems;
    CommandContext ctx{ws, app, user, options, catalogue, subsystems};
    std::size_t findings = 0;
    for (auto _ : state)
        findings = levelling::AuditDiniLines(ctx, ws, "bench.dat", limits).findings.size();
    if (findings != 0) state.SkipWithError("the generated line has findings");
    state.SetLabel(std::to_string(ws.lineCount()) + " lines");
}
BENCHMARK(BM_DiniAudit)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DiniAuditCli(benchmark::State& state) {
    const fs::path file = fs::temp_directory_path() / "tarvosen-bench-audit.dat";
    {
        std::ofstream out(file, std::ios::binary);
        for (const auto& l : AuditedLines()) out << l << "\r\n";
    }
    int status = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        status = RunCli({"dini-audit", file.string()}, out, err);
    }
    if (status != kExitDone) state.SkipWithError("dini-audit found something");
    state.SetLabel(std::to_string(AuditedLines().size()) + " lines, " +
                   std::to_string(fs::file_size(file) >> 20) + " MB");
    fs::remove(file);
}
BENCHMARK(BM_DiniAuditCli)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tarvosen
