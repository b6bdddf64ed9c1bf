// Failure paths of the workspace save and the two conversion skeletons: a
// folder that cannot be written, a disk that fills up in the middle of a
// file, a staged file that disappears before the next stage reads it. None
// may lose the user's text or an existing file, or leave a temporary behind.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/conversion.h"
#include "app/errors.h"
#include "app/line_reader.h"
#include "app/workspace.h"
#include "tests/support/child_process.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using test::ChildLimits;
using test::FolderListing;
using test::RunInChild;
using test::TestContext;

constexpr auto npos = std::string::npos;

std::vector<std::string> PointLines(std::size_t count) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back("P" + std::to_string(i) + ",3512385.641,498186.787,44.757,KERB");
    return lines;
}

// mkdtemp makes the test's folder private; an unprivileged child must reach it.
void OpenToOthers(const fs::path& dir) {
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
}

// Copies each line twice.
bool DoubleLines(CommandContext&, const Workspace& in, Workspace& out) {
    for (std::string_view line : in.view()) {
        out.append(line);
        out.append(line);
    }
    return true;
}

bool CopyLines(CommandContext&, const Workspace& in, Workspace& out) {
    for (std::string_view line : in.view()) out.append(line);
    return true;
}

ConvertToFileSteps TwoStages(ConversionStage first, ConversionStage second) {
    return {"Text File(*.Txt)|*.TXT", "", {std::move(first), std::move(second)}};
}

TEST(WorkspaceSave, AFolderThatCannotBeWrittenKeepsTheOldFile) {
    TestContext t;
    OpenToOthers(t.dir());
    const fs::path ro = t.dir() / "ro";
    fs::create_directory(ro);
    t.writeFile("ro/old.txt", "old\r\n");
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec);
    t.setLines({"new"});
    // As an ordinary user, so the folder's permissions hold under root too.
    const auto outcome = RunInChild({.fileSizeLimit = std::nullopt, .unprivileged = true},
                                    [&] { t.workspace.save(ro / "old.txt"); });
    fs::permissions(ro, fs::perms::owner_all);
    if (outcome.crashed && outcome.message.starts_with("cannot drop privileges"))
        GTEST_SKIP() << "running as root without the right to become another user: "
                     << outcome.message;
    ASSERT_FALSE(outcome.crashed) << outcome.message;
    ASSERT_TRUE(outcome.threw);
    EXPECT_NE(outcome.message.find("\"" + (ro / "old.txt").string() + "\""), npos)
        << outcome.message;
    EXPECT_NE(outcome.message.find("Permission denied"), npos) << outcome.message;
    EXPECT_EQ(t.readFile(ro / "old.txt"), "old\r\n");
    EXPECT_EQ(FolderListing(ro.string()), "old.txt");

    // A folder in the path that is a plain file.
    t.writeFile("plain", "x");
    try {
        t.workspace.save(t.dir() / "plain" / "out.txt");
        ADD_FAILURE() << "saved under a plain file";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find((t.dir() / "plain" / "out.txt").string()), npos);
        EXPECT_NE(std::string(e.what()).find("Not a directory"), npos) << e.what();
    }
    EXPECT_EQ(t.readFile(t.dir() / "plain"), "x");
}

TEST(WorkspaceSave, ADiskThatFillsUpMidFileKeepsTheOldFileAndLeavesNoTemporary) {
    TestContext t;
    t.writeFile("out.txt", "old\r\n");
    t.setLines(PointLines(20000));  // about 900 KB
    const auto outcome =
        RunInChild({.fileSizeLimit = 64 * 1024}, [&] { t.workspace.save(t.dir() / "out.txt"); });
    ASSERT_FALSE(outcome.crashed) << outcome.message;
    ASSERT_TRUE(outcome.threw);
    EXPECT_NE(outcome.message.find((t.dir() / "out.txt").string()), npos) << outcome.message;
    EXPECT_NE(outcome.message.find("File too large"), npos) << outcome.message;
    EXPECT_EQ(t.readFile(t.dir() / "out.txt"), "old\r\n");
    EXPECT_EQ(FolderListing(t.dir().string()), "out.txt");
}

TEST(WorkspaceSave, ReplacingAFileKeepsItsPermissions) {
    TestContext t;
    const fs::path target = t.writeFile("private.txt", "old\r\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    t.setLines({"new"});
    t.workspace.save(target);
    EXPECT_EQ(t.readFile(target), "new\r\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// The result of a conversion used to take the workspace's place before it
// was saved: a failed save then left the user with neither the text they
// had nor a saved result.
TEST(ConvertToFile, AResultThatCannotBeSavedLeavesTheWorkspaceAsItWas) {
    TestContext t;
    t.setLines({"a", "b"});
    t.writeFile("plain", "x");
    t.user.saveAnswers.push_back(t.dir() / "plain" / "out.txt");
    EXPECT_THROW(ConvertToFile(t.ctx, TwoStages(CopyLines, DoubleLines)), FileError);
    EXPECT_EQ(t.workspace.lines(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(t.user.caption, "");

    // The same when the disk fills up while the result is written.
    t.setLines(PointLines(8000));
    std::size_t text = 0;
    for (const auto& l : t.workspace.lines()) text += l.size();
    const std::size_t result = 2 * (text + 2 * 8000);
    t.writeFile("out.txt", "old\r\n");
    const auto outcome = RunInChild({.fileSizeLimit = result / 2}, [&] {
        t.user.saveAnswers.push_back(t.dir() / "out.txt");
        const auto before = t.workspace.lines();
        try {
            ConvertToFile(t.ctx, TwoStages(CopyLines, DoubleLines));
        } catch (const FileError& e) {
            if (t.workspace.lines() != before) throw std::runtime_error("text lost");
            throw;
        }
    });
    ASSERT_TRUE(outcome.threw) << outcome.message;
    EXPECT_NE(outcome.message.find("\"" + (t.dir() / "out.txt").string() + "\": File too large"),
              npos)
        << outcome.message;
    EXPECT_EQ(t.readFile(t.dir() / "out.txt"), "old\r\n");
    EXPECT_EQ(FolderListing(t.dir().string()).find(".part"), npos);
}

}  // namespace
}  // namespace tarvosen
