#include "error.h"
#include "settingscodec.h"
#include "testbytes.h"

#include <QtTest>

using namespace qx;
using qx::test::hexText;

namespace {

QString text(const char *spacedHex) {
    return FrameText(
        MemoryFrame::fromBytes(QByteArray::fromHex(QByteArray(spacedHex).replace(' ', ""))));
}

} // namespace

Q_DECLARE_METATYPE(Block03C0Values)
Q_DECLARE_METATYPE(Block03F0Values)

class TestSettingsCodec : public QObject {
    Q_OBJECT
private slots:
    void block03C0_data();
    void block03C0();
    void block03C0Decoding();
    void decode03D0_data();
    void decode03D0();
    void encode03D0();
    void block03F0_data();
    void block03F0();
    void decode03F0_data();
    void decode03F0();
    void timeByte_data();
    void timeByte();
    void timeStep_data();
    void timeStep();
    void bandTable();
};

void TestSettingsCodec::block03C0_data() {
    QTest::addColumn<Block03C0Values>("values");
    QTest::addColumn<QString>("frame");
    QTest::newRow("worked: beep, squelch 5, monitor, 120 s")
        << Block03C0Values{1, 0, 5, 1, 4} << "57 03 C0 08 FD 05 03 04 FF FF FF FF";
    QTest::newRow("battery save only")
        << Block03C0Values{0, 1, 0, 0, 0} << "57 03 C0 08 FE 00 00 00 FF FF FF FF";
    QTest::newRow("all at maximum")
        << Block03C0Values{1, 1, 9, 1, 10} << "57 03 C0 08 FF 09 03 0A FF FF FF FF";
}

void TestSettingsCodec::block03C0() {
    QFETCH(Block03C0Values, values);
    QFETCH(QString, frame);
    QCOMPARE(hexText(save03C0(values)), frame);
    QCOMPARE(data03C0(text(frame.toLatin1())), values);
}

void TestSettingsCodec::block03C0Decoding() {
    // Time-out digits past the list leave it unselected; unselected lists store their first item.
    const Block03C0Values v = data03C0(text("57 03 C0 08 FC 00 07 0B FF FF FF FF"));
    QCOMPARE(v.timeOut, -1);
    QCOMPARE(v.monitorKey, 1);
    QCOMPARE(hexText(save03C0(v)), QString("57 03 C0 08 FC 00 03 00 FF FF FF FF"));
    QCOMPARE(hexText(save03C0({-1, -1, -1, -1, -1})),
             QString("57 03 C0 08 FC 00 00 00 FF FF FF FF"));
    try {
        data03C0(text("57 03 C0 08 FC 0A 00 00 FF FF FF FF"));
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(), QString("'A' is not a valid integer value"));
    }
}

void TestSettingsCodec::decode03D0_data() {
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("model"); // -2: nothing changes
    QTest::addColumn<int>("band");
    QTest::newRow("sum 11, F7") << "57 03 D0 08 00 00 F7 37 30 31 33 50" << 0 << 3;
    QTest::newRow("sum 11, F4") << "57 03 D0 08 00 00 F4 37 30 31 33 50" << 0 << 0;
    QTest::newRow("sum 11, F8") << "57 03 D0 08 00 00 F8 37 30 31 33 50" << 0 << 4;
    QTest::newRow("sum 11, F9 names no band") << "57 03 D0 08 00 00 F9 37 30 31 33 50" << 0 << -1;
    QTest::newRow("sum 6") << "57 03 D0 08 00 00 F5 01 02 03 00 50" << 0 << 1;
    QTest::newRow("sum 10, F0") << "57 03 D0 08 00 00 F0 37 30 31 32 50" << 1 << 0;
    QTest::newRow("sum 10, F1") << "57 03 D0 08 00 00 F1 37 30 31 32 50" << 1 << 1;
    QTest::newRow("sum 5") << "57 03 D0 08 00 00 F0 05 00 00 00 50" << 1 << 0;
    QTest::newRow("sum 12: unchanged") << "57 03 D0 08 00 00 F4 37 30 31 34 50" << -2 << 0;
    QTest::newRow("zero block: unchanged") << "00 00 00 00 00 00 00 00 00 00 00 00" << -2 << 0;
}

void TestSettingsCodec::decode03D0() {
    QFETCH(QString, frame);
    QFETCH(int, model);
    QFETCH(int, band);
    const auto mb = data03D0(text(frame.toLatin1()));
    QCOMPARE(mb.has_value(), model != -2);
    if (mb) {
        QCOMPARE(mb->model, model);
        QCOMPARE(mb->band, band);
    }
}

void TestSettingsCodec::encode03D0() {
    QCOMPARE(hexText(save03D0(0, 3, 5)), QString("57 03 D0 08 00 00 F7 37 30 31 33 50"));
    QCOMPARE(hexText(save03D0(1, 1, 2)), QString("57 03 D0 08 00 00 F1 37 30 31 32 50"));
    QCOMPARE(hexText(save03D0(0, -1, 5)), QString("57 03 D0 08 00 00 F4 37 30 31 33 50"));
    QVERIFY_THROWS_EXCEPTION(Error, data03D0(text("57 03 D0 08 00 00 FA 37 30 31 33 50")));
    QVERIFY_THROWS_EXCEPTION(Error, data03D0(text("57 03 D0 08 00 00 F4 37 30 3A 33 50")));
}

void TestSettingsCodec::block03F0_data() {
    QTest::addColumn<Block03F0Values>("values");
    QTest::addColumn<QString>("frame");
    QTest::newRow("worked: English, time mode, cyclic, CH3")
        << Block03F0Values{2, "10", 96, "10", "5", true, 1, 0, 2}
        << "57 03 F0 08 5E 0F 2B 14 60 14 0A 52";
    QTest::newRow("defaults: scan off, priority CH16")
        << Block03F0Values{} << "57 03 F0 08 5F 0F 2B 14 60 14 0A BF";
    QTest::newRow("Chinese, half seconds, power 255")
        << Block03F0Values{1, "7.5", 255, "0.5", "15", true, 0, 1, 15}
        << "57 03 F0 08 5D 0F 2B 0F FF 01 1E 3F";
    QTest::newRow("power-on sound, zero times")
        << Block03F0Values{3, "0", 0, "0", "0", true, 0, 0, 0}
        << "57 03 F0 08 58 0F 2B 00 00 00 00 10";
}

void TestSettingsCodec::block03F0() {
    QFETCH(Block03F0Values, values);
    QFETCH(QString, frame);
    QCOMPARE(hexText(save03F0(values)), frame);
    QCOMPARE(data03F0(text(frame.toLatin1())), values);
}

void TestSettingsCodec::decode03F0_data() {
    QTest::addColumn<QString>("frame");
    QTest::addColumn<Block03F0Values>("values");
    QTest::newRow("zero block") << "00 00 00 00 00 00 00 00 00 00 00 00"
                                << Block03F0Values{3, "0", 0, "0", "0", true, 0, 0, 0};
    QTest::newRow("times from 0x20 up show the defaults")
        << "57 03 F0 08 5F 0F 2B 28 60 20 FF 52"
        << Block03F0Values{0, "10", 96, "10", "5", true, 1, 0, 2};
    QTest::newRow("odd bytes are half seconds")
        << "57 03 F0 08 5F 0F 2B 1F 60 03 13 52"
        << Block03F0Values{0, "15.5", 96, "1.5", "9.5", true, 1, 0, 2};
}

void TestSettingsCodec::decode03F0() {
    QFETCH(QString, frame);
    QFETCH(Block03F0Values, values);
    QCOMPARE(data03F0(text(frame.toLatin1())), values);
}

void TestSettingsCodec::timeByte_data() {
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("byte"); // -1: error
    QTest::addColumn<QString>("message");
    QTest::newRow("10") << "10" << 0x14 << "";
    QTest::newRow("7.5") << "7.5" << 0x0F << "";
    QTest::newRow("0.5") << "0.5" << 0x01 << "";
    QTest::newRow("15") << "15" << 0x1E << "";
    QTest::newRow("wraps at 128 s") << "128.5" << 0x01 << "";
    QTest::newRow("negative wraps") << "-0.5" << 0xFF << "";
    QTest::newRow("off the raster") << "0.8" << -1 << "'1.6' is not a valid integer value";
    QTest::newRow("not a number") << "abc" << -1 << "'abc' is not a valid floating point value";
    QTest::newRow("empty") << "" << -1 << "'' is not a valid floating point value";
    QTest::newRow("comma") << "7,5" << -1 << "'7,5' is not a valid floating point value";
    QTest::newRow("exponent") << "1e1" << -1 << "'1e1' is not a valid floating point value";
}

void TestSettingsCodec::timeByte() {
    QFETCH(QString, time);
    QFETCH(int, byte);
    QFETCH(QString, message);
    try {
        QCOMPARE(int(TimeByte(time)), byte);
        QVERIFY(byte >= 0);
    } catch (const Error &e) {
        QCOMPARE(e.message(), message);
    }
}

void TestSettingsCodec::timeStep_data() {
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("up");
    QTest::addColumn<QString>("down");
    QTest::newRow("10") << "10"
                        << "10.5"
                        << "9.5";
    QTest::newRow("upper end wraps up") << "15"
                                        << "0.5"
                                        << "14.5";
    QTest::newRow("14.5") << "14.5"
                          << "15"
                          << "14";
    QTest::newRow("lower end wraps down") << "0.5"
                                          << "1"
                                          << "15";
    QTest::newRow("1") << "1"
                       << "1.5"
                       << "0.5";
    QTest::newRow("off the raster stays off") << "0.8"
                                              << "1.3"
                                              << "15";
    QTest::newRow("above the range") << "20"
                                     << "0.5"
                                     << "19.5";
}

void TestSettingsCodec::timeStep() {
    QFETCH(QString, time);
    QFETCH(QString, up);
    QFETCH(QString, down);
    QCOMPARE(TimeStepUp(time), up);
    QCOMPARE(TimeStepDown(time), down);
    QVERIFY_THROWS_EXCEPTION(Error, TimeStepUp("x"));
    QVERIFY_THROWS_EXCEPTION(Error, TimeStepDown(""));
}

void TestSettingsCodec::bandTable() {
    QCOMPARE(bandNames(1), (QStringList{"VHF:150-174MHz", "VHF:136-150MHz"}));
    QCOMPARE(bandNames(0).size(), 5);
    QCOMPARE(bandNames(7), bandNames(0));
    QCOMPARE(bandNames(0).last(), QString("UHF:400-420Mhz"));
    QCOMPARE(bandDefaultFrequency("uhf:470-490mhz"), QString("490.00000"));
    QCOMPARE(bandDefaultFrequency("UHF:400-420MHZ"), QString("420.00000"));
    QCOMPARE(bandDefaultFrequency("VHF:150-174MHz"), QString("174.00000"));
    QCOMPARE(bandDefaultFrequency("none"), QString("150.00000"));
    QCOMPARE(modelDefaultFrequency(0), QString("450.01250"));
    QCOMPARE(modelDefaultFrequency(1), QString("150.00000"));
    QCOMPARE(modelNames(), QStringList{"QX-7420"});
    // The band codes written for each row decode back to the same model and band.
    for (const Band &b : BandTable()) {
        const auto mb =
            data03D0(FrameText(save03D0(b.model, b.index, int(bandNames(b.model).size()))));
        QVERIFY(mb.has_value());
        QCOMPARE(mb->model, b.model);
        QCOMPARE(mb->band, b.index);
        QCOMPARE(int(save03D0(b.model, b.index, int(bandNames(b.model).size())).bytes[6]),
                 int(b.code));
    }
}

QTEST_APPLESS_MAIN(TestSettingsCodec)
#include "tst_settingscodec.moc"
