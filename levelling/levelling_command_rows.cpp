// The rows of the DINI record books, the levelling network and the checks.
// The command table (commands/) places them in the menus.

#include <array>

#include "app/command.h"
#include "levelling/audit_commands.h"
#include "levelling/levelling_commands.h"
#include "levelling/network/level_network_command.h"

namespace tarvosen {

namespace {

using enum RowKind;
using enum CliOutput;

constexpr MenuPlace Absent{};

const std::array kRows = std::to_array<CommandRow>({
    {Item, "book.dini", {"DINI M5 -> Level Recording Paper", "convert"},
     {"REC E(M5) -> 水准仪记录格式(voda格式）", "convert.dini"}, Absent, DiniBookCommand, {}, 0,
     "dini-book", "Write the levelling record book (surveying-institute layout) to OUTPUT.",
     nullptr, ChosenFile},
    {Item, "book.dini.checked", Absent, {"REC E(M5) -> 高等级水准仪记录格式(含误差探测)", "convert.dini"},
     Absent, DiniBookCheckedCommand, {}, 0, "dini-book-checked",
     "Write the high-order levelling record book with tolerance checks to OUTPUT.",
     DiniBookCheckedCliOptions, ChosenFile},
    {Item, "book.dini.geo", Absent, {"REC E(M5) -> 水准仪记录格式(vu地调院）", "convert.dini"}, Absent,
     DiniBookGeoCommand, {}, 0, "dini-book-geo",
     "Write the geological-institute levelling record book to OUTPUT.", DiniBookGeoCliOptions,
     ChosenFile},
    {Item, "levelling.network", {"DINI M5 -> Levelling Network Adjustment", "convert"},
     {"REC E(M5) -> 水准网检查与平差", "convert.dini"}, {"REC E(M5) -> 水准網檢查與平差", "convert"},
     LevelNetworkCommand, {}, 0, "level-network",
     "Check the sections, routes and loops of DINI M5 files against a tolerance profile, adjust "
     "the heights and write the result workbook to OUTPUT.",
     LevelNetworkCliOptions, ChosenFile, true, true},
    {Item, "check.dini-audit", {"DINI M5 -> Consistency Audit", "convert"},
     {"REC E(M5) -> 数据一致性检查", "convert.dini"}, Absent, DiniAuditCommand, {}, 0, "dini-audit",
     "Audit DiNi levelling data for consistency; exit status 4 when anything was found.",
     CheckCliOptions, CliOutput::None, true, true},
    {Item, "check.records", Absent, Absent, Absent, CheckRecordsCommand, {}, 0, "check",
     "Check the addresses of R5, M5 and REC500 files (and audit DiNi levelling data); "
     "exit status 4 when anything was found.",
     CheckCliOptions, CliOutput::None, true, true},
});

}  // namespace

std::span<const CommandRow> LevellingCommandRows() { return kRows; }

}  // namespace tarvosen
