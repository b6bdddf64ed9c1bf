// Every line a Zeiss reader reads is accounted for: a unit it does not read
// stops the run, records it does not know and lines too long are named, and
// reading strictly writes nothing when there are any.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/cli_run.h"
#include "tests/support/test_context.h"
#include "zeiss/m5_line.h"

namespace tarvosen {
namespace {

using test::RunTool;

struct ReaderCase {
    const char* command;
    const char* file;
    std::string lines;        // with a record it does not know and a line too long
    std::string withSetting;  // the same with a setting it does not read
    const char* settingError;
    std::vector<const char*> warnings;
    const char* note;
};

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return text;
}

const std::string kLong(40, 'x');

std::vector<ReaderCase> Cases() {
    const std::string station =
        "For R5|Adr 0001|KR S   100|X     1000.000 m   |Y     2000.000 m   |Z       50.000 m   |";
    const std::string heights =
        "For R5|Adr 0002|TR INPUT  |th       1.800 m   |ih       1.550 m   |                   |";
    auto observation = [](const char* unit) {
        return std::string("For R5|Adr 0003|KR P     7|SD      30.000 m   |Hz      0.0000 ") +
               unit + "|V1     90.0000 DMS |";
    };
    const std::string unknownR5 =
        "For R5|Adr 0004|QR P     8|X     1010.000 m   |Y     2010.000 m   |Z       50.000 m   |";
    const std::string longR5 =
        "For R5|Adr 0005|KR P     9|X     1020.000 m   |Y     2020.000 m   |Z       50.000 m   |" +
        kLong;

    using zeiss::FormatM5PointLine;
    const std::string polar = zeiss::FormatM5TextLine(1, "POLAR", {});
    auto m5Point = [](const char* unit) {
        return FormatM5PointLine(
            2, "7", "P", {{{"SD", "30.000", "m   "}, {"Hz", "100.0000", unit}, {"V1", "100.0000", "gon "}}});
    };
    std::string unknownM5 = FormatM5PointLine(3, "8", "P", {{{"X ", "1010.000", "m   "}, {}, {}}});
    unknownM5.replace(17, 3, "QQ1");
    const std::string longM5 =
        FormatM5PointLine(4, "9", "P", {{{"X ", "1020.000", "m   "}, {}, {}}}) + kLong;

    const std::string head = "   0001 OR.COOR";
    const std::string rec500Station =
        "   0002                 506S        X       63.174 Y      -107.371 Z     0.000 ";
    const std::string unknownRec500 =
        "   0003                 507 0863    Qq       1.000 Y       -91.484 Z   156.261 ";
    const std::string longRec500 =
        "   0004                 508 0863    X       77.688 Y       -91.484 Z   156.261 " +
        std::string(130, 'x');
    const std::string angleRec500 =
        "   0003                 507 0863    SD      10.000 Hz      100.000             ";

    return {
        {"r5-to-points", "job.r5",
         Lines({station, heights, observation("DMS "), unknownR5, longR5, "END"}),
         Lines({station, heights, observation("mil "), unknownR5, longR5, "END"}),
         "error: job.r5: line 3: the Hz value has the unit \"mil\", which this reader does not read",
         {"warning: job.r5: line 5 is longer than the 99 characters a record can hold; it was left "
          "out.",
          "warning: job.r5: line 4 was not understood and was left out."},
         // 1 and 3 give points (the station, and 30 m along the x axis from
         // it), 2 is the heights and 6 the END.
         "note: read 6 lines of job.r5: 2 points written; passed over 2 lines (station and height "
         "records and END and the lines after it); 2 lines not understood (4 and 5)"},
        {"m5-to-r5", "job.m5", Lines({polar, m5Point("gon "), unknownM5, longM5}),
         Lines({polar, m5Point("gns "), unknownM5, longM5}),
         "error: job.m5: line 2: the Hz value has the unit \"gns\", which this reader does not read",
         {"warning: job.m5: line 4 is longer than the 149 characters a record can hold; it was "
          "left out.",
          "warning: job.m5: line 3 was not understood and was left out."},
         "note: read 4 lines of job.m5: 2 R5 lines written; 2 lines not understood (3 and 4)"},
        {"rec500-to-m5", "job.rec", Lines({head, rec500Station, unknownRec500, longRec500, "END"}),
         Lines({head, rec500Station, angleRec500, unknownRec500, longRec500, "END"}),
         "error: job.rec: Line 3 holds the angle Hz \"100.000\", but a REC500 file does not say "
         "whether its angles are in gon or in degrees",
         {"warning: job.rec: line 4 is longer than the 199 characters a record can hold; it was "
          "left out.",
          "warning: job.rec: line 3 was not understood and was left out."},
         "note: read 5 lines of job.rec: 2 M5 lines written; passed over 1 line (END and the lines "
         "after it); 2 lines not understood (3 and 4)"},
    };
}

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ZeissReadingAccount, SettingsRefusedUnknownLinesNamedStrictReadingWritesNothing) {
    for (const ReaderCase& c : Cases()) {
        SCOPED_TRACE(c.command);
        test::TestContext t;
        const auto out = t.dir() / "out.txt";

        const auto setting = t.writeFile(c.file, c.withSetting);
        const auto refused = RunTool({c.command, setting.string(), "-o", out.string()});
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(Holds(refused.err, c.settingError)) << refused.err;
        EXPECT_FALSE(std::filesystem::exists(out));

        const auto input = t.writeFile(c.file, c.lines);
        const auto run = RunTool({c.command, input.string(), "-o", out.string()});
        EXPECT_EQ(run.status, 0) << run.err;
        for (const char* warning : c.warnings) EXPECT_TRUE(Holds(run.err, warning)) << run.err;
        EXPECT_TRUE(Holds(run.err, c.note)) << run.err;
        EXPECT_TRUE(std::filesystem::exists(out));
        std::filesystem::remove(out);

        const auto strict = RunTool({c.command, "--strict", input.string(), "-o", out.string()});
        EXPECT_EQ(strict.status, 1);
        EXPECT_TRUE(Holds(strict.err, "lines not understood: ")) << strict.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

// The summaries of the Elta R55 job in each of its three layouts. The counts
// were taken with awk over the files: 144 lines with X, Y, E or N in column
// 48 and 149 TI or PI records before the END line and the empty line after
// it; 4 TR records of which two (m and Om, th and ih) and the station height
// record "KR S 1" set the station; 128 REC500 records before END.
TEST(ZeissReadingAccount, SummariesOfTheEltaR55JobCountItsLines) {
    test::TestContext t;
    const auto out = (t.dir() / "out").string();
    const auto r5 = RunTool({"r5-to-points", test::CorpusFile("r5/tops-elta-r55.r5").string(), "-o", out});
    EXPECT_TRUE(Holds(r5.err, "note: read 151 lines of tops-elta-r55.r5: 144 points written; passed "
                              "over 7 lines (text records, station and height records and END and "
                              "the lines after it)\n"))
        << r5.err;
    const auto m5 =
        RunTool({"m5-to-r5", test::CorpusFile("m5/tops-elta-r55-R_E.m5").string(), "-o", out});
    EXPECT_TRUE(Holds(m5.err, "note: read 151 lines of tops-elta-r55-R_E.m5: 149 R5 lines written; "
                              "passed over 2 lines (END and the lines after it)\n"))
        << m5.err;
    const auto rec = RunTool(
        {"rec500-to-m5", test::CorpusFile("rec500/tops-elta-r55-rec500.rec").string(), "-o", out});
    EXPECT_TRUE(Holds(rec.err, "note: read 129 lines of tops-elta-r55-rec500.rec: 128 M5 lines "
                               "written; passed over 1 line (END and the lines after it)\n"))
        << rec.err;
}

// Levelling readings in M5 have nothing R5 can hold: refused, not an R5
// file holding only END.
TEST(ZeissReadingAccount, LevellingM5IsRefusedByM5ToR5) {
    test::TestContext t;
    const auto out = t.dir() / "out.r5";
    const auto run = RunTool({"m5-to-r5", test::CorpusFile("m5/nivtropy-dini-push1609.dat").string(),
                              "-o", out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Holds(run.err, "error: nivtropy-dini-push1609.dat holds levelling readings (191 "
                               "records"))
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace tarvosen
