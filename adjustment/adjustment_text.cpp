#include "adjustment/adjustment_text.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "adjustment/adjustment_options.h"
#include "adjustment/angle.h"
#include "adjustment/nikon_raw.h"
#include "adjustment/record_notes.h"
#include "app/command_context.h"
#include "app/conversion.h"
#include "app/errors.h"
#include "app/number_text.h"

namespace tarvosen {

namespace {

// One target of a station as the text lists it: raw texts per face (0 = I).
struct TextTarget {
    std::string name;
    double height = 0;  // target height, metres
    std::string horizontal[2], zenith[2], distance[2];
    bool observed[2] = {false, false};
};

struct AdjustmentStation {
    std::string name;
    double instrumentHeight = 0;
    std::size_t line = 0;
    int observations = 0;
    TextTarget backsight, foresight;
};

// Heights sums are kept to a micro-metre so 1.45 + 0.1 is written as 1.550.
double HeightSum(double height, double increment) {
    return std::round((height + increment) * 1e6) / 1e6;
}

void Take(TextTarget& target, const RawObservationRecord& o, bool foresight) {
    const int face = DmsTextToRadians(o.zenithAngle) < kPi ? 0 : 1;
    if (face == 0 || target.name.empty()) target.name = o.pointName;
    target.horizontal[face] = o.horizontalReading;
    target.zenith[face] = o.zenithAngle;
    if (foresight) target.distance[face] = o.slopeDistance;
    target.height = LeadingDecimal(o.targetHeight);
    target.observed[face] = true;
}

std::string DistanceText(const TextTarget& t, int face) {
    return t.observed[face] ? FormatFixed3(LeadingDecimal(t.distance[face])) : std::string();
}

}  // namespace

double ParseHeightIncrement(std::string_view text) {
    const std::optional<double> value = ParseWholeNumber(text, Blanks::WhiteSpace);
    if (!value)
        throw ConversionError({msg::kHeightIncrementNoNumber,
                               "The height increment \"%1\" is not a valid number",
                               {std::string(text)}});
    return *value;
}

std::string GeneratedStationName(std::string_view lineName, std::size_t index) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%02zu", index);
    return std::string(lineName) + digits;
}

std::string IsoDate(const std::chrono::year_month_day& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

bool WriteAdjustmentText(CommandContext& ctx, const Workspace& raw, TraverseReading& reading) {
    const TraverseOptions& o = ctx.options.get<TraverseOptions>();
    const double increment = ParseHeightIncrement(o.heightIncrement);

    std::vector<AdjustmentStation> stations;
    RecordNotes notes;
    NikonRawReader reader(raw, DocumentFileName(ctx));
    LineAccount& account = reader.account();
    RawRecord r;
    while (reader.next(r)) {
        if (r.kind == RawRecordKind::Station) {
            AdjustmentStation s;
            s.name = r.station.stationName;
            s.instrumentHeight = LeadingDecimal(r.station.instrumentHeight);
            s.line = r.lineNumber;
            stations.push_back(std::move(s));
            account.used(r.lineNumber);
            continue;
        }
        // The text lists each station's four SS observations only.
        if (r.kind != RawRecordKind::Observation) {
            account.passedOver(r.lineNumber, r.kind == RawRecordKind::Point ? kCoordinateRecords
                                                                            : kBacksightRecords);
            continue;
        }
        if (stations.empty()) {
            notes.beforeFirstSetUp.push_back(r.lineNumber);
            account.notUnderstoodReported(r.lineNumber);
            continue;
        }
        AdjustmentStation& s = stations.back();
        ++s.observations;
        if (s.observations > 4) {
            // The text has room for four; the warning names the station.
            static constexpr PassedOverKind kBeyondFour{
                msg::kObservationsBeyondFourKind, "observations beyond a station's first four"};
            notes.extraObservations.add(s.name, r.lineNumber);
            account.passedOver(r.lineNumber, kBeyondFour);
            continue;
        }
        account.used(r.lineNumber);
        const bool foresight = s.observations > 2;
        Take(foresight ? s.foresight : s.backsight, r.observation, foresight);
    }
    notes.reportReading(ctx, ctx.message(msg::kAdjustmentTextProduct, "the adjustment text"));
    if (stations.empty()) {
        RefuseInput(ctx, NoSetUpMessage(raw, TextsOf(ctx)));
        return false;
    }
    for (const auto& s : stations) {
        for (const TextTarget* t : {&s.backsight, &s.foresight})
            if (!t->observed[0] || !t->observed[1]) notes.missingFace.add(s.name, s.line);
    }
    notes.reportStations(ctx);
    if (!CheckLinesUnderstood(ctx, account)) return false;

    const std::size_t n = stations.size();
    if (n >= 2) {
        stations[0].foresight.height = HeightSum(stations[1].instrumentHeight, increment);
        for (std::size_t k = 1; k + 1 < n; ++k) {
            stations[k].backsight.height = HeightSum(stations[k - 1].instrumentHeight, increment);
            stations[k].foresight.height = HeightSum(stations[k + 1].instrumentHeight, increment);
        }
        stations[n - 1].backsight.height = HeightSum(stations[n - 2].instrumentHeight, increment);
    }

    std::vector<std::string> lines;
    lines.reserve(4 + 2 + 14 * n + 1);
    lines.push_back(o.model);
    lines.push_back(o.lineName);
    lines.push_back(IsoDate(o.date));
    lines.push_back(o.observer);
    lines.push_back(std::to_string(n));
    lines.push_back(stations[0].backsight.name);
    for (std::size_t k = 0; k < n; ++k) {
        const AdjustmentStation& s = stations[k];
        const TextTarget& b = s.backsight;
        const TextTarget& f = s.foresight;
        lines.push_back(k == 0 || k + 1 == n ? s.name : GeneratedStationName(o.lineName, k));
        lines.push_back(FormatFixed3(s.instrumentHeight));
        for (const std::string* text :
             {&b.horizontal[0], &b.horizontal[1], &f.horizontal[0], &f.horizontal[1], &b.zenith[0],
              &b.zenith[1], &f.zenith[0], &f.zenith[1]})
            lines.push_back(*text);
        lines.push_back(DistanceText(f, 0));
        lines.push_back(DistanceText(f, 1));
        lines.push_back(FormatFixed3(b.height));
        lines.push_back(FormatFixed3(f.height));
    }
    lines.push_back(stations[n - 1].foresight.name);

    ctx.workspace.replaceAll(std::move(lines));
    reading = {std::move(account), n};
    ctx.state.currentDocumentName = ResetDocumentName(ctx.state);
    ctx.setCaption(DocumentCaption(ctx.state.currentDocumentName));
    return true;
}

}  // namespace tarvosen
