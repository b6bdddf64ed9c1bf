// The rows of the workspace's file commands, the language and instrument choices,
// and the items only the window handles (print, exit, about).
// The command table (commands/) places them in the menus.

#include <array>

#include "app/command.h"
#include "app/file_commands.h"

namespace tarvosen {

namespace {

using enum RowKind;
using enum CliOutput;


const std::array kRows = std::to_array<CommandRow>({
    {Item, "instrument.nikon300", {"Nikon 300/400/700 Series", "instrument"},
     {"尼康 300/400/700 系列", "instrument"}, {"尼康 300/400/700 系列", "instrument"}, SelectInstrument0,
     "instrument", 0},
    {Item, "instrument.nikon500", {"Nikon 352/350/330, 500 Series", "instrument"},
     {"尼康 352/350/330、500 系列", "instrument"}, {"尼康 352/350/330、500 系列", "instrument"},
     SelectInstrument1, "instrument", 1},
    {Item, "instrument.nikon800", {"Nikon 800/801 Series", "instrument"},
     {"尼康 800/801 系列", "instrument"}, {"尼康 800/801 系列", "instrument"}, SelectInstrument2,
     "instrument", 2},
    {Item, "instrument.dini", {"Zeiss DINI Digital Level", "instrument"},
     {"蔡司 DINI 电子水准仪", "instrument"}, {"蔡司 DINI 電子水準儀", "instrument"},
     SelectInstrument4, "instrument", 4},
    {Item, "instrument.elta-r", {"Zeiss Elta R45/55 Series", "instrument"},
     {"蔡司 Elta R45/55 系列", "instrument"}, {"蔡司 Elta R45/55 系列", "instrument"}, SelectInstrument3,
     "instrument", 3},
    {Item, "instrument.elta-c", {"Zeiss Elta C Series", "instrument"},
     {"蔡司 Elta C 系列", "instrument"}, {"蔡司 Elta C 系列", "instrument"}, SelectInstrument5, "instrument", 5},
    {Item, "instrument.pc-e500s", {"PC E500S", "instrument"}, {"PC E500S", "instrument"},
     {"PC E500S", "instrument"}, SelectInstrument6, "instrument", 6},
    {Item, "app.exit", {"Exit", "transfer"}, {"退出", "transfer"}, {"退出", "transfer"}},
    {Item, "file.load", {"Load file", "file"}, {"装入文件", "file"}, {"載入檔案", "file"},
     LoadFileCommand},
    {Item, "file.save", {"Save", "file"}, {"保存", "file"}, {"儲存", "file"}, SaveFileCommand},
    {Item, "file.save-as", {"Save as...", "file"}, {"另存为...", "file"}, {"另存新檔...", "file"},
     SaveAsCommand},
    {Item, "file.clear", {"Clear window text", "file"}, {"清除窗口内容", "file"},
     {"清除視窗內容", "file"}, ClearCommand},
    {Item, "file.print-setup", {"Printer Setup", "file"}, {"打印设置", "file"}, {"列印設定", "file"}},
    {Item, "file.print", {"Print", "file"}, {"打印", "file"}, {"列印", "file"}},
    {Item, "language.english", {"English", "language"}, {"English", "language"}, {"English", "language"},
     SelectEnglish, "language", 1},
    {Item, "language.gb", {"Simplified Chinese (GB)", "language"},
     {"Simplified Chinese (GB)", "language"}, {"Simplified Chinese (GB)", "language"},
     SelectSimplifiedChinese, "language", 2},
    {Item, "language.big5", {"Traditional Chinese (Big5)", "language"},
     {"Traditional Chinese (Big5)", "language"}, {"Traditional Chinese (Big5)", "language"},
     SelectTraditionalChinese, "language", 3},
    {Item, "app.read-strictly", {"Read strictly", "convert"}, {"严格读取", "convert"},
     {"嚴格讀取", "convert"}, ToggleStrictReadingCommand},
    {Item, "help.manual", {"Manual", "help"}, {"使用手册", "help"}, {"使用手冊", "help"}},
    {Item, "help.about", {"About...", "help"}, {"关于...", "help"}, {"關於...", "help"}},
});

}  // namespace

std::span<const CommandRow> AppCommandRows() { return kRows; }

}  // namespace tarvosen
