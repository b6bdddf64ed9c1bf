// The serial port component over a pseudo-terminal that the test drives.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/errors.h"
#include "serial/serial_port.h"
#include "tests/serial/line_simulator.h"
#include "tests/serial/termios_probe.h"

namespace tarvosen {
namespace {

using namespace std::chrono_literals;
using test::Pty;

// Serves the port's events until pred holds or the time is up.
template <typename Pred>
bool ServeUntil(HandOver& events, Pred pred, std::chrono::milliseconds timeout = 5s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        events.serve(10ms);
    }
    return true;
}

std::string ErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const DeviceError& e) {
        return e.what();
    }
    return "(no error)";
}

struct OpenPort {
    OpenPort() {
        comm.SetDeviceName(pty.slavePath());
        comm.Open();
    }
    Pty pty;
    TaskQueue events;
    SerialPort comm{events};
};

TEST(Comm, AbsentDeviceStaysClosedAndTheFirstPortOperationSaysWhy) {
    TaskQueue events;
    SerialPort comm(events);
    comm.SetDeviceName("/dev/tarvosen-no-such-port");
    EXPECT_NO_THROW(comm.Open());
    EXPECT_FALSE(comm.Enabled());
    char b[4] = "abc";
    EXPECT_EQ(comm.Write(b, 3), -1);
    EXPECT_EQ(comm.Read(b, 3), -1);
    EXPECT_EQ(comm.InQueCount(), -1);
    const std::string rts = ErrorText([&] { comm.SetRTSState(true); });
    EXPECT_EQ(rts.rfind("Port not open (Error: -1)", 0), 0u) << rts;
    EXPECT_NE(rts.find("/dev/tarvosen-no-such-port: No such file or directory"), std::string::npos);

    SerialPort fresh(events);  // never tried to open: the bare message
    EXPECT_EQ(ErrorText([&] { fresh.SetDTRState(true); }), "Port not open (Error: -1)");
}

TEST(Comm, ComNamesMapToTtyS) {
    EXPECT_EQ(DevicePath("Com1"), "/dev/ttyS0");
    EXPECT_EQ(DevicePath("COM4"), "/dev/ttyS3");
    EXPECT_EQ(DevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(DevicePath("Com"), "Com");
    EXPECT_EQ(DevicePath("Com0"), "Com0");
}

TEST(Comm, OpenTwiceIsRefusedAndSettingsThatNeedAClosedPortWaitForIt) {
    OpenPort p;
    ASSERT_TRUE(p.comm.Enabled());
    EXPECT_EQ(ErrorText([&] { p.comm.Open(); }), "Port already assigned (open) (Error: -1)");
    EXPECT_TRUE(p.comm.Enabled());

    p.comm.SetDeviceName("/dev/null");
    p.comm.SetReadBufSize(16);
    p.comm.Close();
    p.comm.Open();
    EXPECT_TRUE(p.comm.Enabled());
    EXPECT_EQ(p.comm.DeviceName(), p.pty.slavePath());
}

TEST(Comm, NotACharacterDeviceIsNotOpened) {
    TaskQueue events;
    SerialPort comm(events);
    comm.SetDeviceName("/etc/hostname");
    comm.Open();
    EXPECT_FALSE(comm.Enabled());
    const std::string why = ErrorText([&] { comm.SetRTSState(true); });
    EXPECT_NE(why.find("/etc/hostname: not a serial device"), std::string::npos) << why;
}

TEST(Comm, ASecondOpenOfTheSameDeviceFindsItInUse) {
    OpenPort p;
    TaskQueue events;
    SerialPort other(events);
    other.SetDeviceName(p.pty.slavePath());
    other.Open();
    EXPECT_FALSE(other.Enabled());
    const std::string why = ErrorText([&] { other.SetDTRState(true); });
    EXPECT_NE(why.find("busy"), std::string::npos) << why;
}

TEST(Comm, LineSettingsReachTheDeviceAtOnce) {
    OpenPort p;
    const int fd = p.pty.slaveFd();
    EXPECT_TRUE(test::ReadLineState(fd).raw);

    // Every rate, the non-standard ones included, arrives as asked.
    for (int i = 0; i < kBaudRateCount; ++i) {
        const auto rate = static_cast<TBaudRate>(i);
        p.comm.SetBaudRate(rate);
        EXPECT_EQ(test::ReadLineState(fd).outputBaud, BaudRateValue(rate)) << i;
        EXPECT_EQ(test::ReadLineState(fd).inputBaud, BaudRateValue(rate)) << i;
    }

    // A pseudo-terminal keeps 8 bits without parity whatever it is told, so
    // the frame is checked in the flags the device layer sets.
    auto frame = [&] { return test::DecodeFrameFlags(FrameFlags(p.comm.CurrentLineSettings())); };
    p.comm.SetParity(paOdd);
    auto s = frame();
    EXPECT_TRUE(s.parity && s.oddParity && !s.markSpace) << "Odd must be odd parity on the line";
    p.comm.SetParity(paEven);
    s = frame();
    EXPECT_TRUE(s.parity && !s.oddParity && !s.markSpace);
    p.comm.SetParity(paMark);
    s = frame();
    EXPECT_TRUE(s.parity && s.oddParity && s.markSpace);
    p.comm.SetParity(paSpace);
    s = frame();
    EXPECT_TRUE(s.parity && !s.oddParity && s.markSpace);
    p.comm.SetParity(paNone);
    EXPECT_FALSE(frame().parity);

    p.comm.SetDataBits(da7);
    p.comm.SetStopBits(sb20);
    s = frame();
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_TRUE(s.twoStopBits);
    EXPECT_TRUE(test::ReadLineState(fd).twoStopBits);

    // XON/XOFF is switched on by fcXonXoff and, as the device keeps its
    // handshake, stays on when another flow control is chosen.
    p.comm.SetFlowControl(fcXonXoff);
    EXPECT_TRUE(test::ReadLineState(fd).xonXoff);
    p.comm.SetFlowControl(fcNone);
    EXPECT_TRUE(test::ReadLineState(fd).xonXoff);
}

TEST(Comm, SettingsTheDeviceCannotTakeAreReportedNotSubstituted) {
    OpenPort p;
    const std::string four = ErrorText([&] { p.comm.SetDataBits(da4); });
    EXPECT_EQ(four.rfind("Error updating DataControlBlock (Error: 22)", 0), 0u) << four;
    EXPECT_NE(four.find("4 data bits"), std::string::npos);

    p.comm.SetDataBits(da8);
    const std::string oneAndHalf = ErrorText([&] { p.comm.SetStopBits(sb15); });
    EXPECT_EQ(oneAndHalf.rfind("Error updating DataControlBlock (Error: 22)", 0), 0u);
    // With 5 data bits the long stop is 1.5 bits on a UART.
    p.comm.SetDataBits(da5);
    EXPECT_TRUE(test::ReadLineState(p.pty.slaveFd()).twoStopBits);
    EXPECT_EQ(test::DecodeFrameFlags(FrameFlags(p.comm.CurrentLineSettings())).dataBits, 5);
}

TEST(Comm, WriteTimeoutMultiplierFollowsTheRateOrdinalWithASoundValueFor300) {
    EXPECT_EQ(WriteTimeoutMultiplier(br300), 19200u);
    EXPECT_EQ(WriteTimeoutMultiplier(br600), 19200u);
    EXPECT_EQ(WriteTimeoutMultiplier(br9600), 3840u);
    EXPECT_EQ(WriteTimeoutMultiplier(br19200), 2742u);
    EXPECT_EQ(WriteTimeoutMultiplier(br256000), 1476u);
}

TEST(Comm, HandlersRunInOrderAndRxCharOnlyWithBytesWaiting) {
    TaskQueue events;
    SerialPort comm(events);
    std::string order;
    comm.OnBreak = [&](SerialPort&) { order += "B"; };
    comm.OnCts = [&](SerialPort&) { order += "C"; };
    comm.OnDsr = [&](SerialPort&) { order += "D"; };
    comm.OnError = [&](SerialPort&, int) { order += "E"; };
    comm.OnRing = [&](SerialPort&) { order += "I"; };
    comm.OnRlsd = [&](SerialPort&) { order += "L"; };
    comm.OnRxChar = [&](SerialPort&, std::uint32_t) { order += "R"; };
    comm.OnRxFlag = [&](SerialPort&) { order += "F"; };
    comm.OnTxEmpty = [&](SerialPort&) { order += "T"; };

    SerialDevice device;
    CommSharedState shared;
    SerialEventThread sender(device, kAllCommEvents, shared, events);
    comm.HandleCommEvent(sender, 0x1FF);
    EXPECT_EQ(order, "BCDEILFT");  // no bytes waiting: no OnRxChar
    order.clear();
    comm.HandleCommEvent(sender, 0);
    EXPECT_EQ(order, "");
}

TEST(Comm, ReceivedBytesReachOnRxCharInOrder) {
    OpenPort p;
    std::string got;
    p.comm.OnRxChar = [&](SerialPort& c, std::uint32_t count) {
        std::string buf(count, '\0');
        const int n = c.Read(buf.data(), count);
        got.append(buf, 0, static_cast<std::size_t>(std::max(n, 0)));
    };
    std::string sent;
    for (int i = 0; i < 20000; ++i) sent += static_cast<char>(i * 7 % 256);
    std::thread writer([&] { p.pty.send(sent); });
    EXPECT_TRUE(ServeUntil(p.events, [&] { return got.size() >= sent.size(); }));
    writer.join();
    EXPECT_EQ(got, sent);
}

TEST(Comm, EventCharacterRaisesRxFlagAndWritesRaiseTxEmpty) {
    OpenPort p;
    int flags = 0, empties = 0;
    p.comm.OnRxChar = [](SerialPort& c, std::uint32_t n) {
        std::string b(n, '\0');
        c.Read(b.data(), n);
    };
    p.comm.OnRxFlag = [&](SerialPort&) { ++flags; };
    p.comm.OnTxEmpty = [&](SerialPort&) { ++empties; };
    p.comm.SetEventChar('\r');
    p.pty.send("no flag here");
    ServeUntil(
        p.events, [] { return false; }, 200ms);
    EXPECT_EQ(flags, 0);
    p.pty.send("P1,1.0\r");
    EXPECT_TRUE(ServeUntil(p.events, [&] { return flags == 1; }));

    EXPECT_EQ(p.comm.Write("hello\r\n", 7), 7);
    EXPECT_EQ(p.pty.receive(2s, 7), "hello\r\n");
    EXPECT_TRUE(ServeUntil(p.events, [&] { return empties >= 1; }));
}

TEST(Comm, CloseWhileTheEventThreadWaitsInTheHandOverNeitherBlocksNorRunsHandlers) {
    OpenPort p;
    int calls = 0;
    p.comm.OnRxChar = [&](SerialPort&, std::uint32_t) { ++calls; };
    p.pty.send("data that nobody serves\r");
    std::this_thread::sleep_for(100ms);  // the thread is now waiting for the hand-over
    const auto start = std::chrono::steady_clock::now();
    p.comm.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(p.comm.Enabled());
    p.events.serve(50ms);  // the task posted before Close does nothing now
    EXPECT_EQ(calls, 0);
}

TEST(Comm, AHandlerMayCloseThePortAndTheRestOfTheWordIsDropped) {
    OpenPort p;
    int rx = 0, flags = 0;
    p.comm.SetEventChar('x');
    p.comm.OnRxChar = [&](SerialPort& c, std::uint32_t) {
        ++rx;
        c.Close();
    };
    p.comm.OnRxFlag = [&](SerialPort&) { ++flags; };
    p.pty.send("x");
    EXPECT_TRUE(ServeUntil(p.events, [&] { return rx == 1; }));
    EXPECT_FALSE(p.comm.Enabled());
    p.events.serve(50ms);
    EXPECT_EQ(rx, 1);
    EXPECT_EQ(flags, 0);
}

TEST(Comm, ClosingAndReopeningWhileDataFlowsIsSafe) {
    OpenPort p;
    std::atomic<bool> stop{false};
    std::uint64_t received = 0;
    p.comm.OnRxChar = [&](SerialPort& c, std::uint32_t count) {
        char buf[4999];
        const int n = c.Read(buf, std::min<std::uint32_t>(count, sizeof buf));
        if (n > 0) received += static_cast<std::uint64_t>(n);
    };
    std::atomic<bool> writerDone{false};
    std::thread writer([&] {
        const std::string chunk(512, 'z');
        while (!stop) {
            p.pty.send(chunk);
            std::this_thread::sleep_for(1ms);
        }
        writerDone = true;
    });
    for (int round = 0; round < 25; ++round) {
        ServeUntil(
            p.events, [] { return false; }, 20ms);
        p.comm.Close();
        const std::uint64_t atClose = received;
        p.events.serve(5ms);
        EXPECT_EQ(received, atClose) << "a handler ran after Close returned";
        p.comm.Open();
        ASSERT_TRUE(p.comm.Enabled());
    }
    stop = true;
    EXPECT_TRUE(ServeUntil(p.events, [&] { return writerDone.load(); }));
    writer.join();
    EXPECT_GT(received, 0u);
}

TEST(Comm, DestroyingAnOpenPortWithAPendingHandOverEndsItsThread) {
    Pty pty;
    TaskQueue events;
    {
        SerialPort comm(events);
        comm.OnRxChar = [](SerialPort&, std::uint32_t) { FAIL() << "handler after destruction"; };
        comm.SetDeviceName(pty.slavePath());
        comm.Open();
        pty.send("pending");
        std::this_thread::sleep_for(50ms);
    }
    events.serve(50ms);
}

}  // namespace
}  // namespace tarvosen
