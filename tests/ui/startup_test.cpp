// Start-up: the splash stays at least its minimum time, shows the memory
// figures, and is gone when the window is handed over.

#include <chrono>

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

#include "app/ui/about_window.h"
#include "app/ui/main_form.h"
#include "app/ui/startup.h"
#include "app/version.h"

using namespace tarvosen::ui;

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void splashStaysTwoSecondsAndIsGoneAfterwards() {
        QCOMPARE(kMinimumSplashTime, std::chrono::milliseconds(2000));
        const auto start = std::chrono::steady_clock::now();
        auto window = StartUp();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        QVERIFY(elapsed >= std::chrono::milliseconds(2000));
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<SplashWindow*>(w));
        QVERIFY(window->findChild<AboutBox*>());
    }

    void splashShowsMemoryFigures() {
        SplashWindow splash;
        splash.showNow();
        QVERIFY(splash.isVisible());
        QCOMPARE(splash.size(), QSize(459, 268));
        QVERIFY(QRegularExpression("^\\d{1,3}(,\\d{3})*KB$").match(splash.pRes->text()).hasMatch());
        QVERIFY(QRegularExpression("^\\d{1,3}%$").match(splash.fRes->text()).hasMatch());
    }

    // The status bar, the splash and the about box show the version of app/version.h.
    void everyVersionTextComesFromTheVersionHeader() {
        MainWindow window;
        QCOMPARE(window.StatusPanels[0]->text(), QString::fromUtf8("版本 %1（内部版本 %2）")
                                                     .arg(tarvosen::kVersionNumber, tarvosen::kBuildNumber));
        QCOMPARE(window.StatusPanels[2]->text(), QString(tarvosen::kVersionNumber));
        const auto showsVersion = [](const QWidget& w) {
            for (const QLabel* label : w.findChildren<QLabel*>())
                if (label->text() == QString(tarvosen::kVersionText)) return true;
            return false;
        };
        QVERIFY(showsVersion(SplashWindow()));
        QVERIFY(showsVersion(AboutBox()));
        QVERIFY(QString(tarvosen::kVersionText).contains(tarvosen::kVersionNumber));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
