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

void loadRadio(ScriptedSio &sio, const QByteArray &image) {
    for (int r = 0; r < kRecordCount; ++r)
        for (int k = 0; k < 8; ++k)
            sio.memory[recordAddress(r) + std::size_t(k)] = std::uint8_t(image[r * 12 + 4 + k]);
}

QByteArray radioImage(const ScriptedSio &sio) {
    QByteArray image;
    for (int r = 0; r < kRecordCount; ++r) {
        const std::uint16_t a = recordAddress(r);
        image += char(0x57);
        image += char(a >> 8);
        image += char(a & 0xFF);
        image += char(0x08);
        image += QByteArray(reinterpret_cast<const char *>(sio.memory.data() + a), 8);
    }
    return image;
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The demo radio differs from the base image in every channel.
QByteArray radioContent() {
    return withRecords(baseImage(), 0,
                       channelRecords(1, {"462.01250", "67.0", "462.01250", "67.0", "NO", "YES"}));
}

} // namespace

// Reads and writes of the window against a scripted radio that answers at once: the undo
// step and backup of a read, the backup before a write and the verify after it.
class TestTransferSafety : public QObject {
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

void TestTransferSafety::readIsOneStepAndLeavesABackup() {
    loadRadio(*m_sio, radioContent());
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
    QCOMPARE(m_window->history().count(), 1);
    m_window->findChild<QAction *>(QStringLiteral("EditUndo"))->trigger();
    QCOMPARE(readFile(dat()), QByteArray(""));
    QCOMPARE((QStringList{m_window->cell(1, 1), m_window->cell(2, 1)}), emptyGrid);
    m_window->findChild<QAction *>(QStringLiteral("EditRedo"))->trigger();
    QCOMPARE(readFile(dat()), radioContent());
}

void TestTransferSafety::writeLeavesBackupOfTheImageSent() {
    open(baseImage());
    m_window->N12Click();
    QVERIFY(m_window->transfer().running());
    // On disk before the first frame goes out.
    QCOMPARE(backups().size(), 1);
    QVERIFY(backups().first().startsWith(QStringLiteral("before-write-")));
    QCOMPARE(backup(backups().first()), baseImage());
    finish();
    QCOMPARE(radioImage(*m_sio), baseImage());
    QCOMPARE(m_window->history().count(), 0);
    QCOMPARE(m_prompter.texts("message"), QStringList{englishTransferTexts().over});
}

void TestTransferSafety::verifyAfterWrite_data() {
    QTest::addColumn<QList<int>>("storedWrongly"); // records the radio keeps with a wrong byte
    QTest::addColumn<QString>("result");
    const WindowTexts t = englishWindowTexts();
    QTest::newRow("all match") << QList<int>{} << t.verifyMatch;
    QTest::newRow("a channel and a settings block")
        << QList<int>{5, 34} << t.verifyDiffers.arg(QStringLiteral("channel 3, settings 03F0"));
}

void TestTransferSafety::verifyAfterWrite() {
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
    QCOMPARE(m_window->history().count(), 0);
    QCOMPARE(backups().size(), 1);
}

void TestTransferSafety::failedBackupDoesNotStopTheWrite() {
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
    QCOMPARE(radioImage(*m_sio), baseImage());
}

QTEST_MAIN(TestTransferSafety)
#include "tst_transfersafety.moc"
