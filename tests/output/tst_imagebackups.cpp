#include "error.h"
#include "imagebackups.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qx;

class TestImageBackups : public QObject {
    Q_OBJECT
private slots:
    void namesBesideTheWorkingFile();
    void newestFiftyKept();
    void folderThatCannotBeMadeIsReported();
};

void TestImageBackups::namesBesideTheWorkingFile() {
    QTemporaryDir dir;
    ImageBackups backups = ImageBackups::besideFile(dir.filePath(QStringLiteral("r_and_w.dat")));
    QCOMPARE(backups.folder(), dir.filePath(QStringLiteral("backups")));
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
    const QByteArray image(420, 'x');
    QCOMPARE(backups.save(ImageBackups::Kind::Read, image, when),
             dir.filePath(QStringLiteral("backups/radio-20260304-050607.dat")));
    QCOMPARE(backups.save(ImageBackups::Kind::BeforeWrite, image, when),
             dir.filePath(QStringLiteral("backups/before-write-20260304-050607.dat")));
    // A second one in the same second does not replace the first.
    QCOMPARE(backups.save(ImageBackups::Kind::Read, "other", when),
             dir.filePath(QStringLiteral("backups/radio-20260304-050607-2.dat")));
    QFile first(dir.filePath(QStringLiteral("backups/radio-20260304-050607.dat")));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), image);
}

void TestImageBackups::newestFiftyKept() {
    QTemporaryDir dir;
    ImageBackups backups(dir.path());
    QFile mine(dir.filePath(QStringLiteral("mine.dat")));
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.close();
    const QDateTime start(QDate(2026, 1, 1), QTime(23, 59, 30));
    for (int i = 0; i < 53; ++i)
        backups.save(i % 2 ? ImageBackups::Kind::Read : ImageBackups::Kind::BeforeWrite, "image",
                     start.addSecs(i));
    const QStringList kept = backups.files();
    QCOMPARE(kept.size(), ImageBackups::kKept);
    // The three oldest went, across the day's end and both kinds; other files stay.
    QCOMPARE(kept.first(), QStringLiteral("radio-20260101-235933.dat"));
    QCOMPARE(kept.last(), QStringLiteral("before-write-20260102-000022.dat"));
    QVERIFY(mine.exists());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), ImageBackups::kKept + 1);
}

void TestImageBackups::folderThatCannotBeMadeIsReported() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("backups")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ImageBackups backups = ImageBackups::besideFile(dir.filePath(QStringLiteral("r_and_w.dat")));
    QVERIFY_THROWS_EXCEPTION(
        Error, backups.save(ImageBackups::Kind::Read, "image", QDateTime::currentDateTime()));
}

QTEST_GUILESS_MAIN(TestImageBackups)
#include "tst_imagebackups.moc"
