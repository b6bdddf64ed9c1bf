#include "points/point_commands.h"

namespace tarvosen {

CommandStatus PointsToDxfCommand(CommandContext&) { ThrowNotBuilt("point list -> AutoCAD DXF"); }

CommandStatus PointsToR5Command(CommandContext&) { ThrowNotBuilt("point list -> R5"); }
std::span<const CliOption> PointsToR5CliOptions() { return {}; }

CommandStatus PointsToCorCommand(CommandContext&) { ThrowNotBuilt("point list -> EPSW *.COR"); }

CommandStatus PointsToOrgCommand(CommandContext&) { ThrowNotBuilt("point list -> TOPMAP *.org"); }

CommandStatus Nikon300ToPointsCommand(CommandContext&) { ThrowNotBuilt("Nikon 300/400 raw -> point list"); }

}  // namespace tarvosen
