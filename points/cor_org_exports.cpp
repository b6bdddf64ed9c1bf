// EPSW *.COR and TOPMAP/Daoheng *.org: fields copied as texts.

#include "points/point_exports.h"
#include "points/point_list_options.h"

#include "app/conversion.h"

namespace tarvosen::points {

std::string CorNumberLine(long counter) {
    return "904  1  0  $" + std::to_string(counter + 100);
}

std::string CorPointLine(const PointRecord& p) {
    // Y comes before X in this format.
    std::string line;
    line.reserve(p.name.size() + p.x.size() + p.y.size() + p.z.size() + 24);
    line.append(p.name).append("  ").append(p.y).append("  ").append(p.x);
    line.append("  ").append(p.z).append("  1  1  0  0");
    return line;
}

std::string OrgLine(const PointRecord& p) {
    std::string line = "b,";
    line.reserve(p.name.size() + p.x.size() + p.y.size() + p.z.size() + p.code.size() + 48);
    line.append(p.name).append(",").append(p.x).append(",").append(p.y).append(",");
    line.append(p.z).append(",16384=10+");
    // "%3s": right-aligned in 3 columns, a longer code written in full.
    if (p.code.size() < 3) line.append(3 - p.code.size(), ' ');
    line.append(p.code).append(",    0,    0,    0");
    return line;
}

bool ExportPointsToCor(CommandContext& ctx, const Workspace& in) {
    PointListReader reader(in, ctx.options.get<PointListOptions>().layout, TextsOf(ctx));
    if (RefusedAsPointList(ctx, reader)) return false;
    PointRecord p;
    for (long counter = 1; reader.ReadPointRecord(p); ++counter) {
        AppendWorkspaceLine(ctx, CorNumberLine(counter));
        AppendWorkspaceLine(ctx, CorPointLine(p));
    }
    ShowReadMessages(ctx, reader);
    return true;
}

bool ExportPointsToOrg(CommandContext& ctx, const Workspace& in) {
    PointListReader reader(in, ctx.options.get<PointListOptions>().layout, TextsOf(ctx));
    if (RefusedAsPointList(ctx, reader)) return false;
    PointRecord p;
    while (reader.ReadPointRecord(p)) AppendWorkspaceLine(ctx, OrgLine(p));
    ShowReadMessages(ctx, reader);
    return true;
}

bool RefusedAsPointList(CommandContext& ctx, const PointListReader& reader) {
    if (reader.refusal().empty()) return false;
    RefuseInput(ctx, reader.refusal());
    return true;
}

void ShowReadMessages(CommandContext& ctx, const PointListReader& reader) {
    ctx.user.information(DescribeShape(reader.shape(), TextsOf(ctx)));
    for (const auto& text : reader.warnings()) ctx.user.warning(text);
}

}  // namespace tarvosen::points
