// Saving a file whole or not at all, against real faults: a full tmpfs, a read-only one, a
// FIFO, a device, a folder. And the limits every input file is read with.
#include "error.h"
#include "filecopy.h"
#include "filefaults.h"
#include "filelimits.h"
#include "prompter.h"

#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qx;
using namespace qx::test;

namespace {
bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}
} // namespace

class TestFileSave : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    // Why the save cannot be QSaveFile alone: on Qt 6.4 its write() only buffers, the
    // ENOSPC comes from the flush inside commit(), and commit() renames the short file over
    // the old one and returns true.
    void qsaveFileAloneEmptiesAFullDisk() {
        const QByteArray old(420, 'A');
        FileFault disk(QStringLiteral("full disk"), path("qt"), QStringLiteral("old.dat"), old);
        if (!disk.skipReason().isEmpty())
            QSKIP(qPrintable(disk.skipReason()));
        QSaveFile file(disk.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(QByteArray(420, 'B')), 420);
        const bool committed = file.commit();
        if (!committed)
            QSKIP("this Qt's QSaveFile::commit() sees the failed flush");
        QCOMPARE(QFileInfo(disk.path()).size(), 0);
        QCOMPARE(file.errorString(), QStringLiteral("No space left on device"));
    }

    void saveRefused_data() { FileFault::addRows(); }
    void saveRefused() {
        QFETCH(QString, fault);
        const QByteArray old(420, 'A');
        FileFault place(fault, path(fault), QStringLiteral("old.dat"), old);
        if (!place.skipReason().isEmpty())
            QSKIP(qPrintable(place.skipReason()));
        QVERIFY(writeFile(path("source.dat"), QByteArray(420, 'B')));
        const std::function<void()> saves[] = {
            [&] { saveFileAtomically(place.path(), QByteArray(420, 'B')); },
            [&] { copyFileOver(path("source.dat"), place.path()); },
        };
        for (const auto &save : saves) {
            try {
                save();
                QFAIL("the save did not fail");
            } catch (const Error &e) {
                QVERIFY2(e.message().startsWith(QDir::toNativeSeparators(place.path())),
                         qPrintable(e.message()));
                QVERIFY2(e.message().contains(place.reason()), qPrintable(e.message()));
            }
            QCOMPARE(place.changed(), QString());
        }
    }

    void inputLimits_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: the FIFO
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("refusal"); // empty: read
        const QString n = path("in");
        QTest::newRow("an image") << QByteArray(420, 'x') << int(InputKind::Image) << QString();
        QTest::newRow("1 MiB") << QByteArray(kMaxInputBytes, 'x') << int(InputKind::Csv)
                               << QString();
        QTest::newRow("an image over 1 MiB")
            << QByteArray(10'000'000, 'x') << int(InputKind::Image)
            << n + ": 10000000 bytes, far more than a radio image; not read";
        QTest::newRow("a CSV over 1 MiB")
            << QByteArray(kMaxInputBytes + 1, 'x') << int(InputKind::Csv)
            << n + ": more than 1 MiB, far more than a channel list; not read";
        QTest::newRow("a FIFO") << QByteArray() << int(InputKind::Image)
                                << n + ": is a pipe (FIFO), not a regular file";
    }
    void inputLimits() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(QString, refusal);
        QFile::remove(path("in"));
        if (bytes.isNull())
            QCOMPARE(::mkfifo(QFile::encodeName(path("in")).constData(), 0600), 0);
        else
            QVERIFY(writeFile(path("in"), bytes));
        try {
            QCOMPARE(readInputFile(path("in"), InputKind(kind)), bytes);
            QVERIFY(refusal.isEmpty());
        } catch (const Error &e) {
            QCOMPARE(e.message(), refusal);
        }
    }

    void saveDialogExtension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("returned");
        QTest::newRow("a bare name") << "/x/mysave"
                                     << "hex(*.dat)"
                                     << "/x/mysave.dat";
        QTest::newRow("a name ending in a point") << "theirs."
                                                  << "CSV(*.csv)"
                                                  << "theirs.csv";
        QTest::newRow("an extension is kept") << "list.txt"
                                              << "CSV(*.csv)"
                                              << "list.txt";
        QTest::newRow("a point in the folder") << "/a.b/list"
                                               << "PDF(*.pdf)"
                                               << "/a.b/list.pdf";
        QTest::newRow("cancelled") << ""
                                   << "hex(*.dat)"
                                   << "";
        QTest::newRow("something that exists") << "/dev/null"
                                               << "hex(*.dat)"
                                               << "/dev/null";
    }
    void saveDialogExtension() {
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QTEST(withFilterExtension(typed, filter), "returned");
    }

    void quotesAShortPrefix() {
        QCOMPARE(quotedPrefix(QString(kQuotedChars, 'x')), QString(kQuotedChars, 'x'));
        QCOMPARE(quotedPrefix(QString(10'000'000, 'x')), QString(kQuotedChars, 'x') + "...");
    }
};

QTEST_GUILESS_MAIN(TestFileSave)
#include "tst_filesave.moc"
