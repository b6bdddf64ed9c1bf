// The rows of the DINI record books, the levelling network and the checks.
// The command table (commands/) places them in the menus.

#include <array>

#include "app/command.h"
#include "leica/gsi_levelling.h"
#include "levelling/audit_commands.h"
#include "levelling/dini_audit.h"
#include "levelling/levelling_commands.h"
#include "levelling/network/level_network_command.h"

namespace tarvosen {

namespace {

using enum RowKind;
using enum CliOutput;

constexpr MenuPlace Absent{};

const std::array kRows = std::to_array<CommandRow>({
    {Item, "book.dini", {"REC E(M5) -> Level Recording Paper", "convert.dini"},
     {"REC E(M5) -> 水准仪记录格式（测绘院格式）", "convert.dini"},
     {"REC E(M5) -> 水準儀記錄格式（測繪院格式）", "convert.dini"}, DiniBookCommand, {}, 0,
     "dini-book", "Write the levelling record book (surveying-institute layout) to OUTPUT.",
     nullptr, ChosenFile},
    {Item, "book.dini.checked", {"REC E(M5) -> High-order Level Book (error detection)", "convert.dini"},
     {"REC E(M5) -> 高等级水准仪记录格式（含误差探测）", "convert.dini"},
     {"REC E(M5) -> 高等級水準儀記錄格式（含誤差探測）", "convert.dini"}, DiniBookCheckedCommand, {}, 0, "dini-book-checked",
     "Write the high-order levelling record book with tolerance checks to OUTPUT.",
     DiniBookCheckedCliOptions, ChosenFile},
    {Item, "book.dini.geo", {"REC E(M5) -> Level Recording Paper (geological institute)", "convert.dini"},
     {"REC E(M5) -> 水准仪记录格式（地调院）", "convert.dini"},
     {"REC E(M5) -> 水準儀記錄格式（地調院）", "convert.dini"},
     DiniBookGeoCommand, {}, 0, "dini-book-geo",
     "Write the geological-institute levelling record book to OUTPUT.", DiniBookGeoCliOptions,
     ChosenFile},
    {Item, "levelling.network", {"REC E(M5) -> Levelling Network Adjustment", "convert.dini"},
     {"REC E(M5) -> 水准网检查与平差", "convert.dini"}, {"REC E(M5) -> 水準網檢查與平差", "convert.dini"},
     LevelNetworkCommand, {}, 0, "level-network",
     "Check the sections, routes and loops of DINI M5 files against a tolerance profile, adjust "
     "the heights and write the result workbook to OUTPUT.",
     LevelNetworkCliOptions, ChosenFile, true, true},
    {Item, "check.dini-audit", {"REC E(M5) -> Consistency Audit", "convert.dini"},
     {"REC E(M5) -> 数据一致性检查", "convert.dini"},
     {"REC E(M5) -> 資料一致性檢查", "convert.dini"}, DiniAuditCommand, {}, 0, "dini-audit",
     "Audit DiNi levelling data for consistency; exit status 4 when anything was found.",
     CheckCliOptions, CliOutput::None, true, true},
    {Item, "check.records", Absent, Absent, Absent, CheckRecordsCommand, {}, 0, "check",
     "Check files of any format the program reads (the account of their lines, their "
     "addresses, the audit of DiNi levelling data); exit status 4 when anything was found, 1 "
     "for a file no format reads.",
     CheckCliOptions, CliOutput::None, true, true},
});

}  // namespace

std::span<const CommandRow> LevellingCommandRows() { return kRows; }

std::span<const FormatCheck> LevellingFormatChecks() {
    static constexpr FormatCheck kChecks[] = {
        {"DiNi M5 levelling", levelling::HoldsDiniLevelling, levelling::AccountDiniLines},
        {"GSI levelling", leica::IsGsiLevelling, levelling::AccountDiniLines},
    };
    return kChecks;
}

}  // namespace tarvosen
