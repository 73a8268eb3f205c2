// The emulator's image files and the qx7420-emu program's life cycle.
#include "qtsio.h"
#include "radioemulator.h"

#include "testbytes.h"
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <bitset>

#include <QtTest>

using namespace qx;
using namespace qx::test;

namespace {

QByteArray frame(std::uint16_t address, std::uint8_t fill) {
    QByteArray f;
    f.append('W').append(char(address >> 8)).append(char(address & 0xFF)).append(char(0x08));
    f.append(8, char(fill));
    return f;
}

// Sends a request and collects the answer until it holds expected bytes or 2 s pass.
QByteArray exchange(Sio &sio, const QByteArray &request, int expected) {
    sio.sio_write(1, request.constData(), int(request.size()));
    QByteArray got;
    char buf[256];
    QElapsedTimer clock;
    clock.start();
    while (got.size() < expected && !clock.hasExpired(2000)) {
        got += QByteArray(buf, std::max(0, sio.sio_read(1, buf, 255)));
        QThread::usleep(200);
    }
    return got;
}

// For each byte, the number of bits in which it differs from the one meant; a length that
// differs shows as -1.
QList<int> bitsOff(const QByteArray &got, const QByteArray &meant) {
    if (got.size() != meant.size())
        return {-1};
    QList<int> out;
    for (int i = 0; i < got.size(); ++i)
        out << int(std::bitset<8>(quint8(got[i] ^ meant[i])).count());
    return out;
}

} // namespace

class TestEmulator : public QObject {
    Q_OBJECT
private slots:
    void loadsImages_data();
    void loadsImages();
    void savesDatInReadOrder();
    void linePacesBothWays_data();
    void linePacesBothWays();
    void noiseFlipsOneBitPerByte_data();
    void noiseFlipsOneBitPerByte();
    void programAnswersOnItsLinkAndCleansUp_data();
    void programAnswersOnItsLinkAndCleansUp();
};

void TestEmulator::loadsImages_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("addresses"); // blocks expected to hold 0xA5

    QByteArray raw(1024, char(0x11));
    raw.replace(0x3F0, 8, QByteArray(8, char(0xA5)));
    QTest::newRow("raw dump") << raw << QList<int>{0x3F0};
    // Frames go where their address bytes say, whatever their place in the file; an
    // address beyond the memory and a trailing partial frame are ignored.
    const QByteArray dat = frame(0x0108, 0xA5) + frame(0x0010, 0xA5) + frame(0x03FC, 0xA5) +
                           frame(0x0400, 0xA5) + QByteArray("W\x00\x20", 3);
    QTest::newRow("working file") << dat << QList<int>{0x0010, 0x0108};
}

void TestEmulator::loadsImages() {
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, addresses);

    QTemporaryDir dir;
    const QString path = dir.filePath("image");
    QVERIFY(writeFile(path, file));
    RadioEmulator emu;
    QVERIFY(emu.loadImage(path));
    const RadioEmulator::Memory m = emu.memory();
    for (int a = 0; a < RadioEmulator::kMemorySize; a += 8) {
        const bool set = addresses.contains(a);
        const std::uint8_t other = file.size() == 1024 ? 0x11 : 0xFF;
        for (int k = 0; k < 8; ++k)
            QVERIFY2(m[a + k] == (set ? 0xA5 : other), qPrintable(QString::number(a, 16)));
    }
    QVERIFY(!emu.loadImage(dir.filePath("missing")));
}

void TestEmulator::savesDatInReadOrder() {
    RadioEmulator emu;
    RadioEmulator::Memory m;
    for (int i = 0; i < RadioEmulator::kMemorySize; ++i)
        m[i] = std::uint8_t(i);
    emu.setMemory(m);
    QTemporaryDir dir;
    QVERIFY(emu.saveDat(dir.filePath("out.dat")));
    QFile f(dir.filePath("out.dat"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray dat = f.readAll();
    QCOMPARE(dat.size(), 35 * 12);
    QCOMPARE(dat.left(12), QByteArray::fromHex("5700100810111213 14151617"));
    QCOMPARE(dat.mid(31 * 12, 12), QByteArray::fromHex("5701080808090a0b0c0d0e0f"));
    QCOMPARE(dat.mid(34 * 12, 12), QByteArray::fromHex("5703f008f0f1f2f3f4f5f6f7"));
}

void TestEmulator::linePacesBothWays_data() {
    QTest::addColumn<int>("thinkMs");
    QTest::newRow("no think time") << 0;
    QTest::newRow("20 ms think time") << 20;
}

// A read request (5 bytes) is answered once it could have arrived at 9600 baud, and the
// answer (12 bytes) takes as long again per byte: never sooner, however idle the machine.
void TestEmulator::linePacesBothWays() {
    QFETCH(int, thinkMs);
    RadioEmulator emu;
    emu.setThinkMillis(thinkMs);
    QVERIFY(emu.start());
    QtSio sio([&](int) { return emu.slavePath(); });
    QCOMPARE(sio.sio_open(1), 0);
    const QByteArray request("R\x03\xC0\x08\x06", 5);
    QElapsedTimer clock;
    clock.start();
    sio.sio_write(1, request.constData(), int(request.size()));
    QByteArray got;
    char buf[256];
    // Polled closely: the time measured is at most a fraction of a byte after the last one.
    while (got.size() < 12 && !clock.hasExpired(2000)) {
        got += QByteArray(buf, std::max(0, sio.sio_read(1, buf, 255)));
        QThread::usleep(100);
    }
    const qint64 elapsedUs = clock.nsecsElapsed() / 1000;
    QCOMPARE(got.size(), 12);
    QVERIFY2(elapsedUs >= (5 + 12) * 1042 + thinkMs * 1000, qPrintable(QString::number(elapsedUs)));
    sio.sio_close(1);
    emu.stop();
}

void TestEmulator::noiseFlipsOneBitPerByte_data() {
    QTest::addColumn<double>("out"); // probability for each byte sent
    QTest::addColumn<double>("in");  // ... and for each data byte written
    QTest::newRow("quiet") << 0.0 << 0.0;
    QTest::newRow("every byte sent") << 1.0 << 0.0;
    QTest::newRow("every byte stored") << 0.0 << 1.0;
    QTest::newRow("half both ways") << 0.5 << 0.5;
}

// A read of the 35 blocks and a write of them, twice with the same seed: the noise flips
// one bit of a byte or none, about as often as asked, the same bytes each time, and a
// noisy write frame is still acknowledged.
void TestEmulator::noiseFlipsOneBitPerByte() {
    QFETCH(double, out);
    QFETCH(double, in);
    RadioEmulator::Memory pattern;
    for (int i = 0; i < RadioEmulator::kMemorySize; ++i)
        pattern[std::size_t(i)] = std::uint8_t(i * 37);
    const auto &addresses = RadioEmulator::readAddresses();
    const auto data = [](std::uint16_t address) { return QByteArray(8, char(~address)); };

    QByteArray sent[2], stored[2];
    for (int k = 0; k < 2; ++k) {
        RadioEmulator emu;
        emu.setByteTimeMicros(0);
        emu.setMemory(pattern);
        EmulatorFaults faults;
        faults.noiseOut = out;
        faults.noiseIn = in;
        faults.seed = 7;
        emu.setFaults(faults);
        QVERIFY(emu.start());
        QtSio sio([&](int) { return emu.slavePath(); });
        QCOMPARE(sio.sio_open(1), 0);
        for (std::uint16_t a : addresses)
            sent[k] += exchange(sio, QByteArray("R", 1) + char(a >> 8) + char(a) + "\x08\x06", 12);
        for (std::uint16_t a : addresses)
            sent[k] += exchange(sio, frame(a, 0).left(4) + data(a) + '\x06', 1);
        sio.sio_close(1);
        emu.stop();
        for (std::uint16_t a : addresses)
            stored[k] += QByteArray(reinterpret_cast<const char *>(emu.memory().data()) + a, 8);
    }
    QCOMPARE(sent[1], sent[0]);
    QCOMPARE(stored[1], stored[0]);

    QByteArray written;
    for (std::uint16_t a : addresses)
        written += data(a);
    const auto check = [](const QByteArray &got, const QByteArray &meant, double p) {
        const QList<int> bits = bitsOff(got, meant);
        QVERIFY2(std::all_of(bits.begin(), bits.end(), [](int b) { return b == 0 || b == 1; }),
                 "a byte lost more than one bit, or bytes were lost");
        const double share = double(bits.count(1)) / bits.size();
        QVERIFY2(p == 0 || p == 1 ? share == p : std::abs(share - p) < 0.15,
                 qPrintable(QStringLiteral("%1 of the bytes flipped").arg(share)));
    };
    check(sent[0], RadioEmulator::datImage(pattern) + QByteArray(35, '\x06'), out);
    check(stored[0], written, in);
}

void TestEmulator::programAnswersOnItsLinkAndCleansUp_data() {
    QTest::addColumn<QStringList>("noise");
    QTest::addColumn<int>("bits"); // off in each byte it sends and stores
    QTest::newRow("quiet line") << QStringList{} << 0;
    QTest::newRow("noise both ways")
        << QStringList{"--noise", "1", "--noise-in", "1", "--seed", "5"} << 1;
}

// Qt's port opens the link (a symbolic link to the pty slave); the program saves what it
// was written and removes its link when terminated.
void TestEmulator::programAnswersOnItsLinkAndCleansUp() {
    QFETCH(QStringList, noise);
    QFETCH(int, bits);
    QTemporaryDir dir;
    const QString link = dir.filePath("radio");
    const QString saved = dir.filePath("saved.bin");
    QVERIFY(writeFile(dir.filePath("in.dat"), frame(0x03C0, 0x42)));

    QProcess emu;
    emu.start(QStringLiteral(QX_EMULATOR),
              QStringList{"--image", dir.filePath("in.dat"), "--link", link, "--save", saved} +
                  noise);
    QVERIFY(emu.waitForStarted());
    QTRY_VERIFY(emu.canReadLine());
    QCOMPARE(QString::fromLocal8Bit(emu.readLine()).trimmed(), link);
    QVERIFY(QFileInfo(link).isSymLink());

    QtSio sio([&](int) { return link; });
    QCOMPARE(sio.sio_open(1), 0);
    const auto offBy = [&](int count) { return QList<int>(count, bits); };
    QCOMPARE(bitsOff(exchange(sio, QByteArray("\x02PROGRAM", 8), 1), "P"), offBy(1));
    QCOMPARE(bitsOff(exchange(sio, QByteArray("R\x03\xC0\x08\x06", 5), 12), frame(0x03C0, 0x42)),
             offBy(12));
    QCOMPARE(bitsOff(exchange(sio, frame(0x0020, 0x33) + '\x06', 1), "\x06"), offBy(1));
    sio.sio_close(1);

    emu.terminate();
    QVERIFY(emu.waitForFinished(5000));
    QCOMPARE(emu.exitStatus(), QProcess::NormalExit);
    QCOMPARE(emu.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
    QFile f(saved);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray memory = f.readAll();
    QCOMPARE(memory.size(), 1024);
    QCOMPARE(bitsOff(memory.mid(0x0020, 8), QByteArray(8, char(0x33))), offBy(8));
    QCOMPARE(memory.mid(0x03C0, 8), QByteArray(8, char(0x42)));
    QCOMPARE(memory.mid(0x0028, 8), QByteArray(8, char(0xFF)));
}

QTEST_GUILESS_MAIN(TestEmulator)
#include "tst_emulator.moc"
