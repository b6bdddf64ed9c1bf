#include "points/point_commands.h"

#include <array>

#include "app/conversion.h"
#include "app/errors.h"
#include "i18n/message_catalogue.h"
#include "points/nikon300_raw.h"
#include "points/point_exports.h"
#include "points/point_list_options.h"
#include "zeiss/r5_options.h"

namespace tarvosen {

namespace {

// Runs an export with room made first for the `room` lines it will write, so
// a long list is not moved again and again while its result grows.
// An empty input is refused first.
template <typename Body>
CommandStatus Export(CommandContext& ctx, const ConvertInPlaceSteps& steps, std::size_t room,
                     Body body) {
    if (RefuseEmptyInput(ctx, msg::kNoDataForConversion, kNoDataForConversion))
        return CommandStatus::Stopped;
    return ConvertInPlace(ctx, steps, [room, body](CommandContext& c, const auto& in) {
        c.workspace.reserve(room);
        return body(c, in);
    });
}

void ApplyLayout(OptionsStore& o, const std::string& value) {
    if (value == "own")
        o.get<PointListOptions>().layout = PointListLayout::Own;
    else if (value == "cass")
        o.get<PointListOptions>().layout = PointListLayout::Cass;
    else
        throw UsageError("--layout takes own or cass, not \"" + value + "\"");
}

constexpr CliOption kLayoutOption{
    "layout", "own|cass",
    "Read the list as name,X,Y,Z,code (own) or name,code,east,north,height (cass) instead "
    "of deciding from the file.",
    ApplyLayout};

}  // namespace

std::span<const CliOption> PointListCliOptions() {
    static constexpr std::array<CliOption, 1> kOptions{{kLayoutOption}};
    return kOptions;
}

CommandStatus PointsToDxfCommand(CommandContext& ctx) {
    return Export(ctx, {.resetDocumentName = true}, points::DxfLineCount(ctx.workspace.view()),
                  points::ExportPointsToDxf);
}

CommandStatus PointsToR5Command(CommandContext& ctx) {
    return Export(ctx, {.resetDocumentName = true}, ctx.workspace.lineCount() + 1,
                  points::ExportPointsToR5);
}

std::span<const CliOption> PointsToR5CliOptions() {
    static constexpr std::array<CliOption, 2> kOptions{{
        {"keep-letters", "",
         "Keep the letters of point names instead of converting them to numbers (A=1 ... Z=26).",
         [](OptionsStore& o, const std::string&) { o.get<R5Options>().convertAlphabeticToNumber = false; }},
        kLayoutOption,
    }};
    return kOptions;
}

CommandStatus PointsToCorCommand(CommandContext& ctx) {
    return Export(ctx, {.resetDocumentName = false}, 2 * ctx.workspace.lineCount(),
                  points::ExportPointsToCor);
}

CommandStatus PointsToOrgCommand(CommandContext& ctx) {
    return Export(ctx, {.resetDocumentName = false}, ctx.workspace.lineCount(),
                  points::ExportPointsToOrg);
}

CommandStatus Nikon300ToPointsCommand(CommandContext& ctx) {
    return Export(ctx, {.resetDocumentName = false}, ctx.workspace.lineCount(),
                  points::ConvertNikon300400ToPoints);
}

}  // namespace tarvosen
