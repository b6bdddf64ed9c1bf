#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"

namespace tarvosen {

// transfer.settings: the communication parameter dialog
CommandStatus CommunicationParameterCommand(CommandContext& ctx);

// transfer.download: download from the instrument
CommandStatus DownloadCommand(CommandContext& ctx);
std::span<const CliOption> DownloadCliOptions();

// transfer.upload: upload to the instrument
CommandStatus UploadCommand(CommandContext& ctx);
std::span<const CliOption> UploadCliOptions();

// transfer.signal-lamps: shows or hides the window's signal-lamp panel.
CommandStatus TogglePortSignalCommand(CommandContext& ctx);

// The rows of this subsystem's commands in the command table.
std::span<const CommandRow> SerialCommandRows();

}  // namespace tarvosen
