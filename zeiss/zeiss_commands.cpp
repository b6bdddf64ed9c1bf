#include "zeiss/zeiss_commands.h"

#include "app/conversion.h"
#include "app/errors.h"
#include "app/line_account.h"
#include "i18n/message_catalogue.h"
#include "zeiss/address_continuity.h"
#include "zeiss/r5_points.h"
#include "zeiss/record_conversions.h"
#include "zeiss/r5_options.h"

namespace tarvosen {

namespace {

// Every conversion of records refuses an empty input, then says what is
// wrong with the addresses. False when it refused.
bool CheckInput(CommandContext& ctx) {
    if (RefuseEmptyInput(ctx, msg::kNoDataForConversion, kNoDataForConversion)) return false;
    zeiss::ReportAddressContinuity(ctx, zeiss::DocumentFileName(ctx));
    return true;
}

// The first stage of both R5 commands: the R5 lines to the point list.
ConversionStage R5ToPointStage(int& pointCounter, LineAccount& account) {
    return [&pointCounter, &account](CommandContext& ctx, const Workspace& in, Workspace& out) {
        account = LineAccount(DocumentFileName(ctx));
        return static_cast<bool>(zeiss::ConvertR5ToPoints(ctx, in, out, pointCounter, account));
    };
}

// The summary of an R5 command once its file was written.
CommandStatus NotePoints(CommandContext& ctx, CommandStatus status, const LineAccount& account,
                         int points) {
    if (status == CommandStatus::Done)
        NoteReadSummary(ctx, account,
                        zeiss::PointsWrittenText(ctx, static_cast<std::size_t>(points)));
    return status;
}

void ApplyRecordFormat(OptionsStore& options, const std::string& value) {
    if (value == "mem1")
        options.get<R5Options>().recordFormat = 0;
    else if (value == "mem2")
        options.get<R5Options>().recordFormat = 1;
    else if (value == "mem3")
        options.get<R5Options>().recordFormat = 2;
    else
        throw UsageError("--record-format takes mem1, mem2 or mem3, not \"" + value + "\"");
}

constexpr CliOption kR5Options[] = {
    {"record-format", "mem1|mem2|mem3",
     "R5 Record Format (default mem1); polar observations are computed only with mem1",
     ApplyRecordFormat},
    {"no-code", "", "leave the point codes out (Include Code off)",
     [](OptionsStore& o, const std::string&) { o.get<R5Options>().includeCode = false; }},
    {"renumber", "", "name the points 0, 1, 2, ... (Re-Assigned Point Name on)",
     [](OptionsStore& o, const std::string&) { o.get<R5Options>().reassignPointNames = true; }},
};

}  // namespace

CommandStatus R5ToPointsCommand(CommandContext& ctx) {
    if (!CheckInput(ctx)) return CommandStatus::Stopped;
    int pointCounter = 0;
    LineAccount account;
    ConvertToFileSteps steps{.filter = "Text File(*.Txt)|*.TXT",
                             .defaultExtension = "txt",
                             .stages = {R5ToPointStage(pointCounter, account)}};
    const CommandStatus status = ConvertToFile(ctx, steps);
    return NotePoints(ctx, status, account, pointCounter);
}
std::span<const CliOption> R5ToPointsCliOptions() {
    return kR5Options;
}

CommandStatus R5ToDxfCommand(CommandContext& ctx) {
    if (!CheckInput(ctx)) return CommandStatus::Stopped;
    int pointCounter = 0;
    LineAccount account;
    ConvertToFileSteps steps{
        .filter = "AutoCAD Dxf File(*.Dxf)|*.Dxf",
        .defaultExtension = "dxf",
        .stages = {R5ToPointStage(pointCounter, account),
                   [](CommandContext&, const Workspace& in, Workspace& out) {
                       zeiss::WriteDxfFromPoints(in, out);
                       return true;
                   }}};
    const CommandStatus status = ConvertToFile(ctx, steps);
    return NotePoints(ctx, status, account, pointCounter);
}
std::span<const CliOption> R5ToDxfCliOptions() {
    return kR5Options;
}

CommandStatus R5ToM5Command(CommandContext& ctx) {
    if (!CheckInput(ctx)) return CommandStatus::Stopped;
    return ConvertInPlace(ctx, {}, zeiss::AppendR5AsM5);
}

CommandStatus M5ToR5Command(CommandContext& ctx) {
    if (!CheckInput(ctx)) return CommandStatus::Stopped;
    return ConvertInPlace(ctx, {}, zeiss::AppendM5AsR5);
}

CommandStatus Rec500ToM5Command(CommandContext& ctx) {
    if (!CheckInput(ctx)) return CommandStatus::Stopped;
    return ConvertInPlace(ctx, {}, zeiss::AppendRec500AsM5);
}

CommandStatus ShowR5OptionsCommand(CommandContext& ctx) {
    ctx.user.showOptionDialog(kR5OptionsDialog);
    return CommandStatus::Done;
}

}  // namespace tarvosen
