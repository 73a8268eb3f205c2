#include "mainwindow.h"
#include "qtsio.h"
#include "radioemulator.h"
#include "sampleimage.h"
#include "scriptedprompter.h"
#include "transfer.h"

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
    QTest::addColumn<QString>("result");
    const WindowTexts t = chineseWindowTexts();
    QTest::newRow("kept as written") << 0 << t.verifyMatch;
    // Requests: the handshake, two blank frames, then record r as request 4 + r; record 4
    // holds the frequencies of channel 3.
    QTest::newRow("channel 3 kept wrong") << 8 << t.verifyDiffers.arg(QStringLiteral("信道3"));
}

void TestWindowVerify::verifyNamesTheChannelStoredWrongly() {
    QFETCH(int, corruptStore);
    QFETCH(QString, result);
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
    window.findChild<QAction *>(QStringLiteral("VerifyAfterWrite"))->setChecked(true);

    window.N12Click();
    // The read-back shows no start or completion message of its own.
    QTRY_COMPARE_WITH_TIMEOUT(prompter.texts("message").size(), 3, 30000);
    QTRY_VERIFY(!window.transfer().running());
    const TransferTexts t = chineseTransferTexts();
    QCOMPARE(prompter.texts("message"), (QStringList{t.startWrite, t.over, result}));
    QCOMPARE(prompter.texts("ask"), QStringList{});
    QFile back(dir.filePath(QStringLiteral("r_and_w.dat")));
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), image);
    emu.stop();
}

QTEST_MAIN(TestWindowVerify)
#include "tst_windowverify.moc"
