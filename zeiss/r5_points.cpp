#include "zeiss/r5_points.h"

#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>

#include "app/conversion.h"
#include "app/errors.h"
#include "zeiss/angle_texts.h"
#include "zeiss/dxf_point_drawing.h"
#include "zeiss/observed_points.h"
#include "zeiss/r5_line.h"
#include "zeiss/record_reader.h"
#include "zeiss/r5_options.h"

namespace tarvosen::zeiss {

namespace {

// "%.3f", or "%10.3f" when padded.
void AppendFixed3(std::string& out, double v, bool padded) {
    char buf[400];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3).ptr;
    const auto n = static_cast<std::size_t>(end - buf);
    if (padded && n < 10) out.append(10 - n, ' ');
    out.append(buf, n);
}

bool IsStationCode(std::string_view code) {
    return code == "S  ";
}

}  // namespace

PointXYZ ComputePolarPoint(const StationState& station, const PolarObservation& observation) {
    const double hz = R5AngleToRadians(observation.horizontalDirection, observation.directionUnit);
    const double v = R5AngleToRadians(observation.zenithAngle, observation.zenithUnit);
    const double d = observation.slopeDistance;
    const double along = std::sin(v) * d + observation.alongOffset;
    const double across = observation.acrossOffset;
    return {station.x + along * std::cos(hz) - across * std::sin(hz),
            station.y + along * std::sin(hz) + across * std::cos(hz),
            std::cos(v) * d + (station.z + station.instrumentHeight - station.targetHeight)};
}

void PointListWriter::writePointLine(double x, double y, double z, std::string_view code,
                                     std::string_view pointNumber) {
    line_.clear();
    if (options_.reassignPointNames)
        line_ += std::to_string(pointCounter_);
    else
        line_ += pointNumber;
    const bool withCode = options_.includeCode;
    for (double v : {x, y, z}) {
        line_ += ',';
        AppendFixed3(line_, v, !withCode);
    }
    line_ += ',';
    if (withCode) line_ += code;
    out_.append(line_);
    ++pointCounter_;
}

Outcome ConvertR5ToPoints(CommandContext& ctx, const Workspace& in, Workspace& out,
                          int& pointCounter) {
    StationState station;
    PointListWriter writer(out, ctx.options.get<R5Options>(), pointCounter);
    ObservedPoints observed(ctx, writer);
    RecordReader reader(in, kR5PointReadLimit);
    const bool compute = ctx.options.get<R5Options>().computeFromObservations();

    std::string text;
    while (reader.next(text)) {
        const R5Line line(text, reader.lineNumber());
        if (line.isEnd()) break;
        if (!line.isR5()) {
            const MessageTexts texts = TextsOf(ctx);
            const std::string refusal = NotARecordMessage(texts, texts(msg::kNotR5, kNotR5Message),
                                                          "For R5", line.lineNumber(), text);
            RefuseInput(ctx, refusal);
            return Outcome::Refused(refusal);
        }
        const std::string code = line.code();
        const std::string number = line.pointNumber();
        // A point list field cannot hold a comma; such a name would shift
        // every field after it.
        if (!ctx.options.get<R5Options>().reassignPointNames && number.find(',') != std::string::npos)
            throw ConversionError({msg::kPointNumberComma,
                                   "Line %1: the point number \"%2\" holds a comma, which a point "
                                   "list cannot carry",
                                   {std::to_string(line.lineNumber()), number}});
        const bool isStation = IsStationCode(code);
        auto coordinates = [&](double x, double y) {
            const double z = line.fieldNumberOrZero(2);
            writer.writePointLine(x, y, z, code, number);
            if (isStation) {
                station.x = x;
                station.y = y;
                station.z = z;
                station.stationSet = true;
            }
        };
        const char c48 = line.at(48);
        const std::string type1 = line.fieldType(0), type2 = line.fieldType(1);
        const bool eastFirst = c48 == 'Y' || c48 == 'E', northFirst = c48 == 'X' || c48 == 'N';
        observed.beforeRecord(line, eastFirst || northFirst);
        if (eastFirst) coordinates(line.fieldNumber(0), line.fieldNumber(1));
        if (isStation && line.fieldType(2) == "Z ") {
            station.z = line.fieldNumber(2);
            station.stationSet = true;
        }
        if (northFirst) coordinates(line.fieldNumber(1), line.fieldNumber(0));
        if (type2 == "Om") station.stationSet = true;
        if (type2 == "ih") station.instrumentHeight = line.fieldNumber(1);
        if (type1 == "th") station.targetHeight = line.fieldNumber(0);
        if (IsTargetOffset(type1)) observed.offset(line);
        if (type2 == "Hz") observed.observation(line, station, compute);
    }
    observed.finish();
    reader.reportCutLines(ctx.user, TextsOf(ctx));
    return Outcome::Done();
}

void WriteDxfFromPoints(const Workspace& points, Workspace& dxf) {
    const DxfLineSink sink = [&dxf](std::string_view l) { dxf.append(l); };
    WriteDxfHead(sink);
    for (const std::string_view line : points.view()) {
        // name, X, Y, Z up to the next comma each; the code is the rest.
        std::string_view rest = line;
        std::string_view fields[4];
        for (auto& field : fields) {
            const auto comma = rest.find(',');
            field = rest.substr(0, comma);
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        }
        WriteDxfPoint(sink, {fields[0], fields[1], fields[2], fields[3], rest});
    }
    WriteDxfTail(sink);
}

}  // namespace tarvosen::zeiss
