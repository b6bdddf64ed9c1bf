#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/errors.h"
#include "app/workspace.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

using test::TestContext;

TEST(SplitLines, AcceptsEveryLineEndAndNoPhantomLastLine) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
    // A NUL and 8-bit bytes are kept as they are.
    std::string odd("x\0y\xb2\xe2", 5);
    EXPECT_EQ(SplitLines(odd + "\n").at(0), odd);
}

TEST(Workspace, LoadAndSaveKeepEveryByteOfCrLfText) {
    TestContext t;
    // ASCII, GB18030 ("测量" as B2 E2 C1 BF) and UTF-8 lines.
    const std::string text = "For R5|Adr 00001|TR OR.COOR\r\n\xb2\xe2\xc1\xbf,1.0\r\n测量 UTF-8\r\n";
    auto in = t.writeFile("in.txt", text);
    t.workspace.load(in);
    ASSERT_EQ(t.workspace.lineCount(), 3u);
    t.workspace.save(t.dir() / "out.txt");
    EXPECT_EQ(t.readFile(t.dir() / "out.txt"), text);
}

TEST(Workspace, LoadedMixedLineEndsGiveTheSameLinesAsSplitLinesAndAppendsFollowThem) {
    TestContext t;
    const std::string text = std::string("a\r\n\nb\rc\r\n\r\r\n") + std::string("x\0y", 3) + "\n\nlast";
    t.workspace.load(t.writeFile("mixed.txt", text));
    EXPECT_EQ(t.workspace.lines(), SplitLines(text));
    t.workspace.append("more");
    t.workspace.append("");
    auto expected = SplitLines(text);
    expected.insert(expected.end(), {"more", ""});
    EXPECT_EQ(t.workspace.lines(), expected);
    const auto view = t.workspace.view();
    EXPECT_EQ(std::vector<std::string>(view.begin(), view.end()), expected);
    EXPECT_EQ(t.workspace.line(6), std::string_view("x\0y", 3));
    EXPECT_THROW(t.workspace.line(expected.size()), std::out_of_range);
}

TEST(Workspace, SaveWritesCrLfAfterEveryLine) {
    TestContext t;
    t.setLines({"a", "", "END"});
    t.workspace.save(t.dir() / "x.txt");
    EXPECT_EQ(t.readFile(t.dir() / "x.txt"), "a\r\n\r\nEND\r\n");

    // Lines around and beyond the size of the save's write block.
    const std::string big(3 << 20, 'b'), block((1 << 20) - 2, 'k');
    t.setLines({"a", block, big, "", block, "z"});
    t.workspace.save(t.dir() / "big.txt");
    EXPECT_EQ(t.readFile(t.dir() / "big.txt"),
              "a\r\n" + block + "\r\n" + big + "\r\n\r\n" + block + "\r\nz\r\n");
}

TEST(Workspace, FailedLoadAndSaveKeepWhatWasThere) {
    TestContext t;
    t.setLines({"keep"});
    EXPECT_THROW(t.workspace.load(t.dir() / "missing.txt"), FileError);
    EXPECT_THROW(t.workspace.load(t.dir()), FileError);
    EXPECT_EQ(t.workspace.lines(), std::vector<std::string>{"keep"});

    // An existing file in a folder we may not write to stays as it was.
    auto ro = t.dir() / "ro";
    std::filesystem::create_directory(ro);
    t.writeFile("ro/old.txt", "old\r\n");
    chmod(ro.c_str(), 0555);
    if (access(ro.c_str(), W_OK) != 0) {  // root may write anyway
        EXPECT_THROW(t.workspace.save(ro / "old.txt"), FileError);
        EXPECT_EQ(t.readFile(ro / "old.txt"), "old\r\n");
    }
    chmod(ro.c_str(), 0755);
    EXPECT_THROW(t.workspace.save(t.dir() / "no-such-folder" / "x.txt"), FileError);
    EXPECT_FALSE(std::filesystem::exists(t.dir() / "no-such-folder"));
}

TEST(Workspace, SaveLeavesNoTemporaryFileBehind) {
    TestContext t;
    t.setLines({"a"});
    t.workspace.save(t.dir() / "a.txt");
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(t.dir())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace tarvosen
