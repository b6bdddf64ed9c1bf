// The record books' dialogs on the offscreen platform: the class choice
// loading its limits, typed limits kept between showings, and the start
// button of the geological book's dialog.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QTimer>
#include <QListWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>

#include "app/ui/option_dialog_registry.h"
#include "levelling/ui/tolerance_dialog.h"
#include "levelling/ui/geo_book_dialog.h"
#include "levelling/ui/level_network_dialog.h"
#include "tests/support/test_context.h"
#include "levelling/levelling_options.h"

namespace tarvosen::ui {

namespace {

// Acts on the dialog of type D once it is shown.
template <typename D>
void WhenShown(std::function<void(D*)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<D*>(w); d && d->isVisible()) return act(d);
    });
}

// The user picks a class in the list.
void Choose(ToleranceDialog* d, int index) {
    d->classBox()->setCurrentIndex(index);
    emit d->classBox()->activated(index);
}

std::vector<std::string> Fields(ToleranceDialog* d) {
    std::vector<std::string> out;
    for (int f = 0; f < 5; ++f) out.push_back(d->limitField(f)->text().toStdString());
    return out;
}

TEST(ToleranceDialog, ClassChoiceLoadsItsLimitsAndOkStoresTheFields) {
    test::TestContext t;
    auto host = FindOptionDialogFactory(kTolerancesDialog)(nullptr);
    ASSERT_TRUE(host);
    std::vector<std::string> opened, second, first;
    QString caption;
    WhenShown<ToleranceDialog>([&](ToleranceDialog* d) {
        caption = d->windowTitle();
        opened = Fields(d);
        Choose(d, 1);
        second = Fields(d);
        Choose(d, 0);
        first = Fields(d);
        Choose(d, 1);
        d->limitField(0)->setText("45");  // the user edits a limit
        d->accept();
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(caption, QString::fromUtf8("DINI 转换选项"));
    EXPECT_EQ(opened, (std::vector<std::string>{"30", "0.5", "1.5", "0.3", "0.4"}));
    EXPECT_EQ(second, (std::vector<std::string>{"50", "1", "3", "0.4", "0.6"}));
    EXPECT_EQ(first, opened);
    EXPECT_EQ(t.options.get<ToleranceOptions>().levellingClass, 1);
    EXPECT_EQ(t.options.get<ToleranceOptions>().limits, (std::array<std::string, 5>{"45", "1", "3", "0.4", "0.6"}));
}

TEST(ToleranceDialog, CancelChangesNoOptionAndTypedValuesStay) {
    test::TestContext t;
    auto host = FindOptionDialogFactory(kTolerancesDialog)(nullptr);
    WhenShown<ToleranceDialog>([](ToleranceDialog* d) {
        Choose(d, 2);
        d->reject();
    });
    EXPECT_FALSE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<ToleranceOptions>().levellingClass, 0);
    EXPECT_EQ(t.options.get<ToleranceOptions>().limits[0], "30");
    std::vector<std::string> shown;
    WhenShown<ToleranceDialog>([&](ToleranceDialog* d) {
        shown = Fields(d);
        d->accept();
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(shown[0], "100");  // the dialog kept what the user chose
    EXPECT_EQ(t.options.get<ToleranceOptions>().levellingClass, 2);
}

// OK refuses a limit that is no number above 0: the field is marked, the
// dialog stays open; the corrected limit is stored.
TEST(ToleranceDialog, OkRefusesALimitThatIsNoNumberAndStaysOpen) {
    test::TestContext t;
    auto host = FindOptionDialogFactory(kTolerancesDialog)(nullptr);
    WhenShown<ToleranceDialog>([](ToleranceDialog* d) {
        QPushButton* ok = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        d->limitField(3)->setText("0,3");
        QTimer::singleShot(0, [d, ok] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    EXPECT_NE(box->text().indexOf("0,3"), -1) << box->text().toStdString();
                    box->accept();
                }
            EXPECT_TRUE(d->isVisible());
            EXPECT_FALSE(d->limitField(3)->styleSheet().isEmpty());
            d->limitField(3)->setText("0.25");
            ok->click();
        });
        ok->click();
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<ToleranceOptions>().limits[3], "0.25");
}

// Clicks OK and closes the refusal it shows; its text, or empty when none showed.
QString ClickOkAndCloseRefusal(QPushButton* ok) {
    auto text = std::make_shared<QString>();
    QTimer::singleShot(0, [text] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                *text = box->text();
                box->accept();
            }
    });
    ok->click();
    return *text;
}

// OK refuses each file that is not there, input files, profile file and
// point files alike, marks it and stays open; with every file found the
// choices are stored.
TEST(LevelNetworkDialog, OkRefusesMissingFilesAndStaysOpen) {
    test::TestContext t;
    const auto m5 = std::filesystem::temp_directory_path() / "level-network-dialog-test.dat";
    std::ofstream(m5) << "For M5|\r\n";
    const std::string missing = "/no/such/folder/file.txt";
    auto& o = t.options.get<LevelNetworkOptions>();
    o.inputFiles = {m5, "/no/such/folder/return.dat"};
    o.knownHeightsFile = missing;
    o.profile = "/no/such/folder/profile.json";
    auto host = FindOptionDialogFactory(kLevelNetworkDialog)(nullptr);
    ASSERT_TRUE(host);
    std::vector<QString> refusals;
    bool stayedOpen = true, marked = true;
    WhenShown<LevelNetworkDialog>([&](LevelNetworkDialog* d) {
        QPushButton* ok = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        auto refuse = [&](const std::function<bool()>& isMarked) {
            refusals.push_back(ClickOkAndCloseRefusal(ok));
            stayedOpen = stayedOpen && d->isVisible();
            marked = marked && isMarked();
        };
        refuse([d] { return d->fileList()->currentRow() == 1; });
        delete d->fileList()->item(1);
        refuse([d] { return !d->profileBox()->lineEdit()->styleSheet().isEmpty(); });
        d->profileBox()->setCurrentText("gb12897-1");
        refuse([d] { return !d->knownHeightsField()->styleSheet().isEmpty(); });
        d->knownHeightsField()->clear();
        d->benchmarksField()->setText(QString::fromStdString(m5.string()));
        refusals.push_back(ClickOkAndCloseRefusal(ok));
    });
    EXPECT_TRUE(host->run(t.ctx));
    std::filesystem::remove(m5);
    ASSERT_EQ(refusals.size(), 4u);
    EXPECT_NE(refusals[0].indexOf("return.dat"), -1) << refusals[0].toStdString();
    EXPECT_NE(refusals[1].indexOf("profile.json"), -1) << refusals[1].toStdString();
    EXPECT_NE(refusals[2].indexOf("file.txt"), -1) << refusals[2].toStdString();
    EXPECT_TRUE(refusals[3].isEmpty());
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(marked);
    EXPECT_EQ(o.inputFiles, std::vector<std::filesystem::path>{m5});
    EXPECT_EQ(o.profile, "gb12897-1");
    EXPECT_EQ(o.benchmarksFile, m5);
    EXPECT_TRUE(o.knownHeightsFile.empty());
}

TEST(GeoBookDialog, StartButtonStoresTheConditionsAndTheDateIsToday) {
    test::TestContext t;
    t.options.get<GeoBookOptions>().date = std::chrono::year{2001} / 1 / 1;
    auto host = FindOptionDialogFactory(kGeoBookDialog)(nullptr);
    ASSERT_TRUE(host);
    QDate shownDate;
    QString instrument;
    WhenShown<GeoBookDialog>([&](GeoBookDialog* d) {
        shownDate = d->datePicker()->date();
        instrument = d->instrumentBox()->currentText();
        d->observerField()->setText(QString::fromUtf8("李明"));
        d->instrumentBox()->setCurrentIndex(3);
        d->datePicker()->setDate(QDate(2024, 6, 24));
        d->startButton()->click();
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_EQ(shownDate, QDate::currentDate());
    EXPECT_EQ(instrument, "110113");
    EXPECT_EQ(t.options.get<GeoBookOptions>().observer, "李明");
    EXPECT_EQ(t.options.get<GeoBookOptions>().instrument, "700737");
    EXPECT_EQ(t.options.get<GeoBookOptions>().date, std::chrono::year{2024} / 6 / 24);

    WhenShown<GeoBookDialog>([](GeoBookDialog* d) { d->reject(); });
    EXPECT_FALSE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<GeoBookOptions>().date, std::chrono::year{2024} / 6 / 24);
}

}  // namespace
}  // namespace tarvosen::ui

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
