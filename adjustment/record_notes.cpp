#include "adjustment/record_notes.h"

#include "app/command_context.h"

namespace tarvosen {

namespace {

constexpr std::size_t kNamedAtMost = 10;

std::size_t Unnamed(std::size_t total) { return total > kNamedAtMost ? total - kNamedAtMost : 0; }

}  // namespace

void StationList::add(std::string_view station, std::size_t line) {
    if (!entries_.empty() && entries_.back().first == station && entries_.back().second == line)
        return;
    entries_.emplace_back(std::string(station), line);
}

std::string StationList::describe(const MessageTexts& texts) const {
    std::vector<std::string> named;
    for (std::size_t i = 0; i < entries_.size() && i < kNamedAtMost; ++i)
        named.push_back(texts(msg::kStationAtLine, "\"%1\" (line %2)",
                              {entries_[i].first, std::to_string(entries_[i].second)}));
    return ListOf(named, texts, false, Unnamed(entries_.size()));
}

std::string DescribeLines(const std::vector<std::size_t>& lines, const MessageTexts& texts) {
    std::vector<std::string> named;
    for (std::size_t i = 0; i < lines.size() && i < kNamedAtMost; ++i)
        named.push_back(std::to_string(lines[i]));
    return ListOf(named, texts, false, Unnamed(lines.size()));
}

void RecordNotes::reportReading(CommandContext& ctx, std::string_view product) const {
    const MessageTexts texts = TextsOf(ctx);
    if (!beforeFirstSetUp.empty()) {
        const std::string lines = DescribeLines(beforeFirstSetUp, texts);
        ctx.user.warning(
            beforeFirstSetUp.size() > 1
                ? texts(msg::kBeforeFirstSetUpLines,
                        "Observations before the first set-up (ST) record belong to no station "
                        "and are left out of %1: lines %2.",
                        {product, lines})
                : texts(msg::kBeforeFirstSetUpLine,
                        "Observations before the first set-up (ST) record belong to no station "
                        "and are left out of %1: line %2.",
                        {product, lines}));
    }
    if (!extraObservations.empty())
        ctx.user.warning(texts(msg::kExtraObservations,
                               "Only the first four observations of a station (backsight and "
                               "foresight in two faces) go into %1; later ones are left out at "
                               "station %2.",
                               {product, extraObservations.describe(texts)}));
}

void RecordNotes::reportStations(CommandContext& ctx) const {
    const MessageTexts texts = TextsOf(ctx);
    if (!missingFace.empty())
        ctx.user.warning(texts(msg::kMissingFace,
                               "A backsight or foresight lacks its face I or face II observation "
                               "at station %1; the missing readings are left empty.",
                               {missingFace.describe(texts)}));
    if (!oddObservation.empty())
        ctx.user.warning(texts(msg::kOddObservation,
                               "A target observed only once (its second face is missing) is not "
                               "written at station %1.",
                               {oddObservation.describe(texts)}));
    if (!moreThanTwoTargets.empty())
        ctx.user.warning(texts(msg::kMoreThanTwoTargets,
                               "More than two targets (backsight and foresight) at station %1; "
                               "the book's station block is made longer to hold them.",
                               {moreThanTwoTargets.describe(texts)}));
    if (!longNames.empty())
        ctx.user.warning(texts(msg::kLongStationNames,
                               "A name longer than the book's column shows (15 characters) is "
                               "written whole at station %1.",
                               {longNames.describe(texts)}));
}

std::string NoSetUpMessage(const Workspace& raw, const MessageTexts& texts) {
    const std::string text =
        texts(msg::kNoSetUp, "The data hold no set-up (ST) record, so there is nothing to convert.");
    // A raw record starts with its code of capitals and digits and a comma.
    auto isRecord = [](std::string_view line) {
        const auto comma = line.find(',');
        if (comma == 0 || comma == std::string_view::npos) return false;
        for (const char c : line.substr(0, comma))
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
        return true;
    };
    std::size_t number = 0;
    for (std::string_view line : raw.view()) {
        ++number;
        if (line.find_first_not_of(" \t\r\x1a") == std::string_view::npos) continue;
        if (!isRecord(line))
            return text + texts(msg::kNoRawRecordAt, " Line %1 is no Nikon raw record.",
                                {std::to_string(number)});
    }
    return text;
}

}  // namespace tarvosen
