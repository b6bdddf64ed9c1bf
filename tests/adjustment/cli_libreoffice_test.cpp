// The exports run through the command-line program as a user runs them, and
// the saved traverse book checked by other programs: openpyxl reads its
// structure and LibreOffice recalculates every formula.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "adjustment/cosa_export.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;

const char* kPython = "/usr/bin/python3";

std::string ReadAll(const fs::path& p) {
    std::stringstream text;
    text << std::ifstream(p, std::ios::binary).rdbuf();
    return text.str();
}

class AdjustmentCli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tarvosen_adjustment_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs a shell command in `dir`; returns its exit status.
    int Run(const std::string& command) {
        const std::string line = "cd " + dir.string() + " && " + command + " >" +
                                 (dir / "out.txt").string() + " 2>" + (dir / "err.txt").string();
        const int status = std::system(line.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int Cli(const std::string& args) { return Run(std::string(TARVOSEN_CLI_PATH) + " " + args); }
    std::string Out() { return ReadAll(dir / "out.txt"); }
    std::string Err() { return ReadAll(dir / "err.txt"); }

    fs::path dir;
};

TEST_F(AdjustmentCli, NikonToCosaWithKnownPointsAndOptions) {
    const fs::path raw = test::DataFile("samples/traverse-four-stations.raw");
    const fs::path known = test::DataFile("samples/traverse-known-points.txt");
    ASSERT_EQ(Cli("nikon-to-cosa --known-points " + known.string() + " --direction-error 1.5 " +
                  raw.string()),
              0)
        << Err();
    const std::string out = Out();
    EXPECT_EQ(out.rfind("1.5,2,2\r\nG1,3501000.000,500000.000\r\n", 0), 0u) << out;
    EXPECT_NE(out.find("\r\nG2\r\nG1,L,0\r\nG1,L,  0.0003\r\nG1,S,"), std::string::npos) << out;
    // The sample's 4 ST and 16 SS records and the list's 4 points; its 19 CO lines.
    EXPECT_EQ(Err(),
              "note: read 43 lines of 2 files: 4 stations, 16 observations and 4 known points "
              "written to the observation file; passed over 19 lines (notes and settings)\n");

    ASSERT_EQ(
        Cli("nikon-to-cosa --no-zero-backsight --no-reduce-slope " + raw.string() + " -o cosa.in2"),
        0);
    const std::string file = ReadAll(dir / "cosa.in2");
    EXPECT_NE(file.find("\r\nG2\r\nG1,L,0.0004\r\nG1,L,0.0007\r\nG1,S,250.004\r\n"),
              std::string::npos)
        << file;
    EXPECT_NE(Err().find("warning: traverse-four-stations.raw: no known-point file was given"),
              std::string::npos)
        << Err();
}

TEST_F(AdjustmentCli, NikonToTraverseWritesTheTextAndOnlyWithBookTheBook) {
    const fs::path raw = test::DataFile("samples/traverse-four-stations.raw");
    ASSERT_EQ(
        Cli("nikon-to-traverse --date 2026-12-08 --observer LI " + raw.string() + " -o text.txt"),
        0)
        << Err();
    EXPECT_EQ(ReadAll(dir / "text.txt")
                  .rfind("DTM-330\r\nDGDX\r\n2026-12-08\r\nLI\r\n4\r\nG1\r\nG2\r\n", 0),
              0u);
    EXPECT_EQ(Err(),
              "note: read 39 lines of traverse-four-stations.raw: 4 stations written to the "
              "adjustment text; passed over 19 lines (notes and settings)\n");
    EXPECT_FALSE(fs::exists(dir / "RIZUV.xlsx"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);

    EXPECT_EQ(Cli("nikon-to-traverse --date 2026-02-30 " + raw.string()), 2);
    EXPECT_EQ(Cli("nikon-to-traverse --height-increment x " + raw.string()), 2);
    EXPECT_EQ(Cli("nikon-to-traverse --book b.xlsx --template missing.xlsx " + raw.string()), 3);
    EXPECT_NE(Err().find("missing.xlsx"), std::string::npos) << Err();
}

TEST_F(AdjustmentCli, TheSavedBookAgreesWithOpenpyxlAndLibreOffice) {
    if (!fs::exists(kPython) ||
        std::system((std::string(kPython) + " -c 'import openpyxl' >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const fs::path raw = test::DataFile("samples/traverse-four-stations.raw");
    ASSERT_EQ(Cli("nikon-to-traverse --no-text --book book.xlsx " + raw.string()), 0) << Err();
    ASSERT_TRUE(fs::exists(dir / "book.xlsx"));

    // LibreOffice recalculates every formula on load and saves a copy.
    const fs::path profile = dir / "lo_profile";
    fs::create_directories(profile / "user");
    std::ofstream(profile / "user" / "registrymodifications.xcu")
        << R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
)";
    ASSERT_EQ(Run("soffice -env:UserInstallation=file://" + profile.string() +
                  " --headless --convert-to xlsx --outdir recalculated book.xlsx"),
              0)
        << Err();

    std::ofstream(dir / "check.py") << R"(import sys, openpyxl
formulas = openpyxl.load_workbook("book.xlsx")
cached = openpyxl.load_workbook("book.xlsx", data_only=True)
theirs = openpyxl.load_workbook("recalculated/book.xlsx", data_only=True)
ws = formulas.active
assert ws.title == "导线观测手簿", ws.title
assert not ws.sheet_view.showGridLines
merged = {str(r) for r in ws.merged_cells.ranges}
assert {"A1:H1", "D5:F6", "S5:T6"} <= merged, merged
assert ws["A9"].font.name == "宋体" and ws["A1"].font.name == "黑体"
assert ws["A9"].border.top.style == "medium" and ws["A27"].border.top.style == "medium"
assert ws["E11"].number_format == "00"
# Printed one page wide, as many pages long as it takes, the captions on each.
assert ws.sheet_properties.pageSetUpPr.fitToPage, "fit to page is off"
pages = [1 if n is None else int(n) for n in (ws.page_setup.fitToWidth, ws.page_setup.fitToHeight)]
assert pages == [1, 0], pages
assert ws.print_title_rows == "$1:$8", ws.print_title_rows
def norm(v):
    if v == "": v = None
    return float(v) if isinstance(v, (int, float)) and not isinstance(v, bool) else v
count, bad = 0, []
for row in ws.iter_rows():
    for c in row:
        if isinstance(c.value, str) and c.value.startswith("="):
            count += 1
            a, b = norm(cached.active[c.coordinate].value), norm(theirs.active[c.coordinate].value)
            if not (a == b or (isinstance(a, float) and isinstance(b, float) and abs(a - b) < 1e-9)):
                bad.append("%s %s: ours %r, LibreOffice %r" % (c.coordinate, c.value, a, b))
# Two checks per row pair of four stations' blocks.
assert count >= 24, count
values = [norm(cached.active[a].value) for a in ("I11", "R11", "I9", "R23")]
print("formulas", count, values)
if bad:
    print("\n".join(bad)); sys.exit(1)
)";
    ASSERT_EQ(Run(std::string(kPython) + " check.py"), 0) << Out() << Err();
    EXPECT_NE(Out().find("[6.0, 235.799, 6.0, 224.149]"), std::string::npos) << Out();
}

TEST_F(AdjustmentCli, TheTemplateIsTheOneItsScriptBuilds) {
    if (std::system((std::string(kPython) + " -c 'import openpyxl' >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
    const fs::path script = fs::path(TARVOSEN_SOURCE_DATA_DIR).parent_path() / "scripts" /
                            "make_record_book_template.py";
    ASSERT_EQ(Run(std::string(kPython) + " " + script.string() + " built.xlsx"), 0) << Err();
    EXPECT_TRUE(ReadAll(dir / "built.xlsx") == ReadAll(test::DataFile("RIZUV.xlsx")))
        << "data/RIZUV.xlsx differs from what scripts/make_record_book_template.py builds";
}

}  // namespace
}  // namespace tarvosen
