// The option dialogs: created once at start-up in their order, shown through
// the window's user interface, and a clear message for one not built yet.
// This program registers stand-ins for every dialog.

#include <QTest>

#include "app/errors.h"
#include "app/ui/about_window.h"
#include "tests/ui/window_fixture.h"
#include "adjustment/adjustment_options.h"
#include "levelling/levelling_options.h"
#include "serial/serial_options.h"
#include "zeiss/r5_options.h"

using namespace tarvosen;
using namespace tarvosen::ui;
using tarvosen::ui::test::WindowFixture;

namespace {

std::vector<OptionDialog> created;
std::vector<OptionDialog> shown;

class StandIn : public OptionDialogHost {
  public:
    explicit StandIn(OptionDialog id) : id_(id) { created.push_back(id); }
    bool run(CommandContext& ctx) override {
        shown.push_back(id_);
        ctx.options.get<R5Options>().includeCode = false;  // a dialog writes its values back
        return true;
    }

  private:
    OptionDialog id_;
};

void RegisterStandIns() {
    for (OptionDialog id : {kPortSettingsDialog, kR5OptionsDialog, kCosaExportDialog,
                            kTolerancesDialog, kTraverseExportDialog, kGeoBookDialog})
        RegisterOptionDialog(id, [id](QWidget*) { return std::make_unique<StandIn>(id); });
}

}  // namespace

class DialogRegistryTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        RegisterStandIns();
        created.clear();
        shown.clear();
    }

    void dialogsAreCreatedOnceInStartUpOrder() {
        WindowFixture f;
        f.window->createDialogs();
        f.window->createDialogs();
        const std::vector<OptionDialog> order = {kPortSettingsDialog,  kR5OptionsDialog,
                                                 kCosaExportDialog, kTolerancesDialog,
                                                 kTraverseExportDialog, kGeoBookDialog};
        QVERIFY(created == order);
        QCOMPARE(f.window->findChildren<AboutBox*>().size(), 1);
    }

    void commandsShowTheRegisteredDialog() {
        WindowFixture f;
        MainWindow& w = *f.window;
        w.createDialogs();
        w.user().setAnswers(nullptr);  // the real path: UserInterface -> registry host
        QVERIFY(w.options().get<R5Options>().includeCode);
        QCOMPARE(w.runCommand("convert.r5.options"), CommandStatus::Done);
        QVERIFY(shown == std::vector<OptionDialog>{kR5OptionsDialog});
        QVERIFY(!w.options().get<R5Options>().includeCode);
        QCOMPARE(created.size(), 6u);  // shown again, never made again
    }

    void aDialogNotBuiltSaysSo() {
        RegisterOptionDialog(kR5OptionsDialog, {});
        WindowFixture f;
        MainWindow& w = *f.window;
        w.createDialogs();
        // Questions and messages still come from the script; the dialog goes
        // to the window as it would without one.
        f.answers.onDialog = [&w](OptionDialog id) { return w.runOptionDialog(id); };
        QCOMPARE(w.runCommand("convert.r5.options"), CommandStatus::Stopped);
        const auto errors = f.answers.texts(MessageKind::Error);
        QCOMPARE(errors.size(), 1u);
        QCOMPARE(errors[0], std::string("The R5 option dialog is not built yet"));
    }
};

QTEST_MAIN(DialogRegistryTest)
#include "dialog_registry_test.moc"
