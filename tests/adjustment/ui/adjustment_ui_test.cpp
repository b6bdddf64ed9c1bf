// The Nikon raw exports' dialogs on the offscreen platform: values shown
// from and written back to the options, Cancel and the close box, today's
// date at every showing, and the start button refusing a bad increment.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <map>

#include "adjustment/ui/traverse_options_dialog.h"
#include "adjustment/ui/cosa_options_dialog.h"
#include "app/ui/option_dialog_registry.h"
#include "tests/support/test_context.h"
#include "adjustment/adjustment_options.h"
#include "app/calendar.h"

namespace tarvosen::ui {

namespace {

using adjustment::ui::TraverseOptionsDialog;
using adjustment::ui::CosaOptionsDialog;

// Acts on the visible dialog of type D once the event loop runs.
template <typename D>
void WhenShown(std::function<void(D*)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = dynamic_cast<D*>(w); d && d->isVisible()) return act(d);
    });
}

TEST(CosaOptionsDialog, ShowsTheOptionsAndWritesWhatWasTypedBack) {
    test::TestContext t;
    auto host = FindOptionDialogFactory(kCosaExportDialog)(nullptr);
    const std::string known = t.writeFile("known.txt", "K1,1000,2000\r\n").string();
    WhenShown<CosaOptionsDialog>([known](CosaOptionsDialog* d) {
        EXPECT_EQ(d->windowTitle(), "转换选项");
        EXPECT_EQ(d->directionErrorEdit->text(), "2");
        EXPECT_TRUE(d->zeroBacksightCheck->isChecked());
        EXPECT_EQ(d->zeroBacksightCheck->toolTip(), "将每一测站的后视方向都归零");
        d->knownPointFileEdit->setText(QString::fromStdString(known));
        d->directionErrorEdit->setText("1.5");
        d->reduceSlopeCheck->setChecked(false);
        d->okButton->click();
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<CosaOptions>().knownPointFile, known);
    EXPECT_EQ(t.options.get<CosaOptions>().directionError, "1.5");
    EXPECT_FALSE(t.options.get<CosaOptions>().reduceSlope);
    EXPECT_TRUE(t.options.get<CosaOptions>().zeroBacksight);

    // Cancel ends the command; what was typed stays in the form.
    WhenShown<CosaOptionsDialog>([known](CosaOptionsDialog* d) {
        EXPECT_EQ(d->knownPointFileEdit->text(), QString::fromStdString(known));
        d->distancePpmEdit->setText("3");
        d->cancelButton->click();
    });
    EXPECT_FALSE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<CosaOptions>().distancePpm, "3");
    WhenShown<CosaOptionsDialog>([](CosaOptionsDialog* d) { d->close(); });
    EXPECT_FALSE(host->run(t.ctx));
}

// OK refuses a known-point file that is not there and an accuracy that is no
// number: the field is marked, the reason shown, the dialog stays open.
TEST(CosaOptionsDialog, RefusesWhatIsNotThereOrNoNumberAndStaysOpen) {
    test::TestContext t;
    auto host = FindOptionDialogFactory(kCosaExportDialog)(nullptr);
    WhenShown<CosaOptionsDialog>([](CosaOptionsDialog* d) {
        auto answerBox = [d](const char* expected, auto next) {
            QTimer::singleShot(0, [d, expected, next] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                        EXPECT_NE(box->text().indexOf(QString::fromUtf8(expected)), -1)
                            << box->text().toStdString();
                        box->accept();
                    }
                EXPECT_TRUE(d->isVisible());
                next();
            });
        };
        d->knownPointFileEdit->setText("/no/such/known.txt");
        answerBox("/no/such/known.txt", [d, answerBox] {
            EXPECT_FALSE(d->knownPointFileEdit->styleSheet().isEmpty());
            d->knownPointFileEdit->clear();
            d->distancePpmEdit->setText("2 ppm");
            answerBox("2 ppm", [d] {
                EXPECT_TRUE(d->knownPointFileEdit->styleSheet().isEmpty());
                EXPECT_FALSE(d->distancePpmEdit->styleSheet().isEmpty());
                d->distancePpmEdit->setText("2.5");
                d->okButton->click();
            });
            d->okButton->click();
        });
        d->okButton->click();
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<CosaOptions>().distancePpm, "2.5");
    EXPECT_TRUE(t.options.get<CosaOptions>().knownPointFile.empty());
}

TEST(TraverseOptionsDialog, ShowsTodayAndStartsOnlyWithANumberAsIncrement) {
    test::TestContext t;
    t.options.get<TraverseOptions>().date = std::chrono::year_month_day{std::chrono::year{2001},
                                                       std::chrono::month{2}, std::chrono::day{3}};
    t.options.get<TraverseOptions>().bookFile = "from-an-earlier-command-line.xlsx";
    auto host = FindOptionDialogFactory(kTraverseExportDialog)(nullptr);
    WhenShown<TraverseOptionsDialog>([](TraverseOptionsDialog* d) {
        EXPECT_EQ(d->dateEdit->date(), QDate::currentDate());
        EXPECT_EQ(d->dateEdit->displayFormat(), "yyyy/MM/dd");
        EXPECT_EQ(d->modelEdit->text(), "DTM-330");
        EXPECT_EQ(d->lineNameEdit->text(), "DGDX");
        EXPECT_EQ(d->heightIncrementEdit->text(), "0.0");
        EXPECT_TRUE(d->startButton->isDefault());
        d->lineNameEdit->setText("L2-");
        d->heightIncrementEdit->setText("abc");
        d->produceBookCheck->setChecked(false);
        // The start button refuses the increment with an error box and
        // stays open; then a number starts the export.
        QTimer::singleShot(0, [d] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    EXPECT_NE(box->text().indexOf("abc"), -1);
                    box->accept();
                }
            EXPECT_TRUE(d->isVisible());
            d->heightIncrementEdit->setText("0.12");
            d->startButton->click();
        });
        d->startButton->click();
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<TraverseOptions>().lineName, "L2-");
    EXPECT_EQ(t.options.get<TraverseOptions>().heightIncrement, "0.12");
    EXPECT_FALSE(t.options.get<TraverseOptions>().produceBook);
    EXPECT_TRUE(t.options.get<TraverseOptions>().produceText);
    EXPECT_EQ(t.options.get<TraverseOptions>().date, Today());
    EXPECT_TRUE(t.options.get<TraverseOptions>().bookFile.empty());  // the window asks for the book's file

    WhenShown<TraverseOptionsDialog>([](TraverseOptionsDialog* d) {
        EXPECT_EQ(d->lineNameEdit->text(), "L2-");
        d->cancelButton->click();
    });
    EXPECT_FALSE(host->run(t.ctx));
}

}  // namespace
}  // namespace tarvosen::ui

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
