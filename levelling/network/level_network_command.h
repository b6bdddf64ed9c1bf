#pragma once
// The levelling network command, as the command table calls it.

#include <filesystem>
#include <span>
#include <vector>

#include "app/command.h"

namespace tarvosen {

// Checks and adjusts a levelling network from DINI M5 files and writes its
// result workbook (and, when asked, the JSON report and the gama-local input).
CommandStatus LevelNetworkCommand(CommandContext& ctx);
std::span<const CliOption> LevelNetworkCliOptions();

}  // namespace tarvosen
