// Commands run off the user-interface thread: the window keeps handling
// events meanwhile, Cancel leaves the workspace as it was, and a command that
// ends has its result, questions and caption in the window.

#include <algorithm>

#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "app/conversion.h"
#include "app/file_commands.h"
#include "app/ui/background_command.h"
#include "spreadsheet/spreadsheet_session.h"
#include "app/ui/workspace_editor.h"
#include "i18n/message_catalogue.h"
#include "tests/ui/window_fixture.h"

using namespace tarvosen;
using namespace tarvosen::ui;
using tarvosen::ui::test::WindowFixture;

namespace {

// An R5 file of many polar points, long enough that its conversion is still
// running when the event loop next turns.
std::string ManyPoints(int count) {
    std::string text = "For R5|Adr 0001|KR S   100|X     1000.000 m   |Y     2000.000 m   |Z       "
                       "50.000 m   |\r\n";
    for (int i = 0; i < count; ++i) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "For R5|Adr %04d|KR A %5d|X %12.3f m   |Y %12.3f m   |Z %12.3f m   |\r\n",
                      (i + 2) % 10000, 200 + i % 90000, 1000.0 + i * 0.01, 2000.0 - i * 0.02,
                      50.0 + (i % 100) * 0.001);
        text += line;
    }
    return text;
}

}  // namespace

class BackgroundCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void cancelLeavesTheTextAndFinishingTakesTheResult() {
        WindowFixture f;
        MainWindow& w = *f.window;
        w.show();
        CommandContext ctx = w.context();
        LoadDocument(ctx, f.writeFile("many.r5", ManyPoints(200000)));
        const std::vector<std::string> before = w.workspace().lines();
        const QString caption = w.windowTitle();
        const auto output = f.dir() / "points.txt";

        // Cancelled from the event loop while the command runs: the window was
        // busy (Cancel shown, editor read-only) and is as it was afterwards.
        bool sawBusy = false;
        f.answers.saveAnswers = {output};
        f.answers.dialogAnswer = true;
        QTimer::singleShot(0, &w, [&] {
            sawBusy = w.cancelButton()->isVisible() && w.workspaceEditor->isReadOnly() &&
                      w.backgroundCommand() != nullptr;
            w.cancelButton()->click();
        });
        QCOMPARE(w.runCommand("convert.r5.points"), CommandStatus::Cancelled);
        QVERIFY(sawBusy);
        QVERIFY(w.workspace().lines() == before);
        QCOMPARE(w.windowTitle(), caption);
        QVERIFY(!w.cancelButton()->isVisible());
        QVERIFY(!w.workspaceEditor->isReadOnly());
        QVERIFY(f.answers.texts(MessageKind::Error).empty());

        // Left alone, the same command finishes: the event loop turned while
        // it ran, and the point list and its caption are in the window.
        int turns = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++turns; });
        ticker.start(0);
        f.answers.saveAnswers = {output};
        const CommandStatus done = w.runCommand("convert.r5.points");
        QCOMPARE(done, CommandStatus::Done);
        ticker.stop();
        QVERIFY(turns > 0);
        QCOMPARE(w.workspace().lineCount(), std::size_t(200001));
        // The first point as R5 -> point list writes it: name, X, Y, Z and code.
        QCOMPARE(std::string(w.workspace().line(1)), std::string(" 200,1000.000,2000.000,50.000,A  "));
        QVERIFY(w.windowTitle().startsWith(QString::fromStdString(output.filename().string())));
    }

    void failuresAndQuestionsReachTheWindow() {
        WindowFixture f;
        MainWindow& w = *f.window;
        f.writeFile("keep.txt", "kept\r\n");
        CommandContext ctx = w.context();
        LoadDocument(ctx, f.dir() / "keep.txt");
        // A load of a missing file fails on the worker; the error box shows on
        // the window and the text stays.
        f.answers.openAnswers = {f.dir() / "missing.txt"};
        f.answers.confirmAnswers = {true};  // the text was loaded behind the window's back
        QCOMPARE(w.runCommand("file.load"), CommandStatus::Stopped);
        QCOMPARE(f.answers.texts(MessageKind::Error).size(), 1u);
        QCOMPARE(w.workspace().lines(), std::vector<std::string>{"kept"});
        QCOMPARE(f.answers.openFilters.size(), 1u);
    }

    // A cancel that comes after the conversion's last step, while its output
    // is being saved, leaves the chosen file as it was; once the output
    // replaces the file a cancel is too late and the command ends as done.
    void cancelledConversionWritesNothing() {
        WindowFixture f;
        MainWindow& w = *f.window;
        const auto output = f.writeFile("out.txt", "old\r\n");
        w.workspace().append("new");
        auto files = [&] {
            std::vector<std::string> names;
            for (const auto& e : std::filesystem::directory_iterator(f.dir()))
                names.push_back(e.path().filename().string());
            std::sort(names.begin(), names.end());
            return names;
        };
        const auto filesBefore = files();

        auto command = std::make_unique<BackgroundCommand>(w, w.user(), w.workspace(), w.state(),
                                                           w.options(), w.catalogue());
        BackgroundCommand* running = command.get();
        ConvertToFileSteps steps;
        steps.stages = {[running](CommandContext&, const Workspace& in, Workspace& out) {
            for (std::string_view line : in.view()) out.append(std::string(line));
            running->cancel();  // the user's Cancel, after the last progress step
            return true;
        }};
        f.answers.saveAnswers = {output};
        QCOMPARE(command->run([&](CommandContext& ctx) { return ConvertToFile(ctx, steps); }),
                 CommandStatus::Cancelled);
        command.reset();  // waits for the worker
        QCOMPARE(WindowFixture::readFile(output), std::string("old\r\n"));
        QVERIFY(files() == filesBefore);  // no temporary left behind

        command = std::make_unique<BackgroundCommand>(w, w.user(), w.workspace(), w.state(),
                                                      w.options(), w.catalogue());
        running = command.get();
        QCOMPARE(command->run([running, output](CommandContext& ctx) {
            ctx.user.commitOutput();
            running->cancel();
            ctx.workspace.save(output);
            return CommandStatus::Done;
        }),
                 CommandStatus::Done);
        QCOMPARE(WindowFixture::readFile(output), std::string("new\r\n"));

        // A book cancelled while its workbook is being written leaves the old file.
        const auto book = f.writeFile("book.xlsx", "old book");
        const auto filesWithBook = files();
        command = std::make_unique<BackgroundCommand>(w, w.user(), w.workspace(), w.state(),
                                                      w.options(), w.catalogue());
        running = command.get();
        QCOMPARE(command->run([running, book](CommandContext& ctx) {
            spreadsheet::SpreadsheetSession session;
            session.NewWorkbook();
            running->cancel();
            session.SaveAs(book, [&] { ctx.user.commitOutput(); });
            return CommandStatus::Done;
        }),
                 CommandStatus::Cancelled);
        command.reset();
        QCOMPARE(WindowFixture::readFile(book), std::string("old book"));
        QVERIFY(files() == filesWithBook);
    }

    // A book cancelled at any moment of its reading, or at its end while the
    // workbook is being written, leaves the text as it was and no workbook,
    // and the program goes on; left alone it writes the book. A Cancel once
    // the workbook has replaced the file is too late and says so.
    void aBookCancelledAtAnyMomentLeavesTheTextAndNoWorkbook() {
        WindowFixture f;
        MainWindow& w = *f.window;
        // A long DINI job: a real level's file forty times over.
        const std::string real = WindowFixture::readFile(
            std::filesystem::path(TARVOSEN_TEST_CORPUS_DIR) / "m5/nivtropy-dini-push0809.dat");
        std::string job;
        for (int i = 0; i < 40; ++i) job += real;
        CommandContext ctx = w.context();
        LoadDocument(ctx, f.writeFile("long.dat", job));
        const std::vector<std::string> before = w.workspace().lines();
        const int last = static_cast<int>(before.size()) - 1;
        const auto book = f.dir() / "book.xlsx";

        // -1: before the first step; then at the first, a middle and the last step.
        for (const int at : {-1, 0, last / 2, last}) {
            bool cancelled = false;
            auto cancel = [&] {
                if (cancelled) return;
                cancelled = true;
                w.cancelButton()->click();
            };
            if (at < 0) QTimer::singleShot(0, &w, cancel);
            f.answers.onProgress = [&](int position) {
                if (at >= 0 && position >= at) cancel();
            };
            f.answers.saveAnswers = {book};
            QCOMPARE(w.runCommand("book.dini"), CommandStatus::Cancelled);
            QVERIFY(cancelled);
            QVERIFY(w.workspace().lines() == before);
            QVERIFY(!std::filesystem::exists(book));
            QVERIFY(f.answers.texts(MessageKind::Error).empty());
        }
        f.answers.onProgress = nullptr;

        // The question "finished, open it?" comes after the workbook replaced
        // the file: a Cancel then is refused with a word in the status line.
        f.answers.saveAnswers = {book};
        f.answers.whileAsked = [&] { w.cancelButton()->click(); };
        QCOMPARE(w.runCommand("book.dini"), CommandStatus::Done);
        QVERIFY(std::filesystem::file_size(book) > 10000);
        QCOMPARE(w.StatusLine->currentMessage().toStdString(),
                 *w.catalogue().find(msg::kCancelTooLate, w.state().languageIndex));

        // The cancelled workers removed their temporaries when they stopped.
        f.window.reset();
        std::vector<std::string> left;
        for (const auto& e : std::filesystem::directory_iterator(f.dir()))
            left.push_back(e.path().filename().string());
        std::sort(left.begin(), left.end());
        QVERIFY(left == (std::vector<std::string>{"book.xlsx", "long.dat"}));
    }
};

QTEST_MAIN(BackgroundCommandTest)
#include "background_command_test.moc"
