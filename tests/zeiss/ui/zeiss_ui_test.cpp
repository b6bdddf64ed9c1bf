// The R5 option dialog on the offscreen platform: clicks take effect at once,
// the values persist between showings, and the texts follow the language.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <map>

#include "app/ui/option_dialog_registry.h"
#include "tests/support/test_context.h"
#include "zeiss/ui/r5_options_dialog.h"
#include "points/point_list_options.h"
#include "zeiss/r5_options.h"

namespace tarvosen::ui {

namespace {

using zeiss::ui::R5OptionsDialog;

// Acts on the dialog once it is shown, then closes it with OK (or Cancel).
void WhenShown(std::function<void(R5OptionsDialog*)> act, bool ok = true) {
    QTimer::singleShot(0, [act, ok] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = dynamic_cast<R5OptionsDialog*>(w); d && d->isVisible()) {
                act(d);
                d->buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
                return;
            }
    });
}

TEST(R5OptionsDialog, ClicksTakeEffectAtOnceAndPersist) {
    test::TestContext t;
    auto factory = FindOptionDialogFactory(kR5OptionsDialog);
    ASSERT_TRUE(factory);
    auto host = factory(nullptr);

    bool checked = false;
    WhenShown([&](R5OptionsDialog* d) {
        // The initial options: Mem/1, Include Code, letters converted.
        EXPECT_TRUE(d->Mem[0]->isChecked());
        EXPECT_TRUE(d->includeCodeCheck->isChecked());
        EXPECT_FALSE(d->reassignNamesCheck->isChecked());
        EXPECT_TRUE(d->alphabeticToNumberCheck->isChecked());
        EXPECT_TRUE(d->Layout[0]->isChecked());  // automatic
        EXPECT_GE(d->width(), 387);
        EXPECT_GE(d->height(), 147);
        d->Mem[1]->click();
        d->includeCodeCheck->click();
        d->reassignNamesCheck->click();
        d->alphabeticToNumberCheck->click();
        d->Layout[2]->click();
        // No OK needed: the options already hold the clicks.
        EXPECT_EQ(t.options.get<R5Options>().recordFormat, 1);
        EXPECT_FALSE(t.options.get<R5Options>().computeFromObservations());
        EXPECT_FALSE(t.options.get<R5Options>().includeCode);
        EXPECT_TRUE(t.options.get<R5Options>().reassignPointNames);
        EXPECT_FALSE(t.options.get<R5Options>().convertAlphabeticToNumber);
        EXPECT_EQ(t.options.get<PointListOptions>().layout, PointListLayout::Cass);
        checked = true;
    });
    EXPECT_TRUE(host->run(t.ctx));
    EXPECT_TRUE(checked);

    t.options.get<R5Options>().recordFormat = 2;  // as the command line would set it
    WhenShown([&](R5OptionsDialog* d) {
        EXPECT_TRUE(d->Mem[2]->isChecked());
        EXPECT_FALSE(d->includeCodeCheck->isChecked());
        EXPECT_TRUE(d->reassignNamesCheck->isChecked());
        EXPECT_TRUE(d->Layout[2]->isChecked());
        d->Layout[1]->click();
    });
    host->run(t.ctx);
    EXPECT_EQ(t.options.get<PointListOptions>().layout, PointListLayout::Own);

    // Cancel puts back what the dialog was opened with.
    WhenShown([&](R5OptionsDialog* d) {
        d->Mem[0]->click();
        d->includeCodeCheck->click();
        d->Layout[0]->click();
    }, false);
    EXPECT_FALSE(host->run(t.ctx));
    EXPECT_EQ(t.options.get<R5Options>().recordFormat, 2);
    EXPECT_FALSE(t.options.get<R5Options>().includeCode);
    EXPECT_EQ(t.options.get<PointListOptions>().layout, PointListLayout::Own);
}

TEST(R5OptionsDialog, TextsFollowTheLanguageWhenShown) {
    test::TestContext t;
    auto host = FindOptionDialogFactory(kR5OptionsDialog)(nullptr);
    // Without a catalogue the form keeps its own texts.
    WhenShown([](R5OptionsDialog* d) {
        EXPECT_EQ(d->windowTitle(), "R5 options");
        EXPECT_EQ(d->reassignNamesCheck->text(), "Re-assign point names");
        EXPECT_EQ(d->noteLabel->text(),
                  "Note: Coordinates are calculated only when the record format is Mem/1");
    });
    host->run(t.ctx);

    t.catalogue.loadFromText("3002\t转换选项\n3102\tR5 记录格式\n3203\t包含編碼\n");
    WhenShown([](R5OptionsDialog* d) {
        EXPECT_EQ(d->windowTitle(), "转换选项");
        EXPECT_EQ(d->recordFormatGroup->title(), "R5 记录格式");
        EXPECT_EQ(d->includeCodeCheck->text(), "Include codes");  // no GB text for it
    });
    host->run(t.ctx);
    t.state.languageIndex = 3;
    WhenShown([](R5OptionsDialog* d) { EXPECT_EQ(d->includeCodeCheck->text(), "包含編碼"); });
    host->run(t.ctx);
}

}  // namespace
}  // namespace tarvosen::ui

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
