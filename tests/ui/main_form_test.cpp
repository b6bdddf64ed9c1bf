// The main window: menu bars and languages, file commands with their captions
// and bytes on disk, edits written back, the exit question, the progress bar,
// the lamp panel, received lines and printing.

#include <fstream>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include "app/file_commands.h"
#include "app/ui/manual_window.h"
#include "app/ui/signal_lamp_panel.h"
#include "app/ui/findings_dock.h"
#include "app/ui/workspace_editor.h"
#include "i18n/message_catalogue.h"
#include "tests/ui/window_fixture.h"

using namespace tarvosen;
using namespace tarvosen::ui;
using tarvosen::ui::test::WindowFixture;

namespace {

QString Checked(const CommandMenuBar& bar, std::string_view group) {
    QString checked;
    for (const auto& [key, action] : bar.items) {
        const CommandRow* row = FindCommandByKey(key);
        if (row && row->radioGroup == group && action->isChecked())
            checked += QString::fromStdString(key) + " ";
    }
    return checked.trimmed();
}

QString EditorText(MainWindow& w) {
    w.workspaceEditor->flushAppends();
    return w.workspaceEditor->toPlainText();
}

// GB18030 bytes of 中文 and of 点号 ("point number").
const std::string kGbChinese = "\xD6\xD0\xCE\xC4";
const std::string kGbPointNumber = "\xB5\xE3\xBA\xC5";

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

  private slots:
    void startsWithGbMenuBarAndInitialState() {
        WindowFixture f;
        MainWindow& w = *f.window;
        QCOMPARE(w.menuBar(), w.menuBarOf(2).bar);
        QCOMPARE(w.menuBar()->objectName(), QString("MainMenu1"));
        QCOMPARE(w.windowTitle(), QString("Tarvosen Data Processor"));
        QCOMPARE(w.state().startDirectory, f.dir());
        QCOMPARE(w.state().instrumentKind, 1);
        QCOMPARE(Checked(w.menuBarOf(2), "instrument"), QString("instrument.nikon500"));
        QCOMPARE(w.instrumentLabel->text(), QString::fromUtf8("尼康 352/350/330、500 系列"));
        // The lamps matter only while the port is open.
        QVERIFY(w.signalPanel->isHidden());
        QVERIFY(!w.menuBarOf(2).item("transfer.signal-lamps")->isChecked());
        // The GB bar has the Nikon, DINI and Leica GSI submenus under Convert.
        const QList<QAction*> tops = w.menuBar()->actions();
        QCOMPARE(tops.size(), 5);
        QCOMPARE(tops[2]->text(), QString::fromUtf8("[&C]格式转换"));
        QStringList subMenus;
        for (QAction* a : tops[2]->menu()->actions())
            if (a->menu()) subMenus << a->text();
        QCOMPARE(subMenus, QStringList({QString::fromUtf8("尼康原始数据转换"),
                                        QString::fromUtf8("蔡司电子水准仪（DINI）数据处理"),
                                        QString::fromUtf8("徕卡 GSI 数据处理")}));
    }

    // Help > Manual shows the shipped guide inside the window, in the
    // language of the bar, and offers the same page to the browser.
    void manualShowsTheGuideOfTheChosenLanguage() {
        WindowFixture f;
        MainWindow& w = *f.window;
        const struct {
            const char* language;
            const char* page;
            const char* heading;  // the guide's first section, as that language writes it
            const char* picture;
        } guides[] = {{"language.english", "index.html", "Data Transfer", "main-window-en.png"},
                      {"language.big5", "index-big5.html", "資料傳輸", "main-window-big5.png"},
                      {"language.gb", "index-gb.html", "数据传输", "main-window.png"}};
        for (const auto& guide : guides) {
            w.runCommand(guide.language);
            QCOMPARE(w.runCommand("help.manual"), CommandStatus::Done);
            ManualWindow* manual = w.manualWindow();
            QVERIFY(manual && manual->isVisible());
            QVERIFY(manual->browser()->toPlainText().contains(QString::fromUtf8(guide.heading)));
            QVERIFY(manual->browser()->source().toLocalFile().endsWith(guide.page));
            // The pictures are found beside the page.
            QVERIFY(!manual->browser()->document()->resource(QTextDocument::ImageResource,
                                                               QUrl(guide.picture)).isNull());
            f.answers.opened.clear();
            manual->browserButton()->click();
            QCOMPARE(f.answers.opened.size(), std::size_t(1));
            QCOMPARE(f.answers.opened[0].filename().string(), std::string(guide.page));
            manual->close();
        }
        QVERIFY(f.answers.messages.empty());
    }

    void languageCommandsSwitchBarsAndChecks() {
        WindowFixture f;
        MainWindow& w = *f.window;
        struct Step {
            const char* key;
            int language;
            const char* barName;
            const char* firstMenu;
        };
        // Each step clicks the item in the bar attached at that moment; the
        // last one comes back to GB, whose own item must be checked again.
        const Step steps[] = {
            {"language.english", 1, "MainMenu", "&Data Transfer"},
            {"language.big5", 3, "MainMenu2", "[&T]資料傳輸"},
            {"language.gb", 2, "MainMenu1", "[&T]数据传输"},
            {"language.big5", 3, "MainMenu2", "[&T]資料傳輸"},
        };
        for (const Step& step : steps) {
            const int before = w.state().languageIndex;
            w.menuBarOf(before).item(step.key)->trigger();
            QCOMPARE(w.state().languageIndex, step.language);
            QCOMPARE(w.menuBar(), w.menuBarOf(step.language).bar);
            QCOMPARE(w.menuBar()->objectName(), QString(step.barName));
            QCOMPARE(w.menuBar()->actions().front()->text(), QString::fromUtf8(step.firstMenu));
            QCOMPARE(Checked(w.menuBarOf(step.language), "language"), QString(step.key));
            for (int other = 1; other <= 3; ++other)
                QCOMPARE(w.menuBarOf(other).bar->isHidden(), other != step.language);
            // Every bar keeps its own language checked, whichever is attached.
            QCOMPARE(Checked(w.menuBarOf(2), "language"), QString("language.gb"));
        }
        // The bars are kept, not rebuilt: switching never deletes one.
        QCOMPARE(w.findChildren<QMenuBar*>().size(), 3);
    }

    void instrumentChoiceMovesChecksAndLabel() {
        WindowFixture f;
        MainWindow& w = *f.window;
        w.menuBarOf(2).item("instrument.dini")->trigger();
        QCOMPARE(w.state().instrumentKind, 4);
        QCOMPARE(w.instrumentLabel->text(), QString::fromUtf8("蔡司 DINI 电子水准仪"));
        for (int language = 1; language <= 3; ++language)
            QCOMPARE(Checked(w.menuBarOf(language), "instrument"),
                     QString("instrument.dini"));
    }

    // "Read strictly" turns strict reading on in every bar and is kept with
    // the window's settings.
    void readStrictlyIsCheckedAndKept() {
        WindowFixture f;
        MainWindow& w = *f.window;
        QVERIFY(!w.state().strictReading);
        w.runCommand("app.read-strictly");
        QVERIFY(w.state().strictReading);
        for (int language = 1; language <= 3; ++language)
            QVERIFY(w.menuBarOf(language).item("app.read-strictly")->isChecked());
        w.saveSettings();
        MainWindow next;
        next.restoreSettings();
        QVERIFY(next.state().strictReading);
        QVERIFY(next.menuBarOf(1).item("app.read-strictly")->isChecked());
    }

    void viewPortSignalHidesAndShowsThePanel() {
        WindowFixture f;
        MainWindow& w = *f.window;
        w.runCommand("transfer.signal-lamps");
        QVERIFY(!w.signalPanel->isHidden());
        QVERIFY(w.menuBarOf(1).item("transfer.signal-lamps")->isChecked());
        w.runCommand("transfer.signal-lamps");
        QVERIFY(w.signalPanel->isHidden());
        w.runCommand("transfer.signal-lamps");

        w.signalPanel->flash(SignalLampPanel::RxChar, 30);
        QVERIFY(w.signalPanel->isLit(SignalLampPanel::RxChar));
        QTRY_VERIFY(!w.signalPanel->isLit(SignalLampPanel::RxChar));
        w.signalPanel->setLit(SignalLampPanel::Cts, true);
        QVERIFY(w.signalPanel->isLit(SignalLampPanel::Cts));
        QVERIFY(!w.signalPanel->isLit(SignalLampPanel::Dsr));
    }

    void loadAndSaveKeepBytesAndSetCaptions_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QByteArray("PN,X,Y,Z\r\n1,100.000,200.000,10.5\r\n\r\nEND\r\n");
        QTest::newRow("utf-8") << QByteArray(
            "点号,X,Y\r\n\xEF\xBB\xBF"
            "BOM line\r\n中文 1,2\r\n");
        QTest::newRow("gb18030") << QByteArray::fromStdString(kGbPointNumber + ",X,Y\r\n" +
                                                              kGbChinese + " 1,2\r\n");
        QTest::newRow("gb18030 with stray bytes")
            << QByteArray::fromStdString(kGbChinese + "\xFF\x80\x01\r\nA\x81\r\n");
    }
    void loadAndSaveKeepBytesAndSetCaptions() {
        QFETCH(QByteArray, bytes);
        WindowFixture f;
        MainWindow& w = *f.window;
        const auto source = f.writeFile("job.txt", bytes.toStdString());
        f.answers.openAnswers.push_back(source);
        // Stray bytes beside a control byte are no text: the user is asked,
        // and says show it.
        f.answers.confirmAnswers.push_back(true);
        QCOMPARE(w.runCommand("file.load"), CommandStatus::Done);
        QCOMPARE(f.answers.questions.size(),
                 std::size_t(bytes.contains("\xFF\x80\x01") ? 1 : 0));
        QCOMPARE(f.answers.openFilters.back(), std::string(kOpenFilter));
        QCOMPARE(w.windowTitle(),
                 QString::fromUtf8("job.txt — Tarvosen Data Processor"));
        QCOMPARE(w.state().currentDocumentName, source.string());

        // Save writes back to the loaded file, byte for byte.
        std::filesystem::remove(source);
        QCOMPARE(w.runCommand("file.save"), CommandStatus::Done);
        QCOMPARE(QByteArray::fromStdString(f.readFile(source)), bytes);

        // Save as writes the same bytes whatever the type, and the caption
        // names the new file.
        const auto copy = f.dir() / "copy.Dxf";
        f.answers.saveAnswers.push_back(copy);
        QCOMPARE(w.runCommand("file.save-as"), CommandStatus::Done);
        QCOMPARE(f.answers.saveFilters.back(), std::string(kSaveAsFilter));
        QCOMPARE(QByteArray::fromStdString(f.readFile(copy)), bytes);
        QCOMPARE(w.windowTitle(), QString::fromUtf8("copy.Dxf — Tarvosen Data Processor"));
        QCOMPARE(w.state().currentDocumentName, copy.string());
    }

    void editorShowsDecodedLines() {
        WindowFixture f;
        MainWindow& w = *f.window;
        const auto gb = f.writeFile("gb.txt", kGbChinese + "\r\n");
        CommandContext ctx = w.context();
        LoadDocument(ctx, gb);
        QCOMPARE(EditorText(w), QString::fromUtf8("中文"));
        const auto utf8 = f.writeFile("utf8.txt", "中文\r\nabc\r\n");
        LoadDocument(ctx, utf8);
        QCOMPARE(EditorText(w), QString::fromUtf8("中文\nabc"));
    }

    void editsAreWrittenBackAndUntouchedLinesKeepTheirBytes() {
        WindowFixture f;
        MainWindow& w = *f.window;
        // A GB18030 file with a stray byte the user never touches.
        const std::string untouched = "A\xFF" + kGbChinese;
        const auto path = f.writeFile("job.txt", "first\r\n" + untouched + "\r\nmiddle\r\n" +
                                                     kGbPointNumber + "\r\nlast\r\n");
        CommandContext ctx = w.context();
        f.answers.confirmAnswers.push_back(true);  // show it although it is not all text
        QVERIFY(LoadDocument(ctx, path));
        QVERIFY(!w.workspaceEditor->userEdited());

        // The user changes "middle" and types Chinese on a new line after it.
        QTextCursor cursor(w.workspaceEditor->document()->findBlockByNumber(2));
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(QString::fromUtf8("!\n中文"));
        QVERIFY(w.workspaceEditor->userEdited());
        QCOMPARE(w.runCommand("file.save"), CommandStatus::Done);
        QCOMPARE(f.readFile(path), "first\r\n" + untouched + "\r\nmiddle!\r\n" + kGbChinese +
                                       "\r\n" + kGbPointNumber + "\r\nlast\r\n");
        QVERIFY(!w.workspaceEditor->userEdited());
        QCOMPARE(w.workspace().lineCount(), 6u);

        // Deleting everything leaves no lines at all.
        w.workspaceEditor->selectAll();
        w.workspaceEditor->textCursor().removeSelectedText();
        QCOMPARE(w.runCommand("file.save"), CommandStatus::Done);
        QCOMPARE(f.readFile(path), std::string());
    }

    void utf8TextGetsTypedLinesInUtf8() {
        WindowFixture f;
        MainWindow& w = *f.window;
        const auto path = f.writeFile("job.txt", "abc\r\n");
        CommandContext ctx = w.context();
        LoadDocument(ctx, path);
        QTextCursor cursor(w.workspaceEditor->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QString::fromUtf8("\n点号"));
        w.runCommand("file.save");
        QCOMPARE(f.readFile(path), std::string("abc\r\n点号\r\n"));
    }

    // Save writes only to the file the text came from, and asks first when
    // another program changed that file meanwhile; a text without a file of
    // its own (never saved, cleared) gets a name from the user.
    void saveAsksWhereTheTextHasNoFileOrItsFileChanged() {
        WindowFixture f;
        MainWindow& w = *f.window;
        QCOMPARE(w.runCommand("file.save"), CommandStatus::Cancelled);
        QCOMPARE(f.answers.saveFilters.size(), 1u);
        QVERIFY(!std::filesystem::exists(f.dir() / "NONAME.TXT"));

        // Load, Clear, new lines, Save: the job loaded before stays as it was.
        const auto job = f.writeFile("job.txt", "1,2,3\r\n");
        f.answers.openAnswers.push_back(job);
        QCOMPARE(w.runCommand("file.load"), CommandStatus::Done);
        QCOMPARE(w.runCommand("file.clear"), CommandStatus::Done);
        QCOMPARE(EditorText(w), QString());
        QCOMPARE(w.windowTitle(), QString("Tarvosen Data Processor"));
        CommandContext ctx = w.context();
        AppendWorkspaceLine(ctx, "received");
        const auto received = f.dir() / "received.txt";
        f.answers.saveAnswers.push_back(received);
        QCOMPARE(w.runCommand("file.save"), CommandStatus::Done);
        QCOMPARE(f.readFile(job), std::string("1,2,3\r\n"));
        QCOMPARE(f.readFile(received), std::string("received\r\n"));

        // Now the text has its file: Save writes it without a dialog.
        AppendWorkspaceLine(ctx, "more");
        QCOMPARE(w.runCommand("file.save"), CommandStatus::Done);
        QCOMPARE(f.readFile(received), std::string("received\r\nmore\r\n"));
        QCOMPARE(f.answers.saveFilters.size(), 2u);
        QVERIFY(f.answers.questions.empty());

        // Another program rewrites it: Save asks; No keeps that program's
        // text, Yes writes the window's.
        f.writeFile("received.txt", "edited elsewhere\r\n");
        f.answers.confirmAnswers = {false, true};
        QCOMPARE(w.runCommand("file.save"), CommandStatus::Cancelled);
        QCOMPARE(f.readFile(received), std::string("edited elsewhere\r\n"));
        QCOMPARE(f.answers.questions.size(), 1u);
        QVERIFY(f.answers.questions[0].find(received.string()) != std::string::npos);
        QCOMPARE(w.runCommand("file.save"), CommandStatus::Done);
        QCOMPARE(f.readFile(received), std::string("received\r\nmore\r\n"));
    }

    // Findings belong to the text they were found in: Load shows those of
    // the file, a conversion's result and Clear take them away. A
    // conversion whose result was saved leaves nothing to discard.
    void findingsAndUnsavedChangesFollowTheText() {
        WindowFixture f;
        MainWindow& w = *f.window;
        // A real R5 job with its sixth record (address 0006) lost.
        std::string job;
        {
            std::ifstream in(std::filesystem::path(TARVOSEN_TEST_CORPUS_DIR) / "r5/tops-elta-r55.r5");
            int n = 0;
            for (std::string line; std::getline(in, line);)
                if (++n != 6) job += line + "\r\n";
        }
        const auto gap = f.writeFile("gap.r5", job);
        f.answers.openAnswers = {gap, gap};
        QCOMPARE(w.runCommand("file.load"), CommandStatus::Done);
        QCOMPARE(w.findingsDock()->count(), 1);

        f.answers.saveAnswers = {f.dir() / "points.txt"};
        QCOMPARE(w.runCommand("convert.r5.points"), CommandStatus::Done);
        QVERIFY(w.workspace().lineCount() > 0);
        QCOMPARE(w.findingsDock()->count(), 0);
        QVERIFY(!w.hasUnsavedChanges());

        QCOMPARE(w.runCommand("file.load"), CommandStatus::Done);
        QVERIFY(f.answers.questions.empty());
        QCOMPARE(w.findingsDock()->count(), 1);
        QCOMPARE(w.runCommand("file.clear"), CommandStatus::Done);
        QCOMPARE(w.findingsDock()->count(), 0);
    }

    void failuresAreShownAndChangeNothing() {
        WindowFixture f;
        MainWindow& w = *f.window;
        const auto path = f.writeFile("job.txt", "kept\r\n");
        f.answers.openAnswers.push_back(path);
        w.runCommand("file.load");
        const QString caption = w.windowTitle();

        // A file that cannot be read.
        f.answers.openAnswers.push_back(f.dir() / "missing.txt");
        QCOMPARE(w.runCommand("file.load"), CommandStatus::Stopped);
        QCOMPARE(f.answers.texts(MessageKind::Error).size(), 1u);
        QVERIFY(f.answers.texts(MessageKind::Error)[0].find("missing.txt") != std::string::npos);
        QCOMPARE(w.windowTitle(), caption);
        QCOMPARE(w.state().currentDocumentName, path.string());
        QCOMPARE(EditorText(w), QString("kept"));

        // A folder that cannot be written into keeps the name and caption.
        std::filesystem::create_directory(f.dir() / "sub");
        f.answers.saveAnswers.push_back(f.dir() / "sub");
        QCOMPARE(w.runCommand("file.save-as"), CommandStatus::Stopped);
        QCOMPARE(f.answers.texts(MessageKind::Error).size(), 2u);
        QCOMPARE(w.windowTitle(), caption);

        // A cancelled dialog is silent.
        QCOMPARE(w.runCommand("file.load"), CommandStatus::Cancelled);
        QCOMPARE(f.answers.messages.size(), 2u);
    }

    void exitAsksOnlyAboutUnsavedChangesAndOnlyYesCloses() {
        {
            // Nothing to lose: the window closes without a question.
            WindowFixture f;
            f.window->show();
            QVERIFY(f.window->close());
            QVERIFY(f.answers.questions.empty());
        }
        WindowFixture f;
        MainWindow& w = *f.window;
        CommandContext received = w.context();
        AppendWorkspaceLine(received, "received, not saved");
        int portClosed = 0;
        w.setSerialPort(nullptr, [&] { ++portClosed; });
        w.show();
        MessageCatalogue catalogue;
        QVERIFY(catalogue.load(std::filesystem::path(TARVOSEN_SOURCE_DATA_DIR) / "messages.txt"));

        f.answers.confirmAnswers = {false};
        w.runCommand("app.exit");
        QVERIFY(w.isVisible());
        QCOMPARE(portClosed, 0);
        QVERIFY(f.answers.questions.back().starts_with(*catalogue.find(msg::kExitQuestion, 2)));

        // The question follows the language chosen last.
        w.runCommand("language.english");
        f.answers.confirmAnswers = {false};
        QVERIFY(!w.close());
        QVERIFY(f.answers.questions.back().starts_with(*catalogue.find(msg::kExitQuestion, 1)));

        f.answers.confirmAnswers = {true};
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        QCOMPARE(portClosed, 1);
    }

    void progressBarLivesInTheStatusLine() {
        WindowFixture f;
        MainWindow& w = *f.window;
        w.resize(900, 500);
        w.show();
        CommandContext ctx = w.context();
        ctx.user.progressBegin(40);
        QProgressBar* bar = w.progressBar();
        QVERIFY(bar);
        QVERIFY(w.StatusLine->isAncestorOf(bar));
        QCOMPARE(bar->maximum(), 40);
        // It covers the first panel, whatever width the window gives it.
        QTRY_COMPARE(bar->width(), w.StatusPanels[0]->contentsRect().width());
        QVERIFY(w.StatusPanels[0]->contentsRect().contains(bar->geometry()));
        ctx.user.progressSetPosition(17);
        QCOMPARE(bar->value(), 17);
        ctx.user.progressEnd();
        QVERIFY(!w.progressBar());
        QVERIFY(w.StatusLine->findChildren<QProgressBar*>("ProgressBar").isEmpty());
        // One that is still shown goes with the window.
        ctx.user.progressBegin(5);
    }

    void receivedLinesAppearInBatchesAndEndResetsTheName() {
        WindowFixture f;
        MainWindow& w = *f.window;
        CommandContext ctx = w.context();
        for (int i = 0; i < 20000; ++i) AppendWorkspaceLine(ctx, "line " + std::to_string(i));
        // Shown when the event loop runs, not line by line.
        QTRY_COMPARE(w.workspaceEditor->document()->blockCount(), 20000);
        QCOMPARE(w.workspaceEditor->document()->lastBlock().text(), QString("line 19999"));

        AppendWorkspaceLine(ctx, "END");
        const std::string reset = (f.dir() / "NONAME.TXT").string();
        QCOMPARE(w.state().currentDocumentName, reset);
        // The reset name is no file yet: the caption names the program.
        QCOMPARE(w.windowTitle(), QString("Tarvosen Data Processor"));
        QTRY_COMPARE(w.workspaceEditor->document()->lastBlock().text(), QString("END"));

        // Typing while lines arrive: both end up in the workspace.
        QTextCursor cursor(w.workspaceEditor->document());
        cursor.insertText("typed ");
        AppendWorkspaceLine(ctx, "after");
        const auto received = f.dir() / "received.txt";
        f.answers.saveAnswers.push_back(received);  // the reset name is no file: Save asks
        QCOMPARE(w.runCommand("file.save"), CommandStatus::Done);
        const std::string saved = f.readFile(received);
        QVERIFY(saved.starts_with("typed line 0\r\n"));
        QVERIFY(saved.ends_with("END\r\nafter\r\n"));
    }

    void printsTheWorkspaceToPdf() {
        WindowFixture f;
        MainWindow& w = *f.window;
        const auto path = f.writeFile("job.txt", kGbChinese + ",1.000,2.000\r\nEND\r\n");
        CommandContext ctx = w.context();
        LoadDocument(ctx, path);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const auto pdf = f.dir() / "out.pdf";
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        w.printWorkspace(printer);
        QCOMPARE(printer.docName(), QString("Tarvosen Data File"));
        const std::string bytes = f.readFile(pdf);
        QVERIFY(bytes.starts_with("%PDF-"));
        QVERIFY(bytes.size() > 1000);
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
