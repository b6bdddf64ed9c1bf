// The checking commands on the command line (several inputs, the JSON
// report, exit status 4) and the record of the sources in a workbook.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/version.h"
#include "cli/cli_runner.h"
#include "tests/support/cli_run.h"
#include "tests/levelling/book_fixture.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;

using test::CliRun;
using test::RunTool;

// The output of a shell command (sha256sum, unzip), computed outside the program.
std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
        pclose(p);
    }
    return out;
}

TEST(AuditCli, SeveralInputsReportAndExitStatus) {
    test::TestContext t;
    const std::string dini = test::CorpusFile("m5/bookcode-dini03-0624CH67.dat").string();
    const std::string r5 = test::CorpusFile("r5/tops-elta-r55.r5").string();
    std::string bytes = t.readFile(dini);
    bytes.replace(bytes.find("1.34729"), 7, "1.34829");
    const std::string edited = t.writeFile("edited.dat", bytes).string();
    const std::string report = (t.dir() / "report.json").string();

    EXPECT_EQ(RunTool({"check", dini, r5}).status, kExitDone);
    const auto found = RunTool({"dini-audit", "--report", report, dini, edited});
    EXPECT_EQ(found.status, kExitFound) << found.err;
    EXPECT_NE(found.err.find("warning: edited.dat:8: height:"), std::string::npos) << found.err;

    const auto json = nlohmann::json::parse(t.readFile(report));
    ASSERT_EQ(json["files"].size(), 2u);
    EXPECT_EQ(json["files"][0]["findings"].size(), 0u);
    EXPECT_EQ(json["files"][1]["findings"][0]["line"], 8);
    EXPECT_EQ(json["files"][1]["findings"][0]["check"], "height");
    EXPECT_EQ(json["files"][0]["sha256"].get<std::string>() + "  " + dini + "\n",
              Shell("sha256sum '" + dini + "'"));
    EXPECT_EQ(json["finding_count"], 1);
}

// Findings are shown in the chosen language while the report keeps English.
TEST(AuditCli, FindingsInTheChosenLanguage) {
    test::TestContext t;
    std::string bytes = t.readFile(test::CorpusFile("m5/bookcode-dini03-0624CH67.dat").string());
    bytes.replace(bytes.find("1.43346"), 7, "1.433  ");  // line 4, the first reading
    const std::string edited = t.writeFile("edited.dat", bytes).string();
    const std::string report = (t.dir() / "report.json").string();

    // Z on line 8: 0 + (1.433 + 1.43335) / 2 - (1.34729 + 1.34737) / 2 = 0.085845.
    const std::string resolution = "edited.dat:4: resolution: ";
    const std::string height = "edited.dat:8: height: ";
    const auto english = RunTool({"dini-audit", edited});
    EXPECT_NE(english.err.find(resolution + "reading written with 3 decimals; the instrument "
                               "writes 5 or 4\n"),
              std::string::npos)
        << english.err;
    EXPECT_NE(english.err.find(height + "station height Z 0.08608 m; the previous Z 0.00000 m "
                               "and the readings from line 4 give 0.085845 m\n"),
              std::string::npos)
        << english.err;
    const auto gb = RunTool({"dini-audit", "--language", "gb", "--report", report, edited});
    EXPECT_EQ(gb.status, kExitFound);
    EXPECT_NE(gb.err.find(resolution + "读数为 3 位小数；仪器记录的是 5或4 位小数\n"),
              std::string::npos)
        << gb.err;
    EXPECT_NE(gb.err.find(height + "测站高程 Z 为 0.08608 m；由上一 Z 值 0.00000 m 和自第 4 行起的"
                                   "读数算得 0.085845 m\n"),
              std::string::npos)
        << gb.err;
    const auto json = nlohmann::json::parse(t.readFile(report));
    const auto& findings = json["files"][0]["findings"];
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0]["message"], "reading written with 3 decimals; the instrument writes 5 or 4");
    EXPECT_EQ(findings[1]["check"], "height");

}

// `check` goes through the formats the program reads: levelling data is
// audited with the account of its lines; a file no format recognises (a
// point list until its format declares a check, prose, R4) is refused by
// name with exit 1, as dini-audit refuses what is no levelling data.
TEST(AuditCli, CheckDispatchesByFormatAndRefusesWhatNoFormatReads) {
    test::TestContext t;
    const auto dini = RunTool({"check", test::CorpusFile("m5/nivtropy-dini-push1609.dat").string()});
    EXPECT_EQ(dini.status, kExitDone) << dini.err;
    EXPECT_NE(dini.err.find("note: read 191 lines of nivtropy-dini-push1609.dat: 0 findings; "
                            "passed over 12 lines"),
              std::string::npos)
        << dini.err;

    const std::string prose = t.writeFile("notes.txt", "\nMeasured the bridge today.\n").string();
    const std::string r4 = test::CorpusFile("r5/tops-elta-r55-R4.r4").string();
    for (const char* command : {"check", "dini-audit"}) {
        const auto refused = RunTool({command, "--language", "gb", prose});
        EXPECT_EQ(refused.status, kExitStopped) << command;
        EXPECT_NE(refused.err.find("error: notes.txt:2："), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("“Measured the bridge today.”"), std::string::npos);
    }
    const auto old = RunTool({"check", r4});
    EXPECT_EQ(old.status, kExitStopped);
    EXPECT_NE(old.err.find("error: tops-elta-r55-R4.r4:1: no format this program reads recognises "
                           "the file, so it cannot be checked"),
              std::string::npos)
        << old.err;
}

// M5 data of a total station holds no levelling line: said at its first
// record, never at a line 0 that no file has.
TEST(AuditCli, DataWithoutALevellingLineIsNamedAtItsFirstRecord) {
    const auto run = RunTool({"dini-audit", test::CorpusFile("m5/tops-elta-r55-R_E.m5").string()});
    EXPECT_EQ(run.status, kExitFound);
    EXPECT_NE(run.err.find("warning: tops-elta-r55-R_E.m5:1: record: no levelling line"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find(":0:"), std::string::npos) << run.err;
}

TEST(AuditCli, ABookNamesTheFileItWasBuiltFromWithItsDigest) {
    test::TestContext t;
    const std::string dini = test::CorpusFile("m5/bookcode-dini03-0624CH67.dat").string();
    const std::string book = (t.dir() / "book.xlsx").string();
    ASSERT_EQ(RunTool({"dini-book", dini, "-o", book}).status, kExitDone);
    const std::string custom = Shell("unzip -p '" + book + "' docProps/custom.xml");
    const std::string digest = Shell("sha256sum '" + dini + "'").substr(0, 64);
    EXPECT_NE(custom.find("<vt:lpwstr>bookcode-dini03-0624CH67.dat</vt:lpwstr>"), std::string::npos)
        << custom;
    EXPECT_NE(custom.find("<vt:lpwstr>" + digest + "</vt:lpwstr>"), std::string::npos) << custom;
    EXPECT_NE(custom.find(kVersionText), std::string::npos) << custom;
}

}  // namespace
}  // namespace tarvosen
