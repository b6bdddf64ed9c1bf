#include "levelling/network/level_network_command.h"

#include "app/conversion.h"
#include "app/errors.h"
#include "app/line_account.h"
#include "app/number_text.h"
#include "i18n/message_catalogue.h"
#include "levelling/network/level_network.h"
#include "levelling/network/network_results.h"
#include "levelling/network/point_lists.h"
#include "levelling/network/point_names.h"
#include "levelling/record_book_command.h"
#include "levelling/network/level_network_options.h"

namespace tarvosen {

namespace {

using namespace levelling;

constexpr CliOption kOptions[] = {
    {"profile", "NAME|FILE",
     "tolerance profile: gb12897-1, gb12897-2 (default), gb12898-3, gb12898-4 or a profile file "
     "(JSON)",
     [](OptionsStore& o, const std::string& v) { o.get<LevelNetworkOptions>().profile = v; }},
    {"known-heights", "FILE", "known benchmarks, one \"name,height\" per line",
     [](OptionsStore& o, const std::string& v) { o.get<LevelNetworkOptions>().knownHeightsFile = std::filesystem::absolute(v); }},
    {"benchmarks", "FILE", "further points where sections end, one name per line",
     [](OptionsStore& o, const std::string& v) { o.get<LevelNetworkOptions>().benchmarksFile = std::filesystem::absolute(v); }},
    {"weights", "distance|stations", "weights 1/K (K in km, the default) or 1/n (n stations)",
     [](OptionsStore& o, const std::string& v) {
         if (v != "distance" && v != "stations")
             throw UsageError("--weights takes distance or stations, not \"" + v + "\"");
         o.get<LevelNetworkOptions>().weightByStations = v == "stations";
     }},
    {"confidence", "P", "confidence of the tests of the adjustment, above 0 and below 1 (default 0.95)",
     [](OptionsStore& o, const std::string& v) {
         const std::optional<double> p = ParseWholeNumber(v);
         if (!p || !(*p > 0 && *p < 1))
             throw UsageError("--confidence takes a number above 0 and below 1, not \"" + v + "\"");
         o.get<LevelNetworkOptions>().confidence = *p;
     }},
    {"report", "FILE.json", "also write the machine-readable report",
     [](OptionsStore& o, const std::string& v) { o.get<LevelNetworkOptions>().reportFile = std::filesystem::absolute(v); }},
    {"gama", "FILE.xml", "also write the observations as input of GNU Gama's gama-local",
     [](OptionsStore& o, const std::string& v) { o.get<LevelNetworkOptions>().gamaFile = std::filesystem::absolute(v); }},
    {"check", "", "exit status 4 when any limit is exceeded",
     [](OptionsStore& o, const std::string&) { o.get<LevelNetworkOptions>().check = true; }},
};

std::string Where(const LimitViolation& v, const MessageTexts& texts) {
    if (v.file.empty()) return v.what;
    return texts(msg::kFileLineWhat, "%1, line %2: %3", {v.file, std::to_string(v.line), v.what});
}

}  // namespace

std::span<const CliOption> LevelNetworkCliOptions() {
    return kOptions;
}

CommandStatus LevelNetworkCommand(CommandContext& ctx) {
    // Files named on the command line take the place of those of the dialog.
    if (!ctx.state.inputFiles.empty()) ctx.options.get<LevelNetworkOptions>().inputFiles = ctx.state.inputFiles;
    if (!ctx.user.showOptionDialog(kLevelNetworkDialog)) return CommandStatus::Cancelled;
    const LevelNetworkOptions& options = ctx.options.get<LevelNetworkOptions>();
    const MessageTexts texts = TextsOf(ctx);
    if (options.inputFiles.empty()) {
        ctx.user.information(
            texts(msg::kNoNetworkFile, "No DINI M5 file was chosen for the levelling network."));
        return CommandStatus::Stopped;
    }
    NetworkInput input;
    input.profile = ResolveToleranceProfile(options.profile);
    input.weighting = options.weightByStations ? Weighting::Stations : Weighting::Distance;
    input.confidence = options.confidence;
    if (!options.knownHeightsFile.empty())
        input.knownHeights = ReadKnownHeights(options.knownHeightsFile);
    if (!options.benchmarksFile.empty()) input.benchmarks = ReadBenchmarks(options.benchmarksFile);

    const auto chosen = ctx.user.chooseSaveFile(kWorkbookFilter, kWorkbookExtension);
    if (!chosen) return CommandStatus::Cancelled;

    std::vector<LimitViolation> stationViolations;
    LineAccount account;
    for (const auto& path : options.inputFiles) {
        Workspace lines;
        lines.load(path);
        const std::string file = path.filename().string();
        RunsOfFile read = ReadLevelRuns(ctx, lines, file, input.profile, account);
        if (read.outcome == ReadOutcome::Refused) return CommandStatus::Stopped;
        if (read.runs.empty())
            ctx.user.warning(texts(msg::kNetworkFileWithoutLine, "%1 holds no levelling line with stations.", {file}));
        for (auto& run : read.runs) input.runs.push_back(std::move(run));
        stationViolations.insert(stationViolations.end(), read.stationViolations.begin(),
                                 read.stationViolations.end());
    }
    if (!CheckLinesUnderstood(ctx, account)) return CommandStatus::Stopped;
    if (input.runs.empty()) {
        ctx.user.error(texts(msg::kNetworkWithoutLine,
                             "The files hold no levelling line; no workbook was written."));
        return CommandStatus::Stopped;
    }

    const LevelNetwork network = BuildLevelNetwork(input);
    if (network.heldPoints.size() == 1)
        ctx.user.information(texts(msg::kFirstPointHeld,
                                   "No known height: %1, the first point of the first run, is held at 0.000 m.",
                                   {network.heldPoints.front()}));
    if (network.heldPoints.size() > 1)
        ctx.user.information(texts(msg::kFirstPointOfEachPartHeld,
                                   "No known height, and the runs form %1 networks that do not join: "
                                   "the first point of each (%2) is held at 0.000 m.",
                                   {std::to_string(network.heldPoints.size()),
                                    ListOf(network.heldPoints, texts, true)}));
    for (const auto& [later, first] : NamesEqualApartFromCase(network.sections))
        ctx.user.warning(texts(msg::kPointNamesDifferInCase,
                               "%1, line %2: the point name %3 differs only in letter case from %4 "
                               "(%5, line %6); the two are taken as different points.",
                               {later.file, std::to_string(later.line), later.name, first.name,
                                first.file, std::to_string(first.line)}));
    const auto violations = CollectViolations(network, input.profile, stationViolations);
    for (const auto& v : violations) ctx.user.warning(Where(v, texts));

    spreadsheet::SpreadsheetSession session;
    WriteNetworkWorkbook(session, network, input.profile, violations);
    session.SaveAs(*chosen, [&] { ctx.user.commitOutput(); });
    session.Close();
    if (!options.reportFile.empty())
        WriteNetworkReport(options.reportFile, network, input.profile, stationViolations.size(),
                           violations);
    if (!options.gamaFile.empty())
        for (std::size_t i : WriteGamaInput(options.gamaFile, network, input.weighting)) {
            const LevelSection& s = network.sections[network.observations[i].forward];
            ctx.user.warning(texts(msg::kGamaSectionBackToStart,
                                   "%1, line %2: the section from %3 back to itself is left out "
                                   "of %4, which cannot hold it; its misclosure is checked as a loop. "
                                   "Naming one of its turning points as a benchmark splits it.",
                                   {s.file, std::to_string(s.firstLine), s.from,
                                    options.gamaFile.filename().string()}));
        }

    NoteReadSummary(ctx, account,
                    texts(msg::kNetworkSectionsWritten, "%1 sections of %2 runs written",
                          {std::to_string(network.sections.size()),
                           std::to_string(input.runs.size())}));
    OfferToOpenWorkbook(ctx, *chosen);
    return options.check && !violations.empty() ? CommandStatus::Found : CommandStatus::Done;
}

}  // namespace tarvosen
