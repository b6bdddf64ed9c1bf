// The point list reader, through the commands that read it.
#include "fuzz/run_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvosen::fuzz::RunCommandsOn(data, size, {
         {"points-to-dxf"},
         {"points-to-r5"},
         {"points-to-cor"},
         {"points-to-org"},
         {"points-to-dxf", "--layout", "cass"},
         {"points-to-r5", "--layout", "own"},
    });
    return 0;
}
