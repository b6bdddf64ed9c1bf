// The option dialogs of the books and exports speak the language chosen in
// the Language menu, with the shipped catalogue: no Chinese left in English,
// Traditional characters in Big5, and the GB texts back after a switch, Qt's
// own OK and Cancel included.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "adjustment/adjustment_options.h"
#include "levelling/levelling_options.h"
#include "levelling/network/level_network_options.h"
#include "tests/ui/window_fixture.h"

using namespace tarvosen;
using namespace tarvosen::ui;
using tarvosen::ui::test::WindowFixture;

namespace {

// True for a text with CJK punctuation, ideographs or full-width forms (such as "：").
bool HasChinese(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF) ||
            (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// Everything the dialog shows as text: its title, labels, buttons, group
// titles, list entries and tooltips.
QStringList ShownTexts(QDialog* d) {
    QStringList texts{d->windowTitle()};
    for (auto* label : d->findChildren<QLabel*>()) texts << label->text();
    for (auto* button : d->findChildren<QAbstractButton*>()) texts << button->text() << button->toolTip();
    for (auto* group : d->findChildren<QGroupBox*>()) texts << group->title();
    for (auto* box : d->findChildren<QComboBox*>())
        for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
    return texts;
}

// Runs the dialog through the window and returns what it showed.
QStringList TextsOf(MainWindow& w, OptionDialog id) {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        texts = ShownTexts(d);
        d->reject();
    });
    w.runOptionDialog(id);
    return texts;
}

}  // namespace

class DialogLanguageTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogsFollowTheLanguageMenu() {
        WindowFixture f;
        MainWindow& w = *f.window;
        const struct {
            OptionDialog id;
            const char* title;
            const char* label;
        } english[] = {
            {kCosaExportDialog, "Conversion Options", "Reduce slope distance to horizontal"},
            {kTraverseExportDialog, "Conversion Options", "Target/instrument height increment"},
            {kTolerancesDialog, "DINI Conversion Options", "Max. sight length"},
            {kGeoBookDialog, "Conversion Options", "Wind direction:"},
            {kLevelNetworkDialog, "Levelling Network Check and Adjustment", "Known heights file"},
        };
        w.runCommand("language.english");
        for (const auto& dialog : english) {
            const QStringList texts = TextsOf(w, dialog.id);
            QVERIFY2(!texts.isEmpty(), dialog.title);
            QCOMPARE(texts.first(), QString(dialog.title));
            QVERIFY2(texts.contains(dialog.label), dialog.label);
            for (const QString& text : texts) QVERIFY2(!HasChinese(text), qPrintable(text));
        }

        // A refusal speaks the language too: the limit's English label and the text typed.
        QString refusal;
        QTimer::singleShot(0, [&refusal] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            d->findChild<QLineEdit*>("Limit2")->setText("3m");
            QTimer::singleShot(0, [&refusal] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    refusal = box->text();
                    box->accept();
                }
            });
            d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            d->reject();
        });
        w.runOptionDialog(kTolerancesDialog);
        QCOMPARE(refusal, QString("Max. difference of sight lengths must be a number above 0: 3m"));

        w.runCommand("language.big5");
        QStringList texts = TextsOf(w, kCosaExportDialog);
        QVERIFY(texts.contains(QString::fromUtf8("已知點檔案：")));
        QVERIFY(texts.contains(QString::fromUtf8("將每一測站的後視方向都歸零")));

        w.runCommand("language.gb");
        texts = TextsOf(w, kTolerancesDialog);
        QCOMPARE(texts.first(), QString::fromUtf8("DINI 转换选项"));
        QVERIFY(texts.contains(QString::fromUtf8("视距差(m)≦")));
        QVERIFY(texts.contains(QString::fromUtf8("二等")));
        // Qt's own buttons speak it too (the translations Qt ships).
        QVERIFY(texts.contains(QString::fromUtf8("确定")));
        QVERIFY(!texts.contains("OK"));
    }
};

QTEST_MAIN(DialogLanguageTest)
#include "dialog_language_test.moc"
