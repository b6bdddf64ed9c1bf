#include "app/data_paths.h"

#include <cstdlib>
#include <system_error>

namespace tarvosen {

std::vector<std::filesystem::path> DataDirectories() {
    namespace fs = std::filesystem;
    std::vector<fs::path> dirs;
    if (const char* env = std::getenv("TARVOSEN_DATA_DIR"); env && *env) dirs.emplace_back(env);
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) dirs.push_back(exe.parent_path().parent_path() / "share" / "tarvosen");
    dirs.emplace_back(TARVOSEN_INSTALL_DATA_DIR);
    dirs.emplace_back(TARVOSEN_SOURCE_DATA_DIR);
    return dirs;
}

std::optional<std::filesystem::path> FindDataFile(std::string_view name) {
    for (const auto& dir : DataDirectories()) {
        std::error_code ec;
        auto candidate = dir / name;
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return std::nullopt;
}

}  // namespace tarvosen
