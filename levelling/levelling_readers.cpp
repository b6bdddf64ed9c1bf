// The table of levelling readers: a reader of a new format is one row here.

#include <array>

#include "app/trim.h"

#include "leica/gsi_levelling.h"
#include "levelling/levelling_model.h"
#include "levelling/m5_levelling_reader.h"

namespace tarvosen::levelling {

namespace {

constexpr std::array kReaders = std::to_array<LevellingReader>({
    {"M5", RecognisesM5, ReadM5Levelling},
    {"GSI", leica::IsGsiLevelling, leica::ReadGsiLevelling},
});

// The first line with text, cut to what a message can quote.
std::string FirstLine(const Workspace& lines, std::size_t& number) {
    number = 0;
    for (std::string_view line : lines.view()) {
        ++number;
        line = Trim(line, Blanks::SpacesAndControls);
        if (!line.empty()) return std::string(line.substr(0, 60));
    }
    return {};
}

}  // namespace

int ReadingsPerStaff(std::string_view method) {
    if (!method.empty() && method.front() == 'a') method.remove_prefix(1);
    return method == "BF" ? 1 : 2;
}

std::span<const LevellingReader> LevellingReaders() { return kReaders; }

const LevellingReader* FindLevellingReader(const Workspace& lines) {
    for (const LevellingReader& reader : kReaders)
        if (reader.recognises(lines)) return &reader;
    return nullptr;
}

ReadOutcome ReadLevelling(CommandContext& ctx, const Workspace& lines, const std::string& file,
                          LevellingSink& sink, LineAccount& account) {
    const LevellingReader* reader = FindLevellingReader(lines);
    if (!reader) {
        std::size_t number = 0;
        const std::string first = FirstLine(lines, number);
        ctx.user.error(TextsOf(ctx)(msg::kNoLevellingReader,
                                    "%1:%2: this is no levelling data the program reads (DiNi "
                                    "M5, Leica GSI); the line is \"%3\".",
                                    {file, std::to_string(number), first}));
        return ReadOutcome::Refused;
    }
    sink.beginFile(file);
    account.beginFile(file);
    const ReadOutcome outcome = reader->read(ctx, lines, sink, account);
    if (outcome != ReadOutcome::Refused) sink.finish();
    return outcome;
}

}  // namespace tarvosen::levelling
