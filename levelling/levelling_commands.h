#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"

namespace tarvosen {

// DINIM51Click: record book, surveying-institute layout
CommandStatus DiniBookCommand(CommandContext& ctx);

// DINIM52Click: high-order record book with error detection
CommandStatus DiniBookCheckedCommand(CommandContext& ctx);
std::span<const CliOption> DiniBookCheckedCliOptions();

// RECEM51Click: geological-institute record book
CommandStatus DiniBookGeoCommand(CommandContext& ctx);
std::span<const CliOption> DiniBookGeoCliOptions();

}  // namespace tarvosen
