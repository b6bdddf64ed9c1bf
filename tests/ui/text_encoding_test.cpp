// What the window shows of workspace bytes and how it writes text back; the
// file dialog filters; the splash's memory figures.

#include <QRegularExpression>
#include <QTest>

#include "app/file_commands.h"
#include "app/ui/file_filter.h"
#include "app/ui/memory_status.h"
#include "app/ui/text_encoding.h"

using namespace tarvosen;
using namespace tarvosen::ui;

class TextEncodingTest : public QObject {
    Q_OBJECT

  private slots:
    void everyLineComesBackByteForByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ascii") << QByteArray("1,100.000,200.000") << QString("1,100.000,200.000");
        QTest::newRow("empty") << QByteArray("") << QString("");
        QTest::newRow("utf-8") << QByteArray("点号 1") << QString::fromUtf8("点号 1");
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBFPN") << QChar(0xFEFF) + QString("PN");
        QTest::newRow("utf-8 4 bytes") << QByteArray("\xF0\xA0\x80\x80") << QString::fromUtf8("𠀀");
        QTest::newRow("gb18030 2 bytes")
            << QByteArray("\xD6\xD0\xCE\xC4") << QString::fromUtf8("中文");
        QTest::newRow("gb18030 4 bytes") << QByteArray("\x81\x30\x84\x32") << QString(QChar(0xA0));
        QTest::newRow("gb18030 supplementary")
            << QByteArray("\x95\x32\x82\x36") << QString::fromUtf8("𠀀");
        QTest::newRow("stray high bytes") << QByteArray(
                                                 "A\xFF\x80"
                                                 "B")
                                          << QString("A") + QChar(0xDCFF) + QChar(0xDC80) + "B";
        QTest::newRow("truncated lead byte")
            << QByteArray("\xD6\xD0\xCE") << QString::fromUtf8("中") + QChar(0xDCCE);
        QTest::newRow("overlong utf-8 is read as gb18030")
            << QByteArray("\xC0\xAF") << QString::fromUtf8("蜡");
        QTest::newRow("encoded surrogate is not utf-8") << QByteArray("\xED\xA0\x80") << QString();
        QTest::newRow("control characters") << QByteArray(
                                                   "a\tb\x1A"
                                                   "c")
                                            << QString(
                                                   "a\tb\x1A"
                                                   "c");
    }
    void everyLineComesBackByteForByte() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const std::string line = bytes.toStdString();
        const QString text = DecodeLine(line);
        if (!shown.isEmpty() || bytes.isEmpty()) QCOMPARE(text, shown);
        QCOMPARE(QByteArray::fromStdString(EncodeLine(text, EncodingOf(line))), bytes);
    }

    void typedTextIsEncodedInTheChosenEncoding() {
        const QString text = QString::fromUtf8("中文 €");
        QCOMPARE(EncodeLine(text, LineEncoding::Utf8), std::string("中文 €"));
        QCOMPARE(EncodeLine(text, LineEncoding::Gb18030), std::string("\xD6\xD0\xCE\xC4 \xA2\xE3"));
        // A stand-in for a stray byte is written as that byte in either encoding.
        const QString stray = QString("x") + QChar(0xDC9A);
        QCOMPARE(EncodeLine(stray, LineEncoding::Utf8), std::string("x\x9A"));
        QCOMPARE(EncodeLine(stray, LineEncoding::Gb18030), std::string("x\x9A"));
        // A lone surrogate has no bytes in any encoding.
        QCOMPARE(EncodeLine(QString(QChar(0xD800)), LineEncoding::Gb18030), std::string("?"));
    }

    void filtersBecomeCaseBlindQtFilters() {
        // Kinds of file the program knows are named in the chosen language,
        // whatever the command called them; English without the catalogue's text.
        const QStringList filters = QtNameFilters(kSaveAsFilter);
        QCOMPARE(filters.size(), 5);
        QCOMPARE(filters[0], QString("Text files (*.[tT][xX][tT])"));
        QCOMPARE(filters[2], QString("EPSW coordinate files (*.[cC][oO][rR])"));
        QCOMPARE(filters[4], QString("COSA plane observation files (*.[iI][nN]2)"));
        MessageCatalogue gb;
        gb.loadFromText("76312\t文本文件\n76332\t所有文件\n");
        const QStringList open = QtNameFilters(kOpenFilter, MessageTexts{&gb, 2});
        QCOMPARE(open.size(), 3);
        QCOMPARE(open[0], QString::fromUtf8("文本文件 (*.[tT][xX][tT])"));
        QCOMPARE(open[1], QString("Data files (*.[dD][aA][tT])"));
        QCOMPARE(open[2], QString::fromUtf8("所有文件 (*)"));
        // Another kind keeps the command's own name.
        QCOMPARE(QtNameFilters("Data(*.txt;*.dat)|*.txt;*.dat"),
                 QStringList("Data(*.txt;*.dat) (*.[tT][xX][tT] *.[dD][aA][tT])"));
        // The pattern finds names in any case, as Qt's dialog applies it.
        const QRegularExpression re(
            QRegularExpression::wildcardToRegularExpression("*.[tT][xX][tT]"));
        QVERIFY(re.match("JOB.TXT").hasMatch());
        QVERIFY(re.match("job.Txt").hasMatch());
        QVERIFY(!re.match("job.txt.bak").hasMatch());
    }

    void defaultExtensionOnlyForBareNames() {
        QCOMPARE(WithDefaultExtension("/d/out", "dxf"), std::filesystem::path("/d/out.dxf"));
        QCOMPARE(WithDefaultExtension("/d/out", ".xlsx"), std::filesystem::path("/d/out.xlsx"));
        QCOMPARE(WithDefaultExtension("/d/out.txt", "dxf"), std::filesystem::path("/d/out.txt"));
        QCOMPARE(WithDefaultExtension("/d/out", ""), std::filesystem::path("/d/out"));
    }

    void memoryFigures() {
        const MemoryStatus status = ParseMeminfo(
            "MemTotal:       16318652 kB\nMemFree:          200000 kB\n"
            "MemAvailable:    4079663 kB\n");
        QCOMPARE(status.totalKilobytes, 16318652u);
        QCOMPARE(status.availableKilobytes, 4079663u);
        QCOMPARE(FormatKilobytes(status.totalKilobytes), std::string("16,318,652KB"));
        QCOMPARE(FormatPercentLeft(status), std::string("25%"));
        QCOMPARE(FormatKilobytes(999), std::string("999KB"));
        QCOMPARE(FormatKilobytes(1000), std::string("1,000KB"));
        // Without MemAvailable (old kernels) the free figure is used.
        QCOMPARE(ParseMeminfo("MemTotal: 1000 kB\nMemFree: 500 kB\n").availableKilobytes, 500u);
        QCOMPARE(FormatPercentLeft({}), std::string("0%"));
        QVERIFY(ReadMemoryStatus().totalKilobytes > 0);
    }
};

QTEST_MAIN(TextEncodingTest)
#include "text_encoding_test.moc"
