// A radio that stops answering, a line that goes dead, the stop command, and ports that
// cannot be opened or set up.
#include "heldlock.h"
#include "linkrig.h"

#include "error.h"

#include <QtTest>

using namespace qx;
using namespace qx::test;

namespace {
using Mode = Transfer::Mode;
}

class TestLinkFailures : public QObject {
    Q_OBJECT
private slots:
    void promptAfterUnansweredTicks_data();
    void promptAfterUnansweredTicks();
    void retryStartsAgainFromHandshake();
    void stopInMidTransfer_data();
    void stopInMidTransfer();
    void stopWithoutTransfer();
    void exitClosesLink_data();
    void exitClosesLink();
    void cablePulled_data();
    void cablePulled();
    void deviceGoneBetweenTransfers();
    void radioComesBack();
    void setUpFailures_data();
    void setUpFailures();
    void unusableWorkingFile_data();
    void unusableWorkingFile();
    void openFailureNamesDevice_data();
    void openFailureNamesDevice();
};

void TestLinkFailures::promptAfterUnansweredTicks_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<int>("silentFrom");
    QTest::addColumn<int>("requestsAtPrompt");

    // Step 1 asks at its 9th unanswered tick, a later step at its 8th.
    QTest::newRow("read handshake, english") << int(Mode::Read) << false << 1 << 9;
    QTest::newRow("read handshake, chinese") << int(Mode::Read) << true << 1 << 9;
    QTest::newRow("write handshake") << int(Mode::Write) << false << 1 << 9;
    QTest::newRow("read step 20") << int(Mode::Read) << false << 20 << 19 + 8;
    QTest::newRow("write step 20") << int(Mode::Write) << true << 20 << 19 + 8;
}

// Cancel at the prompt: the link is closed and what was stored stays stored.
void TestLinkFailures::promptAfterUnansweredTicks() {
    QFETCH(int, mode);
    QFETCH(bool, chinese);
    QFETCH(int, silentFrom);
    QFETCH(int, requestsAtPrompt);

    const TransferTexts texts = chinese ? chineseTransferTexts() : englishTransferTexts();
    LinkRig rig(texts);
    EmulatorFaults faults;
    faults.silentFrom = silentFrom;
    rig.emu.setFaults(faults);
    const QByteArray oldImage = RadioEmulator::datImage(patternMemory(5, 90));
    rig.writeFile(oldImage);

    int requests = -1, step = -1, position = -1;
    bool openAtPrompt = false;
    rig.prompter.onShow = [&](const ScriptedPrompter::Shown &s) {
        if (s.kind != "ask")
            return;
        requests = rig.emu.requestCount();
        step = rig.transfer->armedStep();
        position = rig.positions.last();
        openAtPrompt = rig.linkOpen();
    };
    QVERIFY(rig.transfer->start(Mode(mode), 1));
    QVERIFY(!rig.waitFinished());

    // Steps before the silent one were answered (load may have repeated one); the silent
    // step ticked exactly until the prompt.
    const std::vector<QByteArray> frames = rig.emu.receivedFrames();
    QCOMPARE(requests, int(frames.size()));
    QCOMPARE(int(withoutRepeats(frames).size()), silentFrom);
    QCOMPARE(trailingRepeats(frames), requestsAtPrompt - (silentFrom - 1));
    QCOMPARE(step, 0); // no step armed while the prompt is open
    QCOMPARE(position, 0);
    QVERIFY(openAtPrompt);
    const ScriptedPrompter::Shown ask = rig.prompter.shown.last();
    QCOMPARE(ask.kind, QStringLiteral("ask"));
    QCOMPARE(ask.caption, texts.retryCaption);
    QCOMPARE(ask.text, texts.retryText);
    QVERIFY(ask.buttons == texts.retryButtons);

    QVERIFY(!rig.linkOpen());
    QCOMPARE(rig.buttons, (QList<bool>{false, true}));
    QCOMPARE(rig.positions.last(), 0);

    if (Mode(mode) == Mode::Read && silentFrom == 20) {
        // Steps 2 to 19 stored records 0 to 17; the rest keep their old contents.
        const QByteArray fresh = RadioEmulator::datImage(rig.emu.memory());
        QCOMPARE(rig.fileBytes(), fresh.left(18 * 12) + oldImage.mid(18 * 12));
    }
    QTest::qWait(150);
    QCOMPARE(rig.emu.requestCount(), requests);
}

void TestLinkFailures::retryStartsAgainFromHandshake() {
    LinkRig rig(chineseTransferTexts());
    EmulatorFaults faults;
    faults.dropReplies = {20, 21, 22, 23, 24, 25, 26, 27};
    rig.emu.setFaults(faults);
    rig.prompter.answers = {true};

    QVERIFY(rig.transfer->start(Mode::Read, 1));
    QVERIFY(rig.waitFinished());

    QCOMPARE(rig.prompter.texts("ask").size(), 1);
    // Replies 20 to 27 are dropped: the step that sent them prompts at its 8th tick,
    // then all 36 steps run again.
    const std::vector<QByteArray> frames = rig.emu.receivedFrames();
    QVERIFY(frames.size() >= 27 + 36 && frames.size() <= 27 + 36 + kSpuriousRepeats);
    const auto again = std::find(frames.begin() + 1, frames.end(), handshake());
    QVERIFY(again != frames.end());
    std::vector<QByteArray> fullRead{handshake()};
    for (std::uint16_t a : RadioEmulator::readAddresses())
        fullRead.push_back(readRequest(a));
    QCOMPARE(withoutRepeats({again, frames.end()}), fullRead);
    const std::vector<QByteArray> first = withoutRepeats({frames.begin(), again});
    QVERIFY(std::equal(first.begin(), first.end(), fullRead.begin()));
    QCOMPARE(trailingRepeats({frames.begin(), again}), 8);
    QCOMPARE(rig.sio.opens, 1); // the retry runs on the open link
    QCOMPARE(rig.buttons, (QList<bool>{false, false, true}));
    QCOMPARE(rig.fileBytes(), RadioEmulator::datImage(rig.emu.memory()));
    QCOMPARE(rig.readCompleted->count(), 1);
}

void TestLinkFailures::stopInMidTransfer_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("read") << int(Mode::Read);
    QTest::newRow("write") << int(Mode::Write);
}

void TestLinkFailures::stopInMidTransfer() {
    QFETCH(int, mode);
    LinkRig rig;
    rig.writeFile(RadioEmulator::datImage(patternMemory(5, 90)));
    QObject::connect(rig.transfer.get(), &Transfer::progress, [&](int n) {
        if (n == 10)
            QTimer::singleShot(0, [&] { rig.transfer->stop(); });
    });
    QVERIFY(rig.transfer->start(Mode(mode), 1));
    QVERIFY(!rig.waitFinished());

    QCOMPARE(rig.finished->count(), 1);
    QVERIFY(!rig.linkOpen());
    QCOMPARE(rig.buttons, (QList<bool>{false, true}));
    QCOMPARE(rig.positions.last(), 0);
    QVERIFY(rig.prompter.shown.isEmpty());
    QCOMPARE(rig.readCompleted->count(), 0);
    const int requests = rig.emu.requestCount();
    QTest::qWait(150);
    QCOMPARE(rig.emu.requestCount(), requests);
}

void TestLinkFailures::stopWithoutTransfer() {
    LinkRig rig;
    rig.transfer->stop();
    QCOMPARE(rig.log, QStringList{"close 0"});
    QCOMPARE(rig.buttons, QList<bool>{true});
    QCOMPARE(rig.positions, QList<int>{0});
    QCOMPARE(rig.finished->count(), 0);
}

void TestLinkFailures::exitClosesLink_data() {
    QTest::addColumn<int>("atPosition"); // 0: no transfer
    QTest::addColumn<QString>("lastClose");
    QTest::newRow("no transfer") << 0 << "close 0";
    QTest::newRow("mid-read") << 10 << "close 1";
}

// Exit ends a running chain without a box and leaves no port open.
void TestLinkFailures::exitClosesLink() {
    QFETCH(int, atPosition);
    QFETCH(QString, lastClose);
    LinkRig rig;
    if (atPosition > 0) {
        QObject::connect(rig.transfer.get(), &Transfer::progress, [&](int n) {
            if (n == atPosition)
                QTimer::singleShot(0, [&] { rig.transfer->closeLink(); });
        });
        QVERIFY(rig.transfer->start(Mode::Read, 1));
        QTRY_VERIFY(!rig.transfer->running());
    } else {
        rig.transfer->closeLink();
    }
    QCOMPARE(rig.log.last(), lastClose);
    QVERIFY(!rig.linkOpen());
    QVERIFY(rig.prompter.shown.isEmpty());
    const QString traffic = rig.sio.traffic;
    QTest::qWait(150); // no tick may run on the closed port
    QCOMPARE(rig.sio.traffic, traffic);
}

void TestLinkFailures::cablePulled_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("chinese");
    QTest::newRow("read, english") << int(Mode::Read) << false;
    QTest::newRow("write, chinese") << int(Mode::Write) << true;
}

// The line goes dead at the 10th request: the transfer ends at once and names the
// device, instead of counting missing replies until the prompt and retrying into a
// closed port.
void TestLinkFailures::cablePulled() {
    QFETCH(int, mode);
    QFETCH(bool, chinese);
    const TransferTexts texts = chinese ? chineseTransferTexts() : englishTransferTexts();
    LinkRig rig(texts);
    if (Mode(mode) == Mode::Write)
        rig.writeFile(RadioEmulator::datImage(patternMemory(5, 90)));
    EmulatorFaults faults;
    faults.hangUpAt = 10;
    rig.emu.setFaults(faults);
    const QString device = rig.emu.slavePath();

    QVERIFY(rig.transfer->start(Mode(mode), 1));
    QVERIFY(!rig.waitFinished());

    QVERIFY(rig.prompter.texts("ask").isEmpty());
    QCOMPARE(rig.prompter.texts("message").last(),
             texts.deviceGone + "\n" + device + ": " +
                 (chinese ? QStringLiteral("设备已断开（数据线被拔掉了吗？）")
                          : QStringLiteral("the device went away (was the cable unplugged?)")));
    QCOMPARE(int(rig.transfer->outcome()), int(Transfer::Outcome::Gone));
    QVERIFY(!rig.linkOpen());
    QCOMPARE(rig.buttons, (QList<bool>{false, true}));
    QCOMPARE(rig.positions.last(), 0);
    // At most the one frame that was on its way when the line died went unheard.
    const int sent = int(rig.sio.traffic.count(QLatin1Char('W')));
    QVERIFY2(sent - rig.emu.requestCount() <= 1, qPrintable(rig.sio.traffic));
    if (Mode(mode) == Mode::Read)
        QCOMPARE(rig.file.recordCount(), 8);
    const QString traffic = rig.sio.traffic;
    QTest::qWait(150);
    QCOMPARE(rig.sio.traffic, traffic);
}

// The cable was pulled while no transfer ran: the next start says so, not "no such device".
void TestLinkFailures::deviceGoneBetweenTransfers() {
    LinkRig rig;
    QVERIFY(rig.transfer->start(Mode::Read, 1));
    QVERIFY(rig.waitFinished());
    const QString device = rig.emu.slavePath();
    rig.emu.stop();
    QTRY_VERIFY(!QFileInfo::exists(device));
    rig.log.clear();

    QVERIFY(!rig.transfer->start(Mode::Read, 1));
    QCOMPARE(rig.log, (QStringList{"open 1",
                                   "message Error opening serial port!\n" + device +
                                       ": the device went away (was the cable unplugged?)",
                                   "close 1"}));
}

// The radio's program is killed during a write and started again on the same name: the
// next read opens the device afresh and completes at once.
void TestLinkFailures::radioComesBack() {
    QTemporaryDir dir;
    const QString link = dir.filePath("radio");
    const auto startRadio = [&](QProcess &emu) {
        emu.start(QStringLiteral(QX_EMULATOR), {"--link", link});
        return emu.waitForStarted() && QTest::qWaitFor([&] { return emu.canReadLine(); }, 5000);
    };
    QProcess first;
    QVERIFY(startRadio(first));
    QStringList calls;
    QtSio qtSio([&](int) { return link; });
    SpySio sio(calls, &qtSio);
    ScriptedPrompter prompter;
    WorkingFile file(dir.filePath("r_and_w.dat"));
    QVERIFY(writeFile(file.path(), RadioEmulator::datImage(patternMemory(5, 90))));
    Transfer transfer(sio, file, prompter, englishTransferTexts());
    QSignalSpy finished(&transfer, &Transfer::finished);
    QSignalSpy progress(&transfer, &Transfer::progress);
    QVERIFY(transfer.start(Mode::Write, 1));
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().first().toInt() >= 10, 10000);
    first.kill();
    QVERIFY(first.waitForFinished(5000));
    QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), 10000);
    QVERIFY(!finished.first().first().toBool());

    QProcess second;
    QVERIFY(startRadio(second));
    prompter.shown.clear();
    QVERIFY(transfer.start(Mode::Read, 1));
    QTRY_VERIFY_WITH_TIMEOUT(finished.size() == 2, 15000);
    QVERIFY2(finished.last().first().toBool(), qPrintable(prompter.texts().join('|')));
    QCOMPARE(int(transfer.outcome()), int(Transfer::Outcome::Completed));
    second.terminate();
    QVERIFY(second.waitForFinished(5000));
}

void TestLinkFailures::setUpFailures_data() {
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<int>("openResult");
    QTest::addColumn<int>("ioctlResult");
    QTest::addColumn<int>("flowResult");
    QTest::addColumn<QStringList>("log");

    // After a failed open the message comes before the close; after a failed set-up the
    // close comes before the last message.
    QTest::newRow("open fails") << false << -1 << 0 << 0
                                << QStringList{"open 3", "message Error opening serial port!",
                                               "close 3"};
    QTest::newRow("ioctl fails, english")
        << false << 0 << -1 << 0
        << QStringList{"open 3", "ioctl 3 12 3", "message SetUp Error!", "close 3",
                       "message Error opening serial port."};
    QTest::newRow("flowctrl fails, english")
        << false << 0 << 0 << 5
        << QStringList{"open 3",       "ioctl 3 12 3",
                       "flowctrl 3 0", "message Flow SetUp Error!",
                       "close 3",      "message Error opening serial port."};
    QTest::newRow("ioctl fails, chinese")
        << true << 0 << 1 << 0
        << QStringList{
               "message 开始从对讲机里读取数据", "open 3",  "ioctl 3 12 3",
               "message 设置时发生错误",         "close 3", "message 通信端口参数设置发生错误"};
    QTest::newRow("flowctrl fails, chinese") << true << 0 << 0 << -1
                                             << QStringList{"message 开始从对讲机里读取数据",
                                                            "open 3",
                                                            "ioctl 3 12 3",
                                                            "flowctrl 3 0",
                                                            "message 流量设置时发生错误",
                                                            "close 3",
                                                            "message 通信端口参数设置发生错误"};
}

void TestLinkFailures::setUpFailures() {
    QFETCH(bool, chinese);
    QFETCH(int, openResult);
    QFETCH(int, ioctlResult);
    QFETCH(int, flowResult);
    QFETCH(QStringList, log);

    QStringList calls;
    SpySio sio(calls);
    sio.forceOpen = openResult;
    sio.forceIoctl = ioctlResult;
    sio.forceFlow = flowResult;
    ScriptedPrompter prompter;
    prompter.onShow = [&](const ScriptedPrompter::Shown &s) { calls << s.kind + ' ' + s.text; };
    QTemporaryDir dir;
    WorkingFile file(dir.filePath("r_and_w.dat"));
    Transfer transfer(sio, file, prompter,
                      chinese ? chineseTransferTexts() : englishTransferTexts());
    QSignalSpy buttons(&transfer, &Transfer::buttonsEnabled);
    QSignalSpy progress(&transfer, &Transfer::progress);

    QVERIFY(!transfer.start(Mode::Read, 3));
    QCOMPARE(calls, log);
    QVERIFY(!transfer.running());
    QCOMPARE(buttons.count(), 0);
    QCOMPARE(progress.count(), 0);
    QTest::qWait(60);
    QCOMPARE(sio.traffic, QString()); // no step was armed
}

void TestLinkFailures::unusableWorkingFile_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("read, folder missing") << int(Mode::Read);
    QTest::newRow("write, file missing") << int(Mode::Write);
}

// The error goes to the caller's guard and nothing else happens: no port, no buttons.
void TestLinkFailures::unusableWorkingFile() {
    QFETCH(int, mode);
    QStringList calls;
    SpySio sio(calls);
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    WorkingFile file(dir.filePath(Mode(mode) == Mode::Read ? "gone/r_and_w.dat" : "r_and_w.dat"));
    Transfer transfer(sio, file, prompter, englishTransferTexts());
    QSignalSpy buttons(&transfer, &Transfer::buttonsEnabled);

    QVERIFY_THROWS_EXCEPTION(Error, transfer.start(Mode(mode), 1));
    QVERIFY(calls.isEmpty());
    QVERIFY(prompter.shown.isEmpty());
    QCOMPARE(buttons.count(), 0);
    QVERIFY(!transfer.running());
}

void TestLinkFailures::openFailureNamesDevice_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("hint"); // expected in the second line
    QTest::newRow("no such device") << "missing"
                                    << "no such device";
    QTest::newRow("not a serial device") << "file"
                                         << "cannot be opened as a serial port";
    // Taken: the user can reach the device, so group membership is not the cause.
    QTest::newRow("port in use here") << "busy"
                                      << "in use by this program";
    QTest::newRow("port locked by another program") << "locked"
                                                    << "in use by another program: sleep (pid ";
    // Qt locks the name it is given; the real device is compared.
    QTest::newRow("same device open under another name") << "twoNames"
                                                         << "in use by this program (pid ";
}

void TestLinkFailures::openFailureNamesDevice() {
    QFETCH(QString, kind);
    QFETCH(QString, hint);
    QTemporaryDir dir;
    RadioEmulator emu;
    QtSio holder(
        [&](int) { return kind == "twoNames" ? dir.filePath("radioA") : emu.slavePath(); });
    HeldLock lock;
    QString device = dir.filePath(kind == "file" ? "plain.txt" : "ttyNone");
    if (kind == "file") {
        QFile f(device);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (kind == "busy" || kind == "locked" || kind == "twoNames") {
        QVERIFY(emu.start());
        device = emu.slavePath();
        if (kind == "twoNames") {
            QVERIFY(emu.makeLink(dir.filePath("radioA")));
            device = dir.filePath("radioB");
            QVERIFY(QFile::link(emu.slavePath(), device));
        }
        if (kind != "locked")
            QCOMPARE(holder.sio_open(1), 0);
        else
            QVERIFY(lock.hold(device));
    }
    QStringList calls;
    QtSio qtSio([&](int port) { return port == 9 ? device : QString(); });
    SpySio sio(calls, &qtSio);
    ScriptedPrompter prompter;
    prompter.onShow = [&](const ScriptedPrompter::Shown &s) { calls << s.kind + ' ' + s.text; };
    WorkingFile file(dir.filePath("r_and_w.dat"));
    Transfer transfer(sio, file, prompter, englishTransferTexts());

    // The port number reaches the library unchanged, whatever its range.
    QVERIFY(!transfer.start(Mode::Read, 9));
    QCOMPARE(calls.size(), 3);
    QCOMPARE(calls[0], QStringLiteral("open 9"));
    QVERIFY2(calls[1].startsWith("message Error opening serial port!\n" + device + ": "),
             qPrintable(calls[1]));
    QVERIFY2(calls[1].contains(hint), qPrintable(calls[1]));
    QVERIFY2(!calls[1].contains("dialout"), qPrintable(calls[1]));
    QCOMPARE(calls[2], QStringLiteral("close 9"));
    QVERIFY(!transfer.running());
}

QTEST_GUILESS_MAIN(TestLinkFailures)
#include "tst_linkfailures.moc"
