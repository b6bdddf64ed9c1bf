#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"
#include "app/format_check.h"

namespace tarvosen {

// book.tolerances: record book, surveying-institute layout
CommandStatus DiniBookCommand(CommandContext& ctx);

// book.tolerances.checked: high-order record book with error detection
CommandStatus DiniBookCheckedCommand(CommandContext& ctx);
std::span<const CliOption> DiniBookCheckedCliOptions();

// book.tolerances.geo: geological-institute record book
CommandStatus DiniBookGeoCommand(CommandContext& ctx);
std::span<const CliOption> DiniBookGeoCliOptions();

// The rows of this subsystem's commands in the command table.
std::span<const CommandRow> LevellingCommandRows();
// The formats of the subsystem's readers, for `check`.
std::span<const FormatCheck> LevellingFormatChecks();

}  // namespace tarvosen
