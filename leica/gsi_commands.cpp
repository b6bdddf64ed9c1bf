// GSI total-station jobs to point lists, DXF drawings and COSA files.

#include <cmath>
#include <cstdio>

#include "adjustment/adjustment_options.h"
#include "adjustment/cosa_export.h"
#include "app/conversion.h"
#include "i18n/message_catalogue.h"
#include "leica/gsi_job.h"
#include "leica/leica_commands.h"
#include "zeiss/r5_points.h"

namespace tarvosen {

namespace {

using leica::GsiJob;

// Reads the workspace as a GSI job: false (its message shown) when it is no
// job, a value cannot be read, or lines are not understood while reading
// strictly.
bool ReadJob(CommandContext& ctx, const Workspace& in, LineAccount& account, GsiJob& job) {
    if (!leica::IsGsiJob(in)) {
        RefuseInput(ctx, TextsOf(ctx)(msg::kNotGsiJob,
                                      "the lines hold no block of a Leica GSI total-station job "
                                      "(words 21, 31, 81 or 84)."));
        return false;
    }
    if (!leica::ReadGsiJob(ctx, in, DocumentFileName(ctx), account, job)) return false;
    return CheckLinesUnderstood(ctx, account);
}

std::string PointsWritten(CommandContext& ctx, std::size_t n) {
    return TextsOf(ctx)(msg::kGsiPointsWritten, "%1 points written", {std::to_string(n)});
}

ConversionStage JobToPointStage() {
    return [](CommandContext& ctx, const Workspace& in, Workspace& out) {
        LineAccount account(DocumentFileName(ctx));
        GsiJob job;
        job.keepObservations = false;
        if (!ReadJob(ctx, in, account, job)) return false;
        if (job.points.empty()) return RefuseNothingWritten(ctx, account);
        const R5Options plain;
        int counter = 0;
        zeiss::PointListWriter writer(out, plain, counter);
        for (const auto& p : job.points) writer.writePointLine(p.east, p.north, p.height, "", p.name);
        NoteReadSummary(ctx, account, PointsWritten(ctx, job.points.size()));
        return true;
    };
}

// Radians as packed degrees, minutes and seconds to a tenth of a second
// ("123.45302" is 123°45'30.2").
std::string PackedDms(double radians) {
    long long tenths = std::llround(std::fmod(radians * 180 / 3.141592653589793 + 720, 360) * 36000);
    if (tenths >= 360LL * 36000) tenths -= 360LL * 36000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%02lld%02lld%lld", tenths / 36000, tenths / 600 % 60,
                  tenths / 10 % 60, tenths % 10);
    return buf;
}

std::string Metres(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    return buf;
}

// The job as Nikon raw records, each on the line of its GSI block, so the
// COSA export's messages name the GSI file's lines: a set-up (ST) takes the
// first point observed from it as its backsight (F1), the others are SS.
// Observations without a slope distance and zenith angle give no record.
Workspace AsRawRecords(const GsiJob& job, std::size_t lineCount) {
    std::vector<std::string> lines(lineCount);
    const auto& obs = job.observations;
    auto recorded = [](const leica::GsiJobObservation& o) {
        return !o.station && o.hasDirection && o.hasSlope && o.hasZenith;
    };
    std::size_t backsight = obs.size();  // the index of the open set-up's backsight
    for (std::size_t i = 0; i < obs.size(); ++i) {
        const auto& o = obs[i];
        if (o.station) {
            // The first observation recorded after the set-up, not in its own
            // block (a direction there is its orientation).
            backsight = obs.size();
            for (std::size_t j = i + 1; j < obs.size() && !obs[j].station; ++j)
                if (recorded(obs[j]) && obs[j].line != o.line) {
                    backsight = j;
                    break;
                }
            const bool named = backsight < obs.size();
            lines[o.line - 1] = "ST," + o.name + ",," + (named ? obs[backsight].name : "") + ",," +
                                Metres(o.instrumentHeight) + ",," +
                                (named ? PackedDms(obs[backsight].direction) : "0");
            continue;
        }
        if (!recorded(o) || !lines[o.line - 1].empty()) continue;
        lines[o.line - 1] = std::string(i == backsight ? "F1," : "SS,") + o.name + "," +
                            Metres(o.targetHeight) + "," + Metres(o.slope) + "," +
                            PackedDms(o.direction) + "," + PackedDms(o.zenith) + ",,";
    }
    Workspace raw;
    raw.replaceAll(lines);
    return raw;
}

}  // namespace

CommandStatus GsiToPointsCommand(CommandContext& ctx) {
    if (RefuseEmptyInput(ctx, msg::kNoDataForConversion, kNoDataForConversion))
        return CommandStatus::Stopped;
    ConvertToFileSteps steps{.filter = "Text File(*.Txt)|*.TXT",
                             .defaultExtension = "txt",
                             .stages = {JobToPointStage()}};
    return ConvertToFile(ctx, steps);
}

CommandStatus GsiToDxfCommand(CommandContext& ctx) {
    if (RefuseEmptyInput(ctx, msg::kNoDataForConversion, kNoDataForConversion))
        return CommandStatus::Stopped;
    ConvertToFileSteps steps{.filter = "AutoCAD Dxf File(*.Dxf)|*.Dxf",
                             .defaultExtension = "dxf",
                             .stages = {JobToPointStage(),
                                        [](CommandContext&, const Workspace& in, Workspace& out) {
                                            zeiss::WriteDxfFromPoints(in, out);
                                            return true;
                                        }}};
    return ConvertToFile(ctx, steps);
}

CommandStatus GsiToCosaCommand(CommandContext& ctx) {
    if (RefuseEmptyInput(ctx, msg::kNoDataForConversion, kNoDataForConversion))
        return CommandStatus::Stopped;
    if (!ctx.user.showOptionDialog(kCosaExportDialog)) return CommandStatus::Cancelled;
    return ConvertInPlace(ctx, {.resetDocumentName = true}, [](CommandContext& c, const Workspace& in) {
        LineAccount account(DocumentFileName(c));
        GsiJob job;
        if (!ReadJob(c, in, account, job)) return false;
        const Workspace raw = AsRawRecords(job, in.lineCount());
        if (!AppendCosaObservations(c, raw)) return false;
        std::size_t stations = 0;
        for (const auto& o : job.observations) stations += o.station ? 1 : 0;
        NoteReadSummary(c, account,
                        TextsOf(c)(msg::kGsiStationsWritten, "%1 set-ups written",
                                   {std::to_string(stations)}));
        return true;
    });
}

}  // namespace tarvosen
