#pragma once
// The workspace's file commands and the state-setting commands of the menus.

#include <span>

#include "app/command.h"

namespace tarvosen {

inline constexpr const char* kOpenFilter =
    "Text Files(*.txt)|*.txt|Dat file(*.dat)|*.dat|所有文件(*.*)|*.*";
inline constexpr const char* kSaveAsFilter =
    "Text File(*.Txt)|*.Txt|AutoCAD Dxf File(*.Dxf)|*.Dxf|清华山维(*.Cor)|*.Cor|"
    "道享软件(*.Org)|*.Org|科傻平面观测文件(*.in2)|*.in2";

CommandStatus LoadFileCommand(CommandContext& ctx);    // file.load
CommandStatus SaveFileCommand(CommandContext& ctx);    // file.save
CommandStatus SaveAsCommand(CommandContext& ctx);      // file.save-as
CommandStatus ClearCommand(CommandContext& ctx);       // file.clear

// Loads a file into the workspace as Load does, without a dialog. A file that
// is not text (WhyNotText) is loaded only when the user says so, and refused
// with a FileError where no one can be asked; false when the user declined.
bool LoadDocument(CommandContext& ctx, const std::filesystem::path& path);

// Convert menu, "Read strictly": turns AppState::strictReading on or off (the
// window shows the check and keeps it with its settings).
CommandStatus ToggleStrictReadingCommand(CommandContext& ctx);

CommandStatus SelectEnglish(CommandContext& ctx);
CommandStatus SelectSimplifiedChinese(CommandContext& ctx);
CommandStatus SelectTraditionalChinese(CommandContext& ctx);

// Instrument menu: set InstrumentKind (the window updates instrumentLabel and the checks).
CommandStatus SelectInstrument0(CommandContext& ctx);
CommandStatus SelectInstrument1(CommandContext& ctx);
CommandStatus SelectInstrument2(CommandContext& ctx);
CommandStatus SelectInstrument3(CommandContext& ctx);
CommandStatus SelectInstrument4(CommandContext& ctx);
CommandStatus SelectInstrument5(CommandContext& ctx);
CommandStatus SelectInstrument6(CommandContext& ctx);

// The rows of this subsystem's commands in the command table.
std::span<const CommandRow> AppCommandRows();

}  // namespace tarvosen
