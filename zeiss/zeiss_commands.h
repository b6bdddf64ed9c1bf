#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"
#include "app/format_check.h"

namespace tarvosen {

// convert.r5.points: "R5 -> Pn, X, Y, Z"
CommandStatus R5ToPointsCommand(CommandContext& ctx);
std::span<const CliOption> R5ToPointsCliOptions();

// convert.r5.dxf: "R5 -> Auto CAD Dxf file"
CommandStatus R5ToDxfCommand(CommandContext& ctx);
std::span<const CliOption> R5ToDxfCliOptions();

// convert.r5.m5: "R5 -> M5"
CommandStatus R5ToM5Command(CommandContext& ctx);

// convert.m5.r5: "M5 -> R5"
CommandStatus M5ToR5Command(CommandContext& ctx);

// convert.rec500.m5: "REC500 -> REC E"
CommandStatus Rec500ToM5Command(CommandContext& ctx);

// convert.r5.options: shows the R5 option dialog.
CommandStatus ShowR5OptionsCommand(CommandContext& ctx);

// The rows of this subsystem's commands in the command table.
std::span<const CommandRow> ZeissCommandRows();
// The formats of the subsystem's readers, for `check`.
std::span<const FormatCheck> ZeissFormatChecks();

}  // namespace tarvosen
