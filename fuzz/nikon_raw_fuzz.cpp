// The nikon raw reader, through the commands that read it.
#include "fuzz/run_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvosen::fuzz::RunCommandsOn(data, size, {
         {"nikon-to-cosa"},
         {"nikon-to-traverse"},
    });
    return 0;
}
