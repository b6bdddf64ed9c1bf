#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"

namespace tarvosen {

// PnXYZ1Click: "R5 -> Pn, X, Y, Z"
CommandStatus R5ToPointsCommand(CommandContext& ctx);
std::span<const CliOption> R5ToPointsCliOptions();

// AutoCADDxf1Click: "R5 -> Auto CAD Dxf file"
CommandStatus R5ToDxfCommand(CommandContext& ctx);
std::span<const CliOption> R5ToDxfCliOptions();

// R5RecE1Click: "R5 -> M5"
CommandStatus R5ToM5Command(CommandContext& ctx);

// RecER51Click: "M5 -> R5"
CommandStatus M5ToR5Command(CommandContext& ctx);

// REC500RECE1Click: "REC500 -> REC E"
CommandStatus Rec500ToM5Command(CommandContext& ctx);

// R51Click: shows the R5 option dialog.
CommandStatus ShowR5OptionsCommand(CommandContext& ctx);

}  // namespace tarvosen
