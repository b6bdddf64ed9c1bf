#include "zeiss/zeiss_commands.h"

#include "app/conversion.h"
#include "zeiss/record_conversions.h"

namespace tarvosen {

CommandStatus R5ToPointsCommand(CommandContext&) {
    ThrowNotBuilt("\"R5 -> Pn, X, Y, Z\"");
}
std::span<const CliOption> R5ToPointsCliOptions() {
    return {};
}

CommandStatus R5ToDxfCommand(CommandContext&) {
    ThrowNotBuilt("\"R5 -> Auto CAD Dxf file\"");
}
std::span<const CliOption> R5ToDxfCliOptions() {
    return {};
}

CommandStatus R5ToM5Command(CommandContext& ctx) {
    return ConvertInPlace(ctx, {.temp = "R52M5.tmp"}, zeiss::AppendR5AsM5);
}

CommandStatus M5ToR5Command(CommandContext& ctx) {
    return ConvertInPlace(ctx, {.temp = "M52R5.tmp"}, zeiss::AppendM5AsR5);
}

CommandStatus Rec500ToM5Command(CommandContext& ctx) {
    return ConvertInPlace(ctx, {.temp = "~R5002M5.tmp"}, zeiss::AppendRec500AsM5);
}

CommandStatus ShowR5OptionsCommand(CommandContext& ctx) {
    ctx.user.showOptionDialog(OptionDialog::R5Option);
    return CommandStatus::Done;
}

}  // namespace tarvosen
