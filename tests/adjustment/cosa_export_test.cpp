#include "adjustment/cosa_export.h"
#include "app/conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adjustment/adjustment_commands.h"
#include "adjustment/nikon_raw.h"
#include "app/errors.h"
#include "tests/support/test_context.h"
#include "adjustment/adjustment_options.h"

namespace tarvosen {
namespace {

using Lines = std::vector<std::string>;

const Lines kOneStation = {
    "CO,Nikon RAW data format V2.00",
    "ST,A1,,B0,,1.450,0.0000,10.0000",
    "SS,P1,1.600,100,55.3012,90.0000,10:20:45,CODE",
};

TEST(CosaExport, WritesAccuracyStationsDirectionsAndDistances) {
    test::TestContext t;
    t.setLines(kOneStation);
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lines(), (Lines{"2,2,2", "A1", "B0,L,0", "P1,L, 45.3012", "P1,S,100"}));
    EXPECT_EQ(t.user.texts(MessageKind::Warning),
              Lines{"NONAME.TXT: no known-point file was given and the data hold no usable MP "
                    "record; add the known points to the converted file by hand."});
    EXPECT_EQ(t.user.dialogsShown, std::vector<OptionDialog>{kCosaExportDialog});
    EXPECT_EQ(t.state.currentDocumentName, (t.dir() / "NONAME.TXT").string());
}

TEST(CosaExport, ReducesDirectionsAcrossNorthAndSlopeDistancesToHorizontal) {
    test::TestContext t;
    t.setLines({"ST,S1,,B,,1.5,,350.0000", "SS,P,1.5,200.000,10.0000,60.0000",
                "SS,Q,1.5,123.4567,349.59598,90.0000", "ST,S2,,S1,,1.5,,0.0000",
                "SS,R,1.5,50,5.0307,120.0000"});
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lines(),
              (Lines{"2,2,2", "S1", "B,L,0", "P,L, 20.0000", "P,S,173.205080756888", "Q,L,360.0000",
                     "Q,S,123.4567", "S2", "S1,L,0", "R,L,  5.0307", "R,S,43.3012701892219"}));
}

TEST(CosaExport, BothFacesOfATargetGiveOneDirection) {
    test::TestContext t;
    // Backsight B read 0°00'04" in face I and 180°00'02" in face II (across
    // north once reduced), foresight F 120°30'12" and 300°30'08": the faces
    // lie 2" and 4" apart, the collimation error, not 180°.
    t.setLines({"ST,S1,,B,,1.5,,0.0004", "SS,B,1.6,100,0.0004,89.5950",
                "SS,B,1.6,100,180.0002,270.0016", "SS,F,1.7,50,120.3012,90.0000",
                "SS,F,1.7,50,300.3008,270.0000"});
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    Lines directions;
    for (const auto& line : t.workspace.lines())
        if (line.find(",L,") != std::string::npos) directions.push_back(line);
    EXPECT_EQ(t.workspace.lineCount(), 11u);
    EXPECT_EQ(directions,
              (Lines{"B,L,0", "B,L,  0.0000", "B,L,359.5958", "F,L,120.3008", "F,L,120.3004"}));
}

TEST(CosaExport, UncheckedOptionsCopyTheTextsAsRead) {
    test::TestContext t;
    t.setLines({"ST,S1,,B,,1.5,,350.0000,x", "SS,P,1.5,n/a,10.0000,60.0000"});
    t.options.get<CosaOptions>() = {"", "0.7", "", "", false, false};
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lines(),
              (Lines{"0.7,,", "S1", "B,L,350.0000,x", "P,L,10.0000", "P,S,n/a"}));
}

TEST(CosaExport, ReadsTheKnownPointsAsAPointListAndSaysWhenTheyCannotBeRead) {
    test::TestContext t;
    t.setLines({"CO,a comment", "ST,S1,,B,,1.5,,0.0000"});
    // Z, and a point list's code after it, are no part of a plane network.
    t.options.get<CosaOptions>().knownPointFile =
        t.writeFile("known.txt", "G1,100.000,200.000, 12.5\r\n\nG2 , 1,2,3,pillar\n").string();
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lines(),
              (Lines{"2,2,2", "G1,100.000,200.000", "G2,1,2", "S1", "B,L,0"}));
    EXPECT_TRUE(t.user.messages.empty());

    t.setLines({"ST,S1,,B,,1.5,,0.0000"});
    t.options.get<CosaOptions>().knownPointFile = (t.dir() / "missing.txt").string();
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lines(), (Lines{"2,2,2", "S1", "B,L,0"}));
    const auto warnings = t.user.texts(MessageKind::Warning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(kNoKnownPointsMessage), std::string::npos);
    EXPECT_NE(warnings[0].find("missing.txt"), std::string::npos);

    // A whole observation file is no point list: its line 9 is a station.
    const std::string in2 = test::CorpusFile("cosa_epsw_topmap/gnssams-cpiii-exam.in2").string();
    t.setLines({"ST,S1,,B,,1.5,,0.0000"});
    t.options.get<CosaOptions>().knownPointFile = in2;
    try {
        NikonToCosaCommand(t.ctx);
        ADD_FAILURE() << "not refused";
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find(in2 + ", line 9: \"Z195601\""), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(t.workspace.lines(), Lines{"ST,S1,,B,,1.5,,0.0000"});
}

TEST(CosaExport, WritesTheBacksightDistanceAndTheFilesMpPointsAsKnownPoints) {
    test::TestContext t;
    // East first: MP K1 lies at north 100, east 500. F1 observes the
    // backsight at 94°01'42": 494.429 m · sin(94°01'42") = 493.20748 m.
    const Lines raw = {"CO,Coord Order: ENZ", "MP,K1,,500.000,100.000,10.000,PILLAR",
                       "ST,S1,,K1,,1.5,0.0000,0.0000",
                       "F1,K1,0.000,494.429,0.0000,94.0142,10:00:00",
                       "SS,P,1.5,10,10.0000,90.0000"};
    t.setLines(raw);
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    const Lines written = t.workspace.lines();
    ASSERT_EQ(written.size(), 7u);
    EXPECT_EQ(Lines(written.begin(), written.begin() + 4),
              (Lines{"2,2,2", "K1,100.000,500.000", "S1", "K1,L,0"}));
    ASSERT_TRUE(written[4].starts_with("K1,S,"));
    EXPECT_NEAR(std::stod(written[4].substr(5)), 493.20748, 1e-5);
    EXPECT_TRUE(t.user.texts(MessageKind::Warning).empty());
    EXPECT_NE(t.user.texts(MessageKind::Information).at(0).find("line numbers: 2"),
              std::string::npos);

    // A list given wins; a point it places elsewhere is named.
    t.setLines(raw);
    t.options.get<CosaOptions>().knownPointFile =
        t.writeFile("known.txt", "K1,100.000,500.300\n").string();
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.line(1), "K1,100.000,500.300");
    const auto warnings = t.user.texts(MessageKind::Warning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("\"K1\" is 100.000, 500.300"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("100.000, 500.000"), std::string::npos) << warnings[0];

    // The instrument's own file: MP 1 at the origin becomes the known point.
    test::TestContext n;
    n.workspace.load(test::CorpusFile("nikon_raw/tops-nikon-npl352.raw"));
    ASSERT_EQ(NikonToCosaCommand(n.ctx), CommandStatus::Done);
    EXPECT_EQ(n.workspace.line(1), "1,0.000,0.000");
}

TEST(CosaExport, WritesNoObservationWithoutANameAndSaysWhichLinesItLeftOut) {
    test::TestContext t;
    t.setLines({"ST,S1,,,,1.5,,0.0000", "SS,,1.5,10,10.0000,90.0000",
                "SS,P,1.5,10,20.0000,90.0000", "F1,,1.5,30,0.0000,90.0000",
                "ST,,,S1,,1.5,,0.0000", "SS,Q,1.5,10,10.0000,90.0000"});
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lines(), (Lines{"2,2,2", "S1", "P,L, 20.0000", "P,S,10"}));
    const auto warnings = t.user.texts(MessageKind::Warning);
    ASSERT_EQ(warnings.size(), 4u);  // the known points, then the three kinds left out
    EXPECT_NE(warnings[1].find("station name are left out of the observation file with their "
                               "observations (line numbers: 5, 6)"),
              std::string::npos)
        << warnings[1];
    EXPECT_NE(warnings[2].find("no zero direction in the observation file (line numbers: 1)"),
              std::string::npos)
        << warnings[2];
    EXPECT_NE(warnings[3].find("without a point name are left out of the observation file "
                               "(line numbers: 2, 4)"),
              std::string::npos)
        << warnings[3];

    // The instruments' files with set-ups that name no backsight.
    for (const char* file : {"nikon_raw/tops-nikon-dtm330.raw", "nikon_raw/tops-nikon-npl350.raw",
                             "nikon_raw/tops-nikon-npl352.raw"}) {
        test::TestContext c;
        c.workspace.load(test::CorpusFile(file));
        ASSERT_EQ(NikonToCosaCommand(c.ctx), CommandStatus::Done) << file;
        for (const auto& line : c.workspace.lines()) EXPECT_FALSE(line.starts_with(',')) << file;
    }
}

TEST(CosaExport, ASlopeDistanceThatIsNotANumberStopsWithTheTextKept) {
    test::TestContext t;
    const Lines raw = {"ST,S1,,B,,1.5,,0.0000", "SS,P,1.5,,10.0000,90.0000"};
    t.setLines(raw);
    try {
        NikonToCosaCommand(t.ctx);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("Line 2"), std::string::npos) << e.what();
    }
    EXPECT_EQ(t.workspace.lines(), raw);
}

TEST(CosaExport, LeavesOutObservationsBeforeTheFirstSetUp) {
    test::TestContext t;
    t.setLines({"SS,X,1.5,10,10.0000,90.0000", "", "ST,S1,,B,,1.5,,0.0000",
                "SS,P,1.5,10,10.0000,90.0000"});
    ASSERT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lines(), (Lines{"2,2,2", "S1", "B,L,0", "P,L, 10.0000", "P,S,10"}));
    const auto warnings = t.user.texts(MessageKind::Warning);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[1].find("line 1"), std::string::npos) << warnings[1];
}

TEST(CosaExport, EmptyWorkspaceAndCancelChangeNothing) {
    test::TestContext t;
    EXPECT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Stopped);
    EXPECT_EQ(t.user.texts(MessageKind::Error).at(0),
              std::string("NONAME.TXT: ") + kNoDataForConversion);
    EXPECT_TRUE(t.user.dialogsShown.empty());
    t.setLines(kOneStation);
    t.user.dialogAnswer = false;
    EXPECT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Cancelled);
    EXPECT_EQ(t.workspace.lines(), kOneStation);
}

TEST(CosaExport, ConvertsTheInstrumentCorpus) {
    for (const char* file :
         {"nikon_raw/tops-nikon-dtm330.raw", "nikon_raw/taheoport-nivo3m-161226-1.raw",
          "nikon_raw/tops-nikon-npl350.raw", "nikon_raw/tops-nikon-npl352.raw"}) {
        test::TestContext t;
        t.workspace.load(test::CorpusFile(file));
        t.options.get<CosaOptions>().reduceSlope = false;  // some shots have no distance
        EXPECT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done) << file;
        EXPECT_EQ(t.workspace.line(0), "2,2,2");
    }
    // Observations without any set-up give no observation file.
    test::TestContext t;
    t.workspace.load(test::CorpusFile("nikon_raw/tops-trimble-m3-051012-1.raw"));
    EXPECT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Stopped);
    EXPECT_EQ(t.workspace.line(0).substr(0, 3), "CO,");
    EXPECT_NE(t.user.texts(MessageKind::Error).at(0).find("no set-up (ST) record"),
              std::string::npos);
}

}  // namespace
}  // namespace tarvosen
