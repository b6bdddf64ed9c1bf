#include "points/point_commands.h"

#include <array>

#include "app/conversion.h"
#include "points/nikon300_raw.h"
#include "points/point_exports.h"

namespace tarvosen {

CommandStatus PointsToDxfCommand(CommandContext& ctx) {
    return ConvertInPlace(ctx, {"r5xyz.tmp", true}, points::ExportPointsToDxf);
}

CommandStatus PointsToR5Command(CommandContext& ctx) {
    return ConvertInPlace(ctx, {"r5xyz.tmp", true}, points::ExportPointsToR5);
}

std::span<const CliOption> PointsToR5CliOptions() {
    static constexpr std::array<CliOption, 1> kOptions{{
        {"keep-letters", "",
         "Keep the letters of point names instead of converting them to numbers (A=1 ... Z=26).",
         [](DialogOptions& o, const std::string&) { o.r5.convertAlphabeticToNumber = false; }},
    }};
    return kOptions;
}

CommandStatus PointsToCorCommand(CommandContext& ctx) {
    return ConvertInPlace(ctx, {"~temp~.tmp", false}, points::ExportPointsToCor);
}

CommandStatus PointsToOrgCommand(CommandContext& ctx) {
    return ConvertInPlace(ctx, {"~DHtemp~.tmp", false}, points::ExportPointsToOrg);
}

CommandStatus Nikon300ToPointsCommand(CommandContext& ctx) {
    return ConvertInPlace(ctx, {"~temp~.tmp", false}, points::ConvertNikon300400ToPoints);
}

}  // namespace tarvosen
