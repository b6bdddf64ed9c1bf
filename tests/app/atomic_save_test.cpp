#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/atomic_save.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Both ways of saving keep the old file whole when the new bytes cannot be
// written, leave no temporary behind, and keep the replaced file's mode.
TEST(AtomicSave, FailureKeepsTheOldFileAndSuccessKeepsItsMode) {
    const fs::path dir = fs::temp_directory_path() / ("atomic_save_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path target = dir / "kept.txt";
    std::ofstream(target) << "old";
    ::chmod(target.c_str(), 0640);

    const Outcome refused = SaveAtomically(target, [](std::FILE*) { return false; });
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.status(), Outcome::Status::Failed);
    EXPECT_THROW(SaveAtomicallyByName(target, [](const fs::path&) { throw std::runtime_error("x"); }),
                 std::runtime_error);
    EXPECT_EQ(Read(target), "old");

    EXPECT_TRUE(SaveAtomically(target, [](std::FILE* f) { return std::fputs("new", f) >= 0; }));
    EXPECT_EQ(Read(target), "new");
    EXPECT_TRUE(SaveAtomicallyByName(target, [](const fs::path& temp) { std::ofstream(temp) << "by name"; }));
    EXPECT_EQ(Read(target), "by name");
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    const Outcome missing = SaveAtomically(dir / "no" / "such", [](std::FILE*) { return true; });
    EXPECT_EQ(missing.description(), "No such file or directory");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarvosen
