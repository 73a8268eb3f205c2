// Dumping image files: the worked frames, short and odd files, undecodable records.
#include "imagedump.h"
#include "sampleimage.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace qx;
using namespace qx::cli;
using namespace qx::test;

namespace {

// Channel n empty as the encoder writes it.
QByteArray emptyChannel(int n) {
    return channelRecords(n, {{}, "OFF", {}, "OFF", "NO", "NO"});
}

QByteArray emptyChannels(int from, int to) {
    QByteArray out;
    for (int n = from; n <= to; ++n)
        out += emptyChannel(n);
    return out;
}

QString settingOf(const ImageDump &dump, const QString &name) {
    for (const auto &[key, value] : dump.settings)
        if (key == name)
            return value;
    return QStringLiteral("<absent>");
}

} // namespace

class TestImageDump : public QObject {
    Q_OBJECT
private slots:
    void workedFrames();
    void channelRows_data();
    void channelRows();
    void settings_data();
    void settings();
    void undecodableRecord_data();
    void undecodableRecord();
    void unreadableFile();
};

void TestImageDump::workedFrames() {
    const QByteArray image = hexBytes("57 00 10 08 50 12 00 45 50 12 00 45"
                                      "57 00 18 08 70 06 70 06 F8 FF FF FF") +
                             emptyChannels(2, 16) + workedSettings();
    QString expected = QStringLiteral("CH.\tReceive F\tCTCSS\tTransmit F\tCTCSS\tBusy\tScan\n"
                                      "1\t450.01250\t67.0\t450.01250\t67.0\tYES\tYES\n");
    for (int n = 2; n <= 16; ++n)
        expected += QStringLiteral("%1\t\t\t\t\t\t\n").arg(n);
    expected += QStringLiteral("\n"
                               "model\tQX-7420\n"
                               "band\tUHF:406-430MHz\n"
                               "beep\tON\n"
                               "battery_save\tOFF\n"
                               "squelch\t5\n"
                               "monitor_key\tSQ Off Momentary\n"
                               "time_out\t120\n"
                               "voice\tEnglish\n"
                               "scan\tON\n"
                               "scan_mode\tTimeMode\n"
                               "channel_mode\tCycScandMode\n"
                               "priority_channel\tCH3\n"
                               "carrier_time\t10\n"
                               "delay_time\t10\n"
                               "return_time\t5\n"
                               "power\t96\n");
    QCOMPARE(formatDump(decodeImage(image, "worked.dat")), expected);
}

void TestImageDump::channelRows_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QStringList>("cells");

    const QStringList empty{"", "", "", "", "", ""};
    QTest::newRow("transmit set without receive: empty row")
        << hexBytes("57 00 10 08 FF FF FF FF 50 12 00 45 57 00 18 08 70 06 70 06 F8 FF FF FF") << 1
        << empty;
    QTest::newRow("busy on, scan off (FA)")
        << hexBytes("57 00 10 08 50 12 00 45 FF FF FF FF 57 00 18 08 FF FF 50 00 FA FF FF FF") << 1
        << QStringList{"450.01250", "OFF", "", "5.0", "YES", "NO"};
    // The load ignores the header bytes: the record's place decides the channel.
    QTest::newRow("record place, not address")
        << emptyChannel(1) + hexBytes("57 01 00 08 50 12 00 45 50 12 00 45"
                                      "57 01 08 08 FF FF FF FF FB FF FF FF")
        << 2 << QStringList{"450.01250", "OFF", "450.01250", "OFF", "NO", "NO"};
    QTest::newRow("tone record missing: frequencies only")
        << hexBytes("57 00 10 08 50 12 00 45 50 12 00 45") << 1
        << QStringList{"450.01250", "", "450.01250", "", "", ""};
    QTest::newRow("empty file") << QByteArray() << 16 << empty;
    QTest::newRow("trailing partial record ignored")
        << emptyChannel(1) + hexBytes("57 00 20 08 50 12 00") << 2 << empty;
}

void TestImageDump::channelRows() {
    QFETCH(QByteArray, image);
    QFETCH(int, channel);
    QFETCH(QStringList, cells);
    const ImageDump dump = decodeImage(image, "x.dat");
    const ChannelCells &c = dump.channels[std::size_t(channel - 1)];
    QCOMPARE((QStringList{c.rx, c.rxTone, c.tx, c.txTone, c.busy, c.scan}), cells);
}

void TestImageDump::settings_data() {
    QTest::addColumn<QByteArray>("settings"); // records 32.. of the image
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    const QByteArray c0 = workedSettings().left(12);
    const QByteArray d0 = workedSettings().mid(12, 12);
    const QByteArray f0 = workedSettings().mid(24, 12);
    QTest::newRow("no settings records: model") << QByteArray() << "model"
                                                << "-";
    QTest::newRow("no settings records: power") << QByteArray() << "power"
                                                << "-";
    QTest::newRow("03C0 only: squelch") << c0 << "squelch"
                                        << "5";
    QTest::newRow("03C0 only: band") << c0 << "band"
                                     << "-";
    QTest::newRow("03C0 and 03D0: voice") << c0 + d0 << "voice"
                                          << "-";
    QTest::newRow("time-out digit B: no selection")
        << hexBytes("57 03 C0 08 FC 00 00 0B FF FF FF FF") << "time_out"
        << "-";
    QTest::newRow("time-out 0: OFF")
        << hexBytes("57 03 C0 08 FC 00 00 00 FF FF FF FF") << "time_out"
        << "OFF";
    QTest::newRow("no model signature: model")
        << c0 + hexBytes("57 03 D0 08 00 00 F4 00 00 00 00 50") << "model"
        << "-";
    QTest::newRow("no model signature: band")
        << c0 + hexBytes("57 03 D0 08 00 00 F4 00 00 00 00 50") << "band"
        << "-";
    QTest::newRow("VHF model has no list item")
        << c0 + hexBytes("57 03 D0 08 00 00 F1 37 30 31 32 50") << "model"
        << "-";
    QTest::newRow("VHF band named from its own list")
        << c0 + hexBytes("57 03 D0 08 00 00 F1 37 30 31 32 50") << "band"
        << "VHF:136-150MHz";
    QTest::newRow("UHF band code F9: no band")
        << c0 + hexBytes("57 03 D0 08 00 00 F9 37 30 31 33 50") << "band"
        << "-";
    QTest::newRow("zero 03F0: power-on sound") << c0 + d0 + QByteArray(12, '\0') << "voice"
                                               << "BootStrapSound";
    QTest::newRow("scan byte AF: off")
        << c0 + d0 + hexBytes("57 03 F0 08 5F 0F 2B 28 FF 0F 01 AF") << "scan"
        << "OFF";
    QTest::newRow("scan byte AF: priority mode")
        << c0 + d0 + hexBytes("57 03 F0 08 5F 0F 2B 28 FF 0F 01 AF") << "channel_mode"
        << "PriorityScandMode";
    QTest::newRow("scan byte AF: CH16")
        << c0 + d0 + hexBytes("57 03 F0 08 5F 0F 2B 28 FF 0F 01 AF") << "priority_channel"
        << "CH16";
    QTest::newRow("records beyond 34 ignored")
        << workedSettings() + QByteArray(12, '\x11') << "power"
        << "96";
}

void TestImageDump::settings() {
    QFETCH(QByteArray, settings);
    QFETCH(QString, name);
    QFETCH(QString, value);
    const ImageDump dump = decodeImage(emptyChannels(1, 16) + settings, "x.dat");
    QCOMPARE(int(dump.settings.size()), 16);
    QCOMPARE(settingOf(dump, name), value);
}

void TestImageDump::undecodableRecord_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("record");

    const QByteArray channels = emptyChannels(1, 16);
    QByteArray badFrequency = channels;
    badFrequency.replace(4 * 12 + 4, 4, hexBytes("50 1A 00 45")); // channel 3
    QTest::newRow("frequency digit A") << badFrequency + workedSettings() << 4;
    QByteArray badTone = channels;
    badTone.replace(
        0, 24, hexBytes("57 00 10 08 50 12 00 45 FF FF FF FF 57 00 18 08 7B 06 FF FF FB FF FF FF"));
    QTest::newRow("tone digit B") << badTone << 1;
    QTest::newRow("squelch digit A")
        << channels + hexBytes("57 03 C0 08 FC 0A 00 00 FF FF FF FF") << 32;
    QTest::newRow("UHF band digit C")
        << channels + workedSettings().left(12) + hexBytes("57 03 D0 08 00 00 FC 37 30 31 33 50")
        << 33;
}

void TestImageDump::undecodableRecord() {
    QFETCH(QByteArray, image);
    QFETCH(int, record);
    try {
        decodeImage(image, "radio.dat");
        QFAIL("decoded");
    } catch (const ImageError &e) {
        QCOMPARE(e.record(), record);
        QVERIFY2(e.message().startsWith(QStringLiteral("radio.dat: record %1 (").arg(record)),
                 qPrintable(e.message()));
        QVERIFY2(e.message().contains("is not a valid integer value"), qPrintable(e.message()));
    }
}

void TestImageDump::unreadableFile() {
    QTemporaryDir dir;
    // Sparse: a size no image has, without writing it.
    QFile big(dir.filePath("disk.img"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(64) << 20));
    big.close();
    for (const QString &path : {dir.filePath("missing.dat"), dir.path(), big.fileName()}) {
        try {
            decodeImageFile(path);
            QFAIL("read");
        } catch (const ImageError &e) {
            QCOMPARE(e.record(), -1);
            QVERIFY2(e.message().startsWith(path + ": "), qPrintable(e.message()));
        }
    }
}

QTEST_GUILESS_MAIN(TestImageDump)
#include "tst_imagedump.moc"
