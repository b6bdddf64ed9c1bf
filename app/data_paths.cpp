#include "app/data_paths.h"

#include <cstdlib>
#include <system_error>

namespace tarvosen {

namespace fs = std::filesystem;

namespace {

// The build tree a program lies in: the nearest folder above it that holds
// CMake's cache. An installed program has none.
std::optional<fs::path> BuildTreeOf(const fs::path& executable) {
    std::error_code ec;
    for (fs::path dir = executable.parent_path(); !dir.empty(); dir = dir.parent_path()) {
        if (fs::is_regular_file(dir / "CMakeCache.txt", ec)) return dir;
        if (dir == dir.parent_path()) break;
    }
    return std::nullopt;
}

}  // namespace

std::vector<fs::path> DataDirectoriesFor(const fs::path& executable,
                                         std::string_view fromEnvironment) {
    std::vector<fs::path> dirs;
    if (!fromEnvironment.empty()) dirs.emplace_back(fromEnvironment);
    if (!executable.empty()) {
        // TARVOSEN_DATA_FROM_BIN is relative, "../share/tarvosen" in the usual layout.
        dirs.push_back((executable.parent_path() / TARVOSEN_DATA_FROM_BIN).lexically_normal());
        if (auto tree = BuildTreeOf(executable)) dirs.push_back(*tree / "share" / "tarvosen");
    }
    return dirs;
}

std::vector<fs::path> DataDirectories() {
    const char* env = std::getenv("TARVOSEN_DATA_DIR");
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return DataDirectoriesFor(ec ? fs::path() : exe, env ? env : "");
}

std::optional<fs::path> FindDataFile(std::string_view name) {
    for (const auto& dir : DataDirectories()) {
        std::error_code ec;
        auto candidate = dir / name;
        if (fs::is_regular_file(candidate, ec)) return candidate;
    }
    return std::nullopt;
}

}  // namespace tarvosen
