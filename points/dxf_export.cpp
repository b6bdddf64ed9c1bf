// Point list -> AutoCAD DXF point drawing.

#include "points/point_exports.h"
#include "zeiss/dxf_point_drawing.h"

namespace tarvosen::points {

bool ExportPointsToDxf(CommandContext& ctx, const std::filesystem::path& in) {
    const zeiss::DxfLineSink sink = [&ctx](std::string_view line) {
        AppendWorkspaceLine(ctx, std::string(line));
    };
    PointListReader reader(in);
    LineIssue noZ("had a Z that is not a number; the drawing has Z 0.000000 there");
    zeiss::WriteDxfHead(sink);
    PointRecord p;
    while (reader.ReadPointRecord(p)) {
        if (p.x.empty()) continue;  // nothing to place
        bool isNumber = true;
        const std::string z = DxfZ(p.z, isNumber);
        if (!isNumber) noZ.add(reader.lineNumber());
        zeiss::WriteDxfPoint(sink, {p.name, p.x, p.y, z, p.code});
    }
    zeiss::WriteDxfTail(sink);
    ShowReadWarnings(ctx, reader);
    if (!noZ.empty()) ctx.user.warning(noZ.message());
    return true;
}

}  // namespace tarvosen::points
