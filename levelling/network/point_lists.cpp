#include "levelling/network/point_lists.h"

#include "app/errors.h"
#include "app/workspace.h"
#include "spreadsheet/values.h"
#include "zeiss/fixed_columns.h"

namespace tarvosen::levelling {

namespace {

// The fields of each line that is not blank or a comment, with its number.
template <typename Use>
void ForEachEntry(const std::filesystem::path& file, Use use) {
    Workspace lines;
    lines.load(file);
    for (std::size_t i = 0; i < lines.lineCount(); ++i) {
        std::string text = spreadsheet::ToUtf8(lines.line(i));
        if (i == 0 && text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
        if (const auto hash = text.find('#'); hash != std::string::npos) text.resize(hash);
        std::vector<std::string> fields;
        std::string field;
        for (char c : text + ' ') {
            if (c == ',' || c == ' ' || c == '\t' || c == '\r') {
                if (!field.empty()) fields.push_back(field);
                field.clear();
            } else {
                field += c;
            }
        }
        if (!fields.empty()) use(fields, i + 1);
    }
}

// `expected` names what the line should hold, with the file in %1 and the
// line in %2.
[[noreturn]] void Malformed(const std::filesystem::path& file, std::size_t line, int expected,
                            const char* expectedEnglish) {
    throw Failure({expected, expectedEnglish, {file.string(), std::to_string(line)}});
}

}  // namespace

std::vector<std::pair<std::string, double>> ReadKnownHeights(const std::filesystem::path& file) {
    std::vector<std::pair<std::string, double>> heights;
    ForEachEntry(file, [&](const std::vector<std::string>& fields, std::size_t line) {
        const std::optional<double> height =
            fields.size() == 2 ? ParseWholeNumber(fields[1]) : std::nullopt;
        if (!height)
            Malformed(file, line, msg::kExpectedNameAndHeight,
                      "%1, line %2: expected a point name and its height");
        for (const auto& [name, h] : heights)
            if (name == fields[0])
                throw Failure({msg::kHeightGivenTwice, "%1, line %2: %3 has a height already",
                               {file.string(), std::to_string(line), name}});
        heights.emplace_back(fields[0], *height);
    });
    return heights;
}

std::set<std::string> ReadBenchmarks(const std::filesystem::path& file) {
    std::set<std::string> names;
    ForEachEntry(file, [&](const std::vector<std::string>& fields, std::size_t line) {
        if (fields.size() != 1)
            Malformed(file, line, msg::kExpectedOnePointName, "%1, line %2: expected one point name");
        names.insert(fields[0]);
    });
    return names;
}

}  // namespace tarvosen::levelling
