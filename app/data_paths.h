#pragma once
// Where the program's shipped data (message catalogue, templates, samples) are found.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvosen {

// The data folders in the order they are searched: $TARVOSEN_DATA_DIR; the
// installed data folder, share/tarvosen beside the program's bin folder;
// and, for a program in a build tree, the build tree's share/tarvosen, which
// the build links to the source data folder. No path of the machine the
// program was built on is kept in it.
std::vector<std::filesystem::path> DataDirectories();

// DataDirectories() for a program at `executable`, with `fromEnvironment`
// standing for $TARVOSEN_DATA_DIR (empty: not set).
std::vector<std::filesystem::path> DataDirectoriesFor(const std::filesystem::path& executable,
                                                      std::string_view fromEnvironment);

// The first data folder holding `name`, joined with it.
std::optional<std::filesystem::path> FindDataFile(std::string_view name);

}  // namespace tarvosen
