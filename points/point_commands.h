#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"

namespace tarvosen {

// --layout own|cass, taken by every point list export.
std::span<const CliOption> PointListCliOptions();

// XYZR51Click: point list -> AutoCAD DXF
CommandStatus PointsToDxfCommand(CommandContext& ctx);

// XYZIncludeCodeR51Click: point list -> R5
CommandStatus PointsToR5Command(CommandContext& ctx);
std::span<const CliOption> PointsToR5CliOptions();

// XYZEPSWCOR1Click: point list -> EPSW *.COR
CommandStatus PointsToCorCommand(CommandContext& ctx);

// XYZC1Click: point list -> TOPMAP *.org
CommandStatus PointsToOrgCommand(CommandContext& ctx);

// Nikon300400XYZ2Click: Nikon 300/400 raw -> point list
CommandStatus Nikon300ToPointsCommand(CommandContext& ctx);

}  // namespace tarvosen
