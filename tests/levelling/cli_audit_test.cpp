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
