#include "levelling/levelling_commands.h"

#include <charconv>

#include "app/conversion.h"
#include "app/errors.h"
#include "i18n/message_catalogue.h"
#include "levelling/checked_book.h"
#include "levelling/geo_book.h"
#include "levelling/m5_levelling_reader.h"
#include "levelling/network/tolerance_profile.h"
#include "levelling/record_book_command.h"
#include "levelling/survey_book.h"
#include "levelling/tolerance_classes.h"
#include "levelling/levelling_options.h"
#include "app/calendar.h"

namespace tarvosen {

namespace {

using levelling::BuildRecordBook;
using spreadsheet::SpreadsheetSession;

bool RefuseEmptyWorkspace(CommandContext& ctx) {
    return RefuseEmptyInput(ctx, msg::kNoDiniData, levelling::kNoDiniDataMessage);
}

void ApplyClass(OptionsStore& options, const std::string& value) {
    if (value != "1" && value != "2" && value != "3")
        throw UsageError("--class takes 1, 2 or 3 (一等, 二等, 三等), not \"" + value + "\"");
    const int levellingClass = value[0] - '1';
    ToleranceOptions& tolerances = options.get<ToleranceOptions>();
    // Choosing the class loads its limits, as in the dialog; limits given
    // with --limits stay whichever option comes first.
    const bool limitsTyped = tolerances.limits != levelling::ClassLimitTexts(tolerances.levellingClass);
    if (limitsTyped)
        tolerances.levellingClass = levellingClass;
    else
        levelling::SelectLevellingClass(tolerances, levellingClass);
}

void ApplyLimits(OptionsStore& options, const std::string& value) {
    std::array<std::string, levelling::kLimitCount> texts;
    std::size_t field = 0, start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        if (field == texts.size()) throw UsageError("--limits takes five values");
        texts[field++] = value.substr(start, comma - start);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (field != texts.size())
        throw UsageError("--limits takes five values: SIGHT,SIGHTDIFF,ACCUM,READDIFF,HDIFF");
    options.get<ToleranceOptions>().limits = texts;
    options.get<ToleranceOptions>().profile.clear();
}

// The station limits of a tolerance profile, as if typed into the dialog.
void ApplyProfile(OptionsStore& options, const std::string& value) {
    const levelling::ToleranceProfile p = levelling::ResolveToleranceProfile(value);
    const double limits[] = {p.sightLengthM, p.sightDifferenceM, p.accumulatedDifferenceM,
                             p.readingDifferenceMm, p.heightDifferenceMm};
    for (int f = 0; f < levelling::kLimitCount; ++f) {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, limits[f]).ptr;
        options.get<ToleranceOptions>().limits[f].assign(buffer, end);
    }
    options.get<ToleranceOptions>().profile = p.name;
}

constexpr CliOption kCheckedOptions[] = {
    {"class", "1|2|3", "levelling class 一等, 二等 or 三等 (default 1); loads its limits",
     ApplyClass},
    {"limits", "SIGHT,SIGHTDIFF,ACCUM,READDIFF,HDIFF",
     "the five limits as typed into the dialog: longest sight (m), sight-distance difference (m), "
     "accumulated difference (m), difference of two readings (mm), difference of the height "
     "differences (mm)",
     ApplyLimits},
    {"profile", "NAME|FILE",
     "the station limits of a tolerance profile: gb12897-1, gb12897-2, gb12898-3, gb12898-4 or a "
     "profile file (JSON)",
     ApplyProfile},
};

constexpr CliOption kGeoOptions[] = {
    {"observer", "TEXT", "observer (观测者)",
     [](OptionsStore& o, const std::string& v) { o.get<GeoBookOptions>().observer = v; }},
    {"weather", "TEXT", "weather (天气)",
     [](OptionsStore& o, const std::string& v) { o.get<GeoBookOptions>().weather = v; }},
    {"wind-direction", "TEXT", "wind direction (风向)",
     [](OptionsStore& o, const std::string& v) { o.get<GeoBookOptions>().windDirection = v; }},
    {"wind-force", "TEXT", "wind force (风力)",
     [](OptionsStore& o, const std::string& v) { o.get<GeoBookOptions>().windForce = v; }},
    {"instrument", "NUMBER", "instrument number (仪器号, default 110113)",
     [](OptionsStore& o, const std::string& v) { o.get<GeoBookOptions>().instrument = v; }},
    {"date", "YYYY-MM-DD", "observation date (left empty without this option)",
     [](OptionsStore& o, const std::string& v) { o.get<GeoBookOptions>().date = DateOption(v); }},
};

}  // namespace

CommandStatus DiniBookCommand(CommandContext& ctx) {
    if (RefuseEmptyWorkspace(ctx)) return CommandStatus::Stopped;
    return BuildRecordBook(ctx, [&](SpreadsheetSession& session) {
        return std::make_unique<levelling::SurveyInstituteBook>(session, ctx.user, TextsOf(ctx));
    });
}

CommandStatus DiniBookCheckedCommand(CommandContext& ctx) {
    if (!ctx.user.showOptionDialog(kTolerancesDialog)) return CommandStatus::Cancelled;
    if (RefuseEmptyWorkspace(ctx)) return CommandStatus::Stopped;
    return BuildRecordBook(ctx, [&](SpreadsheetSession& session) {
        return std::make_unique<levelling::HighOrderBook>(
            session, ctx.user, ctx.options.get<ToleranceOptions>(), TextsOf(ctx));
    });
}
std::span<const CliOption> DiniBookCheckedCliOptions() {
    return kCheckedOptions;
}

CommandStatus DiniBookGeoCommand(CommandContext& ctx) {
    if (RefuseEmptyWorkspace(ctx)) return CommandStatus::Stopped;
    if (!ctx.user.showOptionDialog(kGeoBookDialog)) return CommandStatus::Cancelled;
    return BuildRecordBook(ctx, [&](SpreadsheetSession& session) {
        return std::make_unique<levelling::GeoInstituteBook>(
            session, ctx.user, ctx.options.get<GeoBookOptions>(), TextsOf(ctx));
    });
}
std::span<const CliOption> DiniBookGeoCliOptions() {
    return kGeoOptions;
}

}  // namespace tarvosen
