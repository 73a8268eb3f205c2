// Comparing two images: the lines, in both languages, for every kind of field and for
// records that are missing, damaged or differ only in bytes no field shows.
#include "imagediff.h"
#include "sampleimage.h"

#include <QtTest>

using namespace qx;
using namespace qx::test;

namespace {

// The sample image with `bytes` in place from `at`.
QByteArray changed(int at, const QByteArray &bytes) {
    return sampleImage().replace(at, bytes.size(), bytes);
}

} // namespace

class TestImageDiff : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
};

void TestImageDiff::lines_data() {
    QTest::addColumn<QByteArray>("after"); // compared with the sample image
    QTest::addColumn<Language>("language");
    QTest::addColumn<QStringList>("lines"); // the first lines
    QTest::addColumn<int>("count");         // how many there are

    const auto en = Language::English;
    const auto zh = Language::Chinese;
    const QByteArray image = sampleImage();
    QTest::newRow("the same") << image << en << QStringList{} << 0;
    QTest::newRow("beyond record 34 and a partial record")
        << image + QByteArray(20, '\x11') << en << QStringList{} << 0;

    // Channel 3: 453.01875, 74.4, 463.01500, 233.6, YES, YES.
    const QByteArray ch3 =
        channelRecords(3, {"453.02500", "74.4", "463.01500", "OFF", "NO", "YES"});
    QTest::newRow("cells") << changed(48, ch3) << en
                           << QStringList{"channel 3 Receive F: 453.01875 -> 453.02500",
                                          "channel 3 CTCSS (Transmit F): 233.6 -> OFF",
                                          "channel 3 Busy: YES -> NO"}
                           << 3;
    QTest::newRow("cells, Chinese")
        << changed(48, ch3) << zh
        << QStringList{"信道3 接收频率：453.01875 -> 453.02500",
                       "信道3 CTCSS（发射频率）：233.6 -> OFF", "信道3 禁发：是 -> 否"}
        << 3;
    QTest::newRow("a channel emptied")
        << changed(48, channelRecords(3, {})) << en
        << QStringList{"channel 3 Receive F: 453.01875 -> (empty)",
                       "channel 3 CTCSS (Receive F): 74.4 -> (empty)"}
        << 6;

    // Beep off, battery save on, time-out OFF; band UHF:450-470MHz; scan off, priority CH16.
    const QByteArray settings = hexBytes("57 03 C0 08 FE 05 03 00 FF FF FF FF"
                                         "57 03 D0 08 00 00 F4 37 30 31 33 50"
                                         "57 03 F0 08 5E 0F 2B 14 60 14 0A DF");
    QTest::newRow("settings") << changed(32 * 12, settings) << en
                              << QStringList{"Radio Band: UHF:406-430MHz -> UHF:450-470MHz",
                                             "Beep Tone: ON -> OFF",
                                             "Battery Save: OFF -> ON",
                                             "Time Out Timer: 120 -> OFF",
                                             "Scan Select: ON -> OFF",
                                             "First CH: CH3 -> CH16"}
                              << 6;
    QTest::newRow("settings, Chinese")
        << changed(32 * 12, settings) << zh
        << QStringList{"机器频率：UHF:406-430MHz -> UHF:450-470MHz", "哔音提示：开 -> 关",
                       "电池省电：关 -> 开", "超时：120 -> 关"}
        << 6;

    QTest::newRow("settings block missing")
        << image.left(34 * 12) << en << QStringList{"Speech SetUp: English -> (missing)"} << 9;
    QTest::newRow("tone record missing")
        << image.left(31 * 12) << en
        << QStringList{"channel 16 CTCSS (Receive F): 114.8 -> (missing)",
                       "channel 16 CTCSS (Transmit F): 146.2 -> (missing)",
                       "channel 16 Busy: NO -> (missing)", "channel 16 Scan: NO -> (missing)",
                       "Model Type: QX-7420 -> (missing)"}
        << 4 + 16;
    QTest::newRow("frequency record damaged, Chinese")
        << changed(2 * 12 + 4, hexBytes("A0")) << zh
        << QStringList{"信道2 接收频率：452.01250 -> （损坏）"} << 6;

    QTest::newRow("unused bytes and a header")
        << changed(5 * 12 + 9, hexBytes("00")).replace(32 * 12 + 3, 1, hexBytes("09")) << en
        << QStringList{"differ in bytes that no field shows (unused bytes or a record's header): "
                       "channel 3, settings 03C0"}
        << 1;
}

void TestImageDiff::lines() {
    QFETCH(QByteArray, after);
    QFETCH(Language, language);
    QFETCH(QStringList, lines);
    QFETCH(int, count);
    const QStringList shown =
        formatImageDiff(diffImages(sampleImage(), after), imageWords(language));
    QCOMPARE(shown.mid(0, lines.size()), lines);
    QCOMPARE(shown.size(), count);
}

QTEST_GUILESS_MAIN(TestImageDiff)
#include "tst_imagediff.moc"
