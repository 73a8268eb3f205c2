// The waits of both pacings, read from the time of every port call, and fast pacing's
// time-out and guard against answers that come late, in pieces or misaligned. No line
// and no emulator: the scripted port answers at once, so only lower bounds are asserted
// and they hold on any machine.
#include "scriptedprompter.h"
#include "scriptedsio.h"
#include "testbytes.h"
#include "transfer.h"
#include "workingfile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace qx;
using namespace qx::test;

namespace {

using Mode = Transfer::Mode;
constexpr qint64 kMs = 1'000'000;

const std::array<std::uint16_t, 35> kReadAddresses = [] {
    std::array<std::uint16_t, 35> a{};
    for (int i = 0; i < 32; ++i)
        a[std::size_t(i)] = std::uint16_t(0x0010 + 8 * i);
    a[32] = 0x03C0;
    a[33] = 0x03D0;
    a[34] = 0x03F0;
    return a;
}();

// The image a read of this memory stores.
QByteArray imageOf(const std::array<std::uint8_t, 1024> &memory) {
    QByteArray out;
    for (std::uint16_t a : kReadAddresses) {
        out += 'W';
        out += char(a >> 8);
        out += char(a & 0xFF);
        out += char(0x08);
        out.append(reinterpret_cast<const char *>(memory.data() + a), 8);
    }
    return out;
}

std::array<std::uint8_t, 1024> patternMemory(int multiplier, int offset) {
    std::array<std::uint8_t, 1024> m{};
    for (std::size_t i = 0; i < m.size(); ++i)
        m[i] = std::uint8_t(int(i) * multiplier + offset);
    return m;
}

struct Rig {
    ScriptedSio sio;
    QTemporaryDir dir;
    WorkingFile file{dir.filePath(QStringLiteral("r_and_w.dat"))};
    ScriptedPrompter prompter;
    Transfer transfer{sio, file, prompter, englishTransferTexts()};

    // Whether the transfer completed.
    bool run(Mode mode, const Pacing &pacing) {
        transfer.setPacing(pacing);
        QSignalSpy finished(&transfer, &Transfer::finished);
        if (!transfer.start(mode, 1) || !finished.wait(30000))
            return false;
        return finished.first().first().toBool();
    }
    bool writeFile(const QByteArray &bytes) {
        QFile f(file.path());
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    QByteArray fileBytes() const { return readFile(file.path()); }
};

// The time of the last read before the given time that handed out bytes.
qint64 lastAnswerBefore(const QList<ScriptedSio::Call> &calls, qint64 atNs) {
    qint64 last = -1;
    for (const ScriptedSio::Call &c : calls)
        if (c.op == 'r' && !c.bytes.isEmpty() && c.atNs < atNs)
            last = c.atNs;
    return last;
}

} // namespace

class TestPacing : public QObject {
    Q_OBJECT
private slots:
    void standardWaits_data();
    void standardWaits();
    void fastPacing_data();
    void fastPacing();
    void fastRetryRules_data();
    void fastRetryRules();
    void standardStoresOnlyItsOwnBlock_data();
    void standardStoresOnlyItsOwnBlock();
};

void TestPacing::standardWaits_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("waits"); // ms between a step's request and its read
    QList<int> read{30};
    for (int step = 2; step <= 35; ++step)
        read << 50;
    read << 30;
    QTest::newRow("read") << int(Mode::Read) << read;
    QTest::newRow("write") << int(Mode::Write) << QList<int>(41, 30);
}

// Every answer is there at once, so each step goes out exactly once: its answer is read
// no sooner than its wait after the request, and the next request follows 30 ms later.
void TestPacing::standardWaits() {
    QFETCH(int, mode);
    QFETCH(QList<int>, waits);
    Rig rig;
    rig.sio.memory = patternMemory(7, 3);
    if (Mode(mode) == Mode::Write)
        QVERIFY(rig.writeFile(imageOf(patternMemory(5, 90))));
    QVERIFY(rig.run(Mode(mode), Pacing::standard()));

    const auto writes = rig.sio.callsOf('w');
    const auto reads = rig.sio.callsOf('r');
    QCOMPARE(writes.size(), waits.size());
    QCOMPARE(reads.size(), waits.size());
    QVERIFY(writes[0].atNs - rig.sio.callsOf('o')[0].atNs >= 30 * kMs);
    for (int i = 0; i < waits.size(); ++i) {
        QVERIFY2(reads[i].atNs - writes[i].atNs >= waits[i] * kMs, qPrintable(QString::number(i)));
        if (i > 0)
            QVERIFY2(writes[i].atNs - writes[i - 1].atNs >= (waits[i - 1] + 30) * kMs,
                     qPrintable(QString::number(i)));
    }
    if (Mode(mode) == Mode::Read)
        QCOMPARE(rig.fileBytes(), imageOf(rig.sio.memory));
}

void TestPacing::fastPacing_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("drop");
    QTest::addColumn<QList<int>>("hold");
    QTest::addColumn<int>("bytesPerRead");
    QTest::addColumn<int>("garbleAt");
    QTest::addColumn<QByteArray>("garbleTo"); // "%" stands for the true answer
    QTest::addColumn<int>("requests");

    const QList<int> none;
    QTest::newRow("read, answered at once")
        << int(Mode::Read) << none << none << 0 << 0 << QByteArray() << 36;
    QTest::newRow("read, answers in 3-byte pieces")
        << int(Mode::Read) << none << none << 3 << 0 << QByteArray() << 36;
    QTest::newRow("read, late answer comes with the repeat's")
        << int(Mode::Read) << none << QList<int>{5} << 0 << 0 << QByteArray() << 37;
    // The repeat's own answer comes late too, in front of the next step's answer: it
    // carries the address of the step before and must not be stored for this one.
    QTest::newRow("read, the repeat's answer runs into the next step")
        << int(Mode::Read) << none << QList<int>{5, 6} << 0 << 0 << QByteArray() << 38;
    QTest::newRow("read, answer behind stray bytes")
        << int(Mode::Read) << none << none << 0 << 6 << QByteArray("WWW%") << 37;
    QTest::newRow("read, short answer")
        << int(Mode::Read) << none << none << 0 << 6 << QByteArray("WWW") << 37;
    QTest::newRow("write, acknowledged at once")
        << int(Mode::Write) << none << none << 0 << 0 << QByteArray() << 41;
    QTest::newRow("write, dropped ACK")
        << int(Mode::Write) << QList<int>{10} << none << 0 << 0 << QByteArray() << 42;
    QTest::newRow("write, answered with something else")
        << int(Mode::Write) << none << none << 0 << 10 << QByteArray("\x15") << 42;
}

// Byte for byte whatever the fault; a repeat goes out a time-out after the request, any
// other request at least the guard after the answer before it.
void TestPacing::fastPacing() {
    QFETCH(int, mode);
    QFETCH(QList<int>, drop);
    QFETCH(QList<int>, hold);
    QFETCH(int, bytesPerRead);
    QFETCH(int, garbleAt);
    QFETCH(QByteArray, garbleTo);
    QFETCH(int, requests);

    Rig rig;
    // 0x57 in every data byte: a frame read from the wrong place still starts with 'W'.
    rig.sio.memory = patternMemory(7, 3);
    std::fill_n(rig.sio.memory.begin() + 0x0010, 0x100, 0x57);
    rig.sio.drop = {drop.begin(), drop.end()};
    rig.sio.holdUntilNext = {hold.begin(), hold.end()};
    rig.sio.bytesPerRead = bytesPerRead;
    rig.sio.garble = [&](int n, QByteArray answer) {
        return n == garbleAt ? QByteArray(garbleTo).replace("%", answer) : answer;
    };
    const QByteArray image = imageOf(patternMemory(5, 90));
    const auto before = rig.sio.memory;
    if (Mode(mode) == Mode::Write)
        QVERIFY(rig.writeFile(image));
    const Pacing fast = Pacing::fast();
    QVERIFY(rig.run(Mode(mode), fast));

    if (Mode(mode) == Mode::Read)
        QCOMPARE(rig.fileBytes().toHex(' '), imageOf(before).toHex(' '));
    else
        QCOMPARE(imageOf(rig.sio.memory).toHex(' '), image.toHex(' '));
    QCOMPARE(rig.prompter.texts("ask"), QStringList());

    const auto writes = rig.sio.callsOf('w');
    QCOMPARE(writes.size(), requests);
    for (int i = 1; i < writes.size(); ++i) {
        const QString where = QString::number(i + 1);
        if (writes[i].bytes == writes[i - 1].bytes)
            QVERIFY2(writes[i].atNs - writes[i - 1].atNs >= fast.timeoutMs * kMs,
                     qPrintable(where));
        else
            QVERIFY2(writes[i].atNs - lastAnswerBefore(rig.sio.calls, writes[i].atNs) >=
                         fast.stepGapMs * kMs,
                     qPrintable(where));
    }
}

void TestPacing::fastRetryRules_data() {
    QTest::addColumn<int>("silentFrom");
    QTest::addColumn<int>("requests");
    // As at the standard pacing: the handshake asks at its 9th unanswered tick, a later
    // step at its 8th.
    QTest::newRow("handshake") << 1 << 9;
    QTest::newRow("step 20") << 20 << 19 + 8;
}

void TestPacing::fastRetryRules() {
    QFETCH(int, silentFrom);
    QFETCH(int, requests);
    Rig rig;
    for (int n = silentFrom; n < silentFrom + 20; ++n)
        rig.sio.drop.insert(n);
    QVERIFY(!rig.run(Mode::Read, Pacing::fast()));

    QCOMPARE(rig.prompter.texts("ask").size(), 1);
    QCOMPARE(rig.transfer.outcome(), Transfer::Outcome::NoAnswer);
    const auto writes = rig.sio.callsOf('w');
    QCOMPARE(writes.size(), requests);
    for (int i = silentFrom; i < writes.size(); ++i)
        QVERIFY(writes[i].atNs - writes[i - 1].atNs >= Pacing::fast().timeoutMs * kMs);
}

void TestPacing::standardStoresOnlyItsOwnBlock_data() {
    QTest::addColumn<QByteArray>("garbleTo"); // the answer to request 6; "%" the true one
    QTest::newRow("a stray W in front") << QByteArray("W%");
    QTest::newRow("another block's header") << QByteArray("W\x03\xC0\x08%").left(4) + "12345678";
}

// At the standard pacing a reply that starts with 'W' but is not its own block's frame
// (a late reply's tail in front of it, or another address) is no answer: the step is
// sent again and the file holds exactly what the radio holds.
void TestPacing::standardStoresOnlyItsOwnBlock() {
    QFETCH(QByteArray, garbleTo);
    Rig rig;
    rig.sio.memory = patternMemory(7, 3);
    std::fill_n(rig.sio.memory.begin() + 0x0010, 0x100, 0x57);
    rig.sio.garble = [&](int n, QByteArray answer) {
        return n == 6 ? QByteArray(garbleTo).replace("%", answer) : answer;
    };
    QVERIFY(rig.run(Mode::Read, Pacing::standard()));
    QCOMPARE(rig.fileBytes().toHex(' '), imageOf(rig.sio.memory).toHex(' '));
    QCOMPARE(rig.sio.callsOf('w').size(), 37);
}

QTEST_GUILESS_MAIN(TestPacing)
#include "tst_pacing.moc"
