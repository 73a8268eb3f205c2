#include "mainwindow.h"
#include "qtsio.h"
#include "radioemulator.h"
#include "sampleimage.h"
#include "scriptedprompter.h"
#include "transfer.h"
#include "transferjob.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qx;

// Verify after write against the emulated radio, at the window's own pacing, with a radio
// that acknowledges a frame but keeps it wrong.
class TestWindowVerify : public QObject {
    Q_OBJECT
private slots:
    void verifyNamesTheChannelStoredWrongly_data();
    void verifyNamesTheChannelStoredWrongly();
};

void TestWindowVerify::verifyNamesTheChannelStoredWrongly_data() {
    QTest::addColumn<int>("corruptStore");
    QTest::addColumn<QStringList>("messages"); // after the write's start and "Over!"
    QTest::addColumn<QStringList>("asks");
    const WindowTexts t = chineseWindowTexts();
    QTest::newRow("kept as written") << 0 << QStringList{t.verifyMatch} << QStringList{};
    // Requests: the handshake, two blank frames, then record r as request 4 + r; record 4
    // holds the frequencies of channel 3. Not written again: the box is answered No.
    QTest::newRow("channel 3 kept wrong")
        << 8 << QStringList{}
        << QStringList{t.verifyDiffers.arg(QStringLiteral("信道3")) + '\n' + t.writeAgain};
}

void TestWindowVerify::verifyNamesTheChannelStoredWrongly() {
    QFETCH(int, corruptStore);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, asks);
    RadioEmulator emu;
    QVERIFY(emu.start());
    EmulatorFaults faults;
    faults.corruptStore = corruptStore;
    emu.setFaults(faults);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("r_and_w.dat")));
    const QByteArray image = test::sampleImage();
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(image) == image.size());
    file.close();
    test::ScriptedPrompter prompter;
    QtSio sio([&emu](int) { return emu.slavePath(); });
    TForm1 window(prompter, sio, dir.path());
    QVERIFY(window.findChild<QAction *>(QStringLiteral("VerifyAfterWrite"))->isChecked());

    window.N12Click();
    // Verified by default; the read-back shows no start message of its own, and the write's
    // completion comes once it is done, followed by its result.
    QTRY_VERIFY_WITH_TIMEOUT(!window.findChild<TransferJob *>()->running(), 30000);
    const TransferTexts t = chineseTransferTexts();
    QCOMPARE(prompter.texts("message"), (QStringList{t.startWrite, t.over} + messages));
    QCOMPARE(prompter.texts("ask"), asks);
    QFile back(dir.filePath(QStringLiteral("r_and_w.dat")));
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), image);
    emu.stop();
}

QTEST_MAIN(TestWindowVerify)
#include "tst_windowverify.moc"
