#include "adjustment/nikon_raw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/errors.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

// Reads every record of a text into "S:name/backsight/height/reading",
// "O:point/target/distance/ha/za" (B: for a backsight observation) and
// "P:name/north/east/height" with their line numbers.
std::vector<std::string> ReadAll(test::TestContext&, const std::string& text) {
    const Workspace lines = test::LinesOfText(text);
    NikonRawReader reader(lines);
    std::vector<std::string> out;
    RawRecord r;
    while (reader.next(r)) {
        if (r.kind == RawRecordKind::Station)
            out.push_back(std::to_string(r.lineNumber) + " S:" + r.station.stationName + "/" +
                          r.station.backsightName + "/" + r.station.instrumentHeight + "/" +
                          r.station.backsightReading);
        else if (r.kind == RawRecordKind::Point)
            out.push_back(std::to_string(r.lineNumber) + " P:" + r.point.name + "/" +
                          r.point.north + "/" + r.point.east + "/" + r.point.height);
        else
            out.push_back(std::to_string(r.lineNumber) +
                          (r.kind == RawRecordKind::Backsight ? " B:" : " O:") +
                          r.observation.pointName + "/" +
                          r.observation.targetHeight + "/" + r.observation.slopeDistance + "/" +
                          r.observation.horizontalReading + "/" + r.observation.zenithAngle);
    }
    return out;
}

TEST(NikonRawReader, ReadsSetUpsAndObservationsAndSkipsOtherLines) {
    test::TestContext t;
    const auto records = ReadAll(t,
                                 "CO,Nikon RAW data format V2.00\r\n"
                                 "ST,A1,,B0,,1.450,10.0000,10.0000,extra\r\n"
                                 "SS,P1,1.600,100.000,55.3012,90.0000,10:20:45,CODE\r\n"
                                 "F1,B0,1.5,20.5,10.0000,90.0000,10:21:00\r\n"
                                 "STX,A2,,A1,,1.5,,0.0000\r\n"
                                 "*SS,P9,1,2,3,4,5,6\r\n"
                                 "MC,P1,,1,2,3,\r\n"
                                 "MP,K1,,100.000,200.000,10.000,PILLAR\r\n");
    // Field 7 of a set-up is the rest of the line, commas included.
    EXPECT_EQ(records, (std::vector<std::string>{"2 S:A1/B0/1.450/10.0000,extra",
                                                 "3 O:P1/1.600/100.000/55.3012/90.0000",
                                                 "4 B:B0/1.5/20.5/10.0000/90.0000",
                                                 "5 S:A2/A1/1.5/0.0000",
                                                 "8 P:K1/100.000/200.000/10.000"}));
}

TEST(NikonRawReader, RecordsEndAtTheirLine) {
    test::TestContext t;
    // An empty line or a line without commas must not swallow the next
    // record, and a short record must not take fields from the next line.
    const auto records = ReadAll(t,
                                 "ST,A1,,B0,,1.450,,0.0000\n"
                                 "SS,P1,1.6\n"
                                 "\n"
                                 "ST,A2,,A1,,1.500,,0.0000\n"
                                 "Waiting to receive\n"
                                 "SS,P2,1.6,50,10.0000,90.0000\n");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1], "2 O:P1/1.6///");
    EXPECT_EQ(records[2], "4 S:A2/A1/1.500/0.0000");
    EXPECT_EQ(records[3], "6 O:P2/1.6/50/10.0000/90.0000");
}

TEST(NikonRawReader, ReadsLongFieldsWhole) {
    test::TestContext t;
    const std::string longName(60, 'N');
    const auto records =
        ReadAll(t, "SS," + longName + ",1.6,50,10.0000,90.0000\nSS,P2,1.6,50,10.0000,90.0000\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], "1 O:" + longName + "/1.6/50/10.0000/90.0000");
}

TEST(NikonRawReader, ReadsTheInstrumentCorpus) {
    test::TestContext t;
    struct Expect {
        const char* file;
        int stations, observations;
    };
    for (const Expect& e : {Expect{"nikon_raw/tops-nikon-dtm330.raw", 4, 5},
                            Expect{"nikon_raw/taheoport-nivo3m-161226-1.raw", 9, 402},
                            Expect{"nikon_raw/tops-trimble-m3-051012-1.raw", 0, 177}}) {
        const Workspace lines = test::LinesOfFile(test::CorpusFile(e.file));
        NikonRawReader reader(lines);
        RawRecord r;
        int stations = 0, observations = 0;
        while (reader.next(r)) {
            if (r.kind == RawRecordKind::Station) ++stations;
            if (r.kind == RawRecordKind::Observation) ++observations;
        }
        EXPECT_EQ(stations, e.stations) << e.file;
        EXPECT_EQ(observations, e.observations) << e.file;
    }
}

}  // namespace
}  // namespace tarvosen
