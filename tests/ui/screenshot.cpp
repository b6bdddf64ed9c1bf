// Takes the pictures of docs/ and data/manual/ under an X server (Xvfb): one
// scene a run, driven through the window's commands as a user would.
//   tarvosen_screenshot main-window OUTPUT.png SAMPLE [en|gb|big5]
//       the main window with a sample job, the menu bar open on Convert
//   tarvosen_screenshot dialog-refusing OUTPUT.png
//       the tolerance dialog refusing a limit typed with its unit
//   tarvosen_screenshot download OUTPUT.png SAMPLE [en|gb|big5]
//       the window receiving the sample's lines (an Elta R job) from a pseudo-terminal
//   tarvosen_screenshot conversion OUTPUT.png
//       R5 -> points over a large generated job, while it runs
//   tarvosen_screenshot dialog OUTPUT.png NAME [en|gb|big5]
//       one option dialog with its defaults, the dialog alone (NAME as in kDialogs)
//   tarvosen_screenshot manual OUTPUT.png [en|gb|big5]
//       the user guide in the window of Help > Manual

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "app/data_paths.h"
#include "app/file_commands.h"
#include "app/ui/main_form.h"
#include "app/ui/manual_window.h"
#include "app/ui/port_status.h"
#include "app/ui/signal_lamp_panel.h"
#include "serial/serial_options.h"
#include "tests/serial/line_simulator.h"
#include "tests/ui/screenshot_steps.h"
#include "zeiss/r5_line.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using tarvosen::ui::MainWindow;
using tarvosen::ui::screenshot::Steps;

// The option dialogs: the command that opens each, and the sample it needs in
// the window first (the Nikon conversions and the record books refuse an
// empty or foreign text before they ask).
struct OptionDialogScene {
    std::string_view name;
    std::string_view command;
    std::string_view sample;
};
constexpr OptionDialogScene kDialogs[] = {
    {"port-settings", "transfer.settings", ""},
    {"r5-options", "convert.r5.options", ""},
    {"cosa-export", "convert.nikon.cosa", "samples/traverse-four-stations.raw"},
    {"tolerances", "book.dini.checked", ""},
    {"traverse-export", "convert.nikon.traverse", "samples/traverse-four-stations.raw"},
    {"geo-book", "book.dini.geo", "samples/dini-levelling.dat"},
    {"level-network", "levelling.network", ""},
};

// Lines of the generated job for the conversion scene: enough that R5 ->
// points still runs when the window has painted itself again after the save
// dialog (about a second's work here; loading the job takes ten).
constexpr int kLargeJobLines = 1'000'000;

class Scene {
  public:
    Scene(MainWindow& window, QString output) : window_(window), output_(std::move(output)) {}

    // The picture of a part of the screen (all of it when the rectangle is empty).
    void grabScreen(QRect area = {}) {
        const QPixmap screen = QApplication::primaryScreen()->grabWindow(0);
        saved_ = (area.isEmpty() ? screen : screen.copy(area & screen.rect())).save(output_);
    }
    // The picture of one widget, drawn by itself.
    void grabWidget(QWidget* widget) { saved_ = widget->grab().save(output_); }

    // Ends the program once no dialog is left open.
    void finishWhenIdle() {
        steps.waitUntil([] { return QApplication::activeModalWidget() == nullptr; })
            .act([this] {
                if (!saved_) std::fprintf(stderr, "cannot write %s\n", qPrintable(output_));
                QApplication::exit(saved_ ? 0 : 1);
            });
    }

    MainWindow& window() { return window_; }
    Steps steps;

  private:
    MainWindow& window_;
    QString output_;
    bool saved_ = false;
};

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "screenshot: %s\n", why.c_str());
    std::_Exit(1);
}

// Lets the window paint what changed before a picture is taken at once.
void PaintFor(std::chrono::milliseconds time) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < time.count()) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Clicks from the event loop: a click that opens a modal box would otherwise
// hold up the steps until the box closes.
void ClickLater(QAbstractButton* button) {
    QTimer::singleShot(0, button, &QAbstractButton::click);
}
void CloseLater(QDialog* dialog, bool accept) {
    QTimer::singleShot(0, dialog, accept ? &QDialog::accept : &QDialog::reject);
}

fs::path DataFile(std::string_view name) {
    const auto path = tarvosen::FindDataFile(name);
    if (!path) throw std::runtime_error("no data file " + std::string(name));
    return *path;
}

// Chooses the language named by args[at] (en, gb or big5; GB when there is none).
void ChooseLanguage(MainWindow& window, const std::vector<std::string>& args, std::size_t at) {
    const std::string language = args.size() > at ? args[at] : "gb";
    window.runCommand(language == "en"     ? "language.english"
                      : language == "big5" ? "language.big5"
                                           : "language.gb");
}

void MainWindowScene(Scene& scene, const std::vector<std::string>& args) {
    MainWindow& window = scene.window();
    tarvosen::CommandContext ctx = window.context();
    tarvosen::LoadDocument(ctx, fs::path(args.at(0)));
    ChooseLanguage(window, args, 1);
    scene.steps.pause(500ms)
        .act([&window] {
            QMenuBar* bar = window.menuBar();
            for (QAction* top : bar->actions())
                if (top->text().contains("[&C]") || top->text() == "&Convert") bar->setActiveAction(top);
        })
        .pause(1200ms)
        .act([&scene] { scene.grabScreen(); })
        .act([] { QApplication::exit(0); });
    scene.steps.start();
}

// A limit typed with its unit: OK marks the field and says why; the dialog
// and the message are cropped together, the message moved beside the dialog.
void DialogRefusingScene(Scene& scene) {
    static QDialog* dialog = nullptr;
    static QMessageBox* refusal = nullptr;
    scene.steps.waitForModal(dialog)
        .act([] {
            dialog->findChild<QLineEdit*>("Limit2")->setText("3m");
            ClickLater(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
        })
        .waitForModal(refusal)
        .act([] {
            const QRect d = dialog->frameGeometry();
            refusal->move(d.right() + 16, d.top() + (d.height() - refusal->height()) / 2);
        })
        .pause(600ms)
        .act([&scene] {
            const QRect both = dialog->frameGeometry() | refusal->frameGeometry();
            scene.grabScreen(both.adjusted(-12, -12, 12, 12));
            CloseLater(refusal, true);
        })
        .waitUntil([] { return QApplication::activeModalWidget() == dialog; })
        .act([] { CloseLater(dialog, false); });
    scene.finishWhenIdle();
    scene.steps.start();
    scene.window().runCommand("book.dini.checked");
}

// The instrument's side: sends the sample's records one by one, as a total
// station does at a low baud rate, until told to stop.
void FeedLines(tarvosen::test::Pty& pty, const fs::path& sample, const std::atomic<bool>& stop) {
    std::ifstream in(sample, std::ios::binary);
    for (std::string line; !stop && std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with("END")) break;
        pty.send(line + "\r\n");
        std::this_thread::sleep_for(300ms);
    }
}

void DownloadScene(Scene& scene, const std::vector<std::string>& args) {
    static tarvosen::test::Pty pty;
    static std::atomic<bool> stop = false;
    static std::thread instrument;
    static QDialog* settings = nullptr;
    static QMessageBox* notice = nullptr;
    MainWindow& window = scene.window();
    const fs::path sample = args.at(0);
    ChooseLanguage(window, args, 1);
    window.options().get<tarvosen::PortSettings>().port = pty.slavePath();
    scene.steps.waitForModal(settings)
        .act([] { CloseLater(settings, true); })
        .waitForModal(notice)
        .act([sample] {
            CloseLater(notice, true);
            instrument = std::thread(FeedLines, std::ref(pty), sample, std::cref(stop));
        })
        // Just after the twentieth line, while its lamp is lit: the count in the
        // status line is brought up to date (its timer refreshes it twice a
        // second) and painted before the picture.
        .waitUntil([&window] {
            return window.workspace().lineCount() >= 20 &&
                   window.signalPanel->isLit(tarvosen::ui::SignalLampPanel::RxChar);
        })
        .act([&window, &scene] {
            window.portStatus()->refresh();
            PaintFor(40ms);
            scene.grabScreen();
        })
        .act([&window] {
            stop = true;
            instrument.join();
            window.portStatus()->stopButton()->click();
        });
    scene.finishWhenIdle();
    scene.steps.start();
    window.runCommand("instrument.elta-r");
    window.runCommand("transfer.settings");
    window.runCommand("transfer.download");
}

// A large job of polar observations and coordinates, made the way the
// benchmarks make theirs. Addresses run from 1 to 9999 and on from 0, as on the
// instrument.
void WriteLargeR5Job(const fs::path& path) {
    std::ofstream out(path, std::ios::binary);
    auto address = [](int i) { return static_cast<long>((i + 1) % 10000); };
    auto number = [](double v, int decimals) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
        return std::string(buf);
    };
    using tarvosen::zeiss::RecordFields;
    out << tarvosen::zeiss::FormatR5CoordinateLine(address(0), "S  ", "1", "1000.000", "2000.000",
                                                   "50.000")
        << "\r\n"
        << tarvosen::zeiss::FormatR5TextLine(
               address(1), "INPUT", {{{"th", "1.500", "m   "}, {"ih", "1.550", "m   "}, {"", "", ""}}})
        << "\r\n";
    for (int i = 2; i < kLargeJobLines; ++i) {
        const std::string point = std::to_string(i % 10000);
        if (i % 2) {
            const RecordFields polar{{{"SD", number(10 + i % 500 * 0.37, 3), "m   "},
                                      {"Hz", number(i % 360 + 0.3012, 4), "DMS "},
                                      {"V1", number(85 + i % 10 + 0.1545, 4), "DMS "}}};
            out << tarvosen::zeiss::FormatR5PointLine(address(i), "TRE", point, polar) << "\r\n";
        } else {
            out << tarvosen::zeiss::FormatR5CoordinateLine(
                       address(i), "FEN", point, number(900 + i % 977 * 0.1, 3),
                       number(1900 + i % 733 * 0.2, 3), number(48 + i % 11 * 0.3, 3))
                << "\r\n";
        }
    }
}

void ConversionScene(Scene& scene) {
    static QTemporaryDir folder;
    static QFileDialog* saveAs = nullptr;
    MainWindow& window = scene.window();
    const fs::path job = fs::path(folder.path().toStdString()) / "large-job.r5";
    WriteLargeR5Job(job);
    window.runCommand("instrument.elta-r");
    window.loadFile(job);
    scene.steps.waitForModal(saveAs)
        .act([] {
            // Typed into the name field, as selectFile leaves a focused field alone.
            saveAs->findChild<QLineEdit*>("fileNameEdit")->setText(folder.filePath("large-job-points.txt"));
            CloseLater(saveAs, true);
        })
        // The command has run in the background from the start; the
        // conversion itself starts once the name is chosen, and the picture
        // is taken as soon as the window is painted again without the dialog.
        .waitUntil([] { return QApplication::activeModalWidget() == nullptr; })
        .act([&scene, &window] {
            PaintFor(100ms);
            if (!window.backgroundCommand()) Fail("the conversion ended before the picture");
            scene.grabScreen();
            ClickLater(window.cancelButton());
        });
    scene.finishWhenIdle();
    scene.steps.start();
    window.runCommand("convert.r5.points");
}

void DialogScene(Scene& scene, const std::vector<std::string>& args) {
    static QDialog* dialog = nullptr;
    const std::string& name = args.at(0);
    const OptionDialogScene* which = nullptr;
    for (const OptionDialogScene& d : kDialogs)
        if (d.name == name) which = &d;
    if (!which) throw std::runtime_error("no dialog " + name);
    ChooseLanguage(scene.window(), args, 1);
    if (!which->sample.empty()) scene.window().loadFile(DataFile(which->sample));
    scene.steps.waitForModal(dialog).pause(500ms).act([&scene] {
        scene.grabWidget(dialog);
        CloseLater(dialog, false);
    });
    scene.finishWhenIdle();
    scene.steps.start();
    scene.window().runCommand(which->command);
}

// The guide as Help > Manual shows it, its window over the main window.
void ManualScene(Scene& scene, const std::vector<std::string>& args) {
    MainWindow& window = scene.window();
    ChooseLanguage(window, args, 0);
    window.runCommand("help.manual");
    QWidget* manual = window.manualWindow();
    if (!manual) Fail("Help > Manual showed no window");
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    manual->move(screen.center() - manual->rect().center());
    scene.steps.pause(800ms).act([&scene, manual] {
        scene.grabScreen(manual->frameGeometry());
        manual->close();
    });
    scene.finishWhenIdle();
    scene.steps.start();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: tarvosen_screenshot SCENE OUTPUT.png [ARGUMENT...]\n"
                     "  scenes: main-window SAMPLE [en|gb|big5], dialog-refusing,\n"
                     "          download SAMPLE [en|gb|big5], conversion, dialog NAME [en|gb|big5],\n"
                     "          manual [en|gb|big5]\n");
        return 2;
    }
    const std::string scene = argv[1];
    const std::vector<std::string> args(argv + 3, argv + argc);
    MainWindow window;
    window.setGeometry(QApplication::primaryScreen()->availableGeometry());
    window.show();
    Scene shot(window, QString::fromLocal8Bit(argv[2]));
    QTimer::singleShot(300, [&] {
        try {
            if (scene == "main-window")
                MainWindowScene(shot, args);
            else if (scene == "dialog-refusing")
                DialogRefusingScene(shot);
            else if (scene == "download")
                DownloadScene(shot, args);
            else if (scene == "conversion")
                ConversionScene(shot);
            else if (scene == "dialog")
                DialogScene(shot, args);
            else if (scene == "manual")
                ManualScene(shot, args);
            else
                throw std::runtime_error("no scene " + scene);
        } catch (const std::exception& e) {
            Fail(e.what());
        }
    });
    return QApplication::exec();
}
