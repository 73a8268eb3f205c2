// Read and write transfers end to end: Transfer and QtSio against the emulator on a real
// pseudo-terminal, in real time.
#include "error.h"
#include "linkrig.h"

#include <QFileInfo>
#include <QtTest>
#include <unistd.h>

Q_DECLARE_METATYPE(qx::EmulatorFaults)

using namespace qx;
using namespace qx::test;

namespace {

using Mode = Transfer::Mode;

QList<int> range(int from, int to) {
    QList<int> out;
    for (int i = from; i <= to; ++i)
        out << i;
    return out;
}

QByteArray blankFrame(std::uint16_t address) {
    QByteArray f;
    f.append('W').append(char(address >> 8)).append(char(address & 0xFF)).append(char(0x08));
    f.append(8, char(0xFF)).append(char(0x06));
    return f;
}

// What a write sends, in step order, for the given working file.
std::vector<QByteArray> writeFrames(const QByteArray &image) {
    auto record = [&](int i) { return image.mid(12 * i, 12) + char(0x06); };
    std::vector<QByteArray> out{handshake(), blankFrame(0x0000), blankFrame(0x0008)};
    for (int i = 0; i < 32; ++i)
        out.push_back(record(i));
    out.push_back(record(32));
    out.push_back(blankFrame(0x03C8));
    out.push_back(record(33));
    out.push_back(blankFrame(0x03D8));
    out.push_back(record(34));
    out.push_back(blankFrame(0x03F8));
    return out;
}

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT
private slots:
    void readFillsEmptyWorkingFile();
    void writeSendsWorkingFile();
    void faultyRepliesAreRetried_data();
    void faultyRepliesAreRetried();
    void secondStartIsRefused();
    void failedStoreEndsRead();
    void missingRecordsEndWrite_data();
    void missingRecordsEndWrite();
    void shortImageIsNotWritten_data();
    void shortImageIsNotWritten();
    void unwritableFileIsNotRead();
};

void TestTransfer::readFillsEmptyWorkingFile() {
    LinkRig rig(chineseTransferTexts());
    QString atOver; // link, position, buttons and decoding when the completion box opens
    rig.prompter.onShow = [&](const ScriptedPrompter::Shown &s) {
        if (s.text == "完成!")
            atOver = QStringLiteral("%1 %2 %3 %4")
                         .arg(rig.linkOpen())
                         .arg(rig.positions.last())
                         .arg(rig.buttons.size())
                         .arg(rig.readCompleted->count());
    };
    QVERIFY(rig.transfer->start(Mode::Read, 1));
    QCOMPARE(rig.transfer->mode(), Transfer::Mode::Read);
    QVERIFY(rig.waitFinished());
    QCOMPARE(atOver, QStringLiteral("0 36 1 0"));

    QCOMPARE(rig.fileBytes(), RadioEmulator::datImage(rig.emu.memory()));
    QCOMPARE(rig.positions, QList<int>{0} + range(2, 36));
    // Record n-2 is in the file by the time position n shows, and no later record is.
    QCOMPARE(rig.recordsAtProgress, QList<int>{0} + range(1, 35));
    QCOMPARE(rig.buttons, (QList<bool>{false, true}));
    QCOMPARE(rig.readCompleted->count(), 1);
    QCOMPARE(rig.prompter.texts(), (QStringList{"开始从对讲机里读取数据", "完成!"}));
    QVERIFY(!rig.linkOpen());
    QVERIFY(!rig.transfer->running());

    std::vector<QByteArray> expected{handshake()};
    for (std::uint16_t a : RadioEmulator::readAddresses())
        expected.push_back(readRequest(a));
    QCOMPARE(withoutRepeats(rig.emu.receivedFrames()), expected);
    // Pending input is dropped before every request goes out.
    QCOMPARE(rig.sio.traffic, QString("DWR").repeated(36));
}

void TestTransfer::writeSendsWorkingFile() {
    LinkRig rig;
    const RadioEmulator::Memory before = patternMemory(13, 1);
    rig.emu.setMemory(before);
    const QByteArray image = RadioEmulator::datImage(patternMemory(5, 90));
    rig.writeFile(image);

    QString atOver;
    rig.prompter.onShow = [&](const ScriptedPrompter::Shown &) {
        atOver = QStringLiteral("%1 %2 %3")
                     .arg(rig.linkOpen())
                     .arg(rig.positions.last())
                     .arg(rig.buttons.size());
    };
    QVERIFY(rig.transfer->start(Mode::Write, 1));
    QCOMPARE(rig.transfer->mode(), Transfer::Mode::Write);
    QVERIFY(rig.waitFinished());
    QCOMPARE(atOver, QStringLiteral("0 41 1"));

    QCOMPARE(withoutRepeats(rig.emu.receivedFrames()), writeFrames(image));
    QCOMPARE(rig.positions, QList<int>{0} + range(2, 41));
    QCOMPARE(rig.buttons, (QList<bool>{false, true}));
    QCOMPARE(rig.prompter.texts(), QStringList{"Over!"});
    QCOMPARE(rig.readCompleted->count(), 0);
    QVERIFY(!rig.linkOpen());

    RadioEmulator::Memory expected = before;
    for (int i = 0; i < 35; ++i) {
        const std::uint16_t address = RadioEmulator::readAddresses()[i];
        for (int k = 0; k < 8; ++k)
            expected[address + k] = std::uint8_t(image[12 * i + 4 + k]);
    }
    for (int address : {0x0000, 0x0008, 0x03C8, 0x03D8, 0x03F8})
        std::fill_n(expected.begin() + address, 8, 0xFF);
    const RadioEmulator::Memory after = rig.emu.memory();
    QVERIFY(after == expected);
    QVERIFY(std::equal(after.begin() + 0x03E0, after.begin() + 0x03F0, before.begin() + 0x03E0));
}

// Each fault costs exactly the extra ticks given, and nothing wrong is ever stored or
// sent: the transfer ends as if the radio had answered cleanly.
void TestTransfer::faultyRepliesAreRetried_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<EmulatorFaults>("faults");
    QTest::addColumn<int>("requests");
    QTest::addColumn<bool>("fast");

    EmulatorFaults f;
    f.dropReplies = {5};
    QTest::newRow("dropped reply") << int(Mode::Read) << f << 37 << false;
    f = {};
    f.corruptReply = 5;
    QTest::newRow("wrong first byte") << int(Mode::Read) << f << 37 << false;
    f = {};
    f.shortReply = 5;
    f.shortBytes = 7;
    QTest::newRow("short reply is no reply") << int(Mode::Read) << f << 37 << false;
    f = {};
    f.dropReplies = {1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("handshake answered on its 9th tick") << int(Mode::Read) << f << 44 << false;
    f = {};
    f.dropReplies = {36, 37, 38, 39, 40, 41, 42};
    QTest::newRow("last read step answered on its 8th tick") << int(Mode::Read) << f << 43 << false;
    f = {};
    f.dropReplies = {41, 42, 43, 44, 45, 46, 47};
    QTest::newRow("last write step answered on its 8th tick")
        << int(Mode::Write) << f << 48 << false;
    // The reply to request 5 comes after its tick and runs into the repeat's reply; what
    // is left over of that must not become record 4 (step 6).
    f = {};
    f.lateReply = 5;
    f.lateMs = 80;
    QTest::newRow("late reply") << int(Mode::Read) << f << 37 << false;

    // Fast pacing: a fault costs one time-out and one repeat; a reply late by less than
    // the time-out costs nothing.
    f = {};
    f.dropReplies = {5};
    QTest::newRow("fast, dropped reply") << int(Mode::Read) << f << 37 << true;
    f = {};
    f.shortReply = 5;
    f.shortBytes = 7;
    QTest::newRow("fast, short reply") << int(Mode::Read) << f << 37 << true;
    f = {};
    f.lateReply = 5;
    f.lateMs = 200;
    QTest::newRow("fast, reply later than the time-out") << int(Mode::Read) << f << 37 << true;
    f.lateMs = 80;
    QTest::newRow("fast, reply late within the time-out") << int(Mode::Read) << f << 36 << true;
    f = {};
    f.dropReplies = {10};
    QTest::newRow("fast, dropped ACK") << int(Mode::Write) << f << 42 << true;
    f = {};
    f.lateReply = 10;
    f.lateMs = 200;
    QTest::newRow("fast, ACK later than the time-out") << int(Mode::Write) << f << 42 << true;
}

void TestTransfer::faultyRepliesAreRetried() {
    QFETCH(int, mode);
    QFETCH(EmulatorFaults, faults);
    QFETCH(int, requests);
    QFETCH(bool, fast);

    LinkRig rig;
    if (fast)
        rig.transfer->setPacing(Pacing::fast());
    // 0x57 everywhere in the data: any leftover fragment would look like a frame.
    RadioEmulator::Memory memory = patternMemory(7, 3);
    std::fill_n(memory.begin() + 0x0010, 0x100, 0x57);
    rig.emu.setMemory(memory);
    rig.emu.setFaults(faults);
    const QByteArray image = RadioEmulator::datImage(patternMemory(5, 90));
    if (Mode(mode) == Mode::Write)
        rig.writeFile(image);

    QVERIFY(rig.transfer->start(Mode(mode), 1));
    QVERIFY(rig.waitFinished());
    QCOMPARE(rig.prompter.texts("ask"), QStringList());
    // Each fault forces its repeats; load may add one or two more.
    QVERIFY2(rig.emu.requestCount() >= requests &&
                 rig.emu.requestCount() <= requests + kSpuriousRepeats,
             qPrintable(QString::number(rig.emu.requestCount())));
    QCOMPARE(int(withoutRepeats(rig.emu.receivedFrames()).size()),
             Mode(mode) == Mode::Read ? 36 : 41);
    if (Mode(mode) == Mode::Read)
        QCOMPARE(rig.fileBytes(), RadioEmulator::datImage(memory));
    else
        QCOMPARE(RadioEmulator::datImage(rig.emu.memory()), image);
}

void TestTransfer::secondStartIsRefused() {
    LinkRig rig;
    bool second = true;
    QObject::connect(rig.transfer.get(), &Transfer::progress, [&](int n) {
        if (n == 5)
            QTimer::singleShot(0, [&] { second = rig.transfer->start(Mode::Write, 1); });
    });
    QVERIFY(rig.transfer->start(Mode::Read, 1));
    QVERIFY(rig.waitFinished());

    QVERIFY(!second);
    QCOMPARE(rig.prompter.texts(), (QStringList{englishTransferTexts().alreadyRunning, "Over!"}));
    QCOMPARE(rig.sio.opens, 1);
    QCOMPARE(rig.fileBytes(), RadioEmulator::datImage(rig.emu.memory()));
    QCOMPARE(int(withoutRepeats(rig.emu.receivedFrames()).size()), 36);
}

void TestTransfer::failedStoreEndsRead() {
    LinkRig rig;
    QObject::connect(rig.transfer.get(), &Transfer::progress, [&](int n) {
        if (n == 5)
            QTimer::singleShot(0, [&] { QFile::remove(rig.file.path()); });
    });
    QVERIFY(rig.transfer->start(Mode::Read, 1));
    QVERIFY(!rig.waitFinished());

    QCOMPARE(rig.prompter.texts("error").size(), 1);
    QVERIFY(rig.prompter.texts("error").first().contains("File not found"));
    QVERIFY(!rig.linkOpen());
    QCOMPARE(rig.buttons, (QList<bool>{false, true}));
    QVERIFY(!rig.transfer->running());
    QCOMPARE(rig.readCompleted->count(), 0);
    const int requests = rig.emu.requestCount();
    QCOMPARE(int(withoutRepeats(rig.emu.receivedFrames()).size()), 6);
    QTest::qWait(200); // nothing more may go out
    QCOMPARE(rig.emu.requestCount(), requests);
}

void TestTransfer::missingRecordsEndWrite_data() {
    QTest::addColumn<bool>("remove");
    QTest::addColumn<QString>("text");
    QTest::newRow("file removed") << true << "No File!";
    QTest::newRow("file emptied") << false << "Over File!";
}

// The box of a record step opens only once the transfer has ended, so no tick runs
// behind it and the port is already closed.
void TestTransfer::missingRecordsEndWrite() {
    QFETCH(bool, remove);
    QFETCH(QString, text);

    LinkRig rig;
    rig.writeFile(RadioEmulator::datImage(patternMemory(5, 90)));
    QObject::connect(rig.transfer.get(), &Transfer::progress, [&](int n) {
        if (n == 10)
            QTimer::singleShot(0, [&] {
                if (remove)
                    QFile::remove(rig.file.path());
                else
                    QFile::resize(rig.file.path(), 0);
            });
    });
    bool runningAtBox = true, openAtBox = true;
    rig.prompter.onShow = [&](const ScriptedPrompter::Shown &) {
        runningAtBox = rig.transfer->running();
        openAtBox = rig.linkOpen();
    };
    QVERIFY(rig.transfer->start(Mode::Write, 1));
    QVERIFY(!rig.waitFinished());

    QCOMPARE(rig.prompter.texts(), QStringList{text});
    QVERIFY(!runningAtBox);
    QVERIFY(!openAtBox);
    QCOMPARE(rig.buttons, (QList<bool>{false, true}));
    QCOMPARE(int(withoutRepeats(rig.emu.receivedFrames()).size()), 10);
}

void TestTransfer::shortImageIsNotWritten_data() {
    QTest::addColumn<bool>("chinese");
    QTest::newRow("english") << false;
    QTest::newRow("chinese") << true;
}

void TestTransfer::shortImageIsNotWritten() {
    QFETCH(bool, chinese);
    const TransferTexts texts = chinese ? chineseTransferTexts() : englishTransferTexts();
    LinkRig rig(texts);
    rig.writeFile(RadioEmulator::datImage(patternMemory(5, 90)).left(34 * 12 + 11));

    QVERIFY(!rig.transfer->start(Mode::Write, 1));
    QStringList expected{texts.tooFewRecords};
    if (chinese)
        expected.prepend(texts.startWrite);
    QCOMPARE(rig.prompter.texts(), expected);
    QCOMPARE(rig.sio.opens, 0);
    QVERIFY(rig.buttons.isEmpty());
    QVERIFY(!rig.transfer->running());
    QCOMPARE(rig.emu.requestCount(), 0);
}

// A working file that exists but takes no writes stops a read before the port opens.
void TestTransfer::unwritableFileIsNotRead() {
    LinkRig rig;
    rig.writeFile(QByteArray(35 * 12, '\0'));
    if (geteuid() != 0) {
        QFile::setPermissions(rig.file.path(), QFile::ReadOwner);
    } else {
        // Root writes read-only files; nobody opens this kernel file for writing.
        const QString kernelFile = QStringLiteral("/sys/devices/system/cpu/online");
        if (!QFileInfo(kernelFile).isFile())
            QSKIP("no /sys here to give a file that refuses root a write");
        QFile probe(kernelFile);
        if (probe.open(QIODevice::ReadWrite))
            QSKIP("no file here refuses root a write");
        QFile::remove(rig.file.path());
        QVERIFY(QFile::link(kernelFile, rig.file.path()));
    }
    QVERIFY(rig.file.exists());
    try {
        rig.transfer->start(Mode::Read, 1);
        QFAIL("the read started");
    } catch (const Error &e) {
        QVERIFY2(e.message().startsWith("Cannot open " + rig.file.path()), qPrintable(e.message()));
    }
    QCOMPARE(rig.sio.opens, 0);
    QVERIFY(rig.buttons.isEmpty());
    QVERIFY(!rig.transfer->running());
    QTest::qWait(100);
    QCOMPARE(rig.emu.requestCount(), 0);
}

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
