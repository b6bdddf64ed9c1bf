#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"
#include "app/format_check.h"

namespace tarvosen {

// --layout own|cass, taken by every point list export.
std::span<const CliOption> PointListCliOptions();

// convert.points.dxf: point list -> AutoCAD DXF
CommandStatus PointsToDxfCommand(CommandContext& ctx);

// convert.points.r5: point list -> R5
CommandStatus PointsToR5Command(CommandContext& ctx);
std::span<const CliOption> PointsToR5CliOptions();

// convert.points.cor: point list -> EPSW *.COR
CommandStatus PointsToCorCommand(CommandContext& ctx);

// convert.points.org: point list -> TOPMAP *.org
CommandStatus PointsToOrgCommand(CommandContext& ctx);

// convert.nikon300.points: Nikon 300/400 raw -> point list
CommandStatus Nikon300ToPointsCommand(CommandContext& ctx);

// The rows of this subsystem's commands in the command table.
std::span<const CommandRow> PointCommandRows();
// The formats of the subsystem's readers, for `check`.
std::span<const FormatCheck> PointFormatChecks();

}  // namespace tarvosen
