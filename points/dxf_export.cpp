// Point list -> AutoCAD DXF point drawing.

#include "points/point_exports.h"
#include "zeiss/dxf_point_drawing.h"
#include "points/point_list_options.h"

namespace tarvosen::points {

std::size_t DxfLineCount(const WorkspaceLines& pointList) {
    constexpr std::size_t kHeadAndTail = 8, kPoint = 10, kText = 14;
    std::size_t count = kHeadAndTail;
    // Counted as the program's own comma layout; lists in other layouts only
    // get less room made first.
    for (std::string_view line : pointList) {
        const LineFields f = SplitPointLine(line, FieldSeparator::Comma);
        if (f.field[1].empty()) continue;
        count += kPoint + kText + (zeiss::DxfCodeIsShown(f.field[4]) ? kText : 0);
    }
    return count;
}

bool ExportPointsToDxf(CommandContext& ctx, const Workspace& in) {
    // Lines go to the workspace directly: a TEXT value "END" would only reset
    // the document name, which this command resets at its end anyway.
    const zeiss::DxfLineSink sink = [&ctx](std::string_view line) {
        ctx.workspace.append(line);
    };
    PointListReader reader = ReaderOf(ctx, in);
    if (RefusedAsPointList(ctx, reader)) return false;
    // CASS draws east across and north up; the program's own lists put X
    // across and Y up.
    const bool eastAcross = reader.shape().layout == PointListLayout::Cass;
    LineIssue noZ(msg::kDxfZNotNumber, "%1 had a Z that is not a number; the drawing has Z 0.000000 there.");
    zeiss::WriteDxfHead(sink);
    PointRecord p;
    std::size_t points = 0;
    while (reader.ReadPointRecord(p)) {
        if (p.x.empty()) {  // nothing to place
            reader.leaveOut();
            continue;
        }
        bool isNumber = true;
        const std::string z = DxfZ(p.z, isNumber);
        if (!isNumber) {
            noZ.add(reader.lineNumber());
            reader.readImperfectly();
        }
        if (eastAcross)
            zeiss::WriteDxfPoint(sink, {p.name, p.y, p.x, z, p.code});
        else
            zeiss::WriteDxfPoint(sink, {p.name, p.x, p.y, z, p.code});
        ++points;
    }
    zeiss::WriteDxfTail(sink);
    return EndPointExport(ctx, reader, points, {&noZ});
}

}  // namespace tarvosen::points
