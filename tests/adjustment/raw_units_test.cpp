// Raw files in gon, decimal degrees and feet give what the same observations
// in DDDMMSS and metres give; units and angles that cannot be read are
// refused with nothing written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "adjustment/adjustment_commands.h"
#include "adjustment/angle.h"
#include "app/errors.h"
#include "tests/support/test_context.h"
#include "adjustment/adjustment_options.h"

namespace tarvosen {
namespace {

using Lines = std::vector<std::string>;

// A gon text in whole seconds, DDD.MMSS, by integer arithmetic on its digits:
// one ten-thousandth of a gon is 0.324".
std::string DddmmssOfGon(const std::string& gon) {
    if (gon.empty()) return gon;
    const auto point = gon.find('.');
    std::string fraction = point == std::string::npos ? "" : gon.substr(point + 1);
    fraction.resize(4, '0');
    const long long tenThousandths =
        std::stoll(gon.substr(0, point)) * 10000 + std::stoll(fraction);
    const long long seconds = (tenThousandths * 324 + 500) / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

// The file with its angle fields (set-up 6 and 7, observation 4 and 5)
// rewritten from gon into DDDMMSS.
Lines RewrittenInDddmmss(const Lines& gonFile) {
    Lines out;
    for (const std::string& line : gonFile) {
        if (line.find("Angle Units:") != std::string::npos) {
            out.push_back("CO,Angle Units: DDDMMSS");
            continue;
        }
        const std::size_t first = line.starts_with("ST,") ? 6 : line.starts_with("SS,") ? 4 : 0;
        std::string rewritten;
        std::stringstream fields(line);
        std::size_t i = 0;
        for (std::string f; std::getline(fields, f, ','); ++i)
            rewritten +=
                (i ? "," : "") + (first && (i == first || i == first + 1) ? DddmmssOfGon(f) : f);
        out.push_back(first ? rewritten + (line.ends_with(",") ? "," : "") : line);
    }
    return out;
}

// Both outputs line by line: equal texts, or a distance ("P,S,...") within
// 0.1 mm, or an angle (a direction "P,L,..." or a reading) within 1"; with
// `sameDirections`, directions written alike.
void ExpectSameObservations(const Lines& got, const Lines& expected, bool sameDirections = false) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i] == expected[i]) continue;
        const auto comma = got[i].rfind(',');
        const std::string head = got[i].substr(0, comma + 1);
        ASSERT_EQ(head, expected[i].substr(0, comma + 1)) << "line " << i;
        const std::string a = got[i].substr(comma + 1), b = expected[i].substr(comma + 1);
        if (sameDirections && head.ends_with(",L,")) {
            EXPECT_EQ(got[i], expected[i]);
        } else if (head.ends_with(",S,")) {
            EXPECT_NEAR(std::stod(a), std::stod(b), 1e-4) << got[i] << " / " << expected[i];
        } else {
            const double d = std::remainder(DmsTextToRadians(a) - DmsTextToRadians(b), kTwoPi);
            EXPECT_LE(std::fabs(d) * 180 / kPi * 3600, 1.0 + 1e-6)
                << got[i] << " / " << expected[i];
        }
    }
}

Lines Cosa(const Lines& raw) {
    test::TestContext t;
    t.setLines(raw);
    EXPECT_EQ(NikonToCosaCommand(t.ctx), CommandStatus::Done);
    return t.workspace.lines();
}

Lines TraverseText(const Lines& raw) {
    test::TestContext t;
    t.setLines(raw);
    t.options.get<TraverseOptions>().produceBook = false;
    EXPECT_EQ(NikonToTraverseCommand(t.ctx), CommandStatus::Done);
    return t.workspace.lines();
}

TEST(RawUnits, GonFilesGiveWhatTheirDddmmssRewriteGives) {
    for (const char* file :
         {"nikon_raw/tops-nikon-npl350.raw", "nikon_raw/tops-nikon-npl352.raw"}) {
        SCOPED_TRACE(file);
        test::TestContext t;
        t.workspace.load(test::CorpusFile(file));
        const Lines gon = t.workspace.lines();
        const Lines dms = RewrittenInDddmmss(gon);
        ASSERT_NE(gon, dms);
        // The rewrite rounds each gon reading once, to the second, as the
        // directions must be (323.7412 gon is 291°22'01.488", so 291.2201).
        ExpectSameObservations(Cosa(gon), Cosa(dms), true);
        ExpectSameObservations(TraverseText(gon), TraverseText(dms));
    }
}

TEST(RawUnits, ElevationsBecomeZenithAnglesBeforeAnythingUsesThem) {
    test::TestContext t;
    t.workspace.load(test::CorpusFile("nikon_raw/taheoport-nivo3m-161226-1.raw"));
    const Lines raw = t.workspace.lines();
    // The job says "CO,Zero VA: Compass": its vertical angles are signed
    // elevations, so a horizontal distance is SD·cos(elevation), with the
    // elevation read here from the digits of its DDDMMSS text.
    Lines names;
    std::vector<double> horizontal;
    for (const std::string& line : raw) {
        if (!line.starts_with("SS,")) continue;
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
        const bool minus = f[5][0] == '-';
        const std::string v = f[5].substr(minus ? 1 : 0);
        const auto point = v.find('.');
        const double degrees = std::stoi(v.substr(0, point)) +
                               std::stoi(v.substr(point + 1, 2)) / 60.0 +
                               std::stoi(v.substr(point + 3, 2)) / 3600.0;
        names.push_back(f[1]);
        horizontal.push_back(std::stod(f[3]) * std::cos((minus ? -degrees : degrees) * kPi / 180));
    }
    ASSERT_EQ(horizontal.size(), 402u);
    std::size_t n = 0;
    for (const std::string& line : Cosa(raw)) {
        const auto s = line.find(",S,");
        if (s == std::string::npos) continue;
        ASSERT_LT(n, names.size());
        EXPECT_EQ(line.substr(0, s), names[n]);
        EXPECT_NEAR(std::stod(line.substr(s + 3)), horizontal[n], 1e-9) << line;
        ++n;
    }
    EXPECT_EQ(n, 402u);
    // Point 1: SD 250.223 at -0°03'30" is 250.2229 m; its zenith angle in
    // the traverse text is 90°03'30".
    EXPECT_NEAR(horizontal[0], 250.2229, 1e-4);
    EXPECT_EQ(TraverseText(raw).at(12), "90.0330");

    // Counted upwards from the horizon round the circle, face II included:
    // 95°15'30" and 264°44'36" from the zenith are 354°44'30" and 185°15'24".
    const Lines zenith = {"ST,S1,,B,,1.500,,10.0000", "SS,P,1.600,100.000,55.3012,95.1530,t",
                          "SS,P,1.600,100.000,235.3010,264.4436,t"};
    const Lines horizon = {"CO,Zero VA: Horizontal", "ST,S1,,B,,1.500,,10.0000",
                           "SS,P,1.600,100.000,55.3012,354.4430,t",
                           "SS,P,1.600,100.000,235.3010,185.1524,t"};
    EXPECT_EQ(Cosa(horizon), Cosa(zenith));
    EXPECT_EQ(TraverseText(horizon), TraverseText(zenith));
}

TEST(RawUnits, FeetAndDecimalDegreesGiveWhatMetresAndDddmmssGive) {
    // 1 m = 3.280840 ft; 55°30'12" = 55.503333°, 95°15'30" = 95.258333°,
    // 264°44'36" = 264.743333°, 235°30'10" = 235.502778°.
    const Lines metres = {"CO,Dist Units: Metres", "CO,Angle Units: DDDMMSS",
                          "ST,S1,,B,,1.500,,10.0000", "SS,P,1.600,100.000,55.3012,95.1530,t",
                          "SS,P,1.600,100.000,235.3010,264.4436,t"};
    const Lines feet = {"CO,Dist Units: Feet", "CO,Angle Units: Degrees (decimal)",
                        "ST,S1,,B,,4.92126,,10.0", "SS,P,5.24934,328.08399,55.503333,95.258333,t",
                        "SS,P,5.24934,328.08399,235.502778,264.743333,t"};
    ExpectSameObservations(Cosa(feet), Cosa(metres));
    ExpectSameObservations(TraverseText(feet), TraverseText(metres));
}

// Whatever is refused leaves the workspace as it was and writes no book.
void ExpectRefused(const Lines& raw, const std::vector<std::string>& said) {
    for (const bool cosa : {true, false}) {
        test::TestContext t;
        t.setLines(raw);
        t.options.get<TraverseOptions>().bookFile = (t.dir() / "book.xlsx").string();
        try {
            cosa ? NikonToCosaCommand(t.ctx) : RunTraverseExport(t.ctx);
            ADD_FAILURE() << "not refused";
        } catch (const ConversionError& e) {
            for (const auto& s : said)
                EXPECT_NE(std::string(e.what()).find(s), std::string::npos) << e.what();
        }
        EXPECT_EQ(t.workspace.lines(), raw);
        EXPECT_FALSE(std::filesystem::exists(t.dir() / "book.xlsx"));
    }
}

TEST(RawUnits, UnitsAndAnglesThatCannotBeReadAreRefusedNamingTheLine) {
    const Lines station = {"ST,S1,,B,,1.500,,0.0000", "SS,B,1.6,5.74,0.0000,90.0000",
                           "SS,P,1.6,5.74,10.0000,90.0000"};
    Lines gonInDms = station;
    gonInDms.insert(gonInDms.begin() + 2, "SS,F,1.6,5.74,0.0000,108.7690");
    ExpectRefused(gonInDms, {"Line 3", "108.7690"});

    Lines mil = station;
    mil.insert(mil.begin(), "CO,Angle Units: Mils");
    ExpectRefused(mil, {"NONAME.TXT: line 1", "CO,Angle Units: Mils"});
    Lines nadir = station;
    nadir.insert(nadir.begin() + 1, "CO,Zero VA: Nadir");
    ExpectRefused(nadir, {"NONAME.TXT: line 2", "CO,Zero VA: Nadir"});
    Lines order = station;
    order.insert(order.begin(), "CO,Coord Order: XYZ");
    ExpectRefused(order, {"NONAME.TXT: line 1", "CO,Coord Order: XYZ"});
    Lines steep = {"CO,Zero VA: Compass", "ST,S1,,B,,1.500,,0.0000",
                   "SS,P,1.6,5.74,10.0000,-95.0000"};
    ExpectRefused(steep, {"NONAME.TXT: line 3", "-95.0000"});

    test::TestContext t;
    t.workspace.load(test::CorpusFile("nikon_raw/geoeasy-nikon-dtm322-sample.raw"));
    // 326.027 is 02'70", 300.847 is 84'.
    ExpectRefused(t.workspace.lines(), {"NONAME.TXT: Line 21", "21 and 22."});
}

}  // namespace
}  // namespace tarvosen
