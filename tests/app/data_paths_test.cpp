// The data folder is found from the program's own place: share/tarvosen beside
// an installed program's bin folder, the build tree's link for a program in a
// build tree, and never a folder of the machine the program was built on.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/data_paths.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;

TEST(DataPaths, InstalledProgramsUseTheirPrefixAndBuildTreesTheirLink) {
    test::TestContext t;
    const fs::path prefix = t.dir() / "opt" / "tarvosen";
    EXPECT_EQ(DataDirectoriesFor(prefix / "bin" / "tarvosen", ""), Paths{prefix / "share/tarvosen"});
    EXPECT_EQ(DataDirectoriesFor(prefix / "bin" / "tarvosen", "/elsewhere"),
              (Paths{"/elsewhere", prefix / "share/tarvosen"}));

    const fs::path build = t.dir() / "build";
    fs::create_directories(build / "app/ui");
    std::ofstream(build / "CMakeCache.txt") << "";
    EXPECT_EQ(DataDirectoriesFor(build / "app/ui/tarvosen", ""),
              (Paths{build / "app/share/tarvosen", build / "share/tarvosen"}));

    // This test program lies in the build tree: without TARVOSEN_DATA_DIR it
    // finds the source data through the build tree's link.
    const std::string saved = std::getenv("TARVOSEN_DATA_DIR") ? std::getenv("TARVOSEN_DATA_DIR") : "";
    unsetenv("TARVOSEN_DATA_DIR");
    const auto found = FindDataFile("messages.txt");
    if (!saved.empty()) setenv("TARVOSEN_DATA_DIR", saved.c_str(), 1);
    ASSERT_TRUE(found);
    EXPECT_TRUE(fs::equivalent(*found, test::DataFile("messages.txt")));
}

}  // namespace
}  // namespace tarvosen
