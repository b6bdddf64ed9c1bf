#pragma once
// Where the program's shipped data (message catalogue, templates, samples) are found.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvosen {

// The data folders in the order they are searched: $TARVOSEN_DATA_DIR, the
// installed data folder beside the program (../share/tarvosen), the build
// tree's copy of the source data folder.
std::vector<std::filesystem::path> DataDirectories();

// The first data folder holding `name`, joined with it.
std::optional<std::filesystem::path> FindDataFile(std::string_view name);

}  // namespace tarvosen
