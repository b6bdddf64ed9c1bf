// EPSW *.COR and TOPMAP/Daoheng *.org: fields copied as texts.

#include "points/point_exports.h"
#include "points/point_list_options.h"

#include "app/conversion.h"
#include "app/line_account.h"

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
    PointListReader reader = ReaderOf(ctx, in);
    if (RefusedAsPointList(ctx, reader)) return false;
    PointRecord p;
    long counter = 1;
    for (; reader.ReadPointRecord(p); ++counter) {
        AppendWorkspaceLine(ctx, CorNumberLine(counter));
        AppendWorkspaceLine(ctx, CorPointLine(p));
    }
    return EndPointExport(ctx, reader, static_cast<std::size_t>(counter - 1));
}

bool ExportPointsToOrg(CommandContext& ctx, const Workspace& in) {
    PointListReader reader = ReaderOf(ctx, in);
    if (RefusedAsPointList(ctx, reader)) return false;
    PointRecord p;
    std::size_t points = 0;
    for (; reader.ReadPointRecord(p); ++points) AppendWorkspaceLine(ctx, OrgLine(p));
    return EndPointExport(ctx, reader, points);
}

PointListReader ReaderOf(CommandContext& ctx, const Workspace& in) {
    return PointListReader(in, ctx.options.get<PointListOptions>().layout, TextsOf(ctx),
                           DocumentFileName(ctx));
}

bool RefusedAsPointList(CommandContext& ctx, const PointListReader& reader) {
    if (reader.refusal().empty()) return false;
    RefuseInput(ctx, reader.refusal());
    return true;
}

bool EndPointExport(CommandContext& ctx, PointListReader& reader, std::size_t points,
                    std::initializer_list<const LineIssue*> issues) {
    const MessageTexts texts = TextsOf(ctx);
    // The document's name, kept by the reader: an "END" line written resets it.
    const std::string& file = reader.file();
    ctx.user.information(DescribeShape(reader.shape(), texts));
    for (const auto& text : reader.warnings()) ctx.user.warning(text);
    for (const LineIssue* issue : issues)
        if (!issue->empty()) ctx.user.warning(issue->message(file, texts));
    const LineAccount& account = reader.account();
    if (!CheckLinesUnderstood(ctx, account)) return false;
    if (points == 0) return RefuseNothingWritten(ctx, account);
    NoteReadSummary(ctx, account,
                    texts(msg::kPointsWritten, "%1 written",
                          {CountText(texts, points, msg::kPointCount, "1 point", "%1 points")}));
    return true;
}

}  // namespace tarvosen::points
