// Total-station jobs of the corpus through to the point list: one point per
// measurement, with the coordinates the instrument itself recorded.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/test_context.h"
#include "zeiss/zeiss_commands.h"

namespace tarvosen::zeiss {
namespace {

using test::CorpusFile;
using test::TestContext;

struct Point {
    std::string name;
    double x, y, z;  // a blank value (no height) reads as 0, as in R5
};

bool IsM5Record(const std::string& l, const char* fieldType, std::size_t column) {
    return l.compare(17, 3, "PI1") == 0 && l.compare(column - 1, 2, fieldType) == 0;
}

// The instrument's coordinate records (Y, X, Z) of an M5 job, named by the
// last word of the information block as far as R5's four columns hold it.
std::vector<Point> InstrumentPoints(const std::vector<std::string>& m5) {
    std::vector<Point> points;
    for (const auto& l : m5) {
        if (!IsM5Record(l, "Y ", 50)) continue;
        const std::string block = l.substr(21, 27);
        const std::string name = block.substr(block.find_last_of(' ') + 1);
        auto value = [&](int field) { return std::atof(l.substr(52 + 23 * field, 14).c_str()); };
        points.push_back(
            {name.substr(name.size() > 4 ? name.size() - 4 : 0), value(1), value(0), value(2)});
    }
    return points;
}

// Runs the conversions over the lines and reads the point list they give.
std::vector<Point> PointList(TestContext& t, std::vector<std::string> lines,
                             std::initializer_list<CommandStatus (*)(CommandContext&)> steps) {
    t.setLines(std::move(lines));
    for (const auto step : steps) {
        t.user.messages.clear();  // those of the point list are looked at
        t.user.saveAnswers.push_back(t.dir() / "points.txt");
        EXPECT_EQ(step(t.ctx), CommandStatus::Done);
    }
    std::vector<Point> points;
    for (const auto& l : t.workspace.lines()) {
        Point p{std::string(l.substr(0, l.find(','))), 0, 0, 0};
        std::sscanf(l.c_str() + l.find(','), ",%lf,%lf,%lf", &p.x, &p.y, &p.z);
        p.name.erase(0, p.name.find_first_not_of(' '));
        points.push_back(p);
    }
    return points;
}

void ExpectSamePoints(const std::vector<Point>& got, const std::vector<Point>& expected,
                      double tolerance) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        const Point &a = got[i], &b = expected[i];
        EXPECT_EQ(a.name, b.name) << i;
        EXPECT_LE(std::max({std::abs(a.x - b.x), std::abs(a.y - b.y), std::abs(a.z - b.z)}),
                  tolerance)
            << b.name;
    }
}

// The five Trimble M3 jobs through M5 -> R5 -> points. As recorded, each
// gives the instrument's coordinate records, once each, names the job gives
// to several places included (43 six times and 51 three times in the
// sample). Without them, the points computed from the observations, with
// the offsets of eccentric targets (36 in the sample), lie within a
// millimetre of them. A direction without a distance places no point.
TEST(PolarJobs, TrimbleJobsGiveOnePointPerMeasurementAsTheInstrumentComputesIt) {
    for (const char* job :
         {"m5/osgeolab-trimble-m3-sample.m5", "m5/geoeasy-trimble-m3-180416-1.m5",
          "m5/geoeasy-trimble-m3-180416-2.m5", "m5/geoeasy-trimble-m3-180416-3.m5",
          "m5/geoeasy-trimble-m3-180416-4.m5"}) {
        SCOPED_TRACE(job);
        const auto m5 = test::LinesOfFile(CorpusFile(job)).lines();
        const std::vector<Point> instrument = InstrumentPoints(m5);
        TestContext t;
        ExpectSamePoints(PointList(t, m5, {M5ToR5Command, R5ToPointsCommand}), instrument, 0);
        EXPECT_TRUE(t.user.texts(MessageKind::Warning).empty());
        if (job == std::string("m5/osgeolab-trimble-m3-sample.m5")) {
            EXPECT_EQ(t.user.texts(MessageKind::Information),
                      std::vector<std::string>{
                          "NONAME.TXT: Observations without a distance give no point (a direction "
                          "alone does not place one): lines 11, 249, 405 and 567."});
        }

        std::vector<std::string> observations;  // without the records that follow them
        for (std::size_t i = 0; i < m5.size(); ++i)
            if (i == 0 || !IsM5Record(m5[i], "Y ", 50) || !IsM5Record(m5[i - 1], "Hz", 73) ||
                m5[i].compare(21, 27, m5[i - 1], 21, 27) != 0)
                observations.push_back(m5[i]);
        ExpectSamePoints(PointList(t, observations, {M5ToR5Command, R5ToPointsCommand}), instrument,
                         0.0010001);
        EXPECT_TRUE(t.user.texts(MessageKind::Warning).empty());
    }
}

// The Elta R55's REC500 coordinate job becomes M5 as the Elta writes its own
// M5 files (the point number ending at column 40, its flag or code after
// it), and its points are every coordinate record of the file, read here
// from its columns: 506 twice (orientation point and station); 507, a
// height only, is the station's height.
TEST(PolarJobs, Rec500CoordinateJobReachesThePointList) {
    const std::filesystem::path file = CorpusFile("rec500/tops-elta-r55-rec500.rec");
    std::vector<Point> records;
    for (const auto& l : test::LinesOfFile(file).lines()) {
        if (l.size() < 66 || l.compare(36, 2, "X ") != 0) continue;
        const std::string name = l.substr(8, 19);
        records.push_back({name.substr(name.find_first_not_of(' ')), std::atof(&l[39]),
                           std::atof(&l[54]), std::atof(l.substr(70, 8).c_str())});
    }
    TestContext t;
    t.workspace.load(file);
    ASSERT_EQ(Rec500ToM5Command(t.ctx), CommandStatus::Done);
    const Workspace elta = test::LinesOfFile(CorpusFile("m5/tops-elta-r55-R_E.m5"));
    EXPECT_EQ(t.workspace.line(0), elta.line(0));  // OR.COOR
    EXPECT_EQ(t.workspace.line(3),
              "For M5|Adr 00004|PI1                 506S       |X          63.174 m   |"
              "Y        -107.371 m   |Z           0.000 m   | ");
    EXPECT_EQ(t.user.texts(MessageKind::Information),
              std::vector<std::string>{"NONAME.TXT: The REC500 file holds a coordinate job: 124 "
                                       "point records became M5 point (PI1) lines, 4 text "
                                       "records text (TI) lines."});
    ExpectSamePoints(PointList(t, t.workspace.lines(), {M5ToR5Command, R5ToPointsCommand}), records,
                     0);
    EXPECT_EQ(records.size(), 123u);
}

}  // namespace
}  // namespace tarvosen::zeiss
