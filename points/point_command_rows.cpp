// The rows of the point list conversions.
// The command table (commands/) places them in the menus.

#include <array>

#include "points/point_list_options.h"
#include "app/command.h"
#include "points/nikon300_raw.h"
#include "points/point_commands.h"
#include "points/point_exports.h"

namespace tarvosen {

namespace {

using enum RowKind;
using enum CliOutput;

const std::array kRows = std::to_array<CommandRow>({
    {Item, "convert.nikon300.points", {"NIKON 300/400 RAW -> Pn, X, Y, Z, [C]", "convert.nikon"},
     {"NIKON 300/400 RAW -> Pn, X, Y, Z, [C]", "convert.nikon"},
     {"NIKON 300/400 RAW -> Pn, X, Y, Z, [C]", "convert.nikon"}, Nikon300ToPointsCommand, {}, 0,
     "nikon300-to-points", "Convert Nikon 300/400 raw data to a point list.", nullptr, Workspace},
    {Item, "convert.points.dxf", {"Pn, X, Y, Z, [C] -> AutoCAD DXF drawing", "convert"},
     {"Pn, X, Y, Z, [C] -> AutoCAD DXF 图形文件", "convert"}, {"Pn, X, Y, Z, [C] -> AutoCAD DXF 圖形檔案", "convert"},
     PointsToDxfCommand, {}, 0, "points-to-dxf",
     "Convert a point list to an AutoCAD DXF point drawing.", PointListCliOptions, Workspace},
    {Item, "convert.points.r5", {"Pn, X, Y, Z, [C] -> R5", "convert"},
     {"Pn, X, Y, Z, [C] -> R5", "convert"}, {"Pn, X, Y, Z, [C] -> R5", "convert"},
     PointsToR5Command, {}, 0, "points-to-r5", "Convert a point list to Zeiss R5 records.",
     PointsToR5CliOptions, Workspace},
    {Item, "convert.points.cor", {"Pn, X, Y, Z, [C] -> EPSW *.COR", "convert"},
     {"Pn, X, Y, Z, [C] -> 清华山维 *.COR", "convert"},
     {"Pn, X, Y, Z, [C] -> 清華山維 *.COR", "convert"}, PointsToCorCommand, {}, 0, "points-to-cor",
     "Convert a point list to an EPSW *.COR file.", PointListCliOptions, Workspace},
    {Item, "convert.points.org", {"Pn, X, Y, Z, [C] -> TOPMAP *.org", "convert"},
     {"Pn, X, Y, Z, [C] -> 道亨格式 *.org", "convert"},
     {"Pn, X, Y, Z, [C] -> 道亨格式 *.org", "convert"}, PointsToOrgCommand, {}, 0, "points-to-org",
     "Convert a point list to a TOPMAP *.org file.", PointListCliOptions, Workspace},
});

}  // namespace

std::span<const CommandRow> PointCommandRows() { return kRows; }

namespace {

std::optional<LineAccount> AccountOfPointList(CommandContext& ctx, const tarvosen::Workspace& lines) {
    points::PointListReader reader(lines, PointListLayout::Automatic, TextsOf(ctx),
                                   DocumentFileName(ctx));
    if (points::RefusedAsPointList(ctx, reader)) return std::nullopt;
    points::PointRecord record;
    while (reader.ReadPointRecord(record)) {
    }
    return reader.account();
}

std::optional<LineAccount> AccountOfNikon300400(CommandContext& ctx, const tarvosen::Workspace& lines) {
    return points::AccountNikon300400Lines(lines, DocumentFileName(ctx));
}

// The 300/400 signature is told for certain; a point list by the look of its lines.
constexpr FormatCheck kFormatChecks[] = {
    {"Nikon 300/400 raw", points::IsNikon300400Raw, AccountOfNikon300400},
    {"point list", points::LooksLikePointList, AccountOfPointList},
};

}  // namespace

std::span<const FormatCheck> PointFormatChecks() { return kFormatChecks; }

}  // namespace tarvosen
