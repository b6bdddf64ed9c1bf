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

#include "adjustment/ui/cqkcy_dialog.h"
#include "adjustment/ui/kesha_dialog.h"
#include "app/ui/option_dialog_registry.h"
#include "tests/support/test_context.h"

namespace tarvosen::ui {

namespace {

using adjustment::ui::TCQKCY;
using adjustment::ui::Tkesha;

// Acts on the visible dialog of type D once the event loop runs.
template <typename D>
void WhenShown(std::function<void(D*)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = dynamic_cast<D*>(w); d && d->isVisible()) return act(d);
    });
}

TEST(Tkesha, ShowsTheOptionsAndWritesWhatWasTypedBack) {
    test::TestContext t;
    auto host = FindOptionDialogFactory(OptionDialog::Kesha)(nullptr);
    WhenShown<Tkesha>([](Tkesha* d) {
        EXPECT_EQ(d->windowTitle(), "转换选项");
        EXPECT_EQ(d->Edit2->text(), "2");
        EXPECT_TRUE(d->HACheck->isChecked());
        EXPECT_EQ(d->HACheck->toolTip(), "将每一测站的后视方向都归零");
        d->Edit1->setText("/data/known.txt");
        d->Edit2->setText("1.5");
        d->SDCheck->setChecked(false);
        d->BitBtn2->click();
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(t.options.kesha.knownPointFile, "/data/known.txt");
    EXPECT_EQ(t.options.kesha.directionError, "1.5");
    EXPECT_FALSE(t.options.kesha.reduceSlope);
    EXPECT_TRUE(t.options.kesha.zeroBacksight);

    // Cancel ends the command; what was typed stays in the form.
    WhenShown<Tkesha>([](Tkesha* d) {
        EXPECT_EQ(d->Edit1->text(), "/data/known.txt");
        d->Edit4->setText("3");
        d->BitBtn3->click();
    });
    EXPECT_FALSE(host->run(t.ctx));
    EXPECT_EQ(t.options.kesha.distancePpm, "3");
    WhenShown<Tkesha>([](Tkesha* d) { d->close(); });
    EXPECT_FALSE(host->run(t.ctx));
}

TEST(TCQKCY, ShowsTodayAndStartsOnlyWithANumberAsIncrement) {
    test::TestContext t;
    t.options.cqkcy.date = std::chrono::year_month_day{std::chrono::year{2001},
                                                       std::chrono::month{2}, std::chrono::day{3}};
    t.options.cqkcy.bookFile = "from-an-earlier-command-line.xlsx";
    auto host = FindOptionDialogFactory(OptionDialog::Cqkcy)(nullptr);
    WhenShown<TCQKCY>([](TCQKCY* d) {
        EXPECT_EQ(d->DTP->date(), QDate::currentDate());
        EXPECT_EQ(d->DTP->displayFormat(), "yyyy/MM/dd");
        EXPECT_EQ(d->Edit1->text(), "DTM-330");
        EXPECT_EQ(d->DGDX->text(), "DGDX");
        EXPECT_EQ(d->LE->text(), "0.0");
        EXPECT_TRUE(d->Button1->isDefault());
        d->DGDX->setText("L2-");
        d->LE->setText("abc");
        d->CheckBox2->setChecked(false);
        // The start button refuses the increment with an error box and
        // stays open; then a number starts the export.
        QTimer::singleShot(0, [d] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    EXPECT_NE(box->text().indexOf("abc"), -1);
                    box->accept();
                }
            EXPECT_TRUE(d->isVisible());
            d->LE->setText("0.12");
            d->Button1->click();
        });
        d->Button1->click();
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(t.options.cqkcy.lineName, "L2-");
    EXPECT_EQ(t.options.cqkcy.heightIncrement, "0.12");
    EXPECT_FALSE(t.options.cqkcy.produceBook);
    EXPECT_TRUE(t.options.cqkcy.produceText);
    EXPECT_EQ(t.options.cqkcy.date, Today());
    EXPECT_TRUE(t.options.cqkcy.bookFile.empty());  // the window asks for the book's file

    WhenShown<TCQKCY>([](TCQKCY* d) {
        EXPECT_EQ(d->DGDX->text(), "L2-");
        d->close();
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
