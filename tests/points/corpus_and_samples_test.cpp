#include <gtest/gtest.h>

#include <algorithm>

#include "points/point_commands.h"
#include "tests/points/point_test_support.h"

namespace tarvosen {
namespace {

using test::CorpusFile;
using test::DataFile;
using test::TestContext;

struct Exported {
    std::size_t dxfPoints, r5Lines, corLines, orgLines;
    std::vector<std::string> warnings;  // of all four exports
    std::string firstOrg;
};

Exported ExportAll(const std::filesystem::path& file) {
    TestContext t;
    Workspace source;
    source.load(file);
    Exported e{};
    auto run = [&](CommandHandler command) {
        auto r = test::RunOnLines(t, command, source.lines());
        EXPECT_EQ(r.status, CommandStatus::Done) << file;
        e.warnings.insert(e.warnings.end(), r.warnings.begin(), r.warnings.end());
        return r.lines;
    };
    const auto dxf = run(PointsToDxfCommand);
    e.dxfPoints = static_cast<std::size_t>(std::count(dxf.begin(), dxf.end(), "POINT"));
    e.r5Lines = run(PointsToR5Command).size();
    e.corLines = run(PointsToCorCommand).size();
    const auto org = run(PointsToOrgCommand);
    e.orgLines = org.size();
    if (!org.empty()) e.firstOrg = org.front();
    return e;
}

TEST(PointListCorpus, FiveFieldListsExportEveryPointWithoutWarnings) {
    struct Case {
        const char* file;
        std::size_t points;
        const char* firstOrg;
    };
    for (const Case& c : {
             Case{"pointlist/bezitopo-topo0-pnezd.asc", 1311,
                  "b,1,538542.57000,1455644.37100,681.31000,16384=10+  I,    0,    0,    0"},
             // CASS lists put the code second; the fields are still copied as they stand.
             Case{"pointlist/bookcode-cass-campus.dat", 380,
                  "b,1,,472023.502,3831702.467,16384=10+136.490,    0,    0,    0"},
             Case{"pointlist/bookcode-cass-3333.dat", 126, nullptr},
         }) {
        const auto e = ExportAll(CorpusFile(c.file));
        EXPECT_EQ(e.r5Lines, c.points + 1) << c.file;
        EXPECT_EQ(e.corLines, 2 * c.points) << c.file;
        EXPECT_EQ(e.orgLines, c.points) << c.file;
        if (c.firstOrg) {
            EXPECT_EQ(e.firstOrg, c.firstOrg) << c.file;
        }
        EXPECT_TRUE(e.warnings.empty()) << c.file << ": " << e.warnings.front();
    }
    // The CASS X field is the empty code: the DXF has no point of it.
    EXPECT_EQ(ExportAll(CorpusFile("pointlist/bookcode-cass-campus.dat")).dxfPoints, 0u);
    EXPECT_EQ(ExportAll(CorpusFile("pointlist/bezitopo-topo0-pnezd.asc")).dxfPoints, 1311u);
}

TEST(PointListCorpus, ASpaceSeparatedListIsExportedWithAWarningNamingItsLines) {
    const auto e = ExportAll(CorpusFile("pointlist/taheoport-333-space-sep.dat"));
    EXPECT_EQ(e.dxfPoints, 0u);
    EXPECT_EQ(e.orgLines, 370u);
    ASSERT_FALSE(e.warnings.empty());
    EXPECT_NE(e.warnings[0].find("Workspace lines 1, 2, 3, 4, 5, ... (370 lines in all) had fewer"),
              std::string::npos)
        << e.warnings[0];
}

TEST(PointListCorpus, NoCorpusFileIsTakenForNikon300400Data) {
    for (const char* f :
         {"pointlist/bezitopo-topo0-pnezd.asc", "pointlist/bookcode-cass-campus.dat",
          "nikon_raw/geoeasy-nikon-kismaros.nik", "nikon_raw/tops-nikon-npl350.raw",
          "r5/tops-elta-r55.r5"}) {
        TestContext t;
        t.workspace.load(CorpusFile(f));
        const auto before = t.workspace.lines();
        EXPECT_EQ(Nikon300ToPointsCommand(t.ctx), CommandStatus::Stopped) << f;
        EXPECT_EQ(t.workspace.lines(), before) << f;
    }
}

TEST(PointSamples, SamplesConvertCleanly) {
    auto withCodes = ExportAll(DataFile("samples/points-with-codes.txt"));
    EXPECT_EQ(withCodes.dxfPoints, 20u);
    EXPECT_TRUE(withCodes.warnings.empty());
    auto padded = ExportAll(DataFile("samples/points-without-codes.txt"));
    EXPECT_EQ(padded.orgLines, 12u);
    EXPECT_EQ(padded.firstOrg,
              "b,   1,   394.442,   194.127,    44.875,16384=10+   ,    0,    0,    0");
    EXPECT_TRUE(padded.warnings.empty());

    TestContext t;
    t.workspace.load(DataFile("samples/nikon-300-400.raw"));
    ASSERT_EQ(Nikon300ToPointsCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lineCount(), 6u);
    EXPECT_EQ(t.workspace.line(0), "101,3512382.131,498217.622,44.402,KERB");
    EXPECT_TRUE(t.user.messages.empty());
}

}  // namespace
}  // namespace tarvosen
