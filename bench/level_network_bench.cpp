// level-network over 10,000 sections in 200 files: a chain of 5,000 sections
// of two stations each, measured forward (100 files of 50 sections) and
// return (100 files), a known height every 500 sections. The whole command
// line: reading the files, sections, pairs, misclosures, the adjustment, the
// workbook and the JSON report.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_runner.h"
#include "tests/levelling/dini_lines.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 100;  // each way
constexpr int kSectionsPerFile = 50;
constexpr int kSections = kFiles * kSectionsPerFile;

double TrueHeight(int point) {
    return 100 + (point % 97) * 0.05;
}

std::string Name(int point) {
    return "P" + std::to_string(point);
}

// One file's run from point `first` to `first + kSectionsPerFile`, or back.
std::string RunFile(int first, bool back, int file) {
    test::DiniLines d;
    d.start(std::to_string(file + 1));
    const int step = back ? -1 : 1;
    int at = back ? first + kSectionsPerFile : first;
    double z = TrueHeight(at);
    d.height(Name(at), z);
    for (int s = 0; s < kSectionsPerFile; ++s, at += step) {
        const double dh = TrueHeight(at + step) - TrueHeight(at) + ((at * 7 + file) % 5 - 2) * 4e-5;
        const std::string turn = "T" + std::to_string(at) + (back ? "b" : "f");
        const double b = 1.5, f1 = b - dh / 2;
        d.station(Name(at), turn, b, b + 1e-5, f1, f1 + 1e-5, 25, 25, 25.2, 25.2, z + dh / 2);
        d.station(turn, Name(at + step), b, b, f1, f1, 24, 24, 24.1, 24.1, z + dh);
        z += dh;
    }
    d.end();
    return d.text();
}

const fs::path& Inputs() {
    static const fs::path dir = [] {
        const fs::path dir = fs::temp_directory_path() / "tarvosen-network-bench";
        fs::create_directories(dir);
        for (int f = 0; f < kFiles; ++f) {
            std::ofstream(dir / ("forward" + std::to_string(f) + ".dat"), std::ios::binary)
                << RunFile(f * kSectionsPerFile, false, f);
            std::ofstream(dir / ("return" + std::to_string(f) + ".dat"), std::ios::binary)
                << RunFile(f * kSectionsPerFile, true, f);
        }
        std::ofstream known(dir / "known.txt"), benchmarks(dir / "benchmarks.txt");
        for (int p = 0; p <= kSections; ++p) {
            if (p % 500 == 0) known << Name(p) << "," << TrueHeight(p) << "\n";
            benchmarks << Name(p) << "\n";
        }
        return dir;
    }();
    return dir;
}

void BM_LevelNetwork(benchmark::State& state) {
    const fs::path& dir = Inputs();
    std::vector<std::string> args = {"level-network",     "--known-heights",
                                     (dir / "known.txt").string(), "--benchmarks",
                                     (dir / "benchmarks.txt").string(), "--report",
                                     (dir / "report.json").string()};
    for (int f = 0; f < kFiles; ++f) {
        args.push_back((dir / ("forward" + std::to_string(f) + ".dat")).string());
        args.push_back((dir / ("return" + std::to_string(f) + ".dat")).string());
    }
    args.insert(args.end(), {"-o", (dir / "network.xlsx").string()});
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunCli(args, out, err) != kExitDone) state.SkipWithError(err.str().c_str());
    }
    state.SetLabel(std::to_string(2 * kSections) + " sections in " + std::to_string(2 * kFiles) +
                   " files");
}

BENCHMARK(BM_LevelNetwork)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tarvosen
