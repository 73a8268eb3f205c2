#include "error.h"
#include "sampleimage.h"
#include "scriptedprompter.h"
#include "scriptedsio.h"
#include "transferjob.h"
#include "workingfile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace qx;
using namespace qx::test;
using Result = TransferJob::Result;
using Phase = TransferJob::Phase;
using Ending = TransferJob::Ending;

Q_DECLARE_METATYPE(TransferJob::Result)
Q_DECLARE_METATYPE(TransferJob::Phase)
Q_DECLARE_METATYPE(TransferJob::Ending)

// The phases of a read and of a write against a scripted radio that answers at once, and
// the one result each ends with: what is stored, backed up and sent, byte for byte.
class TestTransferJob : public QObject {
    Q_OBJECT
private slots:
    void job_data();
    void job();
    void secondStartLeavesTheRunningJob();
};

void TestTransferJob::job_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("backup"); // "", "image": the image sent, "radio": read first
    QTest::addColumn<bool>("verify");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<Result>("result");
    QTest::addColumn<Ending>("ending");

    QTest::newRow("read") << false << "" << false << "" << Result::Completed << Ending::Stored;
    QTest::newRow("read: record 4 garbled once")
        << false << "" << false << "garble 4 second" << Result::Completed << Ending::Stored;
    QTest::newRow("read: record 4 never the same twice")
        << false << "" << false << "garble 4 always" << Result::Unstable << Ending::NotStored;
    QTest::newRow("read: store fails")
        << false << "" << false << "store fails" << Result::FileError << Ending::NotStored;
    QTest::newRow("read: radio silent")
        << false << "" << false << "silent" << Result::NoAnswer << Ending::NotStored;
    QTest::newRow("read: port refused")
        << false << "" << false << "refused" << Result::Refused << Ending::NotStarted;
    QTest::newRow("read: device gone")
        << false << "" << false << "gone" << Result::WentAway << Ending::NotStored;
    QTest::newRow("write") << true << "" << false << "" << Result::Completed << Ending::Written;
    QTest::newRow("write, backup of the image sent")
        << true << "image" << false << "" << Result::Completed << Ending::Written;
    QTest::newRow("write, backup of the radio")
        << true << "radio" << false << "" << Result::Completed << Ending::Written;
    QTest::newRow("write: backup of the radio fails")
        << true << "radio" << false << "store fails" << Result::FileError << Ending::BackupFailed;
    QTest::newRow("write: backup of the image fails")
        << true << "image" << false << "store fails" << Result::FileError << Ending::BackupFailed;
    QTest::newRow("write, verify")
        << true << "" << true << "" << Result::Completed << Ending::Verified;
    QTest::newRow("write, verify: record 4 garbled once on the way back")
        << true << "" << true << "garble 4 first" << Result::Completed << Ending::Verified;
    QTest::newRow("write, verify: record 5 kept wrong")
        << true << "" << true << "keeps record 5" << Result::VerifyDiffers << Ending::Differs;
    QTest::newRow("write: stopped")
        << true << "" << true << "stop" << Result::Stopped << Ending::PartlyWritten;
    QTest::newRow("write, backup of the radio: stopped before the write")
        << true << "radio" << false << "stop before write" << Result::Stopped
        << Ending::NothingSent;
    QTest::newRow("write, verify: stopped before the read-back")
        << true << "" << true << "stop before verify" << Result::Stopped << Ending::NotVerified;
}

void TestTransferJob::job() {
    QFETCH(bool, write);
    QFETCH(QString, backup);
    QFETCH(bool, verify);
    QFETCH(QString, fault);
    QFETCH(Result, result);
    QFETCH(Ending, ending);

    QTemporaryDir dir;
    WorkingFile home(dir.filePath(QStringLiteral("r_and_w.dat")));
    ScriptedPrompter prompter;
    ScriptedSio sio;
    const QByteArray before = sio.image(); // an empty radio
    const QByteArray image = sampleImage();
    if (fault == QLatin1String("silent"))
        for (int n = 2; n < 40; ++n)
            sio.drop.insert(n);
    if (fault == QLatin1String("refused"))
        sio.openResult = -1;
    if (fault == QLatin1String("gone"))
        sio.goneFrom = 5;
    // Answers to the read requests of record 4 get a wrong last byte: the first or the
    // second one only, or every one.
    int asks4 = 0;
    if (fault.startsWith(QLatin1String("garble 4")))
        sio.garble = [&sio, &asks4, fault](int, QByteArray answer) {
            if (sio.calls.last().bytes.startsWith(QByteArray("R\x00\x30", 3)) &&
                (++asks4 == (fault.endsWith(QLatin1String("first")) ? 1 : 2) ||
                 fault.endsWith(QLatin1String("always"))))
                answer[11] = char(answer[11] ^ asks4);
            return answer;
        };
    if (fault == QLatin1String("keeps record 5"))
        sio.garble = [&sio](int, QByteArray answer) {
            const QByteArray last = sio.calls.last().bytes;
            const int address =
                last.size() == 13 ? std::uint8_t(last.at(1)) << 8 | std::uint8_t(last.at(2)) : -1;
            if (address == recordAddress(5))
                sio.memory[recordAddress(5) + 7] ^= 0x11;
            return answer;
        };
    Transfer transfer(sio, home, prompter, englishTransferTexts());
    transfer.setPacing(instantPacing());
    TransferJob job(transfer, prompter);
    QSignalSpy finished(&job, &TransferJob::finished);
    if (fault == QLatin1String("stop"))
        connect(&transfer, &Transfer::progress, &job, [&job](int step) {
            if (step == 20) // as the stop button does, between two ticks
                QMetaObject::invokeMethod(
                    &job, [&job] { job.stop(); }, Qt::QueuedConnection);
        });
    if (fault.startsWith(QLatin1String("stop before")))
        connect(&job, &TransferJob::phaseStarted, &job, [&job, fault](Phase p) {
            if (p == (fault.endsWith(QLatin1String("verify")) ? Phase::Verify : Phase::Write))
                job.stop();
        });

    QList<QByteArray> stored;
    int writesAtStore = -1;
    const TransferJob::Store store = [&](const QByteArray &bytes) {
        writesAtStore = int(sio.callsOf('w').size());
        if (fault == QLatin1String("store fails"))
            throw Error(QStringLiteral("disk full"));
        stored << bytes;
    };
    if (write) {
        TransferJob::WritePlan plan;
        plan.image = image;
        plan.verify = verify;
        plan.backupRadio = backup == QLatin1String("radio");
        if (!backup.isEmpty())
            plan.backup = store;
        QVERIFY(job.write(plan));
    } else {
        TransferJob::ReadPlan plan;
        plan.store = store;
        sio.load(image);
        QVERIFY(job.read(plan));
    }
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    QCOMPARE(finished.first().first().value<Result>(), result);
    QCOMPARE(job.result(), result);
    QCOMPARE(job.ending(), ending);
    QVERIFY(!job.running());
    QVERIFY(!job.busy());
    QVERIFY(!transfer.running());
    QCOMPARE(prompter.texts("error"), fault == QLatin1String("store fails")
                                          ? QStringList{QStringLiteral("disk full")}
                                          : QStringList{});

    QCOMPARE(job.unstable(), result == Result::Unstable ? QList<int>{4} : QList<int>{});
    if (!write) {
        // Only a completed read is handed on, whole, and as the radio holds it.
        QCOMPARE(stored,
                 result == Result::Completed ? QList<QByteArray>{image} : QList<QByteArray>{});
        return;
    }
    const bool sent = result == Result::Completed || result == Result::VerifyDiffers;
    if (backup == QLatin1String("radio") && !stored.isEmpty())
        QCOMPARE(stored.first(), before);
    if (backup == QLatin1String("image") && !stored.isEmpty()) {
        QCOMPARE(stored.first(), image);
        QCOMPARE(writesAtStore, 0); // on disk before anything is sent
    }
    if (ending == Ending::BackupFailed || ending == Ending::NothingSent) {
        // A backup that fails, or a stop after it, ends the job before any frame goes out.
        for (const ScriptedSio::Call &call : sio.callsOf('w'))
            QVERIFY(call.bytes.size() != 13);
        QCOMPARE(sio.image(), before);
    }
    if (sent && !fault.startsWith(QLatin1String("keeps")))
        QCOMPARE(sio.image(), image);
    QCOMPARE(job.differing(), result == Result::VerifyDiffers ? QList<int>{5} : QList<int>{});
    if (result == Result::VerifyDiffers)
        QCOMPARE(differingRecords(job.readBack(), sio.image()), QList<int>{});
}

// The window and the menu let a second start through while a job runs: it is refused
// with the transfer's message and the running job goes on to its own end.
void TestTransferJob::secondStartLeavesTheRunningJob() {
    QTemporaryDir dir;
    WorkingFile home(dir.filePath(QStringLiteral("r_and_w.dat")));
    ScriptedPrompter prompter;
    ScriptedSio sio;
    Transfer transfer(sio, home, prompter, englishTransferTexts());
    transfer.setPacing(instantPacing());
    TransferJob job(transfer, prompter);
    QSignalSpy finished(&job, &TransferJob::finished);
    TransferJob::WritePlan plan;
    plan.image = sampleImage();
    plan.verify = true;
    QVERIFY(job.write(plan));
    QVERIFY(!job.read(TransferJob::ReadPlan{}));
    QCOMPARE(prompter.texts("message"), QStringList{englishTransferTexts().alreadyRunning});
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    QCOMPARE(job.result(), Result::Completed);
    QCOMPARE(sio.image(), sampleImage());
}

QTEST_MAIN(TestTransferJob)
#include "tst_transferjob.moc"
