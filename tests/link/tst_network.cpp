// Radios on the network through Debian's ser2net, started here with the emulator's
// pseudo-terminal as its cable: whole transfers byte for byte through both kinds of
// accepter at both pacings, and what the probe and a transfer say for each way in which a
// network port can be wrong.
#include "linkrig.h"
#include "portprobe.h"
#include "routingsio.h"
#include "ser2netserver.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace qx;
using namespace qx::test;

namespace {

using Verdict = PortDiagnosis::Verdict;

// Every second byte 0xFF and channels 5 to 16 empty (all 0xFF): a 0xFF that is not
// doubled on the way out, or not undoubled on the way in, shifts the bytes after it.
RadioEmulator::Memory ffMemory() {
    RadioEmulator::Memory m = patternMemory(7, 3);
    for (int i = 0; i < RadioEmulator::kMemorySize; ++i)
        if (i % 2 == 1 || (i >= 0x0050 && i < 0x0110))
            m[i] = 0xFF;
    return m;
}

// A loopback port whose listener never accepts and whose queue is full: a connect there
// gets no answer at all, as from a host that is switched off.
struct SilentHost {
    int listener = -1, filler = -1;
    quint16 port = 0;
    SilentHost() {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
            ::listen(listener, 0) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &size) != 0)
            return;
        port = ntohs(address.sin_port);
        filler = ::socket(AF_INET, SOCK_STREAM, 0);
        ::connect(filler, reinterpret_cast<sockaddr *>(&address), size);
    }
    ~SilentHost() {
        ::close(filler);
        ::close(listener);
    }
};

// The emulated radio behind ser2net with a telnet(rfc2217) and a tcp accepter, each on a
// cable of its own unless they share one, and a network port named by the URL the test
// sets.
struct NetRig {
    RadioEmulator radio[2];
    Ser2NetServer server;
    QString url;
    RoutingSio sio{[this](int) { return url; }};
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    WorkingFile file{dir.filePath(QStringLiteral("r_and_w.dat"))};
    Transfer transfer{sio, file, prompter, englishTransferTexts()};

    bool start(bool oneCable = false) {
        QString error;
        for (RadioEmulator &r : radio)
            if (!r.start(&error))
                qWarning("emulator: %s", qPrintable(error));
        const QString second = radio[oneCable ? 0 : 1].slavePath();
        if (!server.start({{true, radio[0].slavePath()}, {false, second}}, &error))
            qWarning("ser2net: %s", qPrintable(error));
        return error.isEmpty();
    }
    bool transferCompletes(Transfer::Mode mode) {
        QSignalSpy finished(&transfer, &Transfer::finished);
        if (!transfer.start(mode, 1))
            return false;
        return finished.wait(20000) && finished.first().first().toBool();
    }
};

#define SKIP_WITHOUT_SER2NET()                                                                     \
    if (Ser2NetServer::program().isEmpty())                                                        \
    QSKIP("ser2net is not installed (tools/deps.sh installs it)")

} // namespace

class TestNetwork : public QObject {
    Q_OBJECT
private slots:
    void transfers_data();
    void transfers();
    void diagnoses_data();
    void diagnoses();
    void stopWhileConnecting();
    void causes_data();
    void causes();
};

void TestNetwork::transfers_data() {
    QTest::addColumn<int>("accepter"); // 0 telnet(rfc2217), 1 tcp
    QTest::addColumn<bool>("fast");
    QTest::addColumn<int>("mode");
    for (int accepter : {0, 1})
        for (bool fast : {false, true})
            for (Transfer::Mode mode : {Transfer::Mode::Read, Transfer::Mode::Write})
                QTest::addRow("%s %s %s", accepter == 0 ? "rfc2217" : "socket",
                              fast ? "fast" : "standard",
                              mode == Transfer::Mode::Read ? "read" : "write")
                    << accepter << fast << int(mode);
}

// The working file after a read, and the radio's memory after a write, byte for byte.
void TestNetwork::transfers() {
    SKIP_WITHOUT_SER2NET();
    QFETCH(int, accepter);
    QFETCH(bool, fast);
    QFETCH(int, mode);
    NetRig rig;
    QVERIFY(rig.start());
    RadioEmulator &radio = rig.radio[accepter];
    rig.url = rig.server.url(accepter);
    if (fast)
        rig.transfer.setPacing(Pacing::fast());
    const QByteArray image = RadioEmulator::datImage(ffMemory());
    if (mode == int(Transfer::Mode::Read)) {
        radio.setMemory(ffMemory());
        QVERIFY(rig.transferCompletes(Transfer::Mode::Read));
        QFile file(rig.file.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toHex(), image.toHex());
    } else {
        radio.setMemory(patternMemory(5, 90));
        QFile file(rig.file.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(image);
        file.close();
        QVERIFY(rig.transferCompletes(Transfer::Mode::Write));
        QCOMPARE(RadioEmulator::datImage(radio.memory()).toHex(), image.toHex());
    }
    QVERIFY(rig.prompter.texts().filter(QStringLiteral("Error")).isEmpty());
}

enum class Scenario {
    Malformed,
    Refused,
    HostNotFound,
    NoReply,
    NotRfc2217,   // rfc2217:// at the tcp accepter
    SpeaksTelnet, // socket:// at the telnet accepter
    Kicked,       // another client connects to the same accepter mid-way
    InUse,        // another client holds the cable through the other accepter
};
Q_DECLARE_METATYPE(Scenario)

void TestNetwork::diagnoses_data() {
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<int>("verdict");
    // How a transfer reports it: 'o' the open error, 's' the set-up errors, 'g' the link
    // lost mid-way.
    QTest::addColumn<char>("report");
    QTest::newRow("malformed URL") << Scenario::Malformed << int(Verdict::CannotOpen) << 'o';
    QTest::newRow("nothing listening") << Scenario::Refused << int(Verdict::Refused) << 'o';
    QTest::newRow("host not found") << Scenario::HostNotFound << int(Verdict::HostNotFound) << 'o';
    QTest::newRow("no answer within 3 s") << Scenario::NoReply << int(Verdict::NoReply) << 'o';
    QTest::newRow("rfc2217 at a tcp accepter")
        << Scenario::NotRfc2217 << int(Verdict::NotRfc2217) << 's';
    QTest::newRow("socket at a telnet accepter")
        << Scenario::SpeaksTelnet << int(Verdict::SpeaksTelnet) << 's';
    QTest::newRow("another client took the port: closed without a word")
        << Scenario::Kicked << int(Verdict::ServerClosed) << 'g';
    QTest::newRow("cable held through the other accepter")
        << Scenario::InUse << int(Verdict::InUse) << 's';
}

// The probe's verdict, and the same words as the second line of the transfer's message.
void TestNetwork::diagnoses() {
    SKIP_WITHOUT_SER2NET();
    QFETCH(Scenario, scenario);
    QFETCH(int, verdict);
    QFETCH(char, report);
    // Before the rig: the emulator's frame logger reaches the other client.
    SilentHost silent;
    QTcpSocket other;
    NetRig rig;
    QVERIFY(rig.start(scenario == Scenario::InUse));
    const auto otherClient = [&](int accepter) {
        other.connectToHost(QHostAddress::LocalHost, rig.server.port(accepter));
        QVERIFY(other.waitForConnected(3000));
    };
    switch (scenario) {
    case Scenario::Malformed:
        rig.url = QStringLiteral("rfc2217://127.0.0.1");
        break;
    case Scenario::Refused:
        rig.url = QStringLiteral("socket://127.0.0.1:%1").arg(Ser2NetServer::freePort());
        break;
    case Scenario::HostNotFound:
        rig.url = QStringLiteral("rfc2217://no-such-host.invalid:3001");
        break;
    case Scenario::NoReply:
        QVERIFY(silent.port > 0);
        rig.url = QStringLiteral("rfc2217://127.0.0.1:%1").arg(silent.port);
        break;
    case Scenario::NotRfc2217:
        rig.url = rig.server.url(1, true);
        break;
    case Scenario::SpeaksTelnet:
        rig.url = rig.server.url(0, true);
        break;
    case Scenario::Kicked:
        rig.url = rig.server.url(0);
        rig.radio[0].setFaults([] {
            EmulatorFaults f;
            f.silentFrom = 1;
            return f;
        }());
        // Once the handshake is on the line, another client connects to the accepter.
        rig.radio[0].setFrameLogger([&other, port = rig.server.port(0)](const QByteArray &) {
            QMetaObject::invokeMethod(&other, [&other, port] {
                if (other.state() == QAbstractSocket::UnconnectedState)
                    other.connectToHost(QHostAddress::LocalHost, port);
            });
        });
        break;
    case Scenario::InUse:
        rig.url = rig.server.url(0);
        otherClient(1);
        // ser2net opens the cable for the other client before it serves the next.
        QTest::qWait(200);
        break;
    }

    PortProbe probe(rig.sio, 1);
    QSignalSpy probed(&probe, &PortProbe::finished);
    probe.start();
    QVERIFY(!probed.isEmpty() || probed.wait(10000));
    const PortDiagnosis found = probe.result();
    QCOMPARE(int(found.verdict), verdict);
    QCOMPARE(found.device, rig.url);

    if (scenario == Scenario::Kicked) {
        other.abort();
        QTest::qWait(200); // the cable is the next client's again
    }
    QSignalSpy finished(&rig.transfer, &Transfer::finished);
    const TransferTexts texts = englishTransferTexts();
    const bool started = rig.transfer.start(Transfer::Mode::Read, 1);
    if (started)
        QVERIFY(!finished.isEmpty() || finished.wait(10000));
    const QStringList messages = rig.prompter.texts(QStringLiteral("message"));
    switch (report) {
    case 'o':
        QCOMPARE(messages, QStringList{texts.openError + QLatin1Char('\n') + found.text()});
        break;
    case 's':
        QCOMPARE(messages, QStringList({texts.setupError + QLatin1Char('\n') + found.text(),
                                        texts.setupFailed}));
        break;
    case 'g':
        QCOMPARE(messages, QStringList{texts.deviceGone + QLatin1Char('\n') + found.text()});
        break;
    }
    QVERIFY(!rig.transfer.running());
    QVERIFY(finished.isEmpty() || !finished.first().first().toBool());
}

// A radio server played by the test on the loopback: it answers the handshake with 'P' and
// every read with a frame for the block 0x10 further on, or it pours out 0xFF.
class ScriptedServer : public QTcpServer {
public:
    enum class Script { ForeignFrames, FfFlood };
    explicit ScriptedServer(Script script) : m_script(script) {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *client = nextPendingConnection();
            connect(client, &QTcpSocket::readyRead, client, [this, client] { answer(client); });
            if (m_script == Script::FfFlood) {
                auto *flood = new QTimer(client);
                connect(flood, &QTimer::timeout, client,
                        [client] { client->write(QByteArray(64, char(0xFF))); });
                flood->start(5);
            }
        });
    }
    QString url() const { return QStringLiteral("socket://127.0.0.1:%1").arg(serverPort()); }

private:
    void answer(QTcpSocket *client) {
        m_in += client->readAll();
        if (m_script != Script::ForeignFrames)
            return m_in.clear();
        while (!m_in.isEmpty()) {
            if (m_in.startsWith("\x02PROGRAM")) {
                client->write("P");
                m_in.remove(0, 8);
            } else if (m_in.startsWith('R') && m_in.size() >= 5) {
                const int other = ((quint8(m_in[1]) << 8 | quint8(m_in[2])) + 0x10) & 0x3FF;
                client->write(QByteArray("W") + char(other >> 8) + char(other & 0xFF) + '\x08' +
                              QByteArray(8, char(0x33)));
                m_in.remove(0, 5);
            } else if (m_in.startsWith('R')) {
                return;
            } else {
                m_in.remove(0, 1);
            }
        }
    }
    Script m_script;
    QByteArray m_in;
};

enum class Cause { ForeignFrames, FfFlood, ServerKilled };
Q_DECLARE_METATYPE(Cause)

void TestNetwork::causes_data() {
    QTest::addColumn<Cause>("cause");
    QTest::addColumn<QString>("expected"); // in the probe's line or the transfer's boxes
    QTest::addColumn<QString>("wrong");    // in none of them
    QTest::newRow("frames for another address")
        << Cause::ForeignFrames
        << "Connect is error,Do you try?\nThe radio answered for address 0020 instead of 0010: "
           "57 00 20 08 33 33 33 33 33 33 33 33"
        << "";
    QTest::newRow("0xFF flood on a raw port")
        << Cause::FfFlood << "no answer from the radio: the line carried FF FF FF FF"
        << "telnet";
    QTest::newRow("ser2net killed mid-transfer")
        << Cause::ServerKilled << ": the server closed the connection without saying why"
        << "(another client took the port)";
}

// Each cause gets its own words, and none that another cause would deserve.
void TestNetwork::causes() {
    QFETCH(Cause, cause);
    QFETCH(QString, expected);
    QFETCH(QString, wrong);
    std::unique_ptr<ScriptedServer> scripted;
    NetRig rig;
    if (cause == Cause::ServerKilled) {
        SKIP_WITHOUT_SER2NET();
        QVERIFY(rig.start());
        rig.url = rig.server.url(0);
        // The 6th frame on the line: the server dies as a kill -9 leaves it.
        rig.radio[0].setFrameLogger([&rig](const QByteArray &) {
            if (rig.radio[0].requestCount() == 6)
                QMetaObject::invokeMethod(&rig.transfer, [&rig] { rig.server.kill(); });
        });
    } else {
        scripted = std::make_unique<ScriptedServer>(cause == Cause::FfFlood
                                                        ? ScriptedServer::Script::FfFlood
                                                        : ScriptedServer::Script::ForeignFrames);
        rig.url = scripted->url();
    }
    QStringList said;
    if (cause != Cause::ServerKilled) {
        PortProbe probe(rig.sio, 1);
        QSignalSpy probed(&probe, &PortProbe::finished);
        probe.start();
        QVERIFY(!probed.isEmpty() || probed.wait(10000));
        said << probe.result().text();
    }
    QSignalSpy finished(&rig.transfer, &Transfer::finished);
    QVERIFY(rig.transfer.start(Transfer::Mode::Read, 1));
    QVERIFY(!finished.isEmpty() || finished.wait(15000));
    QVERIFY(!finished.first().first().toBool());
    said << rig.prompter.texts();
    QVERIFY2(!said.filter(expected).isEmpty(), qPrintable(said.join("\n---\n")));
    if (!wrong.isEmpty())
        QVERIFY2(said.filter(wrong).isEmpty(), qPrintable(said.join("\n---\n")));
}

// The stop command while a host does not answer: the transfer ends at once, quietly, and
// the connect that would have failed later says nothing.
void TestNetwork::stopWhileConnecting() {
    SilentHost silent;
    QVERIFY(silent.port > 0);
    NetRig rig;
    rig.url = QStringLiteral("rfc2217://127.0.0.1:%1").arg(silent.port);
    QSignalSpy buttons(&rig.transfer, &Transfer::buttonsEnabled);
    QSignalSpy finished(&rig.transfer, &Transfer::finished);
    QVERIFY(rig.transfer.start(Transfer::Mode::Read, 1));
    QVERIFY(rig.transfer.running());
    QCOMPARE(buttons.takeFirst(), QVariantList{false});
    rig.transfer.stop();
    QVERIFY(!rig.transfer.running());
    QCOMPARE(rig.transfer.outcome(), Transfer::Outcome::Stopped);
    QCOMPARE(buttons.takeFirst(), QVariantList{true});
    QTest::qWait(kNetworkTimeoutMs + 300);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(rig.prompter.texts(), QStringList());
    QVERIFY(!rig.file.exists() || rig.file.recordCount() == 0);
}

QTEST_GUILESS_MAIN(TestNetwork)
#include "tst_network.moc"
