#include "edithistory.h"
#include "filefaults.h"
#include "imagebackups.h"
#include "ptini.h"
#include "scriptedsio.h"
#include "transfer.h"
#include "transferjob.h"
#include "windowharness.h"

#include <QAction>
#include <QDir>

using namespace qx;
using namespace qx::test;

using Pt = QList<std::pair<QString, int>>;
Q_DECLARE_METATYPE(Pt)

namespace {

// The demo radio differs from the base image in every channel.
QByteArray radioContent() {
    return withRecords(baseImage(), 0,
                       channelRecords(1, {"462.01250", "67.0", "462.01250", "67.0", "NO", "YES"}));
}

} // namespace

// The window's side of its transfer jobs, against a scripted radio that answers at once: a
// completed read replaces the working file as one undo step with a backup, one that does not
// complete changes nothing and says so; a write leaves a backup of the image it sends (also
// when that backup fails, the write goes on), is read back unless switched off, and the
// result is told in the window's words, in that order.
class TestWindowTransfer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<ScriptedSio> m_sio;
    std::unique_ptr<MainWindow> m_window;

    QString dat() const { return m_dir.filePath(QStringLiteral("r_and_w.dat")); }
    QStringList backups() const { return ImageBackups::besideFile(dat()).files(); }
    QByteArray backup(const QString &name) const {
        return readFile(m_dir.filePath(QStringLiteral("backups/") + name));
    }
    void open(const QByteArray &image) {
        QFile f(dat());
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(image) == image.size());
        f.close();
        m_window = std::make_unique<TE_Form>(m_prompter, *m_sio, m_dir.path());
        transferOf(*m_window).setPacing(instantPacing());
    }
    void finish() {
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->findChild<TransferJob *>()->running(), 20000);
    }

private slots:
    void init() {
        QDir(m_dir.filePath(QStringLiteral("backups"))).removeRecursively();
        QFile::remove(m_dir.filePath(QStringLiteral("backups")));
        QFile::remove(m_dir.filePath(QStringLiteral("pt.ini")));
        m_prompter.clear();
        m_sio = std::make_unique<ScriptedSio>();
    }
    void cleanup() { m_window.reset(); }

    void readIsOneStepAndLeavesABackup();
    void readThatDoesNotCompleteChangesNothing_data();
    void readThatDoesNotCompleteChangesNothing();
    void switchesFollowPtIni_data();
    void switchesFollowPtIni();
    void writeLeavesBackupOfTheImageSent();
    void verifyAfterWrite_data();
    void verifyAfterWrite();
    void writeThatDoesNotCompleteSaysSo();
    void readTheFileCannotTakeIsRefusedFirst();
    void readOnAFullDiskIsKeptWhereTheUserSays();
};

// A full disk takes neither the read nor its backup: the working file stays as it was, and
// the radio's image goes where the user picks.
void TestWindowTransfer::readOnAFullDiskIsKeptWhereTheUserSays() {
    const QString folder = m_dir.filePath(QStringLiteral("disk"));
    FileFault disk(QStringLiteral("full disk"), folder, QStringLiteral("r_and_w.dat"), baseImage());
    if (!disk.skipReason().isEmpty())
        QSKIP(qPrintable(disk.skipReason()));
    m_sio->load(radioContent());
    m_window = std::make_unique<TE_Form>(m_prompter, *m_sio, folder);
    transferOf(*m_window).setPacing(instantPacing());
    const QString elsewhere = m_dir.filePath(QStringLiteral("stick/radio.dat"));
    m_prompter.fileNames << m_dir.filePath(QStringLiteral("no-such-folder/radio.dat")) << elsewhere;
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("stick")));
    m_window->n11Click();
    finish();
    QCOMPARE(readFile(disk.path()), baseImage()); // transfer.log may stand beside it
    QCOMPARE(readFile(elsewhere), radioContent());
    const QStringList said = m_prompter.texts("message") << m_prompter.texts("error");
    QVERIFY2(said.first().contains(QStringLiteral("No space left")) &&
                 said.last().contains(elsewhere) &&
                 !said.contains(englishWindowTexts().transfer.over) &&
                 !said.contains(englishWindowTexts().readNotStored),
             qPrintable(said.join(QLatin1Char('|'))));
    QCOMPARE(m_window->channelGrid().cell(1, 1), QStringLiteral("451.00000"));
    m_window.reset();
}

// A working file that cannot take a read is found out before the radio hears anything.
void TestWindowTransfer::readTheFileCannotTakeIsRefusedFirst() {
    // A folder where the working file was: refused for root too, as a read-only file is
    // for anyone else.
    m_sio->load(radioContent());
    open(baseImage());
    QVERIFY(QFile::remove(dat()) && QDir(m_dir.path()).mkdir(QStringLiteral("r_and_w.dat")));
    m_window->n11Click();
    finish();
    QVERIFY(QDir(dat()).removeRecursively());
    QCOMPARE(m_sio->calls.size(), 0);
    QCOMPARE(m_prompter.texts("message").size(), 1);
    QVERIFY(m_prompter.texts("message").first().startsWith(
        englishWindowTexts().readCannotStore.arg(QString()).left(30)));
}

void TestWindowTransfer::readIsOneStepAndLeavesABackup() {
    m_sio->load(radioContent());
    open(QByteArray(""));
    const QStringList emptyGrid{m_window->channelGrid().cell(1, 1),
                                m_window->channelGrid().cell(2, 1)};
    // "Over!" comes once the read is stored, backed up and shown.
    QStringList atOver;
    m_prompter.onShow = [&](const ScriptedPrompter::Shown &shown) {
        if (shown.text == englishWindowTexts().transfer.over)
            atOver << QString::number(readFile(dat()) == radioContent())
                   << QString::number(backups().size()) << m_window->channelGrid().cell(1, 1);
    };
    m_window->n11Click();
    finish();
    m_prompter.onShow = nullptr;
    QCOMPARE(atOver, (QStringList{"1", "1", "462.01250"}));
    QCOMPARE(readFile(dat()), radioContent());
    QCOMPARE(m_window->channelGrid().cell(1, 1), QStringLiteral("462.01250"));
    QCOMPARE(backups().size(), 1);
    QVERIFY(backups().first().startsWith(QStringLiteral("radio-")));
    QCOMPARE(backup(backups().first()), radioContent());

    // Undo gives back the empty file and the empty window that were there before.
    QCOMPARE(m_window->findChild<EditHistory *>()->count(), 1);
    m_window->findChild<QAction *>(QStringLiteral("EditUndo"))->trigger();
    QCOMPARE(readFile(dat()), QByteArray(""));
    QCOMPARE((QStringList{m_window->channelGrid().cell(1, 1), m_window->channelGrid().cell(2, 1)}),
             emptyGrid);
    m_window->findChild<QAction *>(QStringLiteral("EditRedo"))->trigger();
    QCOMPARE(readFile(dat()), radioContent());
}

void TestWindowTransfer::readThatDoesNotCompleteChangesNothing_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    const WindowTexts t = englishWindowTexts();
    QTest::newRow("stopped") << "stop" << t.readNotStored;
    QTest::newRow("retry cancelled") << "silent" << t.readNotStored;
    QTest::newRow("cable pulled") << "gone" << t.readNotStored;
    QTest::newRow("a block never the same twice")
        << "unstable" << t.readUnstable.arg(QStringLiteral("channel 3"));
}

void TestWindowTransfer::readThatDoesNotCompleteChangesNothing() {
    QFETCH(QString, fault);
    QFETCH(QString, message);
    ScriptedSio &sio = *m_sio;
    sio.load(radioContent());
    if (fault == QLatin1String("silent"))
        for (int n = 30; n < 60; ++n)
            sio.drop.insert(n);
    if (fault == QLatin1String("gone"))
        sio.goneFrom = 30;
    if (fault == QLatin1String("unstable")) // record 4, channel 3: a new byte every time
        sio.garble = [&sio](int n, QByteArray answer) {
            if (sio.calls.last().bytes.startsWith(QByteArray("R\x00\x30", 3)))
                answer[11] = char(n);
            return answer;
        };
    open(baseImage());
    const QList<QStringList> shown = m_window->channelGrid().table();
    if (fault == QLatin1String("stop"))
        connect(&transferOf(*m_window), &Transfer::progress, this, [this](int step) {
            if (step == 40)
                QMetaObject::invokeMethod(m_window.get(), "ToolButton13Click",
                                          Qt::QueuedConnection);
        });
    m_window->n11Click();
    finish();
    QCOMPARE(m_prompter.texts("message").last(), message);
    QCOMPARE(readFile(dat()), baseImage());
    QCOMPARE(m_window->channelGrid().table(), shown);
    QCOMPARE(m_window->findChild<EditHistory *>()->count(), 0);
    QCOMPARE(backups(), QStringList{});
}

void TestWindowTransfer::switchesFollowPtIni_data() {
    QTest::addColumn<Pt>("ini");
    QTest::addColumn<bool>("checkReads");
    QTest::addColumn<bool>("verify");
    QTest::newRow("absent: both on") << Pt{} << true << true;
    QTest::newRow("Verify=0") << Pt{{"Verify", 0}} << true << false;
    QTest::newRow("CheckReads=0") << Pt{{"CheckReads", 0}} << false << true;
    QTest::newRow("both 1") << Pt{{"CheckReads", 1}, {"Verify", 1}} << true << true;
}

// A read asks every block twice unless switched off, a write is read back unless switched
// off; a switch that is flipped is kept for the next start.
void TestWindowTransfer::switchesFollowPtIni() {
    QFETCH(Pt, ini);
    QFETCH(bool, checkReads);
    QFETCH(bool, verify);
    PtIni pt(m_dir.filePath(QStringLiteral("pt.ini")));
    for (const auto &[key, value] : ini)
        pt.writeInt(QStringLiteral("pt"), key, value);
    open(baseImage());
    auto *checkItem = m_window->findChild<QAction *>(QStringLiteral("CheckReads"));
    auto *verifyItem = m_window->findChild<QAction *>(QStringLiteral("VerifyAfterWrite"));
    QCOMPARE(checkItem->isChecked(), checkReads);
    QCOMPARE(verifyItem->isChecked(), verify);

    m_window->n11Click();
    finish();
    const auto reads = [this] {
        int n = 0;
        for (const ScriptedSio::Call &c : m_sio->callsOf('w'))
            n += c.bytes.startsWith('R');
        return n;
    };
    QCOMPARE(reads(), checkReads ? 2 * kRecordCount : kRecordCount);
    m_window->N12Click();
    finish();
    QCOMPARE(reads(), (checkReads ? 2 : 1) * kRecordCount + (verify ? kRecordCount : 0));

    verifyItem->toggle();
    QCOMPARE(pt.readInt(QStringLiteral("pt"), QStringLiteral("Verify"), -1), verify ? 0 : 1);
}

void TestWindowTransfer::writeLeavesBackupOfTheImageSent() {
    open(baseImage());
    m_window->N12Click();
    QVERIFY(transferOf(*m_window).running());
    // An import would change the file under the write.
    QAction *import = m_window->findChild<QAction *>(QStringLiteral("ImportCsv"));
    QVERIFY(!import->isEnabled());
    // On disk before the first frame goes out.
    QCOMPARE(backups().size(), 1);
    QVERIFY(backups().first().startsWith(QStringLiteral("before-write-")));
    QCOMPARE(backup(backups().first()), baseImage());
    finish();
    QVERIFY(import->isEnabled());
    QCOMPARE(m_sio->image(), baseImage());
    QCOMPARE(m_window->findChild<EditHistory *>()->count(), 0);
    const WindowTexts t = englishWindowTexts();
    QCOMPARE(m_prompter.texts("message"), (QStringList{t.transfer.over, t.verifyMatch}));
}

void TestWindowTransfer::verifyAfterWrite_data() {
    QTest::addColumn<QList<int>>("storedWrongly"); // records the radio keeps with a wrong byte
    QTest::addColumn<bool>("backupFails");
    QTest::addColumn<QList<bool>>("writeAgain");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("writes");
    const WindowTexts t = englishWindowTexts();
    const QString over = t.transfer.over;
    QTest::newRow("all match") << QList<int>{} << false << QList<bool>{}
                               << QStringList{over, t.verifyMatch} << 1;
    // The radio's image would be lost with nothing to restore it from.
    QTest::newRow("a failed backup stops the write")
        << QList<int>{} << true << QList<bool>{} << QStringList{} << 0;
    QTest::newRow("differs, not written again")
        << QList<int>{5, 34} << false << QList<bool>{false} << QStringList{over} << 1;
    QTest::newRow("differs, written again")
        << QList<int>{5, 34} << false << QList<bool>{true, false} << QStringList{over, over} << 2;
}

// The read-back runs before any message: "Over!" once it is done, then its result.
void TestWindowTransfer::verifyAfterWrite() {
    QFETCH(QList<int>, storedWrongly);
    QFETCH(bool, backupFails);
    QFETCH(QList<bool>, writeAgain);
    QFETCH(QStringList, messages);
    QFETCH(int, writes);
    ScriptedSio &sio = *m_sio;
    // Acknowledged, but a byte of the frame is kept wrong.
    sio.garble = [&sio, storedWrongly](int, QByteArray answer) {
        const QByteArray last = sio.calls.last().bytes;
        if (last.size() == 13 && last.at(0) == 'W') {
            const int address = std::uint8_t(last.at(1)) << 8 | std::uint8_t(last.at(2));
            for (int r : storedWrongly)
                if (recordAddress(r) == address)
                    sio.memory[address + 7] ^= 0x11;
        }
        return answer;
    };
    if (backupFails) {
        QFile blocker(m_dir.filePath(QStringLiteral("backups")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    m_prompter.answers = writeAgain;
    open(baseImage());
    m_window->N12Click();
    QTRY_COMPARE_WITH_TIMEOUT(m_prompter.texts("ask").size(), writeAgain.size(), 20000);
    finish();
    QTRY_COMPARE_WITH_TIMEOUT(m_prompter.texts("ask").size(), writeAgain.size(), 20000);
    finish();
    QCOMPARE(m_prompter.texts("message"), messages);
    const WindowTexts t = englishWindowTexts();
    const QStringList errors = m_prompter.texts("error");
    QCOMPARE(errors.size(), int(backupFails));
    if (backupFails)
        QVERIFY2(errors.first().startsWith(t.backupFailed.arg(QString())) &&
                     errors.first().endsWith(t.backupStopsWrite),
                 qPrintable(errors.first()));
    for (const QString &asked : m_prompter.texts("ask"))
        QCOMPARE(asked, t.verifyDiffers.arg(QStringLiteral("channel 3, settings 03F0")) +
                            QLatin1Char('\n') + t.writeAgain);
    int sent = 0;
    for (const ScriptedSio::Call &c : sio.callsOf('w'))
        sent += c.bytes.size() == 13 && recordAddress(0) == std::uint8_t(c.bytes.at(2));
    QCOMPARE(sent, writes);
    // The read-back went to a file of its own.
    QCOMPARE(readFile(dat()), baseImage());
    QCOMPARE(m_window->findChild<EditHistory *>()->count(), 0);
}

void TestWindowTransfer::writeThatDoesNotCompleteSaysSo() {
    m_sio->goneFrom = 10; // the handshake, two blank frames, then records 0 to 5
    open(baseImage());
    m_window->N12Click();
    finish();
    QCOMPARE(m_prompter.texts("message").last(), englishWindowTexts().writeIncomplete.arg(6));
}

QTEST_MAIN(TestWindowTransfer)
#include "tst_windowtransfer.moc"
