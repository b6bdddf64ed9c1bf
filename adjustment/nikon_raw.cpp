#include "adjustment/nikon_raw.h"

#include <array>

#include "app/command_context.h"

namespace tarvosen {

namespace {

// Fields 0 (the code) to 7 of a line. Fields 0 to 6 end at a comma; field 7
// is the rest of the line. Fields the line does not have are empty.
std::array<std::string_view, 8> SplitFields(std::string_view line) {
    std::array<std::string_view, 8> fields{};
    for (std::size_t i = 0; i < 7; ++i) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos) {
            fields[i] = line;
            return fields;
        }
        fields[i] = line.substr(0, comma);
        line.remove_prefix(comma + 1);
    }
    fields[7] = line;
    return fields;
}

}  // namespace

std::optional<RawRecord> ParseRawRecordLine(std::string_view line, std::size_t lineNumber) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() < 2) return std::nullopt;
    const std::string_view code = line.substr(0, 2);
    if (code != "ST" && code != "SS") return std::nullopt;
    const auto f = SplitFields(line);
    RawRecord record;
    record.lineNumber = lineNumber;
    if (code == "ST") {
        record.kind = RawRecordKind::Station;
        record.station = {std::string(f[1]), std::string(f[3]), std::string(f[5]),
                          std::string(f[7])};
    } else {
        record.kind = RawRecordKind::Observation;
        record.observation = {std::string(f[1]), std::string(f[2]), std::string(f[3]),
                              std::string(f[4]), std::string(f[5])};
    }
    return record;
}

bool NikonRawReader::next(RawRecord& record) {
    while (lines_.next(line_)) {
        if (auto r = ParseRawRecordLine(line_, lines_.lineNumber())) {
            record = std::move(*r);
            return true;
        }
    }
    return false;
}

bool WorkspaceHasData(CommandContext& ctx, const std::string& emptyMessage) {
    if (!ctx.workspace.empty()) return true;
    ctx.user.information(emptyMessage);
    return false;
}

}  // namespace tarvosen
