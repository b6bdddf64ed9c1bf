// Download of 10 MB of instrument lines sent as fast as a pseudo-terminal
// takes them: through the event thread, the hand-over and TakeReceivedBytes into
// the workspace. Every line is checked, so the figure is for a complete,
// byte-for-byte transfer.

#include <benchmark/benchmark.h>

#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <cstdio>
#include <string>
#include <thread>

#include "app/command_context.h"
#include "bench/bench_user.h"
#include "i18n/message_catalogue.h"
#include "serial/hand_over.h"
#include "serial/instrument_link.h"

namespace tarvosen {
namespace {

std::string Line(std::size_t i) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%07zu,3512.118,4822.907,88.200,TREE", i);
    return buf;
}

void BM_SerialDownload10MB(benchmark::State& state) {
    constexpr std::size_t kBytes = 10 * 1024 * 1024;
    std::string wire;
    std::size_t lines = 0;
    while (wire.size() < kBytes) {
        wire += Line(lines++);
        wire += "\r\n";
    }

    for (auto _ : state) {
        int master = -1, slave = -1;
        char name[256];
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
            state.SkipWithError("openpty failed");
            return;
        }
        Workspace workspace;
        AppState appState;
        bench::BenchUser user(std::nullopt, false);
        OptionsStore options;
        MessageCatalogue catalogue;
        SubsystemStore subsystems;
        CommandContext ctx{workspace, appState, user, options, catalogue, subsystems};
        TaskQueue events;
        SerialPort comm(events);
        ApplyWindowPortSettings(comm);
        comm.SetDeviceName(name);
        InstrumentLink link(comm, ctx, nullptr);
        comm.Open();

        std::thread instrument([&] {
            std::string_view rest = wire;
            while (!rest.empty()) {
                const ssize_t n =
                    write(master, rest.data(), std::min<std::size_t>(rest.size(), 65536));
                if (n > 0) rest.remove_prefix(static_cast<std::size_t>(n));
            }
        });
        while (workspace.lineCount() < lines) events.serve(std::chrono::milliseconds(50));
        instrument.join();
        comm.Close();
        close(slave);
        close(master);

        for (std::size_t i = 0; i < lines; ++i)
            if (workspace.line(i) != Line(i)) {
                state.SkipWithError(("line " + std::to_string(i) + " differs").c_str());
                return;
            }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * wire.size()));
    state.SetLabel("10 MB, " + std::to_string(lines) + " lines");
}
BENCHMARK(BM_SerialDownload10MB)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace tarvosen
