// What a desktop program is expected to do: settings that survive a restart,
// dropped files that load, recent files, shortcuts, and questions about
// unsaved changes only when there are some.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <QLabel>

#include "adjustment/adjustment_options.h"
#include "levelling/levelling_options.h"
#include "serial/serial_options.h"
#include "app/ui/workspace_editor.h"
#include "tests/ui/window_fixture.h"

using namespace tarvosen;
using namespace tarvosen::ui;
using tarvosen::ui::test::WindowFixture;

class DesktopHabitsTest : public QObject {
    Q_OBJECT

  private slots:
    void settingsSurviveARestart() {
        WindowFixture f;
        {
            MainWindow& w = *f.window;
            w.runCommand("language.english");
            w.runCommand("instrument.dini");
            w.options().get<PortSettings>().baudRate = 11;
            w.options().get<ToleranceOptions>().limits[2] = "2.5";
            w.options().get<CosaOptions>().reduceSlope = false;
            w.setLastFolder(QString::fromStdString(f.dir().string()));
            w.show();
            QVERIFY(w.close());  // nothing unsaved: closes and keeps the settings
        }
        MainWindow again;
        again.restoreSettings();
        QCOMPARE(again.state().languageIndex, 1);
        QCOMPARE(again.menuBar(), again.menuBarOf(1).bar);
        QCOMPARE(again.instrumentLabel->text(), QString("Zeiss DINI Digital Level"));
        QCOMPARE(again.options().get<PortSettings>().baudRate, 11);
        QCOMPARE(again.options().get<ToleranceOptions>().limits[2], std::string("2.5"));
        QVERIFY(!again.options().get<CosaOptions>().reduceSlope);
        QCOMPARE(again.lastFolder(), QString::fromStdString(f.dir().string()));
    }

    void droppedAndRecentFilesLoadAndChangesAreAskedAbout() {
        WindowFixture f;
        MainWindow& w = *f.window;
        w.show();
        const auto first = f.writeFile("first.txt", "one\r\n");
        const auto second = f.writeFile("second.r5", "two\r\n");

        // A drop on the editor loads the file (once the drop has ended). Qt
        // delivers a drop only during a real drag, so the window's filter of
        // the editor's events gets it directly.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(first.string()))});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(static_cast<QObject&>(w).eventFilter(w.workspaceEditor->viewport(), &drop));
        QTRY_COMPARE(w.workspace().lines(), std::vector<std::string>{"one"});
        QVERIFY(w.windowTitle().contains("first.txt"));
        QVERIFY(f.answers.questions.empty());  // nothing was unsaved

        // Load of another file: still nothing to lose, so no question.
        f.answers.openAnswers = {second};
        QCOMPARE(w.runCommand("file.load"), CommandStatus::Done);
        QVERIFY(f.answers.questions.empty());
        QCOMPARE(w.recentFiles().size(), 2);
        QVERIFY(w.recentFiles().front().endsWith("second.r5"));

        // Typed text is a change: Clear asks, and No keeps it.
        QTest::keyClicks(w.workspaceEditor, "x");
        f.answers.confirmAnswers = {false};
        QCOMPARE(w.runCommand("file.clear"), CommandStatus::Cancelled);
        QCOMPARE(f.answers.questions.size(), 1u);
        QVERIFY(!w.workspaceEditor->toPlainText().isEmpty());

        // The recent-files menu of the attached bar loads the first file again,
        // after Yes to the question.
        f.answers.confirmAnswers = {true};
        QMenu* recent = w.menuBar()->findChild<QMenu*>("RecentFiles");
        QVERIFY(recent);
        QCOMPARE(recent->actions().size(), 2);
        recent->actions().back()->trigger();
        QCOMPARE(w.workspace().lines(), std::vector<std::string>{"one"});
        QCOMPARE(f.answers.questions.size(), 2u);
        QVERIFY(!w.hasUnsavedChanges());

        // The usual shortcuts are on the file commands.
        QCOMPARE(w.menuBarOf(2).item("file.load")->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(w.menuBarOf(1).item("file.save-as")->shortcut(), QKeySequence("Ctrl+Shift+S"));
        QCOMPARE(w.menuBarOf(3).item("file.print")->shortcut(), QKeySequence("Ctrl+P"));
    }
};

QTEST_MAIN(DesktopHabitsTest)
#include "desktop_habits_test.moc"
