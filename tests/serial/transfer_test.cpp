// Receiving lines, the upload protocols and the serial commands, with the
// port on a pseudo-terminal the test drives.

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "app/errors.h"
#include "cli/cli_runner.h"
#include "serial/instrument_link.h"
#include "serial/serial_commands.h"
#include "serial/serial_link.h"
#include "serial/transfer.h"
#include "tests/serial/line_simulator.h"
#include "tests/support/test_context.h"
#include "serial/serial_options.h"

namespace tarvosen {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using test::Pty;
using test::TestContext;

TEST(Receive, BytesBecomeLinesAtEachLineEnd) {
    TestContext t;
    // A record split over two events, its CR LF too.
    EXPECT_EQ(ReceiveBytes(t.ctx, "P1,1.0"), 0u);
    EXPECT_EQ(SerialLinkOf(t.ctx).pendingLine, "P1,1.0");
    EXPECT_EQ(ReceiveBytes(t.ctx, ",2.0,3.0\r"), 1u);
    EXPECT_EQ(ReceiveBytes(t.ctx, "\nP2\n"), 1u);
    // LF, CR, LF CR and CR LF each end one record; NUL and Ctrl-Z vanish; an
    // empty record stays an empty line; GB bytes pass unchanged.
    ReceiveBytes(t.ctx,
                 "P3\rP4\n\rP\0"
                 "5\x1a\r\n\r\xb5\xe3\xba\xc5\r\n\nP6\nstays pending"s);
    EXPECT_EQ(t.workspace.lines(), (std::vector<std::string>{"P1,1.0,2.0,3.0", "P2", "P3", "P4",
                                                             "P5", "", "\xb5\xe3\xba\xc5", "",
                                                             "P6"}));
    EXPECT_EQ(SerialLinkOf(t.ctx).pendingLine, "stays pending");
    EXPECT_TRUE(t.user.messages.empty());
}

// A real Elta R55 download, sent with CR LF: its closing END is padded with
// blanks to the record width.
std::vector<std::string> EltaR55Download() {
    TestContext t;
    t.workspace.load(test::CorpusFile("m5/tops-elta-r55-R_E.m5"));
    auto lines = t.workspace.lines();
    while (lines.back().rfind("END", 0) != 0) lines.pop_back();
    return lines;
}

std::string OnTheWire(const std::vector<std::string>& lines) {
    std::string wire;
    for (const auto& l : lines) wire += l + "\r\n";
    return wire;
}

TEST(Receive, APaddedEndResetsTheDocumentNameButEndWithTextDoesNot) {
    TestContext t;
    auto lines = EltaR55Download();
    ASSERT_EQ(lines.back().size(), 119u);
    lines.insert(lines.end() - 1, "END OF JOB 17");
    t.state.currentDocumentName = "/data/job.txt";
    ReceiveBytes(t.ctx, OnTheWire({lines.begin(), lines.end() - 1}));
    EXPECT_EQ(t.state.currentDocumentName, "/data/job.txt");
    ReceiveBytes(t.ctx, OnTheWire({lines.back()}));
    EXPECT_EQ(t.state.currentDocumentName, ResetDocumentName(t.state));
    EXPECT_EQ(t.user.caption, "Tarvosen Data Processor");  // the unnamed text
    EXPECT_EQ(t.workspace.lines(), lines);
}

TEST(Upload, ChecksumOfTheExamplesAndOfGbNames) {
    EXPECT_EQ(UploadChecksum("A,01,"), 'Z');
    EXPECT_EQ(UploadChecksum("Z,"), '&');
    EXPECT_EQ(UploadChecksum("G,1,100.000,200.000,10.000,"), '2');
    EXPECT_EQ(NikonPointFrame("1,100.000,200.000,10.000"), "G,1,100.000,200.000,10.000,2,\r\n");
    EXPECT_EQ(NikonHeaderFrame(), "A,01,Z,\r\n");
    EXPECT_EQ(NikonTrailerFrame(), "Z,&,\r\n");
    // Bytes above 127 count as negative: 点 is B5 E3 (-75, -29). "G," is 71 + 44.
    // Sum 115 - 104 + 44 = 55 -> '7'.
    EXPECT_EQ(UploadChecksum("G,\xb5\xe3,"), static_cast<char>(55 + 32));
    // A negative sum keeps its sign: -75 - 29 - 75 - 29 = -208, -208 % 64 = -16 -> 16.
    EXPECT_EQ(UploadChecksum("\xb5\xe3\xb5\xe3"), static_cast<char>(16));
}

// Events as the window has them: run by an event loop (here the test's
// serve calls) rather than only while a command waits.
struct WindowEvents : TaskQueue {
    bool servedByCaller() const override { return false; }
};

// A context whose port is on a pseudo-terminal.
struct PortContext {
    PortContext() {
        ApplyWindowPortSettings(comm);
        SerialLinkOf(t.ctx).port = &comm;
        t.options.get<PortSettings>().port = pty.slavePath();
    }
    TestContext t;
    Pty pty;
    WindowEvents events;
    SerialPort comm{events};
    InstrumentLink link{comm, t.ctx, nullptr};
};

TEST(Upload, PlainLinesGoOutWithCrLfAndTheProgressBar) {
    PortContext p;
    ASSERT_EQ(OpenPortWithParameters(p.t.ctx), CommandStatus::Done);
    p.t.setLines({"1,100.000,200.000,10.000",
                  "\xb5\xe3"
                  "2,1,2,3",
                  ""});
    EXPECT_EQ(UploadCommand(p.t.ctx), CommandStatus::Done);
    const std::string expected =
        "1,100.000,200.000,10.000\r\n\xb5\xe3"
        "2,1,2,3\r\n\r\n";
    EXPECT_EQ(p.pty.receive(2s, expected.size()), expected);
    EXPECT_EQ(p.t.user.progressMaximum, 3);
    EXPECT_FALSE(p.t.user.progressActive);
    EXPECT_EQ(p.t.user.messages.back().text, "Upload finish! 3 data lines have been transfered");
}

TEST(Upload, NikonFramesForInstrumentKindZero) {
    PortContext p;
    ASSERT_EQ(OpenPortWithParameters(p.t.ctx), CommandStatus::Done);
    p.t.state.instrumentKind = 0;
    p.t.setLines({"1,100.000,200.000,10.000", "2,1,2,3,TREE"});
    EXPECT_EQ(UploadCommand(p.t.ctx), CommandStatus::Done);
    const std::string expected = "A,01,Z,\r\nG,1,100.000,200.000,10.000,2,\r\n" +
                                 NikonPointFrame("2,1,2,3,TREE") + "Z,&,\r\n";
    EXPECT_EQ(p.pty.receive(2s, expected.size()), expected);
    EXPECT_EQ(p.t.user.messages.back().text, "2 points have been sent to the total station");
}

TEST(Upload, EmptyWorkspaceSendsNothingAndAsksNothing) {
    PortContext p;
    ASSERT_EQ(OpenPortWithParameters(p.t.ctx), CommandStatus::Done);
    p.t.state.instrumentKind = 0;
    EXPECT_EQ(UploadCommand(p.t.ctx), CommandStatus::Stopped);
    EXPECT_EQ(p.pty.receive(300ms, 100), "");
    // Only the explanation: the user is not asked to prepare the instrument.
    ASSERT_EQ(p.t.user.messages.size(), 1u);
    EXPECT_NE(p.t.user.messages.back().text.find("\"point,X,Y,Z,code\""), std::string::npos);

    p.t.state.instrumentKind = 3;
    p.t.catalogue.loadFromText("13001\tNothing to send\n");
    p.t.state.languageIndex = 1;
    EXPECT_EQ(UploadCommand(p.t.ctx), CommandStatus::Stopped);
    EXPECT_EQ(p.pty.receive(300ms, 1), "");
    EXPECT_EQ(p.t.user.messages.size(), 2u);
    EXPECT_EQ(p.t.user.messages.back().text, "Nothing to send");
}

TEST(Upload, AClosedPortIsAFailureThatSaysHowFarItGot) {
    PortContext p;  // never opened
    p.t.setLines({"1,1,1,1", "2,2,2,2"});
    try {
        UploadCommand(p.t.ctx);
        FAIL() << "no error";
    } catch (const DeviceError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Upload failed: 0 of 2 data lines were sent before the failure (the port is not "
                  "open)");
    }
    EXPECT_FALSE(p.t.user.progressActive);
    for (const auto& m : p.t.user.messages)
        EXPECT_EQ(m.text.find("Upload finish!"), std::string::npos);

    p.t.state.instrumentKind = 0;
    EXPECT_THROW(UploadCommand(p.t.ctx), DeviceError);
}

TEST(Upload, LinesLongerThanAFrameAreRefusedBeforeAnythingIsSent) {
    PortContext p;
    ASSERT_EQ(OpenPortWithParameters(p.t.ctx), CommandStatus::Done);
    p.t.setLines({"1,1,1,1", std::string(298, '9')});
    EXPECT_EQ(UploadCommand(p.t.ctx), CommandStatus::Stopped);
    EXPECT_NE(p.t.user.texts(MessageKind::Error).at(0).find("Line 2 has 298 characters"),
              std::string::npos);
    p.t.setLines({std::string(297, '9')});
    EXPECT_EQ(UploadCommand(p.t.ctx), CommandStatus::Done);

    p.t.state.instrumentKind = 0;
    p.t.setLines({std::string(193, '9')});
    EXPECT_EQ(UploadCommand(p.t.ctx), CommandStatus::Stopped);
    const std::string sent = p.pty.receive(300ms, 297 + 2 + 1);
    EXPECT_EQ(sent, std::string(297, '9') + "\r\n");  // the Nikon upload sent not even its header
}

TEST(ParameterDialog, OkReopensThePortWithTheChosenSettingsAndCancelAppliesNothing) {
    PortContext p;
    p.t.user.dialogAnswer = false;
    EXPECT_EQ(CommunicationParameterCommand(p.t.ctx), CommandStatus::Cancelled);
    EXPECT_FALSE(p.comm.Enabled());

    p.t.user.dialogAnswer = true;
    p.t.options.get<PortSettings>().baudRate = 12;  // 128000
    p.t.options.get<PortSettings>().parity = 1;
    p.t.options.get<PortSettings>().flowControl = 3;
    EXPECT_EQ(CommunicationParameterCommand(p.t.ctx), CommandStatus::Done);
    EXPECT_TRUE(p.comm.Enabled());
    EXPECT_EQ(p.comm.DeviceName(), p.pty.slavePath());
    EXPECT_EQ(p.comm.BaudRate(), br128000);
    EXPECT_EQ(p.comm.Parity(), paOdd);
    EXPECT_EQ(p.comm.FlowControl(), fcXonXoff);
    EXPECT_EQ(p.comm.StopBits(), sb10);
    EXPECT_EQ(p.comm.DataBits(), da8);

    // OK again with the port open: closed and opened afresh, still receiving.
    EXPECT_EQ(CommunicationParameterCommand(p.t.ctx), CommandStatus::Done);
    p.pty.send("after reopen\r");
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (p.t.workspace.empty() && std::chrono::steady_clock::now() < end) p.events.serve(10ms);
    EXPECT_EQ(p.t.workspace.lines(), std::vector<std::string>{"after reopen"});
}

TEST(Receive, ARecordLongerThanTheReceiveBufferArrivesWhole) {
    PortContext p;
    p.comm.SetReadBufSize(60000);
    ASSERT_EQ(OpenPortWithParameters(p.t.ctx), CommandStatus::Done);
    const std::string record(30000, '7');
    std::thread instrument([&] { p.pty.send(record + "\r"); });
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (p.t.workspace.empty() && std::chrono::steady_clock::now() < end) p.events.serve(10ms);
    instrument.join();
    ASSERT_EQ(p.t.workspace.lineCount(), 1u);
    EXPECT_EQ(p.t.workspace.line(0), record);
}

TEST(ParameterDialog, AnAbsentDeviceIsReportedByTheRtsStep) {
    PortContext p;
    p.t.options.get<PortSettings>().port = "/dev/tarvosen-absent";
    try {
        OpenPortWithParameters(p.t.ctx);
        FAIL() << "no error";
    } catch (const DeviceError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Port not open (Error: -1): the port could not be opened: "
                  "/dev/tarvosen-absent: No such file or directory");
    }
    EXPECT_FALSE(p.comm.Enabled());
}

// The real Elta R55 download with a cut record after its padded END in the
// same burst, and a further record after it: the output ends at END, the
// bytes after it are counted in a warning, and the transfer log keeps them.
TEST(Download, CommandLineOutputEndsAtTheEndLine) {
    TestContext t;
    Pty pty;
    const auto lines = EltaR55Download();
    const std::string after = "For M5|Adr   999|KD1";  // 20 bytes
    std::thread instrument([&] {
        std::this_thread::sleep_for(300ms);
        pty.send(OnTheWire(lines) + after);
        std::this_thread::sleep_for(100ms);
        pty.send("\r\nFor M5|Adr  1000|KD1\r\n");
    });
    const auto out = t.dir() / "job.m5", log = t.dir() / "job.log";
    std::ostringstream cout, cerr;
    const int status = RunCli({"download", "--port", pty.slavePath(), "--idle-timeout", "2",
                               "--transfer-log", log.string(), "-o", out.string()},
                              cout, cerr);
    instrument.join();
    EXPECT_EQ(status, kExitDone) << cerr.str();
    EXPECT_EQ(t.readFile(out), OnTheWire(lines));
    EXPECT_NE(cerr.str().find("warning: 20 bytes received after the END line (line " +
                              std::to_string(lines.size()) + ") were left out"),
              std::string::npos)
        << cerr.str();
    EXPECT_NE(cerr.str().find(std::to_string(lines.size()) + " lines received, ending with END"),
              std::string::npos)
        << cerr.str();
    const std::string kept = t.readFile(log);
    EXPECT_NE(kept.find("For M5|Adr   999|KD1"), std::string::npos);
    EXPECT_NE(kept.find("\nend "), std::string::npos);
    EXPECT_NE(kept.find(" END\n"), std::string::npos) << kept;
}

TEST(Download, CommandLineReceivesUntilEnd) {
    // "END" alone, and the Elta R55's END padded with blanks.
    for (const auto& lines : {std::vector<std::string>{"1,2,3", "END"}, EltaR55Download()}) {
        PortContext p;
        p.t.options.get<TransferOptions>().port = p.pty.slavePath();
        p.t.options.get<TransferOptions>().idleTimeoutSeconds = 10;
        std::thread instrument([&] {
            std::this_thread::sleep_for(300ms);
            p.pty.send(OnTheWire(lines));
        });
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(DownloadCommand(p.t.ctx), CommandStatus::Done);
        instrument.join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
        EXPECT_EQ(p.t.workspace.lines(), lines);
        EXPECT_FALSE(p.comm.Enabled());
    }
}

TEST(Download, CommandLineIdleTimeOutKeepsAnUnendedTailAndNothingAtAllIsAnError) {
    PortContext p;
    p.t.options.get<TransferOptions>().port = p.pty.slavePath();
    p.t.options.get<TransferOptions>().idleTimeoutSeconds = 0.5;
    EXPECT_EQ(DownloadCommand(p.t.ctx), CommandStatus::Stopped);
    EXPECT_NE(p.t.user.texts(MessageKind::Error).at(0).find("No data arrived"), std::string::npos);

    std::thread instrument([&] {
        std::this_thread::sleep_for(200ms);
        p.pty.send("1,2,3\r\n4,5");
    });
    EXPECT_EQ(DownloadCommand(p.t.ctx), CommandStatus::Done);
    instrument.join();
    EXPECT_EQ(p.t.workspace.lines(), (std::vector<std::string>{"1,2,3", "4,5"}));
    EXPECT_EQ(p.t.user.texts(MessageKind::Warning).size(), 1u);
    EXPECT_TRUE(SerialLinkOf(p.t.ctx).pendingLine.empty());
}

// An instrument that goes away in the middle of a download: the lines that
// came are kept, the user is told which device failed, and the download
// ends at once instead of waiting out the idle time as if all had come.
TEST(Download, ADeviceUnpluggedMidwayIsReportedAndTheLinesReceivedAreKept) {
    PortContext p;
    p.t.options.get<TransferOptions>().port = p.pty.slavePath();
    p.t.options.get<TransferOptions>().idleTimeoutSeconds = 30;
    std::thread instrument([&] {
        std::this_thread::sleep_for(300ms);
        p.pty.send("1,2,3\r\n4,5,6\r\n7,8");
        std::this_thread::sleep_for(300ms);
        p.pty.hangUp();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DownloadCommand(p.t.ctx), CommandStatus::Interrupted);
    instrument.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(p.t.workspace.lines(), (std::vector<std::string>{"1,2,3", "4,5,6", "7,8"}));
    const auto errors = p.t.user.texts(MessageKind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("The serial device " + p.pty.slavePath() +
                                  " went away (the device hung up",
                              0),
              0u)
        << errors[0];
    EXPECT_NE(errors[0].find("the last 3 bytes had no line end"), std::string::npos) << errors[0];
    EXPECT_FALSE(p.comm.Enabled());
    EXPECT_TRUE(SerialLinkOf(p.t.ctx).pendingLine.empty());
}

// The command line writes what came and says the download failed.
TEST(Download, CommandLineKeepsTheLinesOfAnInterruptedDownload) {
    TestContext t;
    Pty pty;
    std::thread instrument([&] {
        std::this_thread::sleep_for(300ms);
        pty.send("P1,1,2,3\r\nP2,4,5,6\r\n");
        std::this_thread::sleep_for(300ms);
        pty.hangUp();
    });
    std::ostringstream out, err;
    const int status = RunCli({"download", "--port", pty.slavePath(), "--idle-timeout", "30", "-o",
                               (t.dir() / "job.txt").string()},
                              out, err);
    instrument.join();
    EXPECT_EQ(status, kExitFailure) << err.str();
    EXPECT_EQ(t.readFile(t.dir() / "job.txt"), "P1,1,2,3\r\nP2,4,5,6\r\n");
    EXPECT_NE(err.str().find("error: The serial device " + pty.slavePath() + " went away"),
              std::string::npos)
        << err.str();
}

// The link's messages come in the language the command line is given, and
// English stays as it was.
TEST(SerialMessages, ComeInTheChosenLanguage) {
    TestContext t;
    const auto run = [](std::vector<std::string> args) {
        std::ostringstream out, err;
        RunCli(args, out, err);
        return err.str();
    };
    const std::string out = (t.dir() / "out.txt").string();
    const auto log = t.writeFile("field.log",
                                 "port /dev/ttyUSB0\nstart 2025-03-01T08:00:00Z\nburst 0 t P1\\r\n"
                                 "burst 40 t P2\\r\nburst 90 t P3\\r\nend 120 END\n");
    EXPECT_NE(run({"replay", log.string(), "-o", out})
                  .find("3 bursts replayed from field.log (/dev/ttyUSB0, 2025-03-01T08:00:00Z; "
                        "the download ended: END)"),
              std::string::npos);
    const std::string gb = run({"--language", "gb", "replay", log.string(), "-o", out});
    EXPECT_NE(gb.find("已从 field.log 重放 3 段接收数据（/dev/ttyUSB0，"), std::string::npos) << gb;

    Pty pty;
    const auto points = t.writeFile("points.txt", "1,100.000,200.000,10.000\r\n2,1,2,3\r\n");
    const std::vector<std::string> upload = {"upload", "--port", pty.slavePath(), "--instrument",
                                             "nikon300", points.string()};
    EXPECT_NE(run(upload).find("2 points have been sent to the total station"), std::string::npos);
    auto big5 = upload;
    big5.push_back("--language=big5");
    EXPECT_NE(run(big5).find("已完成傳送2點到全站儀"), std::string::npos);

    const std::vector<std::string> download = {"download", "--port", pty.slavePath(),
                                               "--idle-timeout", "0.2", "-o", out};
    EXPECT_NE(run(download).find("No data arrived from " + pty.slavePath() + " within 0.2 s"),
              std::string::npos);
    auto gbDownload = download;
    gbDownload.insert(gbDownload.begin(), {"--language", "gb"});
    EXPECT_NE(run(gbDownload).find("0.2 秒内没有从 " + pty.slavePath() + " 收到任何数据"),
              std::string::npos);
}

}  // namespace
}  // namespace tarvosen
