#include "adjustment/cosa_export.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "adjustment/adjustment_options.h"
#include "adjustment/angle.h"
#include "adjustment/known_points.h"
#include "adjustment/nikon_raw.h"
#include "adjustment/record_notes.h"
#include "app/command_context.h"
#include "app/conversion.h"
#include "app/errors.h"
#include "app/number_text.h"
#include "i18n/message_catalogue.h"

namespace tarvosen {

namespace {

// The known points of the user's list; nothing when none was given or it
// cannot be read (said as a warning, the export goes on without them).
std::optional<std::vector<KnownPoint>> GivenKnownPoints(CommandContext& ctx,
                                                        const std::string& file,
                                                        LineAccount& account) {
    if (file.empty()) return std::nullopt;
    try {
        return ReadKnownPointFile(file, &account);
    } catch (const FileError& e) {
        // The system's own reason stays in English; the other languages
        // name the file only.
        ctx.user.warning(ctx.message(msg::kNoKnownPoints, kNoKnownPointsMessage) + "\n" +
                         TextsOf(ctx)(msg::kKnownPointFileUnreadable, "%1", {e.what(), file}));
        return std::vector<KnownPoint>();
    }
}

std::string HorizontalDistance(const RawRecord& r) {
    const RawObservationRecord& o = r.observation;
    const std::optional<double> slope = ParseWholeNumber(o.slopeDistance, Blanks::WhiteSpace);
    if (!slope)
        throw ConversionError({msg::kSlopeDistanceNoNumber,
                               "Line %1: the slope distance \"%2\" to point \"%3\" is not a "
                               "number, so it cannot be reduced to horizontal",
                               {std::to_string(r.lineNumber), o.slopeDistance, o.pointName}});
    return FormatGeneral(std::fabs(*slope * std::sin(DmsTextToRadians(o.zenithAngle))));
}

// The direction to the point from the backsight. A face II reading (zenith
// angle above 180°) is turned back by 180° first, so both faces of a target
// give the same direction.
double Direction(const RawObservationRecord& o, double backsight) {
    double reading = DmsTextToRadians(o.horizontalReading);
    if (DmsTextToRadians(o.zenithAngle) > kPi) reading -= kPi;
    return reading - backsight;
}

// A name of blanks only names nothing either.
bool Unnamed(std::string_view name) { return Trim(name, Blanks::WhiteSpace).empty(); }

// A backsight record without a distance (empty or zero) only repeats the
// set-up's zero direction.
bool HasDistance(const RawObservationRecord& o) {
    const std::string_view text = Trim(o.slopeDistance, Blanks::WhiteSpace);
    return !text.empty() && ParseWholeNumber(text, Blanks::WhiteSpace) != 0.0;
}

// The station and observation lines, and the MP points met on the way.
struct ObservationLines {
    std::vector<std::string> lines;
    std::vector<KnownPoint> points;
    std::vector<std::size_t> unusablePoints;     // MP lines without a name or coordinates
    std::vector<std::size_t> unnamedStations;    // set-ups without a name, and their observations
    std::vector<std::size_t> withoutBacksight;   // set-ups that name no backsight
    std::vector<std::size_t> unnamedObservations;
    std::size_t stations = 0, observations = 0;  // written
};

// Counts every record but the MP points, which count once the known points
// are chosen.
ObservationLines ReadObservations(const CosaOptions& o, NikonRawReader& reader,
                                  RecordNotes& notes) {
    ObservationLines out;
    enum class Station { None, Named, Unnamed } station = Station::None;
    double backsight = 0;
    std::string backsightName;
    LineAccount& account = reader.account();
    RawRecord r;
    while (reader.next(r)) {
        switch (r.kind) {
            case RawRecordKind::Point: {
                const RawPointRecord& p = r.point;
                const bool usable = !Unnamed(p.name) &&
                                    ParseWholeNumber(p.north, Blanks::WhiteSpace) &&
                                    ParseWholeNumber(p.east, Blanks::WhiteSpace);
                if (usable)
                    out.points.push_back({std::string(Trim(p.name, Blanks::WhiteSpace)),
                                          std::string(Trim(p.north, Blanks::WhiteSpace)),
                                          std::string(Trim(p.east, Blanks::WhiteSpace)),
                                          r.lineNumber});
                else
                    out.unusablePoints.push_back(r.lineNumber);
                continue;
            }
            case RawRecordKind::Station: {
                const RawStationRecord& s = r.station;
                if (Unnamed(s.stationName)) {
                    station = Station::Unnamed;
                    out.unnamedStations.push_back(r.lineNumber);
                    account.notUnderstoodReported(r.lineNumber);
                    continue;
                }
                station = Station::Named;
                ++out.stations;
                account.used(r.lineNumber);
                out.lines.push_back(s.stationName);
                backsight = DmsTextToRadians(s.backsightReading);
                backsightName = s.backsightName;
                if (Unnamed(backsightName))
                    out.withoutBacksight.push_back(r.lineNumber);
                else
                    out.lines.push_back(backsightName + ",L," +
                                        (o.zeroBacksight ? "0" : s.backsightReading));
                continue;
            }
            case RawRecordKind::Observation:
            case RawRecordKind::Backsight:
                break;
        }
        const RawObservationRecord& obs = r.observation;
        const bool backsightRecord = r.kind == RawRecordKind::Backsight;
        if (backsightRecord && !HasDistance(obs)) {
            account.passedOver(r.lineNumber, kBacksightRecords);
            continue;
        }
        std::vector<std::size_t>* leftOut = nullptr;
        if (station == Station::None) leftOut = &notes.beforeFirstSetUp;
        if (station == Station::Unnamed) leftOut = &out.unnamedStations;
        const std::string& name =
            backsightRecord && Unnamed(obs.pointName) ? backsightName : obs.pointName;
        if (!leftOut && Unnamed(name)) leftOut = &out.unnamedObservations;
        if (leftOut) {
            leftOut->push_back(r.lineNumber);
            account.notUnderstoodReported(r.lineNumber);
            continue;
        }
        ++out.observations;
        account.used(r.lineNumber);
        // The backsight's direction is the set-up's zero; its distance is added.
        if (!backsightRecord)
            out.lines.push_back(name + ",L," +
                                (o.zeroBacksight ? FormatDmsCompact(Direction(obs, backsight))
                                                 : obs.horizontalReading));
        out.lines.push_back(name + ",S," +
                            (o.reduceSlope ? HorizontalDistance(r) : obs.slopeDistance));
    }
    return out;
}

// The file's MP points, each name once: a later record of a name is left out,
// with a warning when it places the point elsewhere. Each record is counted:
// used when it gives a known point (no known-point file being given), else
// passed over.
std::vector<KnownPoint> DistinctPoints(CommandContext& ctx, const std::vector<KnownPoint>& points,
                                       bool listGiven, LineAccount& account) {
    std::vector<KnownPoint> distinct;
    for (const KnownPoint& p : points) {
        const auto earlier = std::find_if(distinct.begin(), distinct.end(),
                                          [&](const KnownPoint& d) { return d.name == p.name; });
        if (earlier == distinct.end()) {
            distinct.push_back(p);
            if (listGiven)
                account.passedOver(p.line, kCoordinateRecords);
            else
                account.used(p.line);
        } else if (SameCoordinates(*earlier, p)) {
            account.passedOver(p.line, kCoordinateRecords);
        } else {
            account.notUnderstoodReported(p.line);
            ctx.user.warning(TextsOf(ctx)(
                msg::kMpPointTwice,
                "%1: the MP records of line %2 and line %3 place the point \"%4\" at %5, %6 and "
                "at %7, %8; the first is written as the known point.",
                {DocumentFileName(ctx), std::to_string(earlier->line), std::to_string(p.line),
                 p.name, earlier->x, earlier->y, p.x, p.y}));
        }
    }
    return distinct;
}

// The known points the file will hold: the user's list when given, else the
// raw data's MP records. Points the two place differently are warned about.
// The MP records' points, each name once, every MP line counted.
std::vector<KnownPoint> RecordedPoints(CommandContext& ctx, const ObservationLines& read,
                                       bool listGiven, LineAccount& account) {
    const MessageTexts texts = TextsOf(ctx);
    for (const std::size_t line : read.unusablePoints) account.notUnderstoodReported(line);
    if (!read.unusablePoints.empty())
        ctx.user.warning(texts(msg::kMpPointsUnusable,
                               "%1: MP records without a name or without north and east as "
                               "numbers are no known points (line numbers: %2).",
                               {DocumentFileName(ctx), DescribeLines(read.unusablePoints, texts)}));
    return DistinctPoints(ctx, read.points, listGiven, account);
}

std::vector<KnownPoint> ChooseKnownPoints(CommandContext& ctx,
                                          std::optional<std::vector<KnownPoint>> given,
                                          const std::vector<KnownPoint>& recorded,
                                          const std::string& file) {
    const MessageTexts texts = TextsOf(ctx);
    if (!given) {
        if (recorded.empty()) {
            ctx.user.warning(texts(msg::kNoKnownPointsInData,
                                   "%1: no known-point file was given and the data hold no usable "
                                   "MP record; add the known points to the converted file by "
                                   "hand.",
                                   {DocumentFileName(ctx)}));
            return {};
        }
        std::vector<std::size_t> lines;
        for (const KnownPoint& p : recorded) lines.push_back(p.line);
        ctx.user.information(texts(msg::kKnownPointsFromMp,
                                   "%1: no known-point file was given; the known points are "
                                   "those of its MP records (%2 in all; line numbers: %3).",
                                   {DocumentFileName(ctx), std::to_string(recorded.size()),
                                    DescribeLines(lines, texts)}));
        return recorded;
    }
    for (const KnownPoint& p : *given)
        for (const KnownPoint& q : recorded)
            if (p.name == q.name && !SameCoordinates(p, q))
                ctx.user.warning(texts(
                    msg::kKnownPointDiffers,
                    "The known point \"%1\" is %2, %3 in %4 (line %5) but %6, %7 in the MP "
                    "record of %8 (line %9); the known-point file's coordinates are written.",
                    {p.name, p.x, p.y, file, std::to_string(p.line), q.x, q.y,
                     DocumentFileName(ctx), std::to_string(q.line)}));
    return std::move(*given);
}

void ReportLeftOut(CommandContext& ctx, const ObservationLines& read) {
    const MessageTexts texts = TextsOf(ctx);
    const std::string file = DocumentFileName(ctx);
    if (!read.unnamedStations.empty())
        ctx.user.warning(texts(msg::kUnnamedStations,
                               "%1: set-ups without a station name are left out of the "
                               "observation file with their observations (line numbers: %2).",
                               {file, DescribeLines(read.unnamedStations, texts)}));
    if (!read.withoutBacksight.empty())
        ctx.user.warning(texts(msg::kSetUpsWithoutBacksight,
                               "%1: set-ups that name no backsight give no zero direction in the "
                               "observation file (line numbers: %2).",
                               {file, DescribeLines(read.withoutBacksight, texts)}));
    if (!read.unnamedObservations.empty())
        ctx.user.warning(texts(msg::kUnnamedObservations,
                               "%1: observations without a point name are left out of the "
                               "observation file (line numbers: %2).",
                               {file, DescribeLines(read.unnamedObservations, texts)}));
}

}  // namespace

bool AppendCosaObservations(CommandContext& ctx, const Workspace& raw) {
    bool setUp = false;
    for (std::string_view line : raw.view()) {
        const auto r = ParseRawRecordLine(line, 0);
        if (r && r->kind == RawRecordKind::Station) {
            setUp = true;
            break;
        }
    }
    if (!setUp) {
        RefuseInput(ctx, NoSetUpMessage(raw, TextsOf(ctx)));
        return false;
    }
    const CosaOptions& o = ctx.options.get<CosaOptions>();
    // Everything is read before anything is written, so a list or raw record
    // that cannot be read leaves the workspace as it was.
    RecordNotes notes;
    NikonRawReader reader(raw, DocumentFileName(ctx));
    LineAccount& account = reader.account();
    ObservationLines read = ReadObservations(o, reader, notes);
    const std::vector<KnownPoint> recorded =
        RecordedPoints(ctx, read, !o.knownPointFile.empty(), account);
    std::optional<std::vector<KnownPoint>> given =
        GivenKnownPoints(ctx, o.knownPointFile, account);
    const std::vector<KnownPoint> known =
        ChooseKnownPoints(ctx, std::move(given), recorded, o.knownPointFile);
    notes.reportReading(ctx, ctx.message(msg::kObservationFileProduct, "the observation file"));
    ReportLeftOut(ctx, read);
    if (!CheckLinesUnderstood(ctx, account)) return false;

    AppendWorkspaceLine(ctx, o.directionError + "," + o.distanceConstant + "," + o.distancePpm);
    for (const KnownPoint& p : known) AppendWorkspaceLine(ctx, p.name + "," + p.x + "," + p.y);
    for (std::string& line : read.lines) AppendWorkspaceLine(ctx, std::move(line));
    const MessageTexts texts = TextsOf(ctx);
    NoteReadSummary(ctx, account,
                    texts(msg::kCosaWritten, "%1, %2 and %3 written to the observation file",
                          {CountText(texts, read.stations, msg::kStationCount, "1 station",
                                     "%1 stations"),
                           CountText(texts, read.observations, msg::kObservationCount,
                                     "1 observation", "%1 observations"),
                           CountText(texts, known.size(), msg::kKnownPointCount, "1 known point",
                                     "%1 known points")}));
    return true;
}

}  // namespace tarvosen
