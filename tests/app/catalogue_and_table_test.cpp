#include <gtest/gtest.h>

#include <set>

#include "app/command.h"
#include "i18n/line_ranges.h"
#include "i18n/message_catalogue.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

TEST(MessageCatalogue, FallsBackSoftlyWhenAbsentOrIncomplete) {
    MessageCatalogue absent;
    EXPECT_FALSE(absent.load("/no/such/messages.txt"));
    EXPECT_EQ(absent.lookup(11000, 3, "Do you really want to exit the program?"),
              "Do you really want to exit the program?");

    MessageCatalogue c;
    c.loadFromText("# comment\n11001\tQuit?\r\n11002\t退出吗？\nbroken line\n12x1\tno\n3401\ta\\nb\n");
    EXPECT_EQ(c.lookup(11000, 1, "x"), "Quit?");
    EXPECT_EQ(c.lookup(11000, 2, "x"), "退出吗？");
    EXPECT_EQ(c.lookup(11000, 3, "x"), "x");
    EXPECT_EQ(c.lookup(3400, 1, ""), "a\nb");
}

TEST(MessageCatalogue, ShippedCatalogueHasEveryTextInThreeLanguages) {
    MessageCatalogue c;
    ASSERT_TRUE(c.load(test::DataFile("messages.txt")));
    for (int base : {2000, 2100, 2200, 2300, 2400, 2500, 2600, 2700, 3000, 3100, 3200, 3300, 3400,
                     11000, 12000, 13000, 14000})
        for (int lang = 1; lang <= 3; ++lang) {
            EXPECT_TRUE(c.find(base, lang).has_value()) << base + lang;
        }
    for (int base = msg::kUploadLineTooLong; base <= msg::kReplaySummary; base += 50)
        for (int lang = 1; lang <= 3; ++lang) {
            EXPECT_TRUE(c.find(base, lang).has_value()) << base + lang;
        }
}

// Lines named in a message: sorted, runs as ranges, each line once, in the
// chosen language, and a long list cut after its first items.
TEST(MessageCatalogue, LineListsAreSortedRanges) {
    MessageCatalogue c;
    ASSERT_TRUE(c.load(test::DataFile("messages.txt")));
    const std::vector<std::size_t> lines{67, 11, 4, 5, 6, 7, 8, 9, 10, 5, 69};
    EXPECT_EQ(LineRangesText(lines, {}), "4-11, 67 and 69");
    EXPECT_EQ(LineRangesText(lines, {&c, 2}), "4至11、67、69");
    EXPECT_EQ(LineRangesText(lines, {&c, 3}), "4至11、67、69");
    EXPECT_EQ(LineRangesText({3}, {}), "3");
    // Every other line from 1 to 49: the first 20 named, 5 more counted.
    std::vector<std::size_t> scattered;
    for (int n = 49; n > 0; n -= 2) scattered.push_back(static_cast<std::size_t>(n));
    EXPECT_EQ(LineRangesText(scattered, {}),
              "1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31, 33, 35, 37, 39 and 5 more");
}

TEST(CommandTable, MenusAreConsistentAndCliNamesUnique) {
    std::set<std::string_view> menus[3], cliNames, keys;
    for (const auto& row : CommandTable()) {
        const MenuPlace* places[] = {&row.english, &row.gb, &row.big5};
        for (int i = 0; i < 3; ++i) {
            if (places[i]->text.empty()) continue;
            // Every item's menu exists in that bar and comes before it.
            if (!places[i]->parent.empty()) {
                EXPECT_TRUE(menus[i].count(places[i]->parent)) << row.key << " in bar " << i;
            }
            if (row.kind == RowKind::Menu) menus[i].insert(row.key);
        }
        if (!row.cliName.empty()) {
            EXPECT_TRUE(cliNames.insert(row.cliName).second) << row.cliName;
            EXPECT_NE(row.handler, nullptr) << row.cliName;
        }
        if (row.kind == RowKind::Item) {
            EXPECT_TRUE(keys.insert(row.key).second) << row.key;
        }
    }
    for (const auto& button : ToolbarLayout()) {
        if (!button.key.empty()) {
            EXPECT_NE(FindCommandByKey(button.key), nullptr) << button.key;
        }
    }
    EXPECT_EQ(FindCommandByCliName("r5-to-m5")->key, "convert.r5.m5");
}

// What a user can do must not depend on the language chosen: every menu and
// command of one bar is in the other two, under the same menu, and its
// captions read right in their own script.
TEST(CommandTable, EveryCommandIsInAllThreeBarsWithCleanCaptions) {
    const std::u8string simplified = u8"数据计机准仪转换传载设录检导线测调级误网与关帮处储";
    auto count = [](std::string_view text, std::string_view what) {
        std::size_t n = 0;
        for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    std::vector<std::string_view> big5Texts;
    for (const auto& row : CommandTable()) {
        if (row.kind == RowKind::Separator) continue;
        const MenuPlace* places[] = {&row.english, &row.gb, &row.big5};
        const bool anywhere = !row.english.text.empty() || !row.gb.text.empty() || !row.big5.text.empty();
        if (!anywhere) continue;  // a command of the command line only
        for (const MenuPlace* place : places) {
            EXPECT_FALSE(place->text.empty()) << row.key;
            EXPECT_EQ(place->parent, row.gb.parent) << row.key;
            EXPECT_EQ(count(place->text, "(") + count(place->text, "（"),
                      count(place->text, ")") + count(place->text, "）"))
                << place->text;
            EXPECT_EQ(place->text.find("﹜"), std::string_view::npos) << place->text;
            // Spaced evenly: one blank between words and round "->", none at the ends.
            const std::string_view t = place->text;
            EXPECT_EQ(t.find("  "), std::string_view::npos) << t;
            EXPECT_EQ(t.find("...."), std::string_view::npos) << t;
            EXPECT_TRUE(!t.empty() && t.front() != ' ' && t.back() != ' ') << t;
            for (auto at = t.find("->"); at != std::string_view::npos; at = t.find("->", at + 1))
                EXPECT_TRUE(at > 0 && t[at - 1] == ' ' && at + 2 < t.size() && t[at + 2] == ' ') << t;
        }
        big5Texts.push_back(row.big5.text);
    }
    for (const auto& button : ToolbarLayout()) big5Texts.push_back(button.big5);
    // Words of the mainland a Taiwan or Hong Kong reader knows as 資料, 電腦, 檔案, ...
    const char* const mainland[] = {"數據", "計算機", "文件", "窗口", "打印", "裝入"};
    for (std::string_view big5 : big5Texts) {
        for (std::size_t i = 0; i < simplified.size(); i += 3) {
            const std::string character(reinterpret_cast<const char*>(simplified.data()) + i, 3);
            EXPECT_EQ(big5.find(character), std::string_view::npos) << big5 << " holds " << character;
        }
        for (std::string_view word : mainland)
            EXPECT_EQ(big5.find(word), std::string_view::npos) << big5 << " holds " << word;
    }
}

}  // namespace
}  // namespace tarvosen
