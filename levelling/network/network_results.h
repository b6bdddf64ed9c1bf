#pragma once
// What the level-network command writes: the result workbook, the JSON
// report and the observations as input of GNU Gama's gama-local, and the list
// of every exceeded limit they share.

#include <filesystem>
#include <string>
#include <vector>

#include "levelling/network/level_network.h"
#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::levelling {

// Every exceeded limit: the station checks, the sections, the chains and the
// accuracy per kilometre, each with the file and line it comes from (none for
// the accuracy).
std::vector<LimitViolation> CollectViolations(const LevelNetwork& network,
                                              const ToleranceProfile& profile,
                                              const std::vector<LimitViolation>& stationViolations);

// Sheets 测段, 闭合差, 平差成果 and 检查 in a new workbook of the session.
void WriteNetworkWorkbook(spreadsheet::SpreadsheetSession& session, const LevelNetwork& network,
                          const ToleranceProfile& profile,
                          const std::vector<LimitViolation>& violations);

void WriteNetworkReport(const std::filesystem::path& path, const LevelNetwork& network,
                        const ToleranceProfile& profile, std::size_t stationViolations,
                        const std::vector<LimitViolation>& violations);

// Returns the observations left out: sections that close on their start,
// written as comments.
std::vector<std::size_t> WriteGamaInput(const std::filesystem::path& path,
                                        const LevelNetwork& network, Weighting weighting);

}  // namespace tarvosen::levelling
