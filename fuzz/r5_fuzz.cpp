// The r5 reader, through the commands that read it.
#include "fuzz/run_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvosen::fuzz::RunCommandsOn(data, size, {
         {"r5-to-points"},
         {"r5-to-dxf"},
         {"r5-to-m5"},
    });
    return 0;
}
