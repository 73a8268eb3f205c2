#include "channelcodec.h"
#include "error.h"
#include "settingscodec.h"
#include "workingfile.h"

#include "testbytes.h"

#include <QtTest>

using namespace qx;
using namespace qx::test;

namespace {

QByteArray records(int count, char fill) {
    return QByteArray(count * MemoryFrame::kSize, fill);
}

QList<int> range(int from, int to) {
    QList<int> out;
    for (int i = from; i < to; ++i)
        out << i;
    return out;
}

QList<int> range(int n) {
    return range(0, n);
}

// Blank records of their own address: a clean image as far as it goes.
QByteArray blankImage(int records) {
    QByteArray out;
    for (int i = 0; i < records; ++i)
        out += blankRecord(std::min(i, kRecordCount - 1)).toByteArray();
    return out;
}

} // namespace

class TestWorkingFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void recordLoop_data();
    void recordLoop();
    void recordsDecodeByIndexWhateverTheirHeader();
    void foreignRecords_data();
    void foreignRecords();
    void storeBeyondEndFillsBlankRecords();
    void storeOverwritesInPlace();
    void channelFrameAddresses();
    void missingFile();
    void imageRoundTrip();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestWorkingFile::init() {
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QString("r_and_w_%1.dat").arg(QTest::currentTestFunction()));
    QFile::remove(m_path);
}

void TestWorkingFile::recordLoop_data() {
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("visited");
    QTest::addColumn<int>("foreignAt"); // this record's marker is spoilt
    QTest::addColumn<int>("throwAt");   // the visit of this record throws qx::Error
    QTest::newRow("empty") << 0 << 0 << -1 << -1;
    QTest::newRow("partial only") << 11 << 0 << -1 << -1;
    QTest::newRow("10 records") << 120 << 10 << -1 << -1;
    QTest::newRow("35 records") << 420 << 35 << -1 << -1;
    QTest::newRow("425 bytes") << 425 << 35 << -1 << -1;
    QTest::newRow("40 records") << 480 << 35 << -1 << -1;
    QTest::newRow("a fault goes on to the end") << 420 << 35 << 3 << 5;
    QTest::newRow("the last record foreign and undecodable") << 420 << 35 << 34 << 34;
    QTest::newRow("faults beyond 34 are not judged") << 480 << 35 << 36 << -1;
}

void TestWorkingFile::recordLoop() {
    QFETCH(int, bytes);
    QFETCH(int, visited);
    QFETCH(int, foreignAt);
    QFETCH(int, throwAt);
    QByteArray content = blankImage(bytes / 12) + QByteArray(bytes % 12, 'x');
    if (foreignAt >= 0)
        content[foreignAt * 12] = 'w';
    QVERIFY(writeFile(m_path, content));

    QList<int> seen;
    const auto report = forEachRecord(m_path, [&](int i, const QString &) {
        seen << i;
        if (i == throwAt)
            throw Error(QStringLiteral("not a digit"));
    });
    QVERIFY(report);
    QCOMPARE(seen, range(visited));
    QCOMPARE(report->bytes, qint64(bytes));
    QCOMPARE(report->records, bytes / 12);
    QCOMPARE(report->missing, range(visited, kRecordCount));
    QCOMPARE(report->foreign,
             foreignAt >= 0 && foreignAt < 35 ? QList<int>{foreignAt} : QList<int>{});
    QCOMPARE(report->undecodable, throwAt >= 0 ? QList<int>{throwAt} : QList<int>{});
    // The load must never write the file.
    QCOMPARE(readFile(m_path), content);
    QCOMPARE(WorkingFile(m_path).recordCount(), bytes / 12);
}

void TestWorkingFile::foreignRecords_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("first");
    const QByteArray whole = blankImage(35);
    QTest::newRow("whole image") << whole << -1;
    QTest::newRow("short image, own headers") << blankImage(10) << -1;
    QTest::newRow("zero record 0") << withRecords(whole, 0, QByteArray(12, 0)) << 0;
    QTest::newRow("channel 16 at channel 15's address")
        << withRecords(whole, 30, blankRecord(28).toByteArray()) << 30;
    QTest::newRow("length byte of 03F0") << withRecords(whole, 34, hexBytes("57 03 F0 10")) << 34;
    QTest::newRow("the first of two") << withRecords(withRecords(whole, 20, "R"), 7, "R") << 7;
}

void TestWorkingFile::foreignRecords() {
    QFETCH(QByteArray, image);
    QFETCH(int, first);
    QCOMPARE(firstForeignRecord(image), first);
}

void TestWorkingFile::recordsDecodeByIndexWhateverTheirHeader() {
    QByteArray content = records(35, '\0');
    content.replace(12, 12, QByteArray::fromHex("00FFFF00 5012004550120045"));
    QVERIFY(writeFile(m_path, content));
    QString seen;
    forEachRecord(m_path, [&](int i, const QString &text) {
        if (i == 1)
            seen = get_data1(text).rx;
    });
    QCOMPARE(seen, QString("450.01250"));
}

void TestWorkingFile::storeBeyondEndFillsBlankRecords() {
    WorkingFile file(m_path);
    file.ensureExists();
    QCOMPARE(file.recordCount(), 0);
    const MemoryFrame frame = save03C0({1, 0, 5, 1, 4});
    file.StoreFrame(kRecord03C0, frame);
    QCOMPARE(file.readAll(), blankImage(32) + frame.toByteArray());
    QCOMPARE(hexText(MemoryFrame::fromBytes(record(file.readAll(), 31))),
             QStringLiteral("57 01 08 08 FF FF FF FF FF FF FF FF"));
    QCOMPARE(file.readRecord(), frame);

    // A trailing partial record is part of the gap.
    QVERIFY(writeFile(m_path, records(2, 'x') + QByteArray(5, 'y')));
    file.StoreFrame(4, frame);
    QCOMPARE(file.readAll(), records(2, 'x') + blankImage(4).mid(24) + frame.toByteArray());

    // An image has 35 records; a store beyond them is a fault of its caller.
    QVERIFY_THROWS_EXCEPTION(Error, file.StoreFrame(kRecordCount, frame));
    QCOMPARE(file.recordCount(), 5);
}

void TestWorkingFile::storeOverwritesInPlace() {
    QVERIFY(writeFile(m_path, records(35, 'a')));
    WorkingFile file(m_path);
    const MemoryFrame frame = save03D0(0, 3, 5);
    file.StoreFrame(kRecord03D0, frame);
    const QByteArray all = file.readAll();
    QCOMPARE(all.size(), 420);
    QCOMPARE(all.mid(33 * 12, 12), frame.toByteArray());
    QCOMPARE(all.left(33 * 12) + all.mid(34 * 12), records(34, 'a'));
    file.seekAndRead(0);
    QCOMPARE(file.readRecord().toByteArray(), records(1, 'a'));
    QVERIFY_THROWS_EXCEPTION(Error, file.seekAndRead(35));
}

void TestWorkingFile::channelFrameAddresses() {
    WorkingFile file(m_path);
    file.ensureExists();
    EncodeChannel(file, 16, {"450.01250", "OFF", "", "OFF", "NO", "NO"});
    EncodeChannel(file, 1, {"450.01250", "OFF", "", "OFF", "NO", "NO"});
    const QByteArray all = file.readAll();
    QCOMPARE(all.size(), 32 * 12);
    QCOMPARE(all.mid(0, 4).toHex(), QByteArray("57001008"));
    QCOMPARE(all.mid(12, 4).toHex(), QByteArray("57001808"));
    QCOMPARE(all.mid(30 * 12, 4).toHex(), QByteArray("57010008"));
    QCOMPARE(all.mid(31 * 12, 4).toHex(), QByteArray("57010808"));
    QVERIFY_THROWS_EXCEPTION(Error, EncodeChannel(file, 0, ChannelCells{}));
}

void TestWorkingFile::missingFile() {
    WorkingFile file(m_path);
    QVERIFY(!file.exists());
    QVERIFY(!forEachRecord(m_path, [](int, const QString &) {}));
    const auto expectNotFound = [](const std::function<void()> &op) {
        try {
            op();
            return false;
        } catch (const Error &e) {
            return e.message().contains("File not found");
        }
    };
    QVERIFY(expectNotFound([&] { file.recordCount(); }));
    QVERIFY(expectNotFound([&] { file.StoreFrame(0, MemoryFrame{}); }));
    QVERIFY(expectNotFound([&] { file.seekAndRead(0); }));
    QVERIFY(expectNotFound([&] { file.readAll(); }));
    QVERIFY2(!file.exists(), "a failed store must not recreate the file");
    file.ensureExists();
    QVERIFY(file.exists());
    QCOMPARE(file.readAll(), QByteArray());
}

void TestWorkingFile::imageRoundTrip() {
    WorkingFile file(m_path);
    file.ensureExists();
    const QStringList tones = toneTexts();
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        if (ch == 4) { // an empty row as the grid stores it
            EncodeChannel(file, ch, {"", "OFF", "", "OFF", "NO", "NO"});
            continue;
        }
        const QString rx =
            QString("4%1.%2").arg(ch, 2, 10, QChar('0')).arg(ch * 731, 5, 10, QChar('0'));
        const QString tx =
            ch % 3 == 0 ? QString() : QString("512.%1").arg(ch * 17, 5, 10, QChar('0'));
        EncodeChannel(
            file, ch,
            {rx, tones[ch], tx, tones[38 - ch], ch % 2 ? "YES" : "NO", ch % 4 < 2 ? "NO" : "YES"});
    }
    file.StoreFrame(kRecord03C0, save03C0({1, 1, 7, 1, 10}));
    file.StoreFrame(kRecord03D0, save03D0(0, 2, 5));
    file.StoreFrame(kRecord03F0, save03F0({2, "7.5", 200, "0.5", "15", true, 1, 1, 9}));
    const QByteArray image = file.readAll();
    QCOMPARE(image.size(), 420);

    // Decode as the load does, then store every value again into a second file.
    WorkingFile copy(m_dir.filePath("copy.dat"));
    copy.ensureExists();
    FrequencyCells freq;
    QVERIFY(forEachRecord(m_path, [&](int i, const QString &text) {
        if (i < 32 && i % 2 == 0) {
            freq = get_data1(text);
        } else if (i < 32) {
            const ToneFlagCells t = get_data2(text, freq.rx, englishFlagWords());
            if (t.emptyRow)
                EncodeChannel(copy, i / 2 + 1, {"", "OFF", "", "OFF", "NO", "NO"});
            else
                EncodeChannel(copy, i / 2 + 1,
                              {freq.rx, t.rxTone, freq.tx, t.txTone, t.busy, t.scan});
        } else if (i == kRecord03C0) {
            copy.StoreFrame(i, save03C0(data03C0(text)));
        } else if (i == kRecord03D0) {
            const auto mb = data03D0(text);
            QVERIFY(mb.has_value());
            copy.StoreFrame(i, save03D0(mb->model, mb->band, int(bandNames(mb->model).size())));
        } else {
            copy.StoreFrame(i, save03F0(data03F0(text)));
        }
    }));
    QCOMPARE(copy.readAll().toHex(' '), image.toHex(' '));
}

QTEST_APPLESS_MAIN(TestWorkingFile)
#include "tst_workingfile.moc"
