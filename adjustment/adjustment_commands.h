#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"

namespace tarvosen {

// N500330RAW1Click: Nikon raw -> COSA observation file
CommandStatus NikonToCosaCommand(CommandContext& ctx);
std::span<const CliOption> NikonToCosaCliOptions();

// NIKONRAW1Click: Nikon raw -> adjustment text and traverse record book
CommandStatus NikonToTraverseCommand(CommandContext& ctx);
std::span<const CliOption> NikonToTraverseCliOptions();

}  // namespace tarvosen
