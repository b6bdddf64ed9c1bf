#include "adjustment/cosa_export.h"

#include <cmath>

#include "adjustment/adjustment_options.h"
#include "adjustment/angle.h"
#include "adjustment/nikon_raw.h"
#include "adjustment/record_notes.h"
#include "app/command_context.h"
#include "app/conversion.h"
#include "app/errors.h"
#include "app/number_text.h"
#include "i18n/message_catalogue.h"

namespace tarvosen {

namespace {

void AppendKnownPoints(CommandContext& ctx, const std::string& file) {
    if (file.empty()) {
        ctx.user.warning(ctx.message(msg::kNoKnownPoints, kNoKnownPointsMessage));
        return;
    }
    std::string bytes;
    try {
        bytes = ReadFileBytes(file);
    } catch (const FileError& e) {
        // The system's own reason stays in English; the other languages
        // name the file only.
        ctx.user.warning(ctx.message(msg::kNoKnownPoints, kNoKnownPointsMessage) + "\n" +
                         TextsOf(ctx)(msg::kKnownPointFileUnreadable, "%1", {e.what(), file}));
        return;
    }
    for (auto& line : SplitLines(bytes)) AppendWorkspaceLine(ctx, std::move(line));
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
    AppendWorkspaceLine(ctx, o.directionError + "," + o.distanceConstant + "," + o.distancePpm);
    AppendKnownPoints(ctx, o.knownPointFile);

    RecordNotes notes;
    bool inStation = false;
    double backsight = 0;
    NikonRawReader reader(raw, DocumentFileName(ctx));
    RawRecord r;
    while (reader.next(r)) {
        if (r.kind == RawRecordKind::Station) {
            const RawStationRecord& s = r.station;
            inStation = true;
            AppendWorkspaceLine(ctx, s.stationName);
            backsight = DmsTextToRadians(s.backsightReading);
            AppendWorkspaceLine(
                ctx, s.backsightName + ",L," + (o.zeroBacksight ? "0" : s.backsightReading));
            continue;
        }
        if (!inStation) {
            notes.beforeFirstSetUp.push_back(r.lineNumber);
            continue;
        }
        const RawObservationRecord& obs = r.observation;
        AppendWorkspaceLine(ctx, obs.pointName + ",L," +
                                     (o.zeroBacksight ? FormatDmsCompact(Direction(obs, backsight))
                                                      : obs.horizontalReading));
        AppendWorkspaceLine(ctx, obs.pointName + ",S," +
                                     (o.reduceSlope ? HorizontalDistance(r) : obs.slopeDistance));
    }
    notes.reportReading(ctx, ctx.message(msg::kObservationFileProduct, "the observation file"));
    return true;
}

}  // namespace tarvosen
