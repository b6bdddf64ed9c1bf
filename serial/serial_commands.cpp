#include "serial/serial_commands.h"

namespace tarvosen {

CommandStatus CommunicationParameterCommand(CommandContext&) { ThrowNotBuilt("the communication parameter dialog"); }

CommandStatus DownloadCommand(CommandContext&) { ThrowNotBuilt("download from the instrument"); }
std::span<const CliOption> DownloadCliOptions() { return {}; }

CommandStatus UploadCommand(CommandContext&) { ThrowNotBuilt("upload to the instrument"); }
std::span<const CliOption> UploadCliOptions() { return {}; }

}  // namespace tarvosen
