#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"
#include "app/format_check.h"

namespace tarvosen {

// convert.nikon.cosa: Nikon raw -> COSA observation file
CommandStatus NikonToCosaCommand(CommandContext& ctx);
std::span<const CliOption> NikonToCosaCliOptions();

// convert.nikon.traverse: Nikon raw -> adjustment text and traverse record book
CommandStatus NikonToTraverseCommand(CommandContext& ctx);
std::span<const CliOption> NikonToTraverseCliOptions();

// Button1Click of the traverse dialog: the adjustment text and the record
// book from one staged copy of the workspace, as the options ask.
CommandStatus RunTraverseExport(CommandContext& ctx);

// The rows of this subsystem's commands in the command table.
std::span<const CommandRow> AdjustmentCommandRows();
// The formats of the subsystem's readers, for `check`.
std::span<const FormatCheck> AdjustmentFormatChecks();

}  // namespace tarvosen
