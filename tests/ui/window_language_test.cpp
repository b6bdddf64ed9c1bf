// Every text the window shows in a language belongs to that language: it is
// one of the catalogue's texts of it (read here from data/messages.txt), a
// caption of its menu bar or toolbar, or one of Qt's own texts as Qt's
// translations of that language give them. Nothing is left in another
// language: menus, tooltips, the lamp and status panels, the instrument label,
// every option dialog, the about box and the user guide's window.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "adjustment/adjustment_options.h"
#include "app/command.h"
#include "app/ui/elided_label.h"
#include "app/ui/findings_dock.h"
#include "app/ui/manual_window.h"
#include "app/ui/signal_lamp_panel.h"
#include "app/ui/port_status.h"
#include "levelling/levelling_options.h"
#include "levelling/network/level_network_options.h"
#include "serial/serial_options.h"
#include "tests/ui/window_fixture.h"
#include "zeiss/r5_options.h"

using namespace tarvosen;
using namespace tarvosen::ui;
using tarvosen::ui::test::WindowFixture;

namespace {

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// What one language may show.
struct LanguageTexts {
    QSet<QString> exact;
    QList<QRegularExpression> patterns;  // catalogue texts with places (%1 ...) filled in
    bool holds(const QString& text) const {
        if (exact.contains(text)) return true;
        for (const QRegularExpression& p : patterns)
            if (p.match(text).hasMatch()) return true;
        return false;
    }
};

LanguageTexts AllowedTexts(int language) {
    LanguageTexts allowed;
    QFile file(TARVOSEN_SOURCE_DATA_DIR "/messages.txt");
    if (!file.open(QIODevice::ReadOnly)) qFatal("no messages.txt");
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype tab = line.indexOf('\t');
        if (line.startsWith('#') || tab < 0 || line.left(tab).toInt() % 10 != language) continue;
        const QString text = line.mid(tab + 1).replace("\\n", "\n");
        allowed.exact.insert(text);
        if (text.contains(QRegularExpression("%\\d"))) {
            QString pattern = QRegularExpression::escape(text);
            pattern.replace(QRegularExpression("\\\\%\\d"), ".*");
            allowed.patterns << QRegularExpression("^" + pattern + "$",
                                                   QRegularExpression::DotMatchesEverythingOption);
        }
    }
    for (const CommandRow& row : CommandTable()) {
        const MenuPlace& place = language == 1 ? row.english : language == 3 ? row.big5 : row.gb;
        allowed.exact.insert(Text(place.text));
        allowed.exact.insert(Text(place.text).remove('&'));  // the instrument label
    }
    for (const ToolbarButton& button : ToolbarLayout()) allowed.exact.insert(Text(button.hint(language)));
    // Qt's own button texts, as its translation of the language has them; in
    // Chinese only when a translation was found (the English word otherwise).
    for (const char* source : {"OK", "Cancel", "Close", "&Yes", "&No"}) {
        const QString shown = QCoreApplication::translate("QPlatformTheme", source);
        if (language == 1 || shown != source) allowed.exact.insert(shown);
    }
    // Names that read the same in every language.
    for (const char* name : {"m", "mm", "ppm", "gb12897-1", "gb12897-2", "gb12898-3", "gb12898-4", "Mem/1", "Mem/2", "Mem/3", "CTS", "DTR", "XonXoff", "...",
                             "English", "Simplified Chinese (GB)", "Traditional Chinese (Big5)"})
        allowed.exact.insert(name);
    return allowed;
}

bool HasLetter(const QString& text) {
    for (QChar c : text)
        if (c.isLetter()) return true;
    return false;
}

// Characters only one of the two Chinese scripts writes.
const QString kSimplifiedOnly = QString::fromUtf8("数据计机准仪转换传载设录检导线测调级误网与关帮处储确认选项读");
const QString kTraditionalOnly = QString::fromUtf8("數據計機準儀轉換傳載設錄檢導線測調級誤網與關幫處儲確認選項讀");

QStringList WidgetTexts(const QWidget* w) {
    QStringList texts{w->windowTitle()};
    for (auto* label : w->findChildren<QLabel*>()) texts << label->text() << label->toolTip();
    for (auto* button : w->findChildren<QAbstractButton*>()) texts << button->text() << button->toolTip();
    for (auto* group : w->findChildren<QGroupBox*>()) texts << group->title();
    for (auto* tabs : w->findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
    for (auto* box : w->findChildren<QComboBox*>())
        for (int i = 0; i < box->count(); ++i)
            if (!box->itemText(i).startsWith("/dev/") && !box->itemText(i).startsWith("Com"))
                texts << box->itemText(i);
    return texts;
}

void MenuTexts(const QList<QAction*>& actions, QStringList& texts) {
    for (QAction* action : actions) {
        if (action->isSeparator()) continue;
        texts << action->text();
        if (action->menu()) MenuTexts(action->menu()->actions(), texts);
    }
}

// What the modal window opened by `open` shows.
QStringList ModalTexts(const std::function<void()>& open) {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            texts = WidgetTexts(d);
            d->reject();
        }
    });
    open();
    return texts;
}

QStringList WindowTexts(MainWindow& w) {
    QStringList texts;
    MenuTexts(w.menuBar()->actions(), texts);
    for (QAction* action : w.commandToolBar->actions())
        if (action->objectName().endsWith("Button")) texts << action->toolTip();
    texts << w.instrumentLabel->text() << w.StatusPanels[0]->text() << w.StatusPanels[1]->text()
          << w.cancelButton()->text() << w.findingsDock()->windowTitle();
    for (auto* label : w.signalPanel->findChildren<QLabel*>()) texts << label->text();
    for (OptionDialog dialog : {kPortSettingsDialog, kR5OptionsDialog, kCosaExportDialog,
                                kTolerancesDialog, kTraverseExportDialog, kGeoBookDialog,
                                kLevelNetworkDialog})
        texts << ModalTexts([&] { w.runOptionDialog(dialog); });
    texts << ModalTexts([&] { w.runCommand("help.about"); });
    w.runCommand("help.manual");
    texts << WidgetTexts(w.manualWindow());
    w.manualWindow()->close();
    return texts;
}

}  // namespace

class WindowLanguageTest : public QObject {
    Q_OBJECT

  private slots:
    void everyShownTextIsOfTheChosenLanguage() {
        WindowFixture f;
        MainWindow& w = *f.window;
        const struct {
            const char* command;
            int language;
            const QString* otherScript;
        } languages[] = {{"language.english", 1, nullptr},
                         {"language.big5", 3, &kSimplifiedOnly},
                         {"language.gb", 2, &kTraditionalOnly}};
        for (const auto& language : languages) {
            w.runCommand(language.command);
            const LanguageTexts allowed = AllowedTexts(language.language);
            QStringList wrong;
            for (const QString& text : WindowTexts(w)) {
                if (!HasLetter(text)) continue;
                bool otherScript = false;
                for (QChar c : text) otherScript |= language.otherScript && language.otherScript->contains(c);
                if (!allowed.holds(text) || otherScript) wrong << text;
            }
            wrong.removeDuplicates();
            QVERIFY2(wrong.isEmpty(), qPrintable(QString("%1: %2").arg(language.command, wrong.join(" | "))));
        }
    }
};

QTEST_MAIN(WindowLanguageTest)
#include "window_language_test.moc"
