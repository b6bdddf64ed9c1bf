// The rows of the Leica GSI commands. The command table (commands/) places
// them in the menus; the levelling commands take GSI files through the
// levelling reader table.

#include <array>

#include "adjustment/adjustment_commands.h"
#include "app/command.h"
#include "leica/gsi_job.h"
#include "leica/gsi_levelling.h"
#include "leica/gsi_lines.h"
#include "leica/leica_commands.h"
#include "levelling/audit_commands.h"
#include "levelling/levelling_commands.h"
#include "levelling/network/level_network_command.h"

namespace tarvosen {

namespace {

using enum RowKind;

const std::array kRows = std::to_array<CommandRow>({
    {Item, "convert.gsi.points", {"GSI -> Pn, X, Y, Z", "convert.leica"},
     {"GSI -> Pn, X, Y, Z", "convert.leica"}, {"GSI -> Pn, X, Y, Z", "convert.leica"},
     GsiToPointsCommand, {}, 0, "gsi-to-points",
     "Convert a Leica GSI total-station job to a point list \"Pn, X, Y, Z\" written to OUTPUT.",
     nullptr, CliOutput::ChosenFile},
    {Item, "convert.gsi.dxf", {"GSI -> AutoCAD DXF drawing", "convert.leica"},
     {"GSI -> AutoCAD DXF 图形文件", "convert.leica"}, {"GSI -> AutoCAD DXF 圖形檔案", "convert.leica"},
     GsiToDxfCommand, {}, 0, "gsi-to-dxf",
     "Convert a Leica GSI total-station job to an AutoCAD DXF point drawing written to OUTPUT.",
     nullptr, CliOutput::ChosenFile},
    {Item, "convert.gsi.cosa", {"GSI -> COSA observation file", "convert.leica"},
     {"GSI -> 科傻观测文件", "convert.leica"}, {"GSI -> 科傻觀測檔案", "convert.leica"},
     GsiToCosaCommand, {}, 0, "gsi-to-cosa",
     "Write the set-ups and observations of a Leica GSI total-station job as a COSA plane "
     "observation file.",
     NikonToCosaCliOptions, CliOutput::Workspace},
    // The levelling commands read GSI as they read M5; these are their places
    // in the GSI menu (the command line names them dini-book, ...).
    {Item, "book.gsi", {"GSI -> Level Recording Paper", "convert.leica"},
     {"GSI -> 水准仪记录格式（测绘院格式）", "convert.leica"},
     {"GSI -> 水準儀記錄格式（測繪院格式）", "convert.leica"}, DiniBookCommand},
    {Item, "book.gsi.checked", {"GSI -> High-order Level Book (error detection)", "convert.leica"},
     {"GSI -> 高等级水准仪记录格式（含误差探测）", "convert.leica"},
     {"GSI -> 高等級水準儀記錄格式（含誤差探測）", "convert.leica"}, DiniBookCheckedCommand},
    {Item, "book.gsi.geo", {"GSI -> Level Recording Paper (geological institute)", "convert.leica"},
     {"GSI -> 水准仪记录格式（地调院）", "convert.leica"},
     {"GSI -> 水準儀記錄格式（地調院）", "convert.leica"}, DiniBookGeoCommand},
    {Item, "levelling.gsi.network", {"GSI -> Levelling Network Adjustment", "convert.leica"},
     {"GSI -> 水准网检查与平差", "convert.leica"}, {"GSI -> 水準網檢查與平差", "convert.leica"},
     LevelNetworkCommand},
    {Item, "check.gsi.audit", {"GSI -> Consistency Audit", "convert.leica"},
     {"GSI -> 数据一致性检查", "convert.leica"}, {"GSI -> 資料一致性檢查", "convert.leica"},
     DiniAuditCommand},
});

std::optional<LineAccount> AccountJob(CommandContext& ctx, const Workspace& lines) {
    LineAccount account(DocumentFileName(ctx));
    leica::GsiJob job;
    if (!leica::ReadGsiJob(ctx, lines, DocumentFileName(ctx), account, job)) return std::nullopt;
    return account;
}

const std::array kChecks = std::to_array<FormatCheck>({
    {"GSI", leica::IsGsiJob, AccountJob},
});

}  // namespace

std::span<const CommandRow> LeicaCommandRows() { return kRows; }

std::span<const FormatCheck> LeicaFormatChecks() { return kChecks; }

}  // namespace tarvosen
