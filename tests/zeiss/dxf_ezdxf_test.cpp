// Reads the drawings the command-line program writes with ezdxf, an
// independent DXF reader, and checks them against the point list of the same
// file: every point, name, code and layer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/line_reader.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using test::TestContext;

constexpr const char* kPython = "/usr/bin/python3";

constexpr const char* kReader = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
for e in doc.modelspace():
    if e.dxftype() == "POINT":
        p = e.dxf.location
        print("POINT|%s|%.3f|%.3f|%.3f" % (e.dxf.layer, p.x, p.y, p.z))
    else:
        p = e.dxf.insert
        print("%s|%s|%.3f|%.3f|%.3f|%s|%g" % (e.dxftype(), e.dxf.layer, p.x, p.y, p.z, e.dxf.text, e.dxf.height))
)";

bool EzdxfAvailable() {
    const std::string cmd = std::string(kPython) + " -c 'import ezdxf' >/dev/null 2>&1";
    return fs::exists(kPython) && std::system(cmd.c_str()) == 0;
}

int Run(const std::string& command) {
    return std::system(command.c_str());
}

std::vector<std::string> Lines(const fs::path& p) {
    Workspace lines;
    lines.load(p);
    return lines.lines();
}

// What ezdxf must find for a point list "name,X,Y,Z,code".
std::vector<std::string> ExpectedEntities(const std::vector<std::string>& points) {
    std::vector<std::string> out;
    for (const auto& line : points) {
        std::string f[5];
        std::istringstream in(line);
        for (int i = 0; i < 4; ++i) std::getline(in, f[i], ',');
        std::getline(in, f[4]);
        char xyz[128];
        std::snprintf(xyz, sizeof xyz, "%.3f|%.3f|%.3f", std::stod(f[1]), std::stod(f[2]),
                      std::stod(f[3]));
        out.push_back(std::string("POINT|PT|") + xyz);
        out.push_back(std::string("TEXT|PN|") + xyz + "|" + f[0] + "|1");
        if (f[4].find_first_not_of(' ') != std::string::npos)
            out.push_back(std::string("TEXT|CODE|") + xyz + "|" + f[4] + "|1");
    }
    return out;
}

void CheckDrawing(const TestContext& t, const std::string& input, const std::string& options) {
    SCOPED_TRACE(input + " " + options);
    const std::string cli = TARVOSEN_CLI_PATH;
    const fs::path dxf = t.dir() / "out.dxf", points = t.dir() / "out.txt";
    ASSERT_EQ(Run(cli + " r5-to-dxf " + options + " '" + input + "' -o '" + dxf.string() + "'"), 0);
    ASSERT_EQ(
        Run(cli + " r5-to-points " + options + " '" + input + "' -o '" + points.string() + "'"), 0);
    const fs::path script = t.dir() / "read_dxf.py", listing = t.dir() / "entities.txt";
    std::ofstream(script) << kReader;
    ASSERT_EQ(Run(std::string(kPython) + " '" + script.string() + "' '" + dxf.string() + "' > '" +
                  listing.string() + "'"),
              0);
    const auto expected = ExpectedEntities(Lines(points));
    EXPECT_GT(expected.size(), 8u);
    EXPECT_EQ(Lines(listing), expected);
}

TEST(R5ToDxfWithEzdxf, PointsNamesCodesAndLayers) {
    if (!EzdxfAvailable()) GTEST_SKIP() << "ezdxf for /usr/bin/python3 is not installed";
    TestContext t;
    const std::string sample = fs::path(TARVOSEN_SOURCE_DATA_DIR) / "samples/polar-survey.r5";
    const std::string corpus = fs::path(TARVOSEN_TEST_CORPUS_DIR) / "r5/tops-elta-r55.r5";
    CheckDrawing(t, sample, "");
    CheckDrawing(t, sample, "--no-code --renumber");
    CheckDrawing(t, corpus, "--record-format mem2");
}

}  // namespace
}  // namespace tarvosen
