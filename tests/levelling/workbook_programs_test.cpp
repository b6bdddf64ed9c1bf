// Opens the books built from the shipped DINI sample and from the real
// single-reading lines with programs of their own: LibreOffice recalculates
// every formula (its values must equal the ones we cached), openpyxl reads
// the structure back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "cli/cli_runner.h"
#include "levelling/levelling_commands.h"
#include "levelling/tolerance_classes.h"
#include "tests/levelling/book_fixture.h"
#include "tests/levelling/single_reading_corpus.h"
#include "levelling/levelling_options.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using test::TestContext;

constexpr const char* kPython = "/usr/bin/python3";

bool Available(const std::string& check) {
    return std::system((check + " >/dev/null 2>&1").c_str()) == 0;
}
bool HaveOpenpyxl() {
    return fs::exists(kPython) && Available(std::string(kPython) + " -c 'import openpyxl'");
}
bool HaveLibreOffice() {
    return Available("command -v soffice");
}

std::string Script() {
    return (fs::path(TARVOSEN_TEST_CORPUS_DIR).parent_path() / "levelling" / "check_workbook.py")
        .string();
}

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::vector<std::string> Output(const std::string& command) {
    std::vector<std::string> lines;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return lines;
    char buffer[4096];
    std::string line;
    while (fgets(buffer, sizeof buffer, pipe.get())) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

using Handler = CommandStatus (*)(CommandContext&);

// Builds the book from the workspace's lines.
fs::path BuildBook(TestContext& t, Handler handler, const std::string& name) {
    t.options.get<GeoBookOptions>().observer = "李明";
    t.options.get<GeoBookOptions>().weather = "晴";
    t.options.get<GeoBookOptions>().date = std::chrono::year{2024} / 6 / 24;
    const fs::path path = t.dir() / name;
    t.user.saveAnswers.push_back(path);
    EXPECT_EQ(handler(t.ctx), CommandStatus::Done);
    return path;
}

fs::path BuildSampleBook(TestContext& t, Handler handler, const std::string& name) {
    t.workspace.load(test::DataFile("samples/dini-levelling.dat"));
    return BuildBook(t, handler, name);
}

void ExpectLibreOfficeValues(TestContext& t, const fs::path& book) {
    fs::create_directories(t.dir() / "lo");
    const auto out =
        Output(std::string(kPython) + " " + Quote(Script()) + " recalc " + Quote(book.string()) +
               " " + Quote((t.dir() / "lo").string()) + " 2>&1");
    ASSERT_FALSE(out.empty());
    for (const auto& line : out) EXPECT_EQ(line.rfind("formulas ", 0), 0u) << line;
    EXPECT_NE(out.back(), "formulas 0");
}

class WorkbookPrograms : public ::testing::TestWithParam<std::pair<Handler, const char*>> {};

TEST_P(WorkbookPrograms, LibreOfficeComputesTheSameValues) {
    if (!HaveOpenpyxl() || !HaveLibreOffice()) GTEST_SKIP() << "LibreOffice or openpyxl missing";
    TestContext t;
    ExpectLibreOfficeValues(t, BuildSampleBook(t, GetParam().first, GetParam().second));
}

TEST_P(WorkbookPrograms, LibreOfficeComputesTheSameValuesForSingleReadingLines) {
    if (!HaveOpenpyxl() || !HaveLibreOffice()) GTEST_SKIP() << "LibreOffice or openpyxl missing";
    TestContext t;
    t.setLines(test::SingleReadingDownload());
    ExpectLibreOfficeValues(t, BuildBook(t, GetParam().first, GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(
    Books, WorkbookPrograms,
    ::testing::Values(std::make_pair(Handler(DiniBookCommand), "survey.xlsx"),
                      std::make_pair(Handler(DiniBookCheckedCommand), "checked.xlsx"),
                      std::make_pair(Handler(DiniBookGeoCommand), "geo.xlsx")));

// The network result of the shipped sample: discrepancies, limits, mean
// height differences, misclosures and the accuracy per kilometre are formulas
// across sheets.
TEST(WorkbookProgramsNetwork, LibreOfficeComputesTheSameValues) {
    if (!HaveOpenpyxl() || !HaveLibreOffice()) GTEST_SKIP() << "LibreOffice or openpyxl missing";
    TestContext t;
    const fs::path book = t.dir() / "network.xlsx";
    std::ostringstream out, err;
    ASSERT_EQ(RunCli({"level-network", "--known-heights",
                      test::DataFile("samples/network-known-heights.txt").string(), "--benchmarks",
                      test::DataFile("samples/network-benchmarks.txt").string(),
                      test::DataFile("samples/network-forward.dat").string(),
                      test::DataFile("samples/network-return.dat").string(), "-o", book.string()},
                     out, err),
              kExitDone)
        << err.str();
    fs::create_directories(t.dir() / "lo");
    const auto lines =
        Output(std::string(kPython) + " " + Quote(Script()) + " recalc " + Quote(book.string()) +
               " " + Quote((t.dir() / "lo").string()) + " 2>&1");
    ASSERT_FALSE(lines.empty());
    for (const auto& line : lines) EXPECT_EQ(line.rfind("formulas ", 0), 0u) << line;
    EXPECT_NE(lines.back(), "formulas 0");
}

std::vector<std::string> Describe(const fs::path& book, const std::vector<std::string>& cells) {
    std::string command =
        std::string(kPython) + " " + Quote(Script()) + " describe " + Quote(book.string());
    for (const auto& c : cells) command += " " + Quote(c);
    return Output(command + " 2>&1");
}

TEST(WorkbookStructure, SurveyInstituteBook) {
    if (!HaveOpenpyxl()) GTEST_SKIP() << "openpyxl missing";
    TestContext t;
    const auto d = Describe(BuildSampleBook(t, DiniBookCommand, "s.xlsx"),
                            {"水准线1!D1", "水准线1!A5", "水准线1!A9", "水准线1!I11"});
    EXPECT_TRUE(Has(d, "sheets 水准线1|水准线2")) << d[0];
    for (const char* m : {"D1:G1", "A5:A8", "G5:G8", "H5:H8", "I5:I8", "J5:J8", "C5:D5", "E5:F5",
                          "A9:A11", "J9:J11", "A21:A23"})
        EXPECT_TRUE(Has(d, std::string("merged 水准线1 ") + m)) << m;
    EXPECT_TRUE(
        Has(d, "cell 水准线1!D1|等电子水准测量记录手簿|黑体|14.0|||False|General|,,,|,|False"));
    EXPECT_TRUE(
        Has(d,
            "cell 水准线1!A5|测  "
            "站|楷体_GB2312|10.0|||False|General|medium,thin,medium,thin|center,center|False"));
    // Medium outline, thin inner lines (the bottom of a merged cell's first
    // row is an inner line).
    EXPECT_TRUE(Has(
        d,
        "cell "
        "水准线1!A9|1|Calibri|11.0|||False|General|medium,thin,medium,thin|center,center|False"));
    EXPECT_TRUE(
        Has(d,
            "cell "
            "水准线1!I11||Calibri|11.0|||False|0.00000|thin,thin,thin,medium|center,center|False"));
}

TEST(WorkbookStructure, HighOrderBookMarksInRed) {
    if (!HaveOpenpyxl()) GTEST_SKIP() << "openpyxl missing";
    TestContext t;
    // Station 3 of line 1 has sights of 31.2 m: too long for 一等.
    const auto d = Describe(
        BuildSampleBook(t, DiniBookCheckedCommand, "c.xlsx"),
        {"水准线1!A1", "水准线1!B17", "水准线1!H17", "水准线1!B9", "水准线1!A25", "水准线1!A5"});
    EXPECT_TRUE(Has(
        d,
        "cell "
        "水准线1!A1|一等电子水准测量记录手簿|黑体|14.0|||False|General|,,,|center,center|False"));
    EXPECT_TRUE(Has(d,
                    "cell "
                    "水准线1!B17|31.2|Calibri|11.0|FFFF0000||False|0.00|thin,thin,medium,thin|"
                    "center,center|False"));
    EXPECT_TRUE(Has(d,
                    "cell "
                    "水准线1!H17|视线长超限|Calibri|11.0|||False|General|thin,medium,medium,thin|"
                    "center,center|True"));
    EXPECT_TRUE(Has(
        d,
        "cell "
        "水准线1!B9|21.56|Calibri|11.0|||False|0.00|thin,thin,medium,thin|center,center|False"));
    // Distances read to 1 mm are shown to 0.01 m; one page wide.
    EXPECT_TRUE(Has(d, "print 水准线1|fit 1x0|portrait"));
    // The section sums of line 2 are sums of 3-decimal distances: stored as
    // such (the float sum is 89.82000000000001).
    const auto sums = Describe(t.dir() / "c.xlsx", {"水准线2!C25"});
    bool rounded = false;
    for (const auto& line : sums) rounded = rounded || line.rfind("cell 水准线2!C25|89.82|", 0) == 0;
    EXPECT_TRUE(rounded);

    // The network's 16-column sections sheet is wider than a portrait page.
    const std::string samples = test::DataFile("samples").string();
    std::ostringstream out, err;
    ASSERT_EQ(RunCli({"level-network", samples + "/network-forward.dat",
                      samples + "/network-return.dat", "-o", (t.dir() / "n.xlsx").string()},
                     out, err),
              0)
        << err.str();
    const auto network = Describe(t.dir() / "n.xlsx", {});
    EXPECT_TRUE(Has(network, "print 测段|fit 1x0|landscape"));
    EXPECT_TRUE(Has(network, "print 检查|fit 1x0|portrait"));
    EXPECT_TRUE(Has(d,
                    "cell "
                    "水准线1!A25|测段小结|Calibri|11.0|||False|General|medium,thin,medium,thin|"
                    "center,center|True"));
    EXPECT_TRUE(Has(d, "merged 水准线1 H17:H20"));
    EXPECT_TRUE(Has(d,
                    "layout "
                    "水准线1|A=5.71094,B=9.71094,C=9.71094,D=9.71094,E=9.71094,F=9.71094,G=9.71094,"
                    "H=11.7109|1=40||False"));
}

TEST(WorkbookStructure, GeoInstituteBook) {
    if (!HaveOpenpyxl()) GTEST_SKIP() << "openpyxl missing";
    TestContext t;
    const auto d = Describe(
        BuildSampleBook(t, DiniBookGeoCommand, "g.xlsx"),
        {"水准线1!A1", "水准线1!G3", "水准线1!C3", "水准线1!J10", "水准线1!F12", "水准线1!B12",
         "水准线1!J12", "水准线1!I17", "水准线2!G3", "水准线2!H21", "水准线1!B8", "水准线1!D5"});
    for (const char* m : {"A1:J1", "A3:B3", "C3:D3", "A9:J9", "J10:J11", "F10:I10", "H11:I11",
                          "A16:J16", "A17:B17"})  // four stations: asterisks on row 16
        EXPECT_TRUE(Has(d, std::string("merged 水准线1 ") + m)) << m;
    const char* const expected[] = {
        "cell "
        "水准线1!A1|电子水准测量记录手簿|楷体_GB2312|14.0|||False|General|,,,|center,center|False",
        "cell 水准线1!G3|W|宋体|10.0||single|False|General|,,,|,|False",
        "cell 水准线2!G3|F|宋体|10.0||single|False|General|,,,|,|False",
        "cell 水准线1!C3|一等|楷体_GB2312|10.0||single|False|General|,,,|,|False",
        "cell 水准线1!J10|高　差  （m）|楷体_GB2312|10.0|||False|General|,,,|center,center|True",
        "cell 水准线1!F12|1.59056|Calibri|10.0|||False|0.00000|,,,|,|False",
        "cell 水准线1!B12|21.56|Calibri|10.0|||False|0.0|,,,|,|False",
        "cell 水准线1!J12|=(F12+G12)/2-(H12+I12)/2|Calibri|10.0|||False|0.0000|,,,|,|False",
        "cell 水准线1!I17|=SUM(J12:J15)|Calibri|10.0|||False|0.000000|,,,|,|False",
        "cell 水准线1!B8|李明|宋体|10.0||single|False|General|,,,|,|False",
        "cell 水准线1!D5|2024|楷体_GB2312|10.0|||False|General|,,,|,|False",
        "layout 水准线1|A=4.71094,B=6.28516,C=6.28516,D=6.28516,E=6.28516,F=9.71094,"
        "G=9.71094,H=9.71094,I=9.71094,J=10.7109|1=28,2=10,9=9,17=30|$1:$11|None",
    };
    for (const char* line : expected) EXPECT_TRUE(Has(d, line)) << line;
    // The intermediate sight Z2 of line 2, from its first station: the mean
    // backsight 1.416945 less the reading 0.98120, as a plain number.
    bool found = false;
    for (const auto& line : d)
        if (line.rfind("cell 水准线2!H21|0.43574", 0) == 0) found = true;
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace tarvosen
