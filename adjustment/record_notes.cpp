#include "adjustment/record_notes.h"

#include "app/command_context.h"

namespace tarvosen {

namespace {

constexpr std::size_t kNamedAtMost = 10;

std::string More(std::size_t total) {
    return total > kNamedAtMost ? " and " + std::to_string(total - kNamedAtMost) + " more" : "";
}

}  // namespace

void StationList::add(std::string_view station, std::size_t line) {
    if (!entries_.empty() && entries_.back().first == station && entries_.back().second == line)
        return;
    entries_.emplace_back(std::string(station), line);
}

std::string StationList::describe() const {
    std::string text;
    for (std::size_t i = 0; i < entries_.size() && i < kNamedAtMost; ++i) {
        if (i) text += ", ";
        text += "\"" + entries_[i].first + "\" (line " + std::to_string(entries_[i].second) + ")";
    }
    return text + More(entries_.size());
}

std::string DescribeLines(const std::vector<std::size_t>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < kNamedAtMost; ++i) {
        if (i) text += ", ";
        text += std::to_string(lines[i]);
    }
    return text + More(lines.size());
}

void RecordNotes::reportReading(CommandContext& ctx, std::string_view product) const {
    if (!beforeFirstSetUp.empty())
        ctx.user.warning(
            "Observations before the first set-up (ST) record belong to no station "
            "and are left out of " +
            std::string(product) + ": line" + (beforeFirstSetUp.size() > 1 ? "s " : " ") +
            DescribeLines(beforeFirstSetUp) + ".");
    if (!extraObservations.empty())
        ctx.user.warning(
            "Only the first four observations of a station (backsight and foresight "
            "in two faces) go into " +
            std::string(product) + "; later ones are left out at station " +
            extraObservations.describe() + ".");
}

void RecordNotes::reportStations(CommandContext& ctx) const {
    if (!missingFace.empty())
        ctx.user.warning(
            "A backsight or foresight lacks its face I or face II observation at "
            "station " +
            missingFace.describe() + "; the missing readings are left empty.");
    if (!oddObservation.empty())
        ctx.user.warning(
            "A target observed only once (its second face is missing) is not "
            "written at station " +
            oddObservation.describe() + ".");
    if (!moreThanTwoTargets.empty())
        ctx.user.warning("More than two targets (backsight and foresight) at station " +
                         moreThanTwoTargets.describe() +
                         "; the book's station block is made longer to hold them.");
    if (!longNames.empty())
        ctx.user.warning(
            "A name longer than the book's column shows (15 characters) is written "
            "whole at station " +
            longNames.describe() + ".");
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
