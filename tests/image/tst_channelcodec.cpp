#include "channelcodec.h"
#include "error.h"
#include "testbytes.h"

#include <QtTest>

using namespace qx;
using qx::test::hexText;

namespace {

QString frameText(const char *hexBytes) {
    return FrameText(MemoryFrame::fromBytes(QByteArray::fromHex(hexBytes)));
}

const QString kYes = QString::fromUtf8("是");
const QString kNo = QString::fromUtf8("否");

} // namespace

class TestChannelCodec : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void decodeRejectsNonDecimal_data();
    void decodeRejectsNonDecimal();
    void encode_data();
    void encode();
    void encodeRejectsMalformedFrequency_data();
    void encodeRejectsMalformedFrequency();
    void toneTableBothWays();
    void hexDigitBits();
};

void TestChannelCodec::decode_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("worked channel 1")
        << frameText("570010085012004550120045") << frameText("5700180870067006F8FFFFFF") << false
        << QStringList{"450.01250", "67.0", "450.01250", "67.0", kYes, kYes};
    QTest::newRow("english words")
        << frameText("570010085012004550120045") << frameText("570018087006FFFFF9FFFFFF") << true
        << QStringList{"450.01250", "67.0", "450.01250", "OFF", "NO", "YES"};
    QTest::newRow("zero records") << frameText("000000000000000000000000")
                                  << frameText("000000000000000000000000") << false
                                  << QStringList{"0.00000", "0.0", "0.00000", "0.0", kYes, kYes};
    QTest::newRow("tone off-raster 5.0")
        << frameText("570010085012004550120045") << frameText("570018085000FFFFFBFFFFFF") << false
        << QStringList{"450.01250", "5.0", "450.01250", "OFF", kNo, kNo};
    QTest::newRow("no tx frequency")
        << frameText("5700100850120045FFFFFFFF") << frameText("57001808FFFFFFFFF8FFFFFF") << false
        << QStringList{"450.01250", "OFF", "", "OFF", kYes, kYes};
    QTest::newRow("no rx frequency: empty row")
        << frameText("57001008FFFFFFFF50120045") << frameText("5700180870067006F8FFFFFF") << false
        << QStringList{"", "", "450.01250", "", "", ""};
    QTest::newRow("lower-case tone marker")
        << frameText("570010085012004550120045") << QString("57001808ffffffffFBFFFFFF") << false
        << QStringList{"450.01250", "OFF", "450.01250", "OFF", kNo, kNo};
}

void TestChannelCodec::decode() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, english);
    QFETCH(QStringList, cells);
    first.remove(' ');
    second.remove(' ');
    const FrequencyCells f = get_data1(first);
    const ToneFlagCells t =
        get_data2(second, f.rx, english ? englishFlagWords() : chineseFlagWords());
    QCOMPARE(t.emptyRow, f.rx.isEmpty());
    QCOMPARE((QStringList{f.rx, t.rxTone, f.tx, t.txTone, t.busy, t.scan}),
             (QStringList{cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]}));
}

void TestChannelCodec::decodeRejectsNonDecimal_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("message");

    QTest::newRow("frequency digit A")
        << "570010085A12004550120045" << QString() << "'4500125A' is not a valid integer value";
    QTest::newRow("partial FF frequency")
        << "57001008FFFFFFFE50120045" << QString() << "'FEFFFFFF' is not a valid integer value";
    QTest::newRow("lower-case frequency marker is not a marker")
        << "57001008ffffffff50120045" << QString() << "'ffffffff' is not a valid integer value";
    QTest::newRow("tone digit A") << "570010085012004550120045"
                                  << "570018087A06FFFFF8FFFFFF"
                                  << "'067A' is not a valid integer value";
}

void TestChannelCodec::decodeRejectsNonDecimal() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, message);
    try {
        const FrequencyCells f = get_data1(first);
        get_data2(second, f.rx, chineseFlagWords());
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(), message);
    }
}

void TestChannelCodec::encode_data() {
    QTest::addColumn<int>("channel");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("worked channel 1")
        << 1 << QStringList{"450.01250", "67.0", "450.01250", "67.0", kYes, kYes}
        << "57 00 10 08 50 12 00 45 50 12 00 45"
        << "57 00 18 08 70 06 70 06 F8 FF FF FF";
    QTest::newRow("both frequencies empty")
        << 3 << QStringList{"", "OFF", "", "OFF", kNo, kNo} << "57 00 30 08 FF FF FF FF FF FF FF FF"
        << "57 00 38 08 FF FF FF FF FB FF FF FF";
    QTest::newRow("rx empty, tx set") << 2 << QStringList{"", "OFF", "451.00000", "OFF", kNo, kNo}
                                      << "57 00 20 08 FF FF FF FF 00 00 10 45"
                                      << "57 00 28 08 FF FF FF FF FB FF FF FF";
    QTest::newRow("channel 16 addresses")
        << 16 << QStringList{"512.00000", "250.3", "400.00000", "100.0", "NO", "yes"}
        << "57 01 00 08 00 00 20 51 00 00 00 40"
        << "57 01 08 08 03 25 00 10 F9 FF FF FF";
    QTest::newRow("busy on, scan off: FA")
        << 5 << QStringList{"450.01250", "OFF", "450.01250", "OFF", "YES", "NO"}
        << "57 00 50 08 50 12 00 45 50 12 00 45"
        << "57 00 58 08 FF FF FF FF FA FF FF FF";
    QTest::newRow("off-length tones give 00 00")
        << 1 << QStringList{"450.01250", "5.0", "450.01250", "off", kNo, kNo}
        << "57 00 10 08 50 12 00 45 50 12 00 45"
        << "57 00 18 08 00 00 00 00 FB FF FF FF";
    QTest::newRow("empty tones and flags are stored as OFF and NO")
        << 1 << QStringList{"450.01250", "", "", "", "", ""}
        << "57 00 10 08 50 12 00 45 FF FF FF FF"
        << "57 00 18 08 FF FF FF FF FB FF FF FF";
    QTest::newRow("surrounding blanks")
        << 1 << QStringList{" 450.01250 ", "OFF", "", "OFF", kNo, kNo}
        << "57 00 10 08 50 12 00 45 FF FF FF FF"
        << "57 00 18 08 FF FF FF FF FB FF FF FF";
}

void TestChannelCodec::encode() {
    QFETCH(int, channel);
    QFETCH(QStringList, cells);
    QFETCH(QString, first);
    QFETCH(QString, second);
    const auto frames =
        encodeChannelFrames(channel, {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]});
    QCOMPARE(hexText(frames[0]), first);
    QCOMPARE(hexText(frames[1]), second);
}

void TestChannelCodec::encodeRejectsMalformedFrequency_data() {
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("tx");
    QTest::newRow("decoded zero frequency") << "0.00000"
                                            << "450.01250";
    QTest::newRow("too short") << "450.0125"
                               << "";
    QTest::newRow("comma") << "450,01250"
                           << "";
    QTest::newRow("hex digit") << "450.0125A"
                               << "";
    QTest::newRow("point misplaced") << "4500.1250"
                                     << "";
    QTest::newRow("bad tx only") << "450.01250"
                                 << "45.001250";
}

void TestChannelCodec::encodeRejectsMalformedFrequency() {
    QFETCH(QString, rx);
    QFETCH(QString, tx);
    QVERIFY_THROWS_EXCEPTION(Error, encodeChannelFrames(1, {rx, "OFF", tx, "OFF", kNo, kNo}));
    QVERIFY_THROWS_EXCEPTION(Error,
                             encodeChannelFrames(17, {"450.01250", "OFF", "", "OFF", kNo, kNo}));
}

void TestChannelCodec::toneTableBothWays() {
    QCOMPARE(ToneTable().size(), size_t(39));
    QCOMPARE(toneTexts().first(), QString("OFF"));
    QCOMPARE(toneTexts().last(), QString("250.3"));
    for (const Tone &t : ToneTable()) {
        const QString text = QString::fromLatin1(t.text);
        const auto frames = encodeChannelFrames(1, {"450.01250", text, "", text, kNo, kNo});
        const Bytes8 d = frames[1].data();
        QCOMPARE((QList<int>{d[0], d[1], d[2], d[3]}), (QList<int>{t.low, t.high, t.low, t.high}));
        const ToneFlagCells cells =
            get_data2(FrameText(frames[1]), "450.01250", englishFlagWords());
        QCOMPARE(cells.rxTone, text);
        QCOMPARE(cells.txTone, text);
    }
}

void TestChannelCodec::hexDigitBits() {
    QCOMPARE(HexDigitBits('B', 4), QString("1011"));
    QCOMPARE(HexDigitBits('B', 2), QString("11"));
    QCOMPARE(HexDigitBits('0', 4), QString("0000"));
    QCOMPARE(HexDigitBits('f', 4), QString("1111"));
    QVERIFY_THROWS_EXCEPTION(Error, HexDigitBits('G', 4));
    QCOMPARE(BcdText("45001250"), QString("450.01250"));
    QCOMPARE(BcdText("0670"), QString("67.0"));
    QCOMPARE(BcdText("123456"), QString());
}

QTEST_APPLESS_MAIN(TestChannelCodec)
#include "tst_channelcodec.moc"
