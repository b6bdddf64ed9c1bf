// The one command table. Each subsystem declares the rows of its commands
// (captions, handler, command-line name and options) in its own folder; this
// file places them: the menus, their separators, and where each command sits.
// The three menu bars, the toolbar and the command-line program's list of
// commands are all built from the assembled table.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "adjustment/adjustment_commands.h"
#include "app/command.h"
#include "app/file_commands.h"
#include "leica/leica_commands.h"
#include "levelling/levelling_commands.h"
#include "points/point_commands.h"
#include "serial/serial_commands.h"
#include "zeiss/zeiss_commands.h"

namespace tarvosen {

namespace {

using enum RowKind;

constexpr MenuPlace Absent{};

// The place of a command in the layout, by its id.
constexpr CommandRow Place(std::string_view id) { return {Item, id, Absent, Absent, Absent}; }

// The subsystems whose commands the table holds: one line per subsystem.
constexpr std::span<const CommandRow> (*kDeclarations[])() = {
    AppCommandRows,   SerialCommandRows,     ZeissCommandRows,
    PointCommandRows, AdjustmentCommandRows, LevellingCommandRows,
    LeicaCommandRows,
};

// Menus and separators in full; an item by its command id alone, filled in
// from the subsystem that declares it. Adding a command adds its line here.
const std::array kLayout = std::to_array<CommandRow>({
    // Data Transfer
    {Menu, "transfer", {"&Data Transfer", ""}, {"[&T]数据传输", ""}, {"[&T]資料傳輸", ""}},
    {Menu, "instrument", {"Instrument", "transfer"}, {"仪器类型", "transfer"}, {"儀器類型", "transfer"}},
    Place("instrument.nikon300"),
    Place("instrument.nikon500"),
    Place("instrument.nikon800"),
    Place("instrument.dini"),
    Place("instrument.elta-r"),
    Place("instrument.elta-c"),
    Place("instrument.pc-e500s"),
    {Separator, "", {"-", "transfer"}, {"-", "transfer"}, {"-", "transfer"}},
    Place("transfer.settings"),
    Place("transfer.download"),
    Place("transfer.upload"),
    Place("transfer.replay"),
    Place("transfer.signal-lamps"),
    {Separator, "", {"-", "transfer"}, {"-", "transfer"}, {"-", "transfer"}},
    Place("app.exit"),

    // File Processing
    {Menu, "file", {"&File Processing", ""}, {"[&F]文件处理", ""}, {"[&F]檔案處理", ""}},
    Place("file.load"),
    Place("file.save"),
    Place("file.save-as"),
    Place("file.clear"),
    {Separator, "", {"-", "file"}, {"-", "file"}, {"-", "file"}},
    Place("file.print-setup"),
    Place("file.print"),

    // Convert
    {Menu, "convert", {"&Convert", ""}, {"[&C]格式转换", ""}, {"[&C]格式轉換", ""}},
    Place("convert.r5.points"),
    Place("convert.r5.dxf"),
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    {Menu, "convert.nikon", {"Nikon raw data", "convert"}, {"尼康原始数据转换", "convert"},
     {"尼康原始資料轉換", "convert"}},
    Place("convert.nikon300.points"),
    Place("convert.nikon.cosa"),
    Place("convert.nikon.traverse"),
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    Place("convert.points.dxf"),
    Place("convert.points.r5"),
    Place("convert.points.cor"),
    Place("convert.points.org"),
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    Place("convert.m5.r5"),
    Place("convert.r5.m5"),
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    {Menu, "convert.dini", {"Zeiss DINI digital level", "convert"},
     {"蔡司电子水准仪（DINI）数据处理", "convert"}, {"蔡司電子水準儀（DINI）資料處理", "convert"}},
    Place("book.dini"),
    Place("book.dini.checked"),
    Place("book.dini.geo"),
    Place("levelling.network"),
    Place("convert.rec500.m5"),
    Place("check.dini-audit"),
    Place("check.records"),
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    {Menu, "convert.leica", {"Leica GSI", "convert"}, {"徕卡 GSI 数据处理", "convert"},
     {"徠卡 GSI 資料處理", "convert"}},
    Place("convert.gsi.points"),
    Place("convert.gsi.dxf"),
    Place("convert.gsi.cosa"),
    Place("book.gsi"),
    Place("book.gsi.checked"),
    Place("book.gsi.geo"),
    Place("levelling.gsi.network"),
    Place("check.gsi.audit"),
    {Separator, "", {"-", "convert"}, {"-", "convert"}, {"-", "convert"}},
    Place("convert.r5.options"),
    Place("app.read-strictly"),

    // Language
    {Menu, "language", {"&Language", ""}, {"[&L]语言", ""}, {"[&L]語言", ""}},
    Place("language.english"),
    Place("language.gb"),
    Place("language.big5"),

    // Help
    {Menu, "help", {"&Help", ""}, {"[&H]帮助", ""}, {"[&H]幫助", ""}},
    Place("help.manual"),
    Place("help.about"),

});

const std::array kToolbar = std::to_array<ToolbarButton>({
    {"file.load", "Load a file", "装入文件", "載入檔案"},
    {"file.save", "Save the text", "保存文档", "儲存檔案"},
    {"", "", "", ""},
    {"transfer.settings", "Communication parameters", "通信参数设定", "通訊參數設定"},
    {"transfer.download", "Download from the instrument", "从仪器下载数据", "從儀器下載資料"},
    {"transfer.upload", "Upload to the instrument", "上传到仪器", "上傳到儀器"},
    {"", "", "", ""},
    {"file.print", "Print the text", "打印窗口中的内容", "列印視窗中的內容"},
    {"", "", "", ""},
});

[[noreturn]] void TableFault(const char* what, std::string_view key) {
    std::fprintf(stderr, "command table: %s: %.*s\n", what, int(key.size()), key.data());
    std::abort();
}

std::vector<CommandRow> AssembleTable() {
    std::map<std::string_view, const CommandRow*> declared;
    for (auto rows : kDeclarations)
        for (const CommandRow& row : rows())
            if (!declared.emplace(row.key, &row).second) TableFault("declared twice", row.key);
    std::vector<CommandRow> table;
    for (const CommandRow& row : kLayout) {
        if (row.kind != Item) {
            table.push_back(row);
            continue;
        }
        const auto found = declared.find(row.key);
        if (found == declared.end()) TableFault("placed but not declared", row.key);
        table.push_back(*found->second);
        declared.erase(found);
    }
    if (!declared.empty()) TableFault("declared but not placed", declared.begin()->first);
    return table;
}

const std::vector<CommandRow>& Rows() {
    static const std::vector<CommandRow> rows = AssembleTable();
    return rows;
}

}  // namespace

std::span<const CommandRow> CommandTable() { return Rows(); }

std::span<const ToolbarButton> ToolbarLayout() { return kToolbar; }

std::span<const FormatCheck> FormatChecks() {
    // Levelling first: its M5 and REC500 readers tell levelling data from the
    // coordinate records the others read.
    static const std::vector<FormatCheck> checks = [] {
        std::vector<FormatCheck> all;
        for (auto declared : {LevellingFormatChecks, ZeissFormatChecks, PointFormatChecks,
                              AdjustmentFormatChecks, LeicaFormatChecks})
            for (const FormatCheck& check : declared()) all.push_back(check);
        return all;
    }();
    return checks;
}

const CommandRow* FindCommandByKey(std::string_view key) {
    for (const auto& row : Rows())
        if (row.kind != Separator && row.key == key) return &row;
    return nullptr;
}

const CommandRow* FindCommandByCliName(std::string_view cliName) {
    for (const auto& row : Rows())
        if (!row.cliName.empty() && row.cliName == cliName) return &row;
    return nullptr;
}

}  // namespace tarvosen
