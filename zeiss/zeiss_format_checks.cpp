// The formats the Zeiss readers read, for `check`: each is told by its first
// lines and read by the reader of its conversion into lines no one keeps.

#include <array>

#include "app/format_check.h"
#include "zeiss/m5_line.h"
#include "zeiss/r5_line.h"
#include "zeiss/r5_points.h"
#include "zeiss/rec500_jobs.h"
#include "zeiss/record_conversions.h"
#include "zeiss/zeiss_commands.h"

namespace tarvosen {

namespace {

bool FirstLineStarts(const Workspace& lines, std::string_view start) {
    return lines.lineCount() > 0 && lines.line(0).starts_with(start);
}

bool IsR5(const Workspace& lines) { return FirstLineStarts(lines, "For R5"); }

// M5 text or point records, as total stations write them (a digital level's
// M5 data has measurement and information records only).
bool IsM5CoordinateOrPolar(const Workspace& lines) {
    if (!FirstLineStarts(lines, "For M5")) return false;
    std::size_t number = 0;
    for (const std::string_view text : lines.view()) {
        const zeiss::M5Line line(text, ++number);
        const std::string kind = line.kind();
        if (kind.starts_with("TI") || kind.starts_with("PI")) return true;
    }
    return false;
}

std::optional<LineAccount> AccountR5(CommandContext& ctx, const Workspace& lines) {
    LineAccount account(DocumentFileName(ctx));
    Workspace points;
    int counter = 0;
    if (!zeiss::ReadR5Points(ctx, lines, points, counter, account)) return std::nullopt;
    return account;
}

template <bool (*Read)(CommandContext&, const Workspace&, Workspace&, LineAccount&, std::size_t&)>
std::optional<LineAccount> AccountOf(CommandContext& ctx, const Workspace& lines) {
    LineAccount account(DocumentFileName(ctx));
    Workspace converted;
    std::size_t written = 0;
    if (!Read(ctx, lines, converted, account, written)) return std::nullopt;
    return account;
}

const std::array kChecks{
    FormatCheck{"R5", IsR5, AccountR5},
    FormatCheck{"M5 coordinates", IsM5CoordinateOrPolar, AccountOf<zeiss::ReadM5AsR5>},
    FormatCheck{"REC500 coordinates", zeiss::LooksLikeRec500CoordinateJob,
                AccountOf<zeiss::ReadRec500AsM5>},
};

}  // namespace

std::span<const FormatCheck> ZeissFormatChecks() { return kChecks; }

}  // namespace tarvosen
