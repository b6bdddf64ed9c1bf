// The real DNA03 download (five downloads, 32 BFFB lines) read into the
// levelling model. The expected figures were worked out by a separate script
// over the raw words: per station ((B1 - F1) + (B2 - F2)) / 2, summed per
// line and held against the steps of the instrument's 83 heights.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "leica/gsi_addresses.h"
#include "leica/gsi_levelling.h"
#include "tests/support/cli_run.h"
#include "tests/support/test_context.h"

namespace tarvosen::leica {
namespace {

using namespace levelling;

struct Line {
    std::size_t start = 0;
    std::string method;
    std::vector<LevelObservation> observations;
    std::vector<InstrumentSummary> summaries;
    bool ended = false;
};

class Recorder : public LevellingSink {
  public:
    void startLine(const LineStart& s) override { lines.push_back({s.line, s.method, {}, {}, false}); }
    void observation(const LevelObservation& o) override { lines.back().observations.push_back(o); }
    void summary(const InstrumentSummary& s) override { lines.back().summaries.push_back(s); }
    void endLine(const LineEnd&) override { lines.back().ended = true; }
    void finish() override {}
    std::vector<Line> lines;
};

// Station height differences of a BFFB line, and the instrument's heights.
struct Sums {
    int stations = 0;
    double readings = 0, heights = 0;
    std::vector<std::pair<std::size_t, double>> stepsOff;  // station line, readings - step
};
Sums SumsOf(const Line& line) {
    Sums s;
    std::vector<double> b, f;
    std::size_t first = 0;
    std::optional<double> start, last;
    for (const auto& o : line.observations) {
        if (o.sight()) {
            if (b.empty() && f.empty()) first = o.line;
            (o.back() ? b : f).push_back(o.reading.value);
        } else if (o.kind == ObservationKind::PointHeight) {
            if (!start) start = o.height.value;
            if (b.size() == 2 && f.size() == 2) {
                const double dh = ((b[0] - f[0]) + (b[1] - f[1])) / 2;
                ++s.stations;
                s.readings += dh;
                if (std::fabs(dh - (o.height.value - *last)) > 0.0002)
                    s.stepsOff.push_back({first, dh - (o.height.value - *last)});
            }
            last = o.height.value;
            b.clear();
            f.clear();
        }
    }
    s.heights = *last - *start;
    return s;
}

TEST(GsiLevelling, RealDna03DownloadGivesItsLinesStationsAndAddresses) {
    test::TestContext t;
    const Workspace lines = test::LinesOfFile(test::CorpusFile("gsi/osgeolab-dna03-test.gsi"));
    ASSERT_TRUE(IsGsiLevelling(lines));
    Recorder sink;
    sink.beginFile("osgeolab-dna03-test.gsi");
    LineAccount account("osgeolab-dna03-test.gsi");
    ASSERT_EQ(ReadGsiLevelling(t.ctx, lines, sink, account), ReadOutcome::Read);

    // Every line is used: no word kind of the file is unknown.
    EXPECT_EQ(account.usedCount(), 1758u);
    EXPECT_EQ(account.notUnderstoodCount(), 0u);
    ASSERT_EQ(sink.lines.size(), 32u);

    int stations = 0;
    for (const Line& line : sink.lines) {
        EXPECT_EQ(line.method, "BFFB");
        EXPECT_TRUE(line.ended) << line.start;
        const Sums s = SumsOf(line);
        stations += s.stations;
        if (line.start == 225) {
            // U-G: the station at line 252 gives -0.59143 m, the heights step by -0.59078 m.
            ASSERT_EQ(s.stepsOff.size(), 1u);
            EXPECT_EQ(s.stepsOff[0].first, 252u);
            EXPECT_NEAR(s.stepsOff[0].second, -0.59143 + 0.59078, 1e-9);
        } else if (line.start == 473) {
            // R-M: a station lost in the address gap 192-196; the quick closure counts 13.
            EXPECT_EQ(s.stations, 12);
            ASSERT_EQ(s.stepsOff.size(), 1u);
            EXPECT_EQ(line.summaries.back().stationCount, 13);
            EXPECT_EQ(line.summaries[line.summaries.size() - 2].heightSum.text, "-0.49863");
        } else {
            EXPECT_TRUE(s.stepsOff.empty()) << line.start;
            // Within the rounding of the 83 heights (0.02 mm).
            EXPECT_LE(std::fabs(s.readings - s.heights), 0.0000201) << line.start;
        }
    }
    EXPECT_EQ(stations, 336);

    // Five downloads, each from address 1; the addresses 192-196 and 307-424 are missing.
    const GsiAddresses addresses = CheckGsiAddresses(lines);
    EXPECT_EQ(addresses.downloads, (std::vector<std::size_t>{1, 337, 793, 1165, 1411}));
    ASSERT_EQ(addresses.breaks.size(), 2u);
    EXPECT_EQ(addresses.breaks[0].line, 530u);
    EXPECT_EQ(addresses.breaks[0].previous, 191);
    EXPECT_EQ(addresses.breaks[0].address, 197);
    EXPECT_EQ(addresses.breaks[1].line, 1101u);
    EXPECT_EQ(addresses.breaks[1].previous, 306);
    EXPECT_EQ(addresses.breaks[1].address, 425);
    const auto findings = GsiAddressFindings(lines, "dna03.gsi", {});
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_EQ(findings[0].english, "addresses 192-196 are missing between line 529 and line 530");
    EXPECT_EQ(findings[2].english, "dna03.gsi: 5 downloads in one file; each begins again at "
                                   "address 1 (lines 1, 337, 793, 1165 and 1411).");
}

// The audit names exactly the two lines the script found inconsistent, the
// address gaps and the five downloads; the books take the file as they take M5.
TEST(GsiLevelling, AuditAndBooksOfTheRealDownload) {
    test::TestContext t;
    const std::string file = test::CorpusFile("gsi/osgeolab-dna03-test.gsi").string();
    const auto audit = test::RunTool({"dini-audit", file});
    EXPECT_EQ(audit.status, 4);
    std::vector<std::size_t> lines;
    const std::string prefix = "warning: osgeolab-dna03-test.gsi:";
    for (auto at = audit.err.find(prefix); at != std::string::npos; at = audit.err.find(prefix, at + 1))
        lines.push_back(std::stoul(audit.err.substr(at + prefix.size())));
    // 256: the station of line 252 (line 225, U-G); 534 and 536: the station
    // after the gap and the line summary of line 473 (R-M: 13 stations counted,
    // 12 present, the distance sums and the heights short of one station).
    EXPECT_EQ(lines, (std::vector<std::size_t>{256, 337, 530, 534, 534, 534, 536, 536, 536, 1101}))
        << audit.err;
    EXPECT_NE(audit.err.find("station count 13; the line has 12 stations"), std::string::npos);
    EXPECT_NE(audit.err.find("the readings from line 252 give 1.551630 m"), std::string::npos);

    const auto book = test::RunTool({"dini-book-checked", file, "-o", (t.dir() / "b.xlsx").string()});
    EXPECT_EQ(book.status, 0) << book.err;
    EXPECT_NE(book.err.find("note: read 1758 lines of osgeolab-dna03-test.gsi: 32 levelling lines written"),
              std::string::npos)
        << book.err;
}

TEST(GsiLevelling, UnknownMethodAndUnitAreRefusedAndUnknownWordsNotUnderstood) {
    auto read = [](std::string text, LineAccount& account, test::TestContext& t) {
        Recorder sink;
        sink.beginFile("x.gsi");
        return ReadGsiLevelling(t.ctx, test::LinesOfText(text), sink, account);
    };
    const std::string start = "*410001+00000000?......2 \n*110002+000000000000000G 83..58+0000000000000000 \n";
    {
        test::TestContext t;
        LineAccount account("x.gsi");
        EXPECT_EQ(read("*410001+00000000?......7 \n", account, t), ReadOutcome::Refused);
        EXPECT_EQ(t.user.messages.at(0).text,
                  "x.gsi, line 1: the line start names the levelling method \"7\", which this "
                  "program does not know; nothing was written.");
    }
    {
        test::TestContext t;
        LineAccount account("x.gsi");
        EXPECT_EQ(read(start + "*110003+000000000000000G 32...9+0000000001824936 331.08+0000000000159977 \n",
                       account, t),
                  ReadOutcome::Refused);
        EXPECT_EQ(t.user.messages.at(0).text,
                  "x.gsi, line 3: the word 32 has the unit code \"9\", which GSI does not define; "
                  "nothing was written.");
    }
    {
        // A planted word 99 and a line that is no GSI block: not understood,
        // and with strict reading the run must stop.
        test::TestContext t;
        LineAccount account("x.gsi");
        EXPECT_EQ(read(start + "*110003+000000000000000G 99....+0000000000000001 \nhello\n"
                               "*110004+000000000000000G 32...8+0000000001824936 331.08+0000000000159977 \n",
                       account, t),
                  ReadOutcome::Read);
        EXPECT_EQ(account.notUnderstoodCount(), 2u);
        t.state.strictReading = true;
        EXPECT_FALSE(CheckLinesUnderstood(t.ctx, account));
        EXPECT_EQ(t.user.messages.at(0).text,
                  "x.gsi: lines not understood: 3 and 4. Reading strictly, nothing was written.");
    }
}

}  // namespace
}  // namespace tarvosen::leica
