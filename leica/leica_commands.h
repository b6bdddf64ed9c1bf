#pragma once
// The commands of the Leica GSI subsystem, as the command table calls them.

#include <span>

#include "app/command.h"
#include "app/format_check.h"

namespace tarvosen {

// convert.gsi.points: "GSI -> Pn, X, Y, Z"
CommandStatus GsiToPointsCommand(CommandContext& ctx);
// convert.gsi.dxf: "GSI -> AutoCAD DXF drawing"
CommandStatus GsiToDxfCommand(CommandContext& ctx);
// convert.gsi.cosa: the job's set-ups and observations as a COSA file
CommandStatus GsiToCosaCommand(CommandContext& ctx);

std::span<const CommandRow> LeicaCommandRows();
// The formats of the subsystem's readers, for `check`.
std::span<const FormatCheck> LeicaFormatChecks();

}  // namespace tarvosen
