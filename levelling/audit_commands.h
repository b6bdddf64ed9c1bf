#pragma once
// The checking commands: the address check of any record file (check) and
// the consistency audit of DiNi levelling data (dini-audit).

#include <span>

#include "app/command.h"

namespace tarvosen {

// check: address continuity of R5, M5 and REC500 files and, for DiNi
// levelling data, the audit. Found when anything was found.
CommandStatus CheckRecordsCommand(CommandContext& ctx);

// check.tolerances-audit: the consistency audit of DiNi levelling data.
CommandStatus DiniAuditCommand(CommandContext& ctx);

// --report FILE.json of both.
std::span<const CliOption> CheckCliOptions();

}  // namespace tarvosen
