#include "zeiss/zeiss_commands.h"

namespace tarvosen {

CommandStatus R5ToPointsCommand(CommandContext&) { ThrowNotBuilt("\"R5 -> Pn, X, Y, Z\""); }
std::span<const CliOption> R5ToPointsCliOptions() { return {}; }

CommandStatus R5ToDxfCommand(CommandContext&) { ThrowNotBuilt("\"R5 -> Auto CAD Dxf file\""); }
std::span<const CliOption> R5ToDxfCliOptions() { return {}; }

CommandStatus R5ToM5Command(CommandContext&) { ThrowNotBuilt("\"R5 -> M5\""); }

CommandStatus M5ToR5Command(CommandContext&) { ThrowNotBuilt("\"M5 -> R5\""); }

CommandStatus Rec500ToM5Command(CommandContext&) { ThrowNotBuilt("\"REC500 -> REC E\""); }

CommandStatus ShowR5OptionsCommand(CommandContext& ctx) {
    ctx.user.showOptionDialog(OptionDialog::R5Option);
    return CommandStatus::Done;
}

}  // namespace tarvosen
