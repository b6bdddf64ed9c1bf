#include "levelling/levelling_commands.h"

namespace tarvosen {

CommandStatus DiniBookCommand(CommandContext&) { ThrowNotBuilt("record book, surveying-institute layout"); }

CommandStatus DiniBookCheckedCommand(CommandContext&) { ThrowNotBuilt("high-order record book with error detection"); }
std::span<const CliOption> DiniBookCheckedCliOptions() { return {}; }

CommandStatus DiniBookGeoCommand(CommandContext&) { ThrowNotBuilt("geological-institute record book"); }
std::span<const CliOption> DiniBookGeoCliOptions() { return {}; }

}  // namespace tarvosen
