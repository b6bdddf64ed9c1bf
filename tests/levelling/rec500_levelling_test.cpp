// The DiNi memory written in the REC500 layout (nivtropy), converted to M5:
// its lines 1174-1201 have no height after each station, line 1433 was left
// after one reading, and its addresses jump. The network, the audit and the
// books are held against sums taken straight from the REC500 text.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_runner.h"
#include "levelling/geo_book.h"
#include "levelling/levelling_options.h"
#include "tests/levelling/book_fixture.h"
#include "tests/support/cli_run.h"

namespace tarvosen {
namespace {

using test::RunTool;

// Per levelling line of the REC500 text, in order: its number, the sum of
// its back readings less its fore readings, and its count of back readings
// (one per station in BF). Voided (#####) records are left out.
struct LineSum {
    std::string name;
    double sum = 0;
    int backs = 0;
};

std::vector<LineSum> SumsOfRec500(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<LineSum> out;
    for (std::string line; std::getline(in, line);) {
        if (const auto at = line.find("Start-Line"); at != std::string::npos) {
            std::istringstream words(line.substr(at));
            LineSum s;
            while (words >> s.name) {}
            out.push_back(s);
            continue;
        }
        if (out.empty() || line.find("#####") != std::string::npos) continue;
        for (const char* code : {"Rb ", "Rf "}) {
            const auto at = line.find(code);
            if (at == std::string::npos) continue;
            const double value = std::stod(line.substr(at + 3));
            out.back().sum += code[1] == 'b' ? value : -value;
            out.back().backs += code[1] == 'b';
        }
    }
    return out;
}

struct Converted {
    test::TestContext t;
    std::filesystem::path m5 = t.dir() / "example.m5";
    Converted() {
        const auto run = RunTool({"rec500-to-m5",
                                  test::CorpusFile("rec500/nivtropy-dini-levelling-example.rec").string(),
                                  "-o", m5.string()});
        EXPECT_EQ(run.status, kExitDone) << run.err;
    }
};

TEST(Rec500Levelling, NetworkTakesEveryRunWithItsStationsAsTheReadingsSumThem) {
    Converted c;
    const auto report = c.t.dir() / "network.json";
    const auto run = RunTool({"level-network", "--report", report.string(), c.m5.string(), "-o",
                              (c.t.dir() / "network.xlsx").string()});
    EXPECT_EQ(run.status, kExitDone) << run.err;
    // 329 lines: the bare reading R outside any line is passed over with the
    // text, summary, voided and marker records; nothing is left not understood.
    EXPECT_NE(run.err.find("note: read 329 lines of example.m5: 22 sections of 22 runs written; "
                           "passed over 69 lines"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("not understood"), std::string::npos);

    // Lines with stations, in file order: 25 less the empty 1397 and 1436 and
    // the abandoned 1433. Lines 1174-1201 (9 runs, 37 stations) have no
    // height after each station.
    std::vector<LineSum> expected;
    for (const LineSum& s : SumsOfRec500(test::CorpusFile("rec500/nivtropy-dini-levelling-example.rec")))
        if (s.name != "1397" && s.name != "1436" && s.name != "1433") expected.push_back(s);
    std::ifstream in(report);
    const auto sections = nlohmann::json::parse(in)["sections"];
    ASSERT_EQ(sections.size(), expected.size());
    int withoutHeights = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(sections[i]["h_forward"].get<double>(), expected[i].sum, 1e-9) << expected[i].name;
        EXPECT_EQ(sections[i]["stations"].get<double>(), expected[i].backs) << expected[i].name;
        if (std::stoi(expected[i].name) <= 1201) withoutHeights += expected[i].backs;
    }
    EXPECT_EQ(withoutHeights, 37);
    // 1178 closes on 314 with +11.0 mm, as its readings (and the level's Sh
    // +0.0109 m) say: a real misclosure.
    EXPECT_NEAR(expected[4].sum, 0.0110, 1e-9);
}

TEST(Rec500Levelling, AuditFindsOnlyTheAddressGaps) {
    Converted c;
    const auto run = RunTool({"dini-audit", c.m5.string()});
    EXPECT_EQ(run.status, kExitFound);
    std::size_t findings = 0, addresses = 0;
    std::istringstream err(run.err);
    for (std::string line; std::getline(err, line);) {
        if (!line.starts_with("warning: example.m5:")) continue;
        ++findings;
        addresses += line.find(": address: ") != std::string::npos;
    }
    EXPECT_EQ(findings, 9u) << run.err;
    EXPECT_EQ(addresses, 9u);
    EXPECT_NE(run.err.find("example.m5: 9 findings, 74 stations"), std::string::npos) << run.err;
}

TEST(Rec500Levelling, AnAbandonedLineHasNoHeightDifferenceAndIsWarnedAbout) {
    Converted c;
    Workspace converted;
    converted.load(c.m5);
    test::BookRun b;
    b.run(converted.lines(), [](spreadsheet::SpreadsheetSession& session, CommandContext& ctx) {
        return std::make_unique<levelling::GeoInstituteBook>(session, ctx.user,
                                                              ctx.options.get<GeoBookOptions>());
    });
    EXPECT_EQ(b.outcome, levelling::ReadOutcome::Read);
    // Line 1433: Start-Line, its start height, one Rb 0.4711 and the next
    // Start-Line. Its row shows the reading, with no height difference and no sum.
    const auto abandoned = b.sheet("水准线1433");
    EXPECT_NEAR(test::Put(abandoned, "F12"), 0.4711, 1e-12);
    EXPECT_EQ(test::FormulaOf(abandoned, "J12"), "");
    EXPECT_EQ(test::Text(abandoned, "I14"), "");
    EXPECT_EQ(b.t.user.texts(MessageKind::Warning),
              std::vector<std::string>{"NONAME.TXT, levelling line 1433: the station from line 266 "
                                       "has readings of one staff only (the line was left there); "
                                       "it has no height difference."});
    // Line 1175, two stations without heights: 0.2327 - 0.8934 + 0.8932 - 0.2328.
    EXPECT_NEAR(test::Number(b.sheet("水准线1175"), "I15"), -0.0003, 1e-12);
}

}  // namespace
}  // namespace tarvosen
