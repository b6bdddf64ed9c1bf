// The rows of the R5, M5 and REC500 conversions and the R5 options.
// The command table (commands/) places them in the menus.

#include <array>

#include "app/command.h"
#include "zeiss/zeiss_commands.h"

namespace tarvosen {

namespace {

using enum RowKind;
using enum CliOutput;


const std::array kRows = std::to_array<CommandRow>({
    {Item, "convert.r5.points", {"R5 -> Pn, X, Y, Z", "convert"}, {"R5 -> Pn, X, Y, Z", "convert"},
     {"R5 -> Pn, X, Y, Z", "convert"}, R5ToPointsCommand, {}, 0, "r5-to-points",
     "Convert an R5 file to a point list \"Pn, X, Y, Z, [C]\" written to OUTPUT.",
     R5ToPointsCliOptions, ChosenFile},
    {Item, "convert.r5.dxf", {"R5 -> AutoCAD DXF drawing", "convert"},
     {"R5 -> AutoCAD DXF 图形文件", "convert"}, {"R5 -> AutoCAD DXF 圖形檔案", "convert"}, R5ToDxfCommand,
     {}, 0, "r5-to-dxf", "Convert an R5 file to an AutoCAD DXF point drawing written to OUTPUT.",
     R5ToDxfCliOptions, ChosenFile},
    {Item, "convert.m5.r5", {"M5 -> R5", "convert"}, {"M5 -> R5", "convert"}, {"M5 -> R5", "convert"},
     M5ToR5Command, {}, 0, "m5-to-r5", "Convert Zeiss M5 (REC E) records to R5.", nullptr,
     Workspace},
    {Item, "convert.r5.m5", {"R5 -> M5", "convert"}, {"R5 -> M5", "convert"}, {"R5 -> M5", "convert"},
     R5ToM5Command, {}, 0, "r5-to-m5", "Convert Zeiss R5 records to M5 (REC E).", nullptr,
     Workspace},
    {Item, "convert.rec500.m5", {"REC500 -> REC E", "convert.dini"}, {"REC500 -> REC E", "convert.dini"},
     {"REC500 -> REC E", "convert.dini"}, Rec500ToM5Command,
     {}, 0, "rec500-to-m5", "Convert Zeiss REC500 records to M5 (REC E).", nullptr, Workspace},
    {Item, "convert.r5.options", {"R5 Options...", "convert"}, {"R5 转换选项...", "convert"},
     {"R5 轉換選項...", "convert"}, ShowR5OptionsCommand},
});

}  // namespace

std::span<const CommandRow> ZeissCommandRows() { return kRows; }

}  // namespace tarvosen
