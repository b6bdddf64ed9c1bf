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
