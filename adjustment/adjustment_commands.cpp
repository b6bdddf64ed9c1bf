#include "adjustment/adjustment_commands.h"

namespace tarvosen {

CommandStatus NikonToCosaCommand(CommandContext&) { ThrowNotBuilt("Nikon raw -> COSA observation file"); }
std::span<const CliOption> NikonToCosaCliOptions() { return {}; }

CommandStatus NikonToTraverseCommand(CommandContext&) { ThrowNotBuilt("Nikon raw -> adjustment text and traverse record book"); }
std::span<const CliOption> NikonToTraverseCliOptions() { return {}; }

}  // namespace tarvosen
