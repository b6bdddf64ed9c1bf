#pragma once
// The commands of this subsystem, as the command table calls them.

#include <span>

#include "app/command.h"

namespace tarvosen {

// parameterClick: the communication parameter dialog
CommandStatus CommunicationParameterCommand(CommandContext& ctx);

// EltaRDnClick: download from the instrument
CommandStatus DownloadCommand(CommandContext& ctx);
std::span<const CliOption> DownloadCliOptions();

// EltaRUpClick: upload to the instrument
CommandStatus UploadCommand(CommandContext& ctx);
std::span<const CliOption> UploadCliOptions();

}  // namespace tarvosen
