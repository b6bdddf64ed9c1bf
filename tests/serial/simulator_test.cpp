// The command-line download and upload against the pyserial instrument
// simulator on the far end of a socat pseudo-terminal pair.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_runner.h"
#include "tests/support/cli_run.h"
#include "serial/transfer.h"
#include "tests/serial/line_simulator.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Child;
using test::Simulator;
using test::SocatPair;

using test::CliRun;
using test::RunTool;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class Simulated : public ::testing::Test {
  protected:
    void SetUp() override {
        if (auto why = test::SimulatorMissing(); !why.empty()) GTEST_SKIP() << why;
        std::string pattern = (fs::temp_directory_path() / "tarvosen-sim-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        dir_ = pattern;
        pair_.emplace(dir_);
    }
    void TearDown() override {
        pair_.reset();
        std::error_code ignored;
        if (!dir_.empty()) fs::remove_all(dir_, ignored);
    }
    // Starts the simulator and waits until it has the port open.
    Child startInstrument(std::vector<std::string> args) {
        const fs::path ready = dir_ / "ready";
        fs::remove(ready);
        std::vector<std::string> all{"--ready", ready.string()};
        all.insert(all.end(), args.begin(), args.end());
        Child c(Simulator(pair_->instrument(), all));
        const auto end = std::chrono::steady_clock::now() + 20s;
        while (!fs::exists(ready) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(10ms);
        return c;
    }

    fs::path dir_;
    std::optional<SocatPair> pair_;
};

// A download of real instrument files as an instrument sends them: records
// ended by CR LF or LF CR, stray NUL and Ctrl-Z bytes, GB-coded names, bursts
// of odd sizes that split records anywhere, and END at the close.
TEST_F(Simulated, DownloadOfARealSizedFileArrivesLineForLine) {
    std::vector<std::string> lines;
    for (const char* f : {"m5/tops-elta-r55-R_E.m5", "nikon_raw/taheoport-nivo3m-161226-1.raw",
                          "pointlist/bezitopo-topo0-pnezd.asc", "r5/tops-elta-r55.r5"}) {
        std::istringstream in(Slurp(test::CorpusFile(f)));
        for (std::string line; std::getline(in, line);) {
            std::erase_if(line, [](char c) { return c == '\r' || c == '\0' || c == '\x1a'; });
            // The files' own END lines would end the download before the last file.
            if (!IsEndLine(line)) lines.push_back(line);
        }
    }
    lines.push_back(
        "\xb5\xe3\xba\xc5"
        "A1,1000.000,2000.000,50.000,\xca\xf7");
    std::string wire;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string l = lines[i];
        if (i % 5 == 2 && l.size() > 3) l.insert(3, 1, '\0');
        if (i % 7 == 3 && l.size() > 1) l.insert(1, 1, '\x1a');
        wire += l + (i % 3 == 1 ? "\n\r" : "\r\n");
    }
    wire += "END\r\n";
    lines.push_back("END");
    ASSERT_GT(wire.size(), 100000u);
    const fs::path data = dir_ / "instrument.dat";
    std::ofstream(data, std::ios::binary) << wire;

    Child instrument(
        Simulator(pair_->instrument(), {"--delay", "1.0", "send", data.string(), "--bursts",
                                        "1,7,13,64,3,251,2,4999,5003,777", "--gap", "0.001"}));
    const fs::path out = dir_ / "received.txt";
    const CliRun run = RunTool({"download", "--port", pair_->computer(), "--baud", "115200",
                                "--idle-timeout", "20", "-o", out.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(instrument.wait(20s), 0);
    std::string expected;
    for (const auto& l : lines) expected += l + "\r\n";
    EXPECT_EQ(Slurp(out), expected);
}

// A DiNi download that lost records in the middle: each gap is reported as
// its line arrives, and the transfer log replays to the same lines.
TEST_F(Simulated, LostRecordsAreReportedAndTheTransferLogReplays) {
    std::istringstream in(Slurp(test::CorpusFile("m5/bookcode-dini03-0624CH67.dat")));
    std::string wire;
    int n = 0;
    for (std::string line; std::getline(in, line);)
        if (++n < 20 || n > 24) wire += line + "\r\n";  // addresses 20-24 lost
    wire += "\xb2\xe2\\END\r\n";  // bytes of another code page, a backslash
    const fs::path data = dir_ / "dini.dat";
    std::ofstream(data, std::ios::binary) << wire;

    Child instrument(Simulator(pair_->instrument(), {"--delay", "1.0", "send", data.string(),
                                                     "--bursts", "1,500,77,3000", "--gap", "0.01"}));
    const fs::path out = dir_ / "received.txt", log = dir_ / "download.log";
    const CliRun run = RunTool({"download", "--port", pair_->computer(), "--idle-timeout", "3",
                                "--transfer-log", log.string(), "-o", out.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(instrument.wait(20s), 0);
    EXPECT_NE(run.err.find("received:20: addresses 20-24 are missing between line 19 and line 20"),
              std::string::npos)
        << run.err;
    EXPECT_LE(fs::file_size(log), 2 * wire.size() + 2000);
    EXPECT_NE(Slurp(log).find("\nend "), std::string::npos);

    const fs::path replayed = dir_ / "replayed.txt";
    const CliRun replay = RunTool({"replay", log.string(), "-o", replayed.string()});
    EXPECT_EQ(replay.status, 0) << replay.err;
    EXPECT_NE(replay.err.find("addresses 20-24 are missing"), std::string::npos);
    EXPECT_EQ(Slurp(replayed), Slurp(out));
    EXPECT_EQ(Slurp(out), wire);
}

TEST_F(Simulated, NikonUploadFramesCarryTheirChecksums) {
    const fs::path input = dir_ / "points.txt";
    std::ofstream(input, std::ios::binary) << "1,100.000,200.000,10.000\r\n\xb5\xe3"
                                              "2,3512.118,4822.907,88.2,TREE\r\nK7,1,2,3\r\n";
    const fs::path capture = dir_ / "captured";
    Child instrument = startInstrument({"capture", capture.string(), "--idle", "1", "--nikon"});
    const CliRun run = RunTool(
        {"upload", "--port", pair_->computer(), "--instrument", "nikon300", input.string(),
         "--language", "gb"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("已完成传送3点到全站仪"), std::string::npos) << run.err;
    EXPECT_EQ(instrument.wait(20s), 0) << Slurp(capture.string() + ".frames");
    auto report = [](std::string frame) {
        return "ok " + frame.substr(0, frame.size() - 2) + "\n";
    };
    EXPECT_EQ(Slurp(capture.string() + ".frames"),
              "ok A,01,Z,\nok G,1,100.000,200.000,10.000,2,\n" +
                  report(NikonPointFrame("\xb5\xe3"
                                         "2,3512.118,4822.907,88.2,TREE")) +
                  report(NikonPointFrame("K7,1,2,3")) + "ok Z,&,\n");
}

TEST_F(Simulated, PlainUploadSendsEachLineWithCrLf) {
    const fs::path input = dir_ / "points.txt";
    std::ofstream(input, std::ios::binary) << "1,100.000,200.000,10.000\n2,1,2,3\n\nlast\n";
    const fs::path capture = dir_ / "captured";
    Child instrument = startInstrument({"capture", capture.string(), "--idle", "1"});
    const CliRun run = RunTool({"upload", "--port", pair_->computer(), "--baud", "14400",
                                "--parity", "odd", input.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Upload finish! 4 data lines have been transfered"), std::string::npos);
    EXPECT_EQ(instrument.wait(20s), 0);
    EXPECT_EQ(Slurp(capture), "1,100.000,200.000,10.000\r\n2,1,2,3\r\n\r\nlast\r\n");
}

TEST(SerialCli, UsageAndDeviceFailures) {
    auto noPort =
        RunTool({"upload", test::CorpusFile("pointlist/bookcode-cass-3333.dat").string()});
    EXPECT_EQ(noPort.status, 2);
    EXPECT_NE(noPort.err.find("upload needs --port DEV"), std::string::npos);
    EXPECT_EQ(RunTool({"download", "--port", "/dev/null", "--baud", "12345"}).status, 2);
    EXPECT_EQ(RunTool({"download", "--port", "/dev/null", "--parity", "Odd"}).status, 2);
    EXPECT_EQ(RunTool({"download", "--port", "/dev/null", "--idle-timeout", "0"}).status, 2);

    const auto absent = RunTool({"download", "--port", "/dev/tarvosen-absent"});
    EXPECT_EQ(absent.status, 3);
    EXPECT_NE(absent.err.find("error: Port not open (Error: -1): the port could not be opened: "
                              "/dev/tarvosen-absent: No such file or directory"),
              std::string::npos)
        << absent.err;
    const auto notSerial = RunTool({"download", "--port", "/dev/null"});
    EXPECT_EQ(notSerial.status, 3);
    EXPECT_NE(notSerial.err.find("not a serial device"), std::string::npos);
}

}  // namespace
}  // namespace tarvosen
