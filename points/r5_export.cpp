// Point list -> Zeiss R5 coordinate lines.

#include "points/point_exports.h"
#include "zeiss/r5_line.h"

namespace tarvosen::points {

std::string ConvertAlphabeticToNumber(std::string_view name) {
    std::string out;
    for (const char ch : name) {
        const int c = static_cast<unsigned char>(ch);
        if ((c >= '0' && c <= '9') || c < 48 || c > 127)
            out += ch;
        else if (c >= 'A' && c <= 'Z')
            out += std::to_string(c - 'A' + 1);
        else
            out += std::to_string(c - 96);  // a..z give 1..26, the underscore -1
        if (out.size() >= 4) break;         // only 4 are kept
    }
    if (out.size() > 4) out.resize(4);
    return out;
}

std::string R5PointLine(long address, const PointRecord& p, bool convertAlphabetic) {
    std::string_view name = std::string_view(p.name).substr(0, 4);
    std::string converted;
    if (convertAlphabetic) {
        converted = ConvertAlphabeticToNumber(name);
        name = converted;
    }
    const std::string_view code = std::string_view(p.code).substr(0, 3);
    return zeiss::FormatR5CoordinateLine(address, code, name, p.x, p.y, p.z);
}

bool ExportPointsToR5(CommandContext& ctx, const Workspace& in) {
    const bool convert = ctx.options.r5.convertAlphabeticToNumber;
    PointListReader reader(in);
    PointRecord p;
    long address = 1;
    for (; reader.ReadPointRecord(p); ++address)
        AppendWorkspaceLine(ctx, R5PointLine(address, p, convert));
    AppendWorkspaceLine(ctx, "END");
    ShowReadWarnings(ctx, reader);
    const long points = address - 1;
    if (points > 9999)
        ctx.user.warning("The point list holds " + std::to_string(points) +
                         " points; R5 addresses above 9999 do not fit the 4 address columns and "
                         "shift the rest of their lines to the right.");
    return true;
}

}  // namespace tarvosen::points
