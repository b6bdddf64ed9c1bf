#include "adjustment/adjustment_commands.h"

#include <charconv>
#include <filesystem>
#include <optional>

#include "adjustment/adjustment_text.h"
#include "adjustment/cosa_export.h"
#include "adjustment/nikon_raw.h"
#include "adjustment/record_book.h"
#include "app/conversion.h"
#include "app/errors.h"
#include "app/line_account.h"
#include "adjustment/adjustment_options.h"
#include "app/calendar.h"
#include "i18n/message_catalogue.h"

namespace tarvosen {

namespace {

namespace fs = std::filesystem;

// Names given on the command line are taken from the folder it was run in.
std::string AbsolutePath(const std::string& value) {
    if (value.empty()) throw UsageError("a file name is needed");
    return fs::absolute(value).string();
}

constexpr CliOption kCosaOptions[] = {
    {"known-points", "FILE", "known points: name,X,Y[,Z] a line (default: the raw file's MP records)",
     [](OptionsStore& o, const std::string& v) { o.get<CosaOptions>().knownPointFile = AbsolutePath(v); }},
    {"direction-error", "TEXT", "a-priori direction standard error, seconds (default 2)",
     [](OptionsStore& o, const std::string& v) { o.get<CosaOptions>().directionError = v; }},
    {"distance-constant", "TEXT", "constant part of the distance error, mm (default 2)",
     [](OptionsStore& o, const std::string& v) { o.get<CosaOptions>().distanceConstant = v; }},
    {"distance-ppm", "TEXT", "distance-proportional part of the distance error, ppm (default 2)",
     [](OptionsStore& o, const std::string& v) { o.get<CosaOptions>().distancePpm = v; }},
    {"no-zero-backsight", "", "keep the circle readings (角度归零 off)",
     [](OptionsStore& o, const std::string&) { o.get<CosaOptions>().zeroBacksight = false; }},
    {"no-reduce-slope", "", "keep the slope distances (斜距改平 off)",
     [](OptionsStore& o, const std::string&) { o.get<CosaOptions>().reduceSlope = false; }},
};

constexpr CliOption kTraverseOptions[] = {
    {"model", "TEXT", "instrument model (default DTM-330)",
     [](OptionsStore& o, const std::string& v) { o.get<TraverseOptions>().model = v; }},
    {"line-name", "TEXT", "traverse line name, stem of station names (default DGDX)",
     [](OptionsStore& o, const std::string& v) { o.get<TraverseOptions>().lineName = v; }},
    {"observer", "TEXT", "observer (default GCZ)",
     [](OptionsStore& o, const std::string& v) { o.get<TraverseOptions>().observer = v; }},
    {"height-increment", "METRES", "target height above the instrument height (default 0.0)",
     [](OptionsStore& o, const std::string& v) {
         try {
             ParseHeightIncrement(v);
         } catch (const ConversionError& e) {
             throw UsageError(std::string("--height-increment: ") + e.what());
         }
         o.get<TraverseOptions>().heightIncrement = v;
     }},
    {"date", "YYYY-MM-DD", "observation date (default today)",
     [](OptionsStore& o, const std::string& v) { o.get<TraverseOptions>().date = DateOption(v); }},
    {"no-text", "", "no adjustment text (转平差格式 off); the workspace stays as read",
     [](OptionsStore& o, const std::string&) { o.get<TraverseOptions>().produceText = false; }},
    {"book", "FILE.xlsx", "write the traverse record book to FILE (转电子表格格式)",
     [](OptionsStore& o, const std::string& v) {
         o.get<TraverseOptions>().produceBook = true;
         o.get<TraverseOptions>().bookFile = AbsolutePath(v);
     }},
    {"template", "FILE", "record book template (default RIZUV.xlsx, looked up as documented)",
     [](OptionsStore& o, const std::string& v) { o.get<TraverseOptions>().templateFile = AbsolutePath(v); }},
};

}  // namespace

CommandStatus NikonToCosaCommand(CommandContext& ctx) {
    if (RefuseEmptyInput(ctx, msg::kNoDataForConversion, kNoDataForConversion))
        return CommandStatus::Stopped;
    if (!ctx.user.showOptionDialog(kCosaExportDialog)) return CommandStatus::Cancelled;
    return ConvertInPlace(ctx, {.resetDocumentName = true}, AppendCosaObservations);
}

std::span<const CliOption> NikonToCosaCliOptions() {
    return kCosaOptions;
}

CommandStatus RunTraverseExport(CommandContext& ctx) {
    const TraverseOptions& o = ctx.options.get<TraverseOptions>();
    // A bad increment stops everything before the workspace or any file changes.
    ParseHeightIncrement(o.heightIncrement);
    // So does a missing or broken template, before the text replaces the raw data.
    if (o.produceBook) CheckRecordBookTemplate(ctx);

    // The raw data are moved aside: the text takes the workspace's place, the
    // book still reads the raw data, and they go back when no text was written.
    Workspace raw;
    raw.takeFrom(ctx.workspace);
    bool textWritten = false;
    struct GiveBack {
        Workspace& raw;
        Workspace& workspace;
        const bool& textWritten;
        ~GiveBack() {
            if (!textWritten) workspace.takeFrom(raw);
        }
    } giveBack{raw, ctx.workspace, textWritten};

    TraverseReading reading;
    bool stopped = false;
    if (o.produceText) {
        textWritten = WriteAdjustmentText(ctx, raw, reading);
        stopped = !textWritten;
    }
    bool bookWritten = false;
    if (o.produceBook && !stopped) {
        std::optional<fs::path> book;
        if (!o.bookFile.empty())
            book = fs::path(o.bookFile);
        else
            book = ctx.user.chooseSaveFile(kRecordBookFilter, "xlsx");
        if (book) {
            bookWritten =
                static_cast<bool>(WriteRecordBook(ctx, raw, *book, !o.produceText, reading));
            stopped = !bookWritten;
        }
    }
    if (stopped) return CommandStatus::Stopped;
    if (!textWritten && !bookWritten) return CommandStatus::Done;  // no book file was chosen
    const MessageTexts texts = TextsOf(ctx);
    const std::string stations =
        CountText(texts, reading.stations, msg::kStationCount, "1 station", "%1 stations");
    NoteReadSummary(ctx, reading.account,
                    textWritten && bookWritten
                        ? texts(msg::kTraverseBothWritten,
                                "%1 written to the adjustment text and the record book", {stations})
                    : textWritten
                        ? texts(msg::kTraverseTextWritten, "%1 written to the adjustment text",
                                {stations})
                        : texts(msg::kTraverseBookWritten, "%1 written to the record book",
                                {stations}));
    return CommandStatus::Done;
}

CommandStatus NikonToTraverseCommand(CommandContext& ctx) {
    if (RefuseEmptyInput(ctx, msg::kNoNikonRawDataForConversion, kNoNikonRawDataForConversion))
        return CommandStatus::Stopped;
    if (!ctx.user.showOptionDialog(kTraverseExportDialog)) return CommandStatus::Cancelled;
    return RunTraverseExport(ctx);
}

std::span<const CliOption> NikonToTraverseCliOptions() {
    return kTraverseOptions;
}

}  // namespace tarvosen
