// Total-station jobs of the corpus through M5 -> R5 -> points: one point per
// measurement, with the coordinates the instrument itself recorded.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/support/test_context.h"
#include "zeiss/zeiss_commands.h"

namespace tarvosen::zeiss {
namespace {

using test::CorpusFile;
using test::TestContext;

const char* const kTrimbleJobs[] = {
    "m5/osgeolab-trimble-m3-sample.m5", "m5/geoeasy-trimble-m3-180416-1.m5",
    "m5/geoeasy-trimble-m3-180416-2.m5", "m5/geoeasy-trimble-m3-180416-3.m5",
    "m5/geoeasy-trimble-m3-180416-4.m5"};

struct Point {
    std::string name;
    double x = 0, y = 0, z = 0;
};

// The last word of the M5 information block (columns 22-48), as far as the
// four columns of an R5 point number hold it.
std::string M5Name(const std::string& line) {
    std::istringstream words(line.substr(21, 27));
    std::string name;
    for (std::string w; words >> w;) name = w;
    return name.size() > 4 ? name.substr(name.size() - 4) : name;
}

// A blank value (a point without height) reads as 0, as R5 reads it.
double M5Value(const std::string& line, int field) {
    const std::string value = line.substr(52 + 23 * field, 14);
    return value.find_first_not_of(' ') == std::string::npos ? 0 : std::stod(value);
}

bool IsCoordinateRecord(const std::string& line) {
    return line.compare(17, 3, "PI1") == 0 && line.compare(49, 2, "Y ") == 0;
}

bool IsObservation(const std::string& line) {
    return line.compare(17, 3, "PI1") == 0 && line.compare(72, 2, "Hz") == 0;
}

// The instrument's coordinate records (Y, X, Z) of an M5 job, in order.
std::vector<Point> InstrumentPoints(const std::vector<std::string>& m5) {
    std::vector<Point> points;
    for (const auto& l : m5)
        if (IsCoordinateRecord(l))
            points.push_back({M5Name(l), M5Value(l, 1), M5Value(l, 0), M5Value(l, 2)});
    return points;
}

// The point list "name,X,Y,Z,code" lines as points.
std::vector<Point> ListedPoints(const std::vector<std::string>& lines) {
    std::vector<Point> points;
    for (const auto& l : lines) {
        std::istringstream fields(l);
        std::string name, x, y, z;
        std::getline(fields, name, ',');
        std::getline(fields, x, ',');
        std::getline(fields, y, ',');
        std::getline(fields, z, ',');
        name.erase(0, name.find_first_not_of(' '));
        points.push_back({name, std::stod(x), std::stod(y), std::stod(z)});
    }
    return points;
}

// The M5 lines through "M5 -> R5" and "R5 -> Pn, X, Y, Z".
std::vector<Point> PointsOfM5(TestContext& t, std::vector<std::string> m5) {
    t.setLines(std::move(m5));
    EXPECT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    t.user.messages.clear();  // the point list's messages are looked at
    t.user.saveAnswers.push_back(t.dir() / "points.txt");
    EXPECT_EQ(R5ToPointsCommand(t.ctx), CommandStatus::Done);
    return ListedPoints(t.workspace.lines());
}

void ExpectSamePoints(const std::vector<Point>& got, const std::vector<Point>& expected,
                      double tolerance) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE("point " + std::to_string(i + 1) + " " + expected[i].name);
        EXPECT_EQ(got[i].name, expected[i].name);
        EXPECT_LE(std::abs(got[i].x - expected[i].x), tolerance);
        EXPECT_LE(std::abs(got[i].y - expected[i].y), tolerance);
        EXPECT_LE(std::abs(got[i].z - expected[i].z), tolerance);
    }
}

// Where the instrument recorded its coordinates of an observed point, the
// point list holds them, once: the job's own records, names that the job
// gives to several places included (43 six times and 51 three times in the
// sample). A direction without a distance (to the orientation point) is no
// point, and the user is told which lines those are.
TEST(PolarJobs, TrimbleJobsGiveTheInstrumentsCoordinatesOncePerMeasurement) {
    for (const char* job : kTrimbleJobs) {
        SCOPED_TRACE(job);
        TestContext t;
        const auto m5 = test::LinesOfFile(CorpusFile(job)).lines();
        ExpectSamePoints(PointsOfM5(t, m5), InstrumentPoints(m5), 1e-9);
        EXPECT_TRUE(t.user.texts(MessageKind::Warning).empty());
    }
    TestContext t;
    const auto m5 = test::LinesOfFile(CorpusFile(kTrimbleJobs[0])).lines();
    const std::vector<Point> points = PointsOfM5(t, m5);
    EXPECT_EQ(points.size(), 287u);
    EXPECT_EQ(std::count_if(points.begin(), points.end(), [](auto& p) { return p.name == "43"; }),
              6);
    EXPECT_EQ(std::count_if(points.begin(), points.end(), [](auto& p) { return p.name == "51"; }),
              3);
    EXPECT_EQ(t.user.texts(MessageKind::Information),
              std::vector<std::string>{
                  "NONAME.TXT: Observations without a distance give no point (a direction alone "
                  "does not place one): lines 11, 249, 405 and 567."});
}

// Without the instrument's coordinate records the points are computed from
// the observations, the offsets of eccentric targets (Tv, Tl, Tr) included,
// and each lands within a millimetre of the coordinates the instrument gave.
TEST(PolarJobs, ComputedPointsAreTheInstrumentsWithinAMillimetre) {
    for (const char* job : kTrimbleJobs) {
        SCOPED_TRACE(job);
        const auto m5 = test::LinesOfFile(CorpusFile(job)).lines();
        std::vector<std::string> observationsOnly;
        std::size_t offsets = 0;
        for (std::size_t i = 0; i < m5.size(); ++i) {
            const bool ofTheObservationBefore = i > 0 && IsCoordinateRecord(m5[i]) &&
                                                IsObservation(m5[i - 1]) &&
                                                m5[i].compare(21, 27, m5[i - 1], 21, 27) == 0;
            if (!ofTheObservationBefore) observationsOnly.push_back(m5[i]);
            if (m5[i].compare(17, 3, "PI1") == 0 && m5[i][49] == 'T') ++offsets;
        }
        TestContext t;
        ExpectSamePoints(PointsOfM5(t, observationsOnly), InstrumentPoints(m5), 0.0010001);
        if (job == kTrimbleJobs[0]) {
            EXPECT_EQ(offsets, 36u);
        }
        EXPECT_TRUE(t.user.texts(MessageKind::Warning).empty());
    }
}

// The Elta R55's REC500 coordinate job through REC500 -> M5 -> R5 -> points:
// every coordinate record of the file (506 twice, as orientation point and
// as station) with its name and coordinates; 507 has a height only and is
// the station's height, no point. The drawing has the same points.
TEST(PolarJobs, Rec500CoordinateJobReachesThePointListAndTheDrawing) {
    TestContext t;
    const std::filesystem::path file = CorpusFile("rec500/tops-elta-r55-rec500.rec");
    std::vector<Point> records;  // read from the REC500 columns
    for (const auto& l : test::LinesOfFile(file).lines()) {
        if (l.size() < 66 || l.compare(36, 2, "X ") != 0) continue;
        const std::string name = l.substr(8, 19);
        const std::string z = l.substr(70, 8);
        records.push_back({name.substr(name.find_first_not_of(' ')), std::stod(l.substr(39, 11)),
                           std::stod(l.substr(54, 12)),
                           z.find_first_not_of(' ') == std::string::npos ? 0 : std::stod(z)});
    }
    ASSERT_EQ(records.size(), 123u);

    t.workspace.load(file);
    ASSERT_EQ(Rec500ToM5Command(t.ctx), CommandStatus::Done);
    const std::vector<std::string> m5 = t.workspace.lines();
    ExpectSamePoints(PointsOfM5(t, m5), records, 1e-9);
    EXPECT_TRUE(t.user.texts(MessageKind::Warning).empty());

    t.setLines(m5);
    ASSERT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    t.user.saveAnswers.push_back(t.dir() / "job.dxf");
    ASSERT_EQ(R5ToDxfCommand(t.ctx), CommandStatus::Done);
    const auto& dxf = t.workspace.lines();
    EXPECT_EQ(std::count(dxf.begin(), dxf.end(), "POINT"), 123);
}

}  // namespace
}  // namespace tarvosen::zeiss
