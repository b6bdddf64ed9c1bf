// The Qt side of the serial link on the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QColor>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <map>

#include "app/ui/findings_dock.h"
#include "app/ui/main_form.h"
#include "app/ui/port_status.h"
#include "app/ui/option_dialog_registry.h"
#include "app/ui/signal_lamp_panel.h"
#include "serial/serial_link.h"
#include "serial/serial_port.h"
#include "serial/transfer_log.h"
#include "serial/ui/port_settings_dialog.h"
#include "serial/ui/qt_hand_over.h"
#include "tests/serial/line_simulator.h"
#include "tests/support/test_context.h"
#include "tests/ui/window_fixture.h"
#include "serial/serial_options.h"

namespace tarvosen::ui {

namespace {

using namespace std::chrono_literals;

template <typename Pred>
bool Spin(Pred pred, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

TEST(QtHandOver, EventsRunOnTheWindowThreadAndCloseCancelsAPendingCall) {
    tarvosen::test::Pty pty;
    QObject window;
    QtHandOver events(&window);
    SerialPort comm(events);
    comm.SetDeviceName(pty.slavePath());
    std::string got;
    bool onMainThread = true;
    comm.OnRxChar = [&](SerialPort& c, std::uint32_t n) {
        onMainThread = onMainThread && QThread::currentThread() == qApp->thread();
        std::string b(n, '\0');
        b.resize(static_cast<std::size_t>(std::max(0, c.Read(b.data(), n))));
        got += b;
    };
    comm.Open();
    pty.send("P1,1.0\r\n");
    EXPECT_TRUE(Spin([&] { return got == "P1,1.0\r\n"; }));
    EXPECT_TRUE(onMainThread);

    pty.send("never handled");
    std::this_thread::sleep_for(100ms);  // the event thread now waits in the queued call
    QElapsedTimer t;
    t.start();
    comm.Close();
    EXPECT_LT(t.elapsed(), 1000);
    Spin([] { return false; }, 100);
    EXPECT_EQ(got, "P1,1.0\r\n");
}

// Answers the dialog: sets the lists by position and presses OK or Cancel.
void AnswerDialog(std::map<int, int> positions, bool ok) {
    QTimer::singleShot(0, [positions, ok] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<PortSettingsDialog*>(w);
            if (!dialog || !dialog->isVisible()) continue;
            const auto lists = dialog->findChildren<QComboBox*>();
            for (const auto& [list, position] : positions)
                lists.at(list)->setCurrentIndex(position);
            ok ? dialog->accept() : dialog->reject();
        }
    });
}

TEST(PortSettingsDialog, OkStoresThePositionsCancelKeepsTheListsForTheNextOk) {
    tarvosen::test::TestContext t;
    auto host = FindOptionDialogFactory(kPortSettingsDialog)(nullptr);
    ASSERT_TRUE(host);

    AnswerDialog({{1, 11}, {2, 1}}, true);  // 115200, Odd
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<PortSettings>().baudRate, 11);
    EXPECT_EQ(t.options.get<PortSettings>().parity, 1);
    EXPECT_EQ(t.options.get<PortSettings>().port, "Com1");
    EXPECT_EQ(t.options.get<PortSettings>().flowControl, 3);

    AnswerDialog({{4, 2}}, false);  // 6 data bits, then Cancel
    EXPECT_FALSE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<PortSettings>().dataBits, 4);
    AnswerDialog({}, true);
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<PortSettings>().dataBits, 2);
    EXPECT_EQ(t.options.get<PortSettings>().baudRate, 11);
}

TEST(PortSettingsDialog, TextsComeFromTheCatalogueInTheChosenLanguage) {
    tarvosen::test::TestContext t;
    t.catalogue.loadFromText("2102\t端口\n2702\t通信参数设定\n");
    auto host = FindOptionDialogFactory(kPortSettingsDialog)(nullptr);
    QString caption, firstLabel;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<PortSettingsDialog*>(w); d && d->isVisible()) {
                caption = d->windowTitle();
                firstLabel = d->findChildren<QLabel*>().at(0)->text();
                d->reject();
            }
    });
    host->run(t.ctx);
    EXPECT_EQ(caption, QString::fromUtf8("通信参数设定"));
    EXPECT_EQ(firstLabel, QString::fromUtf8("端口"));
}

// A window whose port setting names a pseudo-terminal.
struct WindowOnPty {
    WindowOnPty() { w.options().get<PortSettings>().port = pty.slavePath(); }
    tarvosen::test::Pty pty;
    ui::test::WindowFixture f;
    MainWindow& w = *f.window;
};

TEST(MainWindow, Comm1ReceivesIntoTheWorkspaceLightsTheLampAndClosesOnExit) {
    WindowOnPty window;
    auto& [pty, f, w] = window;
    ASSERT_EQ(w.runCommand("transfer.settings"), CommandStatus::Done);

    pty.send("P1,1.0");
    pty.send(",2.0,3.0\r\nEND\r\n");
    EXPECT_TRUE(Spin([&] { return w.signalPanel->isLit(SignalLampPanel::RxChar); }));
    EXPECT_TRUE(Spin([&] { return w.workspace().lineCount() == 2; }));
    EXPECT_EQ(w.workspace().lines(), (std::vector<std::string>{"P1,1.0,2.0,3.0", "END"}));
    EXPECT_EQ(w.state().currentDocumentName, ResetDocumentName(w.state()));
    EXPECT_TRUE(Spin([&] { return !w.signalPanel->isLit(SignalLampPanel::RxChar); }, 2000));

    // The status line says the port is listening and what came: "P1,1.0" is
    // 6 bytes, ",2.0,3.0\r\nEND\r\n" 15 more, in 2 lines.
    w.portStatus()->refresh();
    EXPECT_TRUE(w.portStatus()->isVisibleTo(&w));
    const QString status = w.portStatus()->label()->text();
    EXPECT_TRUE(status.contains(QString::fromStdString(pty.slavePath()))) << status.toStdString();
    EXPECT_TRUE(status.contains("9600 8N1")) << status.toStdString();
    EXPECT_TRUE(status.contains(QString::fromUtf8("2 行，21 字节"))) << status.toStdString();

    // With the port open, Download only tells the user the computer is ready.
    ASSERT_EQ(w.runCommand("transfer.download"), CommandStatus::Done);
    EXPECT_EQ(f.answers.messages.back().text,
              *w.catalogue().find(msg::kDownloadNotice, w.state().languageIndex));

    // Stop closes the port.
    w.portStatus()->stopButton()->click();
    EXPECT_FALSE(w.serialLink().port->Enabled());
    EXPECT_FALSE(w.portStatus()->isVisibleTo(&w));

    // Confirmed exit closes the window: another program may open the port now.
    f.answers.confirmAnswers = {true};
    w.close();
    TaskQueue events;
    SerialPort other(events);
    other.SetDeviceName(pty.slavePath());
    other.Open();
    EXPECT_TRUE(other.Enabled());
}

// Download opens the port with the dialog's settings, and refuses with the
// reason where it cannot, without saying it is ready. CR, LF and CR LF each
// end a line; what follows END in its burst is left out with a warning; the
// status line keeps showing the port's settings after a background command
// replaced the options; a Clear starts the address check again.
TEST(MainWindow, DownloadOpensThePortAndTakesEveryLineEndUntilEnd) {
    WindowOnPty window;
    auto& [pty, f, w] = window;
    PortSettings& settings = w.options().get<PortSettings>();
    settings.port = "/dev/tarvosen-absent";
    EXPECT_EQ(w.runCommand("transfer.download"), CommandStatus::Stopped);
    ASSERT_EQ(f.answers.messages.size(), 1u);
    EXPECT_EQ(f.answers.messages[0].kind, MessageKind::Error);
    EXPECT_NE(f.answers.messages[0].text.find("/dev/tarvosen-absent"), std::string::npos);
    EXPECT_FALSE(w.serialLink().port->Enabled());

    // 19200 baud, 7 data bits, even parity, 2 stop bits, by the dialog's lists.
    settings = PortSettings{pty.slavePath(), 7, 2, 0, 3, 2};
    ASSERT_EQ(w.runCommand("transfer.download"), CommandStatus::Done);
    EXPECT_TRUE(w.serialLink().port->Enabled());
    EXPECT_EQ(f.answers.messages.back().kind, MessageKind::Information);
    ASSERT_EQ(w.runCommand("file.clear"), CommandStatus::Done);
    w.portStatus()->refresh();
    EXPECT_TRUE(w.portStatus()->label()->text().contains("19200 7E2"))
        << w.portStatus()->label()->text().toStdString();

    // "For R5|Adr 00" after END is 13 bytes of a cut record.
    pty.send("A\nB\r\nC\rEND   \r\nFor R5|Adr 00");
    EXPECT_TRUE(Spin([&] { return !f.answers.texts(MessageKind::Warning).empty(); }));
    EXPECT_EQ(w.workspace().lines(), (std::vector<std::string>{"A", "B", "C", "END   "}));
    EXPECT_TRUE(w.serialLink().pendingLine.empty());
    const auto warnings = f.answers.texts(MessageKind::Warning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("13"), std::string::npos) << warnings[0];

    // The same two records before and after a Clear: no address repeats.
    const std::string records =
        "For R5|Adr 0001|TR OR.COOR|                   |                   |                   |\r\n"
        "For R5|Adr 0002|KR A     0|X        0.000 m   |Y        0.000 m   |                   |\r\n";
    f.answers.confirmAnswers = {true, true};  // the received lines may go
    ASSERT_EQ(w.runCommand("file.clear"), CommandStatus::Done);
    pty.send(records);
    ASSERT_TRUE(Spin([&] { return w.workspace().lineCount() == 2; }));
    ASSERT_EQ(w.runCommand("file.clear"), CommandStatus::Done);
    pty.send(records);
    ASSERT_TRUE(Spin([&] { return w.workspace().lineCount() == 2; }));
    EXPECT_EQ(w.findingsDock()->count(), 0);
    EXPECT_TRUE(f.answers.findings.empty());
}

// An upload runs on the window's thread, which the port belongs to: the
// window answers between its lines, and Cancel stops it at the next one.
TEST(MainWindow, AnUploadIsCancelledBetweenItsLines) {
    WindowOnPty window;
    auto& [pty, f, w] = window;
    ASSERT_EQ(w.runCommand("transfer.settings"), CommandStatus::Done);
    std::vector<std::string> points;
    for (int i = 1; i <= 2000; ++i) points.push_back(std::to_string(i) + ",100.000,200.000,10.000");
    w.workspace().replaceAll(points);
    bool busy = false;
    f.answers.onProgress = [&](int position) {
        busy = busy || w.property("commandRunning").toBool();
        if (position == 100) w.cancelButton()->click();
    };
    EXPECT_EQ(w.runCommand("transfer.upload"), CommandStatus::Cancelled);
    EXPECT_TRUE(busy);
    EXPECT_FALSE(w.property("commandRunning").toBool());
    // Lines 1..101 went out before the Cancel, line 102 before the step that saw it.
    const std::string sent = pty.receive(1s, 100000);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), '\n'), 102) << sent.size();
    EXPECT_TRUE(sent.ends_with("\r\n102,100.000,200.000,10.000\r\n"));
    EXPECT_TRUE(f.answers.texts(MessageKind::Error).empty());
    EXPECT_EQ(w.workspace().lines(), points);
}

// While the port listens the status line shares the window's width: the
// window keeps the size it had, Stop stays inside it, the lamps show; after
// Stop the lamps go again (they are off by default).
TEST(MainWindow, ListeningKeepsTheWindowItsSizeWithStopInside) {
    WindowOnPty window;
    auto& [pty, f, w] = window;
    for (const char* language : {"language.english", "language.gb", "language.big5"}) {
        w.runCommand(language);
        w.resize(640, 400);
        w.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.signalPanel->isHidden());
        ASSERT_EQ(w.runCommand("transfer.settings"), CommandStatus::Done);
        pty.send(std::string(1000, 'x') + "\r\n");  // a count of four digits in the status
        ASSERT_TRUE(Spin([&] { return w.workspace().lineCount() >= 1; }));
        w.portStatus()->refresh();
        QCoreApplication::processEvents();
        EXPECT_EQ(w.size(), QSize(640, 400)) << language;
        QPushButton* stop = w.portStatus()->stopButton();
        ASSERT_TRUE(stop->isVisible());
        const QRect shown(stop->mapTo(&w, QPoint(0, 0)), stop->size());
        EXPECT_TRUE(w.rect().contains(shown)) << language;
        EXPECT_FALSE(w.signalPanel->isHidden());
        stop->click();
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.signalPanel->isHidden());
    }
}

// A command that runs beside the open port (a replay works on its own copies)
// leaves the record the port is in the middle of alone.
TEST(MainWindow, AReplayDoesNotCutTheRecordThePortIsReceiving) {
    WindowOnPty window;
    auto& [pty, f, w] = window;
    ASSERT_EQ(w.runCommand("transfer.settings"), CommandStatus::Done);
    pty.send("P1,1.0");
    ASSERT_TRUE(Spin([&] { return w.serialLink().pendingLine == "P1,1.0"; }));

    QTemporaryDir dir;
    const std::filesystem::path log = dir.filePath("replay.log").toStdString();
    {
        TransferLogWriter writer(log, TransferLog{"Com1", "", "", "", {}, "", 0});
        writer.burst(0, "R1\rR2");
        writer.end(10, "END");
    }
    f.answers.openAnswers = {log};
    ASSERT_EQ(w.runCommand("transfer.replay"), CommandStatus::Done);
    pty.send(",2.0\r");
    EXPECT_TRUE(Spin([&] { return w.workspace().lineCount() == 3; }));
    EXPECT_EQ(w.workspace().lines(), (std::vector<std::string>{"R1", "R2", "P1,1.0,2.0"}));
}

// A device unplugged while the port is open: the window says which device
// went away (in its language, GB here), keeps what came and closes the port;
// nothing waits on the dead line.
TEST(MainWindow, AnUnpluggedDeviceIsReportedAndTheLinesReceivedStay) {
    WindowOnPty window;
    auto& [pty, f, w] = window;
    ASSERT_EQ(w.runCommand("transfer.settings"), CommandStatus::Done);
    pty.send("P1,1.0,2.0,3.0\r\nP2,4.0");
    EXPECT_TRUE(Spin([&] { return w.workspace().lineCount() == 1; }));
    pty.hangUp();
    EXPECT_TRUE(Spin([&] { return !f.answers.texts(MessageKind::Error).empty(); }));
    ASSERT_EQ(f.answers.texts(MessageKind::Error).size(), 1u);
    EXPECT_EQ(f.answers.texts(MessageKind::Error)[0].rfind(
                  "串口设备 " + pty.slavePath() + " 已断开（", 0),
              0u);
    EXPECT_EQ(w.workspace().lines(), (std::vector<std::string>{"P1,1.0,2.0,3.0", "P2,4.0"}));
    EXPECT_FALSE(w.serialLink().port->Enabled());
}

}  // namespace
}  // namespace tarvosen::ui

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The transfer logs the window keeps go to a folder of the run, not the user's.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
