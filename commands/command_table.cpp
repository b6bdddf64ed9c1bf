// The one command table. The three menu bars, the toolbar and the
// command-line program's list of commands are all built from these rows.

#include <array>

#include "adjustment/adjustment_commands.h"
#include "app/command.h"
#include "app/file_commands.h"
#include "levelling/audit_commands.h"
#include "levelling/levelling_commands.h"
#include "levelling/network/level_network_command.h"
#include "points/point_commands.h"
#include "serial/serial_commands.h"
#include "serial/transfer_log.h"
#include "zeiss/zeiss_commands.h"

namespace tarvosen {

namespace {

using enum RowKind;
using enum CliOutput;

constexpr MenuPlace Absent{};

// Handlers that only the window has (print, exit, about, the lamp panel)
// are left null and looked up by key there.
const std::array kRows = std::to_array<CommandRow>({
    // Data Transfer
    {Menu, "transfer", {"&Data Transfer", ""}, {"[&T]数据传输", ""}, {"[&T]數据傳輸", ""}},
    {Menu, "instrument", {"Instrument", "transfer"}, {"仪器类型", "transfer"}, {"儀器類型", "transfer"}},
    {Item, "instrument.nikon300", {"Nikon 300/400/700 Series", "instrument"},
     {"尼康 300/400/700 系列", "instrument"}, {"尼康 300/400 系列", "instrument"}, SelectInstrument0,
     "instrument", 0},
    {Item, "instrument.nikon500", {"Nikon 352/350/330、502 Series", "instrument"},
     {"尼康 352/350/330、500 系列", "instrument"}, {"尼康 350/330﹜500  系列", "instrument"},
     SelectInstrument1, "instrument", 1},
    {Item, "instrument.nikon800", {"Nikon 800/801 Series", "instrument"},
     {"尼康 800/801 系列", "instrument"}, {"尼康 700/800 系列", "instrument"}, SelectInstrument2,
     "instrument", 2},
    {Item, "instrument.dini", {"Zeiss DINI Digital Level", "instrument"},
     {"蔡司 DINI 电子水准仪", "instrument"}, {"蔡司 DINI 電子水准儀", "instrument"},
     SelectInstrument4, "instrument", 4},
    {Item, "instrument.elta-r", {"Zeiss Elta R45/55 Series", "instrument"},
     {"蔡司 R45/55 系列", "instrument"}, {"蔡司 R45/55 系列", "instrument"}, SelectInstrument3,
     "instrument", 3},
    {Item, "instrument.elta-c", {"Zeiss Elta C Series", "instrument"},
     {"蔡司 C 系列", "instrument"}, {"蔡司 C 系列", "instrument"}, SelectInstrument5, "instrument", 5},
    {Item, "instrument.pc-e500s", {"PC E500S", "instrument"}, {"PCE500S", "instrument"},
     {"PCE500S", "instrument"}, SelectInstrument6, "instrument", 6},
    {Separator, "", {"-", "transfer"}, {"-", "transfer"}, {"-", "transfer"}},
    {Item, "transfer.settings", {"Communication Parameter", "transfer"}, {"通信参数设定", "transfer"},
     {"通信參數設定", "transfer"}, CommunicationParameterCommand},
    {Item, "transfer.download", {"Download...", "transfer"}, {"下载到计算机....", "transfer"},
     {"蔡司儀器到計算机....", "transfer"}, DownloadCommand, {}, 0, "download",
     "Receive data from an instrument on a serial port and save it to OUTPUT.", DownloadCliOptions,
     Workspace, false},
    {Item, "transfer.upload", {"Upload...", "transfer"}, {"上传到仪器....", "transfer"},
     {"計算机到蔡司儀器....", "transfer"}, UploadCommand, {}, 0, "upload",
     "Send the lines of INPUT to an instrument on a serial port.", UploadCliOptions, CliOutput::None},
    {Item, "transfer.replay", {"Transfer Logs...", "transfer"}, {"传输记录...", "transfer"},
     {"傳輸記錄...", "transfer"}, ReplayCommand, {}, 0, "replay",
     "Feed a transfer log through the receive path; the lines it gives go to OUTPUT.", nullptr,
     Workspace, true, true},
    {Item, "transfer.signal-lamps", {"View Port Signal", "transfer"}, {"查看通信口信号", "transfer"},
     {"查看通信口信號", "transfer"}, TogglePortSignalCommand},
    {Separator, "", {"-", "transfer"}, {"-", "transfer"}, {"-", "transfer"}},
    {Item, "app.exit", {"Exit", "transfer"}, {"退出", "transfer"}, {"退出", "transfer"}},

    // File Processing
    {Menu, "file", {"&File Processing", ""}, {"[&F]文件处理", ""}, {"[&F]文件處理", ""}},
    {Item, "file.load", {"Load file", "file"}, {"装入文件", "file"}, {"裝入文件", "file"},
     LoadFileCommand},
    {Item, "file.save", {"Save", "file"}, {"保  存", "file"}, {"保  存", "file"}, SaveFileCommand},
    {Item, "file.save-as", {"Save as...", "file"}, {"另存为...", "file"}, {"另存為...", "file"},
     SaveAsCommand},
    {Item, "file.clear", {"Clear window text", "file"}, {"清除窗口内容", "file"},
     {"清除窗口內容", "file"}, ClearCommand},
    {Separator, "", {"-", "file"}, {"-", "file"}, {"-", "file"}},
    {Item, "file.print-setup", {"Printer Setup", "file"}, {"打印设置", "file"}, {"打印設置", "file"}},
    {Item, "file.print", {"Print", "file"}, {"打    印", "file"}, {"打    印", "file"}},

    // Convert
    {Menu, "convert", {"&Convert", ""}, {"[&C] 格式转换", ""}, {"[&C] 格式轉換", ""}},
    {Item, "convert.r5.points", {"R5 -> Pn, X, Y, Z", "convert"}, {"R5 -> Pn, X, Y, Z", "convert"},
     {"R5->Pn, X, Y, Z", "convert"}, R5ToPointsCommand, {}, 0, "r5-to-points",
     "Convert an R5 file to a point list \"Pn, X, Y, Z, [C]\" written to OUTPUT.",
     R5ToPointsCliOptions, ChosenFile},
    {Item, "convert.r5.dxf", {"R5 -> Auto CAD Dxf file", "convert"},
     {"R5 -> Auto CAD Dxf file", "convert"}, {"R5->Auto CAD Dxf file", "convert"}, R5ToDxfCommand,
     {}, 0, "r5-to-dxf", "Convert an R5 file to an AutoCAD DXF point drawing written to OUTPUT.",
     R5ToDxfCliOptions, ChosenFile},
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    {Menu, "convert.nikon", Absent, {"尼康原始数据转换", "convert"}, Absent},
    {Item, "convert.nikon300.points", {"Nikon 300/400 ->Pn, X, Y, Z, [C]", "convert"},
     {"NIKON 300/400 RAW -> Pn, X, Y, Z, [C]", "convert.nikon"},
     {"尼康 300/400 -> Pn, X, Y, Z, [C]", "convert"}, Nikon300ToPointsCommand, {}, 0,
     "nikon300-to-points", "Convert Nikon 300/400 raw data to a point list.", nullptr, Workspace},
    {Item, "convert.nikon.cosa", Absent, {"NIKON RAW -> 武测科傻平差格式", "convert.nikon"}, Absent,
     NikonToCosaCommand, {}, 0, "nikon-to-cosa",
     "Convert Nikon raw data to a COSA plane observation file (*.in2).", NikonToCosaCliOptions,
     Workspace},
    {Item, "convert.nikon.traverse", Absent, {"NIKON RAW -> za勘测院格式", "convert.nikon"}, Absent,
     NikonToTraverseCommand, {}, 0, "nikon-to-traverse",
     "Convert Nikon raw data to the traverse adjustment text and, with --book, the record book.",
     NikonToTraverseCliOptions, Workspace},
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    {Item, "convert.points.dxf", {"Pn, X, Y, Z, [C]  -> AutoCAD Dxf", "convert"},
     {"Pn, X, Y, Z, [C]  -> AutoCAD Dxf", "convert"}, {"Pn, X, Y, Z, [C]  -> AutoCAD Dxf", "convert"},
     PointsToDxfCommand, {}, 0, "points-to-dxf",
     "Convert a point list to an AutoCAD DXF point drawing.", PointListCliOptions, Workspace},
    {Item, "convert.points.r5", {"Pn, X, Y, Z, [C]  -> R5 ", "convert"},
     {"Pn, X, Y, Z, [C]  -> R5 ", "convert"}, {"Pn, X, Y, Z, [C] -> R5", "convert"},
     PointsToR5Command, {}, 0, "points-to-r5", "Convert a point list to Zeiss R5 records.",
     PointsToR5CliOptions, Workspace},
    {Item, "convert.points.cor", {"Pn, X, Y, Z, [C]  -> EPSW  *.COR", "convert"},
     {"Pn, X, Y, Z, [C]  -> 清华山维 *.COR", "convert"},
     {"Pn, X, Y, Z, [C]  -> 清華山維 *.COR", "convert"}, PointsToCorCommand, {}, 0, "points-to-cor",
     "Convert a point list to an EPSW *.COR file.", PointListCliOptions, Workspace},
    {Item, "convert.points.org", {"Pn, X, Y, Z, [C]  ->TOPMAP *.org ", "convert"},
     {"Pn, X, Y, Z, [C]  -> 道亨格式 *.org ", "convert"},
     {"Pn, X, Y, Z, [C]  -> 道亨格式*.org ", "convert"}, PointsToOrgCommand, {}, 0, "points-to-org",
     "Convert a point list to a TOPMAP *.org file.", PointListCliOptions, Workspace},
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    {Item, "convert.m5.r5", {"M5 -> R5", "convert"}, {"M5 -> R5", "convert"}, {"M5 -> R5", "convert"},
     M5ToR5Command, {}, 0, "m5-to-r5", "Convert Zeiss M5 (REC E) records to R5.", nullptr,
     Workspace},
    {Item, "convert.r5.m5", {"R5 -> M5", "convert"}, {"R5 -> M5", "convert"}, {"R5 -> M5", "convert"},
     R5ToM5Command, {}, 0, "r5-to-m5", "Convert Zeiss R5 records to M5 (REC E).", nullptr,
     Workspace},
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    {Menu, "convert.dini", Absent, {"蔡司电子水准仪（DINI）数据处理", "convert"}, Absent},
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
    {Item, "convert.rec500.m5", Absent, {"REC500 -> REC E", "convert.dini"}, Absent, Rec500ToM5Command,
     {}, 0, "rec500-to-m5", "Convert Zeiss REC500 records to M5 (REC E).", nullptr, Workspace},
    {Item, "check.dini-audit", {"DINI M5 -> Consistency Audit", "convert"},
     {"REC E(M5) -> 数据一致性检查", "convert.dini"}, Absent, DiniAuditCommand, {}, 0, "dini-audit",
     "Audit DiNi levelling data for consistency; exit status 4 when anything was found.",
     CheckCliOptions, CliOutput::None, true, true},
    {Item, "check.records", Absent, Absent, Absent, CheckRecordsCommand, {}, 0, "check",
     "Check the addresses of R5, M5 and REC500 files (and audit DiNi levelling data); "
     "exit status 4 when anything was found.",
     CheckCliOptions, CliOutput::None, true, true},
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    {Item, "convert.r5.options", {"R5  Option", "convert"}, {"R5 转换选项", "convert"},
     {"R5 轉換選項", "convert"}, ShowR5OptionsCommand},

    // Language
    {Menu, "language", {"&Language", ""}, {"[&L]语言", ""}, {"[&L]語言", ""}},
    {Item, "language.english", {"English", "language"}, {"English", "language"}, {"English", "language"},
     SelectEnglish, "language", 1},
    {Item, "language.gb", {"Simplified Chinese(GB)", "language"},
     {"Simplified Chinese(GB)", "language"}, {"Simplified Chinese(GB)", "language"},
     SelectSimplifiedChinese, "language", 2},
    {Item, "language.big5", {"Traditional Chinese(Big5)", "language"},
     {"Traditional Chinese(Big5)", "language"}, {"Traditional Chinese(Big5)", "language"},
     SelectTraditionalChinese, "language", 3},

    // Help (English and GB) and Window (Big5, items without a handler)
    {Menu, "help", {"&Help", ""}, {"[&H]帮助", ""}, Absent},
    {Item, "help.about", {"About", "help"}, {"关于...", "help"}, Absent},
    {Menu, "window", Absent, Absent, {"[&W]窗口", ""}},
    {Item, "window.tile", Absent, Absent, {"平    鋪", "window"}},
    {Item, "window.cascade", Absent, Absent, {"層    疊", "window"}},
    {Item, "window.arrange-icons", Absent, Absent, {"圖標重排", "window"}},
});

const std::array kToolbar = std::to_array<ToolbarButton>({
    {"file.load", "装入文件"},
    {"file.save", "保存文档"},
    {"", ""},
    {"transfer.settings", "通信参数设定"},
    {"transfer.download", "仪器数据下载"},
    {"transfer.upload", "上传到计算机"},
    {"", ""},
    {"file.print", "打印窗口中的内容"},
    {"", ""},
});

}  // namespace

std::span<const CommandRow> CommandTable() { return kRows; }

std::span<const ToolbarButton> ToolbarLayout() { return kToolbar; }

const CommandRow* FindCommandByKey(std::string_view key) {
    for (const auto& row : kRows)
        if (row.kind != Separator && row.key == key) return &row;
    return nullptr;
}

const CommandRow* FindCommandByCliName(std::string_view cliName) {
    for (const auto& row : kRows)
        if (!row.cliName.empty() && row.cliName == cliName) return &row;
    return nullptr;
}

}  // namespace tarvosen
