#include <gtest/gtest.h>

#include "app/conversion.h"
#include "app/errors.h"
#include "app/file_commands.h"
#include "app/line_reader.h"
#include "app/text_check.h"
#include "i18n/message_catalogue.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

using test::TestContext;

TEST(FileCommands, SaveRightAfterStartAsksForAName) {
    TestContext t;
    t.setLines({"x"});
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(t.dir());
    t.user.saveAnswers.push_back(std::nullopt);
    const auto status = SaveFileCommand(t.ctx);
    std::filesystem::current_path(previous);
    EXPECT_EQ(status, CommandStatus::Cancelled);
    EXPECT_EQ(t.user.saveFilters.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(t.dir() / "NONAME.TXT"));
}

TEST(FileCommands, LoadAndSaveAsSetNameAndCaption) {
    TestContext t;
    auto file = t.writeFile("job.r5", "L1\r\nL2\r\n");
    t.user.openAnswers.push_back(file);
    EXPECT_EQ(LoadFileCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lineCount(), 2u);
    EXPECT_EQ(t.state.currentDocumentName, file.string());
    EXPECT_EQ(t.user.caption, file.filename().string() + " — Tarvosen Data Processor");

    // Save as writes the text unchanged whatever the type, and names the file in the caption.
    t.user.saveAnswers.push_back(t.dir() / "copy.Dxf");
    EXPECT_EQ(SaveAsCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.readFile(t.dir() / "copy.Dxf"), "L1\r\nL2\r\n");
    EXPECT_EQ(t.user.caption, "copy.Dxf — Tarvosen Data Processor");
    EXPECT_NE(t.user.saveFilters.at(0).find("科傻平面观测文件(*.in2)|*.in2"), std::string::npos);

    // Clear forgets the name: Save asks for one and the last file keeps its text.
    ClearCommand(t.ctx);
    EXPECT_EQ(t.state.currentDocumentName, ResetDocumentName(t.state));
    t.user.saveAnswers.push_back(std::nullopt);
    EXPECT_EQ(SaveFileCommand(t.ctx), CommandStatus::Cancelled);
    EXPECT_EQ(t.readFile(t.dir() / "copy.Dxf"), "L1\r\nL2\r\n");
}

TEST(FileCommands, CancelledAndFailedDialogsChangeNothing) {
    TestContext t;
    t.setLines({"keep"});
    t.user.openAnswers.push_back(std::nullopt);
    EXPECT_EQ(LoadFileCommand(t.ctx), CommandStatus::Cancelled);
    t.user.openAnswers.push_back(t.dir() / "absent.txt");
    EXPECT_THROW(LoadFileCommand(t.ctx), FileError);
    t.user.saveAnswers.push_back(t.dir() / "no" / "such" / "dir.txt");
    EXPECT_THROW(SaveAsCommand(t.ctx), FileError);
    EXPECT_EQ(t.workspace.lines(), std::vector<std::string>{"keep"});
    EXPECT_EQ(t.state.currentDocumentName, "NONAME.TXT");
    EXPECT_EQ(t.user.caption, "");
}

// Text is what the editor can decode line by line; anything else is named
// with its line and byte.
TEST(TextCheck, NulBytesAndUndecodableLinesAreNotText) {
    EXPECT_EQ(WhyNotText(""), std::nullopt);
    // UTF-8 and GB18030 lines (two- and four-byte forms), CR LF, Ctrl-Z.
    EXPECT_EQ(WhyNotText("水准\r\n\xB2\xE2\xC1\xBF\n\x81\x30\x81\x30\x1a"), std::nullopt);
    EXPECT_EQ(WhyNotText(std::string("ab\ncd\0e", 8)), "it holds a NUL byte (line 2, byte 6)");
    // A lone continuation byte and a cut two-byte form decode as neither: with
    // a control byte beside them that is binary, without one single-byte text
    // (an instrument's Latin-1 "±" in a point code).
    EXPECT_EQ(WhyNotText("ok\nx\x80\x02y\n"),
              "its line 2 (from byte 4) holds control bytes and is neither UTF-8 nor GB18030 text");
    EXPECT_EQ(WhyNotText("\x01ok\xCB"),
              "its line 1 (from byte 1) holds control bytes and is neither UTF-8 nor GB18030 text");
    EXPECT_EQ(WhyNotText("SS,76,2.000,35.042,3.0368,99.1353,11:39:03,171\xB1" "0.2\r\nok\xCB\t\n"),
              std::nullopt);
    // Overlong and surrogate UTF-8 forms are no UTF-8, though GB18030 may take them.
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_TRUE(IsValidGb18030("\xED\xA0"));
}

TEST(FileCommands, LoadAsksBeforeShowingAFileThatIsNotText) {
    TestContext t;
    t.setLines({"keep"});
    const auto png = t.writeFile("picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    t.user.openAnswers = {png, png};
    t.user.confirmAnswers = {false, true};
    EXPECT_EQ(LoadFileCommand(t.ctx), CommandStatus::Cancelled);
    ASSERT_EQ(t.user.questions.size(), 1u);
    EXPECT_NE(t.user.questions[0].find(png.string() + " is not a text file: it holds a NUL byte "
                                       "(line 3, byte 9)"),
              std::string::npos)
        << t.user.questions[0];
    EXPECT_EQ(t.workspace.lines(), std::vector<std::string>{"keep"});
    EXPECT_EQ(t.state.currentDocumentName, "NONAME.TXT");
    EXPECT_EQ(LoadFileCommand(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.state.currentDocumentName, png.string());

    // Blank lines are no data: the conversions refuse them as empty, naming the file.
    t.setLines({"", "  \t\r"});
    EXPECT_TRUE(RefuseEmptyInput(t.ctx, msg::kNoDataForConversion, kNoDataForConversion));
    EXPECT_EQ(t.user.texts(MessageKind::Error).back(),
              std::string("picture.png: ") + kNoDataForConversion);
    t.setLines({"", "x"});
    EXPECT_FALSE(RefuseEmptyInput(t.ctx, msg::kNoDataForConversion, kNoDataForConversion));
}

TEST(AppendWorkspaceLine, EndResetsTheDocumentNameAndKeepsTheLine) {
    TestContext t;
    const std::string reset = (t.dir() / "NONAME.TXT").string();
    // Only blanks may follow END; the line is kept as it came.
    for (const std::string& end : {std::string("END"), "END" + std::string(116, ' ')}) {
        t.state.currentDocumentName = "job.txt";
        for (const char* other : {"END of job", "END\t", " END", "ENDE", "EN", ""})
            AppendWorkspaceLine(t.ctx, other);
        EXPECT_EQ(t.state.currentDocumentName, "job.txt");
        AppendWorkspaceLine(t.ctx, end);
        EXPECT_EQ(t.workspace.lines().back(), end);
        EXPECT_EQ(t.state.currentDocumentName, reset);
        EXPECT_EQ(t.user.caption, "Tarvosen Data Processor");  // the unnamed text
    }
}

// A body that upper-cases every line, or stops at a line "STOP".
bool UpperCase(CommandContext& ctx, const Workspace& in) {
    LineReader reader(in);
    std::string line;
    while (reader.next(line)) {
        if (line == "STOP") {
            ctx.user.error("stopped");
            return false;
        }
        for (char& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        AppendWorkspaceLine(ctx, line);
    }
    return true;
}

TEST(ConvertInPlace, ReplacesTheWorkspace) {
    TestContext t;
    t.setLines({"a", "b"});
    EXPECT_EQ(ConvertInPlace(t.ctx, {.resetDocumentName = true}, UpperCase), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lines(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(t.state.currentDocumentName, (t.dir() / "NONAME.TXT").string());
}

TEST(ConvertInPlace, AStoppedOrFailedConversionGivesTheTextBack) {
    TestContext t;
    t.setLines({"a", "STOP", "c"});
    EXPECT_EQ(ConvertInPlace(t.ctx, {}, UpperCase), CommandStatus::Stopped);
    EXPECT_EQ(t.workspace.lines(), (std::vector<std::string>{"a", "STOP", "c"}));

    auto thrower = [](CommandContext& ctx, const Workspace&) -> bool {
        AppendWorkspaceLine(ctx, "half");
        throw ConversionError("'x' is not a valid floating point value");
    };
    EXPECT_THROW(ConvertInPlace(t.ctx, {}, thrower), ConversionError);
    EXPECT_EQ(t.workspace.lineCount(), 3u);
}

TEST(ConvertToFile, SavesTheResultUnderTheChosenName) {
    TestContext t;
    t.setLines({"x"});
    ConvertToFileSteps steps{"Text File(*.Txt)|*.TXT", "",
                             {[](CommandContext&, const Workspace& in, Workspace& out) {
                                 for (std::string_view line : in.view()) out.append(line);
                                 return true;
                             }}};
    t.user.saveAnswers.push_back(t.dir() / "out.txt");
    EXPECT_EQ(ConvertToFile(t.ctx, steps), CommandStatus::Done);
    EXPECT_EQ(t.readFile(t.dir() / "out.txt"), "x\r\n");
    EXPECT_EQ(t.user.caption, "out.txt — Tarvosen Data Processor");

    t.user.saveAnswers.push_back(std::nullopt);
    EXPECT_EQ(ConvertToFile(t.ctx, steps), CommandStatus::Cancelled);
}

}  // namespace
}  // namespace tarvosen
