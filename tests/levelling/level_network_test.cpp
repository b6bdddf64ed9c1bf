// The levelling network: sections and pairs read from M5 lines, the
// adjustment against networks solved by hand, the real DiNi 03 file, and the
// command's workbook, JSON report and exit statuses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"
#include "tests/support/cli_run.h"
#include "levelling/levelling_commands.h"
#include "levelling/network/level_network.h"
#include "levelling/network/network_results.h"
#include "levelling/network/quantiles.h"
#include "tests/levelling/book_fixture.h"
#include "tests/levelling/dini_lines.h"
#include "levelling/levelling_options.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using namespace levelling;

ToleranceProfile Profile() {
    return ResolveToleranceProfile("gb12897-2");
}

// A run given station by station: the fore point, h in m, length in km.
struct Hop {
    std::string to;
    double h, km;
};
LevelRun HandRun(const std::string& from, std::vector<Hop> hops) {
    LevelRun run;
    run.file = "hand";
    run.points = {from};
    run.pointLines = {1};
    for (const Hop& hop : hops) {
        run.stations.push_back({hop.h, hop.km * 1000, 0});
        run.points.push_back(hop.to);
        run.pointLines.push_back(run.pointLines.size() + 1);
    }
    return run;
}

const AdjustedPoint& Point(const LevelNetwork& n, const std::string& name) {
    for (const auto& p : n.points)
        if (p.name == name) return p;
    throw std::runtime_error("no point " + name);
}

TEST(LevelNetwork, SectionsAndPairsFromM5Lines) {
    test::DiniLines d;
    d.start("1");
    d.height("A", 10);
    d.station("A", "T1", 1.5, 1.50002, 1.2, 1.20002, 20, 20, 20, 20, 10.3);
    // Each staff read once (method BF): the readings are the means.
    d.sight("Rb", "T1", 1.4, 25);
    d.sight("Rf", "B", 1.1, 25);
    d.height("B", 10.6);
    // A third fore reading is left out; 60 m sights are too long for 二等.
    d.sight("Rb", "B", 1.3, 60);
    d.sight("Rf", "T2", 1.6, 60);
    d.sight("Rf", "T2", 1.6, 60);
    d.sight("Rf", "T2", 1.9, 60);
    d.sight("Rb", "B", 1.3, 60);
    d.height("T2", 10.3);
    d.station("T2", "C", 1.2, 1.2, 1.0, 1.0, 20, 20, 20, 20, 10.5);
    d.end();
    d.start("2");
    d.height("C", 10.5);
    d.station("C", "B", 1.5004, 1.5004, 1.4, 1.4, 30, 30, 30, 30, 10.6);
    d.station("B", "A", 1.0, 1.0, 1.6006, 1.6006, 30, 30, 30, 30, 10);
    d.end();

    test::TestContext t;
    const Workspace lines = test::LinesOfText(d.text());
    LineAccount account;
    const RunsOfFile read = ReadLevelRuns(t.ctx, lines, "hand.dat", Profile(), account);
    ASSERT_EQ(read.runs.size(), 2u);
    EXPECT_EQ(read.stationViolations.size(), 4u);  // the four 60 m sights

    const auto sections = CutSections(read.runs, {"B"});
    ASSERT_EQ(sections.size(), 4u);
    EXPECT_EQ(sections[0].from + sections[0].to, "AB");
    EXPECT_NEAR(sections[0].heightDifference, 0.6, 1e-9);
    EXPECT_NEAR(sections[0].lengthKm, 0.09, 1e-12);
    EXPECT_EQ(sections[0].stations, 2);
    EXPECT_NEAR(sections[1].heightDifference, -0.1, 1e-9);
    EXPECT_NEAR(sections[1].lengthKm, 0.16, 1e-12);
    EXPECT_EQ(sections[1].stationViolations, 4u);
    EXPECT_EQ(sections[2].from + sections[2].to, "CB");

    const auto pairs = PairSections(sections, Profile());
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].back, 3u);  // A-B with the later B-A
    EXPECT_NEAR(*pairs[0].discrepancyMm, -0.6, 1e-6);
    EXPECT_NEAR(pairs[0].heightDifference, 0.6003, 1e-9);
    EXPECT_NEAR(pairs[0].lengthKm, (0.09 + 0.06) / 2, 1e-12);
    EXPECT_NEAR(*pairs[0].limitMm, 4 * std::sqrt(0.075), 1e-9);
    EXPECT_EQ(pairs[1].back, 2u);
    EXPECT_NEAR(*pairs[1].discrepancyMm, 0.4, 1e-6);
}

// The accumulated sight-distance difference is bounded in size: back sights
// 1.4 m longer than the fore sights pass +6 m (二等) at the fifth set-up, and
// 1.4 m shorter pass -6 m there.
TEST(LevelNetwork, AccumulatedSightDifferenceIsBoundedBothWays) {
    test::DiniLines d;
    for (const double difference : {1.4, -1.4}) {
        d.start(difference > 0 ? "1" : "2");
        d.height("A", 10);
        std::string at = "A";
        for (int s = 1; s <= 5; ++s) {
            const std::string to = s == 5 ? "B" : "T" + std::to_string(s);
            const double back = 30 + difference / 2, fore = 30 - difference / 2;
            d.station(at, to, 1.5, 1.5, 1.5, 1.5, back, back, fore, fore, 10);
            at = to;
        }
        d.end();
    }
    test::TestContext t;
    LineAccount account;
    const RunsOfFile read = ReadLevelRuns(t.ctx, test::LinesOfText(d.text()), "acc.dat", Profile(), account);
    ASSERT_EQ(read.runs.size(), 2u);
    ASSERT_EQ(read.stationViolations.size(), 2u);
    for (const auto& v : read.stationViolations) EXPECT_EQ(v.what, "累积差超限");
    EXPECT_NE(read.stationViolations[0].line, read.stationViolations[1].line);
    EXPECT_EQ(read.runs[1].stations[4].violations, 1u);
}

TEST(LevelNetwork, RouteBetweenTwoBenchmarksSpreadsTheMisclosureByLength) {
    NetworkInput in;
    in.profile = Profile();
    in.knownHeights = {{"A", 100}, {"B", 101}};
    in.runs = {HandRun("A", {{"P", 0.6, 1}, {"B", 0.403, 3}})};
    in.benchmarks = {"P"};
    const LevelNetwork n = BuildLevelNetwork(in);
    // W = 1.003 - 1 = 3 mm over 4 km: -0.75 mm on the 1 km section, -2.25 mm on the 3 km one.
    ASSERT_EQ(n.misclosures.size(), 1u);
    EXPECT_FALSE(n.misclosures[0].loop);
    EXPECT_NEAR(n.misclosures[0].wMm, 3, 1e-9);
    EXPECT_NEAR(n.misclosures[0].limitMm, 8, 1e-12);
    EXPECT_NEAR(n.observations[0].residualMm, -0.75, 1e-9);
    EXPECT_NEAR(n.observations[1].residualMm, -2.25, 1e-9);
    EXPECT_NEAR(Point(n, "P").height, 100.59925, 1e-9);
    EXPECT_EQ(n.degreesOfFreedom, 1);
    EXPECT_NEAR(*n.sigma0Mm, 1.5, 1e-9);  // sqrt(0.75²/1 + 2.25²/3)
    EXPECT_NEAR(*Point(n, "P").sigmaMm, 1.5 * std::sqrt(0.75), 1e-9);
    EXPECT_NEAR(*n.mWMm, 1.5, 1e-9);  // sqrt(3²/4 / 1): the route counts
}

TEST(LevelNetwork, LoopClosesAfterAdjustment) {
    NetworkInput in;
    in.profile = Profile();
    in.knownHeights = {{"A", 10}};
    in.benchmarks = {"B", "C"};
    in.runs = {HandRun("A", {{"B", 1.0, 1}, {"C", 2.002, 1}, {"A", -3.0, 2}})};
    const LevelNetwork n = BuildLevelNetwork(in);
    ASSERT_EQ(n.misclosures.size(), 1u);
    EXPECT_TRUE(n.misclosures[0].loop);
    EXPECT_EQ(n.misclosures[0].points, (std::vector<std::string>{"A", "B", "C", "A"}));
    EXPECT_NEAR(n.misclosures[0].wMm, 2, 1e-9);
    EXPECT_NEAR(*n.mWMm, 1, 1e-9);  // sqrt(2²/4 / 1)
    EXPECT_NEAR(Point(n, "B").height, 10.9995, 1e-9);
    EXPECT_NEAR(Point(n, "C").height, 13.001, 1e-9);
    EXPECT_NEAR(n.observations[2].residualMm, -1, 1e-9);
}

TEST(LevelNetwork, RedundantObservationsWeightedByDistanceOrStations) {
    // B seen from three benchmarks: its height is the weighted mean of
    // 11.000 (K 1), 11.004 (K 1) and 11.001 (K 2).
    NetworkInput in;
    in.profile = Profile();
    in.knownHeights = {{"A", 10}, {"D", 10.504}, {"E", 9}};
    // Stations of 0.5 km: two from A and from D, four from E, so 1/n weighs as 1/K.
    in.runs = {HandRun("A", {{"T1", 0.5, 0.5}, {"B", 0.5, 0.5}}),
               HandRun("D", {{"T2", 0.25, 0.5}, {"B", 0.25, 0.5}}),
               HandRun("E", {{"T3", 0.5, 0.5}, {"T4", 0.5, 0.5}, {"T5", 0.5, 0.5},
                             {"B", 0.501, 0.5}})};
    in.benchmarks = {"B"};

    for (Weighting w : {Weighting::Distance, Weighting::Stations}) {
        in.weighting = w;
        const LevelNetwork n = BuildLevelNetwork(in);
        // Routes through B, which joins three sections, between consecutive
        // known points: A-B-D observes 1.000 - 0.500 for 0.504, D-B-E 0.500 -
        // 2.001 for -1.504.
        ASSERT_EQ(n.misclosures.size(), 2u);
        EXPECT_EQ(n.misclosures[0].points, (std::vector<std::string>{"A", "B", "D"}));
        EXPECT_NEAR(n.misclosures[0].wMm, -4, 1e-9);
        EXPECT_EQ(n.misclosures[1].points, (std::vector<std::string>{"D", "B", "E"}));
        EXPECT_NEAR(n.misclosures[1].wMm, 3, 1e-9);
        EXPECT_NEAR(Point(n, "B").height, 27.5045 / 2.5, 1e-9);
        EXPECT_EQ(n.degreesOfFreedom, 2);
        // v = 1.8, -2.2, 0.8 mm; [pvv] = 8.4 with 1/K, 4.2 with 1/n.
        const double pvv = w == Weighting::Distance ? 8.4 : 4.2;
        EXPECT_NEAR(*n.sigma0Mm, std::sqrt(pvv / 2), 1e-9);
        EXPECT_NEAR(n.observations[1].residualMm, -2.2, 1e-9);
        const double weights = w == Weighting::Distance ? 1 + 1 + 0.5 : 0.5 + 0.5 + 0.25;
        EXPECT_NEAR(*Point(n, "B").sigmaMm, std::sqrt(pvv / 2 / weights), 1e-9);
    }
    in.runs.push_back(HandRun("X", {{"Y", 1, 1}}));
    try {
        BuildLevelNetwork(in);
        ADD_FAILURE() << "an unreached part was adjusted";
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("X, Y"), std::string::npos) << e.what();
    }
}

// Two loops through the junction J and a route over it from A to B. The three
// conditions share no section, so each is adjusted on its own: the
// misclosure W of a condition of length F goes back on its sections by their
// lengths K (v = -W K / F, cofactor q_vv = K² / F), [pvv] = sum of W²/F, and
// every section of a condition has the standardised residual -W / (sigma √F).
TEST(LevelNetwork, EveryObservationIsCheckedByALoopOrRouteAndByTheAdjustment) {
    NetworkInput in;
    in.profile = Profile();  // 4√F mm for loops and routes, M_W 2 mm: the a-priori sigma
    in.knownHeights = {{"A", 10}, {"B", 12}};
    in.benchmarks = {"J", "P", "Q", "R", "S"};
    in.runs = {HandRun("A", {{"J", 1.0, 0.5}, {"B", 1.003, 0.5}}),
               HandRun("J", {{"P", 0.5, 0.1}, {"Q", 0.3, 0.1}, {"J", -0.78777, 0.2}}),
               HandRun("J", {{"R", 0.2, 0.2}, {"S", -0.1, 0.2}, {"J", -0.1004, 0.4}})};
    const LevelNetwork n = BuildLevelNetwork(in);
    ASSERT_EQ(n.degreesOfFreedom, 3);  // 8 sections, 5 new points
    ASSERT_EQ(n.misclosures.size(), 3u);
    const Misclosure &route = n.misclosures[0], &big = n.misclosures[1], &small = n.misclosures[2];
    EXPECT_EQ(big.points, (std::vector<std::string>{"J", "P", "Q", "J"}));
    EXPECT_NEAR(big.wMm, 12.23, 1e-9);
    EXPECT_NEAR(big.limitMm, 2.53, 0.005);
    EXPECT_FALSE(big.ok);
    EXPECT_EQ(small.points, (std::vector<std::string>{"J", "R", "S", "J"}));
    EXPECT_NEAR(small.wMm, -0.4, 1e-9);
    EXPECT_TRUE(small.ok);
    EXPECT_EQ(route.points, (std::vector<std::string>{"A", "J", "B"}));
    EXPECT_FALSE(route.loop);
    EXPECT_NEAR(route.wMm, 3, 1e-9);
    EXPECT_TRUE(route.ok);

    const double pvv = 12.23 * 12.23 / 0.4 + 0.4 * 0.4 / 0.8 + 3.0 * 3.0 / 1;
    EXPECT_NEAR(*n.mWMm, std::sqrt(pvv / 3), 1e-9);
    EXPECT_NEAR(*n.sigma0Mm, std::sqrt(pvv / 3), 1e-9);
    // chi-square(3) at 95 % is 7.8147 (tables).
    EXPECT_NEAR(*n.test.sigma0LimitMm, 2 * std::sqrt(7.814728 / 3), 1e-5);
    EXPECT_FALSE(n.test.sigma0Ok);
    EXPECT_NEAR(n.test.residualLimit, 1.959964, 1e-6);

    // Sections in input order: A-J, J-B, J-P, P-Q, Q-J, J-R, R-S, S-J.
    const double condition[] = {3, 3, 12.23, 12.23, 12.23, -0.4, -0.4, -0.4};
    const double length[] = {1, 1, 0.4, 0.4, 0.4, 0.8, 0.8, 0.8};
    const double k[] = {0.5, 0.5, 0.1, 0.1, 0.2, 0.2, 0.2, 0.4};
    double redundancy = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const NetworkObservation& o = n.observations[i];
        const double w = condition[i], f = length[i];
        EXPECT_NEAR(o.residualMm, -w * k[i] / f, 1e-9) << i;
        EXPECT_NEAR(*o.standardisedResidual, -w / (2 * std::sqrt(f)), 1e-9) << i;
        EXPECT_EQ(o.residualOk, i < 2 || i > 4) << i;  // the sections of J-P-Q-J fail
        redundancy += o.redundancy;
    }
    EXPECT_NEAR(redundancy, 3, 1e-9);
    // Named: the loop, M_W, sigma0 and the three sections of the loop.
    EXPECT_EQ(CollectViolations(n, in.profile, {}).size(), 6u);
}

TEST(LevelNetwork, QuantilesAgreeWithTheTables) {
    EXPECT_NEAR(ChiSquareQuantile(0.95, 1), 3.841459, 1e-6);
    EXPECT_NEAR(ChiSquareQuantile(0.99, 10), 23.209251, 1e-6);
    EXPECT_NEAR(ChiSquareQuantile(0.5, 10), 9.341818, 1e-6);
    EXPECT_NEAR(ChiSquareQuantile(0.95, 100), 124.342113, 1e-5);
    EXPECT_NEAR(NormalQuantile(0.995), 2.575829, 1e-6);
    EXPECT_NEAR(NormalQuantile(0.05), -1.644854, 1e-6);
}

TEST(LevelNetwork, RealDini03FileAgreesWithTheInstrumentsHeights) {
    test::TestContext t;
    const Workspace lines = test::LinesOfFile(test::CorpusFile("m5/bookcode-dini03-0624CH67.dat"));
    NetworkInput in;
    in.profile = Profile();
    LineAccount account;
    in.runs = ReadLevelRuns(t.ctx, lines, "0624CH67.dat", in.profile, account).runs;
    in.benchmarks = {"X3", "X4"};
    const LevelNetwork n = BuildLevelNetwork(in);
    // The instrument's own point heights: X1 0, X3 0.08608, X4 0.10657, X1
    // again -0.00010 (line 1); X3 0, X4 0.02089, X3 -0.00002 (line 2).
    ASSERT_EQ(n.sections.size(), 5u);
    const double expected[] = {0.08608, 0.10657 - 0.08608, -0.00010 - 0.10657, 0.02089,
                               -0.00002 - 0.02089};
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(n.sections[i].heightDifference, expected[i], 1e-5);
    // X3-X4 of line 1 pairs with X4-X3 of line 2; the way over X5, X6 stands alone.
    ASSERT_EQ(n.observations.size(), 4u);
    EXPECT_EQ(n.observations[1].back, 4u);
    EXPECT_FALSE(n.observations[3].back);
    EXPECT_EQ(n.heldPoints, std::vector<std::string>{"X1"});
    EXPECT_EQ(n.degreesOfFreedom, 2);
    EXPECT_EQ(n.sections[1].stations, 1);
}

// A download of two loops that do not join, without known heights: each loop
// is checked with its own first point held, and each misclosure is the sum the
// instrument gave at the end of its line (Sh -0.0008 m and -0.0385 m).
TEST(LevelNetwork, LoopsThatDoNotJoinAreEachHeldAtTheirFirstPoint) {
    test::TestContext t;
    const Workspace lines = test::LinesOfFile(test::CorpusFile("m5/nivtropy-dini-push0809.dat"));
    NetworkInput in;
    in.profile = Profile();
    LineAccount account;
    in.runs = ReadLevelRuns(t.ctx, lines, "push0809.dat", in.profile, account).runs;
    const LevelNetwork n = BuildLevelNetwork(in);
    EXPECT_EQ(n.heldPoints, (std::vector<std::string>{"46", "21"}));
    ASSERT_EQ(n.misclosures.size(), 2u);
    EXPECT_NEAR(n.misclosures[0].wMm, -0.8, 0.05);
    EXPECT_NEAR(n.misclosures[1].wMm, -38.5, 0.05);
    EXPECT_TRUE(n.misclosures[0].loop && n.misclosures[1].loop);
    EXPECT_EQ(Point(n, "46").height, 0);
    EXPECT_EQ(Point(n, "21").height, 0);

    // Given a known height, a part it does not reach is still refused.
    in.knownHeights = {{"46", 100}};
    EXPECT_THROW(BuildLevelNetwork(in), Failure);
}

using test::CliRun;
using test::RunTool;

// Control on real DiNi downloads. push0809 with 46 known and 20 and 21 as
// benchmarks: line 0212 closes on 21, which joins the sections of line 0210
// too; the level's own Sh gives both misclosures (-0.0385 m over 1.29546 km,
// limit 4√F = 4.55 mm; -0.0008 m for 46-20-21-46). 251219 with its start
// heights and the benchmark 101, a name it gives two marks: rp1 143.07480 to
// 101 at 142.61367, 12479 197.87600 to 101 at 197.32966, so the route misses
// the known 54.80120 m by 0.08521 - 54.80120 m.
TEST(LevelNetworkCommand, RealFilesWithControlCheckEveryLoopAndRoute) {
    test::TestContext t;
    const fs::path report = t.dir() / "push.json", gama = t.dir() / "push.xml";
    auto push = RunTool({"level-network", "--known-heights", t.writeFile("k.txt", "46,100\n").string(),
                         "--benchmarks", t.writeFile("b.txt", "20\n21\n").string(), "--report",
                         report.string(), "--gama", gama.string(), "--check",
                         test::CorpusFile("m5/nivtropy-dini-push0809.dat").string(), "-o",
                         (t.dir() / "p.xlsx").string()});
    EXPECT_EQ(push.status, kExitFound);
    EXPECT_NE(push.err.find("push0809.dat, line 239: 环闭合差超限 21-21 (W -38.50 mm, 限差 4.55 mm)"),
              std::string::npos) << push.err;
    EXPECT_NE(push.err.find("line 239: 标准化改正数超限 21-21"), std::string::npos);
    EXPECT_NE(push.err.find("warning: 单位权中误差检验未通过"), std::string::npos);
    std::ifstream in(report);
    const auto r = nlohmann::json::parse(in);
    ASSERT_EQ(r["misclosures"].size(), 2u);
    EXPECT_EQ(r["misclosures"][0]["points"], nlohmann::json({"46", "20", "21", "46"}));
    EXPECT_NEAR(r["misclosures"][0]["w_mm"].get<double>(), -0.8, 1e-6);
    EXPECT_TRUE(r["misclosures"][0]["ok"].get<bool>());
    EXPECT_FALSE(r["ok"].get<bool>());
    // The run that closes on 21 is no observation gama-local can read.
    std::ostringstream xml;
    xml << std::ifstream(gama).rdbuf();
    EXPECT_EQ(xml.str().find("from=\"21\" to=\"21\""), std::string::npos);
    EXPECT_NE(xml.str().find("<!-- left out: the section from 21 back to itself"), std::string::npos);
    EXPECT_NE(push.err.find("line 239: the section from 21 back to itself is left out of push.xml"),
              std::string::npos);

    auto dated = RunTool({"level-network", "--known-heights",
                          t.writeFile("s.txt", "RPp,143.07480\nrp1,143.07480\n12479,197.87600\n").string(),
                          "--benchmarks", t.writeFile("101.txt", "101\n").string(), "--check",
                          test::CorpusFile("m5/nivtropy-dini-251219.dat").string(), "-o",
                          (t.dir() / "d.xlsx").string()});
    EXPECT_EQ(dated.status, kExitFound);
    EXPECT_NE(dated.err.find("line 143: 附合路线闭合差超限 rp1-12479 (W -54715.99 mm"), std::string::npos)
        << dated.err;
    EXPECT_NE(dated.err.find("line 143: 标准化改正数超限 rp1-101"), std::string::npos);
    EXPECT_NE(dated.err.find("warning: 单位权中误差检验未通过"), std::string::npos);
    EXPECT_NE(dated.err.find("line 138: the point name RP1 differs only in letter case from rp1 "
                             "(nivtropy-dini-251219.dat, line 94)"),
              std::string::npos);
}

TEST(LevelNetworkCommand, ReportWorkbookAndExitStatuses) {
    test::TestContext t;
    const std::string forward = test::DataFile("samples/network-forward.dat").string();
    const std::string back = test::DataFile("samples/network-return.dat").string();
    const std::string known = test::DataFile("samples/network-known-heights.txt").string();
    const std::string benchmarks = test::DataFile("samples/network-benchmarks.txt").string();
    const fs::path report = t.dir() / "r.json", book = t.dir() / "net.xlsx";
    auto done = RunTool({"level-network", "--known-heights", known, "--benchmarks", benchmarks,
                         "--report", report.string(), "--check", forward, back, "-o",
                         book.string()});
    EXPECT_EQ(done.status, kExitDone) << done.err;

    // The report read back: its numbers agree with each other.
    std::ifstream in(report);
    const auto r = nlohmann::json::parse(in);
    EXPECT_EQ(r["profile"], "gb12897-2");
    EXPECT_TRUE(r["ok"].get<bool>());
    ASSERT_EQ(r["sections"].size(), 6u);
    std::map<std::string, double> height;
    for (const auto& p : r["adjustment"]["points"]) height[p["name"]] = p["height"];
    EXPECT_EQ(height.at("BM01"), 52.314);
    double sum = 0, pairs = 0;
    for (const auto& s : r["sections"]) {
        const double hf = s["h_forward"], k = s["length_km"];
        double h = hf;
        if (s["h_return"].is_null()) {  // the loop, measured once
            EXPECT_TRUE(s["discrepancy_mm"].is_null());
        } else {
            const double hr = s["h_return"];
            EXPECT_NEAR(s["discrepancy_mm"].get<double>(), (hf + hr) * 1000, 1e-9);
            sum += std::pow((hf + hr) * 1000, 2) / k;
            ++pairs;
            h = (hf - hr) / 2;
        }
        const double adjusted = height.at(s["to"]) - height.at(s["from"]);
        EXPECT_NEAR(s["residual_mm"].get<double>(), (adjusted - h) * 1000, 1e-6);
    }
    EXPECT_EQ(pairs, 3);
    EXPECT_NEAR(r["m_delta_mm"].get<double>(), std::sqrt(sum / (4 * pairs)), 1e-9);
    ASSERT_EQ(r["misclosures"].size(), 2u);
    EXPECT_EQ(r["misclosures"][1]["points"],
              nlohmann::json({"BM04", "L1", "L2", "BM04"}));
    EXPECT_EQ(r["adjustment"]["dof"], 2);

    // A stricter profile file: the limits exceeded are named by file and
    // line, and --check ends with status 4.
    nlohmann::json strict = {{"name", "strict"},          {"sight_length_m", 20},
                             {"sight_difference_m", 1.5}, {"accumulated_difference_m", 6},
                             {"reading_difference_mm", 0.4}, {"height_difference_mm", 0.6},
                             {"k_fb", 0.5},               {"k_route", 4},
                             {"k_loop", 4},               {"m_delta_limit_mm", 1},
                             {"m_w_limit_mm", 2}};
    const fs::path profile = t.writeFile("strict.json", strict.dump());
    auto found = RunTool({"level-network", "--profile", profile.string(), "--known-heights", known,
                          "--benchmarks", benchmarks, "--check", forward, back, "-o", (t.dir() / "s.xlsx").string()});
    EXPECT_EQ(found.status, kExitFound);
    EXPECT_NE(found.err.find("warning: network-forward.dat, line 4: 视线长超限"), std::string::npos)
        << found.err;
    EXPECT_NE(found.err.find("往返测高差不符值超限"), std::string::npos);
    auto unchecked = RunTool({"level-network", "--profile", profile.string(), forward, back, "-o",
                              (t.dir() / "u.xlsx").string()});
    EXPECT_EQ(unchecked.status, kExitDone);
    EXPECT_NE(unchecked.err.find("BM01, the first point of the first run, is held at 0.000"),
              std::string::npos);

    const fs::path badHeights = t.writeFile("bad.txt", "# heights\nBM01 52.314\nBM04\n");
    auto bad = RunTool({"level-network", "--known-heights", badHeights.string(), forward, "-o",
                        (t.dir() / "b.xlsx").string()});
    EXPECT_EQ(bad.status, kExitFailure);
    EXPECT_NE(bad.err.find("bad.txt, line 3"), std::string::npos) << bad.err;
    EXPECT_EQ(RunTool({"level-network", "--weights", "km", forward, "-o", "x.xlsx"}).status,
              kExitUsage);

    // The record book takes the station limits of a profile.
    OptionsStore options;
    for (const auto& o : DiniBookCheckedCliOptions())
        if (o.name == "profile") o.apply(options, "gb12897-1");
    EXPECT_EQ(options.get<ToleranceOptions>().limits, (std::array<std::string, 5>{"30", "1", "3", "0.3", "0.4"}));
}

}  // namespace
}  // namespace tarvosen
