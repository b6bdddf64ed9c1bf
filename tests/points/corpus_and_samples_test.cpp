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
    std::vector<std::string> warnings;     // of all four exports
    std::vector<std::string> information;  // of all four exports
    std::string firstCor, firstOrg;
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
        for (auto& text : t.user.texts(MessageKind::Information)) e.information.push_back(text);
        return r.lines;
    };
    const auto dxf = run(PointsToDxfCommand);
    e.dxfPoints = static_cast<std::size_t>(std::count(dxf.begin(), dxf.end(), "POINT"));
    e.r5Lines = run(PointsToR5Command).size();
    const auto cor = run(PointsToCorCommand);
    e.corLines = cor.size();
    if (cor.size() > 1) e.firstCor = cor[1];
    const auto org = run(PointsToOrgCommand);
    e.orgLines = org.size();
    if (!org.empty()) e.firstOrg = org.front();
    return e;
}

TEST(PointListCorpus, EveryListIsReadInItsOwnLayoutThroughAllFourExports) {
    struct Case {
        const char* file;
        std::size_t points;
        const char* layout;  // in the information line
        const char* firstCor;
        const char* firstOrg;
        std::vector<const char*> r5Warnings;  // the warnings, all of the R5 export
    };
    for (const Case& c : {
             // Pn,N,E,Z,Code: the program's own layout with X north.
             Case{"pointlist/bezitopo-topo0-pnezd.asc", 1311,
                  "own layout (name, X, Y, Z, code), fields separated by commas.",
                  "1  1455644.37100  538542.57000  681.31000  1  1  0  0",
                  "b,1,538542.57000,1455644.37100,681.31000,16384=10+  I,    0,    0,    0",
                  {"code longer than the 3 characters", "rounded to the decimals that fit"}},
             // CASS "1,,472023.502,3831702.467,136.490": east 472023.502, north 3831702.467.
             Case{"pointlist/bookcode-cass-campus.dat", 380, "CASS layout",
                  "1  472023.502  3831702.467  136.490  1  1  0  0",
                  "b,1,3831702.467,472023.502,136.490,16384=10+   ,    0,    0,    0", {}},
             Case{"pointlist/bookcode-cass-3333.dat", 126, "CASS layout",
                  "1  53414.28  31421.88  39.555  1  1  0  0",
                  "b,1,31421.88,53414.28,39.555,16384=10+   ,    0,    0,    0", {}},
             // Four fields between blanks could be CASS without codes as well.
             Case{"pointlist/taheoport-333-space-sep.dat", 370,
                  "own layout (name, X, Y, Z, code), fields separated by blanks or tabs. Its lines "
                  "fit the CASS layout equally well",
                  "1302  2296938.170  478685.350  11.426  1  1  0  0",
                  "b,1302,478685.350,2296938.170,11.426,16384=10+   ,    0,    0,    0",
                  {"point name longer than the 4 characters"}},
         }) {
        const auto e = ExportAll(CorpusFile(c.file));
        EXPECT_EQ(e.dxfPoints, c.points) << c.file;
        EXPECT_EQ(e.r5Lines, c.points + 1) << c.file;
        EXPECT_EQ(e.corLines, 2 * c.points) << c.file;
        EXPECT_EQ(e.orgLines, c.points) << c.file;
        EXPECT_EQ(e.firstCor, c.firstCor) << c.file;
        EXPECT_EQ(e.firstOrg, c.firstOrg) << c.file;
        ASSERT_EQ(e.information.size(), 4u) << c.file;
        for (const auto& text : e.information)
            EXPECT_NE(text.find(c.layout), std::string::npos) << c.file << ": " << text;
        ASSERT_EQ(e.warnings.size(), c.r5Warnings.size()) << c.file;
        for (std::size_t i = 0; i < e.warnings.size(); ++i)
            EXPECT_NE(e.warnings[i].find(c.r5Warnings[i]), std::string::npos) << e.warnings[i];
    }
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
    // Only R5 has no room for the codes: "TREE" becomes "TRE".
    ASSERT_EQ(withCodes.warnings.size(), 1u);
    EXPECT_NE(withCodes.warnings[0].find("code longer than the 3 characters of an R5 code"),
              std::string::npos);
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
