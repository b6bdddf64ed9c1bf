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
#include "zeiss/record_account.h"
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

namespace {

// One R5 file read into points: the station, the points written, and every
// line counted in the account.
class R5PointReader {
  public:
    R5PointReader(CommandContext& ctx, Workspace& out, int& pointCounter, LineAccount& account)
        : ctx_(ctx),
          options_(ctx.options.get<R5Options>()),
          writer_(out, options_, pointCounter),
          observed_(ctx, writer_, account),
          account_(account) {}

    // Reads the lines of `in`; refused (the message shown) when a line is
    // not R5 or a value the points depend on has a unit it does not read.
    Outcome read(const Workspace& in) {
        RecordReader reader(in, kR5PointReadLimit, account_);
        std::string text;
        while (reader.next(text)) {
            const R5Line line(text, reader.lineNumber());
            if (line.isEnd()) {
                PassOverFromEnd(account_, line.lineNumber(), in.lineCount());
                break;
            }
            if (!line.isR5()) {
                const MessageTexts texts = TextsOf(ctx_);
                const std::string refusal = NotARecordMessage(
                    texts, texts(msg::kNotR5, kNotR5Message), "For R5", line.lineNumber(), text);
                RefuseInput(ctx_, refusal);
                return Outcome::Refused(refusal);
            }
            if (!layout_.readable(line, account_)) continue;
            if (!readRecord(line)) return Outcome::Refused(refusal_);
        }
        observed_.finish();
        reader.reportCutLines(ctx_.user, TextsOf(ctx_));
        layout_.report(ctx_);
        WarnLines(ctx_, withoutStation_, msg::kR5ObservationsWithoutStation,
                  "%1: line %2 is a polar observation before any station or orientation record; "
                  "no point was computed from it.",
                  "%1: lines %2 are polar observations before any station or orientation "
                  "record; no point was computed from them.");
        return Outcome::Done();
    }

  private:
    // False after the refusal of a unit or a setting the reader does not
    // read, shown and kept in refusal_.
    bool refuse(std::string text) {
        ctx_.user.error(text);
        refusal_ = std::move(text);
        return false;
    }
    // True when the values of fields `fields` that the reader applies are in
    // units it reads.
    bool unitsRead(const R5Line& line, std::initializer_list<int> fields, bool angles = false) {
        for (int i : fields) {
            const std::string unit = line.fieldUnit(i);
            const bool known = angles ? IsReadableAngleUnit(unit) : IsMetres(unit);
            if (!known)
                return refuse(UnknownUnitText(ctx_, line.lineNumber(), line.fieldType(i), unit));
        }
        return true;
    }

    bool readRecord(const R5Line& line) {
        const std::size_t n = line.lineNumber();
        const std::string kind = line.kind();
        if (kind != "KR" && kind != "TR") {
            account_.notUnderstood(n);
            return true;
        }
        const std::string code = line.code();
        const std::string number = line.pointNumber();
        // A point list field cannot hold a comma; such a name would shift
        // every field after it.
        if (!options_.reassignPointNames && number.find(',') != std::string::npos)
            throw ConversionError({msg::kPointNumberComma,
                                   "Line %1: the point number \"%2\" holds a comma, which a point "
                                   "list cannot carry",
                                   {std::to_string(n), number}});
        const bool isStation = code == "S  ";
        const char c48 = line.at(48);
        const std::string type1 = line.fieldType(0), type2 = line.fieldType(1),
                          type3 = line.fieldType(2);
        const bool eastFirst = c48 == 'Y' || c48 == 'E', northFirst = c48 == 'X' || c48 == 'N';
        const bool coordinates = eastFirst || northFirst;
        const bool stationHeight = isStation && type3 == "Z ";
        const std::size_t zValue = R5Line::fieldColumn(2) + 3;
        const bool zGiven = !line.isBlank(zValue, zValue + 10);
        const bool observation = type2 == "Hz", offset = IsTargetOffset(type1);
        const bool scale = type1 == "m " || type2 == "m " || type3 == "m ";
        const bool setting = stationHeight || type2 == "Om" || type2 == "ih" || type1 == "th" || scale;

        if (coordinates && !unitsRead(line, {0, 1})) return false;
        if ((coordinates || stationHeight) && zGiven && !unitsRead(line, {2})) return false;
        if (type2 == "ih" && !unitsRead(line, {1})) return false;
        if (type1 == "th" && !unitsRead(line, {0})) return false;
        if (offset && compute() && !unitsRead(line, {0})) return false;

        observed_.beforeRecord(line, coordinates);
        auto write = [&](double x, double y) {
            const double z = line.fieldNumberOrZero(2);
            writer_.writePointLine(x, y, z, code, number);
            if (isStation) {
                station_.x = x;
                station_.y = y;
                station_.z = z;
                station_.stationSet = true;
            }
        };
        if (eastFirst) write(line.fieldNumber(0), line.fieldNumber(1));
        if (stationHeight) {
            station_.z = line.fieldNumber(2);
            station_.stationSet = true;
        }
        if (northFirst) write(line.fieldNumber(1), line.fieldNumber(0));
        if (type2 == "Om") station_.stationSet = true;
        if (type2 == "ih") station_.instrumentHeight = line.fieldNumber(1);
        if (type1 == "th") station_.targetHeight = line.fieldNumber(0);
        if (scale) noteScale(line);
        if (offset) observed_.offset(line);
        if (observation) return readObservation(line);

        if (coordinates)
            account_.used(n);
        else if (setting)
            account_.passedOver(n, kStationSettings);
        else if (offset)
            ;  // counted by the observed points once its use is known
        else if (kind == "TR")
            account_.passedOver(n, kTextRecords);
        else
            account_.notUnderstood(n);
        return true;
    }

    bool readObservation(const R5Line& line) {
        const std::size_t distance = R5Line::fieldColumn(0) + 3;
        const bool measured = !line.isBlank(distance, distance + 10);
        if (compute() && measured) {
            // Only a slope distance and a zenith angle place the point as
            // computed; any other reading would be taken for them.
            if (line.fieldType(0) != "SD") {
                account_.notUnderstood(line.lineNumber());
                return true;
            }
            if (station_.stationSet) {
                if (line.fieldType(2) != "V1")
                    return refuse(TextsOf(ctx_)(
                        msg::kVerticalAngleUnknown,
                        "%1: line %2: the vertical angle is recorded as %3; only zenith angles "
                        "(V1) are read, so no point is computed from it. Nothing was written.",
                        {DocumentFileName(ctx_), std::to_string(line.lineNumber()),
                         std::string(Trim(line.fieldType(2), Blanks::Spaces))}));
                if (!unitsRead(line, {0}) || !unitsRead(line, {1, 2}, true)) return false;
                if (scaleLine_ != 0 && scale_ != 1)
                    return refuse(TextsOf(ctx_)(
                        msg::kScaleNotApplied,
                        "%1: line %2 sets the scale m %3, which the computation of polar points "
                        "does not apply; the point of line %4 would be off by it. Nothing was "
                        "written.",
                        {DocumentFileName(ctx_), std::to_string(scaleLine_), scaleText_,
                         std::to_string(line.lineNumber())}));
            } else {
                withoutStation_.add(line.lineNumber());
            }
        }
        observed_.observation(line, station_, compute());
        return true;
    }

    void noteScale(const R5Line& line) {
        for (int i = 0; i < 3; ++i) {
            if (line.fieldType(i) != "m ") continue;
            scale_ = line.fieldNumber(i);
            scaleText_ = std::string(Trim(line.fieldValue(i), Blanks::Spaces));
            scaleLine_ = line.lineNumber();
        }
    }

    bool compute() const { return options_.computeFromObservations(); }

    CommandContext& ctx_;
    const R5Options& options_;
    PointListWriter writer_;
    ObservedPoints observed_;
    LineAccount& account_;
    StationState station_;
    R5LayoutLines layout_;
    LineRanges withoutStation_;
    double scale_ = 1;
    std::string scaleText_;
    std::size_t scaleLine_ = 0;
    std::string refusal_;
};

}  // namespace

Outcome ReadR5Points(CommandContext& ctx, const Workspace& in, Workspace& out, int& pointCounter,
                     LineAccount& account) {
    return NamingTheFile(ctx, [&] {
        R5PointReader reader(ctx, out, pointCounter, account);
        return reader.read(in);
    });
}

Outcome ConvertR5ToPoints(CommandContext& ctx, const Workspace& in, Workspace& out,
                          int& pointCounter, LineAccount& account) {
    const int pointsBefore = pointCounter;
    Outcome read = ReadR5Points(ctx, in, out, pointCounter, account);
    if (!read) return read;
    if (!CheckLinesUnderstood(ctx, account)) return Outcome::Refused("not understood");
    if (pointCounter == pointsBefore) {
        RefuseNothingWritten(ctx, account);
        return Outcome::Refused("nothing written");
    }
    return Outcome::Done();
}

std::string PointsWrittenText(CommandContext& ctx, std::size_t points) {
    const MessageTexts texts = TextsOf(ctx);
    return points == 1 ? texts(msg::kPointWritten, "1 point written")
                       : texts(msg::kPointsWrittenCount, "%1 points written", {std::to_string(points)});
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
