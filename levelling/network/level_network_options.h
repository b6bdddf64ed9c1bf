#pragma once
// The options of the levelling network command (its dialog, or the command
// line): the M5 files, the tolerance profile, the point files, the weights
// and the further outputs.

#include <filesystem>
#include <string>
#include <vector>

#include "app/option_dialog.h"

namespace tarvosen {

// The levelling network dialog, which edits LevelNetworkOptions.
inline constexpr OptionDialog kLevelNetworkDialog{"levelling.network",
                                                  "The levelling network dialog"};

struct LevelNetworkOptions {
    std::vector<std::filesystem::path> inputFiles;
    std::string profile = "gb12897-2";  // a built-in profile's name or a profile file
    std::filesystem::path knownHeightsFile;  // empty: none
    std::filesystem::path benchmarksFile;    // empty: none
    bool weightByStations = false;           // 1/n instead of 1/K
    double confidence = 0.95;                // of the tests of the adjustment
    std::filesystem::path reportFile;        // JSON report; empty: none
    std::filesystem::path gamaFile;          // gama-local input; empty: none
    bool check = false;  // a limit exceeded ends the command as a finding
};

}  // namespace tarvosen
