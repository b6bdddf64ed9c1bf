// The conversions' and books' warnings in the language asked for: whole
// sentences with the lines, counts and stations in their places.
#include <gtest/gtest.h>

#include <sstream>

#include "i18n/message_catalogue.h"
#include "tests/support/cli_run.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

using test::RunTool;

TEST(WarningsLanguage, ConversionsAndBooksWarnInTheChosenLanguage) {
    test::TestContext t;
    // Points 1 and 2 without a number for Z.
    const auto points = t.writeFile("p.txt", "P1,1.0,2.0,abc,C\r\nP2,3.0,4.0,x,C\r\nP3,5,6,7,C\r\n");
    // Nikon 300/400 records: lines 2 and 4 short, a Ctrl-Z on line 5 before one more record.
    const auto raw = t.writeFile("n.raw",
                                 "2,9,1,NS002,x\r\n1,1,0,P1,C,1.0,2.0\r\n1,1,0,P2,C,1,2,3\r\n"
                                 "1,1,0,P3\r\n\x1a\r\n1,1,0,P4,C,1,2,3\r\n");
    const std::string levelling = test::CorpusFile("m5/bookcode-dini03-0624CH67.dat").string();
    auto run = [&](std::vector<std::string> args, const char* language) {
        if (language) args.insert(args.end(), {"--language", language});
        return RunTool(args).err;
    };
    const auto out = (t.dir() / "out").string();
    struct Case {
        std::vector<std::string> args;
        std::string english, gb, big5;
    } cases[] = {
        {{"points-to-dxf", points.string(), "-o", out},
         "warning: p.txt: lines 1 and 2 had a Z that is not a number; the drawing has Z "
         "0.000000 there.",
         "warning: p.txt：第 1、2 行的 Z 不是数字，图中该处的 Z 取为 0.000000。",
         "warning: p.txt：第 1、2 行的 Z 不是數字，圖中該處的 Z 取為 0.000000。"},
        {{"nikon300-to-points", raw.string(), "-o", out},
         "warning: n.raw: line 5 holds a Ctrl-Z character, which ends the data; the 1 line(s) "
         "with text after it were not read.",
         "warning: n.raw：第 5 行含有 Ctrl-Z 字符，数据到此结束；其后 1 个有内容的行未读入。",
         "warning: n.raw：第 5 行含有 Ctrl-Z 字元，資料到此結束；其後 1 個有內容的行未讀入。"},
        {{"nikon300-to-points", raw.string(), "-o", out},
         "warning: n.raw: lines 2 and 4 had a coordinate record without",
         "warning: n.raw：第 2、4 行的坐标记录缺少部分字段", "warning: n.raw：第 2、4 行的坐標記錄缺少部分欄位"},
        {{"nikon-to-traverse", test::CorpusFile("nikon_raw/tops-nikon-dtm330.raw").string(), "-o",
          out + ".xlsx"},
         "observation at station \"1\" (line 19), \"4\" (line 27), \"4\" (line 30), \"5\" (line 33); "
         "the missing readings are left empty.",
         "缺少的读数留空。测站：“1”（第 19 行）、“4”（第 27 行）、“4”（第 30 行）、“5”（第 33 行）。",
         "缺少的讀數留空。測站：「1」（第 19 行）、「4」（第 27 行）、「4」（第 30 行）、「5」（第 33 行）。"},
        {{"dini-audit", levelling},
         "information: bookcode-dini03-0624CH67.dat: no findings, 8 stations, SHA-256 ",
         "information: bookcode-dini03-0624CH67.dat：未发现问题，8 个测站，SHA-256 ",
         "information: bookcode-dini03-0624CH67.dat：未發現問題，8 個測站，SHA-256 "},
    };
    for (const auto& c : cases) {
        EXPECT_NE(run(c.args, nullptr).find(c.english), std::string::npos) << c.args[0];
        EXPECT_NE(run(c.args, "gb").find(c.gb), std::string::npos) << c.args[0];
        EXPECT_NE(run(c.args, "big5").find(c.big5), std::string::npos) << c.args[0];
    }
}

// Address findings shown on loading a record file, and a failure that ends a
// conversion, in the language asked for.
TEST(WarningsLanguage, AddressFindingsAndRecordFailuresInTheChosenLanguage) {
    test::TestContext t;
    auto lines = [&](const char* sample) {
        std::vector<std::string> out;
        std::istringstream in(t.readFile(test::DataFile(std::string("samples/") + sample)));
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    };
    // Addresses 1, 2, 2, 5: line 3 repeats address 2, 3 and 4 are lost before line 4.
    const auto r5 = lines("polar-survey.r5");
    const auto repeats =
        t.writeFile("a.r5", r5[0] + "\n" + r5[1] + "\n" + r5[1] + "\n" + r5[4] + "\n");
    // Record 2's X value runs into the blank after its columns 40-50.
    auto rec = lines("polar-survey.rec");
    rec[1][50] = '9';
    std::string recBytes;
    for (const auto& line : rec) recBytes += line + "\n";
    const auto runsOn = t.writeFile("b.rec", recBytes);
    const auto out = (t.dir() / "out").string();
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string english, gb, big5;
    } cases[] = {
        {{"r5-to-m5", repeats.string(), "-o", out}, 0,
         "warning: a.r5:3: address 2 repeated at line 3 (line 2 has it too)\n"
         "warning: a.r5:4: addresses 3-4 are missing between line 3 and line 4\n",
         "warning: a.r5:3: 第 3 行的地址 2 重复（第 2 行也是这个地址）\n"
         "warning: a.r5:4: 第 3 行与第 4 行之间缺少地址 3-4\n",
         "warning: a.r5:3: 第 3 行的位址 2 重複（第 2 行也是這個位址）\n"
         "warning: a.r5:4: 第 3 行與第 4 行之間缺少位址 3-4\n"},
        {{"rec500-to-m5", runsOn.string(), "-o", out}, 3,
         "error: b.rec: Line 2: the value in columns 40-50 (\"   1000.000\") runs on past them; the line "
         "does not have the REC500 layout\n",
         "error: b.rec: 第 2 行：第 40-50 列的值（“   1000.000”）超出了这些列；该行不是 REC500 的格式\n",
         "error: b.rec: 第 2 行：第 40-50 欄的值（「   1000.000」）超出了這些欄；該行不是 REC500 的格式\n"},
    };
    for (const auto& c : cases) {
        for (const auto& [language, expected] :
             {std::pair<const char*, const std::string&>{"en", c.english}, {"gb", c.gb},
              {"big5", c.big5}}) {
            std::vector<std::string> args = c.args;
            args.insert(args.end(), {"--language", language});
            const auto run = RunTool(args);
            EXPECT_EQ(run.status, c.status) << c.args[0] << " " << language;
            EXPECT_NE(run.err.find(expected), std::string::npos)
                << c.args[0] << " " << language << "\n" << run.err;
        }
    }
}

// Every text of the shipped catalogue is there in all three languages, and
// no id ends in a digit that is no language.
TEST(WarningsLanguage, EveryCatalogueTextHasItsThreeLanguages) {
    MessageCatalogue c;
    ASSERT_TRUE(c.load(test::DataFile("messages.txt")));
    int texts = 0;
    for (int base = 0; base < 100000; base += 10) {
        int languages = 0;
        for (int digit = 0; digit <= 9; ++digit) {
            if (!c.find(base, digit)) continue;
            EXPECT_TRUE(digit >= 1 && digit <= 3) << base + digit;
            ++languages;
        }
        if (languages == 0) continue;
        ++texts;
        for (int lang = 1; lang <= 3; ++lang) EXPECT_TRUE(c.find(base, lang)) << base + lang;
    }
    EXPECT_GT(texts, 100);
}

}  // namespace
}  // namespace tarvosen
