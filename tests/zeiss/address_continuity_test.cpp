// Address continuity of R5, M5 and REC500 records.

#include <gtest/gtest.h>

#include "tests/support/test_context.h"
#include "zeiss/address_continuity.h"
#include "zeiss/m5_line.h"
#include "zeiss/r5_line.h"

namespace tarvosen::zeiss {
namespace {

std::vector<std::string> Described(const std::vector<std::string>& lines) {
    Workspace ws;
    ws.replaceAll(lines);
    std::vector<std::string> out;
    for (const auto& f : CheckAddresses(ws)) out.push_back(std::to_string(f.line) + " " + f.text());
    return out;
}

std::string R5(long address) { return FormatR5TextLine(address, "POLAR", {}); }
std::string M5(long address) { return FormatM5TextLine(address, "POLAR", {}); }

TEST(AddressContinuity, GapsRepeatsStepsBackAndWraps) {
    // R5: in order across the wrap 9999 -> 0; then records lost across a
    // second wrap, a repeat, a step back, a gap; END and blank lines are no
    // records.
    EXPECT_EQ(Described({R5(9998), R5(9999), R5(0), R5(1), "", R5(2), R5(9998), R5(2), R5(2),
                         R5(1), R5(5), "END"}),
              (std::vector<std::string>{
                  "7 addresses 3-9997 are missing between line 6 and line 7",
                  "8 addresses 9999-1 are missing (across the wrap to 0) between line 7 and line 8",
                  "9 address 2 repeated at line 9 (line 8 has it too)",
                  "10 address goes back from 2 to 1 between line 9 and line 10",
                  "11 addresses 2-4 are missing between line 10 and line 11"}));
    // M5 wraps after 99999 only.
    EXPECT_EQ(Described({M5(9999), M5(10000), M5(99999), M5(0), M5(2)}),
              (std::vector<std::string>{
                  "3 addresses 10001-99998 are missing between line 2 and line 3",
                  "5 address 1 is missing between line 4 and line 5"}));

    // The REC500 DiNi file of the corpus: the jumps its description lists.
    const Workspace rec = test::LinesOfFile(test::CorpusFile("rec500/nivtropy-dini-levelling-example.rec"));
    std::vector<std::pair<long, long>> jumps;
    for (const auto& f : CheckAddresses(rec)) {
        EXPECT_EQ(f.kind, AddressFinding::Kind::Gap);
        jumps.emplace_back(f.previous, f.address);
    }
    EXPECT_EQ(jumps, (std::vector<std::pair<long, long>>{{1, 115}, {199, 347}, {357, 397},
                                                         {426, 513}, {517, 625}, {733, 1076},
                                                         {1159, 1329}, {1329, 1471}, {1471, 1633}}));
    // The other real files run without a break.
    for (const char* name : {"rec500/tops-elta-r55-rec500.rec", "r5/tops-elta-r55.r5",
                             "m5/tops-elta-r55-R_E.m5", "m5/osgeolab-trimble-m3-sample.m5"})
        EXPECT_TRUE(CheckAddresses(test::LinesOfFile(test::CorpusFile(name))).empty()) << name;
}

}  // namespace
}  // namespace tarvosen::zeiss
