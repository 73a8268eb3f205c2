#include "edithistory.h"
#include "imagebackups.h"
#include "scriptedsio.h"
#include "transfer.h"
#include "windowharness.h"

#include <QAction>
#include <QDir>

using namespace qx;
using namespace qx::test;

namespace {

// The demo radio differs from the base image in every channel.
QByteArray radioContent() {
    return withRecords(baseImage(), 0,
                       channelRecords(1, {"462.01250", "67.0", "462.01250", "67.0", "NO", "YES"}));
}

} // namespace

// The window's side of its transfer jobs, against a scripted radio that answers at once: a
// read is an undo step and leaves a backup, a write leaves a backup of the image it sends
// (also when that backup fails, the write goes on), and the verify is reported in the
// window's words.
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
        m_window->transfer().setPacing(Pacing::fast());
    }
    void finish() { QTRY_VERIFY_WITH_TIMEOUT(!m_window->transfer().running(), 20000); }

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
    void writeLeavesBackupOfTheImageSent();
    void verifyAfterWrite_data();
    void verifyAfterWrite();
    void failedBackupDoesNotStopTheWrite();
};

void TestWindowTransfer::readIsOneStepAndLeavesABackup() {
    m_sio->load(radioContent());
    open(QByteArray(""));
    const QStringList emptyGrid{m_window->cell(1, 1), m_window->cell(2, 1)};
    m_window->n11Click();
    finish();
    QCOMPARE(readFile(dat()), radioContent());
    QCOMPARE(m_window->cell(1, 1), QStringLiteral("462.01250"));
    QCOMPARE(backups().size(), 1);
    QVERIFY(backups().first().startsWith(QStringLiteral("radio-")));
    QCOMPARE(backup(backups().first()), radioContent());

    // Undo gives back the empty file and the empty window that were there before.
    QCOMPARE(m_window->findChild<EditHistory *>()->count(), 1);
    m_window->findChild<QAction *>(QStringLiteral("EditUndo"))->trigger();
    QCOMPARE(readFile(dat()), QByteArray(""));
    QCOMPARE((QStringList{m_window->cell(1, 1), m_window->cell(2, 1)}), emptyGrid);
    m_window->findChild<QAction *>(QStringLiteral("EditRedo"))->trigger();
    QCOMPARE(readFile(dat()), radioContent());
}

void TestWindowTransfer::writeLeavesBackupOfTheImageSent() {
    open(baseImage());
    m_window->N12Click();
    QVERIFY(m_window->transfer().running());
    // On disk before the first frame goes out.
    QCOMPARE(backups().size(), 1);
    QVERIFY(backups().first().startsWith(QStringLiteral("before-write-")));
    QCOMPARE(backup(backups().first()), baseImage());
    finish();
    QCOMPARE(m_sio->image(), baseImage());
    QCOMPARE(m_window->findChild<EditHistory *>()->count(), 0);
    QCOMPARE(m_prompter.texts("message"), QStringList{englishTransferTexts().over});
}

void TestWindowTransfer::verifyAfterWrite_data() {
    QTest::addColumn<QList<int>>("storedWrongly"); // records the radio keeps with a wrong byte
    QTest::addColumn<QString>("result");
    const WindowTexts t = englishWindowTexts();
    QTest::newRow("all match") << QList<int>{} << t.verifyMatch;
    QTest::newRow("a channel and a settings block")
        << QList<int>{5, 34} << t.verifyDiffers.arg(QStringLiteral("channel 3, settings 03F0"));
}

void TestWindowTransfer::verifyAfterWrite() {
    QFETCH(QList<int>, storedWrongly);
    QFETCH(QString, result);
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
    open(baseImage());
    m_window->findChild<QAction *>(QStringLiteral("VerifyAfterWrite"))->setChecked(true);
    m_window->N12Click();
    QTRY_VERIFY2_WITH_TIMEOUT(m_prompter.texts("message").size() == 2,
                              qPrintable(m_prompter.texts().join(QLatin1Char('\n'))), 20000);
    finish();
    QCOMPARE(m_prompter.texts("message"), (QStringList{englishTransferTexts().over, result}));
    // The read-back went to a file of its own.
    QCOMPARE(readFile(dat()), baseImage());
    QCOMPARE(m_window->findChild<EditHistory *>()->count(), 0);
    QCOMPARE(backups().size(), 1);
}

void TestWindowTransfer::failedBackupDoesNotStopTheWrite() {
    QFile blocker(m_dir.filePath(QStringLiteral("backups")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    open(baseImage());
    m_window->N12Click();
    finish();
    const QStringList messages = m_prompter.texts("message");
    QCOMPARE(messages.size(), 2);
    QVERIFY2(messages[0].startsWith(QStringLiteral("The backup was not saved: ")),
             qPrintable(messages[0]));
    QCOMPARE(messages[1], englishTransferTexts().over);
    QCOMPARE(m_sio->image(), baseImage());
}

QTEST_MAIN(TestWindowTransfer)
#include "tst_windowtransfer.moc"
