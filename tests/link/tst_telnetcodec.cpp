// Network port names, and the telnet codec against byte sequences as ser2net sends them,
// whole and split at every byte.
#include "networkport.h"
#include "telnetcodec.h"

#include <QtTest>

using namespace qx;

class TestTelnetCodec : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void decode_data();
    void decode();
    void requests();
};

void TestTelnetCodec::names_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("network"); // named as one, well formed or not
    QTest::addColumn<QString>("url");  // empty: malformed
    QTest::addColumn<QString>("stem");
    QTest::newRow("rfc2217 by name") << "rfc2217://bench2:3001" << true << "rfc2217://bench2:3001"
                                     << "bench2_3001";
    QTest::newRow("socket by IPv4")
        << "socket://192.168.1.20:4000" << true << "socket://192.168.1.20:4000"
        << "192.168.1.20_4000";
    QTest::newRow("IPv6 in brackets")
        << "socket://[fe80::1]:4000" << true << "socket://[fe80::1]:4000"
        << "fe80--1_4000";
    QTest::newRow("scheme in capitals") << "RFC2217://Bench2:1" << true << "rfc2217://Bench2:1"
                                        << "Bench2_1";
    QTest::newRow("no port") << "rfc2217://bench2" << true << ""
                             << "";
    QTest::newRow("port 0") << "rfc2217://bench2:0" << true << ""
                            << "";
    QTest::newRow("port 65536") << "socket://bench2:65536" << true << ""
                                << "";
    QTest::newRow("IPv6 without brackets") << "socket://fe80::1:4000" << true << ""
                                           << "";
    QTest::newRow("name in brackets") << "socket://[bench2]:4000" << true << ""
                                      << "";
    QTest::newRow("a path after the port") << "rfc2217://bench2:3001/x" << true << ""
                                           << "";
    QTest::newRow("a user") << "rfc2217://me@bench2:3001" << true << ""
                            << "";
    QTest::newRow("serial device") << "/dev/ttyUSB0" << false << ""
                                   << "";
    QTest::newRow("other scheme") << "telnet://bench2:3001" << false << ""
                                  << "";
}

void TestTelnetCodec::names() {
    QFETCH(QString, device);
    QFETCH(bool, network);
    QFETCH(QString, url);
    QFETCH(QString, stem);
    QCOMPARE(NetworkPort::named(device), network);
    const std::optional<NetworkPort> parsed = NetworkPort::parse(device);
    QCOMPARE(parsed ? parsed->url() : QString(), url);
    QCOMPARE(parsed ? parsed->fileStem() : QString(), stem);
}

void TestTelnetCodec::decode_data() {
    QTest::addColumn<bool>("started"); // start() went out before the bytes came
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("baud"); // the server's answer to SET-BAUDRATE; -1 none

    const QByteArray greeting = "fffb03fffd03fffb01fffe01fffd00fffb00fffd2c";
    QTest::newRow("data") << true << QByteArray("5057000808") << QByteArray("5057000808")
                          << QByteArray() << false << false << -1;
    QTest::newRow("0xFF doubled") << true << QByteArray("57ffff08ffff") << QByteArray("57ff08ff")
                                  << QByteArray() << false << false << -1;
    // Echo is refused: the server would send our requests back as if the radio replied.
    QTest::newRow("ser2net's greeting after ours")
        << true << greeting << QByteArray() << QByteArray("fffe01") << true << false << -1;
    QTest::newRow("ser2net's greeting first")
        << false << greeting << QByteArray() << QByteArray("fffd03fffb03fffe01fffb00fffd00fffb2c")
        << true << false << -1;
    QTest::newRow("unknown option refused each time")
        << true << QByteArray("fffd18fffd18fffb05") << QByteArray()
        << QByteArray("fffc18fffc18fffe05") << false << false << -1;
    QTest::newRow("binary refused")
        << true << QByteArray("fffc00") << QByteArray() << QByteArray() << false << true << -1;
    QTest::newRow("COM-PORT refused")
        << true << QByteArray("fffe2c") << QByteArray() << QByteArray() << false << true << -1;
    QTest::newRow("refusal of what is off already")
        << false << QByteArray("fffe2cfffc00") << QByteArray() << QByteArray() << false << false
        << -1;
    QTest::newRow("baud rate answered")
        << true << QByteArray("50fffa2c6500002580fff051") << QByteArray("5051") << QByteArray()
        << false << false << 9600;
    QTest::newRow("0xFF inside an answer")
        << true << QByteArray("fffa2c650000ffff00fff0") << QByteArray() << QByteArray() << false
        << false << 0xFF00;
    QTest::newRow("answer of the wrong length")
        << true << QByteArray("fffa2c650025fff0") << QByteArray() << QByteArray() << false << false
        << -1;
    QTest::newRow("one-byte commands")
        << true << QByteArray("50fff151fff952") << QByteArray("505152") << QByteArray() << false
        << false << -1;
}

void TestTelnetCodec::decode() {
    QFETCH(bool, started);
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, reply);
    QFETCH(bool, ready);
    QFETCH(bool, refused);
    QFETCH(int, baud);
    const QByteArray bytes = QByteArray::fromHex(in);
    for (bool split : {false, true}) {
        TelnetCodec codec;
        if (started)
            codec.start();
        QByteArray data, answers;
        if (split)
            for (char c : bytes)
                data += codec.decode(QByteArray(1, c), answers);
        else
            data = codec.decode(bytes, answers);
        QCOMPARE(data.toHex(), payload);
        QCOMPARE(answers.toHex(), reply);
        QCOMPARE(codec.ready(), ready);
        QCOMPARE(codec.refused(), refused);
        const std::optional<std::uint32_t> answer = codec.answer(TelnetCodec::Command::SetBaudRate);
        QCOMPARE(answer ? int(*answer) : -1, baud);
    }
}

void TestTelnetCodec::requests() {
    TelnetCodec codec;
    QCOMPARE(codec.start().toHex(), QByteArray("fffb00fffb2cfffb03fffd00fffd03"));
    QCOMPARE(codec.start().toHex(), QByteArray()); // asked once
    QCOMPARE(TelnetCodec::request(TelnetCodec::Command::SetBaudRate, 9600).toHex(),
             QByteArray("fffa2c0100002580fff0"));
    QCOMPARE(TelnetCodec::request(TelnetCodec::Command::SetControl, 1).toHex(),
             QByteArray("fffa2c0501fff0"));
    QCOMPARE(TelnetCodec::escape(QByteArray::fromHex("ff01ff")).toHex(), QByteArray("ffff01ffff"));
}

QTEST_GUILESS_MAIN(TestTelnetCodec)
#include "tst_telnetcodec.moc"
